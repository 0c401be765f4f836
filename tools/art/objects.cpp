// ObjPictures: the 39 map and object sprites, 20 x 20 each, on black.
// Sprite grids use the letters of ObjectPalette: k ink, w white, 1-4 greys
// from light to dark, r/R red, p pink, o orange, y/Y/G yellow, pale yellow
// and gold, l/g/d greens, t/b/B/D tan and browns, s/c/u/U sky to deep blue,
// a/A cyan, v/V purple; '.' is transparent.
#include <cmath>
#include <cstdlib>

#include "palette.h"
#include "pictures.h"

namespace art {

namespace {

constexpr int kCell = 20;

const Palette& ObjectPalette() {
    static const Palette p = {
        {'k', kInk},      {'n', kNearBlack}, {'w', kWhite},       {'1', kGrey1},     {'2', kGrey2},
        {'3', kGrey3},    {'4', kGrey4},     {'r', kRed},         {'R', kRedDark},   {'p', kPink},
        {'o', kOrange},   {'y', kYellow},    {'Y', kYellowPale},  {'G', kGold},      {'l', kGreenLight},
        {'g', kGreen},    {'d', kGreenDark}, {'t', kTan},         {'b', kBrown},     {'B', kBrownDark},
        {'D', kBrownDeep}, {'s', kSkyPale},  {'c', kSky},         {'u', kBlue},      {'U', kBlueDark},
        {'a', kCyan},     {'A', kCyanDark},  {'v', kPurple},      {'V', kPurpleDark},
    };
    return p;
}

Image Sprite(std::string_view rows) { return Grid(ObjectPalette(), rows); }

// A sprite centred in a 20 x 20 cell, `dy` rows lower than centred.
Image InCell(const Image& sprite, int dy = 0) {
    Image cell = MakeImage(kCell, kCell);
    Stamp(cell, sprite, (kCell - sprite.width) / 2, (kCell - sprite.height) / 2 + dy);
    return cell;
}

const char* kCoin = R"(
.....kkkkkk.....
...kkYYYYyykk...
..kYYyyyyyyyyk..
.kYyyyyyyyyyyGk.
.kYyyykyykyyyGk.
kYyyyykyykyyyyGk
kYyyyykyykyyyyGk
kyyyyyyyyyyyyyGk
kyyykyyyyyykyyGk
kyyyykkkkkkyyyGk
kGyyyyyyyyyyyGGk
.kGyyyyyyyyyGGk.
.kGGyyyyyyyGGGk.
..kGGGyyyGGGGk..
...kkGGGGGGkk...
.....kkkkkk.....
)";

// The metal casing shared by conveyors, springs and sinking blocks.
Image MachineBlock(Rgba face, Rgba light, Rgba dark) {
    Image b = MakeImage(kCell, kCell);
    for (int y = 0; y < kCell; ++y) {
        for (int x = 0; x < kCell; ++x) {
            Rgba c = face;
            if (x == 1 || y == 1) c = light;
            if (x == kCell - 2 || y == kCell - 2) c = dark;
            if (x == 0 || y == 0 || x == kCell - 1 || y == kCell - 1) c = kInk;
            b.At(x, y) = c;
        }
    }
    for (int cy : {3, kCell - 4}) {
        for (int cx : {3, kCell - 4}) {
            b.At(cx, cy) = kWhite;
            b.At(cx + 1, cy) = dark;
            b.At(cx, cy + 1) = dark;
        }
    }
    return b;
}

// A conveyor: casing with a dark belt window whose chevrons run one way.
Image Conveyor(bool toRight, int phase, Rgba chevronA, Rgba chevronB) {
    Image b = MachineBlock(kGrey2, kGrey1, kGrey3);
    const int top = 6, bottom = 13;
    for (int y = top; y <= bottom; ++y) {
        for (int x = 2; x <= kCell - 3; ++x) b.At(x, y) = kGrey4;
    }
    for (int x = 2; x <= kCell - 3; ++x) {
        b.At(x, top - 1) = kInk;
        b.At(x, bottom + 1) = kInk;
    }
    // Chevrons every 6 pixels; the second blink phase moves them 3 pixels on.
    for (int y = top; y <= bottom; ++y) {
        int rise = y <= (top + bottom) / 2 ? y - top : bottom - y;  // 0..3
        for (int x = 2; x <= kCell - 3; ++x) {
            int along = toRight ? x - rise - phase * 3 : x + rise + phase * 3;
            int k = ((along % 6) + 6) % 6;
            if (k < 2) b.At(x, y) = (((along - k) / 6) % 2 == 0) ? chevronA : chevronB;
        }
    }
    return b;
}

const char* kArrowUp = R"(
....yy....
...yYyy...
..yYyyyy..
.yYyyyyyy.
yyyyyyyyyy
...yYyy...
...yYyy...
...yyyy...
...yyGy...
)";

