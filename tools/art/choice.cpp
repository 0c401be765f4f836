// Choice: the title menu's words and cursor arrow, the small world map of
// the stage select, and the big map pieces: the cannon, the goal flag, the
// warp gate, and a music note. Black is transparent.
#include <algorithm>
#include <cmath>
#include <string>

#include "lettering.h"
#include "palette.h"
#include "pictures.h"
#include "shapes.h"

namespace art {

namespace {

constexpr int kMapX = 0;
constexpr int kMapY = 195;
constexpr int kMapW = 99;
constexpr int kMapH = 69;

LetterStyle MenuStyle() {
    LetterStyle style;
    style.top = kWhite;
    style.bottom = kSky;
    style.bands = 4;
    style.highlight = kWhite;
    style.shine = false;
    style.outline = kInk;
    style.outlineWidth = 2;
    style.shadow = kBlue;
    style.shadowOffset = 2;
    return style;
}

// A fat arrow pointing right, drawn like the lettering.
Image CursorArrow() {
    Mask m;
    m.width = 62;
    m.height = 36;
    m.bits.assign(Area(m.width, m.height), 0);
    for (int y = 0; y < m.height; ++y) {
        for (int x = 0; x < m.width; ++x) {
            double cy = (m.height - 1) / 2.0;
            bool shaft = x >= 2 && x < 34 && std::abs(y - cy) <= 7;
            bool head = x >= 30 && std::abs(y - cy) <= (m.width - 1 - x) * 0.62;
            if (shaft || head) m.Set(x, y);
        }
    }
    LetterStyle style;
    style.top = kYellowPale;
    style.bottom = kOrange;
    style.bands = 4;
    style.highlight = kWhite;
    style.outline = kInk;
    style.outlineWidth = 2;
    style.shadow = kRedDark;
    style.shadowOffset = 2;
    return RenderLettering(m, style);
}

// ------------------------------------------------------------- world map --
struct MapPoint {
    int x, y;
};
// The five stages and the turn of the path between stage 4 and stage 5.
constexpr MapPoint kStages[5] = {{8, 11}, {55, 19}, {71, 55}, {39, 67}, {30, 44}};
constexpr MapPoint kBend{22, 34};

double SegmentDistance(double px, double py, MapPoint a, MapPoint b) {
    double vx = b.x - a.x, vy = b.y - a.y;
    double t = std::clamp(((px - a.x) * vx + (py - a.y) * vy) / (vx * vx + vy * vy), 0.0, 1.0);
    return std::hypot(px - (a.x + t * vx), py - (a.y + t * vy));
}

bool OnLand(int x, int y) {
    // The island: a few overlapping ovals round the stage points, with a bay.
    const double ovals[][4] = {{14, 14, 16, 12}, {46, 16, 22, 11}, {70, 34, 20, 24},
                               {44, 56, 30, 13}, {26, 40, 16, 14}, {84, 20, 10, 9}};
    bool land = false;
    for (const auto& o : ovals) {
        if (std::hypot((x + 0.5 - o[0]) / o[2], (y + 0.5 - o[1]) / o[3]) < 1.0) land = true;
    }
    bool bay = std::hypot((x + 0.5 - 48) / 9.0, (y + 0.5 - 38) / 7.0) < 1.0;
    return land && !bay;
}

// Which stage's country a map pixel belongs to: the nearest stage point.
int Region(int x, int y) {
    int best = 0;
    double bestD = 1e9;
    for (int i = 0; i < 5; ++i) {
        double d = std::hypot(x - kStages[i].x, y - kStages[i].y);
        if (d < bestD) {
            bestD = d;
            best = i;
        }
    }
    return best;
}

Rgba LandColour(int region, int x, int y) {
    uint32_t h = Hash(x, y, 31);
    switch (region) {
        case 0: return h < 32 ? kGreenLight : kGreen;
        case 1: return h < 20 ? kSkyPale : kWhite;
        case 2: return h < 40 ? kGreenDark : Opaque(52, 132, 60);
        case 3: return h < 24 ? kTan : Opaque(226, 186, 120);
        default: return h < 24 ? Opaque(150, 140, 170) : Opaque(176, 166, 196);
    }
}

Image WorldMap() {
    Image map = MakeImage(kMapW, kMapH);
    for (int y = 0; y < kMapH; ++y) {
        for (int x = 0; x < kMapW; ++x) {
            Rgba c;
            if (OnLand(x, y)) {
                c = LandColour(Region(x, y), x, y);
            } else {
                bool nearShore = false;
                for (int dy = -1; dy <= 1; ++dy) {
                    for (int dx = -1; dx <= 1; ++dx) nearShore = nearShore || OnLand(x + dx, y + dy);
                }
                c = (y + x / 6) % 6 == 0 && x % 6 < 3 ? kSky : kBlue;
                if (nearShore) c = kSky;
            }
            map.At(x, y) = c;
        }
    }
    // Beaches: land pixels next to the sea.
    Image beach = map;
    for (int y = 0; y < kMapH; ++y) {
        for (int x = 0; x < kMapW; ++x) {
            if (!OnLand(x, y) || Region(x, y) == 1) continue;
            bool shore = !OnLand(x + 1, y) || !OnLand(x - 1, y) || !OnLand(x, y + 1) || !OnLand(x, y - 1);
            if (shore) beach.At(x, y) = kYellowPale;
        }
    }
    map = beach;
    // Landmarks of each country.
    const Palette p = {{'k', kInk}, {'w', kWhite}, {'s', kSkyPale}, {'c', kSky}, {'u', kBlue}, {'U', kBlueDark},
                       {'g', kGreen}, {'d', kGreenDark}, {'D', kGreenDeep}, {'b', kBrown}, {'t', kTan},
                       {'o', kOrange}, {'r', kRed}, {'R', kRedDark}, {'1', kGrey1}, {'3', kGrey3},
                       {'v', kPurple}, {'B', kBrownDark}, {'y', kYellow}};
    const char* peak = R"(
...k...
..kwk..
.kwwck.
.kscuk.
kcsuuUk
kkkkkkk
)";
    const char* tree = R"(
.kk.
kggk
kddk
.bk.
)";
    const char* rock = R"(
.kkkk.
kttttk
ktbbBk
kkkkkk
)";
    const char* castle = R"(
