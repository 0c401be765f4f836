// The course records file MapInfo.dat: 60 lines, four per course.
#pragma once

#include <cstdint>
#include <string>

#include "persist/data_file.h"
#include "core/numeric.h"

namespace tumbleroo {

struct RecordsState;

void LoadRecords(RecordsState& records);
// Writes the whole table; a failure is reported (standard error and
// records.notice) after the user's data folder was tried too.
SaveResult SaveRecords(RecordsState& records);
void ResetRecords(RecordsState& records);
Flag StageCompleted(const RecordsState& records, int16_t stage);
// Updates the course's record and saves the records; false when the save failed.
bool RecordClear(RecordsState& records, int16_t stage, int16_t course, int32_t coins);

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
