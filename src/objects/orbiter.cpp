// Orbiters: flying enemies that circle their spawn cell on a circle that
// slowly breathes in and out, ignore terrain, and take five stomps.
#include <cmath>

#include "objects/object_support.h"
#include "objects/objects.h"
#include "player/movement.h"
#include "render/display.h"
#include "objects/move_contact.h"
#include "sound/sound.h"

namespace tumbleroo {

namespace {

constexpr int32_t kOrbiterFrameTicks = 20;
constexpr int16_t kOrbiterFrames = 2;
constexpr int32_t kOrbiterPixels = 40;
constexpr int32_t kSmallestRadius = 40;
constexpr int32_t kLargestRadius = 100;
constexpr int32_t kAngleStepDegrees = 3;
constexpr int32_t kFullTurnDegrees = 360;
// An angle that never meets 360 exactly grows on; beyond this it is taken
// back into one turn, which changes no position.
constexpr int32_t kAngleKeepLimit = 360 * 1000000;
constexpr double kPi = 3.1415926;
constexpr int16_t kStompSparkleCell = 16;
constexpr double kStompBounce = -20.0;
constexpr int16_t kPushFrames = 10;
constexpr double kKnockSpeed = -10.0;

void AdvanceOrbiterClock(ObjectState& o) {
    // Only the multiples of 20 matter, so the tick is kept within 20.
    o.OrbiterTick = (o.OrbiterTick + 1) % kOrbiterFrameTicks;
    if (o.OrbiterTick == 0) {
        ++o.OrbiterFrame;
        if (o.OrbiterFrame >= kOrbiterFrames) o.OrbiterFrame = 0;
    }
    if (o.OrbitRadiusStep == 0) {
        o.OrbitRadiusStep = 1;
        o.OrbitRadius = kSmallestRadius;
    }
    o.OrbitRadius += o.OrbitRadiusStep;
    if (o.OrbitRadius > kLargestRadius || o.OrbitRadius < kSmallestRadius) {
        o.OrbitRadiusStep = To16(-o.OrbitRadiusStep);
    }
}

void UpdateOrbiter(Game& game, size_t i) {
    ObjectState& o = game.objects;
    PlayerState& p = game.player;
    Actor& orbiter = o.Orbiters[i];

    orbiter.Counter += kAngleStepDegrees;
    if (orbiter.Counter == kFullTurnDegrees) {
        orbiter.Counter = 0;
    } else if (orbiter.Counter > kAngleKeepLimit) {
        orbiter.Counter %= kFullTurnDegrees;
    }
    const double angle = orbiter.Counter * kPi / 180.0;
    const int32_t targetX = Round32(std::cos(angle) * o.OrbitRadius + o.OrbiterCentreX[i]);
    const int32_t targetY = Round32(std::sin(angle) * o.OrbitRadius + o.OrbiterCentreY[i]);
    orbiter.VX = To16(int64_t{targetX} - orbiter.X);
    orbiter.VY = To16(int64_t{targetY} - orbiter.Y);

    const ContactFlags flags =
        MoveDrawActor(game, orbiter.VX, orbiter.VY, orbiter, o.OrbiterFrame, kOrbiterPixels);
    DrawPicture(game, game.pictures->GhostSheet, kOrbiterPixels * o.OrbiterFrame, 0,
                kOrbiterPixels, kOrbiterPixels, ScreenX(game, orbiter.X),
                ScreenY(game, orbiter.Y));

    if (IsOn(flags.Above)) {
        p.Airborne = kOn;
        SpawnSparkle(game, orbiter.X, orbiter.Y, kStompSparkleCell);
        p.VerticalSpeed = kStompBounce;
        --o.OrbiterHitPoints[i];
        if (o.OrbiterHitPoints[i] == 0) {
            orbiter.Alive = kOff;
            PlaySound(game, SoundId::Gya);
        }
    }
    if (IsOn(flags.RightSide)) KnockPlayer(game, true, kPushFrames, kKnockSpeed);
    if (IsOn(flags.LeftSide)) KnockPlayer(game, false, kPushFrames, kKnockSpeed);
    // Checked last: a bump from below wins over a side knock.
    if (IsOn(flags.Below)) p.VerticalSpeed = 0.0;
}

}  // namespace

void UpdateOrbiters(Game& game) {
    ObjectState& o = game.objects;
    AdvanceOrbiterClock(o);
    for (size_t i = 0; i < o.Orbiters.size(); ++i) {
        if (IsOn(o.Orbiters[i].Alive)) UpdateOrbiter(game, i);
    }
}

}  // namespace tumbleroo
