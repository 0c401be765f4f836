// Pixel lettering: a small hand-drawn font, enlarged with the Scale2x rule so
// diagonals and curves stay smooth, then filled, outlined and shadowed.
#pragma once

#include <string_view>
#include <vector>

#include "image.h"

namespace art {

struct Mask {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> bits;

    bool On(int x, int y) const {
        return x >= 0 && y >= 0 && x < width && y < height && bits[GridIndex(x, y, width)] != 0;
    }
    void Set(int x, int y) { bits[GridIndex(x, y, width)] = 1; }
};

enum class Face {
    kRegular,  // letters and digits, 7 rows above the baseline and 2 below
    kTall,     // digits 11 rows tall for the coin counter
};

// The text's pixels at 1x, one blank column between glyphs.
Mask TextMask(std::string_view text, Face face);
// Doubles the mask with the Scale2x rule, rounding corners and diagonals.
Mask Scale2x(const Mask& mask);
// Triples the mask with the Scale3x rule.
Mask Scale3x(const Mask& mask);
// Enlarges by a factor made of 2s and 3s through repeated Scale3x and Scale2x.
Mask Enlarge(const Mask& mask, int factor);
// The top `rows` rows of the mask, e.g. to drop the unused descender space.
Mask KeepRows(const Mask& mask, int rows);
// Grows every stroke by rx pixels sideways and ry pixels up and down; the
// mask grows by the same amounts on every side.
Mask Thicken(const Mask& mask, int rx, int ry);

struct LetterStyle {
    Rgba top;           // fill colour at the top of the letters
    Rgba bottom;        // fill colour at the bottom
    int bands = 4;      // the gradient is stepped in this many bands
    Rgba highlight;     // one-pixel shine along the upper edges of strokes
    bool shine = true;
    Rgba outline;
    int outlineWidth = 1;
    Rgba shadow;
    int shadowOffset = 0;  // drop shadow offset down-right, 0 for none
};

// Renders the mask with its outline and shadow; the image is larger than the
// mask by outlineWidth on every side plus the shadow offset at right/bottom.
Image RenderLettering(const Mask& mask, const LetterStyle& style);

}  // namespace art