Image ArrowBlock(bool up, Rgba face, Rgba light, Rgba dark, Rgba arrow, Rgba arrowLight, Rgba arrowDark) {
    Image b = MachineBlock(face, light, dark);
    Image a = Recolour(Sprite(kArrowUp), {{kYellow, arrow}, {kYellowPale, arrowLight}, {kGold, arrowDark}});
    if (!up) a = MirrorY(Recolour(a, {{arrowLight, arrow}}));
    Outline(a, kInk);
    Stamp(b, a, (kCell - a.width) / 2, (kCell - a.height) / 2);
    return b;
}

// Two steel spikes on a wall plate, pointing left.
Image SpikeLeft() {
    Image s = MakeImage(kCell, kCell);
    for (int y = 0; y < kCell; ++y) {
        for (int x = 14; x < kCell; ++x) {
            Rgba c = (x == 14 || y == 0 || y == kCell - 1 || x == kCell - 1) ? kInk : (x == 15 ? kGrey1 : kGrey3);
            s.At(x, y) = c;
        }
    }
    s.At(17, 3) = kGrey1;
    s.At(17, 16) = kGrey1;
    for (int i = 0; i < 2; ++i) {
        double cy = 5.0 + 10 * i;
        for (int y = 0; y < kCell; ++y) {
            for (int x = 0; x < 15; ++x) {
                double half = 4.9 * x / 14.0;
                double off = y + 0.5 - cy;
                if (std::abs(off) > half + 0.35) continue;
                Rgba c = off < 0 ? kGrey1 : kGrey2;
                if (off < 0 && off > -half * 0.45) c = kWhite;
                if (off > half * 0.5) c = kGrey3;
                if (std::abs(off) > half - 0.75 || x == 0) c = kInk;
                s.Plot(x, y, c);
            }
        }
    }
    return s;
}

// A drill bit hanging from a ceiling plate, turning point down.
Image DrillDown() {
    Image d = MakeImage(kCell, kCell);
    for (int y = 0; y < 5; ++y) {
        for (int x = 1; x < kCell - 1; ++x) {
            Rgba c = (y == 0 || y == 4 || x == 1 || x == kCell - 2) ? kInk : (y == 1 ? kGrey1 : kGrey3);
            d.At(x, y) = c;
        }
    }
    for (int y = 5; y < kCell; ++y) {
        double half = 7.0 * (kCell - 1 - y) / 14.0;
        for (int x = 0; x < kCell; ++x) {
            double off = x - 9.5;
            if (std::abs(off) > half + 0.5) continue;
            Rgba c = (((x + y) / 3) % 2 == 0) ? kGrey1 : kGrey2;
            if (off > half * 0.3) c = (((x + y) / 3) % 2 == 0) ? kGrey2 : kGrey3;
            if (std::abs(off) > half - 0.6) c = kInk;
            d.At(x, y) = c;
        }
    }
    d.At(9, 19) = kInk;
    d.At(10, 19) = kInk;
    return d;
}

