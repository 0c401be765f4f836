// Opic: the big monkey (two walking frames) and the floating ghost (two
// frames), 32 x 32 each. Both are drawn enlarged by the game, so their
// shapes are bold and their outlines thick. Black is transparent; the ghost
// frames are copied without keying first, so their background stays pure black.
#include "palette.h"
#include "pictures.h"
#include "shapes.h"

namespace art {

namespace {

constexpr int kCell = 32;

constexpr Tone kMonkeyFur{kBrown, Opaque(196, 132, 80), kBrownDark};
constexpr Tone kMonkeyFace{Opaque(250, 206, 160), Opaque(255, 230, 200), Opaque(222, 166, 120)};
constexpr Tone kGhostBody{Opaque(236, 236, 252), kWhite, Opaque(180, 176, 226)};

const Palette& FacePalette() {
    static const Palette p = {
        {'k', kInk}, {'w', kWhite}, {'p', kPink}, {'r', kRed}, {'R', kRedDark}, {'b', kBrownDark},
    };
    return p;
}

const char* kMonkeyEyes = R"(
kkk...kkk
kwk...kwk
kkk...kkk
)";

const char* kMonkeyMouth = R"(
.k...k.
..kkk..
..krk..
)";

Image Monkey(int frame) {
    Image img = MakeImage(kCell, kCell);
    int up = frame == 0 ? 0 : 1;
    // Arms swing: one hand up, one down, swapping each frame.
    double leftHandY = frame == 0 ? 9 : 25;
    double rightHandY = frame == 0 ? 25 : 9;
    DrawLimb(img, 9.0, 19.0 + up, 3.5, leftHandY, 3.0, kMonkeyFur);
    DrawLimb(img, 23.0, 19.0 + up, 28.5, rightHandY, 3.0, kMonkeyFur);
    DrawBlob(img, {3.5, leftHandY, 3.2, 3.2, 0, kMonkeyFace});
    DrawBlob(img, {28.5, rightHandY, 3.2, 3.2, 0, kMonkeyFace});
    // Legs and feet, stepping.
    DrawBlob(img, {10.0, 28.5 - (frame == 0 ? 1 : 0), 4.6, 3.4, 0, kMonkeyFur});
    DrawBlob(img, {22.0, 28.5 - (frame == 1 ? 1 : 0), 4.6, 3.4, 0, kMonkeyFur});
    // Body with a light belly.
    DrawBlob(img, {16.0, 21.0 + up, 9.0, 8.0, 0, kMonkeyFur});
    DrawBlob(img, {16.0, 22.5 + up, 5.5, 5.0, 0, kMonkeyFace, false});
    // Ears and head.
    DrawBlob(img, {5.0, 9.0 + up, 4.0, 4.0, 0, kMonkeyFur});
    DrawBlob(img, {5.0, 9.0 + up, 2.0, 2.0, 0, kMonkeyFace, false});
    DrawBlob(img, {27.0, 9.0 + up, 4.0, 4.0, 0, kMonkeyFur});
    DrawBlob(img, {27.0, 9.0 + up, 2.0, 2.0, 0, kMonkeyFace, false});
    DrawBlob(img, {16.0, 9.0 + up, 10.0, 8.6, 0, kMonkeyFur});
    // Heart-shaped face: two brow lobes and a muzzle.
    DrawBlob(img, {12.5, 8.5 + up, 4.2, 4.0, 0, kMonkeyFace, false});
    DrawBlob(img, {19.5, 8.5 + up, 4.2, 4.0, 0, kMonkeyFace, false});
    DrawBlob(img, {16.0, 13.0 + up, 6.4, 4.0, 0, kMonkeyFace});
    Stamp(img, Grid(FacePalette(), kMonkeyEyes), 12, 7 + up);
    Stamp(img, Grid(FacePalette(), kMonkeyMouth), 13, 12 + up);
    // A tuft of hair on top.
    img.Plot(15, 0 + up, kInk);
    img.Plot(16, 0 + up, kInk);
    img.Plot(17, 1 + up, kInk);
    return img;
}

const char* kGhostEyes = R"(
.kk...kk.
kkkk.kkkk
kwkk.kwkk
kkkk.kkkk
.kk...kk.
)";

Image Ghost(int frame) {
    Image img = MakeImage(kCell, kCell);
    int bob = frame == 0 ? 0 : 2;
    // The sheet: a dome above, a wavy hem below.
    Image body = MakeImage(kCell, kCell);
    DrawBlob(body, {16.0, 13.0 + bob, 12.5, 12.0, 0, kGhostBody, false});
    for (int y = 13 + bob; y < 28 + bob && y < kCell; ++y) {
        for (int x = 4; x < 29; ++x) body.At(x, y) = (x > 22) ? kGhostBody.shade : kGhostBody.base;
    }
    // Hem: scallops that shift between the frames.
    for (int x = 3; x < 29; ++x) {
        int phase = (x + frame * 3) % 6;
        int hem = 25 + bob + (phase < 3 ? phase : 6 - phase);
        for (int y = hem; y < kCell; ++y) body.Plot(x, y, kClear);
        for (int y = 13 + bob; y < hem && y < kCell; ++y) {
            if (body.At(x, y).a == 0) body.At(x, y) = kGhostBody.base;
        }
    }
    Outline(body, kInk);
    Stamp(img, body, 0, 0);
    // Little arms raised to spook.
    DrawBlob(img, {4.0, 16.0 + bob + (frame == 0 ? 0 : -2), 3.0, 4.0, 30, kGhostBody});
    DrawBlob(img, {28.0, 16.0 + bob + (frame == 0 ? -2 : 0), 3.0, 4.0, -30, kGhostBody});
    Stamp(img, Grid(FacePalette(), kGhostEyes), 11, 9 + bob);
    // Open mouth and cheeks.
    DrawBlob(img, {16.0, 19.5 + bob, 2.6, 2.2 + frame * 0.8, 0, {kRedDark, kRed, kRedDark}});
    img.Plot(9, 16 + bob, kPink);
    img.Plot(10, 16 + bob, kPink);
    img.Plot(22, 16 + bob, kPink);
    img.Plot(23, 16 + bob, kPink);
    return img;
}

}  // namespace

Image BuildOpic() {
    Image pic = MakeImage(4 * kCell, kCell);
    Stamp(pic, Monkey(0), 0, 0);
    Stamp(pic, Monkey(1), kCell, 0);
    Stamp(pic, Ghost(0), 2 * kCell, 0);
    Stamp(pic, Ghost(1), 3 * kCell, 0);
    return Flatten(pic, kKeyBlack);
}

}  // namespace art
