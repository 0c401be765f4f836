// The settings menu: changes at once in memory, Escape puts them back, OK
// writes Init.ini, ResetScore rewrites MapInfo.dat.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "persist/records.h"
#include "screens/screens.h"
#include "shell/game.h"
#include "support/files.h"
#include "support/test_game.h"

namespace tumbleroo {
namespace {

bool Drew(const testing::TestGame& t, const std::string& text) {
    for (const auto& [key, glyphs] : t.game.display.glyphCache) {
        if (key.first == text) return true;
    }
    return false;
}

// The menu's entrance takes flips 1-12; from then on keys are read after
// every frame's flip, so "14 RIGHT" acts on the second menu frame.
TEST(SettingsMenu, EscapePutsEverySettingBackAndWritesNothing) {
    testing::TestGame t;
    Settings& s = t.game.settings;
    s = Settings{kOff, kOn, kOn, 3};
    t.KeysFromNow(
                "14 RIGHT\n15 DOWN\n16 RIGHT\n17 DOWN\n18 LEFT\n19 DOWN\n"
                "20-22 RIGHT\n30 ESC\n");
    RunSettingsMenu(t.game);
    // The speed was shown as it was raised.
    EXPECT_TRUE(Drew(t, " 6"));
    EXPECT_EQ(s.PlayMusic, kOn);
    EXPECT_EQ(s.DrawBack, kOn);
    EXPECT_EQ(s.AutoView, kOff);
    EXPECT_EQ(s.GameSpeed, 3);
    EXPECT_FALSE(std::filesystem::exists(t.game.records.settingsPath));
}

TEST(SettingsMenu, SpeedNeverGoesBelowZeroAndOkWritesIt) {
    testing::TestGame t;
    t.game.settings.GameSpeed = 1;
    t.KeysFromNow( "14-16 DOWN\n20-23 LEFT\n24 RIGHT\n25-26 LEFT\n30-31 DOWN\n35 Z\n");
    RunSettingsMenu(t.game);
    EXPECT_EQ(t.game.settings.GameSpeed, 0);
    EXPECT_TRUE(Drew(t, " 0"));
    EXPECT_TRUE(Drew(t, " 1"));
    EXPECT_FALSE(Drew(t, "-1"));
    const std::vector<std::string> lines = testing::ReadLines(t.game.records.settingsPath);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[4], "GameSpeed= 0");
}

TEST(SettingsMenu, SpeedNeverGoesAboveTheLongestPause) {
    testing::TestGame t;
    t.game.settings.GameSpeed = 999;
    t.KeysFromNow( "14-16 DOWN\n20-23 RIGHT\n30-31 DOWN\n35 Z\n");
    RunSettingsMenu(t.game);
    EXPECT_EQ(t.game.settings.GameSpeed, 1000);
    EXPECT_FALSE(Drew(t, "1001"));
    const std::vector<std::string> lines = testing::ReadLines(t.game.records.settingsPath);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[4], "GameSpeed= 1000");
}

TEST(SettingsMenu, HandEditedNegativeSpeedShowsItsSignAndIsNeverLowered) {
    testing::TestGame t;
    t.game.settings.GameSpeed = -5;
    t.KeysFromNow( "14-16 DOWN\n20-22 LEFT\n23 RIGHT\n30 ESC\n");
    RunSettingsMenu(t.game);
    EXPECT_TRUE(Drew(t, "-5"));
    EXPECT_TRUE(Drew(t, "-4"));
    EXPECT_FALSE(Drew(t, "-6"));
    EXPECT_EQ(t.game.settings.GameSpeed, -5);  // Escape put it back
}

TEST(SettingsMenu, ResetScoreRewritesTheRecordsAndEscapeDoesNotUndoIt) {
    testing::TestGame t;
    CourseRecord& r = t.game.records.CourseRecords[1][1];
    r.Cleared = kOn;
    r.BestCoins = 5;
    r.ClearedAt = "2026/12/08 01:00:00";
    r.CoinCount = 12;
    ASSERT_TRUE(SaveRecords(t.game.records).saved);
    t.game.settings.PlayMusic = kOn;
    // Down to ResetScore, Enter (two white frames), then Sound off and Escape.
    t.KeysFromNow( "14-17 DOWN\n20 ENTER\n25-28 UP\n30 RIGHT\n35 ESC\n");
    RunSettingsMenu(t.game);
    EXPECT_EQ(t.platform.flips, 35u);  // menu frames and the two white ones
    EXPECT_EQ(t.game.settings.PlayMusic, kOn);
    EXPECT_EQ(r.Cleared, kOff);
    EXPECT_EQ(r.BestCoins, 0);
    EXPECT_EQ(r.CoinCount, 12);
    const std::vector<std::string> lines = testing::ReadLines(t.game.records.recordsPath);
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], " 0 ");
    EXPECT_EQ(lines[1], " 0 ");
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(lines[3], " 12 ");
}

}  // namespace
}  // namespace tumbleroo
