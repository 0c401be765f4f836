// The whole program on the headless platform, from start-up through the
// screens the main menu loop chains, driven by key scripts.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/headless_platform.h"
#include "shell/game.h"
#include "shell/map_file.h"
#include "shell/program.h"
#include "support/files.h"

namespace tumbleroo {
namespace {

// A fresh game folder with the sound effects and a one-screen course as
// C1-1 whose goal flag is three cells right of the start.
struct WholeGame {
    std::string dir;
    HeadlessPlatform platform;
    Game game;

    WholeGame() {
        char pattern[] = "/tmp/tumbleroo-flow-XXXXXX";
        dir = mkdtemp(pattern);
        std::filesystem::copy(std::string(TUMBLEROO_BUILD_DIR) + "/Se", dir + "/Se");
        std::filesystem::create_directories(dir + "/MapFiles");
        MapData map;
        std::string error;
        const std::string course =
            "BackColor: 100 150 200\nCells:\n"
            "........\n"
            "........\n"
            "S.......\n"
            "...G....\n"
            "########\n";
        EXPECT_TRUE(ParseMapText(course, map, error)) << error;
        const std::vector<uint8_t> bytes = MapToBytes(map);
        std::ofstream(dir + "/MapFiles/C1-1.map", std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        game.platform = &platform;
        platform.frameLimit = 5000;
    }
    ~WholeGame() { std::filesystem::remove_all(dir); }

    void Run(const std::string& script) {
        std::string error;
        ASSERT_TRUE(ParseKeyScript(script, platform.keyScript, error)) << error;
        Form_Load(game, dir, 5);
    }
};

// The opening takes flips 1-75 and the title intro starts at flip 76;
// holding Enter over 76-80 cuts the intro at flip 81 when it is released.
constexpr const char* kToTitle = "76-80 ENTER\n";

TEST(GameFlow, StartUpReachesTheTitleAndEscapeThereEndsTheProgram) {
    WholeGame w;
    w.platform.shots[82] = w.dir + "/title.png";
    w.Run(std::string(kToTitle) + "90 ESC\n");
    EXPECT_EQ(w.platform.flips, 90u);
    EXPECT_FALSE(w.game.display.open);
    EXPECT_TRUE(std::filesystem::exists(w.dir + "/title.png"));
}

// Title, Config (two 26-frame slides down and the 33-frame wipe), Sound
// off, down to OK: Init.ini is created with its keys in the order the game
// writes them, and the game is back at the title.
TEST(GameFlow, ConfigSoundOffOkWritesInitIni) {
    WholeGame w;
    // Settings entrance 174-185; its keys are read after each flip from 186.
    w.Run(std::string(kToTitle) +
          "82-150 DOWN\n140 Z\n"
          "190 RIGHT\n195-205 DOWN\n215 ENTER\n"
          "230 ESC\n");
    // The release of Enter cut the new intro at once; Escape at the title.
    EXPECT_EQ(w.platform.flips, 230u);
    EXPECT_EQ(w.game.settings.PlayMusic, kOff);
    const std::vector<std::string> lines = testing::ReadLines(w.dir + "/Init.ini");
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "[BasicInformation]");
    EXPECT_EQ(lines[1], "PlayMusic= 0");
    EXPECT_EQ(lines[2], "AutoView= 0");
    EXPECT_EQ(lines[3], "DrawBack=-1");
    EXPECT_EQ(lines[4], "GameSpeed= 0");
}

// Start, stage 1, course 1, a clear, the course select again, then backing
// out: course select to stage select, stage select to the title.
TEST(GameFlow, AFullRoundFromTheTitleToAClearAndBackOut) {
    WholeGame w;
    // Title Enter at 85, wipe 86-118; stage select Enter at 125; course
    // select entrance 126-161, Enter at 165; play from 166, the clear well
    // before 600; Escape at 600 in the course select, at 620 in the stage
    // select; the intro then runs 621-788 and Escape at 820 ends the game.
    w.Run(std::string(kToTitle) +
          "85 ENTER\n125 ENTER\n165 ENTER\n191-260 RIGHT\n"
          "600 ESC\n620 ESC\n820 ESC\n");
    EXPECT_TRUE(w.game.run.cleared);
    EXPECT_EQ(w.game.run.MapName, "C1-1");
    EXPECT_EQ(w.platform.flips, 820u);
    EXPECT_EQ(w.game.run.SelectedStage, 0);
    const std::vector<std::string> records = testing::ReadLines(w.dir + "/MapInfo.dat");
    ASSERT_GE(records.size(), 4u);
    EXPECT_EQ(records[0], "-1 ");
    // The six effects were loaded at the first title and again on the return.
    EXPECT_EQ(w.platform.loadedSounds.size(), 12u);
}

// After a clear the course select of the same stage comes back, and a choice
// there plays again at once.
TEST(GameFlow, AfterAClearTheSameStagesCourseSelectPlaysAgain) {
    WholeGame w;
    int clears = 0;
    std::vector<int16_t> stages;
    w.game.run.hooks.afterStagePass = [&] {
        if (IsOn(w.game.player.StageCleared)) {
            ++clears;
            stages.push_back(w.game.run.SelectedStage);
        }
    };
    w.platform.frameLimit = 1200;
    w.Run(std::string(kToTitle) +
          "85 ENTER\n125 ENTER\n165 ENTER\n191-260 RIGHT\n"
          "600 ENTER\n626-700 RIGHT\n");
    EXPECT_EQ(clears, 2);
    EXPECT_EQ(stages, (std::vector<int16_t>{1, 1}));
    EXPECT_EQ(w.game.run.MapName, "C1-1");
}

// End on the title (one slide down, then Enter) ends the program without
// playing anything.
TEST(GameFlow, EndOnTheTitleEndsTheProgram) {
    WholeGame w;
    w.Run(std::string(kToTitle) + "85 DOWN\n120 ENTER\n");
    EXPECT_LT(w.platform.flips, 200u);
    EXPECT_FALSE(w.game.display.open);
    EXPECT_EQ(w.game.run.stagePasses, 0u);
}

TEST(GameFlow, EscapeDuringPlayGoesBackToTheTitle) {
    WholeGame w;
    // Play starts at 166 (opening mosaic 166-190); Escape at 200 leaves the
    // course through the miss animation; the title intro follows, and only
    // the title menu ends the game on Escape.
    w.Run(std::string(kToTitle) + "85 ENTER\n125 ENTER\n165 ENTER\n200 ESC\n600 ESC\n");
    EXPECT_FALSE(w.game.run.cleared);
    EXPECT_EQ(w.game.run.misses, 1u);
    EXPECT_EQ(w.platform.flips, 600u);
}

// No display: the game says so and reports the failure instead of success.
TEST(GameFlow, WithoutADisplayTheGameSaysSoAndFails) {
    WholeGame w;
    w.platform.displayAvailable = false;
    EXPECT_FALSE(Form_Load(w.game, w.dir, 5));
    ASSERT_EQ(w.platform.messages.size(), 1u);
    EXPECT_EQ(w.platform.messages[0], "DirectXが使えません。");
    EXPECT_EQ(w.platform.flips, 0u);
}

// A course whose map file is missing: the player is told which file, and
// the course select comes back, where another course can be played.
TEST(GameFlow, AMissingCourseMapIsNamedAndTheCourseSelectComesBack) {
    WholeGame w;
    // Course 2 (Down at 163, Enter at 168) has no map; the course select
    // comes back (entrance 169-204), and course 1 is played from 210.
    w.platform.frameLimit = 700;
    w.Run(std::string(kToTitle) +
          "85 ENTER\n125 ENTER\n163 DOWN\n168 ENTER\n210 ENTER\n236-300 RIGHT\n");
    ASSERT_EQ(w.platform.messages.size(), 1u);
    EXPECT_NE(w.platform.messages[0].find(w.dir + "/MapFiles/C1-2.map"), std::string::npos);
    EXPECT_NE(w.platform.messages[0].find("missing"), std::string::npos);
    EXPECT_TRUE(w.game.run.cleared);
    EXPECT_EQ(w.game.run.MapName, "C1-1");
}

// Where a request to end the program (a window close, SIGINT, SIGTERM) may
// come: the keys that lead there and the flip after which it arrives.
struct EndPoint {
    const char* where;
    std::string keys;
    uint64_t endAfterFlip;
    bool clearRecorded;  // the course was cleared before the request
};

// The shipped records with every course of stage 5 cleared, so that a first
// clear of C1-1 is followed by the ending.
std::string RecordsWithStageFiveCleared() {
    std::vector<std::string> lines = testing::ReadLines(std::string(TUMBLEROO_BUILD_DIR) + "/MapInfo.dat.shipped");
    const size_t firstOfStageFive = 4 * 3 * 4;
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        const bool clearedFlag = i >= firstOfStageFive && i % 4 == 0;
        text += (clearedFlag ? std::string("-1 ") : lines[i]) + "\r\n";
    }
    return text;
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(GameFlow, AnEndRequestEndsTheProgramAtOnceFromAnywhereAndKeepsTheRecords) {
    const std::string title = kToTitle;
    const std::string play = title + "85 ENTER\n125 ENTER\n165 ENTER\n";
    const std::string clear = play + "191-260 RIGHT\n";
    // The clear comes at flip 203: the tally runs 204-464, the closing
    // mosaic 465-507 and the ending from 508.
    const EndPoint points[] = {
        {"opening", "", 40, false},
        {"title intro", "", 78, false},
        {"title menu", title, 83, false},
        {"title wipe", title + "85 ENTER\n", 100, false},
        {"stage select", title + "85 ENTER\n", 122, false},
        {"course select entrance", title + "85 ENTER\n125 ENTER\n", 150, false},
        {"course select", title + "85 ENTER\n125 ENTER\n", 163, false},
        {"settings menu", title + "82-150 DOWN\n140 Z\n", 200, false},
        {"opening mosaic", play, 180, false},
        {"stage frame", play, 195, false},
        {"miss animation", play + "200 ESC\n", 260, false},
        {"pause", play + "200 PAUSE\n", 260, false},
        {"goal tally", clear, 300, true},
        {"closing mosaic", clear, 480, true},
        {"ending", clear, 600, true},
    };
    for (const EndPoint& point : points) {
        SCOPED_TRACE(point.where);
        WholeGame w;
        const std::string records = RecordsWithStageFiveCleared();
        std::ofstream(w.dir + "/MapInfo.dat", std::ios::binary) << records;
        w.platform.endAfterFlip = point.endAfterFlip;
        w.Run(point.keys);
        // Not one more frame, and everything was torn down.
        EXPECT_EQ(w.platform.flipsAtEndRequest, point.endAfterFlip);
        EXPECT_EQ(w.platform.flips, point.endAfterFlip);
        EXPECT_FALSE(w.game.display.open);
        EXPECT_EQ(w.game.run.cleared, point.clearRecorded);
        const std::vector<std::string> saved = testing::ReadLines(w.dir + "/MapInfo.dat");
        ASSERT_FALSE(saved.empty());
        if (point.clearRecorded) {
            EXPECT_EQ(saved[0], "-1 ");
        } else {
            EXPECT_EQ(ReadText(w.dir + "/MapInfo.dat"), records);
        }
    }
}

}  // namespace
}  // namespace tumbleroo
