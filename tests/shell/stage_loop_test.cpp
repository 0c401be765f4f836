#include "shell/stage_loop.h"

#include <gtest/gtest.h>

#include "persist/settings.h"
#include "shell/game.h"
#include "support/test_game.h"

namespace tumbleroo {
namespace {

const char* kFlat =
    "..........................\n"
    "..........................\n"
    "S.........................\n"
    "..........................\n"
    "##########################\n";

TEST(StageLoop, TileAnimationCountersStepFlamesAndBlinks) {
    testing::TestGame t;
    PlayerState& p = t.game.player;
    AdvanceTileAnimation(t.game);
    EXPECT_EQ(p.FlameFrame, 23);
    EXPECT_EQ(p.BlinkFrame, 34);
    EXPECT_EQ(p.TileAnimCounter, 1);
    int flameSteps = 0, blinks = 0;
    for (int i = 0; i < 100; ++i) {
        const int16_t flame = p.FlameFrame, blink = p.BlinkFrame;
        AdvanceTileAnimation(t.game);
        flameSteps += flame != p.FlameFrame;
        blinks += blink != p.BlinkFrame;
        EXPECT_GE(p.FlameFrame, 22);
        EXPECT_LE(p.FlameFrame, 25);
    }
    EXPECT_EQ(flameSteps, 20);  // twice in every 10 frames
    EXPECT_EQ(blinks, 10);
}

TEST(StageLoop, HeldKeysWalkFivePixelsAFrameAndTurnThroughTheFront) {
    testing::TestGame t;
    t.UseMap(testing::Course(kFlat));
    // The opening mosaic takes flips 1 to 25; the first stage frame is flip 26.
    t.Keys("26-35 RIGHT\n36-37 LEFT\n");
    t.game.run.hooks.afterStagePass = [&]() {
        const PlayerState& p = t.game.player;
        const uint64_t f = t.game.run.flips;
        if (f == 35) {
            EXPECT_EQ(p.PlayerX, 50);
        }
        if (f == 36) {
            EXPECT_EQ(p.Pose, Pose::Front);
        }
        if (f == 37) {
            EXPECT_EQ(p.Pose, Pose::Left);
        }
    };
    t.PlayStage(40);
    EXPECT_EQ(t.game.player.PlayerX, 40);
}

TEST(StageLoop, LeftAtTheMapEdgeOnlyTurnsAndAnimates) {
    testing::TestGame t;
    t.UseMap(testing::Course(kFlat));
    t.Keys("26-45 LEFT\n");
    t.PlayStage(45);
    EXPECT_EQ(t.game.player.PlayerX, 0);
    EXPECT_EQ(t.game.player.Pose, Pose::Left);
    EXPECT_EQ(t.game.player.WalkFrame, 2);  // 20 steps of the animation
}

TEST(StageLoop, WalkFrameStepsEveryEighthCallThroughTheSequence) {
    testing::TestGame t;
    PlayerState& p = t.game.player;
    std::vector<int16_t> frames;
    for (int i = 0; i < 32; ++i) {
        StepWalkAnimation(t.game);
        if ((i + 1) % 8 == 0) frames.push_back(p.WalkFrame);
    }
    EXPECT_EQ(frames, (std::vector<int16_t>{1, 2, 1, 0}));
    p.PushRight = kOn;
    StepWalkAnimation(t.game);
    EXPECT_EQ(p.WalkTick, 0);
}

TEST(StageLoop, EscapeRunsTheMissOnceAndLeavesTheStage) {
    testing::TestGame t;
    t.UseMap(testing::Course(kFlat));
    t.Keys("26-27 RIGHT\n30 ESC\n");
    EXPECT_TRUE(t.PlayStage(1000));
    EXPECT_EQ(t.game.run.misses, 1u);
    // The miss animation's 122 flips follow the frame that saw Escape.
    EXPECT_EQ(t.game.run.flips, 30u + 122u);
    EXPECT_EQ(t.game.player.PlayerX, 0);
}

// A run given a set number of frames ends at once outside play, but inside
// play only between stage passes: a limit that falls in a miss animation
// lets the animation and its pass finish, and the pass is seen.
TEST(StageLoop, AFrameLimitEndsTheRunOnlyBetweenStagePasses) {
    const char* kStarAhead =
        "..........\n"
        "..........\n"
        "S...*.....\n"
        "..........\n"
        "##########\n";
    struct Seen {
        uint64_t flipsBeforeMiss = 0;
        uint64_t flipsAfterMiss = 0;
        uint64_t missesAtLastPass = 0;
    };
    const auto play = [&](uint64_t limit, Seen& seen) {
        testing::TestGame t;
        t.UseMap(testing::Course(kStarAhead));
        t.Keys("26-200 RIGHT\n");
        uint64_t flipsBefore = 0;
        t.game.run.hooks.afterStagePass = [&]() {
            if (t.game.run.misses == 1 && seen.flipsAfterMiss == 0) {
                seen.flipsBeforeMiss = flipsBefore;
                seen.flipsAfterMiss = t.game.run.flips;
            }
            flipsBefore = t.game.run.flips;
            seen.missesAtLastPass = t.game.run.misses;
        };
        t.PlayStage(limit);
        return t.game.run.flips;
    };
    Seen free;
    play(1000, free);
    ASSERT_GT(free.flipsAfterMiss, free.flipsBeforeMiss + 100);  // the miss animation

    Seen cut;
    const uint64_t limit = free.flipsBeforeMiss + 10;
    EXPECT_EQ(play(limit, cut), free.flipsAfterMiss);
    EXPECT_EQ(cut.missesAtLastPass, 1u);

    Seen opening;
    EXPECT_EQ(play(10, opening), 10u);  // inside the opening mosaic
    EXPECT_EQ(opening.missesAtLastPass, 0u);
}

// The longest pause between frames gives way to a request to end: the
// frame it belongs to flips once more and the program ends.
TEST(StageLoop, AnEndRequestCutsTheLongestPauseShort) {
    testing::TestGame t;
    t.UseMap(testing::Course(kFlat));
    t.game.settings.GameSpeed = kMaxGameSpeedMs;
    // The opening mosaic takes under a second; the request comes inside the
    // first frame's pause.
    const uint64_t request = t.platform.NowMs() + kMaxGameSpeedMs;
    t.platform.endAtMs = request;
    t.platform.frameLimit = 100;  // a run that does not end stops here
    EXPECT_THROW(PlayStage(t.game), ProgramEnded);
    EXPECT_EQ(t.platform.flipsAtEndRequest, uint64_t{testing::kOpeningFlips});
    EXPECT_EQ(t.platform.flips, uint64_t{testing::kOpeningFlips} + 1);
    // The clock went on only by that frame's own flip.
    constexpr uint64_t kOneFlipMs = 17;
    EXPECT_LE(t.platform.NowMs(), request + kOneFlipMs);
}

}  // namespace
}  // namespace tumbleroo
