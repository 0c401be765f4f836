// Shaded ellipses ("blobs") for building round creatures, lit from the
// upper left with an ink rim, the way all of the game's characters are drawn.
#pragma once

#include "image.h"

namespace art {

struct Tone {
    Rgba base;
    Rgba light;
    Rgba shade;
};

// One body part: an ellipse turned by `turn` degrees; a marking inside
// another part goes without its rim.
struct Blob {
    double cx, cy, rx, ry;
    double turn;
    Tone tone;
    bool rim = true;
};

void DrawBlob(Image& img, const Blob& blob);

}  // namespace art
