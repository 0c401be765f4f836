// Every course with a clear script is played through the driver, as a
// player would play it, and must be cleared without a miss.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr const char* kFrameLimit = "20000";

// The fifteen courses, then the demonstration course.
std::vector<std::string> CourseNames() {
    std::vector<std::string> names;
    for (char stage = '1'; stage <= '5'; ++stage) {
        for (char course = '1'; course <= '3'; ++course) names.push_back({'C', stage, '-', course});
    }
    names.push_back("Demo");
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

TEST(Courses, EveryCourseAndTheDemonstrationIsClearedByItsScriptWithoutAMiss) {
    const fs::path scripts = fs::path(TUMBLEROO_SOURCE_DIR) / "tests/courses";
    // A game folder of its own, so the build's records are never touched.
    const fs::path folder = fs::temp_directory_path() / ("tumbleroo-courses-" +
                                                         std::to_string(::getpid()));
    fs::create_directories(folder / "MapFiles");
    int played = 0;
    for (const std::string& name : CourseNames()) {
        const fs::path keys = scripts / (name + ".keys");
        EXPECT_TRUE(fs::exists(keys)) << name << " has no clear script";
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
    EXPECT_EQ(played, 16);
}

}  // namespace
