#include "render/window_icon.h"

#include <algorithm>

#include "platform/table_index.h"
#include "render/pictures.h"
#include "shell/game.h"

namespace tumbleroo {

namespace {

// CharPic's frames are 40 x 40; the third row faces the player, and the
// figure keeps to the frame's left 24 columns.
constexpr int kFramePx = 40;
constexpr int kFrontRow = 2;
constexpr int kFigureWidth = 24;
constexpr int kChannels = 3;

}  // namespace

void SetHeroWindowIcon(Game& game) {
    const std::span<const uint8_t> bytes = PictureBytes("CharPic");
    RgbImage sheet;
    if (!game.platform->DecodeImage(bytes.data(), bytes.size(), sheet)) return;
    if (sheet.width < kFramePx || sheet.height < kFramePx * (kFrontRow + 1)) return;
    const uint8_t* key = sheet.rgb.data();  // the sheet is keyed on its top-left pixel
    const uint32_t keyRgb = key[0] | (key[1] << 8) | (key[2] << 16);

    // The figure in the middle of a square, the rest the key colour.
    RgbImage icon{kFramePx, kFramePx, {}};
    icon.rgb.resize(static_cast<size_t>(kFramePx) * kFramePx * kChannels);
    for (size_t i = 0; i < icon.rgb.size(); i += kChannels) std::copy(key, key + kChannels, &icon.rgb[i]);
    const int shift = (kFramePx - kFigureWidth) / 2;
    for (int y = 0; y < kFramePx; ++y) {
        const uint8_t* from = &sheet.rgb[RowMajor(0, kFrontRow * kFramePx + y, sheet.width) * kChannels];
        uint8_t* to = &icon.rgb[(static_cast<size_t>(y) * kFramePx + shift) * kChannels];
        std::copy(from, from + kFigureWidth * kChannels, to);
    }
    game.platform->SetWindowIcon(icon, keyRgb);
}

}  // namespace tumbleroo
