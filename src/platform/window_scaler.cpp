#include "platform/window_scaler.h"
#include "platform/table_index.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tumbleroo {
namespace {

constexpr int kFrameWidth = kScaledFrameWidth;
constexpr int kFrameHeight = kScaledFrameHeight;
// Frame pixels compared and widened at once (one 16-byte load).
constexpr int kBlock = 8;
// The difference mask of a block has two bits per pixel.
constexpr unsigned kBitsPerPixel = 2;
constexpr unsigned kWholeBlock = 0xFFFF;
// Pixels first compared together; a frame row is a whole number of runs.
constexpr int kRun = 4 * kBlock;
static_assert(kScaledFrameWidth % kRun == 0);
// Window pixels written with one store when stretching a row.
constexpr int kCopiesPerStore = 4;
// Each band is a request of its own to the window system, which then
// copies its pixels: two bands are sent as one when that adds no more
// than this many unchanged pixels (about what a request costs).
constexpr int64_t kBandMergeSlackPixels = 8192;

// Frame pixels [begin, end) of a row; empty when begin >= end.
struct Span {
    int begin = kFrameWidth;
    int end = 0;
    bool Empty() const { return begin >= end; }
    static constexpr int kPackedBits = static_cast<int>(kBitsPerPixel);
    static constexpr int kLastBit = 31;
    void Add(int x, unsigned differing) {
        if (Empty()) begin = x + std::countr_zero(differing) / kPackedBits;
        end = x + (kLastBit - std::countl_zero(differing)) / kPackedBits + 1;
    }
};

uint32_t* WindowRow(WindowPixels window, int y) {
    return reinterpret_cast<uint32_t*>(window.pixels + RowMajor(0, y, window.pitch));
}

bool Aligned(const void* at) { return reinterpret_cast<uintptr_t>(at) % 16 == 0; }

#if defined(__SSE2__)
// Two bits for each pixel of the block that differs from the shown one.
unsigned DifferingPixels(const uint16_t* in, const uint16_t* shown) {
    if (!shown) return kWholeBlock;
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(shown));
    return ~static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(a, b))) & kWholeBlock;
}

// Whether the run of blocks at `in` is unchanged: one test for four
// blocks, since most of a frame is usually as it was.
bool SameRun(const uint16_t* in, const uint16_t* shown) {
    if (!shown) return false;
    __m128i same = _mm_set1_epi8(-1);
    for (int i = 0; i < kRun; i += kBlock) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(shown + i));
        same = _mm_and_si128(same, _mm_cmpeq_epi16(a, b));
    }
    return static_cast<unsigned>(_mm_movemask_epi8(same)) == kWholeBlock;
}

// Four pixels at once: each channel widened by repeating its top bits (so
// white stays white).
__m128i Widen4(__m128i p, const PixelLayout& layout) {
    const __m128i r = _mm_and_si128(_mm_srli_epi32(p, 11), _mm_set1_epi32(0x1F));
    const __m128i g = _mm_and_si128(_mm_srli_epi32(p, 5), _mm_set1_epi32(0x3F));
    const __m128i b = _mm_and_si128(p, _mm_set1_epi32(0x1F));
    const __m128i r8 = _mm_or_si128(_mm_slli_epi32(r, 3), _mm_srli_epi32(r, 2));
    const __m128i g8 = _mm_or_si128(_mm_slli_epi32(g, 2), _mm_srli_epi32(g, 4));
    const __m128i b8 = _mm_or_si128(_mm_slli_epi32(b, 3), _mm_srli_epi32(b, 2));
    __m128i out = _mm_sll_epi32(r8, _mm_cvtsi32_si128(static_cast<int>(layout.redShift)));
    out = _mm_or_si128(out, _mm_sll_epi32(g8, _mm_cvtsi32_si128(static_cast<int>(layout.greenShift))));
    out = _mm_or_si128(out, _mm_sll_epi32(b8, _mm_cvtsi32_si128(static_cast<int>(layout.blueShift))));
    return _mm_or_si128(out, _mm_set1_epi32(static_cast<int>(layout.alphaMask)));
}

// The window surface is only written, never read back: aligned rows
// bypass the cache so the frame does not evict the game's data.
void Store(uint32_t* at, __m128i value, bool stream) {
    if (stream) {
        _mm_stream_si128(reinterpret_cast<__m128i*>(at), value);
    } else {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(at), value);
    }
}

struct WideBlock {
    __m128i left;
    __m128i right;
};

WideBlock WidenBlock(const uint16_t* in, const PixelLayout& layout) {
    const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
    const __m128i zero = _mm_setzero_si128();
    return {Widen4(_mm_unpacklo_epi16(p, zero), layout), Widen4(_mm_unpackhi_epi16(p, zero), layout)};
}

