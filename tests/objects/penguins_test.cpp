// Walking penguins: turning at walls and ledges, the hop, the red one's
// rush and flee, stomps and side knocks, and coming back after a miss.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "objects/objects.h"
#include "platform/table_index.h"
#include "shell/stage_flow.h"
#include "support/test_game.h"

namespace tumbleroo {
namespace {

using testing::Course;
using testing::TestGame;

// A 20 x 16 map with a floor under row 10 and one penguin at (5, 10).
std::string Floor(char penguin) {
    std::string rows;
    for (int y = 0; y < 16; ++y) rows += std::string(20, y == 11 ? '#' : '.') + "\n";
    rows[10 * 21 + 5] = penguin;
    return rows;
}

void SetCell(std::string& rows, int x, int y, char c) { rows[RowMajor(x, y, 21)] = c; }

// A player far above the penguins, out of every contact window.
void PlayerAway(Game& g) {
    g.player.PlayerX = 380;
    g.player.PlayerY = 0;
}

TEST(BluePenguin, TurnsAtAWallAndAtALedgeButNotAtWater) {
    struct Case {
        int x, y;
        char cell;
        int16_t vx;
    };
    const Case cases[] = {{6, 10, '#', -1}, {6, 11, '.', -1}, {6, 10, '~', 1}, {7, 10, '#', 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(1, c.cell) + " at " + std::to_string(c.x));
        TestGame t;
        std::string rows = Floor('b');
        SetCell(rows, c.x, c.y, c.cell);
        t.UseMap(Course(rows));
        t.PrepareStage();
        PlayerAway(t.game);
        UpdateObjects(t.game);
        EXPECT_EQ(t.game.objects.BluePenguins[0].VX, c.vx);
        EXPECT_EQ(t.game.objects.BluePenguins[0].X, 100 + c.vx);
    }
}

TEST(BluePenguin, AHopRisesAndSinksBackWithoutWalking) {
    TestGame t;
    t.UseMap(Course(Floor('b')));
    t.PrepareStage();
    Game& g = t.game;
    PlayerAway(g);
    Actor& penguin = g.objects.BluePenguins[0];
    penguin.Counter = 80;  // the timer's next step starts a hop
    int highest = penguin.Y;
    for (int frame = 1; frame <= 78; ++frame) {
        UpdateObjects(g);
        ASSERT_EQ(penguin.X, 100);
        highest = std::min(highest, penguin.Y);
    }
    EXPECT_EQ(highest, 200 - 78);
    EXPECT_EQ(penguin.Y, 200);
    UpdateObjects(g);  // the last hop frame picks the new direction
    EXPECT_EQ(penguin.Counter, 0);
    EXPECT_EQ(penguin.VY, 0);
    EXPECT_TRUE(penguin.VX == -1 || penguin.VX == 0);
}

TEST(BluePenguin, StompAndSideTouchInOneFrameBothApply) {
    TestGame t;
    t.UseMap(Course(Floor('b')));
    t.PrepareStage();
    Game& g = t.game;
    g.player.PlayerX = 110;  // over its top and against its right side
    g.player.PlayerY = 162;
    UpdateObjects(g);
    const Actor& penguin = g.objects.BluePenguins[0];
    EXPECT_EQ(penguin.Alive, kOff);
    EXPECT_EQ(g.player.PushRight, kOn);
    EXPECT_EQ(g.player.PushTimer, 20);
    EXPECT_EQ(g.player.VerticalSpeed, -10.0);  // the side knock comes last
    EXPECT_EQ(g.player.Airborne, kOn);
    const Sparkle& s = g.player.Sparkles[static_cast<size_t>(g.player.SparkleIndex)];
    EXPECT_EQ(s.X, penguin.X);
    EXPECT_EQ(s.Cell, 19 + g.objects.BluePenguinFrame);

    // A defeated penguin stays where it fell.
    const int x = penguin.X;
    UpdateObjects(g);
    EXPECT_EQ(penguin.X, x);
}

TEST(BluePenguin, AStompedPenguinIsBackAfterAMiss) {
    TestGame t;
    std::string rows = Floor('b');
    SetCell(rows, 1, 9, 'S');
    Game& g = t.Stage(rows);
    g.player.PlayerX = 100;
    g.player.PlayerY = 160;
    UpdateObjects(g);
    ASSERT_EQ(g.objects.BluePenguins[0].Alive, kOff);
    EXPECT_EQ(g.player.VerticalSpeed, -15.0);
    EXPECT_EQ(g.map.Cell(5, 10), 0);
    RestartAfterMiss(g);
    const Actor& penguin = g.objects.BluePenguins[0];
    EXPECT_EQ(penguin.Alive, kOn);
    EXPECT_EQ(penguin.X, 100);
    EXPECT_EQ(penguin.Y, 200);
    EXPECT_EQ(penguin.VX, 1);
}

TEST(RedPenguin, RushesAtAPlayerInFrontAtItsHeight) {
    TestGame t;
    t.UseMap(Course(Floor('r')));
    t.PrepareStage();
    Game& g = t.game;
    g.player.PlayerX = 300;
    g.player.PlayerY = 195;
    UpdateObjects(g);
    EXPECT_EQ(g.objects.RedPenguins[0].VX, 4);
    EXPECT_EQ(g.objects.RedPenguins[0].X, 104);

    // Facing away, it only wanders.
    TestGame t2;
    t2.UseMap(Course(Floor('r')));
    t2.PrepareStage();
    t2.game.player.PlayerX = 300;
    t2.game.player.PlayerY = 195;
    t2.game.objects.RedPenguins[0].VX = -1;
    UpdateObjects(t2.game);
    EXPECT_EQ(t2.game.objects.RedPenguins[0].VX, -2);
}

TEST(RedPenguin, RushesOnlyAtAPlayerLessThan250PixelsAhead) {
    for (const int32_t ahead : {249, 250}) {
        TestGame t;
        t.UseMap(Course(Floor('r')));
        t.PrepareStage();
        Game& g = t.game;
        g.player.PlayerX = 100 + ahead;
        g.player.PlayerY = 195;
        UpdateObjects(g);
        EXPECT_EQ(g.objects.RedPenguins[0].VX, ahead < 250 ? 4 : 2) << ahead;
    }
}

TEST(RedPenguin, FleesFromAPlayerJumpingAboveIt) {
    TestGame t;
    t.UseMap(Course(Floor('r')));
    t.PrepareStage();
    Game& g = t.game;
    g.player.PlayerX = 90;
    g.player.PlayerY = 100;
    g.player.Airborne = kOn;
    UpdateObjects(g);
    EXPECT_EQ(g.objects.RedPenguins[0].VX, 5);
    EXPECT_EQ(g.objects.RedPenguins[0].X, 105);

    // Straight above: the flee gives no direction, and it steps 1 right.
    TestGame t2;
    t2.UseMap(Course(Floor('r')));
    t2.PrepareStage();
    t2.game.player.PlayerX = 100;
    t2.game.player.PlayerY = 100;
    t2.game.player.Airborne = kOn;
    UpdateObjects(t2.game);
    EXPECT_EQ(t2.game.objects.RedPenguins[0].VX, 1);
    EXPECT_EQ(t2.game.objects.RedPenguins[0].X, 101);
}

TEST(RedPenguin, TurnsAtWaterAndKnocksHarder) {
    TestGame t;
    std::string rows = Floor('r');
    SetCell(rows, 4, 10, '~');
    Game& g = t.Stage(rows);
    g.objects.RedPenguins[0].VX = -1;
    g.player.PlayerX = 75;  // against its left side
    g.player.PlayerY = 200;
    UpdateObjects(g);
    EXPECT_EQ(g.objects.RedPenguins[0].VX, 1);
    EXPECT_EQ(g.objects.RedPenguins[0].X, 101);
    EXPECT_EQ(g.player.PushLeft, kOn);
    EXPECT_EQ(g.player.PushTimer, 26);
    EXPECT_EQ(g.player.VerticalSpeed, -20.0);
}

}  // namespace
}  // namespace tumbleroo
