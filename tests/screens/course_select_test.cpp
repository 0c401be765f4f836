// The course select and its records panel, and the panel frame it is drawn in.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <string>

#include "platform/table_index.h"
#include "render/display.h"
#include "persist/records.h"
#include "render/panel.h"
#include "screens/screens.h"
#include "shell/game.h"
#include "sound/sound.h"
#include "support/test_game.h"

namespace tumbleroo {
namespace {

// Frame pieces of Picture1 by source x: top edge, left edge, top-right,
// top-left, bottom-left, bottom-right, bottom edge, right edge.
enum Piece { kTop, kLeft, kTopRight, kTopLeft, kBottomLeft, kBottomRight, kBottom, kRight };

// Paints every frame piece in a colour of its own.
std::array<uint16_t, 8> MarkPieces(testing::TestGame& t) {
    std::array<uint16_t, 8> colours{};
    for (int i = 0; i < 8; ++i) {
        colours[AsIndex(i)] = static_cast<uint16_t>(ColorToPixel(0x102030 + 0x181008 * (i + 1)));
        FillSurfaceRect(t.OwnPictures().Picture1, 30 * i, 0, 30 * i + 30, 30, colours[AsIndex(i)]);
    }
    return colours;
}

bool Drew(const testing::TestGame& t, const std::string& text) {
    for (const auto& [key, glyphs] : t.game.display.glyphCache) {
        if (key.first == text) return true;
    }
    return false;
}

TEST(PanelFrame, PlacesCornersAndEdgesByThirtyPixelPieces) {
    testing::TestGame t;
    const auto piece = MarkPieces(t);
    Surface& back = t.game.display.BackBuffer;
    ClearSurface(back, 0);
    DrawPanelFrame(t.game, 100, 100, 4, 3);
    EXPECT_EQ(back.At(100, 100), piece[kTopLeft]);
    EXPECT_EQ(back.At(100, 160), piece[kBottomLeft]);
    EXPECT_EQ(back.At(190, 100), piece[kTopRight]);
    EXPECT_EQ(back.At(219, 189), piece[kBottomRight]);
    EXPECT_EQ(back.At(130, 100), piece[kTop]);
    EXPECT_EQ(back.At(189, 100), piece[kTop]);
    EXPECT_EQ(back.At(160, 160), piece[kBottom]);
    EXPECT_EQ(back.At(100, 130), piece[kLeft]);
    EXPECT_EQ(back.At(190, 130), piece[kRight]);
    EXPECT_EQ(back.At(130, 130), 0);  // the inside is left alone
    EXPECT_EQ(back.At(220, 100), 0);

    // Sizes 1 and 0, as the growing panels pass them: the far corners fall on
    // or before the first one, and no edges are drawn.
    ClearSurface(back, 0);
    DrawPanelFrame(t.game, 300, 300, 1, 1);
    EXPECT_EQ(back.At(300, 300), piece[kBottomRight]);
    EXPECT_EQ(back.At(330, 300), 0);
    ClearSurface(back, 0);
    DrawPanelFrame(t.game, 300, 300, 0, 0);
    EXPECT_EQ(back.At(300, 300), piece[kTopLeft]);
    EXPECT_EQ(back.At(270, 270), piece[kBottomRight]);
    EXPECT_EQ(back.At(300, 270), piece[kBottomLeft]);
    EXPECT_EQ(back.At(270, 300), piece[kTopRight]);
}

TEST(CourseSelect, KeysWaitForTheEntranceAndEscapeReturnsBeforeShowing) {
    testing::TestGame t;
    t.game.run.SelectedStage = 1;
    t.KeysFromNow( "1-40 ESC\n");
    EXPECT_EQ(RunCourseSelect(t.game), -1);
    EXPECT_EQ(t.platform.flips, 36u);
}

TEST(CourseSelect, CursorWrapsBothWaysAndThePanelShowsTheCourseRecord) {
    testing::TestGame t;
    t.game.run.SelectedStage = 2;
    CourseRecord& first = t.game.records.CourseRecords[2][1];
    first.CoinCount = 5;
    CourseRecord& third = t.game.records.CourseRecords[2][3];
    third.Cleared = kOn;
    third.ClearedAt = "2026/12/08";
    third.BestCoins = 7;
    third.CoinCount = 9;
    // Up on course 1 goes to 3, Down on 3 to 1, Down again to 2.
    t.KeysFromNow( "40 UP\n45 DOWN\n50 DOWN\n55 ENTER\n");
    EXPECT_EQ(RunCourseSelect(t.game), 2);
    EXPECT_EQ(t.platform.flips, 55u);
    EXPECT_TRUE(Drew(t, "     Stage  2"));
    EXPECT_TRUE(Drew(t, "Select Course.."));
    EXPECT_TRUE(Drew(t, "Course  3"));
    EXPECT_TRUE(Drew(t, "Uncleared"));
    EXPECT_TRUE(Drew(t, "      Coins: 0/ 5"));
    EXPECT_TRUE(Drew(t, "2026/12/08 Cleared"));
    EXPECT_TRUE(Drew(t, "   -----HighScore-----"));
    EXPECT_TRUE(Drew(t, "      Coins: 7/ 9"));
    EXPECT_TRUE(t.game.display.FormFont.italic);
}

// The panel's frame pieces are 30 pixels; its right edge piece starts here.
constexpr int32_t kPanelInnerRight = 125 + 30 * 12;
constexpr int32_t kClearedLineTop = 355, kClearedLineBottom = 385;

// Where the right-most pixel of the cleared line lies, with the frame left
// out (Picture1 all key colour) so only the text differs from the background.
int32_t ClearedLineRightEdge(const std::string& clearedAt) {
    testing::TestGame t;
    t.game.run.SelectedStage = 1;
    FillSurfaceRect(t.OwnPictures().Picture1, 0, 0, 240, 30, 0);
    CourseRecord& r = t.game.records.CourseRecords[1][1];
    r.Cleared = kOn;
    r.ClearedAt = clearedAt;
    t.KeysFromNow( "40 ENTER\n");
    EXPECT_EQ(RunCourseSelect(t.game), 1);
    const Surface& back = t.game.display.BackBuffer;
    int32_t right = -1;
    for (int32_t y = kClearedLineTop; y < kClearedLineBottom; ++y) {
        for (int32_t x = 0; x < back.width; ++x) {
            if (back.At(x, y) != t.game.run.MenuBackPixel) right = std::max(right, x);
        }
    }
    return right;
}

// A records or settings file that could not be read or saved is told above
// the heading at the next course select, and only that once.
TEST(CourseSelect, AFileNoticeIsShownOnceAboveTheHeading) {
    constexpr int32_t kNoticeBottom = 35;
    auto inkAbove = [](const testing::TestGame& t) {
        const Surface& back = t.game.display.BackBuffer;
        int ink = 0;
        for (int32_t y = 0; y < kNoticeBottom; ++y) {
            for (int32_t x = 0; x < back.width; ++x) ink += back.At(x, y) != t.game.run.MenuBackPixel;
        }
        return ink;
    };
    testing::TestGame t;
    t.game.records.notice = "Records not saved: No space left on device";
    t.KeysFromNow( "40 ENTER\n");
    EXPECT_EQ(RunCourseSelect(t.game), 1);
    EXPECT_GT(inkAbove(t), 0);
    EXPECT_TRUE(t.game.records.notice.empty());

    t.KeysFromNow( "40 ENTER\n");
    EXPECT_EQ(RunCourseSelect(t.game), 1);
    EXPECT_EQ(inkAbove(t), 0);
}

TEST(CourseSelect, TheClearDateFitsInsideThePanelFrame) {
    // Wide digits in every place: 2088/08/28 08:08 and late in the year.
    const int64_t kWideDate = 3744518880;  // 2088-08-28 08:08 UTC
    const int64_t kLateDate = 4102444799;  // 2099-12-31 23:59:59 UTC
    // Older records files stamped the time of day as well.
    for (const std::string& stamp :
         {ClearedAtText(kWideDate), ClearedAtText(kLateDate), std::string("2088/08/28 08:08:08")}) {
        const int32_t right = ClearedLineRightEdge(stamp);
        EXPECT_GT(right, 145) << "the cleared line is drawn";
        EXPECT_LT(right, kPanelInnerRight) << stamp;
    }
}

// Sound on, with the game's effects in the test's game folder.
void TurnSoundOn(testing::TestGame& t) {
    std::filesystem::copy(std::string(TUMBLEROO_BUILD_DIR) + "/Se", t.dir + "/Se");
    t.game.settings.PlayMusic = kOn;
    LoadSoundEffects(t.game);
}

int TimesPlayed(const testing::TestGame& t, SoundId id) {
    const int sound = t.game.sound.effects[static_cast<size_t>(id)].sound;
    return static_cast<int>(std::count_if(t.platform.played.begin(), t.platform.played.end(),
                                          [&](const PlayedSound& p) { return p.sound == sound; }));
}

TEST(CourseSelect, EachMovePlaysTheSelectSoundAndOnlyAChoiceTheDecideSound) {
    testing::TestGame t;
    TurnSoundOn(t);
    t.game.run.SelectedStage = 1;
    // Up and Down held together move up and back down in one frame.
    t.KeysFromNow( "40 UP\n45 UP+DOWN\n50 ESC\n");
    EXPECT_EQ(RunCourseSelect(t.game), -1);
    EXPECT_EQ(TimesPlayed(t, SoundId::Select), 3);
    EXPECT_EQ(TimesPlayed(t, SoundId::Decide), 0);

    t.KeysFromNow( "40 Z\n");
    EXPECT_EQ(RunCourseSelect(t.game), 1);
    EXPECT_EQ(TimesPlayed(t, SoundId::Decide), 1);
}

TEST(CourseSelect, RecordsPanelFrameCornersSitAtTheirPlaces) {
    testing::TestGame t;
    const auto piece = MarkPieces(t);
    t.game.run.SelectedStage = 1;
    t.KeysFromNow( "40 ESC\n");
    EXPECT_EQ(RunCourseSelect(t.game), -1);
    // The last frame shown is a full one: the panel at (125, 330), 13 x 5.
    auto shown = [&](int x, int y) {
        return t.platform.lastFrame[RowMajor(x, y, kScreenWidth)];
    };
    EXPECT_EQ(shown(125, 330), piece[kTopLeft]);
    EXPECT_EQ(shown(125, 450), piece[kBottomLeft]);
    EXPECT_EQ(shown(485, 330), piece[kTopRight]);
    EXPECT_EQ(shown(514, 479), piece[kBottomRight]);
    EXPECT_EQ(shown(155, 330), piece[kTop]);
    EXPECT_EQ(shown(455, 479), piece[kBottom]);
    EXPECT_NE(shown(124, 330), piece[kTopLeft]);
}

}  // namespace
}  // namespace tumbleroo
