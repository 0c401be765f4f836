// Bouncing stars and star carriers: bounces, the fifth stomp, walking and
// turning, carrying, and the riding flag they share with the side lifts.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "objects/objects.h"
#include "platform/table_index.h"
#include "support/test_game.h"

namespace tumbleroo {
namespace {

using testing::Course;
using testing::TestGame;

std::string Open(int width, int height) {
    std::string rows;
    for (int y = 0; y < height; ++y) rows += std::string(static_cast<size_t>(width), '.') + "\n";
    return rows;
}

void SetCell(std::string& rows, int width, int x, int y, char c) {
    rows[RowMajor(x, y, width + 1)] = c;
}

const Sparkle& LastSparkle(const Game& g) {
    return g.player.Sparkles[static_cast<size_t>(g.player.SparkleIndex)];
}

TEST(BouncingStar, FallsToTheFifthStomp) {
    TestGame t;
    std::string rows = Open(30, 30);
    SetCell(rows, 30, 15, 10, 's');
    Game& g = t.Stage(rows);
    const Actor& star = g.objects.BouncingStars[0];
    for (int stomp = 1; stomp <= 5; ++stomp) {
        g.player.PlayerX = star.X;
        g.player.PlayerY = star.Y - 40;
        g.player.VerticalSpeed = 3.0;
        UpdateObjects(g);
        EXPECT_EQ(star.Counter, stomp);
        EXPECT_EQ(star.VY, 1);
        EXPECT_EQ(g.player.VerticalSpeed, -10.0);
        EXPECT_EQ(star.Alive, stomp < 5 ? kOn : kOff);
        EXPECT_EQ(LastSparkle(g).Cell, stomp < 5 ? 13 : 27);
    }
}

TEST(BouncingStar, TurnsAtTerrainAndAtTheTopOfTheMap) {
    TestGame t;
    std::string rows = Open(30, 30);
    SetCell(rows, 30, 15, 10, 's');
    SetCell(rows, 30, 16, 10, '~');  // any non-zero cell is an obstacle
    SetCell(rows, 30, 5, 0, 's');
    Game& g = t.Stage(rows);
    g.player.PlayerX = 580;
    Actor& high = g.objects.BouncingStars[0];
    Actor& beside = g.objects.BouncingStars[1];
    ASSERT_EQ(high.Y, 0);
    high.VY = -1;
    beside.VX = 1;
    UpdateObjects(g);
    EXPECT_EQ(high.VY, 1);
    EXPECT_EQ(high.Y, 3);
    EXPECT_EQ(beside.VX, -1);
    EXPECT_EQ(beside.X, 297);
}

TEST(BouncingStar, HeadAndSideTouches) {
    TestGame t;
    std::string rows = Open(30, 30);
    SetCell(rows, 30, 15, 10, 's');
    Game& g = t.Stage(rows);
    Actor& star = g.objects.BouncingStars[0];
    g.player.PlayerX = star.X - 25;  // against its left side
    g.player.PlayerY = star.Y;
    UpdateObjects(g);
    EXPECT_EQ(star.VX, 1);
    EXPECT_EQ(g.player.PushLeft, kOn);
    EXPECT_EQ(g.player.PushTimer, 20);
    g.player.PlayerX = star.X;  // head against its underside
    g.player.PlayerY = star.Y + 10;
    g.player.VerticalSpeed = -7.0;
    UpdateObjects(g);
    EXPECT_EQ(star.VY, -1);
    EXPECT_EQ(g.player.VerticalSpeed, 0.0);
}

TEST(StarCarrier, WalksOnePixelAFrameAndTurnsAtAWall) {
    TestGame t;
    std::string rows = Open(20, 12);
    SetCell(rows, 20, 5, 5, 'c');
    SetCell(rows, 20, 7, 5, '#');
    Game& g = t.Stage(rows);
    const Actor& carrier = g.objects.StarCarriers[0];
    int furthest = 0;
    for (int frame = 0; frame < 30; ++frame) {
        UpdateObjects(g);
        furthest = std::max(furthest, carrier.X);
    }
    EXPECT_EQ(furthest, 121);
    EXPECT_EQ(carrier.VX, -1);
    EXPECT_EQ(carrier.X, 121 - 9);
}

TEST(StarCarrier, CarriesItsRiderAndHoldsASideNeighbour) {
    TestGame t;
    std::string rows = Open(20, 12);
    SetCell(rows, 20, 5, 5, 'c');
    Game& g = t.Stage(rows);
    Actor& carrier = g.objects.StarCarriers[0];
    carrier.VX = -1;
    g.player.PlayerX = 100;
    g.player.PlayerY = 60;
    UpdateObjects(g);
    EXPECT_EQ(g.player.RidingSideLift, kOn);
    EXPECT_EQ(g.player.PlayerX, 99);
    EXPECT_EQ(carrier.X, 99);

    g.player.PlayerX = carrier.X + 10;  // against its right side
    g.player.PlayerY = carrier.Y;
    UpdateObjects(g);
    EXPECT_EQ(g.player.RidingSideLift, kOff);
    EXPECT_EQ(g.player.CanMoveRight, kOff);
    EXPECT_EQ(g.player.PushRight, kOn);
}

TEST(StarCarrier, DecidesTheSharedRidingFlagAfterTheSideLifts) {
    TestGame t;
    std::string rows = Open(20, 12);
    SetCell(rows, 20, 5, 5, '=');
    SetCell(rows, 20, 15, 5, 'c');
    Game& g = t.Stage(rows);
    g.player.PlayerX = 100;  // on the side lift only
    g.player.PlayerY = 60;
    UpdateObjects(g);
    EXPECT_EQ(g.player.RidingSideLift, kOff);

    TestGame lone;
    std::string liftOnly = Open(20, 12);
    SetCell(liftOnly, 20, 5, 5, '=');
    lone.UseMap(Course(liftOnly));
    lone.PrepareStage();
    lone.game.player.PlayerX = 100;
    lone.game.player.PlayerY = 60;
    UpdateObjects(lone.game);
    EXPECT_EQ(lone.game.player.RidingSideLift, kOn);
}

}  // namespace
}  // namespace tumbleroo
