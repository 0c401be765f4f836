// Pause through the real stage loop: the pause key or a lost window focus
// holds play between two frames, the overlay shows, the same key goes on,
// Escape leaves; after a pause the stage plays on exactly as without one.
#include "shell/stage_loop.h"

#include <gtest/gtest.h>

#include <string>

#include "support/test_game.h"

namespace tumbleroo {
namespace {

using testing::During;
using testing::kOpeningFlips;

// A floor with a blue penguin walking on it and a coin above the way.
const char* kWalk =
    "..............................\n"
    "..............................\n"
    "S..........o..................\n"
    "..............b...............\n"
    "##############################\n";

constexpr int kPauseAt = 10;      // the stage frame after which P is pressed
constexpr int kPausedFlips = 12;  // flips shown with the overlay
constexpr int kFramesAfter = 30;  // stage frames played after the pause

// The flip at which a stage frame reads the keys.
uint64_t FlipOfFrame(int frame) { return kOpeningFlips + static_cast<uint64_t>(frame); }

std::string PauseAndResume() {
    const uint64_t press = FlipOfFrame(kPauseAt);
    const uint64_t again = press + kPausedFlips;
    return std::to_string(press) + " PAUSE\n" + std::to_string(again) + " PAUSE\n";
}

struct Seen {
    uint64_t passes = 0;
    int32_t x = 0;
};

TEST(Pause, HoldsPlayBetweenFramesAndGoesOnExactlyAsWithoutIt) {
    const int frames = kPauseAt + kFramesAfter;
    testing::TestGame plain;
    plain.UseMap(testing::Course(kWalk));
    plain.Keys(During(1, 200, "RIGHT"));
    plain.PlayStage(kOpeningFlips + frames);

    testing::TestGame paused;
    paused.UseMap(testing::Course(kWalk));
    paused.Keys(During(1, 200, "RIGHT") + PauseAndResume());
    Seen atPause;
    paused.game.run.hooks.afterStagePass = [&]() {
        if (paused.game.run.stagePasses == kPauseAt) atPause = {kPauseAt, paused.game.player.PlayerX};
    };
    // Stepped flip by flip through the pause: no stage pass, no move.
    paused.PlayStage(kOpeningFlips + kPauseAt + kPausedFlips / 2);
    EXPECT_EQ(paused.game.run.stagePasses, static_cast<uint64_t>(kPauseAt));
    EXPECT_EQ(paused.game.player.PlayerX, atPause.x);
    EXPECT_GT(atPause.x, 0);
    // The overlay's panel is filled with the menus' blue.
    const size_t middle = static_cast<size_t>(240) * 640 + 200;
    EXPECT_EQ(paused.platform.lastFrame[middle], paused.game.run.MenuBackPixel);

    // Played on from the start with the same keys, the pause only delays.
    testing::TestGame whole;
    whole.UseMap(testing::Course(kWalk));
    whole.Keys(During(1, 200, "RIGHT") + PauseAndResume());
    whole.PlayStage(kOpeningFlips + frames + kPausedFlips);
    EXPECT_EQ(whole.game.run.stagePasses, plain.game.run.stagePasses);
    EXPECT_EQ(whole.game.player.PlayerX, plain.game.player.PlayerX);
    EXPECT_EQ(whole.game.player.CoinsCollected, plain.game.player.CoinsCollected);
    ASSERT_FALSE(whole.game.objects.BluePenguins.empty());
    EXPECT_EQ(whole.game.objects.BluePenguins[0].X, plain.game.objects.BluePenguins[0].X);
    EXPECT_EQ(whole.game.player.TileAnimCounter, plain.game.player.TileAnimCounter);
    EXPECT_EQ(whole.platform.lastFrame, plain.platform.lastFrame);
}

TEST(Pause, KeyHeldFromTheCourseChoiceOnlyPausesOnceLetGoAndPressedAgain) {
    testing::TestGame t;
    t.UseMap(testing::Course(kWalk));
    // Down from before the first frame to frame 5, then pressed at frame 8.
    t.Keys(std::to_string(kOpeningFlips - 3) + "-" + std::to_string(FlipOfFrame(5)) + " PAUSE\n" +
           std::to_string(FlipOfFrame(8)) + " PAUSE\n");
    t.PlayStage(kOpeningFlips + 20);
    EXPECT_EQ(t.game.run.stagePasses, 8u);
}

TEST(Pause, LosingTheWindowFocusPausesUntilThePauseKey) {
    testing::TestGame t;
    t.UseMap(testing::Course(kWalk));
    const uint64_t resume = FlipOfFrame(4) + kPausedFlips;
    t.Keys(During(1, 200, "RIGHT") + std::to_string(resume) + " PAUSE\n");
    Seen at;
    t.game.run.hooks.afterStagePass = [&]() {
        if (t.game.run.stagePasses == 3) t.platform.QueueFocusLoss();  // taken by frame 4
        if (t.game.run.stagePasses == 4) at = {4, t.game.player.PlayerX};
    };
    t.PlayStage(static_cast<uint64_t>(resume) - 1);
    EXPECT_EQ(t.game.run.stagePasses, 4u);
    EXPECT_EQ(t.game.player.PlayerX, at.x);

    // The same run played past the pause key goes on.
    testing::TestGame on;
    on.UseMap(testing::Course(kWalk));
    on.Keys(During(1, 200, "RIGHT") + std::to_string(resume) + " PAUSE\n");
    on.game.run.hooks.afterStagePass = [&]() {
        if (on.game.run.stagePasses == 3) on.platform.QueueFocusLoss();
    };
    on.PlayStage(resume + 5);
    EXPECT_EQ(on.game.run.stagePasses, 9u);
}

TEST(Pause, EscapeWhilePausedLeavesTheCourseAsInPlay) {
    testing::TestGame t;
    t.UseMap(testing::Course(kWalk));
    const uint64_t press = FlipOfFrame(6);
    t.Keys(std::to_string(press) + " PAUSE\n" + std::to_string(press + 5) + " ESC\n");
    EXPECT_TRUE(t.PlayStage(kOpeningFlips + 200));
    EXPECT_EQ(t.game.run.stagePasses, 6u);
    EXPECT_EQ(t.game.run.misses, 1u);
}

}  // namespace
}  // namespace tumbleroo