const char* kIceSpikes = R"(
.........kk.........
.........kwk........
........kwak........
........kwak........
...kk...kwaAk...kk..
...kwk.kwwaAk..kwk..
..kwak.kwaaAk..kwak.
..kwaAkkwaaAAk.kwak.
..kwaAkwwaaaAkkwaaAk
.kwaaAkwaaaaAkkwaaAk
.kwaaAkwaaaaAAkwaaAk
.kwaaAAwaaaaaAkwaaAk
kwsaaAkwaaaaaAAwaaAk
kwaaaAkwsaaaaaAwsaAk
kwaaaAAwaaaaaaAwaaAA
kwsaaaAwaaasaaAwaaaA
kAAAAAAAAAAAAAAAAAAk
k1111111111111111111
k3333333333333333333
kkkkkkkkkkkkkkkkkkkk
)";

// A lift: a striped deck on a steel truss.
const char* kShelf = R"(
kkkkkkkkkkkkkkkkkkkk
kYYYYYYYYYYYYYYYYYYk
kyyykkyyykkyyykkyyyk
kyykkyyykkyyykkyyyGk
kykkyyykkyyykkyyykGk
kGGGGGGGGGGGGGGGGGGk
kkkkkkkkkkkkkkkkkkkk
.k11k........k11k...
.k12kk......kk12k...
.k122kk....kk122k...
.k12k2kk..kk2k22k...
.k12kk2kkkk2kk22k...
.k12k.kk22kk.k22k...
.k12k..k22k..k22k...
.k12k.kk22kk.k22k...
.k12kk2kkkk2kk22k...
.k12k2kk..kk2k22k...
.k122kk....kk122k...
.k13kk......kk13k...
.kkkk........kkkk...
)";

// One ladder section; rungs every 5 rows so sections stack seamlessly.
Image Ladder() {
    Image l = MakeImage(kCell, kCell);
    for (int y = 0; y < kCell; ++y) {
        for (int x : {2, 16}) {
            l.At(x, y) = kInk;
            l.At(x + 1, y) = kTan;
            l.At(x + 2, y) = kBrown;
            l.At(x + 3, y) = kInk;
        }
        if (y % 5 == 2) {
            for (int x = 6; x < 16; ++x) {
                l.At(x, y - 1) = kInk;
                l.At(x, y) = kTan;
                l.At(x, y + 1) = kBrownDark;
                l.At(x, y + 2) = kInk;
            }
        }
    }
    return l;
}

// Water colour at a pixel, repeating every 20 pixels both ways.
Rgba WaterAt(int x, int y) {
    int wave = (x + 2 * (y / 5)) % 10;
    bool glint = (y % 10 == 3 && wave < 3) || (y % 10 == 8 && (wave + 5) % 10 < 2);
    if (glint) return kSky;
    return kBlue;
}

Image WaterBody() {
    Image w = MakeImage(kCell, kCell);
    for (int y = 0; y < kCell; ++y) {
        for (int x = 0; x < kCell; ++x) w.At(x, y) = WaterAt(x, y);
    }
    return w;
}

Image WaterSurface() {
    Image w = MakeImage(kCell, kCell);
    for (int x = 0; x < kCell; ++x) {
        double crest = 4.0 + 1.5 * std::sin(x * 2.0 * M_PI / kCell);
        int top = static_cast<int>(std::lround(crest));
        for (int y = top; y < kCell; ++y) {
            Rgba c = WaterAt(x, y);
            if (y == top) c = kWhite;
            if (y == top + 1) c = kSkyPale;
            if (y == top + 2) c = kSky;
            w.At(x, y) = c;
        }
    }
    return w;
}

