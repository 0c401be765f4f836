// Red penguins: like the blue ones, but they rush at a player standing in
// front of them at their height and run from a player jumping above them.
#include <cstdlib>

#include "core/terrain.h"
#include "objects/object_support.h"
#include "objects/objects.h"
#include "objects/penguin_hop.h"
#include "player/movement.h"
#include "objects/move_contact.h"
#include "sound/sound.h"

namespace tumbleroo {

namespace {

constexpr float kHopChance = 0.003f;
constexpr float kWanderTurnChance = 0.01f;
constexpr int16_t kBaseCell = 30;
constexpr int64_t kRushReachPixels = 250;
constexpr int64_t kRushHeightPixels = 10;
constexpr int16_t kRushSpeed = 4;
constexpr int64_t kFleeReachPixels = 30;
constexpr int64_t kFleeHeightPixels = 200;
constexpr int16_t kFleeSpeed = 5;
constexpr int16_t kWanderSpeed = 2;
constexpr double kStompBounce = -20.0;
constexpr int16_t kPushFrames = 26;
constexpr double kKnockSpeed = -20.0;

// Picks the walking speed from where the player is.
void Steer(Game& game, Actor& penguin) {
    const PlayerState& p = game.player;
    const int64_t towardsPlayer = int64_t{p.PlayerX} - penguin.X;
    const bool facesPlayer = Sign(towardsPlayer) == Sign(penguin.VX);
    const bool atPlayerHeight =
        std::llabs(int64_t{penguin.Y} - (int64_t{p.PlayerY} + 10)) <= kRushHeightPixels;
    if (std::llabs(towardsPlayer) < kRushReachPixels && facesPlayer && atPlayerHeight) {
        penguin.VX = To16(kRushSpeed * Sign(towardsPlayer));
        return;
    }
    if (std::llabs(towardsPlayer) < kFleeReachPixels &&
        int64_t{penguin.Y} - p.PlayerY < kFleeHeightPixels && IsOn(p.Airborne)) {
        penguin.VX = To16(kFleeSpeed * Sign(-towardsPlayer));
        return;
    }
    if (static_cast<float>(game.random.Next()) < kWanderTurnChance) penguin.VX = To16(-penguin.VX);
    penguin.VX = To16(kWanderSpeed * Sign(penguin.VX));
}

void UpdateRedPenguin(Game& game, size_t i) {
    ObjectState& o = game.objects;
    PlayerState& p = game.player;
    std::vector<Actor>& penguins = o.RedPenguins;

    // Look ahead; any non-zero code, water included, is a wall. A defeated
    // penguin still looks and steers, though nothing comes of it.
    const int32_t aheadX = penguins[i].X - 10 + 5 * penguins[i].VX;
    const int32_t wall = CellAt(game, aheadX, penguins[i].Y);
    if (!Holds(penguins, i)) return;
    const int32_t floor = CellAt(game, aheadX, penguins[i].Y + kCellPixels);
    if (!Holds(penguins, i)) return;
    Actor& penguin = penguins[i];
    if (!IsEmpty(wall) || (IsEmpty(floor) && penguin.VX != 0)) {
        penguin.VX = To16(-penguin.VX);
    } else {
        Steer(game, penguin);
    }
    if (!IsOn(penguin.Alive)) return;
    if (penguin.VX == 0) penguin.VX = 1;

    HopTimerStep(game, penguin, kHopChance);

    const int16_t cell = To16(kBaseCell - Sign(penguin.VX) + o.RedPenguinFrame);
    const ContactFlags flags =
        MoveDrawActor(game, penguin.VX, To16(2 * penguin.VY), penguin, cell, kCellPixels);

    if (IsOn(flags.Above)) {
        p.VerticalSpeed = kStompBounce;
        SpawnSparkle(game, penguin.X, penguin.Y, To16(kBaseCell + o.RedPenguinFrame));
        penguin.Alive = kOff;
        PlaySound(game, SoundId::Gya);
    }
    if (IsOn(flags.Below)) p.VerticalSpeed = 0.0;
    if (IsOn(flags.RightSide)) KnockPlayer(game, true, kPushFrames, kKnockSpeed);
    if (IsOn(flags.LeftSide)) KnockPlayer(game, false, kPushFrames, kKnockSpeed);
}

}  // namespace

void UpdateRedPenguins(Game& game) {
    ObjectState& o = game.objects;
    AdvancePenguinAnimation(o.RedPenguinTick, o.RedPenguinFrame);
    for (size_t i = 0; i < o.RedPenguins.size(); ++i) UpdateRedPenguin(game, i);
}

}  // namespace tumbleroo