k.k.k.k
krkkkrk
k1111Rk
k1kk13k
k1kk13k
kkkkkkk
)";
    const int peaks[][2] = {{48, 9}, {62, 11}, {40, 20}, {66, 22}, {52, 26}};
    for (const auto& q : peaks) Stamp(map, Grid(p, peak), q[0], q[1]);
    const int trees[][2] = {{78, 46}, {84, 38}, {62, 44}, {76, 62}, {84, 54}, {60, 56}, {72, 28}};
    for (const auto& q : trees) {
        if (OnLand(q[0] + 2, q[1] + 2)) Stamp(map, Grid(p, tree), q[0], q[1]);
    }
    const int rocks[][2] = {{26, 60}, {50, 60}, {44, 50}, {56, 64}};
    for (const auto& q : rocks) Stamp(map, Grid(p, rock), q[0], q[1]);
    const int meadow[][2] = {{4, 18}, {16, 6}, {20, 20}, {2, 8}};
    for (const auto& q : meadow) {
        map.Plot(q[0], q[1], kYellow);
        map.Plot(q[0] + 2, q[1] + 1, kWhite);
    }
    Stamp(map, Grid(p, castle), 13, 27);
    // The road between the stages, with the bend before stage 5.
    const MapPoint path[] = {kStages[0], kStages[1], kStages[2], kStages[3], kStages[4], kBend};
    for (int y = 0; y < kMapH; ++y) {
        for (int x = 0; x < kMapW; ++x) {
            double d = 1e9;
            for (int i = 0; i + 1 < static_cast<int>(std::size(path)); ++i) {
                d = std::min(d, SegmentDistance(x, y, path[i], path[i + 1]));
            }
            if (d < 0.8) map.At(x, y) = Opaque(250, 226, 170);
            else if (d < 1.5 && OnLand(x, y)) map.At(x, y) = Opaque(172, 118, 70);
            else if (d < 1.5) map.At(x, y) = Opaque(120, 90, 70);
        }
    }
    // Stage pads: a ring the dots and the hero stand on.
    for (const MapPoint& s : kStages) {
        for (int dy = -3; dy <= 3; ++dy) {
            for (int dx = -3; dx <= 3; ++dx) {
                double d = std::hypot(dx, dy);
                if (d <= 3.2 && d > 2.2) map.Plot(s.x + dx, s.y + dy, kRed);
                else if (d <= 2.2) map.Plot(s.x + dx, s.y + dy, kWhite);
            }
        }
    }
    return map;
}