const char* kChest = R"(
....................
..kkkkkkkkkkkkkkkk..
.kbttttttttttttttbk.
.kbtbbbbbbbbbbbbtbk.
.kBbbbbbbbbbbbbbbBk.
.kBBBBBBBBBBBBBBBBk.
.kkkkkkkkkkkkkkkkkk.
.kYyykbbbkkbbbkyyYk.
.kyyGkbbkYykbbkyyGk.
.kbbbkbbkyGkbbkbbbk.
.kbbbkbbbkkbbbkbbbk.
.kbbbkbbbbbbbbkbbbk.
.kBBBkbbbbbbbbkBBBk.
.kyyGkBBBBBBBBkyyGk.
.kGGGkBBBBBBBBkGGGk.
.kkkkkkkkkkkkkkkkkk.
....................
)";

const char* kStar = R"(
........kk........
.......kYYk.......
.......kYyk.......
......kYyyyk......
......kYyyyk......
kkkkkkYyyyyykkkkkk
kYYYYYyyyyyyyyyyGk
.kYyyyykyykyyyyGk.
..kyyyykyykyyyGk..
...kyyyyyyyyyGk...
....kyyyyyyyyk....
....kyyyyyyyyk....
...kyyyyyGyyyyk...
...kyyyGkkGyyyk...
..kyyGkk..kkGyGk..
..kyGk......kGGk..
.kGkk........kkGk.
.kk............kk.
)";

const char* kCloud = R"(
.....kkk........
..kkk111kk......
.k1111ww11kkk...
k1ww111111111k..
k1w11111111122k.
.k111111111222k.
..kk22222222kk..
....kkkkkkkk....
)";

const char* kSponge = R"(
kkkkkkkkkkkkkkkk
kYYYYYYYYYYYYYYk
kYyyyyyyyyyGyyGk
kYyGGyyyyyyyyyGk
kYyGGyyyyGGyyyGk
kYyyyyyyyGGyyyGk
kYyyyGyyyyyyyyGk
kYyyyyyyyyyyGyGk
kYyyyyyGGyyyyyGk
kYyGyyyGGyyyyyGk
kYyyyyyyyyyGGyGk
kYyyyGGyyyyGGyGk
kYyyyGGyyyyyyyGk
kYyyyyyyyGyyyyGk
kGGGGGGGGGGGGGGk
kkkkkkkkkkkkkkkk
)";

// Blue penguin walking right, two steps.
const char* kPenguinA = R"(
.....kkkkkk......
...kkUUUUUUkk....
..kUUuuuuuuuUk...
..kUuuuuuwwwuk...
.kUuuuuuwwkwwk...
.kUuuuuuwwkwwkk..
.kUuuuuwwwwwwooo.
.kUuuuwwwwwwkook.
kUuuuuwwwwwwwkk..
kUuuUUwwwwwwwk...
kUuUkUwwwwwwwk...
kUuUkUwwwwwwsk...
kUUUkUwwwwwwsk...
.kUUUwwwwwwssk...
.kUUUUwwwssskk...
..kkUUUUUUUk.....
...koook.kooo....
...kkkkk.kkkkk...
)";

const char* kPenguinB = R"(
.....kkkkkk......
...kkUUUUUUkk....
..kUUuuuuuuuUk...
..kUuuuuuwwwuk...
.kUuuuuuwwkwwk...
.kUuuuuuwwkwwkk..
.kUuuuuwwwwwwooo.
.kUuuuwwwwwwkook.
kUuuuuwwwwwwwkk..
kUuuUUwwwwwwwk...
kUuUkkwwwwwwwk...
kUuUUkwwwwwwsk...
kUUUUkwwwwwwsk...
.kUUUwwwwwwssk...
.kUUUUwwwssskk...
..kkUUUUUUUk.....
....kooook.......
....kkkkkkk......
)";

// A flame flickering in four frames.
const char* kFlames[4] = {
    R"(
.......k......
......kok.....
......koyk....
.....koyyk....
....kooyyok...
...kooyYyok...
..kooyYYYyok..
..kroyYwYyok..
.kroyyYwwYyok.
.kroyYwwwYyok.
.krooyYwYyork.
..krooyyyork..
...krrooork...
....kkkkkk....
)",
    R"(
