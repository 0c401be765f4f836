// tumbleroo-soak: random play through every course and the whole program,
// with the game's state checked every frame.
//
//   tumbleroo-soak --dir BUILD_DIR [--seed N] [--frames N] [--program-flips N]
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "tools/soak/soak.h"

namespace {

using namespace tumbleroo::soak;

constexpr uint64_t kDefaultStageFrames = 1'000'000;
constexpr uint64_t kDefaultProgramFlips = 200'000;
// One course attempt, and one whole-program run, end after this many flips.
constexpr uint64_t kAttemptFlips = 6'000;
constexpr uint64_t kProgramRunFlips = 20'000;
constexpr int kExitUsage = 2;
constexpr int kExitFaults = 1;

void Report(const char* what, uint64_t seed, const Findings& f) {
    std::printf("%s seed=%llu stage_frames=%llu flips=%llu misses=%llu clears=%llu faults=%llu\n",
                what, static_cast<unsigned long long>(seed),
                static_cast<unsigned long long>(f.stageFrames),
                static_cast<unsigned long long>(f.flips), static_cast<unsigned long long>(f.misses),
                static_cast<unsigned long long>(f.clears),
                static_cast<unsigned long long>(f.faultCount));
    for (const std::string& fault : f.faults) std::printf("  fault: %s\n", fault.c_str());
}

bool Number(const char* text, uint64_t& out) {
    char* end = nullptr;
    out = std::strtoull(text, &end, 10);
    return end != text && *end == '\0';
}

}  // namespace

int main(int argc, char** argv) {
    std::string dir;
    uint64_t seed = std::random_device{}();
    uint64_t frames = kDefaultStageFrames;
    uint64_t programFlips = kDefaultProgramFlips;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string arg = argv[i];
        const bool ok = arg == "--dir"            ? (dir = argv[i + 1], true)
                        : arg == "--seed"          ? Number(argv[i + 1], seed)
                        : arg == "--frames"        ? Number(argv[i + 1], frames)
                        : arg == "--program-flips" ? Number(argv[i + 1], programFlips)
                                                   : false;
        if (!ok) {
            std::fprintf(stderr, "tumbleroo-soak: bad option %s\n", arg.c_str());
            return kExitUsage;
        }
    }
    if (dir.empty() || argc % 2 == 0) {
        std::fprintf(stderr, "usage: tumbleroo-soak --dir BUILD_DIR [--seed N] [--frames N] "
                             "[--program-flips N]\n");
        return kExitUsage;
    }
    GameFolder folder(dir);
    const Findings courses = SoakCourses(folder, seed, frames, kAttemptFlips);
    Report("courses", seed, courses);
    const Findings program = SoakProgram(folder, seed, programFlips, kProgramRunFlips);
    Report("program", seed, program);
    return courses.faultCount + program.faultCount == 0 ? 0 : kExitFaults;
}
