// The opening, the title intro and the title menu, on the headless platform.
#include <gtest/gtest.h>

#include <string>

#include "platform/table_index.h"
#include "render/display.h"
#include "screens/screens.h"
#include "shell/game.h"
#include "support/test_game.h"

namespace tumbleroo {
namespace {

// Paints the title arrow in a colour nothing else on the title uses, so the
// test can find it whatever the art looks like.
constexpr uint32_t kArrowMarkColour = 0x4080C0;
void MarkArrow(testing::TestGame& t) {
    FillSurfaceRect(t.OwnPictures().Choice, 0, 150, 70, 194, ColorToPixel(kArrowMarkColour));
}

uint16_t ShownPixel(const testing::TestGame& t, int x, int y) {
    return t.platform.lastFrame[RowMajor(x, y, kScreenWidth)];
}

// The top-left pixel of the arrow is at (x, y) and nothing of it is above.
bool ArrowRestsAt(const testing::TestGame& t, int x, int y) {
    const uint16_t mark = static_cast<uint16_t>(ColorToPixel(kArrowMarkColour));
    return ShownPixel(t, x, y) == mark && ShownPixel(t, x + 69, y + 43) == mark &&
           ShownPixel(t, x, y - 1) != mark && ShownPixel(t, x - 1, y) != mark;
}

TEST(Opening, RevealsThePanelThreeColumnsAFrameThenHoldsOneSecond) {
    testing::TestGame t;
    const uint64_t startMs = t.platform.NowMs();
    ShowOpening(t.game);
    EXPECT_EQ(t.platform.flips, 75u);
    // 75 frames at 60 Hz and the one-second hold.
    EXPECT_EQ(t.platform.NowMs() - startMs, 1250u + 1000u);
    // The last frame shows the whole panel except its right-hand column, which
    // is smeared in the colour of that column.
    const Surface& panel = t.game.pictures->NamePic;
    EXPECT_EQ(ShownPixel(t, 209 + 100, 200 + 50), panel.At(100, 50));
}

TEST(Opening, EscapeEndsItAtOnceWithoutThePause) {
    testing::TestGame t;
    t.KeysFromNow( "10-20 ESC\n");
    const uint64_t startMs = t.platform.NowMs();
    ShowOpening(t.game);
    EXPECT_EQ(t.platform.flips, 10u);
    EXPECT_LT(t.platform.NowMs() - startMs, 1000u);
}

TEST(TitleIntro, RunsItsThreePhasesOrStopsWhenZOrEnterIsReleased) {
    testing::TestGame t;
    ShowTitleIntro(t.game);
    EXPECT_EQ(t.platform.flips, 71u + 21u + 76u);
    EXPECT_FALSE(IsOn(t.game.run.IntroRunning));

    // Released during the fly-in, the drop and the unroll.
    for (uint64_t releaseAt : {5u, 80u, 120u}) {
        const uint64_t before = t.platform.flips;
        t.KeysFromNow( "1-" + std::to_string(releaseAt - 1) + " Z\n");
        ShowTitleIntro(t.game);
        EXPECT_EQ(t.platform.flips - before, releaseAt) << releaseAt;
    }
    const uint64_t before = t.platform.flips;
    t.KeysFromNow( "1-29 ENTER\n");
    ShowTitleIntro(t.game);
    EXPECT_EQ(t.platform.flips - before, 30u);
}

TEST(TitleMenu, ArrowSlidesOneItemPerPressAndRestsOnIt) {
    testing::TestGame t;
    MarkArrow(t);
    // Down for one frame: a 26-frame slide; Escape four frames later.
    t.KeysFromNow( "1 DOWN\n31 ESC\n");
    EXPECT_THROW(RunTitleMenu(t.game), ProgramEnded);
    EXPECT_EQ(t.platform.flips, 31u);
    EXPECT_TRUE(ArrowRestsAt(t, 172, 285));
    EXPECT_FALSE(t.game.display.open);
}

TEST(TitleMenu, ChoiceReturnsAfterTheWipeAndTheArrowDoesNotWrap) {
    testing::TestGame t;
    // Up on Start does nothing.
    t.KeysFromNow( "1-5 UP\n10 ENTER\n");
    EXPECT_EQ(RunTitleMenu(t.game), 0);
    EXPECT_EQ(t.platform.flips, 10u + 33u);

    // Held Down steps every 27 frames and stops on Config.
    t.KeysFromNow( "1-100 DOWN\n110 Z\n");
    const uint64_t before = t.platform.flips;
    EXPECT_EQ(RunTitleMenu(t.game), 2);
    EXPECT_EQ(t.platform.flips - before, 110u + 33u);

    // The wipe leaves the whole screen in the menu colour.
    const uint16_t back = static_cast<uint16_t>(t.game.run.MenuBackPixel);
    for (int x = 0; x < kScreenWidth; x += 7) {
        EXPECT_EQ(ShownPixel(t, x, 240), back) << x;
    }
}

}  // namespace
}  // namespace tumbleroo
