#include "render/display.h"

#include <gtest/gtest.h>

#include "platform/headless_platform.h"
#include "shell/game.h"

namespace tumbleroo {
namespace {

// A source whose pixel value tells where it came from: 100 * y + x + 1.
Surface NumberedSurface(int32_t w, int32_t h) {
    Surface s = CreateBlankSurface(w, h);
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) s.At(x, y) = static_cast<uint16_t>(100 * y + x + 1);
    }
    return s;
}

int32_t CountNonZero(const Surface& s) {
    int32_t n = 0;
    for (uint16_t p : s.pixels) n += p != 0;
    return n;
}

TEST(Display, BlitClippedCutsEachSideAtItsLimit) {
    const Surface src = NumberedSurface(40, 40);

    Surface dest = CreateBlankSurface(640, 480);
    // Off the left edge: the cell's right 15 columns land at x 0..14.
    EXPECT_EQ(BlitClipped(dest, -5, 0, 20, 20, 640, 480, src, 0, 0, 0, 0, false), 1);
    EXPECT_EQ(dest.At(0, 0), src.At(5, 0));
    EXPECT_EQ(dest.At(14, 19), src.At(19, 19));
    EXPECT_EQ(dest.At(15, 0), 0);

    // Off the top edge.
    dest = CreateBlankSurface(640, 480);
    BlitClipped(dest, 100, -7, 20, 20, 640, 480, src, 0, 0, 0, 0, false);
    EXPECT_EQ(dest.At(100, 0), src.At(0, 7));
    EXPECT_EQ(CountNonZero(dest), 20 * 13);

    // Right edge: a 40-wide frame at 630 draws 10 columns; at 640 nothing.
    dest = CreateBlankSurface(640, 480);
    EXPECT_EQ(BlitClipped(dest, 630, 0, 40, 40, 640, 480, src, 0, 0, 0, 0, false), 1);
    EXPECT_EQ(CountNonZero(dest), 10 * 40);
    EXPECT_EQ(BlitClipped(dest, 640, 0, 40, 40, 640, 480, src, 0, 0, 0, 0, false), 0);

    // Bottom edge: 10 rows of a 20-row cell at 470.
    dest = CreateBlankSurface(640, 480);
    BlitClipped(dest, 0, 470, 20, 20, 640, 480, src, 0, 0, 0, 0, false);
    EXPECT_EQ(CountNonZero(dest), 20 * 10);
    EXPECT_EQ(dest.At(0, 479), src.At(0, 9));
}

TEST(Display, BlitClippedWithLimitsOfZeroAndEmptySizes) {
    const Surface src = NumberedSurface(30, 30);
    Surface dest = CreateBlankSurface(50, 50);
    // Limits of 0 are no limits; the copy still never leaves the surface.
    EXPECT_EQ(BlitClipped(dest, 40, 40, 30, 30, 0, 0, src, 0, 0, 0, 0, false), 1);
    EXPECT_EQ(CountNonZero(dest), 10 * 10);
    // A source limit cuts the width.
    dest = CreateBlankSurface(50, 50);
    BlitClipped(dest, 0, 0, 30, 30, 0, 0, src, 20, 0, 25, 0, false);
    EXPECT_EQ(CountNonZero(dest), 5 * 30);
    EXPECT_EQ(BlitClipped(dest, 0, 0, 0, 10, 50, 50, src, 0, 0, 0, 0, false), 0);
    EXPECT_EQ(BlitClipped(dest, 0, 0, 10, -3, 50, 50, src, 0, 0, 0, 0, false), 0);
    EXPECT_EQ(BlitClipped(dest, -30, 0, 30, 30, 50, 50, src, 0, 0, 0, 0, false), 0);
}

