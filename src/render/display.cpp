// Software implementation of the display operations on RGB565 surfaces.
#include "render/display.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <utility>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "core/cell.h"
#include "platform/table_index.h"
#include "shell/game.h"

namespace tumbleroo {

namespace {

uint16_t Rgb565(uint32_t r, uint32_t g, uint32_t b) {
    return static_cast<uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
}

// The RGB colour a text or shape primitive was given, whichever form it came in.
uint32_t ResolveColour(uint32_t colour) {
    if (colour >= kPixelValueMarker) return PixelToColor(colour - kPixelValueMarker);
    return colour & 0xFFFFFF;
}

PixelValue ResolvePixel(uint32_t colour) {
    if (colour >= kPixelValueMarker) return (colour - kPixelValueMarker) & 0xFFFF;
    return ColorToPixel(colour);
}

void CopyRows(uint16_t* d, int32_t dStride, const uint16_t* s, int32_t sStride, int32_t w,
              int32_t h) {
    const size_t bytes = static_cast<size_t>(w) * sizeof(uint16_t);
    for (int32_t y = 0; y < h; ++y, d += dStride, s += sStride) std::memcpy(d, s, bytes);
}

// Rows of a width known when compiling become a few plain moves.
template <int32_t W>
void CopyRowsFixed(uint16_t* d, int32_t dStride, const uint16_t* s, int32_t sStride, int32_t h) {
    for (int32_t y = 0; y < h; ++y, d += dStride, s += sStride) {
        std::memcpy(d, s, W * sizeof(uint16_t));
    }
}

// One row of a keyed copy: every source pixel but the key replaces its
// destination pixel.
#ifdef __SSE2__
constexpr int32_t kLanes = 8;  // 16-bit pixels in one SSE2 register

void CopyRowKeyed(uint16_t* d, const uint16_t* s, int32_t w, uint16_t key) {
    const __m128i keys = _mm_set1_epi16(static_cast<short>(key));
    int32_t x = 0;
    for (; x + kLanes <= w; x += kLanes) {
        const __m128i sp = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + x));
        const __m128i transparent = _mm_cmpeq_epi16(sp, keys);
        const int mask = _mm_movemask_epi8(transparent);
        if (mask == 0xFFFF) continue;  // a run of key: nothing to do
        __m128i* dp = reinterpret_cast<__m128i*>(d + x);
        if (mask == 0) {  // a run of picture: plain copy
            _mm_storeu_si128(dp, sp);
            continue;
        }
        const __m128i under = _mm_and_si128(transparent, _mm_loadu_si128(dp));
        _mm_storeu_si128(dp, _mm_or_si128(under, _mm_andnot_si128(transparent, sp)));
    }
    for (; x < w; ++x) {
        if (s[x] != key) d[x] = s[x];
    }
}
#else
void CopyRowKeyed(uint16_t* d, const uint16_t* s, int32_t w, uint16_t key) {
    for (int32_t x = 0; x < w; ++x) {
        if (s[x] != key) d[x] = s[x];
    }
}
#endif

// One pass over pixels that lie end to end (a whole surface's rows): two
// pixels at a time through the C library's wide fill, which is vectorised.
void FillPixels(uint16_t* p, size_t count, uint16_t value) {
    static_assert(sizeof(wchar_t) == 2 * sizeof(uint16_t));
    if (reinterpret_cast<uintptr_t>(p) % alignof(wchar_t) != 0 && count > 0) {
        *p++ = value;
        --count;
    }
    const uint32_t pair = value | (uint32_t{value} << 16);
    std::wmemset(reinterpret_cast<wchar_t*>(p), static_cast<wchar_t>(pair), count / 2);
    if (count % 2 != 0) p[count - 1] = value;
}

void CopyRowsKeyed(uint16_t* d, int32_t dStride, const uint16_t* s, int32_t sStride, int32_t w,
                   int32_t h, uint16_t key) {
    for (int32_t y = 0; y < h; ++y, d += dStride, s += sStride) CopyRowKeyed(d, s, w, key);
}