// ------------------------------------------------------------ map pieces --
const Palette& PiecePalette() {
    static const Palette p = {
        {'k', kInk},   {'w', kWhite},     {'1', kGrey1},      {'2', kGrey2},   {'3', kGrey3},
        {'4', kGrey4}, {'r', kRed},       {'R', kRedDark},    {'p', kPink},    {'y', kYellow},
        {'Y', kYellowPale}, {'G', kGold}, {'o', kOrange},     {'b', kBrown},   {'B', kBrownDark},
        {'t', kTan},   {'s', kSkyPale},   {'c', kSky},        {'u', kBlue},    {'U', kBlueDark},
        {'v', kPurple}, {'V', kPurpleDark}, {'a', kCyan},     {'A', kCyanDark},
    };
    return p;
}

// The cannon: a steel barrel aimed up and to the right on a wooden carriage.
// Its map cell is the 20 x 20 square at the bottom right.
Image Cannon() {
    Image img = MakeImage(50, 50);
    // Barrel: a rounded bar from the breech to the muzzle.
    const double bx = 22, by = 35, mx = 39, my = 13;
    double len = std::hypot(mx - bx, my - by);
    double ux = (mx - bx) / len, uy = (my - by) / len;
    for (int y = 0; y < 50; ++y) {
        for (int x = 0; x < 50; ++x) {
            double px = x + 0.5 - bx, py = y + 0.5 - by;
            double along = px * ux + py * uy;
            double across = -px * uy + py * ux;
            double half = along > len - 6 ? 10.0 : 9.0 - along * 0.05;
            if (along < -6 || along > len + 1 || std::abs(across) > half) continue;
            if (along < 0 && std::hypot(along, across) > 9.0) continue;
            Rgba c = across < -half * 0.4 ? kGrey2 : (across > half * 0.45 ? kGrey4 : kGrey3);
            if (across < -half * 0.7) c = kGrey1;
            if (along > len - 6 && along < len - 3) c = kGold;
            if (std::abs(across) > half - 1.2 || along > len - 0.5) c = kInk;
            img.At(x, y) = c;
        }
    }
    // Muzzle opening.
    double across = std::atan2(-ux, -uy) * 180.0 / M_PI;
    DrawBlob(img, {mx - ux * 1.5, my - uy * 1.5, 3.0, 8.6, across, {kNearBlack, kGrey4, kNearBlack}});
    // Carriage and wheels.
    for (int y = 34; y < 50; ++y) {
        for (int x = 10; x < 50; ++x) {
            Rgba c = y == 34 || y == 49 || x == 10 || x == 49 ? kInk : (y == 35 ? kTan : kBrown);
            if (y > 44 && c == kBrown) c = kBrownDark;
            if ((x - 10) % 10 == 0 && y > 35 && y < 49) c = kBrownDark;
            img.At(x, y) = c;
        }
    }
    DrawBlob(img, {20.5, 42.5, 7.0, 7.0, 0, {kBrown, kTan, kBrownDark}});
    DrawBlob(img, {20.5, 42.5, 2.5, 2.5, 0, {kGold, kYellow, kGold}});
    DrawBlob(img, {40.5, 42.5, 7.0, 7.0, 0, {kBrown, kTan, kBrownDark}});
    DrawBlob(img, {40.5, 42.5, 2.5, 2.5, 0, {kGold, kYellow, kGold}});
    // A star on the barrel.
    const char* star = R"(
..k..
.kyk.
kyYyk
.kyk.
..k..
)";
    Stamp(img, Grid(PiecePalette(), star), 27, 24);
    return img;
}

// The goal flag on its pole. Its foot stands on the bottom of the goal cell;
// the four rows below it fall on the next cell and stay empty.
const char* kFlag = R"(
..kkk...................
.kYyGk..................
.kyyGk..................
..kkkkkkkkkkkkkkkkkkkk..
..k1kkrrrrrrrrrrrrrrrpk.
..k1kkrrrrrrrrrrrrrrrrk.
..k1kkrrrrrrrkkrrrrrrRk.
..k1kkrrrrrrkyykrrrrRk..
..k1kkrrrrkkkYykkkrrRk..
..k1kkrrrrkyyYyyyykRk...
..k1kkrrrrrkyyyyykrRk...
..k1kkrrrrrrkyGykrRk....
..k1kkrrrrrkyGkGykRRk...
..k1kkrrrrrkGkrkGkRRRk..
..k1kkrrrrrrkrrrkrRRRRk.
..k1kkRRRRRRRRRRRRRRRRRk
..k1kkRRRRRRRRRRRRRRRRRk
..k1kkkkkkkkkkkkkkkkkkkk
..k1k2k.................
..k1k2k.................
..k1k2k.................
..k1k2k.................
..k1k2k.................
..k1k2k.................
..k1k2k.................
..k1k2k.................
..k1k2k.................
..k1k2k.................
..k1k2k.................
..k1k2k.................
..k1k2k.................
..k1k2k.................
..k1k2k.................
..k1k2k.................
..k1k2k.................
kkkkkkkkk...............
k1111112k...............
k2222223k...............
k3333334k...............
kkkkkkkkk...............
........................
........................
........................
........................
)";

