// Shaded ellipse drawing shared by the creature builders.
#include "shapes.h"

#include <cmath>

#include "palette.h"

namespace art {

void DrawBlob(Image& img, const Blob& b) {
    double a = b.turn * M_PI / 180.0;
    double ca = std::cos(a), sa = std::sin(a);
    auto inside = [&](int x, int y) {
        double dx = x + 0.5 - b.cx, dy = y + 0.5 - b.cy;
        double u = (dx * ca + dy * sa) / b.rx;
        double v = (-dx * sa + dy * ca) / b.ry;
        return u * u + v * v <= 1.0;
    };
    for (int y = 0; y < img.height; ++y) {
        for (int x = 0; x < img.width; ++x) {
            if (!inside(x, y)) continue;
            bool edge = !inside(x + 1, y) || !inside(x - 1, y) || !inside(x, y + 1) || !inside(x, y - 1);
            double dx = (x + 0.5 - b.cx) / b.rx, dy = (y + 0.5 - b.cy) / b.ry;
            double lightness = -(dx * 0.55 + dy * 0.83);
            Rgba c = b.tone.base;
            if (lightness > 0.6) c = b.tone.light;
            if (lightness < -0.45) c = b.tone.shade;
            if (edge && b.rim) c = kInk;
            img.At(x, y) = c;
        }
    }
}

void DrawLimb(Image& img, double x0, double y0, double x1, double y1, double width, const Tone& tone) {
    double ex = x1 - x0, ey = y1 - y0;
    double len = std::hypot(ex, ey);
    double turn = std::atan2(-ex, ey) * 180.0 / M_PI;
    DrawBlob(img, {(x0 + x1) / 2, (y0 + y1) / 2, width, len / 2 + 1.0, turn, tone});
}

}  // namespace art
