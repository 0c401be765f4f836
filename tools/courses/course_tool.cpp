// tumbleroo-courses: tools for designing courses.
//
//   tumbleroo-courses solve COURSE.txt ROUTE OUT.keys [-v]
//       searches a key script that clears the course, led by the route's
//       waypoints, checks it through the stage loop and writes it
//   tumbleroo-courses check COURSE.txt SCRIPT.keys
//       plays a key script and tells whether it clears without a miss
//   tumbleroo-courses draw COURSE.txt OUT.png [SCALE]
//       draws the whole course, shrunk by SCALE (default 4)
//   tumbleroo-courses forgive COURSE.txt SCRIPT.keys [--runs N] [--jitter F] [--seed N]
//       replays the script N times (100) with every key press and release
//       moved by up to F frames (2) at random; prints the share that clears
//   tumbleroo-courses probe COURSE.txt PROBE ROUTE SCRIPT.keys
//       checks a probe file's rules: the script's uses, then the bypass copy
//   tumbleroo-courses ramp [--scripts DIR] [--widest F] [--horizon F] COURSE.txt...
//       prints the ramp table: deadly obstacles per 100 columns, narrowest
//       landing and the timing windows of the jumps of each course's clear
//       script (DIR/<course>.keys, tests/courses by default; windows out to
//       +-F frames, 6, 0 leaves them out; a shifted jump counts when the
//       player gets through the next F flips, 180, without a miss)
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "courses.h"
#include "probe.h"

