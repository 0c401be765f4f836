// The headless driver, run as its own program the way the other tools and
// the course checks use it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/files.h"

namespace {

struct RunResult {
    int exitCode = -1;
    std::string out;
};

RunResult RunSim(const std::string& args) {
    const std::string command = std::string(TUMBLEROO_SIM) + " " + args + " 2>/dev/null";
    RunResult r;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return r;
    char buffer[512];
    while (fgets(buffer, sizeof buffer, pipe)) r.out += buffer;
    const int status = pclose(pipe);
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

// A number member of a trace line.
long long Member(const std::string& line, const std::string& name) {
    const size_t at = line.find("\"" + name + "\":");
    if (at == std::string::npos) return -999999;
    return std::stoll(line.substr(at + name.size() + 3));
}

class Driver : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("tumbleroo-driver-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir / "MapFiles");
        std::filesystem::copy_file(std::string(TUMBLEROO_BUILD_DIR) + "/MapFiles/C1-1.map",
                                   dir / "MapFiles/C1-1.map");
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::string Path(const std::string& name) const { return (dir / name).string(); }
    void Write(const std::string& name, const std::string& text) const {
        std::ofstream(Path(name)) << text;
    }
    std::filesystem::path dir;
};

TEST_F(Driver, TracesEveryStageFrameAfterTheOpeningMosaicAndTakesShots) {
    const RunResult r = RunSim("--dir " + dir.string() + " --map C1-1 --frames 120 --trace " +
                               Path("t.jsonl") + " --shot 60:" + Path("s.png"));
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "frames=120 stage_frames=95 misses=0 cleared=0 coins=0\n");
    const std::vector<std::string> lines = tumbleroo::testing::ReadLines(Path("t.jsonl"));
    ASSERT_EQ(lines.size(), 95u);
    EXPECT_EQ(Member(lines.front(), "frame"), 26);
    EXPECT_EQ(Member(lines.back(), "frame"), 120);
    EXPECT_EQ(Member(lines.front(), "CanMoveLeft"), -1);
    EXPECT_TRUE(std::filesystem::file_size(Path("s.png")) > 1000);
}

TEST_F(Driver, KeyScriptHoldsKeysOverRangesAndReleasesThemAfterwards) {
    // Right from the first stage frame; a jump whose key is let go early.
    Write("keys", "# walk, then a short hop\n26-35 right\n30-32 RIGHT+Z\n\n");
    const RunResult r = RunSim("--dir " + dir.string() + " --map C1-1 --frames 45 --keys " +
                               Path("keys") + " --trace " + Path("t.jsonl"));
    ASSERT_EQ(r.exitCode, 0);
    const std::vector<std::string> lines = tumbleroo::testing::ReadLines(Path("t.jsonl"));
    ASSERT_EQ(lines.size(), 20u);
    // Ten frames of walking, 5 pixels each, from the start at x 60.
    EXPECT_EQ(Member(lines[9], "PlayerX"), 110);
    EXPECT_EQ(Member(lines[10], "PlayerX"), 110);
    // Frame 30 starts the jump; releasing Z after frame 32 ends the rise.
    EXPECT_EQ(Member(lines[4], "Airborne"), -1);
    EXPECT_EQ(Member(lines[7], "VerticalSpeed"), 0);
    EXPECT_EQ(Member(lines.back(), "Airborne"), 0);
}

TEST_F(Driver, BadInputGivesExitCodesAndMessages) {
    EXPECT_EQ(RunSim("--bogus").exitCode, 2);
    EXPECT_EQ(RunSim("--frames x").exitCode, 2);
    Write("keys", "10-5 LEFT\n");
    EXPECT_EQ(RunSim("--dir " + dir.string() + " --map C1-1 --keys " + Path("keys")).exitCode, 2);
    Write("keys", "1 JUMP\n");
    EXPECT_EQ(RunSim("--dir " + dir.string() + " --map C1-1 --keys " + Path("keys")).exitCode, 2);
    EXPECT_EQ(RunSim("--dir " + dir.string() + " --map C1-1 --keys " + Path("nothing")).exitCode, 2);
    // A folder named as the key script or as the map is refused, not a crash.
    std::filesystem::create_directories(Path("keydir"));
    EXPECT_EQ(RunSim("--dir " + dir.string() + " --map C1-1 --keys " + Path("keydir")).exitCode, 2);
    std::filesystem::create_directories(Path("MapFiles/C2-1.map"));
    EXPECT_EQ(RunSim("--dir " + dir.string() + " --map C2-1").exitCode, 3);
    EXPECT_EQ(RunSim("--dir " + dir.string() + " --map C4-3").exitCode, 3);
    Write("MapFiles/Bad.map", "short");
    EXPECT_EQ(RunSim("--dir " + dir.string() + " --map Bad").exitCode, 3);
}

TEST_F(Driver, EscapeDuringTheOpeningMosaicEndsTheRunCleanly) {
    Write("keys", "0-5 ESC\n");
    const RunResult r = RunSim("--dir " + dir.string() + " --map C1-1 --keys " + Path("keys"));
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "frames=0 stage_frames=0 misses=0 cleared=0 coins=0\n");
}

}  // namespace
