// tumbleroo-sim: the game on the headless platform, driven by a key script.
//
//   tumbleroo-sim [--dir DIR] [--map NAME [--stage N --course N]] [--keys FILE]
//                 [--frames N] [--seed N] [--trace FILE] [--shot N:FILE]...
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>

#include "persist/ini.h"
#include "platform/headless_platform.h"
#include "platform/plain_text.h"
#include "shell/game.h"
#include "shell/map_file.h"
#include "shell/one_course.h"
#include "shell/program.h"
#include "shell/program_folder.h"
#include "shell/stage_loop.h"
#include "shell/trace.h"

namespace {

using namespace tumbleroo;

struct Options {
    std::string dir;
    std::string map;
    int stage = 0;
    int course = 0;
    std::string keys;
    uint64_t frames = 100000;
    uint64_t seed = 1;
    std::string trace;
    std::map<uint64_t, std::string> shots;
};

bool ParseOptions(int argc, char** argv, Options& o, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        auto needValue = [&]() {
            if (!value) error = arg + " needs a value";
            return value != nullptr;
        };
        uint64_t n = 0;
        if (arg == "--dir" && needValue()) {
            o.dir = value;
        } else if (arg == "--map" && needValue()) {
            o.map = value;
        } else if ((arg == "--stage" || arg == "--course") && needValue()) {
            if (!ParseWholeNumber(value, n) || n < 1 || n > (arg == "--stage" ? 5u : 3u)) {
                error = arg + " takes " + (arg == "--stage" ? "1 to 5" : "1 to 3");
                return false;
            }
            (arg == "--stage" ? o.stage : o.course) = static_cast<int>(n);
        } else if (arg == "--keys" && needValue()) {
            o.keys = value;
        } else if ((arg == "--frames" || arg == "--seed") && needValue()) {
            if (!ParseWholeNumber(value, n)) {
                error = arg + " takes a whole number";
                return false;
            }
            (arg == "--frames" ? o.frames : o.seed) = n;
        } else if (arg == "--trace" && needValue()) {
            o.trace = value;
        } else if (arg == "--shot" && needValue()) {
            const std::string v = value;
            const size_t colon = v.find(':');
            if (colon == std::string::npos || !ParseWholeNumber(v.substr(0, colon), n) ||
                colon + 1 == v.size()) {
                error = "--shot takes N:FILE";
                return false;
            }
            o.shots[n] = v.substr(colon + 1);
        } else {
            if (error.empty()) error = "unknown option " + arg;
            return false;
        }
        ++i;
    }
    if (!o.map.empty() && o.map.find_first_of("/\\") != std::string::npos) {
        error = "--map takes a course name, not a path";
        return false;
    }
    return true;
}

bool ReadKeyScript(const std::string& path, std::vector<KeyRange>& keys, std::string& error) {
    std::string text;
    if (path == "-") {
        text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    } else if (!ReadWholeFile(path, text)) {
        error = "cannot read key script " + path;
        return false;
    }
    return ParseKeyScript(text, keys, error);
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    std::string error;
    if (!ParseOptions(argc, argv, o, error)) {
        std::fprintf(stderr, "tumbleroo-sim: %s\n", error.c_str());
        return kExitUsage;
    }
    HeadlessPlatform platform;
    if (!o.keys.empty() && !ReadKeyScript(o.keys, platform.keyScript, error)) {
        std::fprintf(stderr, "tumbleroo-sim: %s\n", error.c_str());
        return kExitUsage;
    }
    platform.shots = o.shots;
    platform.keepLastFrame = false;

    Game game;
    game.platform = &platform;
    game.run.BasePath = o.dir.empty() ? ProgramFolder() : o.dir;
    platform.frameLimit = o.frames;

    std::ofstream trace;
    if (!o.trace.empty()) {
        trace.open(o.trace, std::ios::trunc);
        if (!trace) {
            std::fprintf(stderr, "tumbleroo-sim: cannot write %s\n", o.trace.c_str());
            return kExitUsage;
        }
        game.run.hooks.afterStagePass = [&]() { trace << TraceLine(game) << '\n'; };
    }

    int status = 0;
    if (o.map.empty()) {
        if (!Form_Load(game, game.run.BasePath, o.seed)) return kExitNoDisplay;
    } else {
        status = PlayOneCourse(game, game.run.BasePath, o.map, o.seed, "", static_cast<int16_t>(o.stage),
                               static_cast<int16_t>(o.course));
        if (status != 0) return status;
    }
    const long long coins = game.run.cleared ? game.run.clearCoins : game.player.CoinsCollected;
    std::printf("frames=%llu stage_frames=%llu misses=%llu cleared=%d coins=%lld\n",
                static_cast<unsigned long long>(game.run.flips),
                static_cast<unsigned long long>(game.run.stagePasses),
                static_cast<unsigned long long>(game.run.misses), game.run.cleared ? 1 : 0, coins);
    return 0;
}
