// MapInfo.dat: whatever the file holds, the records read from it are saved
// and read back unchanged; a file that did not read cleanly is kept aside
// byte for byte before the save replaces it.
#include <filesystem>
#include <string>

#include "fuzz_support.h"
#include "persist/ini.h"
#include "persist/player_files.h"
#include "persist/records.h"
#include "shell/game.h"

namespace {

using namespace tumbleroo;

constexpr const char* kRecordsName = "MapInfo.dat";

bool Same(const RecordsState& a, const RecordsState& b) {
    for (int stage = 1; stage <= kStageCount; ++stage) {
        for (int course = 1; course <= kCoursesPerStage; ++course) {
            const CourseRecord& x = a.CourseRecords[stage][course];
            const CourseRecord& y = b.CourseRecords[stage][course];
            if (x.Cleared != y.Cleared || x.BestCoins != y.BestCoins ||
                x.ClearedAt != y.ClearedAt || x.CoinCount != y.CoinCount) {
                return false;
            }
        }
    }
    return true;
}

// A copy of the damaged file beside the records (MapInfo.dat.bad, or a
// numbered one when an earlier copy is kept).
bool KeptAside(const std::string& original) {
    for (const auto& entry : std::filesystem::directory_iterator(fuzz::ScratchFolder())) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(std::string(kRecordsName) + ".bad", 0) != 0) continue;
        std::string bytes;
        if (ReadWholeFile(entry.path().string(), bytes) && bytes == original) return true;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ClearScratchFolder();
    Game game;
    UseFolder(game.records, fuzz::ScratchFolder());
    const std::string path = game.records.recordsPath;
    fuzz::WriteBytes(path, data, size);
    const std::string original(reinterpret_cast<const char*>(data), size);

    LoadRecords(game.records);
    const RecordsState loaded = game.records;
    const bool damaged = game.records.recordsDamaged;
    for (int stage = 1; stage <= kStageCount; ++stage) {
        for (int course = 1; course <= kCoursesPerStage; ++course) {
            const Flag cleared = loaded.CourseRecords[stage][course].Cleared;
            if (cleared != kOn && cleared != kOff) fuzz::Fail("Cleared is neither on nor off");
        }
    }
    if (!SaveRecords(game.records).saved) fuzz::Fail("the records could not be saved");
    if (damaged && !KeptAside(original)) fuzz::Fail("a damaged records file was not kept aside");
    LoadRecords(game.records);
    if (game.records.recordsDamaged) fuzz::Fail("the saved records read as damaged");
    if (!Same(game.records, loaded)) fuzz::Fail("records saved and read back differ");
    return 0;
}
