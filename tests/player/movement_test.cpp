// The player's steps: probe points and their rounding, walls, jumps and
// falls, side hazards, blocked steps and pushes. Most cases play a small
// course through the stage loop; a few call the steps on a prepared stage.
#include "platform/table_index.h"
#include "player/movement.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "shell/game.h"
#include "support/test_game.h"

namespace tumbleroo {
namespace {

using testing::Course;
using testing::During;
using testing::kOpeningFlips;
using testing::TestGame;

// Plays the course with the keys for about `frames` frames and returns the
// player's state after every frame.
std::vector<PlayerState> Play(TestGame& t, const std::string& rows, const std::string& keys,
                              int frames) {
    t.UseMap(Course(rows));
    t.Keys(keys);
    std::vector<PlayerState> states;
    t.game.run.hooks.afterStagePass = [&] { states.push_back(t.game.player); };
    t.PlayStage(AsIndex(kOpeningFlips + frames));
    return states;
}

int32_t HighestY(const std::vector<PlayerState>& states) {
    int32_t y = states.front().PlayerY;
    for (const PlayerState& s : states) y = std::min(y, s.PlayerY);
    return y;
}

TEST(Movement, CellAtRoundsHalvesToEvenAndGuardsTheMapEdges) {
    TestGame t;
    t.UseMap(Course(
        "H.~...\n"
        "......\n"
        "..^S..\n"
        "......\n"
        "x#####\n"));
    t.PrepareStage();
    Game& g = t.game;

    EXPECT_EQ(CellAt(g, 30, 10), 16);  // 1.5 -> 2, 0.5 -> 0
    EXPECT_EQ(g.player.ProbeCellX, 2);
    EXPECT_EQ(g.player.ProbeCellY, 0);
    EXPECT_EQ(CellAt(g, 50, 50), 5);  // 2.5 -> 2 both ways
    EXPECT_EQ(g.player.ProbeCellX, 2);
    EXPECT_EQ(g.player.ProbeCellY, 2);
    EXPECT_EQ(CellAt(g, -10, 0), 17);  // -0.5 -> 0
    EXPECT_EQ(CellAt(g, -11, 0), 1);   // left of the map is solid
    EXPECT_EQ(CellAt(g, 109, 0), 0);
    EXPECT_EQ(CellAt(g, 110, 0), 1);  // right of the map is solid
    EXPECT_EQ(CellAt(g, 0, -10), 17);
    EXPECT_EQ(CellAt(g, 0, -11), 0);  // above the map is open sky
    EXPECT_EQ(CellAt(g, 0, 90), 15);
    EXPECT_EQ(CellAt(g, 0, 91), 1);  // below the map is solid
    EXPECT_EQ(g.run.misses, 0u);

    // Once the player is this low, any probe notices the fall and restarts.
    g.player.PlayerY = 50;
    CellAt(g, 0, 0);
    EXPECT_EQ(g.run.misses, 1u);
    EXPECT_EQ(g.player.PlayerX, 60);
    EXPECT_EQ(g.player.PlayerY, 40);
}

TEST(Movement, WallsStopSideStepsAtTheRoundedProbe) {
    TestGame t;
    // The right probe at x + 90 lies on 4.5 cells, which rounds to column 4.
    std::vector<PlayerState> right = Play(t,
                                          "......\n"
                                          "......\n"
                                          ".S...#\n"
                                          ".....#\n"
                                          "######\n",
                                          During(1, 20, "RIGHT"), 22);
    EXPECT_EQ(right.back().PlayerX, 75);

    TestGame u;
    // The left probe x - 4 reaches column 0 from x = 10.
    std::vector<PlayerState> left = Play(u,
                                         "......\n"
                                         "......\n"
                                         "#..S..\n"
                                         "#.....\n"
                                         "######\n",
                                         During(1, 20, "LEFT"), 22);
    EXPECT_EQ(left.back().PlayerX, 10);

    // A wall at column 6 stops a step from 100 and, by rounding, from 95.
    TestGame w;
    w.UseMap(Course(
        "........\n"
        "......#.\n"
        ".S....#.\n"
        "......#.\n"
        "########\n"));
    w.PrepareStage();
    for (int32_t x : {100, 95}) {
        w.game.player.PlayerX = x;
        MoveRight(w.game, 5);
        EXPECT_EQ(w.game.player.PlayerX, x);
    }
}

TEST(Movement, JumpRisesExactly134PixelsAndLandsAgain) {
    TestGame t;
    std::vector<PlayerState> s = Play(t,
                                      "......\n"
                                      "......\n"
                                      ".S....\n"
                                      "......\n"
                                      "######\n",
                                      During(1, 24, "Z"), 60);
    const int32_t startY = 40;
    EXPECT_EQ(s[0].VerticalSpeed, -23.0);
    EXPECT_EQ(s[1].PlayerY, startY - 7);
    EXPECT_EQ(HighestY(s), startY - 134);
    EXPECT_FALSE(IsOn(s.back().Airborne));
    // Feet probe at y + 32 reaches the ground row from y = 38 on.
    EXPECT_GE(s.back().PlayerY, startY - 2);
    EXPECT_LE(s.back().PlayerY, startY + 2);
}

TEST(Movement, ReleasingTheJumpKeyCutsTheRise) {
    TestGame t;
    // Z held for five frames: the rise of frames 2 to 6 is 5 x 7 pixels,
    // and the release at the end of frame 6 stops it.
    std::vector<PlayerState> s = Play(t,
                                      "......\n"
                                      "......\n"
                                      ".S....\n"
                                      "......\n"
                                      "######\n",
                                      During(1, 5, "Z"), 30);
    EXPECT_EQ(HighestY(s), 40 - 35);
    EXPECT_EQ(s[5].VerticalSpeed, 0.0);
    EXPECT_FALSE(IsOn(s.back().Airborne));
}

TEST(Movement, FallIsCappedAtSevenPixelsAndFallingOutRestarts) {
    TestGame t;
    std::string rows =
        "........\n"
        "........\n"
        ".S......\n"
        "........\n"
        "###.....\n";
    for (int i = 0; i < 9; ++i) rows += "###.....\n";
    std::vector<PlayerState> s = Play(t, rows, During(1, 8, "RIGHT"), 60);
    // The fall speeds up 1, 2, ... 8 pixels a frame, then stays at 7.
    std::vector<int32_t> falls;
    for (size_t i = 1; i < s.size(); ++i) {
        const int32_t dy = s[i].PlayerY - s[i - 1].PlayerY;
        if (dy < 0) break;  // back at the start after the miss
        if (dy > 0) falls.push_back(dy);
    }
    ASSERT_GE(falls.size(), 18u);
    for (int32_t i = 0; i < 8; ++i) EXPECT_EQ(falls[static_cast<size_t>(i)], i + 1);
    for (size_t i = 8; i + 1 < falls.size(); ++i) EXPECT_EQ(falls[i], 7);
    EXPECT_EQ(t.game.run.misses, 1u);
    EXPECT_EQ(t.game.player.PlayerX, 20);
    EXPECT_EQ(t.game.player.PlayerY, 40);
    EXPECT_FALSE(IsOn(t.game.player.Airborne));

    // Capped with a speed of 15 too, while the speed itself keeps growing.
    TestGame u;
    u.UseMap(Course(rows));
    u.PrepareStage();
    u.game.player.PlayerX = 100;
    u.game.player.VerticalSpeed = 15.0;
    u.game.player.Airborne = kOn;
    ApplyGravity(u.game);
    EXPECT_EQ(u.game.player.PlayerY, 47);
    EXPECT_EQ(u.game.player.VerticalSpeed, 16.0);
}

struct SideHazardCase {
    const char* name;
    const char* bodyRow;  // the row at the player's lower body, start at column 3
    const char* key;
    bool miss;
    int32_t endX;
};

TEST(Movement, SideHazardsAreDeadlyFromOneSideOnly) {
    const SideHazardCase cases[] = {
        // The step into the spike misses first, then lands on the restored start.
        {"right into (", "......(.", "RIGHT", true, 65},
        {"left into (", ".(......", "LEFT", false, 30},
        {"left into )", ".)......", "LEFT", true, 55},
        {"right into )", "......).", "RIGHT", false, 90},
        {"right into star", "......*.", "RIGHT", true, 65},
        {"right into upward spike", "......A.", "RIGHT", false, 90},
    };
    for (const SideHazardCase& c : cases) {
        SCOPED_TRACE(c.name);
        TestGame t;
        const std::string rows = std::string("........\n........\n...S....\n") + c.bodyRow +
                                 "\n########\n";
        Play(t, rows, During(1, 10, c.key), 12);
        EXPECT_EQ(t.game.run.misses, c.miss ? 1u : 0u);
        EXPECT_EQ(t.game.player.PlayerX, c.endX);
    }
}

TEST(Movement, ObjectsBlockSideSteps) {
    TestGame t;
    t.UseMap(Course(
        "........\n"
        "........\n"
        "...S....\n"
        "........\n"
        "########\n"));
    t.PrepareStage();
    PlayerState& p = t.game.player;

    // A cleared right permission blocks one step only.
    p.CanMoveRight = kOff;
    MoveRight(t.game, 5);
    MoveRight(t.game, 5);
    EXPECT_EQ(p.PlayerX, 65);
    EXPECT_TRUE(IsOn(p.CanMoveRight));

    // A cleared left permission blocks every left step until it is set again.
    p.CanMoveLeft = kOff;
    MoveLeft(t.game, 5);
    MoveLeft(t.game, 5);
    EXPECT_EQ(p.PlayerX, 65);
    EXPECT_FALSE(IsOn(p.CanMoveLeft));
}

TEST(Movement, BounceBlocksKnockBackAndWallsReversePushes) {
    TestGame t;
    t.UseMap(Course(
        "........\n"
        "........\n"
        "#..S..B.\n"
        "#.......\n"
        "########\n"));
    t.PrepareStage();
    PlayerState& p = t.game.player;

    // Met from the side, the bounce block throws the player back and up, but
    // the step itself is taken.
    p.PlayerX = 95;
    MoveRight(t.game, 5);
    EXPECT_EQ(p.PlayerX, 100);
    EXPECT_TRUE(IsOn(p.PushLeft));
    EXPECT_EQ(p.PushTimer, 20);
    EXPECT_EQ(p.VerticalSpeed, -10.0);
    EXPECT_TRUE(IsOn(p.Airborne));
    EXPECT_EQ(t.game.map.Cell(6, 2), 25);

    // Pushed into a wall, the push turns round and the player is thrown up.
    p.PlayerX = 10;
    p.Airborne = kOff;
    MoveLeft(t.game, 5);
    EXPECT_EQ(p.PlayerX, 10);
    EXPECT_FALSE(IsOn(p.PushLeft));
    EXPECT_TRUE(IsOn(p.PushRight));
    EXPECT_EQ(p.VerticalSpeed, -20.0);
    EXPECT_TRUE(IsOn(p.Airborne));

    p.PlayerX = 100;
    p.PushRight = kOn;
    p.PushLeft = kOff;
    t.game.map.Cell(6, 2) = 1;
    MoveRight(t.game, 5);
    EXPECT_FALSE(IsOn(p.PushRight));
    EXPECT_TRUE(IsOn(p.PushLeft));
}

TEST(Movement, GroundTestOverEmptyCellsOnlyStartsTheFall) {
    TestGame t;
    t.UseMap(Course(
        "........\n"
        "........\n"
        "...S....\n"
        "........\n"
        "###.....\n"));
    t.PrepareStage();
    PlayerState& p = t.game.player;
    p.PlayerX = 100;
    p.Airborne = kOff;
    MoveDown(t.game, -1000);
    EXPECT_EQ(p.PlayerY, 40);
    EXPECT_TRUE(IsOn(p.Airborne));
    EXPECT_EQ(p.TrailX[0], 100);
    EXPECT_EQ(p.TrailY[10], 40);
}

}  // namespace
}  // namespace tumbleroo
