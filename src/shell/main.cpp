// tumbleroo: the game in a real window.
//
//   tumbleroo                 the whole game, from the opening on
//   tumbleroo --map NAME      one course by name (for example Demo, the
//                             demonstration course no menu leads to), then end
//   --seed N                  with --map: seed the random generator with N
//                             instead of the clock, so that a recorded run of
//                             the keys plays out the same way again
#include <chrono>
#include <cstdio>
#include <string>

#include "platform/sdl_platform.h"
#include "shell/game.h"
#include "shell/map_file.h"
#include "shell/numeric.h"
#include "shell/program.h"
#include "shell/program_folder.h"

namespace {

constexpr int kExitUsage = 2;
constexpr int kExitMap = 3;

uint64_t ClockSeed() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
}

int PlayOneCourse(tumbleroo::Game& game, const std::string& name, uint64_t seed) {
    using namespace tumbleroo;
    try {
        PrepareGame(game, ProgramFolder(), seed);
        if (!OpenDisplayAndPictures(game)) Form_Unload(game);
        StageAndCourseFromName(name, game.run.SelectedStage, game.run.SelectedCourse);
        if (!PlayNamedCourse(game, name)) {
            std::fprintf(stderr, "tumbleroo: map %s is missing or not a valid map file\n",
                         MapFilePath(game, name).c_str());
            return kExitMap;
        }
    } catch (const ProgramEnded&) {
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace tumbleroo;
    std::string map;
    uint64_t seed = ClockSeed();
    bool seedGiven = false;
    for (int i = 1; i < argc; i += 2) {
        const std::string option = argv[i];
        if (i + 1 >= argc || (option != "--map" && option != "--seed")) {
            std::fprintf(stderr, "usage: tumbleroo [--map NAME [--seed N]]\n");
            return kExitUsage;
        }
        if (option == "--map") {
            map = argv[i + 1];
        } else if (!ParseWholeNumber(argv[i + 1], seed)) {
            std::fprintf(stderr, "tumbleroo: --seed takes a whole number\n");
            return kExitUsage;
        } else {
            seedGiven = true;
        }
    }
    if (seedGiven && map.empty()) {
        std::fprintf(stderr, "tumbleroo: --seed goes with --map\n");
        return kExitUsage;
    }
    if (!map.empty() && map.find_first_of("/\\") != std::string::npos) {
        std::fprintf(stderr, "tumbleroo: --map takes a course name, not a path\n");
        return kExitUsage;
    }
    std::unique_ptr<Platform> platform = CreateSdlPlatform();
    Game game;
    game.platform = platform.get();
    if (!map.empty()) return PlayOneCourse(game, map, seed);
    Form_Load(game, ProgramFolder(), seed);
    return 0;
}
