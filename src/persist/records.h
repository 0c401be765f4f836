// The course records file MapInfo.dat: 60 lines, four per course.
#pragma once

#include <cstdint>
#include <string>

#include "shell/numeric.h"

namespace tumbleroo {

struct Game;

void LoadRecords(Game& game);
bool SaveRecords(Game& game);
void ResetRecords(Game& game);
Flag StageCompleted(const Game& game, int16_t stage);
void RecordClear(Game& game, int16_t stage, int16_t course, int32_t coins);
// Chooses where Init.ini and MapInfo.dat live: the game folder when it can
// be written, else the user's data folder (seeded from the shipped file).
void ChooseDataFiles(Game& game);

}  // namespace tumbleroo
