// Spike blocks: runs, jump-backs and warning windows of each kind, what
// each face does to the player, and riding a block that moves down.
#include <gtest/gtest.h>

#include <array>
#include <algorithm>
#include <string>

#include "objects/objects.h"
#include "support/test_game.h"

namespace tumbleroo {
namespace {

using testing::Course;
using testing::TestGame;

// A 20 x 20 map, start marker at (1, 1), one spike block at (10, 10).
std::string OneBlock(char code) {
    std::string rows;
    for (int y = 0; y < 20; ++y) rows += std::string(20, '.') + "\n";
    rows[1 * 21 + 1] = 'S';
    rows[10 * 21 + 10] = code;
    return rows;
}

TEST(SpikeBlocks, RightGroupRunsItsRangeAndJumpsBackToItsCells) {
    TestGame t;
    t.UseMap(Course(OneBlock('R'), "SpikeBlockRightSpeed: 2\nSpikeBlockRightDistance: 5"));
    t.PrepareStage();
    Game& g = t.game;
    for (int frame = 1; frame <= 50; ++frame) {
        UpdateObjects(g);
        ASSERT_EQ(g.objects.SpikeBlocksRight[0].X, 200 + 2 * frame);
        ASSERT_EQ(g.objects.SpikeBlockRightWarning, kOn);
    }
    UpdateObjects(g);
    EXPECT_EQ(g.objects.SpikeBlocksRight[0].X, 200);
    EXPECT_EQ(g.objects.SpikeBlockRightOffset, 0);
    EXPECT_EQ(g.objects.MoverState[2], 1);
}

TEST(SpikeBlocks, WarningCoversTheLastFiftyFramesOfARun) {
    TestGame t;
    t.UseMap(Course(OneBlock('R'), "SpikeBlockRightSpeed: 1\nSpikeBlockRightDistance: 10"));
    t.PrepareStage();
    Game& g = t.game;
    for (int frame = 1; frame <= 201; ++frame) {
        UpdateObjects(g);
        const Flag expected = frame > 150 ? kOn : kOff;
        ASSERT_EQ(g.objects.SpikeBlockRightWarning, expected) << frame;
    }
    EXPECT_EQ(g.objects.SpikeBlocksRight[0].X, 200);
}

TEST(SpikeBlocks, LeftGroupMirrorsTheRightOne) {
    TestGame t;
    t.UseMap(Course(OneBlock('L'), "SpikeBlockLeftSpeed: -2\nSpikeBlockLeftDistance: -5"));
    t.PrepareStage();
    Game& g = t.game;
    for (int frame = 1; frame <= 50; ++frame) UpdateObjects(g);
    EXPECT_EQ(g.objects.SpikeBlocksLeft[0].X, 100);
    EXPECT_EQ(g.objects.SpikeBlockLeftWarning, kOn);
    UpdateObjects(g);
    EXPECT_EQ(g.objects.SpikeBlocksLeft[0].X, 200);
}

TEST(SpikeBlocks, LeftGroupWithPositiveSettingsStandsStillWarning) {
    TestGame t;
    t.UseMap(Course(OneBlock('L'), "SpikeBlockLeftSpeed: 2\nSpikeBlockLeftDistance: 5"));
    t.PrepareStage();
    Game& g = t.game;
    for (int frame = 0; frame < 5; ++frame) {
        UpdateObjects(g);
        EXPECT_EQ(g.objects.SpikeBlocksLeft[0].X, 200);
        EXPECT_EQ(g.objects.SpikeBlockLeftWarning, kOn);
    }
}

TEST(SpikeBlocks, UpAndDownGroupsRunVertically) {
    TestGame t;
    std::string rows = OneBlock('U');
    rows[5 * 21 + 4] = 'D';
    t.UseMap(Course(rows, "SpikeBlockUpSpeed: -4\nSpikeBlockUpDistance: -2\n"
                          "SpikeBlockDownSpeed: 4\nSpikeBlockDownDistance: 2"));
    t.PrepareStage();
    Game& g = t.game;
    for (int frame = 0; frame < 10; ++frame) UpdateObjects(g);
    EXPECT_EQ(g.objects.SpikeBlocksUp[0].Y, 160);
    EXPECT_EQ(g.objects.SpikeBlocksDown[0].Y, 140);
    UpdateObjects(g);
    EXPECT_EQ(g.objects.SpikeBlocksUp[0].Y, 200);
    EXPECT_EQ(g.objects.SpikeBlocksDown[0].Y, 100);
    EXPECT_EQ(g.objects.SpikeBlocksUp[0].X, 200);
}

enum class Outcome { Miss, Ride, StopRise, NoLeftStep, NoRightStep };

struct FaceCase {
    char code;
    int playerX, playerY;  // the block stands at (200, 200)
    Outcome outcome;
};

// Above at (200, 160), below at (200, 210), at the right side (210, 200),
// at the left side (175, 200).
constexpr std::array<FaceCase, 16> kFaces{{
    {'L', 200, 160, Outcome::Ride},       {'L', 175, 200, Outcome::Miss},
    {'L', 200, 210, Outcome::StopRise},   {'L', 210, 200, Outcome::NoLeftStep},
    {'R', 200, 160, Outcome::Ride},       {'R', 210, 200, Outcome::Miss},
    {'R', 200, 210, Outcome::StopRise},   {'R', 175, 200, Outcome::NoRightStep},
    {'U', 200, 160, Outcome::Miss},       {'U', 200, 210, Outcome::StopRise},
    {'U', 210, 200, Outcome::NoLeftStep}, {'U', 175, 200, Outcome::NoRightStep},
    {'D', 200, 160, Outcome::Ride},       {'D', 200, 210, Outcome::Miss},
    {'D', 210, 200, Outcome::NoLeftStep}, {'D', 175, 200, Outcome::NoRightStep},
}};

Flag RidingFlag(const Game& g, char code) {
    switch (code) {
        case 'L': return g.player.RidingSpikeBlockLeft;
        case 'R': return g.player.RidingSpikeBlockRight;
        case 'D': return g.player.RidingSpikeBlockDown;
        default: return kOff;
    }
}

TEST(SpikeBlocks, EachFaceActsOnThePlayerAsItsKindSays) {
    for (const FaceCase& c : kFaces) {
        SCOPED_TRACE(std::string(1, c.code) + " at " + std::to_string(c.playerX) + "," +
                     std::to_string(c.playerY));
        TestGame t;
        // Speed 0 keeps the block on its cell; the distance keeps it from
        // jumping back.
        t.UseMap(Course(OneBlock(c.code),
                        "SpikeBlockLeftDistance: -5\nSpikeBlockRightDistance: 5\n"
                        "SpikeBlockUpDistance: -5\nSpikeBlockDownDistance: 5"));
        t.PrepareStage();
        Game& g = t.game;
        g.player.PlayerX = c.playerX;
        g.player.PlayerY = c.playerY;
        g.player.VerticalSpeed = -3.0;
        UpdateObjects(g);
        const bool missed = g.player.PlayerX == 20 && g.player.PlayerY == 20;
        EXPECT_EQ(missed, c.outcome == Outcome::Miss);
        EXPECT_EQ(RidingFlag(g, c.code) == kOn, c.outcome == Outcome::Ride);
        if (c.outcome == Outcome::StopRise) {
            EXPECT_EQ(g.player.VerticalSpeed, 0.0);
        }
        EXPECT_EQ(g.player.CanMoveLeft == kOff, c.outcome == Outcome::NoLeftStep);
        EXPECT_EQ(g.player.CanMoveRight == kOff, c.outcome == Outcome::NoRightStep);
    }
}

TEST(SpikeBlocks, AMissDoesNotEndTheLoopOverTheBlocks) {
    TestGame t;
    std::string rows = OneBlock('U');
    rows[10 * 21 + 15] = 'U';
    t.UseMap(Course(rows, "SpikeBlockUpSpeed: -1\nSpikeBlockUpDistance: -5"));
    t.PrepareStage();
    Game& g = t.game;
    g.player.PlayerX = 200;
    g.player.PlayerY = 160;  // on top of the first block
    UpdateObjects(g);
    EXPECT_EQ(g.player.PlayerX, 20);
    // The restored group started over; the second block still took its step.
    EXPECT_EQ(g.objects.SpikeBlocksUp[0].Y, 200);
    EXPECT_EQ(g.objects.SpikeBlocksUp[1].Y, 199);
}

// The player stands on a block that moves down, through the stage loop: it
// goes down with the block every frame instead of dropping after it.
TEST(SpikeBlocks, ADownBlockCarriesItsRiderByItsSpeed) {
    TestGame t;
    std::string rows;
    for (int y = 0; y < 20; ++y) rows += std::string(12, '.') + "\n";
    rows[3 * 13 + 5] = 'S';
    rows[5 * 13 + 5] = 'D';
    t.UseMap(Course(rows, "SpikeBlockDownSpeed: 1\nSpikeBlockDownDistance: 5"));
    Game& g = t.game;
    int passes = 0;
    bool alwaysOnTop = true;
    int lowest = 0;
    uint64_t missesWhileRiding = 0;
    g.run.hooks.afterStagePass = [&] {
        ++passes;
        if (passes > 100) return;
        missesWhileRiding = g.run.misses;
        const int gap = g.objects.SpikeBlocksDown[0].Y - g.player.PlayerY;
        if (gap != 40 || g.player.RidingSpikeBlockDown != kOn) alwaysOnTop = false;
        lowest = std::max(lowest, g.player.PlayerY);
    };
    t.PlayStage(300);
    ASSERT_GT(passes, 100);
    EXPECT_TRUE(alwaysOnTop);
    EXPECT_EQ(lowest, 160);
    EXPECT_EQ(missesWhileRiding, 0u);
}

TEST(SpikeBlocks, ASideBlockCarriesItsRider) {
    TestGame t;
    std::string rows = OneBlock('R');
    t.UseMap(Course(rows, "SpikeBlockRightSpeed: 3\nSpikeBlockRightDistance: 5"));
    t.PrepareStage();
    Game& g = t.game;
    g.player.PlayerX = 200;
    g.player.PlayerY = 160;
    for (int frame = 0; frame < 10; ++frame) UpdateObjects(g);
    EXPECT_EQ(g.player.PlayerX, 230);
    EXPECT_EQ(g.objects.SpikeBlocksRight[0].X, 230);
}

}  // namespace
}  // namespace tumbleroo
