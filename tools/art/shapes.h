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
// A limb from (x0, y0) to (x1, y1): a blob `width` wide along that line.
void DrawLimb(Image& img, double x0, double y0, double x1, double y1, double width, const Tone& tone);

}  // namespace art
