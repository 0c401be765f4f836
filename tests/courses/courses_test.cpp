// Every course is played through the driver with its clear script, as a
// player would play it, and must be cleared without a miss. Its probe file
// says what the course's idea demands: the clear script must use it, and the
// solver must find no clear of a copy without it. A full-coin script must
// clear with every coin; courses of the new edition must be of their length.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "courses.h"
#include "probe.h"

namespace {

namespace fs = std::filesystem;
using namespace tumbleroo;
using namespace tumbleroo::courses;

constexpr const char* kFrameLimit = "20000";
constexpr uint8_t kCoinCode = 6;

// The fifteen courses, then the demonstration course.
std::vector<std::string> CourseNames() {
    std::vector<std::string> names;
    for (char stage = '1'; stage <= '5'; ++stage) {
        for (char course = '1'; course <= '3'; ++course) names.push_back({'C', stage, '-', course});
    }
    names.push_back("Demo");
    return names;
}

std::string TestName(const testing::TestParamInfo<std::string>& info) {
    std::string name = info.param;
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
}

fs::path Scripts() { return fs::path(TUMBLEROO_SOURCE_DIR) / "tests/courses"; }
fs::path CourseText(const std::string& name) {
    return fs::path(TUMBLEROO_SOURCE_DIR) / "data/maps" / (name + ".txt");
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

// The course's probe; an absent file demands nothing.
Probe ProbeOf(const std::string& name) {
    Probe probe;
    const fs::path path = Scripts() / (name + ".probe");
    std::string error;
    if (fs::exists(path)) {
        EXPECT_TRUE(ReadProbe(path.string(), probe, error)) << error;
    }
    return probe;
}

std::vector<KeyRange> ScriptFile(const fs::path& path) {
    std::vector<KeyRange> keys;
    std::string error;
    EXPECT_TRUE(ParseKeyScript(ReadText(path.string()), keys, error)) << path << ": " << error;
    return keys;
}

// A scratch folder holding the course, removed with the fixture.
class CourseTest : public testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(MakeCourseFolder(CourseText(GetParam()).string(), folder, error)) << error;
    }
    void TearDown() override { RemoveCourseFolder(folder); }
    CourseFolder folder;
};

// The shipped driver with the built map, as in the game folder.
TEST_P(CourseTest, IsClearedByItsScriptInTheDriver) {
    const std::string& name = GetParam();
    const fs::path keys = Scripts() / (name + ".keys");
    ASSERT_TRUE(fs::exists(keys)) << name << " has no clear script";
    const fs::path dir = fs::temp_directory_path() /
                         ("tumbleroo-courses-" + name + "-" + std::to_string(::getpid()));
    fs::create_directories(dir / "MapFiles");
    fs::copy_file(fs::path(TUMBLEROO_BUILD_DIR) / "MapFiles" / (name + ".map"),
                  dir / "MapFiles" / (name + ".map"), fs::copy_options::overwrite_existing);
    const std::string output =
        RunDriver(std::string(TUMBLEROO_SIM) + " --dir " + dir.string() + " --map " + name +
                  " --keys " + keys.string() + " --seed 1 --frames " + kFrameLimit);
    fs::remove_all(dir);
    EXPECT_NE(output.find("cleared=1"), std::string::npos) << output;
    EXPECT_NE(output.find("misses=0 "), std::string::npos) << output;
}

TEST_P(CourseTest, ClearScriptUsesTheIdeaAndIsOfItsLength) {
    const std::string& name = GetParam();
    const Probe probe = ProbeOf(name);
    std::vector<std::string> fields;
    for (const UseRule& rule : probe.uses) fields.push_back(rule.field);
    const Tally tally = ReplayAndTally(folder, ScriptFile(Scripts() / (name + ".keys")), fields);
    ASSERT_TRUE(tally.cleared && tally.misses == 0) << "misses=" << tally.misses;
    for (const UseRule& rule : probe.uses) {
        EXPECT_GE(CountFor(tally, rule.field), rule.atLeast) << "uses " << rule.field;
    }
    if (probe.redesigned) {
        const LengthTarget target = LengthTargetFor(name);
        EXPECT_GE(tally.stageFrames, target.fewest);
        EXPECT_LE(tally.stageFrames, target.most);
    }
}

