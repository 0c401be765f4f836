// The game's pixel font and the lettering renderer.
#include "lettering.h"

#include <algorithm>
#include <map>
#include <stdexcept>
#include <string>

namespace art {

namespace {

// Regular face: 9 rows, the baseline under row 6, rows 7 and 8 for descenders.
const std::map<char, std::vector<std::string>>& RegularGlyphs() {
    static const std::map<char, std::vector<std::string>> glyphs = {
        {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#..", ".....", "....."}},
        {'S', {".###.", "#...#", "#....", ".###.", "....#", "#...#", ".###.", ".....", "....."}},
        {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####", ".....", "....."}},
        {'C', {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###.", ".....", "....."}},
        {'P', {"####.", "#...#", "#...#", "####.", "#....", "#....", "#....", ".....", "....."}},
        {'a', {"....", "....", ".##.", "...#", ".###", "#..#", ".###", "....", "...."}},
        {'b', {"#...", "#...", "###.", "#..#", "#..#", "#..#", "###.", "....", "...."}},
        {'d', {"...#", "...#", ".###", "#..#", "#..#", "#..#", ".###", "....", "...."}},
        {'e', {"....", "....", ".##.", "#..#", "####", "#...", ".###", "....", "...."}},
        {'f', {".##", "#..", "###", "#..", "#..", "#..", "#..", "...", "..."}},
        {'g', {"....", "....", ".###", "#..#", "#..#", "#..#", ".###", "...#", ".##."}},
        {'i', {"#", ".", "#", "#", "#", "#", "#", ".", "."}},
        {'k', {"#...", "#...", "#..#", "#.#.", "##..", "#.#.", "#..#", "....", "...."}},
        {'l', {"#", "#", "#", "#", "#", "#", "#", ".", "."}},
        {'m', {".....", ".....", "##.#.", "#.#.#", "#.#.#", "#.#.#", "#.#.#", ".....", "....."}},
        {'n', {"....", "....", "###.", "#..#", "#..#", "#..#", "#..#", "....", "...."}},
        {'o', {"....", "....", ".##.", "#..#", "#..#", "#..#", ".##.", "....", "...."}},
        {'r', {"....", "....", "#.##", "##..", "#...", "#...", "#...", "....", "...."}},
        {'t', {".#.", ".#.", "###", ".#.", ".#.", ".#.", "..#", "...", "..."}},
        {'u', {"....", "....", "#..#", "#..#", "#..#", "#..#", ".###", "....", "...."}},
        {'0', {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###.", ".....", "....."}},
        {'1', {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###.", ".....", "....."}},
        {'2', {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####", ".....", "....."}},
        {'3', {".###.", "#...#", "....#", "..##.", "....#", "#...#", ".###.", ".....", "....."}},
        {'4', {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#.", ".....", "....."}},
        {'5', {"#####", "#....", "####.", "....#", "....#", "#...#", ".###.", ".....", "....."}},
        {'6', {"..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###.", ".....", "....."}},
        {'7', {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#...", ".....", "....."}},
        {'8', {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###.", ".....", "....."}},
        {'9', {".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##..", ".....", "....."}},
        {'-', {"....", "....", "....", "####", "....", "....", "....", "....", "...."}},
        {' ', {"..", "..", "..", "..", "..", "..", "..", "..", ".."}},
    };
    return glyphs;
}

// Tall face: digits 5 x 11 and a colon, for the status line's coin counter.
const std::map<char, std::vector<std::string>>& TallGlyphs() {
    static const std::map<char, std::vector<std::string>> glyphs = {
        {'0', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
        {'1', {"..#..", ".##..", "#.#..", "..#..", "..#..", "..#..", "..#..", "..#..", "..#..", "..#..", "#####"}},
        {'2', {".###.", "#...#", "....#", "....#", "....#", "...#.", "..#..", ".#...", "#....", "#....", "#####"}},
        {'3', {".###.", "#...#", "....#", "....#", "....#", "..##.", "....#", "....#", "....#", "#...#", ".###."}},
        {'4', {"...#.", "..##.", "..##.", ".#.#.", ".#.#.", "#..#.", "#####", "...#.", "...#.", "...#.", "...#."}},
        {'5', {"#####", "#....", "#....", "#....", "####.", "....#", "....#", "....#", "....#", "#...#", ".###."}},
        {'6', {"..##.", ".#...", "#....", "#....", "####.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
        {'7', {"#####", "....#", "....#", "...#.", "...#.", "..#..", "..#..", "..#..", ".#...", ".#...", ".#..."}},
        {'8', {".###.", "#...#", "#...#", "#...#", ".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
        {'9', {".###.", "#...#", "#...#", "#...#", "#...#", ".####", "....#", "....#", "....#", "...#.", ".##.."}},
        {':', {".", ".", ".", "#", ".", ".", ".", "#", ".", ".", "."}},
    };
    return glyphs;
}

}  // namespace

Mask TextMask(std::string_view text, Face face) {
    const auto& glyphs = face == Face::kRegular ? RegularGlyphs() : TallGlyphs();
    int height = face == Face::kRegular ? 9 : 11;
    int width = 0;
    for (char ch : text) {
        auto it = glyphs.find(ch);
        if (it == glyphs.end()) throw std::runtime_error(std::string("no glyph for ") + ch);
        width += static_cast<int>(it->second[0].size()) + 1;
    }
    Mask mask;
    mask.width = std::max(0, width - 1);
    mask.height = height;
    mask.bits.assign(Area(mask.width, height), 0);
    int x0 = 0;
    for (char ch : text) {
        const auto& rows = glyphs.at(ch);
        for (int y = 0; y < height; ++y) {
            for (size_t x = 0; x < rows[Index(y)].size(); ++x) {
                if (rows[Index(y)][x] == '#') mask.Set(x0 + static_cast<int>(x), y);
            }
        }
        x0 += static_cast<int>(rows[0].size()) + 1;
    }
    return mask;
}

Mask Scale2x(const Mask& m) {
    Mask out;
    out.width = m.width * 2;
    out.height = m.height * 2;
    out.bits.assign(Area(out.width, out.height), 0);
    for (int y = 0; y < m.height; ++y) {
        for (int x = 0; x < m.width; ++x) {
            bool p = m.On(x, y);
            bool a = m.On(x, y - 1);
            bool b = m.On(x + 1, y);
            bool c = m.On(x - 1, y);
            bool d = m.On(x, y + 1);
            bool e0 = p, e1 = p, e2 = p, e3 = p;
            if (c == a && c != d && a != b) e0 = a;
            if (a == b && a != c && b != d) e1 = b;
            if (d == c && d != b && c != a) e2 = c;
            if (b == d && b != a && d != c) e3 = d;
            if (e0) out.Set(2 * x, 2 * y);
            if (e1) out.Set(2 * x + 1, 2 * y);
            if (e2) out.Set(2 * x, 2 * y + 1);
            if (e3) out.Set(2 * x + 1, 2 * y + 1);
        }
    }
    return out;
}

Mask Scale3x(const Mask& m) {
    Mask out;
    out.width = m.width * 3;
    out.height = m.height * 3;
    out.bits.assign(Area(out.width, out.height), 0);
    for (int y = 0; y < m.height; ++y) {
        for (int x = 0; x < m.width; ++x) {
            bool a = m.On(x - 1, y - 1), b = m.On(x, y - 1), c = m.On(x + 1, y - 1);
            bool d = m.On(x - 1, y), e = m.On(x, y), f = m.On(x + 1, y);
            bool g = m.On(x - 1, y + 1), h = m.On(x, y + 1), i = m.On(x + 1, y + 1);
            bool db = d == b && d != h && b != f;
            bool bf = b == f && b != d && f != h;
            bool dh = d == h && d != b && h != f;
            bool hf = h == f && d != h && b != f;
            bool px[9] = {
                db ? d : e,
                (db && e != c) || (bf && e != a) ? b : e,
                bf ? f : e,
                (db && e != g) || (dh && e != a) ? d : e,
                e,
                (bf && e != i) || (hf && e != c) ? f : e,
                dh ? d : e,
                (dh && e != i) || (hf && e != g) ? h : e,
                hf ? f : e,
            };
            for (int k = 0; k < 9; ++k) {
                if (px[k]) out.Set(3 * x + k % 3, 3 * y + k / 3);
            }
        }
    }
    return out;
}

Mask Enlarge(const Mask& mask, int factor) {
    Mask out = mask;
    while (factor % 3 == 0) {
        out = Scale3x(out);
        factor /= 3;
    }
    while (factor % 2 == 0) {
        out = Scale2x(out);
        factor /= 2;
    }
    return out;
}

Mask KeepRows(const Mask& mask, int rows) {
    Mask out = mask;
    out.height = std::min(rows, mask.height);
    out.bits.resize(Area(out.width, out.height));
    return out;
}

Mask Thicken(const Mask& mask, int rx, int ry) {
    Mask out;
    out.width = mask.width + 2 * rx;
    out.height = mask.height + 2 * ry;
    out.bits.assign(Area(out.width, out.height), 0);
    for (int y = 0; y < out.height; ++y) {
        for (int x = 0; x < out.width; ++x) {
            bool on = false;
            for (int dy = -ry; dy <= ry && !on; ++dy) {
                for (int dx = -rx; dx <= rx && !on; ++dx) on = mask.On(x - rx + dx, y - ry + dy);
            }
            if (on) out.Set(x, y);
        }
    }
    return out;
}

namespace {

Rgba Mix(Rgba a, Rgba b, int num, int den) {
    auto mix = [&](uint8_t p, uint8_t q) {
        return static_cast<uint8_t>((p * (den - num) + q * num) / den);
    };
    return Opaque(mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b));
}

}  // namespace

Image RenderLettering(const Mask& mask, const LetterStyle& style) {
    int pad = style.outlineWidth;
    Image img = MakeImage(mask.width + 2 * pad + style.shadowOffset, mask.height + 2 * pad + style.shadowOffset);
    // The outline ring: every pixel within outlineWidth of a stroke (rounded square).
    Mask ring;
    ring.width = img.width;
    ring.height = img.height;
    ring.bits.assign(Area(ring.width, ring.height), 0);
    for (int y = 0; y < img.height; ++y) {
        for (int x = 0; x < img.width; ++x) {
            for (int dy = -pad; dy <= pad && !ring.On(x, y); ++dy) {
                for (int dx = -pad; dx <= pad; ++dx) {
                    bool corner = pad > 1 && std::abs(dx) == pad && std::abs(dy) == pad;
                    if (!corner && mask.On(x - pad + dx, y - pad + dy)) {
                        ring.Set(x, y);
                        break;
                    }
                }
            }
        }
    }
    if (style.shadowOffset > 0) {
        for (int y = 0; y < img.height; ++y) {
            for (int x = 0; x < img.width; ++x) {
                if (ring.On(x - style.shadowOffset, y - style.shadowOffset)) img.At(x, y) = style.shadow;
            }
        }
    }
    for (int y = 0; y < img.height; ++y) {
        for (int x = 0; x < img.width; ++x) {
            if (ring.On(x, y)) img.At(x, y) = style.outline;
        }
    }
    int bands = std::max(1, style.bands);
    for (int y = 0; y < mask.height; ++y) {
        int band = y * bands / std::max(1, mask.height);
        Rgba fill = Mix(style.top, style.bottom, band, std::max(1, bands - 1));
        for (int x = 0; x < mask.width; ++x) {
            if (!mask.On(x, y)) continue;
            bool edgeAbove = !mask.On(x, y - 1);
            img.At(x + pad, y + pad) = (style.shine && edgeAbove) ? style.highlight : fill;
        }
    }
    return img;
}

}  // namespace art