// Destination columns of a scaled row that come from one stretch of the
// source: consecutive source columns (shrinking) or one repeated (growing).
struct ColumnRun {
    int32_t destX;
    int32_t srcX;
    int32_t length;
    bool repeated;
};

// Runs of (destination x, source x) pairs whose destination columns follow
// one another without gaps.
std::vector<ColumnRun> ColumnRuns(const std::vector<int32_t>& columns) {
    std::vector<ColumnRun> runs;
    const size_t n = columns.size() / 2;
    for (size_t i = 0; i < n;) {
        ColumnRun run{columns[2 * i], columns[2 * i + 1], 1, false};
        if (i + 1 < n) run.repeated = columns[2 * i + 3] == run.srcX;
        const int32_t step = run.repeated ? 0 : 1;
        while (i + AsIndex(run.length) < n &&
               columns[2 * (i + AsIndex(run.length)) + 1] == run.srcX + step * run.length) {
            ++run.length;
        }
        runs.push_back(run);
        i += static_cast<size_t>(run.length);
    }
    // Runs this short cost more than a plain pixel-by-pixel gather.
    constexpr size_t kShortestWorthwhile = 8;
    if (runs.size() * kShortestWorthwhile > n) runs.clear();
    return runs;
}

// Every column lands in turn: destination pixel i from the i-th pair's source x.
void GatherRow(uint16_t* drow, const uint16_t* srow, const std::vector<int32_t>& columns) {
    const int32_t* c = columns.data();
    const size_t n = columns.size() / 2;
    for (size_t i = 0; i < n; ++i) drow[i] = srow[c[2 * i + 1]];
}

void DrawScaledRow(uint16_t* drow, const uint16_t* srow, const std::vector<ColumnRun>& runs) {
    for (const ColumnRun& r : runs) {
        if (r.repeated) {
            std::fill_n(drow + r.destX, r.length, srow[r.srcX]);
        } else {
            std::memcpy(drow + r.destX, srow + r.srcX, static_cast<size_t>(r.length) * sizeof(uint16_t));
        }
    }
}

}  // namespace

bool InitDisplay(Game& game, int32_t width, int32_t height, bool, int32_t) {
    DisplayState& d = game.display;
    if (d.open) return false;
    if (!game.platform->OpenDisplay()) return false;
    d.BackBuffer = CreateBlankSurface(width, height);
    d.open = true;
    game.platform->TakePendingEvents();
    return true;
}

void ShutdownDisplay(Game& game) {
    DisplayState& d = game.display;
    if (!d.open) return;
    game.platform->CloseDisplay();
    d.open = false;
    ShowMouseCursor(game);
}

Surface CreateBlankSurface(int32_t width, int32_t height) {
    Surface s;
    if (width <= 0 || height <= 0) return s;
    s.width = width;
    s.height = height;
    s.pixels.assign(CellCount(width, height), 0);
    return s;
}

void CopyBitmapToSurface(Surface& surface, const RgbImage& picture) {
    int32_t w = std::min(surface.width, picture.width);
    int32_t h = std::min(surface.height, picture.height);
    for (int32_t y = 0; y < h; ++y) {
        const uint8_t* row = &picture.rgb[RowMajor(0, y, picture.width) * 3];
        for (int32_t x = 0; x < w; ++x) {
            surface.At(x, y) = Rgb565(row[3 * x], row[3 * x + 1], row[3 * x + 2]);
        }
    }
}

Surface CreateSurfaceFromPicture(const RgbImage& picture) {
    Surface s = CreateBlankSurface(picture.width, picture.height);
    if (!s.Exists()) return s;
    CopyBitmapToSurface(s, picture);
    SetColorKey(s, s.At(0, 0));
    return s;
}

void SetColorKey(Surface& surface, PixelValue key) {
    surface.hasColorKey = true;
    surface.colorKey = static_cast<uint16_t>(key & 0xFFFF);
}

