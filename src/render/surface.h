// Software surfaces in the display's 16-bit RGB565 format, and the text
// state the screens set on a surface before drawing words onto it.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/platform.h"
#include "platform/table_index.h"

namespace tumbleroo {

// A pixel value in the display's format (RGB565 in the low 16 bits).
using PixelValue = uint32_t;

// Colours handed to the text primitives either as an RGB colour
// (red + 256 green + 65536 blue) or as a pixel value plus this marker.
inline constexpr uint32_t kPixelValueMarker = 0x10000000;

struct SurfaceText {
    FontSpec font;
    uint32_t foreColor = 0;  // RGB or pixel value + marker
    uint32_t fillColor = 0;
};

struct Surface {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint16_t> pixels;  // row by row
    bool hasColorKey = false;
    uint16_t colorKey = 0;
    SurfaceText text;

    bool Exists() const { return width > 0 && height > 0; }
    uint16_t& At(int32_t x, int32_t y) { return pixels[RowMajor(x, y, width)]; }
    uint16_t At(int32_t x, int32_t y) const { return pixels[RowMajor(x, y, width)]; }
};

}  // namespace tumbleroo
