// The lettered pictures: the title logo, the credit panel, the stage label
// of the status line, and the frame pieces of the menu panels.
#include <algorithm>
#include <cmath>
#include <string>

#include "lettering.h"
#include "palette.h"
#include "pictures.h"

namespace art {

namespace {

// Title letters take turns through these fill colours, light at the top.
struct LetterColours {
    Rgba top;
    Rgba bottom;
};
constexpr LetterColours kTitleColours[] = {
    {Opaque(255, 150, 120), kRed},
    {kYellowPale, kOrange},
    {kGreenLight, kGreen},
    {kSkyPale, kBlue},
    {Opaque(230, 170, 255), kPurple},
};
// How far each title letter hops down, so the name seems to tumble.
constexpr int kTitleHop[] = {0, 4, 6, 4, 0, 2, 5, 2, 0};

Image OutlinedLetters(const Mask& mask, Rgba top, Rgba bottom, int outline) {
    LetterStyle style;
    style.top = top;
    style.bottom = bottom;
    style.bands = 4;
    style.highlight = kWhite;
    style.outline = kInk;
    style.outlineWidth = outline;
    return RenderLettering(mask, style);
}

}  // namespace

Image BuildTitle() {
    const std::string name = "Tumbleroo";
    constexpr int kScale = 8;
    constexpr int kAdvanceGap = 1;
    Image logo = MakeImage(452, 76);
    std::vector<Image> letters;
    int total = 0;
    for (size_t i = 0; i < name.size(); ++i) {
        // No descenders in the name: keep the cap height only.
        Mask m = Thicken(KeepRows(Enlarge(TextMask(std::string(1, name[i]), Face::kRegular), kScale), 7 * kScale), 1, 0);
        const LetterColours& c = kTitleColours[i % std::size(kTitleColours)];
        Image letter = OutlinedLetters(m, c.top, c.bottom, 3);
        Outline(letter, kWhite);
        letters.push_back(letter);
        total += letter.width + kAdvanceGap;
    }
    total -= kAdvanceGap;
    constexpr int kShadow = 3;
    const int left = (452 - total - kShadow) / 2;
    int x = left;
    Image layer = MakeImage(452, 76);
    for (size_t i = 0; i < letters.size(); ++i) {
        Stamp(layer, letters[i], x, kTitleHop[i]);
        x += letters[i].width + kAdvanceGap;
    }
    // A soft purple drop shadow under the whole name.
    for (int y = 0; y < 76; ++y) {
        for (int px = 0; px < 452; ++px) {
            if (layer.At(px, y).a != 0) logo.Plot(px + kShadow, y + kShadow, Opaque(70, 40, 130));
        }
    }
    Stamp(logo, layer, 0, 0);
    // Twinkles round the name.
    const char* twinkle = R"(
....k....
...kwk...
...kYk...
.kkYwYkk.
kwYwwwYwk
.kkYwYkk.
...kYk...
...kwk...
....k....
)";
    const Palette p = {{'k', kInk}, {'w', kWhite}, {'Y', kYellow}};
    const int right = left + total + kShadow;
    const int spots[][2] = {{left - 15, 6}, {left - 11, 40}, {right + 2, 46}, {right + 5, 10}};
    for (const auto& s : spots) Stamp(logo, Grid(p, twinkle), s[0], s[1]);
    return Flatten(logo, kKeyBlack);
}

Image BuildNamePic() {
    constexpr int kW = 223;
    constexpr int kH = 99;
    constexpr int kCorner = 6;
    Image panel = MakeImage(kW, kH);
    // Blue gradient in bands, rounded corners, a light rim.
    const Rgba bands[] = {Opaque(120, 200, 255), Opaque(96, 176, 248), Opaque(76, 150, 236),
                          Opaque(60, 124, 220), Opaque(48, 100, 200), Opaque(38, 80, 178),
                          Opaque(30, 62, 156), Opaque(24, 48, 132)};
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            int cx = std::clamp(x, kCorner, kW - 1 - kCorner);
            int cy = std::clamp(y, kCorner, kH - 1 - kCorner);
            double dist = std::hypot(x - cx, y - cy);
            if (dist > kCorner + 0.3) continue;
            // Dither neighbouring bands on their boundary rows for a smoother ramp.
            int pos = y * 8 * 2 / kH;
            int band = pos / 2;
            if (pos % 2 == 1 && (x + y) % 2 == 0) band = std::min(7, band + 1);
            Rgba c = bands[band];
            if (dist > kCorner - 1.2 || x == 0 || y == 0 || x == kW - 1 || y == kH - 1) {
                c = kInk;
            } else if (dist > kCorner - 2.4 || x == 1 || y == 1 || x == kW - 2 || y == kH - 2) {
                c = kSkyPale;
            }
            panel.At(x, y) = c;
        }
    }
    // Twinkles scattered over the gradient.
    const int twinkles[][2] = {{14, 12}, {200, 16}, {30, 84}, {190, 80}, {110, 10}, {118, 88}};
    for (const auto& t : twinkles) {
        panel.Plot(t[0], t[1], kWhite);
        panel.Plot(t[0] - 1, t[1], kSkyPale);
        panel.Plot(t[0] + 1, t[1], kSkyPale);
        panel.Plot(t[0], t[1] - 1, kSkyPale);
        panel.Plot(t[0], t[1] + 1, kSkyPale);
    }
    const std::string name = "Pemko";
    std::vector<Image> letters;
    int total = 0;
    for (char ch : name) {
        Mask m = KeepRows(Enlarge(TextMask(std::string(1, ch), Face::kRegular), 6), 7 * 6);
        Image letter = OutlinedLetters(Thicken(m, 1, 1), kWhite, kYellow, 2);
        letters.push_back(letter);
        total += letter.width + 2;
    }
    total -= 2;
    Image word = MakeImage(total + 3, letters[0].height + 3);
    int x = 0;
    for (const Image& letter : letters) {
        for (int y = 0; y < letter.height; ++y) {
            for (int lx = 0; lx < letter.width; ++lx) {
                if (letter.At(lx, y).a != 0) word.Plot(x + lx + 3, y + 3, kBlueDark);
            }
        }
        x += letter.width + 2;
    }
    x = 0;
    for (const Image& letter : letters) {
        Stamp(word, letter, x, 0);
        x += letter.width + 2;
    }
    Stamp(panel, word, (kW - word.width) / 2, (kH - word.height) / 2);
    Image out = Flatten(panel, kNameKey);
    return out;
}

