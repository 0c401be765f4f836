// CharPic: Tumbleroo, a round little joey with big feet, a springy tail and
// a red scarf. Three hop frames for each of four facings: from behind
// (climbing), facing right, from the front (turning), facing left.
//
// The body is built from shaded ellipses drawn back to front, each with an
// ink rim, and the face and paws are hand-drawn grids placed on top. The
// figure keeps to the left 24 columns of its 40 x 40 frame with the feet on
// rows 34..39, where the game's collision box expects it.
#include <cmath>
#include <vector>

#include "palette.h"
#include "pictures.h"
#include "shapes.h"

namespace art {

namespace {

constexpr int kFrame = 40;
constexpr int kFigureWidth = 24;

constexpr Rgba kFur = Opaque(238, 148, 66);
constexpr Rgba kFurLight = Opaque(255, 198, 120);
constexpr Rgba kFurShade = Opaque(186, 98, 52);
constexpr Rgba kCream = Opaque(255, 238, 204);
constexpr Rgba kCreamShade = Opaque(232, 196, 150);
constexpr Rgba kEarPink = Opaque(250, 140, 150);
constexpr Rgba kScarf = kRed;
constexpr Rgba kScarfShade = kRedDark;

constexpr Tone kFurTone{kFur, kFurLight, kFurShade};
constexpr Tone kCreamTone{kCream, kWhite, kCreamShade};
constexpr Tone kPinkTone{kEarPink, kPink, Opaque(214, 100, 120)};

const Palette& FacePalette() {
    static const Palette p = {
        {'k', kInk}, {'w', kWhite}, {'p', kEarPink}, {'o', kFur}, {'O', kFurShade}, {'h', kFurLight},
        {'c', kCream}, {'C', kCreamShade}, {'r', kScarf}, {'R', kScarfShade}, {'b', Opaque(60, 40, 70)},
    };
    return p;
}

// Side face: eye, nose and blush, facing right.
const char* kSideEye = R"(
.kk.
kwkk
kkkk
.kk.
)";

const char* kFrontEyes = R"(
.kk.......kk.
kwkk.....kwkk
kkkk.....kkkk
.kk.......kk.
)";

const char* kNose = R"(
kkk
kpk
.k.
)";

const char* kSmile = R"(
k...k
.kkk.
)";

const char* kPaw = R"(
.kk.
khok
khOk
.kk.
)";

// Scarf tail flapping behind a figure facing right, in three flutters.
const char* kScarfTails[3] = {
    R"(
.kkkk.
krrrRk
kRrrRk
.kkRRk
...kk.
)",
    R"(
kkkk..
krrRkk
.kRrRk
..kkRk
....k.
)",
    R"(
......
.kkkk.
krrrRk
kRRRRk
.kkkk.
)",
};

// Pose of one frame: how far the body rises and how the feet and tail sit.
struct HopPose {
    int lift;        // body raised by this many pixels
    double footTurn; // toes tilt, degrees
    double tailTurn; // tail swing, degrees
    int footShift;   // front foot forward
};
constexpr HopPose kHop[3] = {{0, 0, 0, 0}, {3, -12, 14, 2}, {1, 6, -6, -1}};
// Feet leave the ground only in the airborne frame.
constexpr int kFeetLift[3] = {0, 3, 0};

Image SideFrame(int frame) {
    const HopPose& pose = kHop[frame];
    Image img = MakeImage(kFigureWidth, kFrame);
    int up = -pose.lift;
    // Tail, haunch and far foot at the back.
    DrawBlob(img, {4.5, 31.0 + up * 0.5, 2.6, 7.0, 30 + pose.tailTurn, kFurTone});
    double feetY = 36.6 - kFeetLift[frame];
    DrawBlob(img, {9.5, 30.5 + up, 5.8, 5.0, 0, kFurTone});
    // Body and belly.
    DrawBlob(img, {12.0, 26.0 + up, 7.6, 7.8, 0, kFurTone});
    DrawBlob(img, {14.5, 27.5 + up, 4.2, 5.4, 0, kCreamTone, false});
    // Near foot.
    DrawBlob(img, {11.0 + pose.footShift, feetY - 2.5, 3.4, 3.6, 0, kFurTone});
    DrawBlob(img, {14.0 + pose.footShift, feetY, 7.4, 3.0, pose.footTurn, kFurTone});
    // Ears, back one first.
    DrawBlob(img, {7.2, 6.0 + up, 2.6, 6.6, -24, kFurTone});
    DrawBlob(img, {11.6, 5.4 + up, 2.8, 6.8, -12, kFurTone});
    DrawBlob(img, {11.9, 5.8 + up, 1.2, 4.6, -12, kPinkTone, false});
    // Head and muzzle.
    DrawBlob(img, {12.0, 14.5 + up, 9.6, 8.0, 0, kFurTone});
    DrawBlob(img, {19.2, 17.0 + up, 3.6, 3.0, 0, kCreamTone});
    Image face = Grid(FacePalette(), kSideEye);
    Stamp(img, face, 14, 11 + up);
    Stamp(img, Grid(FacePalette(), kNose), 20, 14 + up);
    img.Plot(15, 19 + up, kEarPink);
    img.Plot(16, 19 + up, kEarPink);
    // Scarf band round the neck and its loose end behind.
    for (int x = 5; x <= 18; ++x) {
        for (int y = 21; y <= 23; ++y) {
            if (img.At(x, y + up).a == 0) continue;
            img.At(x, y + up) = (y == 21 || y == 23) ? kInk : (x > 14 ? kScarfShade : kScarf);
        }
    }
    Stamp(img, Grid(FacePalette(), kScarfTails[frame]), 0, 20 + up);
    Stamp(img, Grid(FacePalette(), kPaw), 16, 25 + up);
    return img;
}

