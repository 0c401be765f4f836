// Blue penguins: wander along the terrain, turning at walls and ledges, hop
// now and then, die from one stomp and knock the player away on a touch.
#include "core/terrain.h"
#include "objects/object_support.h"
#include "objects/objects.h"
#include "objects/penguin_hop.h"
#include "player/movement.h"
#include "objects/move_contact.h"
#include "sound/sound.h"

namespace tumbleroo {

namespace {

constexpr float kHopChance = 0.005f;
constexpr int16_t kBaseCell = 19;
constexpr double kStompBounce = -15.0;
constexpr int16_t kPushFrames = 20;
constexpr double kKnockSpeed = -10.0;

void UpdateBluePenguin(Game& game, size_t i) {
    ObjectState& o = game.objects;
    PlayerState& p = game.player;
    std::vector<Actor>& penguins = o.BluePenguins;

    // Look one step ahead: a wall (water is none to a blue penguin) or a
    // missing floor turns it round.
    const int32_t aheadX = penguins[i].X + 10 + 10 * penguins[i].VX;
    const int32_t wall = CellAt(game, aheadX, penguins[i].Y);
    if (!Holds(penguins, i)) return;
    const int32_t floor = CellAt(game, aheadX, penguins[i].Y + kCellPixels);
    if (!Holds(penguins, i)) return;
    Actor& penguin = penguins[i];
    if (!IsEmpty(wall) && !Is(wall, Terrain::Water)) {
        penguin.VX = To16(-penguin.VX);
    } else if (IsEmpty(floor) && penguin.VX != 0) {
        penguin.VX = To16(-penguin.VX);
    }

    HopTimerStep(game, penguin, kHopChance);

    const int16_t cell = To16(kBaseCell - penguin.VX + o.BluePenguinFrame);
    const ContactFlags flags =
        MoveDrawActor(game, penguin.VX, To16(2 * penguin.VY), penguin, cell, kCellPixels);

    if (IsOn(flags.Above)) {
        SpawnSparkle(game, penguin.X, penguin.Y, To16(kBaseCell + o.BluePenguinFrame));
        penguin.Alive = kOff;
        p.VerticalSpeed = kStompBounce;
        PlaySound(game, SoundId::Gya);
    }
    if (IsOn(flags.Below)) p.VerticalSpeed = 0.0;
    if (IsOn(flags.RightSide)) KnockPlayer(game, true, kPushFrames, kKnockSpeed);
    if (IsOn(flags.LeftSide)) KnockPlayer(game, false, kPushFrames, kKnockSpeed);
}

}  // namespace

void UpdateBluePenguins(Game& game) {
    ObjectState& o = game.objects;
    AdvancePenguinAnimation(o.BluePenguinTick, o.BluePenguinFrame);
    for (size_t i = 0; i < o.BluePenguins.size(); ++i) {
        if (IsOn(o.BluePenguins[i].Alive)) UpdateBluePenguin(game, i);
    }
}

}  // namespace tumbleroo
