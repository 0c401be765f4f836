// The course records: for each of the 15 courses whether it was cleared, the
// most coins held at a clear, when that was, and how many coins it holds.
// They are read once at start-up and the whole file is rewritten after every
// clear and after a reset.
//
// The player's records are never lost to a crash or a bad file: saves
// replace the file in one rename, and a file that does not read cleanly is
// kept beside the new one as MapInfo.dat.bad (then .bad.1, .bad.2, ...).
#include "persist/records.h"

#include <ctime>
#include <string_view>
#include <vector>

#include "persist/ini.h"
#include "persist/player_files.h"
#include "persist/records_state.h"
#include "platform/plain_text.h"
#include "platform/table_index.h"

namespace tumbleroo {

namespace {

constexpr const char* kLineEnd = "\r\n";

// Lines within one course's group.
enum RecordLine { kClearedLine = 0, kBestCoinsLine = 1, kClearedAtLine = 2, kCoinCountLine = 3 };

bool ValidCourse(int stage, int course) {
    return stage >= 1 && stage <= kStageCount && course >= 1 && course <= kCoursesPerStage;
}

// The file's lines without their CR LF (or LF) ends.
std::vector<std::string> FileLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t nl = text.find('\n', start);
        size_t end = (nl == std::string::npos) ? text.size() : nl;
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        if (nl == std::string::npos) break;
        start = nl + 1;
    }
    return lines;
}

// A number line: blanks, a signed decimal number, then a blank, a comma or
// the line end. False for anything else, including an empty line.
bool ParseNumberLine(std::string_view line, int32_t& value) {
    size_t i = 0;
    while (i < line.size() && IsBlank(line[i])) ++i;
    size_t digits = i;
    if (digits < line.size() && (line[digits] == '-' || line[digits] == '+')) ++digits;
    size_t end = digits;
    while (end < line.size() && line[end] >= '0' && line[end] <= '9') ++end;
    if (end == digits) return false;
    if (end < line.size() && !IsBlank(line[end]) && line[end] != ',') return false;
    value = LeadingNumber(line.substr(i));
    return true;
}

// A text line: from its first non-blank character to the line end or a comma.
std::string ParseTextLine(std::string_view line) {
    size_t start = 0;
    while (start < line.size() && IsBlank(line[start])) ++start;
    size_t comma = line.find(',', start);
    return std::string(line.substr(start, comma == std::string_view::npos ? comma : comma - start));
}

// Fills one value of the table from its line; false when the line is damaged.
bool LoadRecordLine(CourseRecord& record, int lineInGroup, const std::string& line) {
    if (lineInGroup == kClearedAtLine) {
        record.ClearedAt = ParseTextLine(line);
        return true;
    }
    int32_t value = 0;
    if (!ParseNumberLine(line, value)) return false;
    switch (lineInGroup) {
        case kClearedLine:
            record.Cleared = ToFlag(value != 0);
            break;
        case kBestCoinsLine:
            record.BestCoins = value;
            break;
        default:
            record.CoinCount = value;
            break;
    }
    return true;
}

// A number as the file prints it: NumberText and one trailing blank.
std::string PrintedNumber(int64_t value) { return NumberText(value) + " "; }

std::string RecordsText(const RecordsState& records) {
    std::string text;
    for (int stage = 1; stage <= kStageCount; ++stage) {
        for (int course = 1; course <= kCoursesPerStage; ++course) {
            const CourseRecord& r = records.CourseRecords[AsIndex(stage)][AsIndex(course)];
            text += PrintedNumber(ToFlag(r.Cleared != kOff)) + kLineEnd;
            text += PrintedNumber(r.BestCoins) + kLineEnd;
            text += r.ClearedAt + kLineEnd;
            text += PrintedNumber(r.CoinCount) + kLineEnd;
        }
    }
    return text;
}

int64_t NowSeconds(const RecordsState& records) {
    if (records.clock) return records.clock();
    return static_cast<int64_t>(std::time(nullptr));
}

}  // namespace

std::string ClearedAtText(int64_t secondsSince1970) {
    std::time_t t = static_cast<std::time_t>(secondsSince1970);
    std::tm local {};
    localtime_r(&t, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y/%m/%d", &local);
    return text;
}

void LoadRecords(RecordsState& records) {
    for (auto& stage : records.CourseRecords) stage.fill(CourseRecord{});
    records.recordsDamaged = false;

    const std::string& path = records.recordsPath;
    RemoveLeftoverSaveFile(path);
    const FileRead read = ReadDataFile(path, kMaxDataFileBytes, FileOpsOf(records));
    // Missing: every record starts empty and the next save creates it.
    if (read.status == ReadStatus::Missing) return;
    // Unreadable or too big to be records: not split into lines, and never
    // overwritten before a copy of it is kept.
    if (IsUnusable(read)) {
        records.recordsDamaged = true;
        ReportUnreadFile(records, read.reason, "MapInfo.dat cannot be read: the records start empty");
        return;
    }
    const std::vector<std::string> lines = FileLines(read.bytes);
    bool damaged = lines.size() < static_cast<size_t>(kRecordLines);
    for (size_t i = 0; i < lines.size() && i < static_cast<size_t>(kRecordLines); ++i) {
        const int group = static_cast<int>(i) / kLinesPerCourse;
        const int stage = group / kCoursesPerStage + 1;
        const int course = group % kCoursesPerStage + 1;
        CourseRecord& record = records.CourseRecords[AsIndex(stage)][AsIndex(course)];
        if (!LoadRecordLine(record, static_cast<int>(i) % kLinesPerCourse, lines[i])) damaged = true;
    }
    records.recordsDamaged = damaged;
    if (damaged) {
        ReportUnreadFile(records, path + " is damaged; what could be read is used",
                         "MapInfo.dat was damaged: a copy is kept beside it");
    }
}

SaveResult SaveRecords(RecordsState& records) {
    return SavePlayerFile(records, records.recordsPath, records.recordsDamaged, RecordsText(records),
                          "Records");
}

void ResetRecords(RecordsState& records) {
    for (int stage = 1; stage <= kStageCount; ++stage) {
        for (int course = 1; course <= kCoursesPerStage; ++course) {
            CourseRecord& r = records.CourseRecords[AsIndex(stage)][AsIndex(course)];
            r.Cleared = kOff;
            r.ClearedAt.clear();
            r.BestCoins = 0;
        }
    }
    SaveRecords(records);
}

Flag StageCompleted(const RecordsState& records, int16_t stage) {
    if (stage < 1 || stage > kStageCount) return kOff;
    for (int course = 1; course <= kCoursesPerStage; ++course) {
        if (!IsOn(records.CourseRecords[AsIndex(stage)][AsIndex(course)].Cleared)) return kOff;
    }
    return kOn;
}

bool RecordClear(RecordsState& records, int16_t stage, int16_t course, int32_t coins) {
    records.FirstClear = kOff;
    records.NewRecord = kOff;
    if (!ValidCourse(stage, course)) return true;

    CourseRecord& r = records.CourseRecords[AsIndex(stage)][AsIndex(course)];
    if (!IsOn(r.Cleared)) {
        r.Cleared = kOn;
        records.FirstClear = kOn;
        r.ClearedAt = ClearedAtText(NowSeconds(records));
    }
    if (r.BestCoins < coins) {
        records.NewRecord = kOn;
        r.ClearedAt = ClearedAtText(NowSeconds(records));
        r.BestCoins = coins;
    }
    return SaveRecords(records).saved;
}

}  // namespace tumbleroo