int32_t BlitClipped(Surface& dest, int32_t dx, int32_t dy, int32_t w, int32_t h, int32_t limitW,
                    int32_t limitH, const Surface& src, int32_t sx, int32_t sy, int32_t srcLimitW,
                    int32_t srcLimitH, bool keyed) {
    // The clipping rule, step by step; each step works on what the steps
    // before it left.
    if (dx < 0) { w += dx; sx -= dx; dx = 0; }
    if (dy < 0) { h += dy; sy -= dy; dy = 0; }
    if (w < 1 || h < 1) return 0;
    if (limitW != 0 && dx + w > limitW) w = limitW - dx;
    if (limitH != 0 && dy + h > limitH) h = limitH - dy;
    if (w < 1 || h < 1) return 0;
    if (sx < 0) { w += sx; dx -= sx; sx = 0; }
    if (sy < 0) { h += sy; dy -= sy; sy = 0; }
    if (w < 1 || h < 1) return 0;
    if (srcLimitW != 0 && sx + w > srcLimitW) w = srcLimitW - sx;
    if (srcLimitH != 0 && sy + h > srcLimitH) h = srcLimitH - sy;
    if (w < 1 || h < 1) return 0;

    // The rule above leaves a rectangle inside both surfaces for every game
    // call; anything that would still reach outside memory is cut here.
    w = std::min({w, dest.width - dx, src.width - sx});
    h = std::min({h, dest.height - dy, src.height - sy});
    if (w < 1 || h < 1) return 0;

    const uint16_t* s = &src.pixels[RowMajor(sx, sy, src.width)];
    uint16_t* d = &dest.pixels[RowMajor(dx, dy, dest.width)];
    if (keyed && src.hasColorKey) {
        CopyRowsKeyed(d, dest.width, s, src.width, w, h, src.colorKey);
    } else if (w == kCellPixels) {  // the usual width of a copy: one map cell
        CopyRowsFixed<kCellPixels>(d, dest.width, s, src.width, h);
    } else {
        CopyRows(d, dest.width, s, src.width, w, h);
    }
    return 1;
}

int32_t DrawPicture(Game& game, const Surface& src, int32_t sx, int32_t sy, int32_t width,
                    int32_t height, int32_t dx, int32_t dy) {
    return BlitClipped(game.display.BackBuffer, dx, dy, width, height, kScreenWidth,
                       kScreenHeight, src, sx, sy, 0, 0, true);
}

int32_t StretchBlit(Surface& dest, int32_t dx, int32_t dy, int32_t dw, int32_t dh,
                    const Surface& src, int32_t sx, int32_t sy, int32_t sw, int32_t sh,
                    bool keyed) {
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return 0;
    if (!dest.Exists() || !src.Exists()) return 0;
    const bool useKey = keyed && src.hasColorKey;
    const uint16_t key = src.colorKey;
    // Only the destination pixels inside the destination surface are visited;
    // each maps back to a source pixel, which is skipped when it falls
    // outside the source surface.
    const int32_t x0 = std::max(dx, 0);
    const int32_t y0 = std::max(dy, 0);
    const int32_t x1 = static_cast<int32_t>(std::min<int64_t>(int64_t{dx} + dw, dest.width));
    const int32_t y1 = static_cast<int32_t>(std::min<int64_t>(int64_t{dy} + dh, dest.height));
    if (x0 >= x1 || y0 >= y1) return 0;
    // The source column of every destination column, worked out once
    // instead of once a pixel; columns from outside the source are dropped.
    std::vector<int32_t> columns;  // pairs: destination x, source x
    columns.reserve(static_cast<size_t>(x1 - x0) * 2);
    for (int32_t x = x0; x < x1; ++x) {
        const int64_t srcX = sx + (int64_t{x - dx} * sw) / dw;
        if (srcX < 0 || srcX >= src.width) continue;
        columns.push_back(x);
        columns.push_back(static_cast<int32_t>(srcX));
    }
    if (columns.empty()) return 0;
    // Unkeyed with every column inside the source, a row made from the same
    // source row as the one above is that row again: copy it whole.
    const bool rowsRepeat = !useKey && &dest != &src &&
                            columns.size() == static_cast<size_t>(x1 - x0) * 2;
    const std::vector<ColumnRun> runs = rowsRepeat ? ColumnRuns(columns) : std::vector<ColumnRun>{};
    int64_t lastSrcY = -1;
    int32_t drawn = 0;
    for (int32_t y = y0; y < y1; ++y) {
        const int64_t srcY = sy + (int64_t{y - dy} * sh) / dh;
        if (srcY < 0 || srcY >= src.height) {
            lastSrcY = -1;
            continue;
        }
        const uint16_t* srow = &src.pixels[RowMajor(0, srcY, src.width)];
        uint16_t* drow = &dest.pixels[RowMajor(0, y, dest.width)];
        if (rowsRepeat && srcY == lastSrcY) {
            std::memcpy(drow + x0, drow - dest.width + x0,
                        static_cast<size_t>(x1 - x0) * sizeof(uint16_t));
            lastSrcY = srcY;
            continue;
        }
        lastSrcY = srcY;
        if (rowsRepeat) {
            if (runs.empty()) {
                GatherRow(drow + x0, srow, columns);
            } else {
                DrawScaledRow(drow, srow, runs);
            }
            drawn = 1;
            continue;
        }
        for (size_t i = 0; i < columns.size(); i += 2) {
            const uint16_t p = srow[columns[i + 1]];
            if (useKey && p == key) continue;
            drow[columns[i]] = p;
            drawn = 1;
        }
    }
    return drawn;
}

