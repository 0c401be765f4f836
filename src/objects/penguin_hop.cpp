// The penguins' hop timer and hop step, and their shared animation clock.
#include "objects/penguin_hop.h"

#include <cmath>

namespace tumbleroo {

namespace {

constexpr int32_t kPenguinFrameTicks = 15;
constexpr int16_t kPenguinFrames = 2;
// While the timer is above this the penguin rises, then it sinks back.
constexpr int32_t kHopTurnCounter = 40;

}  // namespace

void AdvancePenguinAnimation(int32_t& tick, int16_t& frame) {
    ++tick;
    if (tick < kPenguinFrameTicks) return;
    tick = 0;
    ++frame;
    if (frame >= kPenguinFrames) frame = 0;
}

void HopStep(Game& game, Actor& penguin) {
    if (penguin.Counter == 1) {
        // The hop is over: walk on to the left or stand, with equal chance.
        penguin.Counter = 0;
        penguin.VY = 0;
        penguin.VX = static_cast<int16_t>(std::floor(2.0 * game.random.Next()) - 1.0);
        return;
    }
    penguin.VX = 0;
    penguin.VY = penguin.Counter > kHopTurnCounter ? -1 : 1;
}

void HopTimerStep(Game& game, Actor& penguin, float hopChance) {
    --penguin.Counter;
    // The chance is drawn every frame, whether or not a hop could start.
    const double r = game.random.Next();
    if (penguin.Counter < 0 && static_cast<float>(r) < hopChance) {
        penguin.Counter = kHopStartCounter;
    }
    if (penguin.Counter < 1) penguin.Counter = 0;
    if (penguin.Counter > 0) HopStep(game, penguin);
}

}  // namespace tumbleroo
