// The course records and where the player's files live: the part of the
// game that persist/ reads and writes.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "core/numeric.h"

namespace tumbleroo {

struct FileOps;

struct CourseRecord {
    Flag Cleared = kOff;
    int32_t BestCoins = 0;
    std::string ClearedAt;
    int32_t CoinCount = 0;
};

struct RecordsState {
    // Indexed [stage 1..5][course 1..3]; index 0 is unused.
    std::array<std::array<CourseRecord, 4>, 6> CourseRecords{};
    Flag FirstClear = kOff;
    Flag NewRecord = kOff;
    // Where the files live (the game folder, or the user's data folder for
    // an installed game or when the game folder cannot be written); set by
    // ChooseDataFiles or UseFolder before the first load.
    std::string recordsPath;
    std::string settingsPath;
    // Set before start-up for an installed game: the files go to userFolder.
    bool filesInUserFolder = false;
    // The user's data folder, also tried when a save elsewhere fails; empty: none.
    std::string userFolder;
    // The file could not be read as it is: keep a copy before replacing it.
    bool recordsDamaged = false;
    bool settingsDamaged = false;
    // What the player should be told about these files (a save that failed,
    // a damaged file); the screen that shows it clears it. Empty: nothing.
    std::string notice;
    // The file operations saves go through; null: POSIX. Tests inject failures.
    const FileOps* fileOps = nullptr;
    // The clock clears are stamped with, in seconds since 1970 (UTC); empty:
    // the system clock. Tests set a fixed time.
    std::function<int64_t()> clock;
};

}  // namespace tumbleroo
