// tumbleroo-courses: tools for designing courses.
//
//   tumbleroo-courses solve COURSE.txt ROUTE OUT.keys [-v]
//       searches a key script that clears the course, led by the route's
//       waypoints, checks it through the stage loop and writes it
//   tumbleroo-courses check COURSE.txt SCRIPT.keys
//       plays a key script and tells whether it clears without a miss
//   tumbleroo-courses draw COURSE.txt OUT.png [SCALE]
//       draws the whole course, shrunk by SCALE (default 4)
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "courses.h"

namespace {

using namespace tumbleroo::courses;

int Usage() {
    std::fprintf(stderr,
                 "usage: tumbleroo-courses solve COURSE.txt ROUTE OUT.keys [-v]\n"
                 "       tumbleroo-courses check COURSE.txt SCRIPT.keys\n"
                 "       tumbleroo-courses draw COURSE.txt OUT.png [SCALE]\n");
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

}  // namespace

int main(int argc, char** argv) {
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
