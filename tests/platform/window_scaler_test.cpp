// Putting frames into a window: every window pixel must be the frame pixel
// under its centre, in the colour the game's own conversion gives, with
// black bars around; after a change only the differing pixels are
// rewritten and the bands sent to the window system cover them tightly.
#include "platform/window_scaler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "platform/table_index.h"
#include "render/display.h"

namespace tumbleroo {
namespace {

constexpr int kW = kScaledFrameWidth;
constexpr int kH = kScaledFrameHeight;
constexpr PixelLayout kRgbx{16, 8, 0, 0};
constexpr PixelLayout kBgra{0, 8, 16, 0xFF000000u};

using Frame = std::vector<uint16_t>;

struct Window {
    int width;
    int height;
    // Rows padded, as window surfaces may be.
    int pitchPixels;
    std::vector<uint32_t> pixels;

    Window(int w, int h) : width(w), height(h), pitchPixels(w + 3), pixels(CellCount(w + 3, h), 0xDEADBEEF) {}
    WindowPixels View() {
        return WindowPixels{reinterpret_cast<uint8_t*>(pixels.data()),
                            pitchPixels * static_cast<int>(sizeof(uint32_t)), width, height};
    }
    uint32_t At(int x, int y) const { return pixels[RowMajor(x, y, pitchPixels)]; }
};

Frame RandomFrame(std::mt19937& rng) {
    Frame f(static_cast<size_t>(kW) * kH);
    for (uint16_t& p : f) p = static_cast<uint16_t>(rng());
    return f;
}

uint32_t InLayout(uint16_t pixel, const PixelLayout& layout) {
    const uint32_t rgb = PixelToColor(pixel);
    return ((rgb & 0xFF) << layout.redShift) | (((rgb >> 8) & 0xFF) << layout.greenShift) |
           (((rgb >> 16) & 0xFF) << layout.blueShift) | layout.alphaMask;
}

// The window pixel the plain definition gives: black outside the frame's
// rectangle, else the frame pixel under the window pixel's centre.
uint32_t Expected(const Frame& frame, const PixelRect& at, const PixelLayout& layout, int x, int y) {
    if (x < at.x || y < at.y || x >= at.x + at.w || y >= at.y + at.h) return layout.alphaMask;
    const int column = static_cast<int>((x - at.x + 0.5) * kW / at.w);
    const int row = static_cast<int>((y - at.y + 0.5) * kH / at.h);
    return InLayout(frame[RowMajor(column, row, kW)], layout);
}

// Counts the window pixels that differ from the plain definition.
int WrongPixels(const Window& window, const Frame& frame, const PixelRect& at, const PixelLayout& layout) {
    int wrong = 0;
    for (int y = 0; y < window.height; ++y) {
        for (int x = 0; x < window.width; ++x) wrong += window.At(x, y) != Expected(frame, at, layout, x, y);
    }
    return wrong;
}

struct Case {
    int width;
    int height;
    ScaleMode mode;
    PixelRect placement;
};

// 1x, 2x with bars, the 2.25x fill of a wide screen, 3x, 4x, odd sizes
// (odd bars, uneven stretch) and a window smaller than the frame.
const Case kCases[] = {
    {640, 480, ScaleMode::WholeFactor, {0, 0, 640, 480}},
    {1280, 1024, ScaleMode::WholeFactor, {0, 32, 1280, 960}},
    {1920, 1080, ScaleMode::WholeFactor, {320, 60, 1280, 960}},
    {1920, 1080, ScaleMode::Fill, {240, 0, 1440, 1080}},
    {1920, 1440, ScaleMode::WholeFactor, {0, 0, 1920, 1440}},
    {2563, 1925, ScaleMode::WholeFactor, {1, 2, 2560, 1920}},
    {1001, 777, ScaleMode::Fill, {0, 13, 1001, 750}},
    {1283, 967, ScaleMode::WholeFactor, {1, 3, 1280, 960}},
    {333, 250, ScaleMode::WholeFactor, {0, 0, 333, 249}},
};

TEST(FrameScaler, PlacementIsTheLargestWholeFactorOrTheLargestStretch) {
    for (const Case& c : kCases) {
        EXPECT_EQ(PlaceFrame(c.width, c.height, c.mode), c.placement) << c.width << "x" << c.height;
    }
    // The same placement whichever way the window is longer.
    EXPECT_EQ(PlaceFrame(1280, 2000, ScaleMode::Fill), (PixelRect{0, 520, 1280, 960}));
    EXPECT_EQ(PlaceFrame(1280, 2000, ScaleMode::WholeFactor), (PixelRect{0, 520, 1280, 960}));
}

TEST(FrameScaler, WholeFrameIsEveryPixelUnderItsCentreWithBlackBars) {
    std::mt19937 rng(7);
    for (const Case& c : kCases) {
        for (const PixelLayout& layout : {kRgbx, kBgra}) {
            const Frame frame = RandomFrame(rng);
            Window window(c.width, c.height);
            ScalePlan plan = MakeScalePlan(c.placement, layout);
            std::vector<PixelRect> bands;
            DrawFrame(plan, frame.data(), nullptr, window.View(), bands);
            EXPECT_EQ(WrongPixels(window, frame, c.placement, layout), 0) << c.width << "x" << c.height;
            EXPECT_EQ(bands, (std::vector<PixelRect>{{0, 0, c.width, c.height}}));
        }
    }
}

// Changes of every shape: single pixels at the edges and corners, short
// runs, a block, whole rows.
Frame Changed(const Frame& before, std::mt19937& rng, int round) {
    Frame after = before;
    auto touch = [&](int x, int y) { after[RowMajor(x, y, kW)] ^= static_cast<uint16_t>(1 + rng() % 0xFFFF); };
    switch (round % 4) {
        case 0:
            touch(0, 0);
            touch(kW - 1, kH - 1);
            touch(kW - 1, 0);
            break;
        case 1:
            for (int i = 0; i < 40; ++i) touch(static_cast<int>(rng() % kW), static_cast<int>(rng() % kH));
            break;
        case 2: {
            const int x0 = static_cast<int>(rng() % (kW - 50));
            const int y0 = static_cast<int>(rng() % (kH - 50));
            for (int y = y0; y < y0 + 1 + static_cast<int>(rng() % 49); ++y) {
                for (int x = x0; x < x0 + 1 + static_cast<int>(rng() % 49); ++x) touch(x, y);
            }
            break;
        }
        default:
            for (int y = 100; y < 103; ++y) {
                for (int x = 0; x < kW; ++x) touch(x, y);
            }
            break;
    }
    return after;
}

TEST(FrameScaler, ChangesRewriteTheDifferingPixelsAndBandsCoverThemTightly) {
    std::mt19937 rng(11);
    for (const Case& c : kCases) {
        Frame shown = RandomFrame(rng);
        Window window(c.width, c.height);
        ScalePlan plan = MakeScalePlan(c.placement, kBgra);
        std::vector<PixelRect> bands;
        DrawFrame(plan, shown.data(), nullptr, window.View(), bands);
        for (int round = 0; round < 8; ++round) {
            const Frame next = Changed(shown, rng, round);
            const Window before = window;
            DrawFrame(plan, next.data(), shown.data(), window.View(), bands);
            ASSERT_EQ(WrongPixels(window, next, c.placement, kBgra), 0) << c.width << "x" << c.height;
            // Every changed window pixel lies in a band; each band's edges
            // hold a changed pixel.
            std::vector<bool> covered(CellCount(c.width, c.height), false);
            for (const PixelRect& band : bands) {
                int left = band.x + band.w, right = band.x, top = band.y + band.h, bottom = band.y;
                for (int y = band.y; y < band.y + band.h; ++y) {
                    for (int x = band.x; x < band.x + band.w; ++x) {
                        covered[RowMajor(x, y, c.width)] = true;
                        if (window.At(x, y) == before.At(x, y)) continue;
                        left = std::min(left, x);
                        right = std::max(right, x + 1);
                        top = std::min(top, y);
                        bottom = std::max(bottom, y + 1);
                    }
                }
                // (A smaller window leaves some frame pixels out: a change
                // there may widen a band by pixels that stay the same.)
                if (c.placement.w < kW) continue;
                EXPECT_EQ((PixelRect{left, top, right - left, bottom - top}), band) << c.width << "x" << c.height;
            }
            for (int y = 0; y < c.height; ++y) {
                for (int x = 0; x < c.width; ++x) {
                    if (window.At(x, y) != before.At(x, y)) {
                        ASSERT_TRUE(covered[RowMajor(x, y, c.width)]) << x << "," << y;
                    }
                }
            }
            shown = next;
        }
        // The same frame again: nothing to send.
        DrawFrame(plan, shown.data(), shown.data(), window.View(), bands);
        EXPECT_TRUE(bands.empty());
    }
}

}  // namespace
}  // namespace tumbleroo