TEST_P(CourseTest, FullCoinScriptClearsWithEveryCoin) {
    const fs::path keys = Scripts() / (GetParam() + ".coins.keys");
    if (!fs::exists(keys)) GTEST_SKIP() << "no full-coin script";
    const Tally tally = ReplayAndTally(folder, ScriptFile(keys));
    EXPECT_TRUE(tally.cleared && tally.misses == 0) << "misses=" << tally.misses;
    const auto coins = std::count(folder.map.cells.begin(), folder.map.cells.end(), kCoinCode);
    EXPECT_EQ(tally.coins, coins);
}

// The solver, led by the course's own route within its budget, must not
// clear the copy. The search is slow under the sanitizers, whose build
// leaves it to the normal one.
TEST_P(CourseTest, BypassCopyHasNoClear) {
    const std::string& name = GetParam();
    const Probe probe = ProbeOf(name);
    if (probe.bypass.empty()) GTEST_SKIP() << "no bypass probe";
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the bypass search runs in the normal build";
#endif
    SolverOptions options;
    std::string error;
    ASSERT_TRUE(ReadRoute((Scripts() / (name + ".route")).string(), options, error)) << error;
    CourseFolder copy;
    ASSERT_TRUE(MakeCourseFolderFromText(
        name, BypassCopy(ReadText(CourseText(name).string()), probe.bypass), copy, error))
        << error;
    const Solution solution = SolveCourse(copy, options);
    RemoveCourseFolder(copy);
    EXPECT_FALSE(solution.cleared) << "the course is cleared without its idea";
}

INSTANTIATE_TEST_SUITE_P(Courses, CourseTest, testing::ValuesIn(CourseNames()), TestName);

// The probe reader and the bypass copy, on small texts.
TEST(CourseProbe, ReadsEveryRuleAndRefusesWhatItCannotRead) {
    const fs::path path = fs::temp_directory_path() / ("probe-" + std::to_string(::getpid()));
    {
        FILE* f = std::fopen(path.c_str(), "w");
        std::fputs("# the idea\nredesigned\nuses stomps 3\nuses InWater 40\nbypass b .\n", f);
        std::fclose(f);
    }
    Probe probe;
    std::string error;
    ASSERT_TRUE(ReadProbe(path.string(), probe, error)) << error;
    EXPECT_TRUE(probe.redesigned);
    ASSERT_EQ(probe.uses.size(), 2u);
    EXPECT_EQ(probe.uses[1].field, "InWater");
    EXPECT_EQ(probe.uses[1].atLeast, 40u);
    ASSERT_EQ(probe.bypass.size(), 1u);
    EXPECT_EQ(probe.bypass[0].from, 'b');
    {
        FILE* f = std::fopen(path.c_str(), "w");
        std::fputs("uses stomps\n", f);
        std::fclose(f);
    }
    Probe broken;
    EXPECT_FALSE(ReadProbe(path.string(), broken, error));
    EXPECT_NE(error.find(":1:"), std::string::npos) << error;
    fs::remove(path);
}

TEST(CourseProbe, BypassCopyChangesOnlyTheCells) {
    const std::string text = "HeaderExtra: b^b\nCells:\n.b^.\n####\n";
    EXPECT_EQ(BypassCopy(text, {{'b', '.'}, {'^', '#'}}), "HeaderExtra: b^b\nCells:\n..#.\n####\n");
}

// A floor with a spring set in it and a tall flag: the script jumps once on
// the floor, then walks onto the spring and is thrown over to the flag.
std::string SpringCourse() {
    constexpr int kWidth = 40, kHeight = 24, kFloorRow = 22, kSpringColumn = 20, kFlagColumn = 36;
    constexpr int kFlagTop = 8, kStartColumn = 2;
    std::string text = "Cells:\n";
    for (int y = 0; y < kHeight; ++y) {
        std::string row(kWidth, y >= kFloorRow ? '#' : '.');
        if (y == kFloorRow) row[kSpringColumn] = '^';
        if (y >= kFlagTop && y < kFloorRow) row[kFlagColumn] = 'G';
        if (y == kFloorRow - 1) row[kStartColumn] = 'S';
        text += row + "\n";
    }
    return text;
}

