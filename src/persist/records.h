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
// Updates the course's record and saves the records; false when the save failed.
bool RecordClear(Game& game, int16_t stage, int16_t course, int32_t coins);
// Chooses where Init.ini and MapInfo.dat live: the game folder when it can
// be written, else the user's data folder (seeded from the shipped file).
void ChooseDataFiles(Game& game);

// The file's shape: four lines per course, stage by stage, course by course.
inline constexpr int kStageCount = 5;
inline constexpr int kCoursesPerStage = 3;
inline constexpr int kLinesPerCourse = 4;
inline constexpr int kRecordLines = kStageCount * kCoursesPerStage * kLinesPerCourse;

// The local date a clear is stamped with, the day alone so the records
// panel line "2026/12/08 Cleared" fits inside its frame
// (no comma, so the records file reads it back as one value).
std::string ClearedAtText(int64_t secondsSince1970);

}  // namespace tumbleroo