......k.......
.....kok......
....kyok......
....kyyok.....
...koyyook....
...koyYyook...
..koyYYYyook..
..koyYwYyork..
.koyYwwYyyork.
.koyYwwwYyork.
.kroyYwYyoork.
..kroyyyoork..
...kroooorrk..
....kkkkkk....
)",
    R"(
..............
.......kk.....
......kok.....
.....kooyk....
....kooyyok...
...kooyYyyok..
..kooyYYYyok..
..kroyYwYyok..
.kroyyYwwYyok.
.kroyYwwwYyok.
.krooyYwYyork.
..krooyyyork..
...krrooork...
....kkkkkk....
)",
    R"(
.....k........
....kok.......
....kyok......
...koyyok.....
...koyyyok....
..kooyYyyok...
..koyYYYyook..
.koyYwYYyork..
.koyYwwYyyork.
.kroyYwwwYyok.
.kroyYwYyoork.
..kroyyyoork..
...kroooorrk..
....kkkkkk....
)",
};

// The bounce block: a red cap on a steel coil over a dark base, so it never
// reads as a cloud.
const char* kSpringPad = R"(
.....kkkkkkkk.....
...kkrppprrrrkk...
..krppwprrrrrRRk..
.krrrprrrrrrrrRRk.
kRRRRRRRRRRRRRRRRk
.kkkkkkkkkkkkkkkk.
.....k1111112k....
....k22222223k....
.....k1111112k....
....k22222223k....
.....k1111112k....
..kkkkkkkkkkkkkk..
..k444444444444k..
..kkkkkkkkkkkkkk..
)";

const char* kBar = R"(
kkkkkkkkkkkkkkkkkkkk
tttttttttttttttttttt
bbbtbbbbbbbbbtbbbbbb
bbbbbbBbbbbbbbbbbBbb
BBBBBBBBBBBBBBBBBBBB
kkkkkkkkkkkkkkkkkkkk
)";

// Rollers of the sliding floor; the shine turns between the two phases.
Image Rollers(int phase) {
    Image r = MakeImage(kCell, kCell);
    for (int y = 0; y < kCell; ++y) {
        for (int x = 0; x < kCell; ++x) {
            if (y >= 10) {
                Rgba c = y == 10 ? kInk : (y == 11 ? kGrey2 : kGrey3);
                if (y == kCell - 1) c = kInk;
                if (y > 11 && y < kCell - 1 && (x % 5) == 0) c = kGrey4;
                r.At(x, y) = c;
            }
        }
    }
    for (int i = 0; i < 2; ++i) {
        double cx = 4.5 + 10 * i;
        double cy = 6.0;
        for (int y = 0; y < kCell; ++y) {
            for (int x = 0; x < kCell; ++x) {
                double d = std::hypot(x - cx, y - cy);
                if (d > 5.2) continue;
                double angle = std::atan2(y - cy, x - cx) + phase * M_PI / 2;
                Rgba c = (std::sin(angle * 2) > 0) ? kGrey1 : kGrey2;
                if (d < 1.6) c = kGrey3;
                if (d > 4.2) c = kInk;
                r.At(x, y) = c;
            }
        }
        r.Plot(static_cast<int>(cx) - 2, static_cast<int>(cy) - 2, kWhite);
    }
    return r;
}

Image CoinOf(Rgba body, Rgba light, Rgba shade) {
    return InCell(Recolour(Sprite(kCoin), {{kYellow, body}, {kYellowPale, light}, {kGold, shade}}));
}

Image StarOf(Rgba body, Rgba light, Rgba shade) {
    return InCell(Recolour(Sprite(kStar), {{kYellow, body}, {kYellowPale, light}, {kGold, shade}}));
}

