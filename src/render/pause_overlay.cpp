#include "render/pause_overlay.h"

#include <algorithm>
#include <string>

#include "render/display.h"
#include "render/panel.h"
#include "shell/game.h"

namespace tumbleroo {

namespace {

constexpr const char* kPauseWord = "PAUSE";
constexpr const char* kHint = "P / Start: play on     Esc: leave";

// The panel, in 30-pixel frame pieces, in the middle of the screen.
constexpr int32_t kPiecePx = 30;
constexpr int32_t kPanelCols = 12;
constexpr int32_t kPanelRows = 5;
constexpr int32_t kPanelX = (kScreenWidth - kPiecePx * kPanelCols) / 2;
constexpr int32_t kPanelY = (kScreenHeight - kPiecePx * kPanelRows) / 2;
// The fill stops inside the frame pieces' rounded outer edge.
constexpr int32_t kFillInsetPx = 4;

constexpr int32_t kWordY = kPanelY + 22;
constexpr int32_t kHintY = kPanelY + 100;
constexpr int32_t kShadowPx = 3;

// The words in the bold italic Gothic of the menus, with a font of their
// own so that the screens' font is not changed.
constexpr FontSpec kWordFont{48, true, true};
constexpr FontSpec kHintFont{14, true, true};
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kShadow = 0x401010;  // dark blue, as RGB red + 256 green + 65536 blue
constexpr uint32_t kHintColour = 0x00FFFF;  // yellow

// Each RGB565 channel halved: the top bit of each channel's field is
// cleared after the shift.
constexpr uint16_t kHalfMask = 0x7BEF;

void DrawDimmed(Surface& back, const std::vector<uint16_t>& frame) {
    const size_t n = std::min(back.pixels.size(), frame.size());
    for (size_t i = 0; i < n; ++i) back.pixels[i] = static_cast<uint16_t>((frame[i] >> 1) & kHalfMask);
}

// Draws the text centred across the screen at row y, moved right by shift.
void DrawCentred(Game& game, Surface& back, const FontSpec& font, int32_t shift, int32_t y,
                 const char* text) {
    SetFont(back, font);
    const int32_t width = game.platform->RenderText(text, font).width;
    DrawText(game, back, (kScreenWidth - width) / 2 + shift, y, text);
}

}  // namespace

void DrawPauseOverlay(Game& game, const std::vector<uint16_t>& stageFrame) {
    Surface& back = game.display.BackBuffer;
    const SurfaceText kept = back.text;
    DrawDimmed(back, stageFrame);
    FillSurfaceRect(back, kPanelX + kFillInsetPx, kPanelY + kFillInsetPx,
                    kPanelX + kPiecePx * kPanelCols - kFillInsetPx,
                    kPanelY + kPiecePx * kPanelRows - kFillInsetPx, game.run.MenuBackPixel);
    DrawPanelFrame(game, kPanelX, kPanelY, kPanelCols, kPanelRows);

    SetForeColor(back, kShadow);
    DrawCentred(game, back, kWordFont, kShadowPx, kWordY + kShadowPx, kPauseWord);
    SetForeColor(back, kWhite);
    DrawCentred(game, back, kWordFont, 0, kWordY, kPauseWord);
    SetForeColor(back, kHintColour);
    DrawCentred(game, back, kHintFont, 0, kHintY, kHint);
    back.text = kept;
}

}  // namespace tumbleroo
