// The hop shared by both penguin kinds: now and then a penguin stops, rises
// and sinks back to where it stood, then picks a new walking direction.
#pragma once

#include "shell/game.h"

namespace tumbleroo {

// Frames of a hop as counted down by the hop timer.
inline constexpr int32_t kHopStartCounter = 79;

// Animation shared by all penguins of one kind: each frame lasts 15 frames.
void AdvancePenguinAnimation(int32_t& tick, int16_t& frame);
// One frame of a hop in progress.
void HopStep(Game& game, Actor& penguin);
// Counts the hop timer down, maybe starts a hop (with the kind's chance per
// frame), and runs the hop step while one is in progress.
void HopTimerStep(Game& game, Actor& penguin, float hopChance);

}  // namespace tumbleroo
