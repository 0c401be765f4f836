#include "render/stage_draw.h"

#include <gtest/gtest.h>

#include "render/display.h"
#include "support/test_game.h"

namespace tumbleroo {
namespace {

std::string FlatCourse(int width, int height) {
    std::string rows;
    for (int y = 0; y < height; ++y) {
        rows += std::string(static_cast<size_t>(width), y == height - 1 ? '#' : '.') + "\n";
    }
    rows[1] = 'S';
    return testing::Course(rows);
}

TEST(Camera, FixedViewFollowsThePlayerAndClampsAtTheMapEnds) {
    testing::TestGame t;
    t.UseMap(FlatCourse(100, 30));
    PlayerState& p = t.game.player;
    p.PlayerX = 1000;
    p.PlayerY = 200;
    UpdateCamera(t.game);
    EXPECT_DOUBLE_EQ(p.ScrollX, 36);
    EXPECT_DOUBLE_EQ(p.PlayerScreenX, 280);
    EXPECT_DOUBLE_EQ(p.ScrollY, 0);  // would be -3.5
    p.PlayerX = 100;
    UpdateCamera(t.game);
    EXPECT_DOUBLE_EQ(p.ScrollX, 0);
    EXPECT_DOUBLE_EQ(p.PlayerScreenX, 100);
    p.PlayerX = 1990;
    p.PlayerY = 590;
    UpdateCamera(t.game);
    EXPECT_DOUBLE_EQ(p.ScrollX, 100 - 32);
    EXPECT_DOUBLE_EQ(p.ScrollY, 30 - 24);
    EXPECT_EQ(p.PlayerScreenY, 590 - 120);
}

TEST(Camera, NarrowAndLowMapsSitAgainstTheRightAndBottomEdges) {
    testing::TestGame t;
    t.UseMap(FlatCourse(20, 10));
    UpdateCamera(t.game);
    EXPECT_DOUBLE_EQ(t.game.player.ScrollX, 20 - 32);
    EXPECT_DOUBLE_EQ(t.game.player.ScrollY, 10 - 24);
}

TEST(Camera, LookAheadGlidesTwoPixelsAFrameTowardsItsTarget) {
    testing::TestGame t;
    t.UseMap(FlatCourse(100, 30));
    t.game.settings.AutoView = kOn;
    t.game.camera.ViewTargetX = 280;
    PlayerState& p = t.game.player;
    p.Pose = Pose::Right;
    for (int i = 0; i < 24; ++i) UpdateCamera(t.game);
    EXPECT_DOUBLE_EQ(t.game.camera.ViewTargetX, 232);
    for (int i = 0; i < 5; ++i) UpdateCamera(t.game);
    EXPECT_DOUBLE_EQ(t.game.camera.ViewTargetX, 230);
    p.Pose = Pose::Front;  // turning keeps it
    UpdateCamera(t.game);
    EXPECT_DOUBLE_EQ(t.game.camera.ViewTargetX, 230);
    p.Pose = Pose::Left;
    UpdateCamera(t.game);
    EXPECT_DOUBLE_EQ(t.game.camera.ViewTargetX, 232);
}

TEST(StageDrawing, StatusLineShowsTheLastSixDigitsWithLeadingZeros) {
    testing::TestGame t;
    t.UseMap(FlatCourse(40, 24));
    // Digit cells filled with their own value, so the frame tells which
    // digit was drawn where.
    Surface& digits = t.OwnPictures().NumberP;
    for (int32_t y = 0; y < 24; ++y) {
        for (int32_t x = 0; x < 120; ++x) digits.At(x, y) = static_cast<uint16_t>(100 + x / 12);
    }
    auto shownDigit = [&](int j) { return t.game.display.BackBuffer.At(32 + 12 * j + 6, 12) - 100; };
    auto shown = [&](int32_t coins) {
        t.game.player.CoinsCollected = coins;
        ClearSurface(t.game.display.BackBuffer, 0);
        DrawStatusLine(t.game);
        std::string s;
        for (int j = 0; j < 6; ++j) s += static_cast<char>('0' + shownDigit(j));
        return s;
    };
    EXPECT_EQ(shown(7), "000007");
    EXPECT_EQ(shown(1234567), "234567");
    EXPECT_EQ(shown(0), "000000");
}

TEST(StageDrawing, HalfCellScrollDrawsColumnsBetweenPixels) {
    testing::TestGame t;
    t.UseMap(FlatCourse(60, 24));
    ClearSurface(t.game.display.BackBuffer, 0);
    t.game.settings.DrawBack = kOff;
    DrawMap(t.game, 10.5, 0);
    // The ground row is 23; column 11 starts at screen x 10 and is opaque.
    const Surface& back = t.game.display.BackBuffer;
    const Surface& tiles = t.game.pictures->BlockPic;
    EXPECT_EQ(back.At(10, 23 * 20), tiles.At(20, 0));
    EXPECT_EQ(back.At(0, 23 * 20), tiles.At(30, 0));
}

// Fills one 20 x 20 ObjPictures cell with a single colour (0 = see-through).
void PaintObjCell(testing::TestGame& t, int32_t cell, uint16_t colour) {
    FillSurfaceRect(t.OwnPictures().ObjPictures, 20 * cell, 0, 20 * cell + 20, 20, colour);
}

TEST(StageDrawing, CoinsAndRedStarsInWaterShowWaterBehindThem) {
    testing::TestGame t;
    t.UseMap(testing::Course(
        "S...........\n"
        "..~....~....\n"
        "..o...*~o...\n"
        "....o.......\n"
        "....~.......\n"
        "############\n"));
    constexpr uint16_t kBody = 0x1111, kSurface = 0x2222;
    PaintObjCell(t, 11, kBody);
    PaintObjCell(t, 15, kSurface);
    PaintObjCell(t, 1, 0);   // the coin, see-through
    PaintObjCell(t, 13, 0);  // the red star, see-through
    t.game.settings.DrawBack = kOff;
    ClearSurface(t.game.display.BackBuffer, 0);
    DrawMap(t.game, 0, 0);
    auto behind = [&](int32_t x, int32_t y) { return t.game.display.BackBuffer.At(20 * x + 10, 20 * y + 10); };
    EXPECT_EQ(behind(2, 2), kBody) << "water above: under the surface";
    EXPECT_EQ(behind(6, 2), kSurface) << "red star, water to its right, air above";
    EXPECT_EQ(behind(8, 2), kSurface) << "water to its left, air above";
    EXPECT_EQ(behind(4, 3), 0) << "water below only: the coin is in the air";
    EXPECT_EQ(behind(9, 2), 0) << "no water around";
    // The cells stay pickups.
    EXPECT_EQ(t.game.map.Cell(2, 2), 6);
    EXPECT_EQ(t.game.map.Cell(6, 2), 18);
}

// The bottom cell row of a pit shows only the background: whatever the ground
// decoration puts there must stay see-through, or it reads as a floor.
TEST(StageDrawing, GroundDecorationAtTheBottomOfAPitNeverCoversARowSolidly) {
    constexpr int32_t kBottomRowTop = 23 * 20;
    constexpr double kMostCovered = 0.6;  // share of one pixel row
    for (int style = 1; style <= 5; ++style) {
        testing::TestGame t;
        std::string rows = "S" + std::string(31, '.') + "\n";
        for (int y = 1; y < 24; ++y) rows += std::string(32, '.') + "\n";
        t.Stage(rows, "GroundStyle: " + std::to_string(style));
        ASSERT_EQ(t.game.map.GroundStyle, style);
        DrawBackground(t.game);
        const Surface& back = t.game.display.BackBuffer;
        for (int32_t y = kBottomRowTop; y < kScreenHeight; ++y) {
            int32_t covered = 0;
            for (int32_t x = 0; x < kScreenWidth; ++x) covered += back.At(x, y) != t.game.player.StageBackPixel;
            EXPECT_LE(covered, kMostCovered * kScreenWidth) << "style " << style << ", row " << y;
        }
    }
}

// Clouds and the other sky decorations stay out of the lowest rows of the
// map, where the ground and the pits are, above the ground line.
TEST(StageDrawing, SkyDecorationsStayAboveGroundLevel) {
    constexpr int32_t kClearFrom = (24 - 8) * 20, kGroundLineTop = 24 * 20 - 40;
    for (int style = 1; style <= 5; ++style) {
        testing::TestGame t;
        std::string rows = "S" + std::string(99, '.') + "\n";
        for (int y = 1; y < 24; ++y) rows += std::string(100, '.') + "\n";
        t.Stage(rows, "GroundStyle: " + std::to_string(style));
        for (double scroll : {0.0, 17.0, 60.0}) {
            t.game.player.ScrollX = scroll;
            DrawBackground(t.game);
            const Surface& back = t.game.display.BackBuffer;
            int32_t covered = 0;
            for (int32_t y = kClearFrom; y < kGroundLineTop; ++y) {
                for (int32_t x = 0; x < kScreenWidth; ++x) covered += back.At(x, y) != t.game.player.StageBackPixel;
            }
            EXPECT_EQ(covered, 0) << "style " << style << ", scrolled to " << scroll;
        }
    }
}

// Scrolled one pixel right, the background moves one pixel left and only
// the new column at the right edge is new: no decoration is left out or
// added as it enters or leaves the screen, anywhere along a wide map.
TEST(StageDrawing, BackgroundScrollsWholeAlongAWideMap) {
    constexpr int32_t kColumns = 600, kStepPx = 37;
    testing::TestGame t;
    std::string rows = "S" + std::string(kColumns - 1, '.') + "\n";
    for (int y = 1; y < 24; ++y) rows += std::string(kColumns, '.') + "\n";
    t.Stage(rows, "GroundStyle: 2");
    const int32_t lastPx = (kColumns - 32) * 20 - 1;
    for (int32_t px = 0; px < lastPx; px += kStepPx) {
        t.game.player.ScrollX = px / 20.0;
        DrawBackground(t.game);
        const Surface before = t.game.display.BackBuffer;
        t.game.player.ScrollX = (px + 1) / 20.0;
        DrawBackground(t.game);
        const Surface& after = t.game.display.BackBuffer;
        int32_t differing = 0;
        for (int32_t y = 0; y < kScreenHeight; ++y) {
            for (int32_t x = 0; x + 1 < kScreenWidth; ++x) differing += after.At(x, y) != before.At(x + 1, y);
        }
        ASSERT_EQ(differing, 0) << "scrolled from pixel " << px;
    }
}

}  // namespace
}  // namespace tumbleroo