int32_t ClearSurface(Surface& surface, PixelValue value) {
    if (!surface.Exists()) return 0;
    FillPixels(surface.pixels.data(), surface.pixels.size(), static_cast<uint16_t>(value & 0xFFFF));
    return 1;
}

int32_t FillSurfaceRect(Surface& surface, int32_t left, int32_t top, int32_t right,
                        int32_t bottom, PixelValue value) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, surface.width);
    bottom = std::min(bottom, surface.height);
    if (left >= right || top >= bottom) return 0;
    const uint16_t v = static_cast<uint16_t>(value & 0xFFFF);
    for (int32_t y = top; y < bottom; ++y) {
        uint16_t* row = &surface.pixels[RowMajor(0, y, surface.width)];
        std::fill(row + left, row + right, v);
    }
    return 1;
}

void FlipScreen(Game& game) {
    DisplayState& d = game.display;
    // The front buffer still holds the frame the last flip showed.
    const bool shownKept = d.FrontBuffer.pixels.size() == d.BackBuffer.pixels.size();
    game.platform->Present(d.BackBuffer.pixels.data(), shownKept ? d.FrontBuffer.pixels.data() : nullptr,
                           d.BackBuffer.width, d.BackBuffer.height);
    // A flip chain of two: the back buffer now holds the frame shown before.
    if (d.FrontBuffer.pixels.size() != d.BackBuffer.pixels.size()) {
        d.FrontBuffer = CreateBlankSurface(d.BackBuffer.width, d.BackBuffer.height);
    }
    std::swap(d.BackBuffer.pixels, d.FrontBuffer.pixels);
    ++game.run.flips;
    // Every animation and screen flips, so a request to end the program is
    // answered here wherever it comes; the top of the program tears down.
    if (game.platform->EndRequested()) throw ProgramEnded{};
}

