// The ending: when a clear plays it, how long it lasts, and Escape.
#include <gtest/gtest.h>

#include <string>

#include "platform/table_index.h"
#include "screens/screens.h"
#include "shell/game.h"
#include "support/test_game.h"

namespace tumbleroo {
namespace {

bool Drew(const testing::TestGame& t, const std::string& text) {
    for (const auto& [key, glyphs] : t.game.display.glyphCache) {
        if (key.first == text) return true;
    }
    return false;
}

constexpr uint64_t kEndingFlips = 10 * (331 + 61);

// A course whose goal flag is two cells right of the start.
const char* kShortCourse =
    "........\n"
    "........\n"
    "S.......\n"
    "...G....\n"
    "########\n";

TEST(Ending, PlaysTenPagesOfLettersAndLeavesTheBackdropRunning) {
    testing::TestGame t;
    ShowEnding(t.game);
    EXPECT_EQ(t.platform.flips, kEndingFlips);
    EXPECT_TRUE(Drew(t, "T"));
    EXPECT_TRUE(Drew(t, "―"));  // the bar of "―Map Design―", one letter
    EXPECT_FALSE(Drew(t, "\r"));
    // The backdrop keeps running from one showing to the next.
    EXPECT_EQ(t.game.screens.EndingTick, kEndingFlips % 300);
    EXPECT_EQ(t.game.screens.EndingScheme, 4);
    EXPECT_EQ(t.game.screens.EndingStars[10].Active, kOn);
    EXPECT_EQ(t.game.screens.EndingStars[11].Active, kOff);
}

TEST(Ending, EscapeIsReadOnlyBeforeEachPageAndEndsTheProgram) {
    testing::TestGame t;
    t.KeysFromNow( "10-400 ESC\n");
    EXPECT_THROW(ShowEnding(t.game), ProgramEnded);
    EXPECT_EQ(t.platform.flips, 331u + 61u);
}

// Through the stage loop: the goal's clear sequence plays the ending after a
// first clear while stage 5 is complete, and not after clearing again.
TEST(Ending, FollowsAFirstClearWithStageFiveCompleteButNotARepeat) {
    testing::TestGame t;
    for (int course = 1; course <= 3; ++course) {
        t.game.records.CourseRecords[5][AsIndex(course)].Cleared = kOn;
    }
    t.game.run.SelectedStage = 1;
    t.game.run.SelectedCourse = 1;
    t.UseMap(testing::Course(kShortCourse), "C1-1");
    t.Keys("26-100000 RIGHT\n");
    ASSERT_TRUE(t.PlayStage(10000));
    const uint64_t firstClear = t.platform.flips;
    EXPECT_TRUE(IsOn(t.game.records.FirstClear));

    t.game.player.StageCleared = kOff;
    t.UseMap(testing::Course(kShortCourse), "C1-1");
    t.KeysFromNow( "26-100000 RIGHT\n");
    ASSERT_TRUE(t.PlayStage(10000));
    const uint64_t repeatClear = t.platform.flips - firstClear;
    EXPECT_FALSE(IsOn(t.game.records.FirstClear));
    EXPECT_EQ(firstClear - repeatClear, kEndingFlips);
}

}  // namespace
}  // namespace tumbleroo
