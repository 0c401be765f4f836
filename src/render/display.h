// The display: the 640 x 480 back buffer the game draws every frame into,
// off-screen surfaces, the clipped and scaled copies, fills, colour
// conversion, the flip that shows a finished frame, and the text, box and
// line primitives the screens use. All drawing is done here in software;
// the platform only receives finished frames.
#pragma once

#include <cstdint>
#include <string>

#include "render/surface.h"

namespace tumbleroo {

struct Game;

inline constexpr int32_t kScreenWidth = 640;
inline constexpr int32_t kScreenHeight = 480;

bool InitDisplay(Game& game, int32_t width, int32_t height, bool fullScreen, int32_t bitsPerPixel);
void ShutdownDisplay(Game& game);

// A surface with every pixel 0 and no colour key.
Surface CreateBlankSurface(int32_t width, int32_t height);
// Copies a decoded picture in and keys the surface on its top-left pixel.
Surface CreateSurfaceFromPicture(const RgbImage& picture);
void CopyBitmapToSurface(Surface& surface, const RgbImage& picture);
void SetColorKey(Surface& surface, PixelValue key);

// Clipped unscaled copy; a limit of 0 means no limit on that side.
// Returns 0 when nothing was drawn, 1 otherwise.
int32_t BlitClipped(Surface& dest, int32_t dx, int32_t dy, int32_t width, int32_t height,
                    int32_t limitWidth, int32_t limitHeight, const Surface& src, int32_t sx,
                    int32_t sy, int32_t srcLimitWidth, int32_t srcLimitHeight, bool keyed);

// The usual game call: a keyed copy into the back buffer with the limits
// 640 x 480 and no source limit.
int32_t DrawPicture(Game& game, const Surface& src, int32_t sx, int32_t sy, int32_t width,
                    int32_t height, int32_t dx, int32_t dy);

// Scaled copy (nearest neighbour). Parts of either rectangle that lie
// outside their surface are left out; nothing outside memory is touched.
int32_t StretchBlit(Surface& dest, int32_t dx, int32_t dy, int32_t dw, int32_t dh,
                    const Surface& src, int32_t sx, int32_t sy, int32_t sw, int32_t sh,
                    bool keyed);

int32_t ClearSurface(Surface& surface, PixelValue value);
int32_t FillSurfaceRect(Surface& surface, int32_t left, int32_t top, int32_t right,
                        int32_t bottom, PixelValue value);

// Shows the back buffer; afterwards the back buffer holds the frame that was
// shown before. Counts the flip for the driver's frame limit. Throws
// ProgramEnded once the program was asked to end.
void FlipScreen(Game& game);

// RGB colour (red + 256 green + 65536 blue) to the display's pixel value.
PixelValue ColorToPixel(int64_t colour);
// The RGB colour a pixel value shows.
uint32_t PixelToColor(PixelValue value);
PixelValue ReadPixel(const Surface& surface, int32_t x, int32_t y);

void HideMouseCursor(Game& game);
void ShowMouseCursor(Game& game);

// Text and shape primitives of a surface.
void SetFont(Surface& surface, const FontSpec& font);
void SetForeColor(Surface& surface, uint32_t colour);
void SetFillColor(Surface& surface, uint32_t colour);
void DrawText(Game& game, Surface& surface, int32_t x, int32_t y, const std::string& text);
void DrawBox(Surface& surface, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
void DrawLine(Surface& surface, int32_t x1, int32_t y1, int32_t x2, int32_t y2);

// Hands the window's font to the back buffer with the given size.
void SetFormFontSize(Game& game, int pointSize);

}  // namespace tumbleroo