void StoreBlockOnce(const uint16_t* in, uint32_t* out, const PixelLayout& layout, bool stream) {
    const WideBlock w = WidenBlock(in, layout);
    Store(out, w.left, stream);
    Store(out + 4, w.right, stream);
}

// Each pixel twice, on both window rows.
void StoreBlockTwice(const uint16_t* in, uint32_t* upper, uint32_t* lower, const PixelLayout& layout,
                     bool stream) {
    const WideBlock w = WidenBlock(in, layout);
    const __m128i quarters[4] = {_mm_unpacklo_epi32(w.left, w.left), _mm_unpackhi_epi32(w.left, w.left),
                                 _mm_unpacklo_epi32(w.right, w.right), _mm_unpackhi_epi32(w.right, w.right)};
    for (int q = 0; q < 4; ++q) {
        Store(upper + 4 * q, quarters[q], stream);
        Store(lower + 4 * q, quarters[q], stream);
    }
}

void StoreCopies(uint32_t* at, uint32_t pixel) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(at), _mm_set1_epi32(static_cast<int>(pixel)));
}

void CopyOut(const uint32_t* row, uint32_t* out, int width) {
    const bool aligned = Aligned(out);
    int x = 0;
    for (; x + 4 <= width; x += 4) {
        Store(out + x, _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x)), aligned);
    }
    for (; x < width; ++x) out[x] = row[x];
}

void FinishStores() { _mm_sfence(); }
#else
// RGB565 to 8-bit channels, each widened by repeating its top bits (so
// white stays white).
uint32_t Widen(uint32_t p, const PixelLayout& layout) {
    const uint32_t r = (p >> 11) & 0x1F;
    const uint32_t g = (p >> 5) & 0x3F;
    const uint32_t b = p & 0x1F;
    return (((r << 3) | (r >> 2)) << layout.redShift) | (((g << 2) | (g >> 4)) << layout.greenShift) |
           (((b << 3) | (b >> 2)) << layout.blueShift) | layout.alphaMask;
}

unsigned DifferingPixels(const uint16_t* in, const uint16_t* shown) {
    if (!shown) return kWholeBlock;
    unsigned mask = 0;
    for (int i = 0; i < kBlock; ++i) {
        if (in[i] != shown[i]) mask |= 3u << (kBitsPerPixel * i);
    }
    return mask;
}

bool SameRun(const uint16_t* in, const uint16_t* shown) {
    return shown && std::memcmp(in, shown, kRun * sizeof(uint16_t)) == 0;
}

void StoreBlockOnce(const uint16_t* in, uint32_t* out, const PixelLayout& layout, bool) {
    for (int i = 0; i < kBlock; ++i) out[i] = Widen(in[i], layout);
}

void StoreBlockTwice(const uint16_t* in, uint32_t* upper, uint32_t* lower, const PixelLayout& layout, bool) {
    for (int i = 0; i < kBlock; ++i) {
        const uint32_t pixel = Widen(in[i], layout);
        upper[2 * i] = upper[2 * i + 1] = pixel;
        lower[2 * i] = lower[2 * i + 1] = pixel;
    }
}

void StoreCopies(uint32_t* at, uint32_t pixel) { std::fill_n(at, kCopiesPerStore, pixel); }

void CopyOut(const uint32_t* row, uint32_t* out, int width) {
    std::memcpy(out, row, static_cast<size_t>(width) * sizeof(uint32_t));
}

void FinishStores() {}
#endif

int64_t Area(const PixelRect& r) { return static_cast<int64_t>(r.w) * r.h; }

// Adds window rows [top, bottom) x columns [left, right) to the bands,
// merging it into the last band when their union is hardly larger.
void AddBand(std::vector<PixelRect>& bands, int top, int bottom, int left, int right) {
    const PixelRect added{left, top, right - left, bottom - top};
    if (!bands.empty()) {
        PixelRect& band = bands.back();
        const int l = std::min(band.x, left);
        const int r = std::max(band.x + band.w, right);
        const PixelRect both{l, band.y, r - l, bottom - band.y};
        if (Area(both) - Area(band) - Area(added) <= kBandMergeSlackPixels) {
            band = both;
            return;
        }
    }
    bands.push_back(added);
}