Image BuildStagePic() {
    Image pic = MakeImage(122, 61);
    LetterStyle style;
    style.top = kYellowPale;
    style.bottom = kOrange;
    style.bands = 3;
    style.highlight = kWhite;
    style.outline = kInk;
    style.outlineWidth = 1;
    style.shadow = kBrownDeep;
    style.shadowOffset = 1;
    Image word = RenderLettering(Thicken(Enlarge(TextMask("Stage", Face::kRegular), 3), 1, 0), style);
    Stamp(pic, Crop(word, 0, 0, std::min(85, word.width), 33 - 4), 2, 4);
    for (int d = 1; d <= 5; ++d) {
        Mask m = KeepRows(Enlarge(TextMask(std::string(1, static_cast<char>('0' + d)), Face::kRegular), 3), 21);
        Image digit = RenderLettering(Thicken(m, 1, 0), style);
        Stamp(pic, digit, (d - 1) * 20 + (20 - digit.width) / 2, 35 + 1);
    }
    Mask dash = KeepRows(Enlarge(TextMask("-", Face::kRegular), 3), 21);
    Image dashImg = RenderLettering(Thicken(dash, 1, 0), style);
    Stamp(pic, dashImg, 100 + (20 - dashImg.width) / 2, 35 + 1);
    return Flatten(pic, kKeyBlack);
}

namespace {

// Colours of the panel rim from its outer edge inwards.
constexpr Rgba kRimProfile[] = {
    kInk, Opaque(120, 170, 255), kSkyPale, Opaque(120, 170, 255), kBlue, kBlue, kBlueDark, kInk,
};
constexpr int kRimWidth = static_cast<int>(std::size(kRimProfile));
constexpr int kPiece = 30;
constexpr int kCornerRadius = 10;

// Distance of a pixel from the outer edge of a frame piece. Which outer edges
// the piece has is given as flags; corners are rounded.
double RimDistance(int x, int y, bool top, bool left, bool bottom, bool right) {
    double d = 1e9;
    if (top) d = std::min(d, static_cast<double>(y));
    if (left) d = std::min(d, static_cast<double>(x));
    if (bottom) d = std::min(d, static_cast<double>(kPiece - 1 - y));
    if (right) d = std::min(d, static_cast<double>(kPiece - 1 - x));
    // Round the outer corner when the piece has two meeting edges.
    int cx = -1, cy = -1;
    if (top && left) cx = kCornerRadius, cy = kCornerRadius;
    if (top && right) cx = kPiece - 1 - kCornerRadius, cy = kCornerRadius;
    if (bottom && left) cx = kCornerRadius, cy = kPiece - 1 - kCornerRadius;
    if (bottom && right) cx = kPiece - 1 - kCornerRadius, cy = kPiece - 1 - kCornerRadius;
    if (cx >= 0) {
        bool inCornerX = (left && x < cx) || (right && x > cx);
        bool inCornerY = (top && y < cy) || (bottom && y > cy);
        if (inCornerX && inCornerY) {
            d = kCornerRadius - std::hypot(x - cx, y - cy) + 0.35;
        }
    }
    return d;
}

Image FramePiece(bool top, bool left, bool bottom, bool right) {
    Image piece = MakeImage(kPiece, kPiece);
    for (int y = 0; y < kPiece; ++y) {
        for (int x = 0; x < kPiece; ++x) {
            double d = RimDistance(x, y, top, left, bottom, right);
            if (d < 0 || d >= kRimWidth) continue;
            piece.At(x, y) = kRimProfile[static_cast<int>(d)];
        }
    }
    // A gold stud on each corner piece.
    if ((top || bottom) && (left || right)) {
        int sx = left ? 3 : kPiece - 8;
        int sy = top ? 3 : kPiece - 8;
        const char* stud = R"(
.iii.
iyyoi
iyooi
iooGi
.iii.)";
        Palette p = {{'i', kInk}, {'y', kYellowPale}, {'o', kYellow}, {'G', kGold}};
        Stamp(piece, Grid(p, stud), sx, sy);
    }
    return piece;
}

}  // namespace

Image BuildPicture1() {
    Image pic = MakeImage(240, 30);
    // top edge, left edge, top-right, top-left, bottom-left, bottom-right, bottom edge, right edge
    const bool edges[8][4] = {
        {true, false, false, false}, {false, true, false, false}, {true, false, false, true},
        {true, true, false, false},  {false, true, true, false},  {false, false, true, true},
        {false, false, true, false}, {false, false, false, true},
    };
    for (int i = 0; i < 8; ++i) {
        Stamp(pic, FramePiece(edges[i][0], edges[i][1], edges[i][2], edges[i][3]), i * kPiece, 0);
    }
    return Flatten(pic, kKeyBlack);
}

}  // namespace art