Image FrontFrame(int frame) {
    const int bob[3] = {0, 2, 1};
    const int footLift[3][2] = {{0, 0}, {2, 0}, {0, 2}};
    Image img = MakeImage(kFigureWidth, kFrame);
    int up = -bob[frame];
    // Tail peeking out at one side.
    DrawBlob(img, {19.5, 33.0 + up * 0.5, 2.4, 4.0, 25, kFurTone});
    DrawBlob(img, {11.5, 27.5 + up, 8.0, 7.5, 0, kFurTone});
    DrawBlob(img, {11.5, 28.5 + up, 5.0, 5.6, 0, kCreamTone, false});
    DrawBlob(img, {6.0, 36.6 - footLift[frame][0], 4.6, 3.0, -8, kFurTone});
    DrawBlob(img, {17.0, 36.6 - footLift[frame][1], 4.6, 3.0, 8, kFurTone});
    double flop = frame == 1 ? 6 : 0;
    DrawBlob(img, {6.3, 6.0 + up, 2.7, 6.6, -16 - flop, kFurTone});
    DrawBlob(img, {6.4, 6.4 + up, 1.2, 4.4, -16 - flop, kPinkTone, false});
    DrawBlob(img, {16.7, 6.0 + up, 2.7, 6.6, 16 + flop, kFurTone});
    DrawBlob(img, {16.6, 6.4 + up, 1.2, 4.4, 16 + flop, kPinkTone, false});
    DrawBlob(img, {11.5, 15.0 + up, 10.2, 8.0, 0, kFurTone});
    DrawBlob(img, {11.5, 18.2 + up, 4.4, 3.0, 0, kCreamTone});
    Stamp(img, Grid(FacePalette(), kFrontEyes), 5, 11 + up);
    Stamp(img, Grid(FacePalette(), kNose), 10, 16 + up);
    Stamp(img, Grid(FacePalette(), kSmile), 9, 19 + up);
    img.Plot(4, 18 + up, kEarPink);
    img.Plot(5, 18 + up, kEarPink);
    img.Plot(18, 18 + up, kEarPink);
    img.Plot(19, 18 + up, kEarPink);
    for (int x = 3; x <= 20; ++x) {
        for (int y = 22; y <= 24; ++y) {
            if (img.At(x, y + up).a == 0) continue;
            img.At(x, y + up) = (y == 22 || y == 24) ? kInk : kScarf;
        }
    }
    // Scarf knot and paws.
    const char* knot = R"(
.kkk.
krrRk
kRrRk
.kRk.
.kRk.
..k..
)";
    Stamp(img, Grid(FacePalette(), knot), 13, 22 + up);
    Stamp(img, Grid(FacePalette(), kPaw), 2, 26 + up);
    Stamp(img, MirrorX(Grid(FacePalette(), kPaw)), 18, 26 + up);
    return img;
}

Image BackFrame(int frame) {
    // Climbing: one paw reaches up while the other foot pushes, then swap.
    const int pawY[3][2] = {{3, 11}, {11, 3}, {7, 7}};
    const int footLift[3][2] = {{0, 3}, {3, 0}, {1, 1}};
    Image img = MakeImage(kFigureWidth, kFrame);
    DrawBlob(img, {6.0, 36.6 - footLift[frame][0], 4.2, 3.0, 0, kFurTone});
    DrawBlob(img, {17.0, 36.6 - footLift[frame][1], 4.2, 3.0, 0, kFurTone});
    DrawBlob(img, {11.5, 27.5, 8.0, 7.5, 0, kFurTone});
    // A round, fluffy tail.
    DrawBlob(img, {11.5, 31.0, 3.6, 3.4, 0, {kFurLight, kCream, kFur}});
    DrawBlob(img, {6.3, 6.0, 2.7, 6.6, -14, kFurTone});
    DrawBlob(img, {16.7, 6.0, 2.7, 6.6, 14, kFurTone});
    DrawBlob(img, {11.5, 15.0, 10.2, 8.0, 0, kFurTone});
    for (int x = 3; x <= 20; ++x) {
        for (int y = 22; y <= 24; ++y) {
            if (img.At(x, y).a == 0) continue;
            img.At(x, y) = (y == 22 || y == 24) ? kInk : kScarf;
        }
    }
    const char* knot = R"(
.kkk.
krrRk
kRrRk
.kkk.
kRkRk
kk.kk
)";
    Stamp(img, Grid(FacePalette(), knot), 9, 22);
    // Arms raised to the rungs, in front of the head's sides.
    DrawLimb(img, 5.0, 24.0, 3.0, pawY[frame][0] + 2.0, 2.6, kFurTone);
    DrawLimb(img, 18.0, 24.0, 20.0, pawY[frame][1] + 2.0, 2.6, kFurTone);
    Stamp(img, Grid(FacePalette(), kPaw), 1, pawY[frame][0]);
    Stamp(img, Grid(FacePalette(), kPaw), 18, pawY[frame][1]);
    return img;
}

}  // namespace

Image BuildHeroFront() { return FrontFrame(0); }

Image BuildCharPic() {
    Image sheet = MakeImage(3 * kFrame, 4 * kFrame);
    for (int f = 0; f < 3; ++f) {
        Stamp(sheet, BackFrame(f), f * kFrame, 0);
        Stamp(sheet, SideFrame(f), f * kFrame, kFrame);
        Stamp(sheet, FrontFrame(f), f * kFrame, 2 * kFrame);
        Stamp(sheet, MirrorX(SideFrame(f)), f * kFrame, 3 * kFrame);
    }
    return Flatten(sheet, kHeroKey);
}

}  // namespace art
