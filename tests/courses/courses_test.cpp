// Every course with a clear script is played through the driver, as a
// player would play it, and must be cleared without a miss.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr const char* kFrameLimit = "20000";

// The course names C?-? that have a map source.
std::vector<std::string> CourseNames() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(fs::path(TUMBLEROO_SOURCE_DIR) / "data/maps")) {
        const std::string stem = entry.path().stem().string();
        if (entry.path().extension() == ".txt" && stem.size() == 4 && stem[0] == 'C' &&
            stem[2] == '-') {
            names.push_back(stem);
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string RunDriver(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return output;
    char buffer[256];
    while (fgets(buffer, sizeof buffer, pipe)) output += buffer;
    pclose(pipe);
    return output;
}

TEST(Courses, EveryScriptedCourseIsClearedWithoutAMiss) {
    const fs::path scripts = fs::path(TUMBLEROO_SOURCE_DIR) / "tests/courses";
    // A game folder of its own, so the build's records are never touched.
    const fs::path folder = fs::temp_directory_path() / ("tumbleroo-courses-" +
                                                         std::to_string(::getpid()));
    fs::create_directories(folder / "MapFiles");
    int played = 0;
    for (const std::string& name : CourseNames()) {
        const fs::path keys = scripts / (name + ".keys");
        if (!fs::exists(keys)) continue;
        fs::copy_file(fs::path(TUMBLEROO_BUILD_DIR) / "MapFiles" / (name + ".map"),
                      folder / "MapFiles" / (name + ".map"), fs::copy_options::overwrite_existing);
        const std::string output =
            RunDriver(std::string(TUMBLEROO_SIM) + " --dir " + folder.string() + " --map " + name +
                      " --keys " + keys.string() + " --seed 1 --frames " + kFrameLimit);
        EXPECT_NE(output.find("cleared=1"), std::string::npos) << name << ": " << output;
        EXPECT_NE(output.find("misses=0 "), std::string::npos) << name << ": " << output;
        ++played;
    }
    fs::remove_all(folder);
    EXPECT_GT(played, 0);
}

}  // namespace
