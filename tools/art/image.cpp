// Image primitives used by every picture builder.
#include "image.h"

#include <SDL.h>
#include <SDL_image.h>

#include <stdexcept>

namespace art {

Image MakeImage(int width, int height, Rgba fill) {
    Image img;
    img.width = width;
    img.height = height;
    img.pixels.assign(Area(width, height), fill);
    return img;
}

Image Grid(const Palette& palette, std::string_view rows) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start <= rows.size()) {
        size_t end = rows.find('\n', start);
        if (end == std::string_view::npos) end = rows.size();
        std::string_view line = rows.substr(start, end - start);
        if (!line.empty()) lines.push_back(line);
        start = end + 1;
    }
    if (lines.empty()) throw std::runtime_error("empty sprite grid");
    Image img = MakeImage(static_cast<int>(lines[0].size()), static_cast<int>(lines.size()));
    for (int y = 0; y < img.height; ++y) {
        if (static_cast<int>(lines[Index(y)].size()) != img.width) {
            throw std::runtime_error("ragged sprite grid row: " + std::string(lines[Index(y)]));
        }
        for (int x = 0; x < img.width; ++x) {
            char ch = lines[Index(y)][Index(x)];
            if (ch == '.' || ch == ' ') continue;
            auto it = palette.find(ch);
            if (it == palette.end()) {
                throw std::runtime_error(std::string("colour not in palette: ") + ch);
            }
            img.At(x, y) = it->second;
        }
    }
    return img;
}

void Stamp(Image& dst, const Image& src, int x, int y) {
    for (int sy = 0; sy < src.height; ++sy) {
        for (int sx = 0; sx < src.width; ++sx) {
            const Rgba& c = src.At(sx, sy);
            if (c.a != 0) dst.Plot(x + sx, y + sy, c);
        }
    }
}

Image Crop(const Image& src, int x, int y, int width, int height) {
    Image out = MakeImage(width, height);
    for (int cy = 0; cy < height; ++cy) {
        for (int cx = 0; cx < width; ++cx) {
            if (src.Inside(x + cx, y + cy)) out.At(cx, cy) = src.At(x + cx, y + cy);
        }
    }
    return out;
}

Image MirrorX(const Image& src) {
    Image out = MakeImage(src.width, src.height);
    for (int y = 0; y < src.height; ++y) {
        for (int x = 0; x < src.width; ++x) out.At(src.width - 1 - x, y) = src.At(x, y);
    }
    return out;
}

Image MirrorY(const Image& src) {
    Image out = MakeImage(src.width, src.height);
    for (int y = 0; y < src.height; ++y) {
        for (int x = 0; x < src.width; ++x) out.At(x, src.height - 1 - y) = src.At(x, y);
    }
    return out;
}

Image Recolour(const Image& src, const std::vector<std::pair<Rgba, Rgba>>& swaps) {
    Image out = src;
    for (Rgba& c : out.pixels) {
        for (const auto& [from, to] : swaps) {
            if (c == from) {
                c = to;
                break;
            }
        }
    }
    return out;
}

void Outline(Image& img, Rgba c) {
    Image src = img;
    for (int y = 0; y < img.height; ++y) {
        for (int x = 0; x < img.width; ++x) {
            if (src.At(x, y).a != 0) continue;
            bool near = false;
            for (int dy = -1; dy <= 1 && !near; ++dy) {
                for (int dx = -1; dx <= 1 && !near; ++dx) {
                    near = src.Inside(x + dx, y + dy) && src.At(x + dx, y + dy).a != 0;
                }
            }
            if (near) img.At(x, y) = c;
        }
    }
}

Image Flatten(const Image& src, Rgba background) {
    Image out = src;
    for (Rgba& c : out.pixels) {
        if (c.a == 0) c = background;
        c.a = 255;
    }
    return out;
}

Image ScaleNearest(const Image& src, int factor) {
    Image out = MakeImage(src.width * factor, src.height * factor);
    for (int y = 0; y < out.height; ++y) {
        for (int x = 0; x < out.width; ++x) out.At(x, y) = src.At(x / factor, y / factor);
    }
    return out;
}

uint32_t Hash(int x, int y, int seed) {
    uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u +
                 static_cast<uint32_t>(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return (h ^ (h >> 16)) & 0xFF;
}

bool SavePng(const Image& img, const std::string& path) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, img.width, img.height, 24, SDL_PIXELFORMAT_RGB24);
    if (s == nullptr) return false;
    for (int y = 0; y < img.height; ++y) {
        auto* row = static_cast<uint8_t*>(s->pixels) + Index(y) * Index(s->pitch);
        for (int x = 0; x < img.width; ++x) {
            const Rgba& c = img.At(x, y);
            row[3 * x] = c.r;
            row[3 * x + 1] = c.g;
            row[3 * x + 2] = c.b;
        }
    }
    bool ok = IMG_SavePNG(s, path.c_str()) == 0;
    SDL_FreeSurface(s);
    return ok;
}

bool LoadPng(const std::string& path, Image& out) {
    SDL_Surface* loaded = IMG_Load(path.c_str());
    if (loaded == nullptr) return false;
    SDL_Surface* s = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB24, 0);
    SDL_FreeSurface(loaded);
    if (s == nullptr) return false;
    out = MakeImage(s->w, s->h);
    for (int y = 0; y < s->h; ++y) {
        const auto* row = static_cast<const uint8_t*>(s->pixels) + Index(y) * Index(s->pitch);
        for (int x = 0; x < s->w; ++x) out.At(x, y) = Opaque(row[3 * x], row[3 * x + 1], row[3 * x + 2]);
    }
    SDL_FreeSurface(s);
    return true;
}

}  // namespace art
