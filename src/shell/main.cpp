// tumbleroo: the game in a real window.
//
//   tumbleroo                 the whole game, from the opening on
//   tumbleroo --map NAME      one course by name (for example Demo, the
//                             demonstration course no menu leads to), then end
#include <chrono>
#include <cstdio>
#include <string>

#include "platform/sdl_platform.h"
#include "shell/game.h"
#include "shell/map_file.h"
#include "shell/program.h"
#include "shell/program_folder.h"

namespace {

constexpr int kExitUsage = 2;
constexpr int kExitMap = 3;

uint64_t ClockSeed() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
}

int PlayOneCourse(tumbleroo::Game& game, const std::string& name) {
    using namespace tumbleroo;
    try {
        PrepareGame(game, ProgramFolder(), ClockSeed());
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
    if (argc == 3 && std::string(argv[1]) == "--map") {
        map = argv[2];
    } else if (argc != 1) {
        std::fprintf(stderr, "usage: tumbleroo [--map NAME]\n");
        return kExitUsage;
    }
    if (!map.empty() && map.find_first_of("/\\") != std::string::npos) {
        std::fprintf(stderr, "tumbleroo: --map takes a course name, not a path\n");
        return kExitUsage;
    }
    std::unique_ptr<Platform> platform = CreateSdlPlatform();
    Game game;
    game.platform = platform.get();
    if (!map.empty()) return PlayOneCourse(game, map);
    Form_Load(game, ProgramFolder(), ClockSeed());
    return 0;
}