// The warp gate: a stone arch round a swirling, glittering portal.
Image Gate() {
    Image img = MakeImage(45, 79);
    const double cx = 22.5, archY = 22.0;
    for (int y = 0; y < 79; ++y) {
        for (int x = 0; x < 45; ++x) {
            double px = x + 0.5, py = y + 0.5;
            // Outer and inner outline of the arch: a half circle over straight sides.
            double outer = py < archY ? std::hypot(px - cx, (py - archY) * 1.0) : std::abs(px - cx);
            bool inOuter = outer <= 21.5 && y < 74;
            bool inInner = outer <= 14.5 && y < 74;
            if (!inOuter) continue;
            Rgba c;
            if (inInner) {
                // Portal: rings swirling round the centre.
                double r = std::hypot(px - cx, (py - 40) * 0.7);
                double a = std::atan2(py - 40, px - cx);
                double swirl = std::sin(r * 0.55 - a * 2.0);
                c = swirl > 0.4 ? kCyan : (swirl > -0.3 ? kPurple : kPurpleDark);
                if (outer > 13.5) c = kInk;
            } else {
                // Stone blocks of the arch.
                double ring = outer - 14.5;
                int block = py < archY ? static_cast<int>((std::atan2(py - archY, px - cx) + M_PI) * 4)
                                       : static_cast<int>(py / 7);
                c = (block % 2 == 0) ? Opaque(184, 176, 204) : Opaque(160, 150, 186);
                if (ring < 1.5) c = Opaque(120, 110, 150);
                if (ring > 5.5) c = Opaque(214, 208, 232);
                if (outer > 20.5) c = kInk;
            }
            img.At(x, y) = c;
        }
    }
    // Base step.
    for (int y = 73; y < 79; ++y) {
        for (int x = 0; x < 45; ++x) {
            img.At(x, y) = (y == 73 || y == 78 || x == 0 || x == 44) ? kInk : (y == 74 ? kGrey1 : kGrey2);
        }
    }
    // Keystone gem and glitter.
    const char* gem = R"(
..kkk..
.kaswk.
kaasaak
kAaaaAk
.kAaAk.
..kAk..
...k...
)";
    Stamp(img, Grid(PiecePalette(), gem), 19, 0);
    const char* sparkle = R"(
..w..
..w..
wwYww
..w..
..w..
)";
    const int glints[][2] = {{14, 30}, {26, 48}, {18, 60}, {28, 26}, {3, 56}, {38, 40}};
    for (const auto& g : glints) Stamp(img, Grid(PiecePalette(), sparkle), g[0], g[1]);
    return img;
}

const char* kNote = R"(
........kkkk
.......kuuuk
......kuccuk
.....kkuukuk
.....kuukkuk
.....kukk.kk
.....kuk....
.....kuk....
.....kuk....
.....kuk....
.....kuk....
..kkkkuk....
.kuccuuk....
kuccuuuk....
kuuuuuUk....
kuuuuUUk....
.kUUUUk.....
..kkkk......
)";

}  // namespace

Image BuildChoice() {
    Image pic = MakeImage(145, 315);
    const char* words[3] = {"Start", "End", "Config"};
    for (int i = 0; i < 3; ++i) {
        Image word = RenderLettering(Enlarge(TextMask(words[i], Face::kRegular), 4), MenuStyle());
        Stamp(pic, word, 4, 50 * i + 3);
    }
    Stamp(pic, CursorArrow(), 1, 150 + 1);
    Stamp(pic, WorldMap(), kMapX, kMapY);
    Stamp(pic, Cannon(), 0, 265);
    Stamp(pic, Grid(PiecePalette(), kFlag), 53, 265);
    Stamp(pic, Gate(), 100, 236);
    Stamp(pic, Grid(PiecePalette(), kNote), 112, 200);
    return Flatten(pic, kKeyBlack);
}

}  // namespace art
