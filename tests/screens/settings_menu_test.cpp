// The settings menu: changes at once in memory, Escape puts them back, OK
// writes Init.ini, ResetScore rewrites MapInfo.dat.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "persist/records.h"
#include "platform/table_index.h"
#include "render/display.h"
#include "screens/screens.h"
#include "shell/game.h"
#include "support/files.h"
#include "support/test_game.h"

namespace tumbleroo {
namespace {

// The speed is the fourth of the menu's values, drawn in blue at 40 points.
constexpr int32_t kSpeedX = 500;
constexpr int32_t kSpeedY = 45 * 3 + 90;
constexpr int kValuePoints = 40;
constexpr uint32_t kValueBlue = 0xFF0000;
// The panel's right edge (18 pieces of 30 pixels from x = 80) is drawn over
// long values: only what lies left of it is looked at.
constexpr int32_t kPanelRightEdge = 80 + 30 * 17;

// A game whose platform keeps every frame the menu presents.
struct MenuGame : testing::TestGame {
    MenuGame() { platform.keepEveryFrame = true; }
};

// True when one of the presented frames shows `text` as the speed: in the
// text's box, every pixel the letters cover fully is the value's colour and
// no pixel they leave clear is.
bool ShownAsSpeed(MenuGame& t, const std::string& text) {
    FontSpec font = t.game.display.FormFont;
    font.pointSize = kValuePoints;
    const GlyphBitmap glyphs = t.platform.RenderText(text, font);
    Surface alone = t.game.display.BackBuffer;
    ClearSurface(alone, 0);
    alone.text.font = font;
    SetForeColor(alone, kValueBlue);
    DrawText(t.game, alone, kSpeedX, kSpeedY, text);
    const auto full = std::find(glyphs.coverage.begin(), glyphs.coverage.end(), 255);
    if (full == glyphs.coverage.end()) return false;
    const auto fullAt = static_cast<int32_t>(full - glyphs.coverage.begin());
    const uint16_t ink = alone.At(kSpeedX + fullAt % glyphs.width, kSpeedY + fullAt / glyphs.width);
    const int32_t frameWidth = alone.width;
    // Only the box the letters ink: the glyphs' full height reaches into the
    // rows above and below, where the neighbouring values are drawn.
    int32_t top = glyphs.height, bottom = -1, left = glyphs.width, right = -1;
    for (int32_t gy = 0; gy < glyphs.height; ++gy) {
        for (int32_t gx = 0; gx < glyphs.width; ++gx) {
            if (glyphs.coverage[RowMajor(gx, gy, glyphs.width)] == 0) continue;
            top = std::min(top, gy);
            bottom = std::max(bottom, gy);
            left = std::min(left, gx);
            right = std::max(right, gx);
        }
    }
    right = std::min(right, kPanelRightEdge - kSpeedX - 1);
    return std::any_of(t.platform.frames.begin(), t.platform.frames.end(), [&](const auto& frame) {
        for (int32_t gy = top; gy <= bottom; ++gy) {
            for (int32_t gx = left; gx <= right; ++gx) {
                const uint8_t a = glyphs.coverage[RowMajor(gx, gy, glyphs.width)];
                const bool inked = frame[RowMajor(kSpeedX + gx, kSpeedY + gy, frameWidth)] == ink;
                if ((a == 255 && !inked) || (a == 0 && inked)) return false;
            }
        }
        return true;
    });
}

// The menu's entrance takes flips 1-12; from then on keys are read after
// every frame's flip, so "14 RIGHT" acts on the second menu frame.
TEST(SettingsMenu, EscapePutsEverySettingBackAndWritesNothing) {
    MenuGame t;
    Settings& s = t.game.settings;
    s = Settings{kOff, kOn, kOn, 3};
    t.KeysFromNow(
                "14 RIGHT\n15 DOWN\n16 RIGHT\n17 DOWN\n18 LEFT\n19 DOWN\n"
                "20-22 RIGHT\n30 ESC\n");
    RunSettingsMenu(t.game);
    // The speed was shown as it was raised.
    EXPECT_TRUE(ShownAsSpeed(t, " 6"));
    EXPECT_EQ(s.PlayMusic, kOn);
    EXPECT_EQ(s.DrawBack, kOn);
    EXPECT_EQ(s.AutoView, kOff);
    EXPECT_EQ(s.GameSpeed, 3);
    EXPECT_FALSE(std::filesystem::exists(t.game.records.settingsPath));
}

TEST(SettingsMenu, SpeedNeverGoesBelowZeroAndOkWritesIt) {
    MenuGame t;
    t.game.settings.GameSpeed = 1;
    t.KeysFromNow( "14-16 DOWN\n20-23 LEFT\n24 RIGHT\n25-26 LEFT\n30-31 DOWN\n35 Z\n");
    RunSettingsMenu(t.game);
    EXPECT_EQ(t.game.settings.GameSpeed, 0);
    EXPECT_TRUE(ShownAsSpeed(t, " 0"));
    EXPECT_TRUE(ShownAsSpeed(t, " 1"));
    EXPECT_FALSE(ShownAsSpeed(t, "-1"));
    const std::vector<std::string> lines = testing::ReadLines(t.game.records.settingsPath);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[4], "GameSpeed= 0");
}

TEST(SettingsMenu, SpeedNeverGoesAboveTheLongestPause) {
    MenuGame t;
    t.game.settings.GameSpeed = 999;
    t.KeysFromNow( "14-16 DOWN\n20-23 RIGHT\n30-31 DOWN\n35 Z\n");
    RunSettingsMenu(t.game);
    EXPECT_EQ(t.game.settings.GameSpeed, 1000);
    // The last digit lies under the panel's edge: " 1000" and " 1001" look
    // the same, so the written value below is what tells them apart.
    EXPECT_TRUE(ShownAsSpeed(t, " 1000"));
    const std::vector<std::string> lines = testing::ReadLines(t.game.records.settingsPath);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[4], "GameSpeed= 1000");
}

TEST(SettingsMenu, HandEditedNegativeSpeedShowsItsSignAndIsNeverLowered) {
    MenuGame t;
    t.game.settings.GameSpeed = -5;
    t.KeysFromNow( "14-16 DOWN\n20-22 LEFT\n23 RIGHT\n30 ESC\n");
    RunSettingsMenu(t.game);
    EXPECT_TRUE(ShownAsSpeed(t, "-5"));
    EXPECT_TRUE(ShownAsSpeed(t, "-4"));
    EXPECT_FALSE(ShownAsSpeed(t, "-6"));
    EXPECT_EQ(t.game.settings.GameSpeed, -5);  // Escape put it back
}

TEST(SettingsMenu, ResetScoreRewritesTheRecordsAndEscapeDoesNotUndoIt) {
    MenuGame t;
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
