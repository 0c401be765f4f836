// Putting the game's 640 x 480 RGB565 frame into a window's 32-bit pixels:
// where the frame lies (a whole factor with black bars, or the largest 4:3
// stretch), nearest-neighbour scaling, and sending only what changed since
// the frame the window shows. Plain buffers only, so the SDL platform uses
// it and tests and benchmarks run it without a window.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/platform.h"

namespace tumbleroo {

inline constexpr int kScaledFrameWidth = 640;
inline constexpr int kScaledFrameHeight = 480;

// A rectangle of window pixels; right and bottom are x + w and y + h.
struct PixelRect {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
    bool operator==(const PixelRect&) const = default;
};

// Where the 8-bit channels sit in a 32-bit window pixel.
struct PixelLayout {
    uint32_t redShift = 16;
    uint32_t greenShift = 8;
    uint32_t blueShift = 0;
    uint32_t alphaMask = 0;
};

// A window's pixels: `height` rows of `width` 32-bit pixels, `pitch` bytes apart.
struct WindowPixels {
    uint8_t* pixels = nullptr;
    int pitch = 0;
    int width = 0;
    int height = 0;
};

// The frame's rectangle in the middle of a window. A whole factor needs a
// window of at least 640 x 480; a smaller one gets the 4:3 fit.
PixelRect PlaceFrame(int windowWidth, int windowHeight, ScaleMode mode);

// The tables for one placement and layout, and the scratch rows the
// stretch works in.
struct ScalePlan {
    PixelRect placement;
    PixelLayout layout;
    // Window columns (from the placement's left) at which each frame column's
    // run starts; the last entry is the placement's width. Same for rows.
    std::vector<int> columnStart;
    std::vector<int> rowStart;
    // The frame column each window column shows.
    std::vector<int> sourceColumn;
    int longestRun = 0;
    std::vector<uint32_t> wideRow;
    std::vector<uint32_t> scaledRow;
};

ScalePlan MakeScalePlan(PixelRect placement, PixelLayout layout);

// Draws `frame` into the window. With `shown` (the frame the window shows
// now) only the pixels that differ are written, and `bands` receives
// rectangles covering them, at most a few per frame; with nullptr the
// whole window is drawn, bars black, and `bands` is the whole window.
void DrawFrame(ScalePlan& plan, const uint16_t* frame, const uint16_t* shown, WindowPixels window,
               std::vector<PixelRect>& bands);

}  // namespace tumbleroo