namespace {

using namespace tumbleroo;
using namespace tumbleroo::courses;

constexpr long kRampWidestShift = 6;     // frames either side of a jump's start
constexpr long kRampHorizonFlips = 180;  // 3 s at 60 frames/s

int Usage() {
    std::fprintf(stderr,
                 "usage: tumbleroo-courses solve COURSE.txt ROUTE OUT.keys [-v]\n"
                 "       tumbleroo-courses check COURSE.txt SCRIPT.keys\n"
                 "       tumbleroo-courses draw COURSE.txt OUT.png [SCALE]\n"
                 "       tumbleroo-courses forgive COURSE.txt SCRIPT.keys [--runs N] [--jitter F]"
                 " [--seed N]\n"
                 "       tumbleroo-courses probe COURSE.txt PROBE ROUTE SCRIPT.keys\n"
                 "       tumbleroo-courses ramp [--scripts DIR] [--widest F] [--horizon F] COURSE.txt...\n");
    return 2;
}

int Solve(const CourseFolder& folder, const std::string& routePath, const std::string& outPath,
          bool verbose) {
    SolverOptions options;
    options.verbose = verbose;
    std::string error;
    if (!ReadRoute(routePath, options, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const Solution solution = SolveCourse(folder, options);
    if (!solution.cleared) {
        std::fprintf(stderr, "%s: no clear found\n", folder.name.c_str());
        return 1;
    }
    uint64_t frames = 0, misses = 0;
    if (!CheckKeyScript(folder, solution.keyScript, frames, misses)) {
        std::fprintf(stderr, "%s: the script found does not replay (misses=%llu)\n",
                     folder.name.c_str(), static_cast<unsigned long long>(misses));
        return 1;
    }
    std::ofstream out(outPath, std::ios::trunc);
    out << "# Clears " << folder.name << " in " << frames << " stage frames (found by "
        << "tumbleroo-courses solve).\n"
        << solution.keyScript;
    std::printf("%s: cleared in %llu stage frames\n", folder.name.c_str(),
                static_cast<unsigned long long>(frames));
    return out ? 0 : 1;
}

int Check(const CourseFolder& folder, const std::string& scriptPath) {
    std::ifstream in(scriptPath);
    const std::string script((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    uint64_t frames = 0, misses = 0;
    const bool ok = CheckKeyScript(folder, script, frames, misses);
    std::printf("%s: %s, %llu stage frames, %llu misses\n", folder.name.c_str(),
                ok ? "cleared" : "not cleared", static_cast<unsigned long long>(frames),
                static_cast<unsigned long long>(misses));
    return ok ? 0 : 1;
}

bool ReadScript(const std::string& path, std::vector<KeyRange>& script) {
    std::string error;
    if (ParseKeyScript(ReadText(path), script, error) && !script.empty()) return true;
    std::fprintf(stderr, "%s: %s\n", path.c_str(), error.empty() ? "no keys" : error.c_str());
    return false;
}

// "--name value" options after the fixed arguments; false on anything else.
bool ReadOptions(int argc, char** argv, int first, std::vector<std::pair<std::string, long>>& named) {
    for (int i = first; i < argc; i += 2) {
        if (i + 1 >= argc) return false;
        bool known = false;
        for (auto& [name, value] : named) {
            if (argv[i] == name) {
                value = std::atol(argv[i + 1]);
                known = true;
            }
        }
        if (!known) return false;
    }
    return true;
}

int Forgive(const CourseFolder& folder, int argc, char** argv) {
    std::vector<std::pair<std::string, long>> named = {{"--runs", 100}, {"--jitter", 2}, {"--seed", 1}};
    std::vector<KeyRange> script;
    if (!ReadOptions(argc, argv, 4, named) || named[0].second < 1 || named[1].second < 0) return Usage();
    if (!ReadScript(argv[3], script)) return 1;
    const int32_t runs = static_cast<int32_t>(named[0].second);
    const int32_t cleared = ForgivingRuns(folder, script, runs, static_cast<int32_t>(named[1].second),
                                          static_cast<uint64_t>(named[2].second));
    std::printf("%s: %d of %d replays with key changes moved by up to %ld frames clear (%.0f%%)\n",
                folder.name.c_str(), cleared, runs, named[1].second, 100.0 * cleared / runs);
    return 0;
}

int CheckProbe(const CourseFolder& folder, const std::string& sourcePath, char** argv) {
    Probe probe;
    SolverOptions options;
    std::vector<KeyRange> script;
    std::string error;
    if (!ReadProbe(argv[3], probe, error) || !ReadRoute(argv[4], options, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    if (!ReadScript(argv[5], script)) return 1;
    std::vector<std::string> fields;
    for (const UseRule& rule : probe.uses) fields.push_back(rule.field);
    const Tally tally = ReplayAndTally(folder, script, fields);
    bool ok = tally.cleared && tally.misses == 0;
    std::printf("%s: %s in %llu stage frames\n", folder.name.c_str(), ok ? "cleared" : "NOT cleared",
                static_cast<unsigned long long>(tally.stageFrames));
    for (const UseRule& rule : probe.uses) {
        const uint64_t seen = CountFor(tally, rule.field);
        std::printf("  uses %s: %llu (at least %llu) %s\n", rule.field.c_str(),
                    static_cast<unsigned long long>(seen),
                    static_cast<unsigned long long>(rule.atLeast), seen >= rule.atLeast ? "ok" : "FAILS");
        ok = ok && seen >= rule.atLeast;
    }
    if (!probe.bypass.empty()) {
        CourseFolder copy;
        if (!MakeCourseFolderFromText(folder.name, BypassCopy(ReadText(sourcePath), probe.bypass), copy,
                                      error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
        const Solution bypass = SolveCourse(copy, options);
        RemoveCourseFolder(copy);
        std::printf("  bypass: %s\n", bypass.cleared ? "the copy is cleared: FAILS" : "no clear of the copy");
        ok = ok && !bypass.cleared;
    }
    return ok ? 0 : 1;
}

int Ramp(int argc, char** argv) {
    std::string scripts = "tests/courses";
    long widest = kRampWidestShift, horizon = kRampHorizonFlips;
    int i = 2;
    for (; i + 1 < argc && argv[i][0] == '-' && argv[i][1] == '-'; i += 2) {
        if (std::string(argv[i]) == "--scripts") {
            scripts = argv[i + 1];
        } else if (std::string(argv[i]) == "--widest") {
            widest = std::atol(argv[i + 1]);
        } else if (std::string(argv[i]) == "--horizon") {
            horizon = std::atol(argv[i + 1]);
        } else {
            return Usage();
        }
    }
    if (i >= argc || widest < 0 || horizon <= 0) return Usage();
    std::printf("| Course | Width | Deadly per 100 columns | Narrowest landing | Jumps | Tightest window "
                "| Median window | Jumps of 3 frames or fewer |\n"
                "|---|---|---|---|---|---|---|---|\n");
    int status = 0;
    for (; i < argc; ++i) {
        CourseFolder folder;
        std::string error;
        std::vector<KeyRange> script;
        if (!MakeCourseFolder(argv[i], folder, error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            status = 1;
            continue;
        }
        if (ReadScript(scripts + "/" + folder.name + ".keys", script)) {
            const RampFigures f = MeasureRamp(folder, script, static_cast<int32_t>(widest),
                                              static_cast<uint64_t>(horizon));
            std::printf("| %s | %d | %.1f | %d cells | %d | ", folder.name.c_str(), f.width,
                        f.deadlyPer100Columns, f.narrowestLanding, f.jumps);
            if (widest == 0) {
                std::printf("not searched | | |\n");
            } else {
                std::printf("%d frames (jump at frame %llu) | %d frames | %d |\n", f.tightestWindow,
                            static_cast<unsigned long long>(f.tightestAtFrame), f.medianWindow,
                            f.tightJumps);
            }
            std::fflush(stdout);
        } else {
            status = 1;
        }
        RemoveCourseFolder(folder);
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::string(argv[1]) == "ramp") return Ramp(argc, argv);
    if (argc < 4) return Usage();
    const std::string mode = argv[1];
    CourseFolder folder;
    std::string error;
    if (!MakeCourseFolder(argv[2], folder, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    int status = 2;
    if (mode == "solve" && argc >= 5) {
        status = Solve(folder, argv[3], argv[4], argc >= 6 && std::string(argv[5]) == "-v");
    } else if (mode == "check" && argc == 4) {
        status = Check(folder, argv[3]);
    } else if (mode == "forgive") {
        status = Forgive(folder, argc, argv);
    } else if (mode == "probe" && argc == 6) {
        status = CheckProbe(folder, argv[2], argv);
    } else if (mode == "draw") {
        const int scale = argc >= 5 ? std::atoi(argv[4]) : 4;
        if (scale < 1 || !DrawOverview(folder, scale, argv[3], error)) {
            std::fprintf(stderr, "%s\n", error.empty() ? "bad scale" : error.c_str());
            status = 1;
        } else {
            status = 0;
        }
    } else {
        status = Usage();
    }
    RemoveCourseFolder(folder);
    return status;
}
