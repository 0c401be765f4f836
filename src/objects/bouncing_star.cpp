// Bouncing stars: fly diagonally, bounce off terrain and the top of the
// map, and fall to the fifth stomp.
#include "core/terrain.h"
#include "objects/object_support.h"
#include "objects/objects.h"
#include "player/movement.h"
#include "objects/move_contact.h"
#include "sound/sound.h"

namespace tumbleroo {

namespace {

constexpr int16_t kStarCell = 27;
constexpr int16_t kHitSparkleCell = 13;
constexpr int16_t kStepPixels = 3;
constexpr int32_t kProbePixels = 10;
constexpr int32_t kLastHit = 4;  // a stomp beyond this many defeats the star
constexpr double kStompBounce = -10.0;
constexpr int16_t kPushFrames = 20;
constexpr double kKnockSpeed = -10.0;

void UpdateBouncingStar(Game& game, size_t i) {
    PlayerState& p = game.player;
    std::vector<Actor>& stars = game.objects.BouncingStars;

    // Both probes of an axis are always taken (each may notice the player
    // falling out of the map).
    const int32_t right = CellAt(game, stars[i].X + kProbePixels, stars[i].Y);
    if (!Holds(stars, i)) return;
    const int32_t left = CellAt(game, stars[i].X - kProbePixels, stars[i].Y);
    if (!Holds(stars, i)) return;
    if (!IsEmpty(right) || !IsEmpty(left)) stars[i].VX = To16(-stars[i].VX);
    const int32_t above = CellAt(game, stars[i].X, stars[i].Y - kProbePixels);
    if (!Holds(stars, i)) return;
    const int32_t below = CellAt(game, stars[i].X, stars[i].Y + kProbePixels);
    if (!Holds(stars, i)) return;
    Actor& star = stars[i];
    if (!IsEmpty(above) || !IsEmpty(below) || star.Y <= 0) star.VY = To16(-star.VY);

    const ContactFlags flags = MoveDrawActor(game, To16(kStepPixels * star.VX), To16(kStepPixels * star.VY),
                                             star, kStarCell, kCellPixels);

    if (IsOn(flags.Above)) {
        star.VY = 1;
        p.VerticalSpeed = kStompBounce;
        SpawnSparkle(game, star.X, star.Y, kHitSparkleCell);
        ++star.Counter;
        if (star.Counter > kLastHit) {
            SpawnSparkle(game, star.X, star.Y, kStarCell);
            star.Alive = kOff;
            PlaySound(game, SoundId::Gya);
        }
    }
    if (IsOn(flags.Below)) {
        star.VY = -1;
        p.VerticalSpeed = 0.0;
    }
    if (IsOn(flags.RightSide)) {
        star.VX = -1;
        KnockPlayer(game, true, kPushFrames, kKnockSpeed);
    }
    if (IsOn(flags.LeftSide)) {
        star.VX = 1;
        KnockPlayer(game, false, kPushFrames, kKnockSpeed);
    }
}

}  // namespace

void UpdateBouncingStars(Game& game) {
    ObjectState& o = game.objects;
    for (size_t i = 0; i < o.BouncingStars.size(); ++i) {
        if (IsOn(o.BouncingStars[i].Alive)) UpdateBouncingStar(game, i);
    }
}

}  // namespace tumbleroo
