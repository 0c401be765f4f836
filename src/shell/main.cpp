// tumbleroo: the game in a real window.
//
//   tumbleroo                 the whole game, from the opening on
//   tumbleroo --map NAME      one course by name (for example Demo, the
//                             demonstration course no menu leads to), then end
//   --seed N                  with --map: seed the random generator with N
//                             instead of the clock, so that a recorded run of
//                             the keys plays out the same way again
//   --data-dir DIR            read the game's data (courses, sounds, records)
//                             from DIR instead of the folder beside the program
//   --fullscreen, --window    start in full screen or in a window
//   --help, --version         print usage or the version and end
#include <chrono>
#include <cstdio>
#include <string>

#include "platform/plain_text.h"
#include "platform/sdl_platform.h"
#include "shell/game.h"
#include "shell/one_course.h"
#include "shell/program.h"
#include "shell/program_folder.h"

namespace {

constexpr int kExitData = 4;

constexpr const char* kUsage =
    "usage: tumbleroo [--map NAME [--seed N]] [--data-dir DIR] [--fullscreen | --window]\n"
    "       tumbleroo --help | --version\n"
    "\n"
    "  --map NAME      play one course by name (for example 1-1 or Demo), then end\n"
    "  --seed N        with --map: seed the random generator with the whole number N\n"
    "  --data-dir DIR  read courses, sounds and records from DIR\n"
    "  --fullscreen    start in full screen\n"
    "  --window        start in a window\n"
    "  --help          print this text and end\n"
    "  --version       print the version and end\n";

// How the window starts.
enum class WindowChoice { kSaved, kFullscreen, kWindow };

// What the command line asked for.
struct StartOptions {
    std::string map;
    uint64_t seed = 0;
    bool seedGiven = false;
    std::string dataDir;
    WindowChoice window = WindowChoice::kSaved;
    bool help = false;
    bool version = false;
};

// Reads the command line into `options`; on a fault prints it and returns false.
bool ParseOptions(int argc, char** argv, StartOptions& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--help") { options.help = true; continue; }
        if (option == "--version") { options.version = true; continue; }
        if (option == "--fullscreen") { options.window = WindowChoice::kFullscreen; continue; }
        if (option == "--window") { options.window = WindowChoice::kWindow; continue; }
        if (option != "--map" && option != "--seed" && option != "--data-dir") {
            std::fprintf(stderr, "tumbleroo: unknown option %s (try --help)\n", option.c_str());
            return false;
        }
        if (i + 1 >= argc) {
            std::fprintf(stderr, "tumbleroo: %s needs a value (try --help)\n", option.c_str());
            return false;
        }
        const char* value = argv[++i];
        if (option == "--map") {
            options.map = value;
        } else if (option == "--data-dir") {
            options.dataDir = value;
        } else if (!tumbleroo::ParseWholeNumber(value, options.seed)) {
            std::fprintf(stderr, "tumbleroo: --seed takes a whole number\n");
            return false;
        } else {
            options.seedGiven = true;
        }
    }
    if (options.seedGiven && options.map.empty()) {
        std::fprintf(stderr, "tumbleroo: --seed goes with --map\n");
        return false;
    }
    if (!options.map.empty() && options.map.find_first_of("/\\") != std::string::npos) {
        std::fprintf(stderr, "tumbleroo: --map takes a course name, not a path\n");
        return false;
    }
    return true;
}

uint64_t ClockSeed() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
}

}  // namespace

int main(int argc, char** argv) {
    using namespace tumbleroo;
    StartOptions options;
    if (!ParseOptions(argc, argv, options)) return kExitUsage;
    if (options.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (options.version) {
        std::printf("tumbleroo %s\n", TUMBLEROO_VERSION);
        return 0;
    }
    const uint64_t seed = options.seedGiven ? options.seed : ClockSeed();
    const DataFolderSearch data = FindDataFolder(options.dataDir);
    if (!data.found) {
        std::fprintf(stderr, "tumbleroo: no game data (a folder holding MapFiles/) found; looked in: %s\n",
                     data.looked.c_str());
        return kExitData;
    }
    const std::string& folder = *data.found;
    std::unique_ptr<Platform> platform = CreateSdlPlatform();
    Game game;
    game.platform = platform.get();
    game.records.filesInUserFolder = data.installed;
    // Start-up hands the mode to the platform; without a choice, the saved one.
    if (options.window != WindowChoice::kSaved) {
        game.run.fullScreenAsked = options.window == WindowChoice::kFullscreen;
    }
    if (!options.map.empty()) return PlayOneCourse(game, folder, options.map, seed, "tumbleroo: ");
    return Form_Load(game, folder, seed) ? 0 : kExitNoDisplay;
}
