// The orbiter: its circle and breathing radius, passing through terrain,
// the fifth stomp, the short side knock, and coming back after a miss.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "objects/objects.h"
#include "shell/stage_flow.h"
#include "support/test_game.h"

namespace tumbleroo {
namespace {

using testing::Course;
using testing::TestGame;

// A 30 x 20 map with an orbiter at (10, 5), filled with ground when asked.
std::string Sky(char fill) {
    std::string rows;
    for (int y = 0; y < 20; ++y) rows += std::string(30, fill) + "\n";
    rows[1 * 31 + 1] = 'S';
    rows[5 * 31 + 10] = 'O';
    return rows;
}

TEST(Orbiter, FirstStepOfTheRunThroughSolidGround) {
    TestGame t;
    t.UseMap(Course(Sky('#')));
    t.PrepareStage();
    Game& g = t.game;
    ASSERT_EQ(g.objects.OrbitRadiusStep, 0);
    UpdateObjects(g);
    const Actor& orbiter = g.objects.Orbiters[0];
    EXPECT_EQ(g.objects.OrbitRadius, 41);
    EXPECT_EQ(orbiter.Counter, 3);
    EXPECT_EQ(orbiter.X, 241);
    EXPECT_EQ(orbiter.Y, 102);
}

TEST(Orbiter, RadiusBreathesBetweenItsBounds) {
    TestGame t;
    t.UseMap(Course(Sky('.')));
    t.PrepareStage();
    Game& g = t.game;
    std::vector<int> radius;
    for (int frame = 0; frame < 130; ++frame) {
        UpdateObjects(g);
        radius.push_back(g.objects.OrbitRadius);
    }
    EXPECT_EQ(radius[59], 100);
    EXPECT_EQ(radius[60], 101);
    EXPECT_EQ(radius[61], 100);
    EXPECT_EQ(radius[121], 40);
    EXPECT_EQ(radius[122], 39);
    EXPECT_EQ(radius[123], 40);
    // The orbiter stays on its circle.
    const Actor& orbiter = g.objects.Orbiters[0];
    const double dx = orbiter.X - 200;
    const double dy = orbiter.Y - 100;
    EXPECT_NEAR(std::sqrt(dx * dx + dy * dy), radius.back(), 1.0);
}

TEST(Orbiter, FallsToTheFifthStompAndReturnsAfterAMiss) {
    TestGame t;
    t.UseMap(Course(Sky('.')));
    t.PrepareStage();
    Game& g = t.game;
    const Actor& orbiter = g.objects.Orbiters[0];
    for (int stomp = 1; stomp <= 5; ++stomp) {
        g.player.PlayerX = orbiter.X;
        g.player.PlayerY = orbiter.Y - 40;
        g.player.Airborne = kOff;
        UpdateObjects(g);
        EXPECT_EQ(g.objects.OrbiterHitPoints[0], 5 - stomp);
        EXPECT_EQ(g.player.VerticalSpeed, -20.0);
        EXPECT_EQ(g.player.Airborne, kOn);
        const Sparkle& s = g.player.Sparkles[static_cast<size_t>(g.player.SparkleIndex)];
        EXPECT_EQ(s.Cell, 16);
        EXPECT_EQ(orbiter.Alive, stomp < 5 ? kOn : kOff);
    }
    const int radius = g.objects.OrbitRadius;
    RestartAfterMiss(g);
    EXPECT_EQ(orbiter.Alive, kOn);
    EXPECT_EQ(g.objects.OrbiterHitPoints[0], 5);
    EXPECT_EQ(orbiter.Counter, 0);
    EXPECT_EQ(g.objects.OrbitRadius, radius);
}

TEST(Orbiter, SideKnockIsShortAndAHeadBumpWins) {
    TestGame t;
    t.UseMap(Course(Sky('.')));
    t.PrepareStage();
    Game& g = t.game;
    const Actor& orbiter = g.objects.Orbiters[0];
    g.player.PlayerX = orbiter.X + 30;  // at its right side and under it
    g.player.PlayerY = orbiter.Y + 30;
    UpdateObjects(g);
    EXPECT_EQ(g.player.PushRight, kOn);
    EXPECT_EQ(g.player.PushTimer, 10);
    EXPECT_EQ(g.player.Airborne, kOn);
    EXPECT_EQ(g.player.VerticalSpeed, 0.0);
}

}  // namespace
}  // namespace tumbleroo
