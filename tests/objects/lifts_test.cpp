// Side lifts, up-down lifts and sinking blocks: the shared offsets, turning
// at the bounds, carrying the player, and the sinking blocks' toggle.
#include <gtest/gtest.h>

#include <vector>

#include "objects/objects.h"
#include "platform/table_index.h"
#include "support/test_game.h"

namespace tumbleroo {
namespace {

using testing::Course;
using testing::TestGame;

std::string EmptyRows(int width, int height) {
    std::string rows;
    for (int y = 0; y < height; ++y) rows += std::string(static_cast<size_t>(width), '.') + "\n";
    return rows;
}

// Rows of empty cells with one object cell.
std::string RowsWith(int width, int height, int x, int y, char object) {
    std::string rows = EmptyRows(width, height);
    rows[RowMajor(x, y, width + 1)] = object;
    return rows;
}

TEST(SideLifts, OffsetTurnsAfterPassingABoundAndLiftsMoveTogether) {
    TestGame t;
    std::string rows = RowsWith(20, 10, 5, 2, '=');
    rows[7 * 21 + 12] = '=';
    t.UseMap(Course(rows, "SideLiftSpeed: 2\nSideLiftMin: -3\nSideLiftMax: 3"));
    t.PrepareStage();
    const ObjectState& o = t.game.objects;

    std::vector<int> offsets;
    for (int frame = 0; frame < 100; ++frame) {
        UpdateObjects(t.game);
        offsets.push_back(o.SideLiftOffset);
        EXPECT_EQ(o.SideLifts[0].X, 100 + o.SideLiftOffset);
        EXPECT_EQ(o.SideLifts[1].X, 240 + o.SideLiftOffset);
    }
    EXPECT_EQ(offsets[0], 2);
    EXPECT_EQ(offsets[29], 60);
    EXPECT_EQ(offsets[30], 62);  // passes the bound by one step
    EXPECT_EQ(offsets[31], 60);
    EXPECT_EQ(offsets[31 + 60], -60);
    EXPECT_EQ(offsets[32 + 60], -62);
    EXPECT_EQ(offsets[33 + 60], -60);
}

TEST(SideLifts, CarryTheRiderByTheStepEvenInTheTurningFrame) {
    TestGame t;
    t.UseMap(Course(RowsWith(20, 10, 10, 5, '='),
                    "SideLiftSpeed: 2\nSideLiftMin: -3\nSideLiftMax: 3"));
    t.PrepareStage();
    Game& g = t.game;
    g.player.PlayerX = 200;
    g.player.PlayerY = 60;
    for (int frame = 0; frame < 100; ++frame) {
        UpdateObjects(g);
        ASSERT_EQ(g.player.RidingSideLift, kOn) << frame;
        ASSERT_EQ(g.player.PlayerX, g.objects.SideLifts[0].X) << frame;
    }
}

TEST(SideLifts, StandStillWithoutSpeed) {
    TestGame t;
    t.UseMap(Course(RowsWith(20, 10, 10, 5, '='), "SideLiftMin: -3\nSideLiftMax: 3"));
    t.PrepareStage();
    Game& g = t.game;
    g.player.PlayerX = 195;
    g.player.PlayerY = 60;
    for (int frame = 0; frame < 5; ++frame) UpdateObjects(g);
    EXPECT_EQ(g.objects.SideLifts[0].X, 200);
    EXPECT_EQ(g.player.PlayerX, 195);
    EXPECT_EQ(g.player.RidingSideLift, kOn);
}

TEST(SideLifts, SideAndHeadContacts) {
    TestGame t;
    t.UseMap(Course(RowsWith(20, 10, 10, 5, '=')));
    t.PrepareStage();
    Game& g = t.game;
    g.player.PlayerX = 210;  // against its right side
    g.player.PlayerY = 100;
    UpdateObjects(g);
    EXPECT_EQ(g.player.CanMoveLeft, kOff);
    EXPECT_EQ(g.player.PushLeft, kOn);
    g.player.PlayerX = 200;  // head against its underside
    g.player.PlayerY = 110;
    UpdateObjects(g);
    EXPECT_EQ(g.player.VerticalSpeed, -5.0);
}

// The player stands on an up-down lift through the stage loop: it goes
// down with the lift, frame by frame, and up again after the turn.
TEST(UpDownLifts, CarryTheRiderDownAndUpWithoutLosingIt) {
    TestGame t;
    std::string rows = RowsWith(12, 16, 5, 5, '|');
    rows[3 * 13 + 5] = 'S';
    t.UseMap(Course(rows, "UpDownLiftSpeed: 2\nUpDownLiftMin: 0\nUpDownLiftMax: 5"));
    Game& g = t.game;
    int passes = 0;
    int lowest = 0;
    bool alwaysOnTop = true;
    g.run.hooks.afterStagePass = [&] {
        ++passes;
        if (passes > 150) return;
        const int gap = g.objects.UpDownLifts[0].Y - g.player.PlayerY;
        if (gap != 40 || g.player.RidingUpDownLift != kOn) alwaysOnTop = false;
        lowest = std::max(lowest, g.player.PlayerY);
    };
    t.PlayStage(400);
    ASSERT_GT(passes, 150);
    EXPECT_TRUE(alwaysOnTop);
    EXPECT_EQ(lowest, 60 + 102);
    EXPECT_EQ(g.run.misses, 0u);
}

TEST(UpDownLifts, HeadAndSideContacts) {
    TestGame t;
    t.UseMap(Course(RowsWith(20, 10, 10, 5, '|')));
    t.PrepareStage();
    Game& g = t.game;
    g.player.PlayerX = 200;
    g.player.PlayerY = 110;
    UpdateObjects(g);
    EXPECT_EQ(g.player.VerticalSpeed, 3.0);
    g.player.PlayerX = 175;  // against its left side
    g.player.PlayerY = 100;
    UpdateObjects(g);
    EXPECT_EQ(g.player.CanMoveRight, kOff);
    EXPECT_EQ(g.player.PushRight, kOff);
}

TEST(SinkingBlocks, TwoBlocksUnderTheFeetShareOneToggle) {
    TestGame t;
    std::string rows = RowsWith(15, 15, 5, 10, 'k');
    rows[10 * 16 + 6] = 'k';
    Game& g = t.Stage(rows);
    ASSERT_EQ(g.objects.SinkToggle, 0);
    g.player.PlayerX = 110;
    g.player.PlayerY = 160;
    UpdateObjects(g);
    EXPECT_EQ(g.player.RidingSinkingBlock, kOn);
    UpdateObjects(g);
    // Only the later block in index order ever moves.
    EXPECT_EQ(g.objects.SinkingBlocks[0].Y, 200);
    EXPECT_EQ(g.objects.SinkingBlocks[1].Y, 210);
    EXPECT_EQ(g.objects.SinkToggle, 0);
}

TEST(SinkingBlocks, SinkWhileStoodOnAndRiseWhenBumped) {
    TestGame t;
    t.UseMap(Course(RowsWith(15, 15, 5, 5, 'k')));
    t.PrepareStage();
    Game& g = t.game;
    g.player.PlayerX = 100;
    g.player.PlayerY = 60;
    std::vector<int> ys;
    for (int frame = 0; frame < 4; ++frame) {
        UpdateObjects(g);
        ys.push_back(g.objects.SinkingBlocks[0].Y);
    }
    EXPECT_EQ(ys, (std::vector<int>{100, 105, 105, 110}));

    g.player.PlayerY = 120;  // head against the underside
    g.player.VerticalSpeed = -6.0;
    UpdateObjects(g);
    EXPECT_EQ(g.objects.SinkingBlocks[0].Y, 110);
    EXPECT_EQ(g.player.VerticalSpeed, 0.0);
    UpdateObjects(g);
    EXPECT_EQ(g.objects.SinkingBlocks[0].Y, 100);
}

}  // namespace
}  // namespace tumbleroo
