// What cells do to the player: springs, bounce blocks, conveyors, the
// sliding floor, one-way platforms, water, ladders, coins, the cannon, the
// gate and the goal, mostly played through the stage loop on small courses.
#include "platform/table_index.h"
#include "player/cell_effects.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "player/movement.h"
#include "shell/game.h"
#include "support/test_game.h"

namespace tumbleroo {
namespace {

using testing::Course;
using testing::During;
using testing::kOpeningFlips;
using testing::TestGame;

struct Sample {
    PlayerState player;
    uint64_t flips;
};

// Plays the course with the keys for about `frames` frames and returns the
// player's state (and the flip count) after every frame.
std::vector<Sample> Play(TestGame& t, const std::string& rows, const std::string& keys,
                         int frames) {
    t.UseMap(Course(rows));
    t.Keys(keys);
    std::vector<Sample> samples;
    t.game.run.hooks.afterStagePass = [&] {
        samples.push_back({t.game.player, t.game.run.flips});
    };
    t.PlayStage(AsIndex(kOpeningFlips + frames));
    return samples;
}

bool HasSparkle(const PlayerState& p, int16_t cell, int32_t x, int32_t y) {
    return std::any_of(p.Sparkles.begin(), p.Sparkles.end(), [&](const Sparkle& s) {
        return s.Cell == cell && s.X == x && s.Y == y;
    });
}

TEST(CellEffects, ClassificationsFollowTheTerrainTable) {
    TestGame t;
    t.UseMap(Course(
        "......\n"
        "......\n"
        ".S....\n"
        "......\n"
        "######\n"));
    t.PrepareStage();
    Game& g = t.game;

    const int32_t floorNothing[] = {0, 12, 13, 19, 20, 21, 22, 23};
    const int32_t floorGround[] = {1, 4, 8, 10, 11, 14, 15, 24, 26, 27, 28, 29, 30, 36, 255};
    for (int32_t code : floorNothing) EXPECT_EQ(ClassifyFloor(g, code), kFloorNothing) << code;
    for (int32_t code : floorGround) EXPECT_EQ(ClassifyFloor(g, code), kFloorGround) << code;
    EXPECT_EQ(ClassifyFloor(g, 7), kFloorGoal);
    EXPECT_EQ(ClassifyFloor(g, 31), kFloorOneWay);

    const int32_t ceilingFree[] = {12, 13, 19, 20, 21, 22, 23, 31};
    const int32_t ceilingBlocked[] = {1,  2,  3,  4,  5,  9,  10, 11, 14, 15, 24, 25,
                                      26, 27, 28, 29, 30, 32, 33, 34, 35, 36};
    EXPECT_EQ(ClassifyCeiling(g, 0), kCeilingOpenSky);
    for (int32_t code : ceilingFree) EXPECT_EQ(ClassifyCeiling(g, code), kCeilingFree) << code;
    for (int32_t code : ceilingBlocked) {
        EXPECT_EQ(ClassifyCeiling(g, code), kCeilingBlocked) << code;
    }
    EXPECT_EQ(ClassifyCeiling(g, 7), kCeilingGoal);

    // Floor spikes and ceiling drills miss only on their deadly side.
    EXPECT_EQ(g.run.misses, 0u);
    ClassifyCeiling(g, 8);
    EXPECT_EQ(g.run.misses, 1u);
    ClassifyFloor(g, 9);
    EXPECT_EQ(g.run.misses, 2u);

    // Standing on an object, the cell below counts as ground and does nothing.
    g.player.RidingSideLift = kOn;
    g.player.InWater = kOn;
    EXPECT_EQ(ClassifyFloor(g, 9), kFloorGround);
    EXPECT_EQ(g.run.misses, 2u);
    EXPECT_TRUE(IsOn(g.player.InWater));
    g.player.RidingSideLift = kOff;
    ClassifyFloor(g, 1);
    EXPECT_FALSE(IsOn(g.player.InWater));
}

TEST(CellEffects, SpringLaunchesSevenPixelsAFrameFor41Frames) {
    TestGame t;
    std::vector<Sample> s = Play(t,
                                 "......\n"
                                 "......\n"
                                 ".S....\n"
                                 "......\n"
                                 ".^####\n",
                                 "", 44);
    EXPECT_EQ(s[0].player.VerticalSpeed, -50.0);
    EXPECT_TRUE(IsOn(s[0].player.Airborne));
    for (int i = 1; i <= 41; ++i) {
        EXPECT_EQ(s[AsIndex(i)].player.PlayerY - s[AsIndex(i - 1)].player.PlayerY, -7) << "frame " << i + 1;
    }
    EXPECT_EQ(s[42].player.PlayerY - s[41].player.PlayerY, -8);
}

TEST(CellEffects, BounceBlockIsUsedUpAndComesBackAfterAMiss) {
    TestGame t;
    t.UseMap(Course(
        "......\n"
        "......\n"
        ".S....\n"
        "......\n"
        "#B.###\n"
        "######\n"));
    // Leaving with ESC counts as a miss, which reloads the map.
    t.Keys(During(30, 30, "ESC"));
    std::vector<PlayerState> s;
    std::vector<uint8_t> blockCell;
    t.game.run.hooks.afterStagePass = [&] {
        s.push_back(t.game.player);
        blockCell.push_back(t.game.map.Cell(1, 4));
    };
    EXPECT_TRUE(t.PlayStage(1000));

    EXPECT_EQ(blockCell[0], 0);
    EXPECT_EQ(s[0].VerticalSpeed, -18.0);
    EXPECT_TRUE(IsOn(s[0].Airborne));
    EXPECT_TRUE(HasSparkle(s[0], 26, 20, 80));
    int32_t highest = 40;
    for (const PlayerState& p : s) highest = std::min(highest, p.PlayerY);
    EXPECT_EQ(highest, 40 - 99);
    EXPECT_EQ(t.game.run.misses, 1u);
    EXPECT_EQ(t.game.map.Cell(1, 4), 25);
}

TEST(CellEffects, ConveyorsCarryTheStandingPlayer) {
    TestGame t;
    std::vector<Sample> right = Play(t,
                                     "..........\n"
                                     "..........\n"
                                     ".S........\n"
                                     "..........\n"
                                     "#>>>>>>>>#\n",
                                     "", 6);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(right[AsIndex(i)].player.PlayerX, 20 + 5 * (i + 1));

    TestGame u;
    std::vector<Sample> left = Play(u,
                                    "..........\n"
                                    "..........\n"
                                    ".......S..\n"
                                    "..........\n"
                                    "#<<<<<<<<#\n",
                                    "", 6);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(left[AsIndex(i)].player.PlayerX, 140 - 5 * (i + 1));
}

TEST(CellEffects, SlidingFloorKeepsTheLastDirectionUntilAWall) {
    TestGame t;
    std::vector<Sample> s = Play(t,
                                 "..........\n"
                                 "..........\n"
                                 "..S......#\n"
                                 ".........#\n"
                                 "#________#\n",
                                 During(1, 1, "RIGHT"), 40);
    EXPECT_EQ(s[0].player.PlayerX, 45);
    EXPECT_EQ(s[1].player.PlayerX, 50);
    EXPECT_EQ(s[1].player.LastDirection, 2);
    EXPECT_FALSE(IsOn(s[1].player.Airborne));
    EXPECT_EQ(s.back().player.PlayerX, 155);
}

TEST(CellEffects, OneWayPlatformIsPassedRisingAndHoldsFalling) {
    TestGame t;
    std::vector<Sample> s = Play(t,
                                 "......\n"
                                 "......\n"
                                 "......\n"
                                 "------\n"
                                 "......\n"
                                 "......\n"
                                 ".S....\n"
                                 "......\n"
                                 "######\n",
                                 During(1, 23, "Z"), 70);
    int32_t highest = 120;
    for (const Sample& x : s) highest = std::min(highest, x.player.PlayerY);
    EXPECT_EQ(highest, 120 - 134);
    const PlayerState& end = s.back().player;
    EXPECT_FALSE(IsOn(end.Airborne));
    // Standing on row 3: the feet probe at y + 32 rounds to that row.
    EXPECT_GE(end.PlayerY, 19);
    EXPECT_LE(end.PlayerY, 37);
}

TEST(CellEffects, WaterTurnsTheJumpKeyIntoSwimStrokes) {
    const std::string rows =
        "~~~~~~~~\n"
        "~~~~~~~~\n"
        "~~~~~~~~\n"
        "~~~~~~~~\n"
        "~~S~~~~~\n"
        "~~~~~~~~\n"
        "########\n";
    TestGame t;
    std::vector<Sample> s = Play(t, rows, During(1, 12, "Z"), 10);
    EXPECT_EQ(s[0].player.VerticalSpeed, -23.0);  // a jump from the ground
    EXPECT_EQ(s[1].player.PlayerY, 73);
    for (int i = 2; i < 8; ++i) {
        EXPECT_EQ(s[AsIndex(i)].player.PlayerY - s[AsIndex(i - 1)].player.PlayerY, -4) << "frame " << i + 1;
        EXPECT_EQ(s[AsIndex(i)].player.VerticalSpeed, -5.0);
        EXPECT_TRUE(IsOn(s[AsIndex(i)].player.InWater));
    }

    TestGame u;
    u.UseMap(Course(rows));
    u.PrepareStage();
    MoveRight(u.game, 5);
    EXPECT_TRUE(IsOn(u.game.player.InWater));
    EXPECT_EQ(u.game.player.PlayerX, 45);
}

TEST(CellEffects, LaddersAreClimbedAndStoodOn) {
    TestGame t;
    std::vector<Sample> s = Play(t,
                                 "........\n"
                                 "........\n"
                                 "........\n"
                                 "....H...\n"
                                 "....H...\n"
                                 "...SH...\n"
                                 "....H...\n"
                                 "########\n",
                                 During(1, 20, "UP") + During(21, 22, "DOWN"), 26);
    for (int i = 0; i < 14; ++i) EXPECT_EQ(s[AsIndex(i)].player.PlayerY, 95 - 5 * i);
    // The top of the ladder holds the player and offers the way down.
    EXPECT_EQ(s[19].player.PlayerY, 30);
    EXPECT_FALSE(IsOn(s[19].player.Airborne));
    EXPECT_TRUE(IsOn(s[19].player.CanClimbDown));
    EXPECT_EQ(s.back().player.PlayerY, 40);
}

TEST(CellEffects, WalkingThroughCoinsCollectsEach) {
    TestGame t;
    std::vector<Sample> s = Play(t,
                                 "..........\n"
                                 "..........\n"
                                 "...S......\n"
                                 ".....ooo..\n"
                                 "##########\n",
                                 During(1, 12, "RIGHT"), 14);
    const PlayerState& p = s.back().player;
    EXPECT_EQ(p.CoinsCollected, 3);
    for (int32_t cx : {5, 6, 7}) {
        EXPECT_EQ(t.game.map.Cell(cx, 3), 0);
        EXPECT_TRUE(HasSparkle(p, 1, 20 * cx, 40)) << cx;
    }
}

TEST(CellEffects, CoinsNextToWaterLeaveWater) {
    TestGame t;
    t.UseMap(Course(
        "......o.\n"
        "......~.\n"
        ".S......\n"
        "........\n"
        "########\n"
        "..~.....\n"
        "..o.~o..\n"
        "o..o.o..\n"
        "~....~..\n"
        "...o~...\n"));
    t.PrepareStage();
    Game& g = t.game;
    struct Coin {
        int32_t cx, cy;
        uint8_t after;
    };
    // Water to the left, below, above, to the right, none; the first column
    // and row never turn into water.
    for (Coin c : {Coin{5, 6, 16}, Coin{5, 7, 16}, Coin{2, 6, 16}, Coin{3, 9, 16}, Coin{3, 7, 0},
                   Coin{0, 7, 0}, Coin{6, 0, 0}}) {
        ASSERT_EQ(CellAt(g, 20 * c.cx, 20 * c.cy), 6);
        CollectCoin(g);
        EXPECT_EQ(g.map.Cell(c.cx, c.cy), c.after) << c.cx << "," << c.cy;
        EXPECT_TRUE(HasSparkle(g.player, 1, 20 * c.cx, 20 * c.cy - 20));
    }
    EXPECT_EQ(g.player.CoinsCollected, 7);
}

TEST(CellEffects, CannonHoldsThePlayerThenShootsItUpAndRight) {
    TestGame t;
    std::vector<Sample> s = Play(t,
                                 "........................................\n"
                                 "........................................\n"
                                 "..S.....................................\n"
                                 "........................................\n"
                                 "###C....................................\n",
                                 "", 3 * 21 + 6);
    ASSERT_GE(s.size(), 5u);
    // Three shots (mouth, then the cannon twice), 21 frames each.
    EXPECT_EQ(s[0].flips, static_cast<uint64_t>(kOpeningFlips + 22));
    EXPECT_EQ(s[1].flips - s[0].flips, 22u);
    EXPECT_EQ(s[2].flips - s[1].flips, 22u);
    EXPECT_EQ(s[3].flips - s[2].flips, 1u);

    const PlayerState& first = s[0].player;
    EXPECT_TRUE(IsOn(first.PushRight));
    EXPECT_EQ(first.PushTimer, 99);
    EXPECT_EQ(first.VerticalSpeed, -40.0);
    EXPECT_FALSE(IsOn(first.Airborne));
    EXPECT_EQ(first.PlayerX, 50);
    const int16_t smokeCells[] = {16, 17, 16};
    for (int i = 0; i < 3; ++i) {
        const Sparkle& smoke = first.Sparkles[static_cast<size_t>(i + 1)];
        EXPECT_EQ(smoke.Cell, smokeCells[i]);
        EXPECT_GE(smoke.X, 35);
        EXPECT_LE(smoke.X, 45);
        EXPECT_GE(smoke.Y, 75);
        EXPECT_LE(smoke.Y, 85);
    }
    // Off the cannon: pushed right 10 pixels a frame while rising.
    EXPECT_TRUE(IsOn(s[3].player.Airborne));
    EXPECT_EQ(s[4].player.PlayerX, 90);
    EXPECT_EQ(s[4].player.PlayerY, 33);
}

TEST(CellEffects, GateWarpsToItsFixedPlace) {
    std::string rows;
    for (int y = 0; y < 30; ++y) {
        std::string row(340, '.');
        if (y == 2) row[2] = 'S';
        if (y == 4) row.replace(0, 4, "##W#");
        if (y == 28) row.replace(330, 10, std::string(10, '#'));
        rows += row + "\n";
    }
    TestGame t;
    std::vector<Sample> s = Play(t, rows, "", 2);
    EXPECT_EQ(s[0].player.PlayerX, 6680);
    EXPECT_EQ(s[0].player.PlayerY, 520);
    EXPECT_FALSE(IsOn(s[0].player.Airborne));
}

struct GoalCase {
    const char* name;
    const char* rows;
    const char* keys;
};

TEST(CellEffects, GoalIsReachedFromEveryDirection) {
    const GoalCase cases[] = {
        {"walking right", "......\n......\n.S....\n....G.\n######\n", "26-60 RIGHT"},
        {"walking left", "......\n......\n...S..\nG.....\n######\n", "26-60 LEFT"},
        {"standing on it", "......\n......\n.S....\n......\n#G####\n", ""},
        {"jumping into it", "......\n.G....\n.S....\n......\n######\n", "26-30 Z"},
    };
    for (const GoalCase& c : cases) {
        SCOPED_TRACE(c.name);
        TestGame t;
        t.UseMap(Course(c.rows));
        t.Keys(c.keys);
        EXPECT_TRUE(t.PlayStage(2000));
        EXPECT_TRUE(t.game.run.cleared);
        EXPECT_TRUE(IsOn(t.game.player.StageCleared));
        EXPECT_EQ(t.game.run.misses, 0u);
    }
}

}  // namespace
}  // namespace tumbleroo