// The star carrier: its star rides on a deep blue disc with a pale rim, a
// round token where the bouncing star is a bare star.
Image CarrierBadge() {
    constexpr double kCentre = kCell / 2.0, kRadius = 9.6, kRim = 1.4;
    Image badge = MakeImage(kCell, kCell);
    for (int y = 0; y < kCell; ++y) {
        for (int x = 0; x < kCell; ++x) {
            const double d = std::hypot(x + 0.5 - kCentre, y + 0.5 - kCentre);
            if (d < kRadius) badge.At(x, y) = d > kRadius - kRim ? kSkyPale : kBlueDark;
        }
    }
    Image star = Recolour(Sprite(kStar), {{kYellow, kCyan}, {kYellowPale, kWhite}, {kGold, kCyanDark}});
    Stamp(badge, star, (kCell - star.width) / 2, (kCell - star.height) / 2);
    return badge;
}

// The second step sits a pixel lower, so the walk waddles.
Image Penguin(const char* grid, bool right, bool red) {
    Image p = Sprite(grid);
    if (red) p = Recolour(p, {{kBlue, kRed}, {kBlueDark, kRedDark}, {kOrange, kYellow}});
    if (!right) p = MirrorX(p);
    return InCell(p, grid == kPenguinA ? 0 : 1);
}

}  // namespace

Image BuildObjPictures() {
    Image strip = MakeImage(39 * kCell, kCell);
    Image cells[39];
    cells[0] = CoinOf(kRed, kPink, kRedDark);
    cells[1] = CoinOf(kYellow, kYellowPale, kGold);
    cells[2] = Conveyor(true, 0, kYellow, kYellow);
    cells[3] = Conveyor(false, 0, kCyan, kWhite);
    cells[4] = ArrowBlock(true, kGreen, kGreenLight, kGreenDark, kYellow, kYellowPale, kGold);
    cells[5] = SpikeLeft();
    cells[6] = MirrorX(SpikeLeft());
    cells[7] = DrillDown();
    cells[8] = Sprite(kIceSpikes);
    cells[9] = Sprite(kShelf);
    cells[10] = Ladder();
    cells[11] = WaterBody();
    cells[12] = InCell(Sprite(kChest));
    cells[13] = StarOf(kRed, kPink, kRedDark);
    cells[14] = InCell(Sprite(kCloud), 4);
    cells[15] = WaterSurface();
    cells[16] = InCell(Sprite(kSponge));
    cells[17] = InCell(Recolour(Sprite(kSponge), {{kYellow, kGrey2}, {kYellowPale, kGrey1}, {kGold, kGrey3}}));
    cells[18] = Penguin(kPenguinA, true, false);
    cells[19] = Penguin(kPenguinB, true, false);
    cells[20] = Penguin(kPenguinA, false, false);
    cells[21] = Penguin(kPenguinB, false, false);
    for (int i = 0; i < 4; ++i) cells[22 + i] = InCell(Sprite(kFlames[i]), 2);
    cells[26] = InCell(Sprite(kSpringPad), 3);
    cells[27] = StarOf(kYellow, kYellowPale, kGold);
    cells[28] = ArrowBlock(false, kRed, kPink, kRedDark, kWhite, kWhite, kGrey1);
    cells[29] = Penguin(kPenguinA, true, true);
    cells[30] = Penguin(kPenguinB, true, true);
    cells[31] = Penguin(kPenguinA, false, true);
    cells[32] = Penguin(kPenguinB, false, true);
    cells[33] = CarrierBadge();
    cells[34] = Conveyor(true, 1, kYellow, kYellow);
    cells[35] = Conveyor(false, 1, kCyan, kWhite);
    cells[36] = InCell(Sprite(kBar), -7);
    cells[37] = Rollers(0);
    cells[38] = Rollers(1);
    for (int i = 0; i < 39; ++i) Stamp(strip, cells[i], i * kCell, 0);
    return Flatten(strip, kKeyBlack);
}

}  // namespace art
