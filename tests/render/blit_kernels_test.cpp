// The fast copy, fill and zoom kernels against plain pixel-by-pixel loops:
// on random pictures, positions, sizes, limits and colour keys every
// destination pixel must come out the same.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "render/display.h"
#include "core/numeric.h"

namespace tumbleroo {
namespace {

constexpr int kRounds = 3000;

Surface RandomSurface(std::mt19937& rng, int32_t w, int32_t h, uint16_t key) {
    Surface s = CreateBlankSurface(w, h);
    for (auto& p : s.pixels) p = static_cast<uint16_t>(rng());
    // Runs of the key of every length, as sprites have them.
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w;) {
            const int32_t run = 1 + static_cast<int32_t>(rng() % 19);
            if (rng() % 2 == 0) std::fill_n(&s.At(x, y), std::min(run, w - x), key);
            x += run;
        }
    }
    return s;
}

// The clipping rule and copy written out one pixel at a time.
void ReferenceBlit(Surface& dest, int32_t dx, int32_t dy, int32_t w, int32_t h, int32_t limitW,
                   int32_t limitH, const Surface& src, int32_t sx, int32_t sy, int32_t srcLimitW,
                   int32_t srcLimitH, bool keyed) {
    if (dx < 0) { w += dx; sx -= dx; dx = 0; }
    if (dy < 0) { h += dy; sy -= dy; dy = 0; }
    if (w < 1 || h < 1) return;
    if (limitW != 0 && dx + w > limitW) w = limitW - dx;
    if (limitH != 0 && dy + h > limitH) h = limitH - dy;
    if (w < 1 || h < 1) return;
    if (sx < 0) { w += sx; dx -= sx; sx = 0; }
    if (sy < 0) { h += sy; dy -= sy; sy = 0; }
    if (w < 1 || h < 1) return;
    if (srcLimitW != 0 && sx + w > srcLimitW) w = srcLimitW - sx;
    if (srcLimitH != 0 && sy + h > srcLimitH) h = srcLimitH - sy;
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            if (dx + x >= dest.width || dy + y >= dest.height) continue;
            if (sx + x >= src.width || sy + y >= src.height) continue;
            const uint16_t p = src.At(sx + x, sy + y);
            if (keyed && src.hasColorKey && p == src.colorKey) continue;
            dest.At(dx + x, dy + y) = p;
        }
    }
}

void ReferenceStretch(Surface& dest, int32_t dx, int32_t dy, int32_t dw, int32_t dh,
                      const Surface& src, int32_t sx, int32_t sy, int32_t sw, int32_t sh,
                      bool keyed) {
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
    for (int32_t y = 0; y < dh; ++y) {
        for (int32_t x = 0; x < dw; ++x) {
            const int64_t tx = int64_t{dx} + x, ty = int64_t{dy} + y;
            if (tx < 0 || ty < 0 || tx >= dest.width || ty >= dest.height) continue;
            const int64_t fx = sx + (int64_t{x} * sw) / dw, fy = sy + (int64_t{y} * sh) / dh;
            if (fx < 0 || fy < 0 || fx >= src.width || fy >= src.height) continue;
            const uint16_t p = src.At(static_cast<int32_t>(fx), static_cast<int32_t>(fy));
            if (keyed && src.hasColorKey && p == src.colorKey) continue;
            dest.At(static_cast<int32_t>(tx), static_cast<int32_t>(ty)) = p;
        }
    }
}

int32_t Between(std::mt19937& rng, int32_t lo, int32_t hi) {
    return lo + static_cast<int32_t>(rng() % static_cast<uint32_t>(hi - lo + 1));
}

