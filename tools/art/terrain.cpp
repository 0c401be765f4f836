// BlockPic, the terrain tiles, and NumberP, the status digits and the
// background decoration strips of the five terrain styles: grass, snow,
// moss, rock and brick.
//
// Every tile texture is a function of the pixel position taken modulo 20, so
// tiles join without seams side by side and on top of each other; the lower
// rows of each top tile are the same texture as its inner tile.
#include <algorithm>
#include <cmath>
#include <string>

#include "lettering.h"
#include "palette.h"
#include "pictures.h"

namespace art {

namespace {

constexpr int kTile = 20;

int Wrap(int v, int period) { return ((v % period) + period) % period; }

// ------------------------------------------------------------------ stones --
// Cobbles: each pixel belongs to the nearest of a few seeds (distances wrap
// round the tile), seams between cobbles are dark, each cobble is lit from
// the upper left.
struct Seed {
    double x, y;
};
constexpr Seed kCobbles[] = {{3, 4}, {12, 2}, {17, 10}, {7, 12}, {14, 17}, {2, 18}, {10, 8}};

int NearestSeed(int x, int y, double& distance) {
    int best = 0;
    distance = 1e9;
    for (int i = 0; i < static_cast<int>(std::size(kCobbles)); ++i) {
        double dx = std::abs(Wrap(x, kTile) + 0.5 - kCobbles[i].x);
        double dy = std::abs(Wrap(y, kTile) + 0.5 - kCobbles[i].y);
        dx = std::min(dx, kTile - dx);
        dy = std::min(dy, kTile - dy);
        double d = std::hypot(dx * 1.0, dy * 1.25);
        if (d < distance) {
            distance = d;
            best = i;
        }
    }
    return best;
}

struct StoneColours {
    Rgba seam, shade, base, light;
};

Rgba Cobble(int x, int y, const StoneColours& c) {
    double d;
    int here = NearestSeed(x, y, d);
    double dr, db, dl, du;
    bool seam = NearestSeed(x + 1, y, dr) != here || NearestSeed(x, y + 1, db) != here;
    if (seam) return c.seam;
    bool rimLight = NearestSeed(x - 1, y, dl) != here || NearestSeed(x, y - 1, du) != here;
    if (rimLight) return c.light;
    bool rimShade = NearestSeed(x + 2, y, dr) != here || NearestSeed(x, y + 2, db) != here;
    if (rimShade) return c.shade;
    return Hash(Wrap(x, kTile), Wrap(y, kTile), 7) < 18 ? c.shade : c.base;
}

constexpr StoneColours kSnowStone{Opaque(44, 52, 96), Opaque(88, 108, 160), Opaque(116, 140, 190),
                                  Opaque(170, 196, 232)};
constexpr StoneColours kMossStone{Opaque(30, 44, 40), Opaque(64, 84, 70), Opaque(88, 110, 88),
                                  Opaque(130, 156, 110)};
constexpr StoneColours kRockStone{Opaque(58, 46, 48), Opaque(120, 100, 92), Opaque(156, 134, 118),
                                  Opaque(202, 184, 160)};

// --------------------------------------------------------------- textures --
Rgba Soil(int x, int y) {
    x = Wrap(x, kTile);
    y = Wrap(y, kTile);
    // Pebbles placed by hand, wrapping at the tile's edges.
    static const int pebbles[][2] = {{3, 5}, {13, 9}, {7, 15}, {17, 17}, {10, 2}};
    for (const auto& p : pebbles) {
        int dx = Wrap(x - p[0], kTile), dy = Wrap(y - p[1], kTile);
        if (dx < 3 && dy < 2) return dy == 0 ? kTan : Opaque(184, 128, 80);
        if (dx < 3 && dy == 2) return kBrownDark;
    }
    uint32_t h = Hash(x, y, 3);
    if (h < 22) return kBrownDark;
    if (h < 30) return Opaque(178, 118, 68);
    return kBrown;
}

Rgba Brick(int x, int y) {
    x = Wrap(x, kTile);
    y = Wrap(y, kTile);
    int course = y / 5;
    int row = y % 5;
    int offset = (course % 2) * 5;
    int col = Wrap(x + offset, 10);
    if (row == 4 || col == 9) return Opaque(92, 60, 64);
    if (row == 0 || col == 0) return Opaque(226, 120, 88);
    if (row == 3 || col == 8) return Opaque(138, 50, 46);
    return Hash(x, y, 11) < 20 ? Opaque(170, 70, 54) : Opaque(192, 84, 60);
}

Rgba Inner(int style, int x, int y) {
    switch (style) {
        case 1: return Soil(x, y);
        case 2: return Cobble(x, y, kSnowStone);
        case 3: return Cobble(x, y, kMossStone);
        case 4: return Cobble(x, y, kRockStone);
        default: return Brick(x, y);
    }
}

// How deep the top layer reaches in column x (periodic in 20).
int CapDepth(int style, int x) {
    static const int grass[kTile] = {5, 6, 6, 5, 5, 6, 7, 7, 6, 5, 5, 5, 6, 6, 5, 6, 7, 6, 5, 5};
    static const int snow[kTile] = {6, 7, 8, 7, 6, 6, 6, 7, 9, 10, 8, 6, 6, 7, 6, 6, 7, 8, 7, 6};
    static const int moss[kTile] = {5, 5, 6, 9, 10, 6, 5, 5, 5, 6, 5, 5, 7, 11, 8, 5, 5, 6, 5, 5};
    switch (style) {
        case 1: return grass[Wrap(x, kTile)];
        case 2: return snow[Wrap(x, kTile)];
        case 3: return moss[Wrap(x, kTile)];
        case 4: return 3;
        default: return 6;
    }
}

Rgba Top(int style, int x, int y) {
    int depth = CapDepth(style, x);
    if (y > depth) return Inner(style, x, y);
    bool edge = y == depth;
    switch (style) {
        case 1: {
            if (edge) return kGreenDark;
            if (y == 0) return (x % 3 == 1) ? kGreenLight : Opaque(120, 206, 76);
            if (y == 1 && x % 4 == 2) return kGreenLight;
            return (Hash(x, y, 5) < 30) ? Opaque(60, 150, 56) : kGreen;
        }
        case 2: {
            if (edge) return Opaque(120, 150, 210);
            if (y == 0) return kWhite;
            if (y == depth - 1) return Opaque(196, 214, 244);
            return (Hash(x, y, 9) < 14) ? Opaque(220, 232, 250) : kWhite;
        }
        case 3: {
            if (edge) return kGreenDeep;
            // Soft cushions of moss, each with a light spot, and strands hanging below.
            if (y == 0) return Wrap(x, 5) == 0 ? Opaque(90, 176, 64) : Opaque(120, 196, 80);
            if (y == 1 && Wrap(x, 5) == 2) return kGreenLight;
            if (y >= 5) return kGreenDark;
            return (Hash(x, y, 13) < 40) ? Opaque(70, 160, 60) : Opaque(90, 176, 64);
        }
        case 4: {
            if (y == 0) return Opaque(226, 210, 186);
            if (edge) return Opaque(90, 72, 66);
            return Opaque(186, 166, 144);
        }
        default: {
            // Capstones: a light slab with joints every 10 pixels.
            if (edge) return Opaque(92, 60, 64);
            if (Wrap(x, 10) == 9) return Opaque(110, 104, 120);
            if (y == 0) return kWhite;
            if (y == 1 || Wrap(x, 10) == 0) return kGrey1;
            if (y == depth - 1) return kGrey3;
            return Opaque(184, 184, 200);
        }
    }
}

// ------------------------------------------------------------ decorations --
// Strip shapes. The ground strips repeat every 120 pixels and overlap by 7,
// so every profile is periodic in 120.
constexpr int kRepeat = 120;
constexpr int kSolidOutline = 1;  // rows of a ground strip's top kept solid
constexpr double kRoofRise = 10;  // pixels from a tower's eaves to its tip

double Periodic(double x, double period) { return std::sin(x * 2.0 * M_PI / period); }

void Cloud(Image& img, int cx, int cy, int w, Rgba body, Rgba shade, Rgba light) {
    const double lobes[][3] = {{-0.55, 0.15, 0.38}, {-0.15, -0.2, 0.5}, {0.3, -0.05, 0.42}, {0.6, 0.2, 0.3}};
    Image mask = MakeImage(img.width, img.height);
    for (int y = 0; y < img.height; ++y) {
        for (int x = 0; x < img.width; ++x) {
            double ux = (x + 0.5 - cx) / (w / 2.0);
            double uy = (y + 0.5 - cy) / (w / 2.0);
            bool in = false;
            for (const auto& l : lobes) {
                if (std::hypot(ux - l[0], (uy - l[1]) * 1.1) < l[2]) in = true;
            }
            // A rounded, soft underside: a flat bottom would read as a ledge.
            if (!in) continue;
            if (uy > 0.22 && (x + y) % 2 == 1) continue;
            mask.At(x, y) = (uy > 0.22) ? shade : (uy < -0.35 ? light : body);
        }
    }
    Outline(mask, Opaque(140, 150, 190));
    Stamp(img, mask, 0, 0);
}

Image SkyStrip(int style) {
    Image s = MakeImage(127, 24);
    switch (style) {
        case 1:
            Cloud(s, 34, 12, 38, kWhite, Opaque(214, 226, 246), kWhite);
            Cloud(s, 101, 8, 18, kWhite, Opaque(214, 226, 246), kWhite);
            break;
        case 2: {
            // Two clouds of unlike size at unlike heights: one shape per
            // strip would mark out the grid the strips are laid on.
            Cloud(s, 40, 13, 34, Opaque(236, 240, 252), Opaque(196, 206, 232), kWhite);
            Cloud(s, 104, 7, 16, Opaque(236, 240, 252), Opaque(196, 206, 232), kWhite);
            const int flakes[][2] = {{10, 6}, {24, 18}, {104, 5}, {116, 17}, {94, 20}, {40, 3}};
            for (const auto& f : flakes) {
                s.Plot(f[0], f[1], kWhite);
                s.Plot(f[0] - 1, f[1], kSkyPale);
                s.Plot(f[0] + 1, f[1], kSkyPale);
                s.Plot(f[0], f[1] - 1, kSkyPale);
                s.Plot(f[0], f[1] + 1, kSkyPale);
            }
            break;
        }
        case 3: {
            // Bubbles drifting up.
            const int bubbles[][3] = {{12, 17, 5}, {47, 5, 2}, {71, 14, 3}, {110, 8, 6}};
            for (const auto& b : bubbles) {
                for (int y = 0; y < 24; ++y) {
                    for (int x = 0; x < 127; ++x) {
                        double d = std::hypot(x + 0.5 - b[0], y + 0.5 - b[1]);
                        if (d <= b[2] && d > b[2] - 1.2) s.At(x, y) = Opaque(170, 236, 220);
                    }
                }
                s.Plot(b[0] - b[2] / 2, b[1] - b[2] / 2, kWhite);
                s.Plot(b[0] - b[2] / 2 + 1, b[1] - b[2] / 2, kWhite);
            }
            break;
        }
        case 4: {
            // Cave air: two bats on the wing and glow-worm lights.
            const Palette cave = {{'k', Opaque(44, 34, 52)}, {'b', Opaque(120, 104, 132)},
                                  {'l', Opaque(164, 148, 172)}, {'e', kPink}};
            const char* bat =
                "kk.................kk\n"
                "lbk......k.k......kbl\n"
                "llbk.....kkk.....kbll\n"
                "llbbk...kebek...kbbll\n"
                ".llbbk.kbbbbbk.kbbll.\n"
                ".llbbbkbbbbbbbkbbbll.\n"
                "..llbbbbbbbbbbbbbll..\n"
                "..l.lbbbbbbbbbbbl.l..\n"
                "......l.bbbbb.l......\n"
                ".........k.k.........\n";
            Stamp(s, Grid(cave, bat), 12, 2);
            Stamp(s, MirrorX(Grid(cave, bat)), 78, 12);
            const int lights[][2] = {{5, 18}, {46, 6}, {56, 19}, {66, 4}, {110, 5}, {121, 17}};
            for (const auto& g : lights) {
                for (int dy = -1; dy <= 1; ++dy) {
                    for (int dx = -1; dx <= 1; ++dx) s.Plot(g[0] + dx, g[1] + dy, Opaque(150, 196, 96));
                }
                s.Plot(g[0], g[1], kYellowPale);
                s.Plot(g[0] + 1, g[1], kYellowPale);
            }
            break;
        }
        default: {
            // Stars only: the strip repeats, and so would a moon. Two bright
            // crosses and faint single points at uneven heights, so the
            // repeats do not line up into rows of equal dots.
            const int bright[][2] = {{22, 15}, {93, 6}};
            for (const auto& st : bright) {
                s.Plot(st[0], st[1], kWhite);
                s.Plot(st[0] - 1, st[1], kYellow);
                s.Plot(st[0] + 1, st[1], kYellow);
                s.Plot(st[0], st[1] - 1, kYellow);
                s.Plot(st[0], st[1] + 1, kYellow);
            }
            const int faint[][2] = {{6, 3}, {51, 21}, {64, 9}, {117, 19}};
            for (const auto& st : faint) s.Plot(st[0], st[1], kGold);
            break;
        }
    }
    return s;
}

// Height of the ground decoration above the strip's bottom at column x.
double GroundProfile(int style, int x) {
    switch (style) {
        case 1: return 24 + 9 * Periodic(x, kRepeat) + 4 * Periodic(x * 2 + 17, kRepeat);
        case 2: {
            // Two snowy peaks per repeat.
            double t = Wrap(x, 60) / 60.0;
            double peak = 1.0 - std::abs(t - 0.5) * 2.0;
            return 10 + 30 * peak + (Wrap(x / 60, 2) == 0 ? 0 : -6 * peak);
        }
        case 3: return 20 + 5 * std::abs(Periodic(x, 40)) + 3 * Periodic(x + 7, 24);
        case 4: {
            // Stalagmites: sharp cones of three sizes over a low rubble bank.
            const double cones[][3] = {{14, 30, 7}, {34, 18, 5}, {52, 40, 9}, {76, 24, 6}, {98, 34, 8}, {112, 16, 4}};
            double h = 10 + 2 * Periodic(x, 40);
            for (const auto& c : cones) {
                double d = std::abs(Wrap(x, kRepeat) - c[0]);
                if (d < c[2]) h = std::max(h, c[1] * (1.0 - d / c[2]) + 8);
            }
            return h;
        }
        default: {
            // Far-off towers with pointed roofs and gaps between them: a
            // flat wall at the bottom of a pit read as a floor.
            const double towers[][3] = {{10, 22, 4}, {50, 40, 6}, {84, 28, 5}, {108, 18, 3}};
            const double t = Wrap(x, kRepeat);
            for (const auto& tw : towers) {
                const double d = std::abs(t - tw[0]);
                if (d <= tw[2]) return tw[1] - kRoofRise * d / tw[2];
                if (d <= tw[2] + 1) return tw[1] - kRoofRise - 2;  // roof eaves
            }
            return 0;
        }
    }
}

Image GroundStrip(int style) {
    Image s = MakeImage(127, 48);
    for (int x = 0; x < 127; ++x) {
        double h = GroundProfile(style, x);
        int top = 48 - static_cast<int>(std::lround(h));
        for (int y = std::max(0, top); y < 48; ++y) {
            int depth = y - top;
            // Below the outline every other pixel is left out: scenery far
            // behind, never a solid floor at the bottom of a pit.
            if (depth > kSolidOutline && (x + y) % 2 == 1) continue;
            Rgba c;
            switch (style) {
                case 1:
                    c = depth == 0 ? Opaque(170, 230, 130) : Opaque(110, 196, 100);
                    if (depth > 0 && Hash(Wrap(x, kRepeat), y, 21) < 10) c = Opaque(96, 178, 92);
                    break;
                case 2:
                    c = depth < 6 + (Wrap(x, 8) < 3 ? 2 : 0) ? kWhite : Opaque(140, 160, 210);
                    if (depth == 0) c = kSkyPale;
                    if (depth >= 6 && Wrap(x, 60) > 30) c = Opaque(118, 136, 190);
                    break;
                case 3:
                    c = depth == 0 ? Opaque(110, 170, 90) : Opaque(60, 120, 80);
                    if (depth > 1 && Hash(Wrap(x, kRepeat), y, 23) < 24) c = Opaque(50, 104, 72);
                    break;
                case 4:
                    c = depth == 0 ? Opaque(150, 132, 122) : Opaque(96, 84, 82);
                    if (depth > 0 && (y + Wrap(x, 5)) % 9 == 4) c = Opaque(78, 68, 70);
                    if (depth > 0 && Hash(Wrap(x, kRepeat), y, 25) < 12) c = Opaque(118, 104, 100);
                    break;
                default: {
                    c = depth == 0 ? Opaque(170, 150, 200) : Opaque(120, 100, 160);
                    int t = Wrap(x, kRepeat);
                    if (t >= 47 && t <= 53 && y > 48 - 34 && y < 48 - 24) c = (y % 5 < 3) ? kYellow : kGold;
                    if (depth > 0 && y % 6 == 0) c = Opaque(104, 86, 144);
                    break;
                }
            }
            s.At(x, y) = c;
        }
    }
    return s;
}

Image CounterDigit(char ch) {
    LetterStyle style;
    style.top = kWhite;
    style.bottom = kYellow;
    style.bands = 4;
    style.highlight = kWhite;
    style.shine = false;
    style.outline = kInk;
    style.outlineWidth = 1;
    return RenderLettering(Enlarge(TextMask(std::string(1, ch), Face::kTall), 2), style);
}

}  // namespace

Image BuildBlockPic() {
    Image blocks = MakeImage(10 * kTile, kTile);
    for (int style = 1; style <= 5; ++style) {
        int inner = (2 * style - 2) * kTile;
        int top = (2 * style - 1) * kTile;
        for (int y = 0; y < kTile; ++y) {
            for (int x = 0; x < kTile; ++x) {
                blocks.At(inner + x, y) = Inner(style, x, y);
                blocks.At(top + x, y) = Top(style, x, y);
            }
        }
    }
    return Flatten(blocks, kKeyBlack);
}

Image BuildNumberP() {
    Image pic = MakeImage(127, 384);
    for (int d = 0; d <= 9; ++d) Stamp(pic, CounterDigit(static_cast<char>('0' + d)), 12 * d, 0);
    Image colon = CounterDigit(':');
    Stamp(pic, colon, 120 + (7 - colon.width) / 2, 0);
    for (int style = 1; style <= 5; ++style) {
        Stamp(pic, SkyStrip(style), 0, 24 * (3 * style - 2));
        Stamp(pic, GroundStrip(style), 0, 24 * (3 * style - 1));
    }
    return Flatten(pic, kKeyBlack);
}

}  // namespace art
