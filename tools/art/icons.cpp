// The desktop icons: the standing hero, facing the player, in the middle of
// a clear square, resampled by area to each size of the hicolor theme so
// that small sizes stay smooth and large ones keep the pixels' shapes.
#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "pictures.h"

namespace art {

namespace {

constexpr const char* kIconName = "org.tumbleroo.Tumbleroo.png";
constexpr int kIconSizes[] = {16, 32, 48, 64, 128, 256};
// The square around the 24 x 40 figure: its height plus a pixel above and below.
constexpr int kSquare = 42;

// A straight-alpha colour summed over parts of source pixels.
struct Sum {
    double r = 0, g = 0, b = 0, a = 0;
};

// The figure centred in a kSquare x kSquare square.
Image Square() {
    const Image hero = BuildHeroFront();
    Image square = MakeImage(kSquare, kSquare);
    Stamp(square, hero, (kSquare - hero.width) / 2, (kSquare - hero.height) / 2);
    return square;
}

// How much of source pixel s (of n across) the target pixel t (of m across) covers.
double Overlap(int s, int t, int n, int m) {
    const double scale = static_cast<double>(n) / m;
    const double from = std::max<double>(s, t * scale);
    const double to = std::min<double>(s + 1, (t + 1) * scale);
    return std::max(0.0, to - from);
}

// Area resampling with colours weighted by their opacity.
std::vector<uint8_t> Resample(const Image& src, int size) {
    std::vector<uint8_t> rgba(Area(size, size) * 4);
    for (int ty = 0; ty < size; ++ty) {
        for (int tx = 0; tx < size; ++tx) {
            Sum sum;
            double area = 0;
            for (int sy = 0; sy < src.height; ++sy) {
                const double wy = Overlap(sy, ty, src.height, size);
                if (wy == 0) continue;
                for (int sx = 0; sx < src.width; ++sx) {
                    const double w = wy * Overlap(sx, tx, src.width, size);
                    if (w == 0) continue;
                    area += w;
                    const Rgba& c = src.At(sx, sy);
                    if (c.a == 0) continue;
                    sum.r += w * c.r;
                    sum.g += w * c.g;
                    sum.b += w * c.b;
                    sum.a += w;
                }
            }
            uint8_t* out = &rgba[GridIndex(tx, ty, size) * 4];
            if (sum.a > 0) {
                out[0] = static_cast<uint8_t>(sum.r / sum.a + 0.5);
                out[1] = static_cast<uint8_t>(sum.g / sum.a + 0.5);
                out[2] = static_cast<uint8_t>(sum.b / sum.a + 0.5);
            }
            out[3] = static_cast<uint8_t>(255 * sum.a / area + 0.5);
        }
    }
    return rgba;
}

bool SaveRgbaPng(std::vector<uint8_t>& rgba, int size, const std::string& path) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(rgba.data(), size, size, 32, size * 4,
                                                        SDL_PIXELFORMAT_RGBA32);
    if (s == nullptr) return false;
    const bool ok = IMG_SavePNG(s, path.c_str()) == 0;
    SDL_FreeSurface(s);
    return ok;
}

}  // namespace

bool WriteIcons(const std::string& dir) {
    const Image square = Square();
    for (int size : kIconSizes) {
        const std::string folder = dir + "/" + std::to_string(size) + "x" + std::to_string(size) + "/apps";
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        std::vector<uint8_t> rgba = Resample(square, size);
        const std::string path = folder + "/" + kIconName;
        if (!SaveRgbaPng(rgba, size, path)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return false;
        }
    }
    return true;
}

}  // namespace art
