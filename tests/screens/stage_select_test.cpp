// The stage select on the world map: which walks the records allow, the
// flags and the arrow hints.
#include <gtest/gtest.h>

#include <string>

#include "platform/table_index.h"
#include "render/display.h"
#include "screens/screens.h"
#include "shell/game.h"
#include "support/test_game.h"

namespace tumbleroo {
namespace {

void CompleteStage(Game& game, int stage) {
    for (int course = 1; course <= 3; ++course) {
        game.records.CourseRecords[AsIndex(stage)][AsIndex(course)].Cleared = kOn;
    }
}

uint16_t ShownPixel(const testing::TestGame& t, int x, int y) {
    return t.platform.lastFrame[RowMajor(x, y, kScreenWidth)];
}

TEST(StageSelect, WithNoRecordsOnlyStageOneCanBeChosen) {
    testing::TestGame t;
    // Right turns the hero but does not walk: no 50-frame walk is played.
    t.KeysFromNow( "1-60 RIGHT\n61-70 DOWN\n80 ENTER\n");
    EXPECT_EQ(RunStageSelect(t.game, 0), 1);
    EXPECT_EQ(t.platform.flips, 80u);

    // A stage that does not exist starts on stage 1 as well.
    t.KeysFromNow( "3 Z\n");
    EXPECT_EQ(RunStageSelect(t.game, 9), 1);
}

TEST(StageSelect, WalksForwardOnlyPastCompletedStagesAndAlwaysBack) {
    testing::TestGame t;
    CompleteStage(t.game, 1);
    CompleteStage(t.game, 2);
    // 1 -> 2 -> 3; Left on 3 does not go on to 4 while stage 3 is open.
    t.KeysFromNow( "1-100 RIGHT\n101-200 DOWN\n201-300 LEFT\n310 Z\n");
    EXPECT_EQ(RunStageSelect(t.game, 0), 3);
    EXPECT_EQ(t.platform.flips, 310u);

    // Back from 3 to 2 and to 1 whatever is completed.
    t.KeysFromNow( "1-100 RIGHT\n101-200 DOWN\n201-300 UP\n301-400 LEFT\n410 ENTER\n");
    EXPECT_EQ(RunStageSelect(t.game, 0), 1);
}

TEST(StageSelect, AWalkTakesFiftyFramesAndEndsOnTheNextStage) {
    testing::TestGame t;
    CompleteStage(t.game, 1);
    t.KeysFromNow( "1 RIGHT\n60 ESC\n");
    EXPECT_EQ(RunStageSelect(t.game, 0), -1);
    EXPECT_EQ(t.platform.flips, 60u);
    // The resting frame before Escape shows the hero on stage 2 at (347, 122):
    // the hero's picture replaced by a marker colour shows where it stands.
    const uint16_t mark = static_cast<uint16_t>(ColorToPixel(0x3060A0));
    FillSurfaceRect(t.OwnPictures().CharPic, 0, 40, 40, 80, mark);
    t.KeysFromNow( "1 RIGHT\n60 ESC\n");
    EXPECT_EQ(RunStageSelect(t.game, 0), -1);
    EXPECT_EQ(ShownPixel(t, 347, 122), mark);
    EXPECT_EQ(ShownPixel(t, 386, 161), mark);
    EXPECT_NE(ShownPixel(t, 346, 122), mark);
    EXPECT_NE(ShownPixel(t, 347, 121), mark);
}

TEST(StageSelect, FlagsStandOnEveryCompletedStageEvenUnreached) {
    testing::TestGame t;
    CompleteStage(t.game, 3);
    const uint16_t mark = static_cast<uint16_t>(ColorToPixel(0xA03060));
    FillSurfaceRect(t.OwnPictures().Choice, 53, 265, 53 + 24, 265 + 44, mark);
    t.KeysFromNow( "5 ESC\n");
    EXPECT_EQ(RunStageSelect(t.game, 0), -1);
    EXPECT_EQ(ShownPixel(t, 456, 332), mark);       // stage 3's flag
    EXPECT_EQ(ShownPixel(t, 456 + 23, 332 + 43), mark);
    EXPECT_NE(ShownPixel(t, 25 + 12, 50 + 10), mark);  // stage 1 has none
}

TEST(StageSelect, ArrowHintsAreOrangeBesideTheHero) {
    testing::TestGame t;
    // A plain dark map, so that only the hint can be orange.
    FillSurfaceRect(t.OwnPictures().Choice, 0, 195, 99, 264, ColorToPixel(0x204020));
    t.KeysFromNow( "3 ESC\n");
    EXPECT_EQ(RunStageSelect(t.game, 0), -1);
    // Stage 1 shows only "→", to the right of the hero at (65, 70).
    const uint16_t orange = static_cast<uint16_t>(ColorToPixel(0x00A0FF));
    int orangeRight = 0, orangeLeft = 0;
    for (int y = 70; y < 110; ++y) {
        for (int x = 65; x < 100; ++x) orangeRight += ShownPixel(t, x, y) == orange;
        for (int x = 0; x < 25; ++x) orangeLeft += ShownPixel(t, x, y) == orange;
    }
    EXPECT_GT(orangeRight, 10);
    EXPECT_EQ(orangeLeft, 0);
}

}  // namespace
}  // namespace tumbleroo
