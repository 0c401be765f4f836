// The monkey: shrinking and speeding up with stomps, the fifteenth stomp,
// falling over a gap, the long side knock, and drawing partly off screen.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "objects/objects.h"
#include "platform/table_index.h"
#include "render/display.h"
#include "support/test_game.h"

namespace tumbleroo {
namespace {

using testing::Course;
using testing::TestGame;

// A 40 x 20 map with a floor in row 12 and a monkey at (mx, my).
std::string Arena(int mx, int my) {
    std::string rows;
    for (int y = 0; y < 20; ++y) rows += std::string(40, y == 12 ? '#' : '.') + "\n";
    rows[RowMajor(mx, my, 41)] = 'M';
    return rows;
}

void StompOnce(Game& g) {
    const Actor& monkey = g.objects.Monkeys[0];
    g.player.PlayerX = monkey.X;
    g.player.PlayerY = monkey.Y - 40;
    UpdateObjects(g);
}

void PlayerAway(Game& g) {
    g.player.PlayerX = 0;
    g.player.PlayerY = 0;
}

int StepOfOneFrame(Game& g) {
    const int x = g.objects.Monkeys[0].X;
    UpdateObjects(g);
    return std::abs(g.objects.Monkeys[0].X - x);
}

TEST(Monkey, ShrinksAndSpeedsUpWithStomps) {
    TestGame t;
    t.UseMap(Course(Arena(20, 10)));
    t.PrepareStage();
    Game& g = t.game;
    PlayerAway(g);
    EXPECT_EQ(StepOfOneFrame(g), 1);
    for (int i = 0; i < 3; ++i) StompOnce(g);
    EXPECT_EQ(g.objects.Monkeys[0].Counter, 3);
    EXPECT_EQ(g.player.VerticalSpeed, -17.0);
    PlayerAway(g);
    EXPECT_EQ(StepOfOneFrame(g), 2);

    // At 54 x 54 its right side reaches 42 pixels out, which 60 x 60 does not.
    g.player.PlayerX = g.objects.Monkeys[0].X + 42;
    g.player.PlayerY = g.objects.Monkeys[0].Y;
    UpdateObjects(g);
    EXPECT_EQ(g.player.PushRight, kOn);
    EXPECT_EQ(g.player.PushTimer, 200);
    EXPECT_EQ(g.player.VerticalSpeed, -10.0);

    g.objects.Monkeys[0].Counter = 10;
    PlayerAway(g);
    EXPECT_EQ(StepOfOneFrame(g), 4);
}

TEST(Monkey, FallsAtTheFifteenthStomp) {
    TestGame t;
    t.UseMap(Course(Arena(20, 10)));
    t.PrepareStage();
    Game& g = t.game;
    g.objects.Monkeys[0].Counter = 13;
    StompOnce(g);
    EXPECT_EQ(g.objects.Monkeys[0].Alive, kOn);
    EXPECT_EQ(g.objects.Monkeys[0].Counter, 14);
    const Sparkle& s = g.player.Sparkles[static_cast<size_t>(g.player.SparkleIndex)];
    EXPECT_EQ(s.Cell, g.objects.MonkeyFrame);
    StompOnce(g);
    EXPECT_EQ(g.objects.Monkeys[0].Alive, kOff);
    const int x = g.objects.Monkeys[0].X;
    UpdateObjects(g);
    EXPECT_EQ(g.objects.Monkeys[0].X, x);
}

TEST(Monkey, FallsOverAGapAndWalksOnWhileFalling) {
    TestGame t;
    t.UseMap(Course(Arena(20, 4)));
    t.PrepareStage();
    Game& g = t.game;
    PlayerAway(g);
    const Actor& monkey = g.objects.Monkeys[0];
    for (int frame = 0; frame < 80; ++frame) {
        const int x = monkey.X;
        const int y = monkey.Y;
        UpdateObjects(g);
        ASSERT_NE(monkey.X, x);
        ASSERT_EQ(monkey.Y - y, monkey.VY);
        ASSERT_TRUE(monkey.VY == 0 || monkey.VY == 2);
    }
    // The ground probe finds the floor once Y + 30 reaches row 12.
    EXPECT_GE(monkey.Y, 200);
    EXPECT_LE(monkey.Y, 210);
}

// Counts pixels of a screen rectangle that differ from the fill value.
int ChangedPixels(const Surface& s, int x0, int y0, int x1, int y1, uint16_t fill) {
    int changed = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) changed += s.At(x, y) != fill ? 1 : 0;
    }
    return changed;
}

TEST(Monkey, DrawingPartlyOffScreenIsClipped) {
    TestGame t;
    t.UseMap(Course(Arena(20, 10)));
    t.PrepareStage();
    Game& g = t.game;
    PlayerAway(g);
    Surface& back = g.display.BackBuffer;
    const size_t pixels = back.pixels.size();
    constexpr uint16_t kFill = 0x0841;

    // Over the bottom-left corner: the 60 x 60 picture starts at about
    // (-25, 450).
    g.player.ScrollX = (g.objects.Monkeys[0].X + 25) / 20.0;
    g.player.ScrollY = (g.objects.Monkeys[0].Y - 20 - 450) / 20.0;
    ClearSurface(back, kFill);
    UpdateObjects(g);
    EXPECT_GT(ChangedPixels(back, 0, 450, 40, 480, kFill), 0);

    // Over the top-right corner: the picture starts at about (610, -30).
    g.player.ScrollX = (g.objects.Monkeys[0].X - 610) / 20.0;
    g.player.ScrollY = (g.objects.Monkeys[0].Y - 20 + 30) / 20.0;
    ClearSurface(back, kFill);
    UpdateObjects(g);
    EXPECT_GT(ChangedPixels(back, 600, 0, 640, 40, kFill), 0);
    EXPECT_EQ(back.pixels.size(), pixels);
}

}  // namespace
}  // namespace tumbleroo