TEST(Display, KeyedCopyLeavesKeyPixelsAndUnkeyedCopyDoesNot) {
    Surface src = CreateBlankSurface(2, 1);
    src.At(0, 0) = 0x1234;
    src.At(1, 0) = 0x0001;
    SetColorKey(src, 0x1234);
    Surface dest = CreateBlankSurface(2, 1);
    dest.At(0, 0) = 0x7777;
    BlitClipped(dest, 0, 0, 2, 1, 0, 0, src, 0, 0, 0, 0, true);
    EXPECT_EQ(dest.At(0, 0), 0x7777);
    EXPECT_EQ(dest.At(1, 0), 0x0001);
    BlitClipped(dest, 0, 0, 2, 1, 0, 0, src, 0, 0, 0, 0, false);
    EXPECT_EQ(dest.At(0, 0), 0x1234);
}

TEST(Display, StretchBlitScalesAndClipsRectanglesReachingOutside) {
    const Surface src = NumberedSurface(4, 4);
    Surface dest = CreateBlankSurface(16, 16);
    StretchBlit(dest, 0, 0, 8, 8, src, 0, 0, 4, 4, false);
    EXPECT_EQ(dest.At(0, 0), src.At(0, 0));
    EXPECT_EQ(dest.At(1, 1), src.At(0, 0));
    EXPECT_EQ(dest.At(7, 7), src.At(3, 3));
    EXPECT_EQ(dest.At(8, 8), 0);

    // A destination rectangle reaching past every edge only fills the surface.
    dest = CreateBlankSurface(16, 16);
    StretchBlit(dest, -10, -10, 60, 60, src, 0, 0, 4, 4, false);
    EXPECT_EQ(CountNonZero(dest), 16 * 16);
    // A source rectangle reaching outside its surface leaves those pixels out.
    dest = CreateBlankSurface(16, 16);
    StretchBlit(dest, 0, 0, 16, 16, src, 2, 2, 4, 4, false);
    EXPECT_EQ(dest.At(0, 0), src.At(2, 2));
    EXPECT_EQ(dest.At(15, 15), 0);
    // Nothing at all, far away.
    EXPECT_EQ(StretchBlit(dest, 1000, 1000, 60, 60, src, 0, 0, 4, 4, false), 0);
}

TEST(Display, ColorToPixelMatchesThePictureConversion) {
    EXPECT_EQ(ColorToPixel(0), 0u);
    EXPECT_EQ(ColorToPixel(0xFFFFFF), 0xFFFFu);
    EXPECT_EQ(ColorToPixel(255), 0xF800u);          // red
    EXPECT_EQ(ColorToPixel(255 << 8), 0x07E0u);     // green
    EXPECT_EQ(ColorToPixel(255 << 16), 0x001Fu);    // blue
    RgbImage image{1, 1, {0, 117, 117}};
    const Surface s = CreateSurfaceFromPicture(image);
    EXPECT_EQ(s.At(0, 0), ColorToPixel(0 + 117 * 256 + 117 * 65536));
    EXPECT_TRUE(s.hasColorKey);
    EXPECT_EQ(s.colorKey, s.At(0, 0));
}

TEST(Display, SecondInitFailsAndShutdownIsSafeTwice) {
    HeadlessPlatform platform;
    Game game;
    game.platform = &platform;
    EXPECT_TRUE(InitDisplay(game, 640, 480, true, 16));
    EXPECT_FALSE(InitDisplay(game, 640, 480, true, 16));
    ShutdownDisplay(game);
    ShutdownDisplay(game);
    platform.displayAvailable = false;
    EXPECT_FALSE(InitDisplay(game, 640, 480, true, 16));
}

TEST(Display, FlipShowsTheBackBufferAndHandsBackThePreviousFrame) {
    HeadlessPlatform platform;
    Game game;
    game.platform = &platform;
    ASSERT_TRUE(InitDisplay(game, 640, 480, true, 16));
    ClearSurface(game.display.BackBuffer, 0x1111);
    FlipScreen(game);
    EXPECT_EQ(platform.lastFrame[0], 0x1111);
    ClearSurface(game.display.BackBuffer, 0x2222);
    FlipScreen(game);
    EXPECT_EQ(platform.lastFrame[0], 0x2222);
    EXPECT_EQ(game.display.BackBuffer.At(0, 0), 0x1111);
    EXPECT_EQ(game.run.flips, 2u);
}

}  // namespace
}  // namespace tumbleroo
