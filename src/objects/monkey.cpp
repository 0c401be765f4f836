// Monkeys: the large enemy. It walks along platforms, turns at walls and
// ledges, falls where there is no ground, and takes fifteen stomps; every
// stomp makes it smaller and every few stomps faster.
#include "core/terrain.h"
#include "objects/object_support.h"
#include "objects/objects.h"
#include "player/movement.h"
#include "render/display.h"
#include "objects/move_contact.h"
#include "sound/sound.h"

namespace tumbleroo {

namespace {

constexpr int32_t kMonkeyFrameTicks = 20;
constexpr int16_t kMonkeyFrames = 2;
constexpr int32_t kBaseSize = 60;
constexpr int32_t kShrinkPerStomp = 2;
constexpr int32_t kHalfBaseSize = 30;
constexpr int32_t kProbeAheadPixels = 20;
constexpr int32_t kFeetAbovePixels = 30;  // ground probes sit this far above the bottom
constexpr int32_t kDrawAbovePixels = 20;  // the sprite is drawn this far above Y
constexpr int16_t kFallPixels = 2;
constexpr int32_t kOpicFramePixels = 32;
constexpr float kKeepCourseChance = 0.3f;
constexpr float kTurnChance = 0.01f;
constexpr int32_t kStompsToDefeat = 15;
constexpr double kStompBounce = -17.0;
constexpr int16_t kPushFrames = 200;
constexpr double kKnockSpeed = -10.0;

void AdvanceMonkeyAnimation(ObjectState& o) {
    ++o.MonkeyTick;
    if (o.MonkeyTick < kMonkeyFrameTicks) return;
    o.MonkeyTick = 0;
    ++o.MonkeyFrame;
    if (o.MonkeyFrame >= kMonkeyFrames) o.MonkeyFrame = 0;
}

// Looks at the terrain ahead and below and picks the direction and fall;
// false when a probe restarted the stage and the monkey is gone.
bool ChooseCourse(Game& game, size_t i, int32_t size) {
    std::vector<Actor>& monkeys = game.objects.Monkeys;
    const int32_t aheadX = monkeys[i].X + kHalfBaseSize + kProbeAheadPixels * monkeys[i].VX;
    const int32_t feetY = monkeys[i].Y + size - kFeetAbovePixels;
    const int32_t wallAhead = CellAt(game, aheadX, monkeys[i].Y);
    if (!Holds(monkeys, i)) return false;
    const int32_t groundBelow = CellAt(game, monkeys[i].X + kHalfBaseSize, feetY);
    if (!Holds(monkeys, i)) return false;
    const int32_t groundAhead = CellAt(game, aheadX, feetY);
    if (!Holds(monkeys, i)) return false;
    Actor& monkey = monkeys[i];
    monkey.VY = 0;
    if (IsEmpty(groundAhead) && !IsEmpty(groundBelow)) monkey.VX = To16(-monkey.VX);
    if (!IsEmpty(wallAhead)) monkey.VX = To16(-monkey.VX);
    if (IsEmpty(groundBelow)) monkey.VY = kFallPixels;
    if (static_cast<float>(game.random.Next()) < kTurnChance) monkey.VX = To16(-monkey.VX);
    return true;
}

void UpdateMonkey(Game& game, size_t i) {
    ObjectState& o = game.objects;
    PlayerState& p = game.player;

    const int32_t size = kBaseSize - kShrinkPerStomp * o.Monkeys[i].Counter;
    // Now and then the monkey keeps its course without looking.
    if (static_cast<float>(game.random.Next()) >= kKeepCourseChance && !ChooseCourse(game, i, size)) {
        return;
    }
    Actor& monkey = o.Monkeys[i];
    const int16_t step = To16(Round32(monkey.VX * (monkey.Counter / 4.0 + 1.0)));

    // The contact windows are measured from (X, Y), not the drawn corner.
    const ContactFlags flags = MoveDrawActor(game, step, monkey.VY, monkey, o.MonkeyFrame, size);
    StretchBlit(game.display.BackBuffer, ScreenX(game, monkey.X),
                ScreenY(game, monkey.Y - kDrawAbovePixels), size, size, game.pictures->Opic,
                kOpicFramePixels * o.MonkeyFrame, 0, kOpicFramePixels, kOpicFramePixels, true);

    if (IsOn(flags.Above)) {
        ++monkey.Counter;
        SpawnSparkle(game, monkey.X, monkey.Y, o.MonkeyFrame);
        p.VerticalSpeed = kStompBounce;
        if (monkey.Counter == kStompsToDefeat) {
            monkey.Alive = kOff;
            PlaySound(game, SoundId::Gya);
        }
    }
    if (IsOn(flags.Below)) p.VerticalSpeed = 0.0;
    if (IsOn(flags.RightSide)) KnockPlayer(game, true, kPushFrames, kKnockSpeed);
    if (IsOn(flags.LeftSide)) KnockPlayer(game, false, kPushFrames, kKnockSpeed);
}

}  // namespace

void UpdateMonkeys(Game& game) {
    ObjectState& o = game.objects;
    AdvanceMonkeyAnimation(o);
    for (size_t i = 0; i < o.Monkeys.size(); ++i) {
        if (IsOn(o.Monkeys[i].Alive)) UpdateMonkey(game, i);
    }
}

}  // namespace tumbleroo
