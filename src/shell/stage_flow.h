// The three moments of a stage: the start (markers and opening mosaic), a
// miss (thrown off, map and objects restored) and the clear (the tally).
#pragma once

#include <cstdint>

namespace tumbleroo {

struct Game;

void ScanStageMarkers(Game& game);
void ZoomTransition(Game& game, double startPercent, double factor);
void RestartAfterMiss(Game& game);
void GoalSequence(Game& game);
void ResetStageCounters(Game& game);
void DrawCoinBurst(Game& game, int32_t cx, int32_t cy);

}  // namespace tumbleroo