PixelValue ColorToPixel(int64_t colour) {
    const uint32_t c = static_cast<uint32_t>(colour);
    return Rgb565(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

uint32_t PixelToColor(PixelValue value) {
    const uint32_t r5 = (value >> 11) & 0x1F;
    const uint32_t g6 = (value >> 5) & 0x3F;
    const uint32_t b5 = value & 0x1F;
    const uint32_t r = (r5 << 3) | (r5 >> 2);
    const uint32_t g = (g6 << 2) | (g6 >> 4);
    const uint32_t b = (b5 << 3) | (b5 >> 2);
    return r | (g << 8) | (b << 16);
}

PixelValue ReadPixel(const Surface& surface, int32_t x, int32_t y) {
    if (x < 0 || y < 0 || x >= surface.width || y >= surface.height) return 0;
    return surface.At(x, y) & 0xFFFF;
}

void HideMouseCursor(Game& game) {
    if (game.display.CursorHidden) return;
    game.platform->SetCursorVisible(false);
    game.display.CursorHidden = true;
}

void ShowMouseCursor(Game& game) {
    if (!game.display.CursorHidden) return;
    game.platform->SetCursorVisible(true);
    game.display.CursorHidden = false;
}

void SetFont(Surface& surface, const FontSpec& font) { surface.text.font = font; }
void SetForeColor(Surface& surface, uint32_t colour) { surface.text.foreColor = colour; }
void SetFillColor(Surface& surface, uint32_t colour) { surface.text.fillColor = colour; }

void SetFormFontSize(Game& game, int pointSize) {
    game.display.FormFont.pointSize = pointSize;
    SetFont(game.display.BackBuffer, game.display.FormFont);
}

void DrawText(Game& game, Surface& surface, int32_t x, int32_t y, const std::string& text) {
    if (text.empty() || !surface.Exists()) return;
    const FontSpec& f = surface.text.font;
    const int fontKey = f.pointSize * 4 + (f.bold ? 2 : 0) + (f.italic ? 1 : 0);
    auto key = std::make_pair(text, fontKey);
    auto it = game.display.glyphCache.find(key);
    if (it == game.display.glyphCache.end()) {
        if (game.display.glyphCache.size() > 512) game.display.glyphCache.clear();
        it = game.display.glyphCache.emplace(key, game.platform->RenderText(text, f)).first;
    }
    const GlyphBitmap& g = it->second;
    const uint32_t rgb = ResolveColour(surface.text.foreColor);
    const uint32_t fr = rgb & 0xFF, fg = (rgb >> 8) & 0xFF, fb = (rgb >> 16) & 0xFF;
    for (int32_t gy = 0; gy < g.height; ++gy) {
        const int32_t py = y + gy;
        if (py < 0 || py >= surface.height) continue;
        for (int32_t gx = 0; gx < g.width; ++gx) {
            const int32_t px = x + gx;
            if (px < 0 || px >= surface.width) continue;
            const uint32_t a = g.coverage[RowMajor(gx, gy, g.width)];
            if (a == 0) continue;
            uint16_t& dst = surface.At(px, py);
            if (a == 255) {
                dst = Rgb565(fr, fg, fb);
                continue;
            }
            const uint32_t under = PixelToColor(dst);
            const uint32_t ur = under & 0xFF, ug = (under >> 8) & 0xFF, ub = (under >> 16) & 0xFF;
            dst = Rgb565((fr * a + ur * (255 - a)) / 255, (fg * a + ug * (255 - a)) / 255,
                         (fb * a + ub * (255 - a)) / 255);
        }
    }
}

void DrawBox(Surface& surface, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    // Outlined in the fore colour, filled with the fill colour; the right and
    // bottom corners are outside the box.
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    if (x2 - x1 < 1 || y2 - y1 < 1) return;
    const PixelValue fill = ResolvePixel(surface.text.fillColor);
    const PixelValue pen = ResolvePixel(surface.text.foreColor);
    FillSurfaceRect(surface, x1, y1, x2, y2, fill);
    FillSurfaceRect(surface, x1, y1, x2, y1 + 1, pen);
    FillSurfaceRect(surface, x1, y2 - 1, x2, y2, pen);
    FillSurfaceRect(surface, x1, y1, x1 + 1, y2, pen);
    FillSurfaceRect(surface, x2 - 1, y1, x2, y2, pen);
}

void DrawLine(Surface& surface, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    // Bresenham; the end point itself is not drawn.
    const uint16_t pen = static_cast<uint16_t>(ResolvePixel(surface.text.foreColor));
    const int32_t ddx = std::abs(x2 - x1), ddy = -std::abs(y2 - y1);
    const int32_t stepX = x1 < x2 ? 1 : -1, stepY = y1 < y2 ? 1 : -1;
    int32_t err = ddx + ddy;
    int32_t x = x1, y = y1;
    while (x != x2 || y != y2) {
        if (x >= 0 && y >= 0 && x < surface.width && y < surface.height) surface.At(x, y) = pen;
        const int32_t e2 = 2 * err;
        if (e2 >= ddy) { err += ddy; x += stepX; }
        if (e2 <= ddx) { err += ddx; y += stepY; }
    }
}

}  // namespace tumbleroo