TEST(CourseProbe, ASpringIsALaunchAndAJumpSlowingDownIsNot) {
    CourseFolder folder;
    std::string error;
    ASSERT_TRUE(MakeCourseFolderFromText("T1-1", SpringCourse(), folder, error)) << error;
    std::vector<KeyRange> script;
    ASSERT_TRUE(ParseKeyScript("20-600 RIGHT\n30-33 Z\n", script, error)) << error;
    const Tally tally = ReplayAndTally(folder, script, {"Airborne", "InWater"});
    RemoveCourseFolder(folder);
    EXPECT_TRUE(tally.cleared);
    EXPECT_EQ(tally.launches, 1u);
    EXPECT_EQ(tally.stomps, 0u);
    EXPECT_GT(CountFor(tally, "Airborne"), 0u);
    EXPECT_EQ(CountFor(tally, "InWater"), 0u);
}

// A floor with a pit of the given width in it and a tall flag beyond.
std::string PitCourse(int pitWidth) {
    constexpr int kWidth = 40, kHeight = 24, kFloorRow = 22, kPitColumn = 14, kFlagColumn = 36;
    constexpr int kFlagTop = 8, kStartColumn = 2;
    const auto pitCells = static_cast<size_t>(pitWidth);
    std::string text = "Cells:\n";
    for (int y = 0; y < kHeight; ++y) {
        std::string row(kWidth, y >= kFloorRow ? '#' : '.');
        if (y >= kFloorRow) row.replace(kPitColumn, pitCells, pitCells, '.');
        if (y >= kFlagTop && y < kFloorRow) row[kFlagColumn] = 'G';
        if (y == kFloorRow - 1) row[kStartColumn] = 'S';
        text += row + "\n";
    }
    return text;
}

RampFigures RampOfPit(int pitWidth, const std::string& keys) {
    CourseFolder folder;
    std::string error;
    EXPECT_TRUE(MakeCourseFolderFromText("T1-1", PitCourse(pitWidth), folder, error)) << error;
    std::vector<KeyRange> script;
    EXPECT_TRUE(ParseKeyScript(keys, script, error)) << error;
    constexpr int32_t kWidest = 6;
    constexpr uint64_t kHorizon = 180;
    const RampFigures figures = MeasureRamp(folder, script, kWidest, kHorizon);
    RemoveCourseFolder(folder);
    return figures;
}

// The solver's clears of a narrow and a wide pit: over the narrow one the
// jumps may start anywhere in +-6 frames, over the wide one they may not.
TEST(CourseRamp, AWiderPitNarrowsTheJumpWindows) {
    const RampFigures narrow = RampOfPit(2,
        "26-29 RIGHT+Z\n30-33 RIGHT\n34-57 RIGHT+Z\n58-73 RIGHT\n74-81 Z\n82-113 RIGHT+Z\n"
        "114-133 RIGHT\n134-161 RIGHT+Z\n162-167 RIGHT\n");
    const RampFigures wide = RampOfPit(9,
        "26-29 RIGHT+Z\n30-33 RIGHT\n34-69 RIGHT+Z\n70-73 RIGHT\n74-77 Z\n82-85 Z\n"
        "86-117 RIGHT+Z\n118-133 RIGHT\n134-161 RIGHT+Z\n162-171 RIGHT\n");
    EXPECT_EQ(narrow.jumps, 4);
    EXPECT_EQ(narrow.medianWindow, 13);
    EXPECT_EQ(wide.jumps, 5);
    EXPECT_LT(wide.medianWindow, narrow.medianWindow);
    EXPECT_LT(wide.tightestWindow, 13);
}

// Key presses survive the round trip, and a jitter of nothing changes nothing.
TEST(CourseForgiveness, PressesRebuildTheScript) {
    std::vector<KeyRange> script;
    std::string error;
    ASSERT_TRUE(ParseKeyScript("10-19 RIGHT\n20-23 RIGHT+Z\n30 Z\n", script, error)) << error;
    const std::vector<Press> presses = PressesOf(script);
    ASSERT_EQ(presses.size(), 3u);  // RIGHT 10-23, Z 20-23, Z 30
    const std::vector<KeyRange> back = ScriptOf(presses);
    ASSERT_EQ(back.size(), script.size());
    for (size_t i = 0; i < back.size(); ++i) {
        EXPECT_EQ(back[i].from, script[i].from);
        EXPECT_EQ(back[i].to, script[i].to);
        EXPECT_EQ(back[i].keys.size(), script[i].keys.size());
    }
}

}  // namespace