// Exactly one or two window pixels per frame pixel: the changed blocks
// are widened straight into the window rows.
template <int Factor>
void DrawWholeFactor(const ScalePlan& plan, const uint16_t* frame, const uint16_t* shown, WindowPixels window,
                     std::vector<PixelRect>& bands) {
    const PixelRect& at = plan.placement;
    for (int y = 0; y < kFrameHeight; ++y) {
        const uint16_t* in = frame + static_cast<size_t>(y) * kFrameWidth;
        const uint16_t* was = shown ? shown + static_cast<size_t>(y) * kFrameWidth : nullptr;
        uint32_t* upper = WindowRow(window, at.y + Factor * y) + at.x;
        uint32_t* lower = WindowRow(window, at.y + Factor * y + Factor - 1) + at.x;
        const bool stream = Aligned(upper) && Aligned(lower);
        Span span;
        // Changes come in stretches: after a changed run the next is
        // compared block by block straight away.
        bool lastRunChanged = false;
        for (int run = 0; run < kFrameWidth; run += kRun) {
            if (!lastRunChanged && SameRun(in + run, was ? was + run : nullptr)) continue;
            lastRunChanged = false;
            for (int x = run; x < run + kRun; x += kBlock) {
                const unsigned differing = DifferingPixels(in + x, was ? was + x : nullptr);
                if (differing == 0) continue;
                lastRunChanged = true;
                span.Add(x, differing);
                if constexpr (Factor == 1) {
                    StoreBlockOnce(in + x, upper + x, plan.layout, stream);
                } else {
                    StoreBlockTwice(in + x, upper + 2 * x, lower + 2 * x, plan.layout, stream);
                }
            }
        }
        if (span.Empty()) continue;
        AddBand(bands, at.y + Factor * y, at.y + Factor * (y + 1), at.x + Factor * span.begin,
                at.x + Factor * span.end);
    }
    FinishStores();
}

// The blocks of a frame row that differ, as runs of neighbouring blocks.
struct ChangedBlocks {
    Span exact;  // the differing pixels themselves
    int count = 0;
    std::array<Span, kFrameWidth / kBlock> runs;
};

// Widens the blocks of a frame row that differ into the plan's wide row.
void WidenChanges(ScalePlan& plan, const uint16_t* in, const uint16_t* was, ChangedBlocks& changed) {
    changed.exact = Span{};
    changed.count = 0;
    uint32_t* wide = plan.wideRow.data();
    for (int x = 0; x < kFrameWidth; x += kBlock) {
        const unsigned differing = DifferingPixels(in + x, was ? was + x : nullptr);
        if (differing == 0) continue;
        changed.exact.Add(x, differing);
        StoreBlockOnce(in + x, wide + x, plan.layout, false);
        if (changed.count > 0 && changed.runs[static_cast<size_t>(changed.count) - 1].end == x) {
            changed.runs[static_cast<size_t>(changed.count) - 1].end = x + kBlock;
        } else {
            changed.runs[static_cast<size_t>(changed.count++)] = Span{x, x + kBlock};
        }
    }
}

// Stretches the wide row's frame columns [begin, end) into the scaled
// row. Short runs: each frame pixel is stored kCopiesPerStore times at
// its run's start and the next pixel's store overwrites the excess (the
// scaled row has room for the last one's). Long runs: one window pixel
// at a time.
void StretchSpan(ScalePlan& plan, Span span) {
    const uint32_t* wide = plan.wideRow.data();
    uint32_t* out = plan.scaledRow.data();
    if (plan.longestRun > kCopiesPerStore) {
        const int end = plan.columnStart[static_cast<size_t>(span.end)];
        for (int x = plan.columnStart[static_cast<size_t>(span.begin)]; x < end; ++x) {
            out[x] = wide[plan.sourceColumn[static_cast<size_t>(x)]];
        }
        return;
    }
    for (int c = span.begin; c < span.end; ++c) StoreCopies(out + plan.columnStart[static_cast<size_t>(c)], wide[c]);
}

// Any other size: the changed blocks of a frame row are stretched once
// and copied to every window row that shows them.
void DrawStretched(ScalePlan& plan, const uint16_t* frame, const uint16_t* shown, WindowPixels window,
                   std::vector<PixelRect>& bands) {
    const PixelRect& at = plan.placement;
    ChangedBlocks changed;
    for (int y = 0; y < kFrameHeight; ++y) {
        const int top = plan.rowStart[static_cast<size_t>(y)];
        const int bottom = plan.rowStart[static_cast<size_t>(y) + 1];
        if (top == bottom) continue;
        WidenChanges(plan, frame + static_cast<size_t>(y) * kFrameWidth,
                     shown ? shown + static_cast<size_t>(y) * kFrameWidth : nullptr, changed);
        for (int i = 0; i < changed.count; ++i) {
            const Span run = changed.runs[static_cast<size_t>(i)];
            const int left = plan.columnStart[static_cast<size_t>(run.begin)];
            const int right = plan.columnStart[static_cast<size_t>(run.end)];
            if (left == right) continue;
            StretchSpan(plan, run);
            for (int row = top; row < bottom; ++row) {
                CopyOut(plan.scaledRow.data() + left, WindowRow(window, at.y + row) + at.x + left, right - left);
            }
        }
        const int left = plan.columnStart[static_cast<size_t>(changed.exact.begin)];
        const int right = changed.exact.Empty() ? left : plan.columnStart[static_cast<size_t>(changed.exact.end)];
        if (left < right) AddBand(bands, at.y + top, at.y + bottom, at.x + left, at.x + right);
    }
    FinishStores();
}

