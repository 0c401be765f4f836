// SDL helpers shared by both platforms: picture decoding, text
// rasterising with the game's one font face, and PNG writing.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "platform/platform.h"

namespace tumbleroo {

bool DecodePng(const uint8_t* data, size_t size, RgbImage& out);
bool WriteRgbPng(const std::string& path, const RgbImage& image);

// Renders words in the proportional Gothic face at a point size of 96 dpi.
class TextRasterizer {
public:
    TextRasterizer();
    ~TextRasterizer();
    GlyphBitmap Render(const std::string& utf8, const FontSpec& font);
    // The face's file, found through fontconfig or else at the path known
    // when the game was built; empty when it is missing.
    const std::string& FontFile() const { return fontPath_; }

private:
    struct Face;
    std::map<int, std::unique_ptr<Face>> faces_;  // by pixel size
    std::string fontPath_;
    bool ready_ = false;
};

}  // namespace tumbleroo
