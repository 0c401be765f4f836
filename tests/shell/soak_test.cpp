// Random play through every course and through the whole program, with the
// game's state checked after every stage frame and at every miss. Bounded
// by frame counts and a fixed seed, so every run plays the same game.
#include <gtest/gtest.h>

#include "tools/soak/soak.h"

namespace tumbleroo::soak {
namespace {

constexpr uint64_t kSeed = 20261208;
constexpr uint64_t kCourseStageFrames = 30'000;
constexpr uint64_t kAttemptFlips = 2'500;
constexpr uint64_t kProgramFlips = 20'000;
constexpr uint64_t kProgramRunFlips = 5'000;

std::string Faults(const Findings& f) {
    std::string text;
    for (const std::string& fault : f.faults) text += fault + "\n";
    return text;
}

TEST(Soak, RandomPlayOverEveryCourseKeepsTheStateSound) {
    GameFolder folder(TUMBLEROO_BUILD_DIR);
    ASSERT_GE(folder.courses.size(), 15u);
    const Findings f = SoakCourses(folder, kSeed, kCourseStageFrames, kAttemptFlips);
    EXPECT_GE(f.stageFrames, kCourseStageFrames);
    EXPECT_GT(f.misses, 0u) << "random play should miss now and then";
    EXPECT_EQ(f.faultCount, 0u) << Faults(f);
}

TEST(Soak, RandomKeysThroughTheMenusReachCoursesAndKeepTheStateSound) {
    GameFolder folder(TUMBLEROO_BUILD_DIR);
    const Findings f = SoakProgram(folder, kSeed, kProgramFlips, kProgramRunFlips);
    EXPECT_GT(f.stageFrames, 0u) << "random keys should find their way into a course";
    EXPECT_EQ(f.faultCount, 0u) << Faults(f);
}

}  // namespace
}  // namespace tumbleroo::soak
