// Small RGBA images for composing the game's pictures: sprite grids with
// named palettes, copies, mirrors, recolours, and PNG reading and writing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace art {

// A size or position as a container index; callers have checked it is not negative.
inline size_t Index(int v) { return static_cast<size_t>(v); }
// The number of cells in a width x height grid.
inline size_t Area(int width, int height) { return Index(width) * Index(height); }
// The place of (x, y) in a grid stored row by row, width cells a row.
inline size_t GridIndex(int x, int y, int width) { return Index(y) * Index(width) + Index(x); }

struct Rgba {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    uint8_t a = 0;  // 0 transparent, anything else opaque
    bool operator==(const Rgba&) const = default;
};

constexpr Rgba Opaque(uint8_t r, uint8_t g, uint8_t b) { return {r, g, b, 255}; }
constexpr Rgba kClear{0, 0, 0, 0};

struct Image {
    int width = 0;
    int height = 0;
    std::vector<Rgba> pixels;

    Rgba& At(int x, int y) { return pixels[GridIndex(x, y, width)]; }
    const Rgba& At(int x, int y) const { return pixels[GridIndex(x, y, width)]; }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    // Sets a pixel when it lies inside the image; drawing code may run off the edges.
    void Plot(int x, int y, Rgba c) {
        if (Inside(x, y)) At(x, y) = c;
    }
};

// One character per pixel; '.' and ' ' are always transparent.
using Palette = std::map<char, Rgba>;

Image MakeImage(int width, int height, Rgba fill = kClear);
// Parses a grid of rows (blank leading and trailing lines ignored); every
// row must have the same length and use only characters of the palette.
Image Grid(const Palette& palette, std::string_view rows);
// Copies the opaque pixels of src with their top-left at (x, y).
void Stamp(Image& dst, const Image& src, int x, int y);
// Copies a rectangle of src, transparent pixels included.
Image Crop(const Image& src, int x, int y, int width, int height);
Image MirrorX(const Image& src);
Image MirrorY(const Image& src);
Image Recolour(const Image& src, const std::vector<std::pair<Rgba, Rgba>>& swaps);
// Draws a 1-pixel ring of `c` around every opaque pixel (8-neighbourhood).
void Outline(Image& img, Rgba c);
// Replaces transparency by a solid background colour.
Image Flatten(const Image& src, Rgba background);
Image ScaleNearest(const Image& src, int factor);

// Repeatable pseudo-random value in [0, 255] for a position and a seed.
uint32_t Hash(int x, int y, int seed);

bool SavePng(const Image& img, const std::string& path);
bool LoadPng(const std::string& path, Image& out);

}  // namespace art