TEST(BlitKernels, ClippedCopiesMatchThePixelLoopKeyedAndNot) {
    std::mt19937 rng(20261208);
    for (int round = 0; round < kRounds; ++round) {
        const uint16_t key = static_cast<uint16_t>(rng());
        Surface src = RandomSurface(rng, Between(rng, 1, 90), Between(rng, 1, 60), key);
        if (rng() % 4 != 0) SetColorKey(src, key);
        Surface fast = RandomSurface(rng, Between(rng, 1, 120), Between(rng, 1, 80), key);
        Surface slow = fast;
        // Widths around the SSE2 register and the 20-pixel cell, and any other.
        const int32_t widths[] = {1, 7, 8, 9, 15, 16, 17, 19, 20, 21, 40, Between(rng, -3, 100)};
        const int32_t w = widths[rng() % std::size(widths)];
        const int32_t h = Between(rng, -2, 40);
        const int32_t dx = Between(rng, -30, 130), dy = Between(rng, -30, 90);
        const int32_t sx = Between(rng, -5, 80), sy = Between(rng, -5, 50);
        const int32_t limitW = rng() % 3 == 0 ? 0 : Between(rng, 1, fast.width);
        const int32_t limitH = rng() % 3 == 0 ? 0 : Between(rng, 1, fast.height);
        const int32_t srcLimitW = rng() % 2 == 0 ? 0 : Between(rng, 1, src.width);
        const int32_t srcLimitH = rng() % 2 == 0 ? 0 : Between(rng, 1, src.height);
        const bool keyed = rng() % 3 != 0;
        BlitClipped(fast, dx, dy, w, h, limitW, limitH, src, sx, sy, srcLimitW, srcLimitH, keyed);
        ReferenceBlit(slow, dx, dy, w, h, limitW, limitH, src, sx, sy, srcLimitW, srcLimitH,
                      keyed);
        ASSERT_EQ(fast.pixels, slow.pixels) << "round " << round;
    }
}

TEST(BlitKernels, ZoomAndFillsMatchThePixelLoop) {
    std::mt19937 rng(7);
    for (int round = 0; round < kRounds / 10; ++round) {
        const uint16_t key = static_cast<uint16_t>(rng());
        Surface src = RandomSurface(rng, Between(rng, 1, 80), Between(rng, 1, 60), key);
        SetColorKey(src, key);
        Surface fast = RandomSurface(rng, Between(rng, 1, 90), Between(rng, 1, 70), key);
        Surface slow = fast;
        const int32_t dx = Between(rng, -20, 60), dy = Between(rng, -20, 50);
        const int32_t dw = Between(rng, 0, 120), dh = Between(rng, 0, 90);
        const int32_t sx = Between(rng, -10, 60), sy = Between(rng, -10, 50);
        const int32_t sw = Between(rng, 0, 90), sh = Between(rng, 0, 70);
        const bool keyed = rng() % 2 == 0;
        StretchBlit(fast, dx, dy, dw, dh, src, sx, sy, sw, sh, keyed);
        ReferenceStretch(slow, dx, dy, dw, dh, src, sx, sy, sw, sh, keyed);
        ASSERT_EQ(fast.pixels, slow.pixels) << "zoom round " << round;

        const uint16_t value = static_cast<uint16_t>(rng());
        ClearSurface(fast, value);
        EXPECT_TRUE(std::all_of(fast.pixels.begin(), fast.pixels.end(),
                                [&](uint16_t p) { return p == value; }));
    }
}

TEST(BlitKernels, RoundingKeepsHalvesToEvenWithoutTheLibrary) {
    std::mt19937_64 rng(3);
    for (int i = 0; i < 100000; ++i) {
        const double whole = static_cast<double>(static_cast<int64_t>(rng() % 4000000) - 2000000);
        const double fractions[] = {0.0, 0.5, -0.5, 0.25, 0.75, 0.4999999999, 0.5000000001,
                                    std::ldexp(static_cast<double>(rng() >> 11), -53)};
        for (double f : fractions) {
            const double v = whole + f;
            ASSERT_EQ(RoundHalfEven(v), static_cast<int64_t>(std::nearbyint(v))) << v;
        }
    }
    EXPECT_EQ(RoundHalfEven(4503599627370497.0), 4503599627370497);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(-0.5), 0);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
}

}  // namespace
}  // namespace tumbleroo
