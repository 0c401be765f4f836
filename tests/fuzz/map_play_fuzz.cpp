// A map played: the input is a map file image, and the bytes after its
// cells are the keys held in the stage frames that follow, one byte a
// frame. Every accepted map plays through the real stage loop on the
// headless platform, with misses and the goal, and the game's state is
// checked after every frame and at every miss.
#include <filesystem>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "platform/headless_platform.h"
#include "shell/game.h"
#include "shell/map_file.h"
#include "shell/program.h"
#include "shell/stage_flow.h"
#include "shell/stage_loop.h"
#include "tools/soak/soak.h"

namespace {

using namespace tumbleroo;

constexpr uint64_t kStageFrames = 200;
// A map that misses in every frame plays fewer frames: the run is bounded
// by the flips shown as well.
constexpr uint64_t kFlipBudget = 3000;
constexpr uint64_t kSeed = 1;
constexpr const char* kCourseName = "C1-1";
constexpr const char* kQuietSettings = "[BasicInformation]\nPlayMusic=0\nGameSpeed=0\n";
// One bit of a key byte per key; Escape only for the byte with every bit set.
constexpr Key kKeyBits[] = {Key::Left, Key::Right, Key::Up, Key::Down, Key::Z, Key::Enter};
constexpr uint8_t kEscapeByte = 0xFF;
// A stage frame shows one flip, and the animations of what happens in it:
// a miss 122 flips, the goal 304. Escape and a window close are looked at
// only between frames, so a frame far longer than a goal and a few misses
// freezes the game.
constexpr uint64_t kMissFlips = 122, kGoalFlips = 304, kMissesInOneFrame = 3;
constexpr uint64_t kMostFlipsInOneFrame = 1 + kGoalFlips + kMissesInOneFrame * kMissFlips;

std::vector<Key> KeysOf(uint8_t byte) {
    if (byte == kEscapeByte) return {Key::Escape};
    std::vector<Key> keys;
    for (size_t bit = 0; bit < std::size(kKeyBits); ++bit) {
        if (byte & (1u << bit)) keys.push_back(kKeyBits[bit]);
    }
    return keys;
}

void CheckFrame(const Game& game) {
    for (const std::string& fault : soak::CheckStageFrame(game)) fuzz::Fail(fault);
}

// Plays the loaded map as PlayStage does, without the opening mosaic and
// for a bounded number of frames.
void Play(Game& game, soak::SteeredPlatform& platform, const std::vector<uint8_t>& keys) {
    SetUpStage(game);
    for (uint64_t frame = 0; frame < kStageFrames && game.run.flips < kFlipBudget; ++frame) {
        platform.held = keys.empty() ? std::vector<Key>{} : KeysOf(keys[frame % keys.size()]);
        const uint64_t flipsBefore = game.run.flips;
        const bool running = StepStageFrame(game);
        if (game.run.flips - flipsBefore > kMostFlipsInOneFrame) {
            fuzz::Fail("one stage frame showed " + std::to_string(game.run.flips - flipsBefore) +
                       " flips");
        }
        CheckFrame(game);
        if (!running) {
            if (IsOn(game.player.StageRunning)) RestartAfterMiss(game);
            return;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    MapData map;
    std::string error;
    if (!ParseMapBytes(bytes, map, error)) return 0;
    const size_t mapSize = MapToBytes(map).size();
    const std::vector<uint8_t> keys(bytes.begin() + static_cast<long>(mapSize), bytes.end());

    fuzz::ClearScratchFolder();
    const std::string& folder = fuzz::ScratchFolder();
    std::filesystem::create_directories(folder + "MapFiles");
    fuzz::WriteBytes(folder + "MapFiles/" + kCourseName + ".map", data, mapSize);
    fuzz::WriteText(folder + "Init.ini", kQuietSettings);

    soak::SteeredPlatform platform;
    platform.keepLastFrame = false;
    Game game;
    game.platform = &platform;
    uint64_t missesSeen = 0;
    platform.onPresent = [&]() {
        const std::string fault = soak::CheckMissReturnedToStart(game, missesSeen);
        if (!fault.empty()) fuzz::Fail(fault);
    };
    try {
        PrepareGame(game, folder, kSeed);
        if (!OpenDisplayAndPictures(game)) fuzz::Fail("the headless display did not open");
        game.run.MapName = kCourseName;
        StageAndCourseFromName(kCourseName, game.run.SelectedStage, game.run.SelectedCourse);
        if (!ReadMapFile(game, MapFilePath(game, kCourseName))) {
            fuzz::Fail("a map the reader accepts from memory is refused from its file");
        }
        Play(game, platform, keys);
    } catch (const ProgramEnded&) {
    }
    return 0;
}