void FillRows(WindowPixels window, int top, int bottom, int left, int right, uint32_t value) {
    for (int y = top; y < bottom; ++y) std::fill(WindowRow(window, y) + left, WindowRow(window, y) + right, value);
}

// Everything outside the frame's rectangle.
void ClearBars(const ScalePlan& plan, WindowPixels window) {
    const PixelRect& at = plan.placement;
    const uint32_t black = plan.layout.alphaMask;
    FillRows(window, 0, at.y, 0, window.width, black);
    FillRows(window, at.y + at.h, window.height, 0, window.width, black);
    FillRows(window, at.y, at.y + at.h, 0, at.x, black);
    FillRows(window, at.y, at.y + at.h, at.x + at.w, window.width, black);
}

// For each of `count` frame lines, the first of the `size` window lines
// showing it or a later one (a window line shows the frame line its centre
// falls in), and `size` at the end.
std::vector<int> RunStarts(int count, int size) {
    std::vector<int> start(static_cast<size_t>(count) + 1, size);
    int line = 0;
    for (int i = 0; i < size; ++i) {
        const int64_t shows = (2 * static_cast<int64_t>(i) + 1) * count / (2 * static_cast<int64_t>(size));
        for (; line <= shows; ++line) start[static_cast<size_t>(line)] = i;
    }
    return start;
}

}  // namespace

PixelRect PlaceFrame(int windowWidth, int windowHeight, ScaleMode mode) {
    int w = std::max(windowWidth, 1);
    int h = std::max(windowHeight, 1);
    const int factor = std::min(w / kFrameWidth, h / kFrameHeight);
    if (mode == ScaleMode::WholeFactor && factor >= 1) {
        w = kFrameWidth * factor;
        h = kFrameHeight * factor;
    } else if (w * kFrameHeight <= h * kFrameWidth) {
        h = std::max(w * kFrameHeight / kFrameWidth, 1);
    } else {
        w = std::max(h * kFrameWidth / kFrameHeight, 1);
    }
    return PixelRect{(windowWidth - w) / 2, (windowHeight - h) / 2, w, h};
}

ScalePlan MakeScalePlan(PixelRect placement, PixelLayout layout) {
    ScalePlan plan;
    plan.placement = placement;
    plan.layout = layout;
    plan.columnStart = RunStarts(kFrameWidth, placement.w);
    plan.rowStart = RunStarts(kFrameHeight, placement.h);
    plan.sourceColumn.resize(static_cast<size_t>(placement.w));
    for (int c = 0; c < kFrameWidth; ++c) {
        const int begin = plan.columnStart[static_cast<size_t>(c)];
        const int end = plan.columnStart[static_cast<size_t>(c) + 1];
        std::fill(plan.sourceColumn.begin() + begin, plan.sourceColumn.begin() + end, c);
        plan.longestRun = std::max(plan.longestRun, end - begin);
    }
    plan.wideRow.assign(kFrameWidth, 0);
    plan.scaledRow.assign(static_cast<size_t>(placement.w) + kCopiesPerStore, 0);
    return plan;
}

void DrawFrame(ScalePlan& plan, const uint16_t* frame, const uint16_t* shown, WindowPixels window,
               std::vector<PixelRect>& bands) {
    bands.clear();
    if (!shown) ClearBars(plan, window);
    const PixelRect& at = plan.placement;
    if (at.w == kFrameWidth && at.h == kFrameHeight) {
        DrawWholeFactor<1>(plan, frame, shown, window, bands);
    } else if (at.w == 2 * kFrameWidth && at.h == 2 * kFrameHeight) {
        DrawWholeFactor<2>(plan, frame, shown, window, bands);
    } else {
        DrawStretched(plan, frame, shown, window, bands);
    }
    if (!shown) bands.assign(1, PixelRect{0, 0, window.width, window.height});
}

}  // namespace tumbleroo
