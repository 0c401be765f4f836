#include "shell/stage_flow.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "persist/records.h"
#include "render/display.h"
#include "support/test_game.h"

namespace tumbleroo {
namespace {

TEST(StageFlow, StartMarkerAndCannonMouthsAreSetUpAtEveryAttempt) {
    testing::TestGame t;
    std::string rows;
    for (int y = 0; y < 14; ++y) rows += std::string(12, y == 13 ? '#' : '.') + "\n";
    rows[11 * 13 + 3] = 'S';  // (3, 11): the start, two rows above the ground
    rows[4 * 13 + 8] = 'C';   // a cannon at (8, 4)
    rows[6 * 13 + 0] = 'C';   // a cannon in column 0 has no room for a mouth
    t.UseMap(testing::Course(rows));
    t.PrepareStage();
    const PlayerState& p = t.game.player;
    EXPECT_EQ(p.PlayerX, 60);
    EXPECT_EQ(p.PlayerY, 220);
    EXPECT_EQ(t.game.map.Cell(3, 11), 0);
    EXPECT_EQ(t.game.map.Cell(7, 4), 33);
    EXPECT_EQ(t.game.map.Cell(0, 6), 32);
    RestartAfterMiss(t.game);
    EXPECT_EQ(p.PlayerX, 60);
    EXPECT_EQ(p.PlayerY, 220);
    EXPECT_EQ(t.game.map.Cell(3, 11), 0);
    EXPECT_EQ(t.game.map.Cell(7, 4), 33);
}

TEST(StageFlow, MissBringsBackCoinsAndTheMapAndThrowsThePlayerOff) {
    testing::TestGame t;
    t.UseMap(testing::Course(
        "..........\n"
        "S.oooo..(.\n"
        "..........\n"
        "##########\n"));
    // Walk right over the coins into the point of a side spike.
    t.Keys("26-200 RIGHT\n");
    uint64_t missFrame = 0;
    int32_t coinsBefore = 0;
    t.game.run.hooks.afterStagePass = [&]() {
        if (t.game.run.misses == 1 && missFrame == 0) missFrame = t.game.run.flips;
        if (t.game.run.misses == 0) coinsBefore = t.game.player.CoinsCollected;
    };
    t.PlayStage(400);
    EXPECT_EQ(coinsBefore, 4);
    ASSERT_NE(missFrame, 0u);
    EXPECT_EQ(t.game.player.CoinsCollected, 0);
    // The miss animation runs 41 frames up and 81 down inside the frame.
    EXPECT_EQ(t.game.map.Cell(2, 1), 6);
}

TEST(StageFlow, GoalRecordsTheClearShowsTheTallyAndEndsTheStage) {
    testing::TestGame t;
    t.UseMap(testing::Course(
        "........\n"
        "S.oo.G..\n"
        "........\n"
        "########\n"));
    t.Keys("26-100 RIGHT\n");
    EXPECT_TRUE(t.PlayStage(2000));
    EXPECT_TRUE(t.game.run.cleared);
    EXPECT_EQ(t.game.run.clearCoins, 2);
    EXPECT_EQ(t.game.player.StageRunning, kOff);
    EXPECT_EQ(t.game.player.StageCleared, kOn);
    // 261 tally frames and 43 mosaic frames follow the frame that met the flag.
    EXPECT_EQ(t.game.run.stagePasses + 25 + 261 + 43, t.game.run.flips);
    const CourseRecord& r = t.game.records.CourseRecords[1][1];
    EXPECT_EQ(r.Cleared, kOn);
    EXPECT_EQ(r.BestCoins, 2);
    EXPECT_EQ(t.game.records.NewRecord, kOn);
    EXPECT_EQ(t.game.records.FirstClear, kOn);
    EXPECT_EQ(t.game.objects.MoverState[2], 0);

    // A second clear with the same coins is no new record.
    t.game.player.StageCleared = kOff;
    LoadMap(t.game, "T1-1");
    t.Keys(std::to_string(t.game.run.flips + 26) + "-" + std::to_string(t.game.run.flips + 200) + " RIGHT\n");
    EXPECT_TRUE(t.PlayStage(2000));
    EXPECT_EQ(t.game.records.NewRecord, kOff);
    EXPECT_EQ(t.game.records.FirstClear, kOff);
}

TEST(StageFlow, OpeningMosaicTakesTwentyFiveFlipsOfTenMilliseconds) {
    testing::TestGame t;
    t.UseMap(testing::Course("S...\n....\n####\n"));
    const uint64_t before = t.platform.NowMs();
    ZoomTransition(t.game, 1.0, 1.2);
    EXPECT_EQ(t.game.run.flips, 25u);
    // Each step flips (1/60 s) and then pauses 10 ms.
    EXPECT_NEAR(static_cast<double>(t.platform.NowMs() - before), 25 * (1000.0 / 60 + 10), 1.0);
    ZoomTransition(t.game, 100.0, 0.9);
    EXPECT_EQ(t.game.run.flips, 25u + 43u);
}

TEST(StageFlow, EscapeDuringTheMosaicEndsTheProgram) {
    testing::TestGame t;
    t.UseMap(testing::Course("S...\n....\n####\n"));
    t.Keys("0-3 ESC\n");
    EXPECT_THROW(ZoomTransition(t.game, 1.0, 1.2), ProgramEnded);
}

// A walk right into the point of a side spike: a miss inside a stage frame.
const char* kSpikeAhead =
    "..........\n"
    "S.......(.\n"
    "..........\n"
    "##########\n";

TEST(StageFlow, AnEndRequestDuringTheMissAnimationEndsItAtOnce) {
    // Where the miss comes, from a run without the request.
    testing::TestGame reference;
    reference.UseMap(testing::Course(kSpikeAhead));
    reference.Keys("26-200 RIGHT\n");
    uint64_t missPassEnd = 0;
    reference.game.run.hooks.afterStagePass = [&]() {
        if (reference.game.run.misses == 1 && missPassEnd == 0) missPassEnd = reference.game.run.flips;
    };
    reference.PlayStage(400);
    ASSERT_NE(missPassEnd, 0u);

    // The same run, asked to end half-way through the 122 flips of the miss.
    testing::TestGame t;
    t.UseMap(testing::Course(kSpikeAhead));
    t.Keys("26-200 RIGHT\n");
    const uint64_t request = missPassEnd - 60;
    t.platform.endAfterFlip = request;
    EXPECT_FALSE(t.PlayStage(400));
    EXPECT_EQ(t.game.run.misses, 1u);
    EXPECT_EQ(t.platform.flipsAtEndRequest, request);
    EXPECT_EQ(t.platform.flips, request);
}

// The tally of a clear whose records could not be saved says so on a line of
// its own (and on standard error); the rest of the picture is unchanged.
TEST(StageFlow, AClearThatCannotBeSavedIsToldInTheTally) {
    const char* course =
        "........\n"
        "S.oo.G..\n"
        "........\n"
        "########\n";
    testing::TestGame reference;
    reference.UseMap(testing::Course(course));
    reference.Keys("26-100 RIGHT\n");
    ASSERT_TRUE(reference.PlayStage(2000));
    // The tally's 130th frame, with every line on the screen.
    const uint64_t tallyFlip = testing::kOpeningFlips + reference.game.run.stagePasses + 130;

    auto tallyFrame = [&](bool saveFails, std::string& errors) {
        testing::TestGame t;
        t.UseMap(testing::Course(course));
        t.Keys("26-100 RIGHT\n");
        // A folder where the records file should be: the save cannot replace it.
        if (saveFails) {
            std::filesystem::create_directories(t.game.records.recordsPath);
            t.game.records.userFolder.clear();  // and no other folder to fall back on
        }
        t.platform.endAfterFlip = tallyFlip;
        ::testing::internal::CaptureStderr();
        EXPECT_FALSE(t.PlayStage(2000));
        errors = ::testing::internal::GetCapturedStderr();
        EXPECT_TRUE(t.game.run.cleared);
        return t.platform.lastFrame;
    };
    std::string savedErrors, failedErrors;
    const std::vector<uint16_t> saved = tallyFrame(false, savedErrors);
    const std::vector<uint16_t> failed = tallyFrame(true, failedErrors);
    EXPECT_EQ(savedErrors, "");
    EXPECT_NE(failedErrors.find("tumbleroo: "), std::string::npos);
    EXPECT_NE(failedErrors.find("MapInfo.dat"), std::string::npos);

    ASSERT_EQ(saved.size(), failed.size());
    constexpr int kLineTop = 300, kLineBottom = 340;
    int changedInLine = 0, changedElsewhere = 0;
    for (size_t i = 0; i < saved.size(); ++i) {
        if (saved[i] == failed[i]) continue;
        const int row = static_cast<int>(i) / kScreenWidth;
        (row >= kLineTop && row < kLineBottom ? changedInLine : changedElsewhere) += 1;
    }
    EXPECT_GT(changedInLine, 0);
    EXPECT_EQ(changedElsewhere, 0);
}

}  // namespace
}  // namespace tumbleroo
