// The contact sheet: every picture at 3x on a checkerboard where it is
// transparent, with its cells outlined and labelled, plus previews of how
// terrain tiles, decoration strips and panel pieces join in the game.
#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <string>
#include <vector>

#include "palette.h"
#include "pictures.h"

namespace art {

namespace {

constexpr int kZoom = 3;
constexpr int kSheetWidth = 1420;
constexpr int kMargin = 16;
constexpr Rgba kSheetBack = Opaque(44, 44, 52);
constexpr Rgba kGridLine = Opaque(255, 64, 200);
constexpr Rgba kLabel = Opaque(235, 235, 240);

struct Rect {
    int x, y, w, h;
};

std::vector<Rect> CellGrid(int width, int height, int cw, int ch) {
    std::vector<Rect> cells;
    for (int y = 0; y + ch <= height; y += ch) {
        for (int x = 0; x + cw <= width; x += cw) cells.push_back({x, y, cw, ch});
    }
    return cells;
}

std::vector<Rect> CellsOf(const std::string& name) {
    if (name == "BlockPic" || name == "ObjPictures") return CellGrid(name == "BlockPic" ? 200 : 780, 20, 20, 20);
    if (name == "CharPic") return CellGrid(120, 160, 40, 40);
    if (name == "Opic") return CellGrid(128, 32, 32, 32);
    if (name == "Picture1") return CellGrid(240, 30, 30, 30);
    if (name == "Title") return {{0, 0, 452, 72}};
    if (name == "NamePic") return {{0, 0, 223, 99}};
    if (name == "StagePic") {
        std::vector<Rect> r = {{0, 0, 85, 33}, {100, 35, 20, 26}};
        for (int d = 0; d < 5; ++d) r.push_back({d * 20, 35, 20, 26});
        return r;
    }
    if (name == "Choice") {
        return {{0, 0, 145, 50},  {0, 50, 145, 50},  {0, 100, 145, 50}, {0, 150, 70, 44},
                {0, 195, 99, 69}, {0, 265, 50, 50},  {53, 265, 24, 44}, {100, 236, 45, 79}};
    }
    if (name == "NumberP") {
        std::vector<Rect> r;
        for (int d = 0; d < 10; ++d) r.push_back({12 * d, 0, 12, 24});
        r.push_back({120, 0, 7, 24});
        for (int s = 1; s <= 5; ++s) {
            r.push_back({0, 24 * (3 * s - 2), 127, 24});
            r.push_back({0, 24 * (3 * s - 1), 127, 48});
        }
        return r;
    }
    return {};
}

bool IsKey(const PictureRecipe& recipe, const Image& img, int x, int y) {
    if (recipe.key == KeyRule::kNone) return false;
    Rgba key = recipe.key == KeyRule::kBlack ? kKeyBlack : img.At(0, 0);
    return img.At(x, y) == key;
}

// Draws the picture's region at 3x; transparent pixels become a checkerboard.
void DrawZoomed(Image& sheet, const PictureRecipe& recipe, const Image& img, Rect src, int x0, int y0) {
    for (int y = 0; y < src.h * kZoom; ++y) {
        for (int x = 0; x < src.w * kZoom; ++x) {
            int px = src.x + x / kZoom;
            int py = src.y + y / kZoom;
            Rgba c = img.At(px, py);
            if (IsKey(recipe, img, px, py)) c = ((x / 6 + y / 6) % 2 == 0) ? Opaque(96, 96, 104) : Opaque(128, 128, 136);
            sheet.Plot(x0 + x, y0 + y, c);
        }
    }
}

void DrawFrame(Image& sheet, Rect r, Rgba c) {
    for (int x = r.x; x < r.x + r.w; ++x) {
        sheet.Plot(x, r.y, c);
        sheet.Plot(x, r.y + r.h - 1, c);
    }
    for (int y = r.y; y < r.y + r.h; ++y) {
        sheet.Plot(r.x, y, c);
        sheet.Plot(r.x + r.w - 1, y, c);
    }
}

void DrawLabel(Image& sheet, TTF_Font* font, const std::string& text, int x, int y) {
    if (font == nullptr) return;
    SDL_Surface* s = TTF_RenderUTF8_Solid(font, text.c_str(), SDL_Color{255, 255, 255, 255});
    if (s == nullptr) return;
    SDL_LockSurface(s);
    for (int py = 0; py < s->h; ++py) {
        const auto* row = static_cast<const uint8_t*>(s->pixels) + Index(py) * Index(s->pitch);
        for (int px = 0; px < s->w; ++px) {
            if (row[px] != 0) sheet.Plot(x + px, y + py, kLabel);
        }
    }
    SDL_UnlockSurface(s);
    SDL_FreeSurface(s);
}

// Terrain of each style as the game lays it out: decoration strips behind,
// a hill of top tiles over inner tiles in front.
Image TerrainPreview(const Image& blocks, const Image& numbers, int style) {
    constexpr int kCols = 14;
    constexpr int kRows = 8;
    const Rgba skies[] = {Opaque(120, 190, 248), Opaque(170, 200, 236), Opaque(60, 110, 96),
                          Opaque(236, 170, 110), Opaque(40, 36, 90)};
    Image scene = MakeImage(kCols * 20, kRows * 20, skies[style - 1]);
    auto keyed = [&](int sx, int sy, int w, int h, int dx, int dy) {
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                Rgba c = numbers.At(sx + x, sy + y);
                if (!(c == kKeyBlack)) scene.Plot(dx + x, dy + y, c);
            }
        }
    };
    for (int i = 0; i < 3; ++i) keyed(0, 24 * (3 * style - 2), 127, 24, i * 100 - 10, 6 + (i % 2) * 30);
    for (int i = 0; i * 120 < scene.width; ++i) keyed(0, 24 * (3 * style - 1), 127, 48, i * 120, scene.height - 40);
    const int heights[kCols] = {2, 2, 3, 3, 0, 0, 4, 2, 2, 0, 0, 5, 3, 3};
    for (int c = 0; c < kCols; ++c) {
        for (int r = kRows - heights[c]; r < kRows; ++r) {
            int cell = (r == kRows - heights[c]) ? 2 * style - 1 : 2 * style - 2;
            Stamp(scene, Crop(blocks, cell * 20, 0, 20, 20), c * 20, r * 20);
        }
    }
    return scene;
}

Image PanelPreview(const Image& frame) {
    Image panel = MakeImage(7 * 30, 4 * 30, kMenuNavy);
    auto piece = [&](int index, int x, int y) {
        for (int py = 0; py < 30; ++py) {
            for (int px = 0; px < 30; ++px) {
                Rgba c = frame.At(index * 30 + px, py);
                if (!(c == kKeyBlack)) panel.Plot(x + px, y + py, c);
            }
        }
    };
    int cols = 7, rows = 4;
    piece(3, 0, 0);
    piece(4, 0, 30 * (rows - 1));
    piece(2, 30 * (cols - 1), 0);
    piece(5, 30 * (cols - 1), 30 * (rows - 1));
    for (int c = 1; c < cols - 1; ++c) {
        piece(0, 30 * c, 0);
        piece(6, 30 * c, 30 * (rows - 1));
    }
    for (int r = 1; r < rows - 1; ++r) {
        piece(1, 0, 30 * r);
        piece(7, 30 * (cols - 1), 30 * r);
    }
    return panel;
}

}  // namespace

bool WriteContactSheet(const std::string& path) {
    if (TTF_Init() != 0) return false;
    TTF_Font* font = TTF_OpenFont(TUMBLEROO_FONT_PATH, 18);
    TTF_Font* small = TTF_OpenFont(TUMBLEROO_FONT_PATH, 12);
    std::vector<Image> built;
    for (const PictureRecipe& recipe : AllPictures()) built.push_back(recipe.build());

    Image sheet = MakeImage(kSheetWidth, 8000, kSheetBack);
    // Pictures are set side by side in shelves; long strips are wrapped.
    int x = kMargin;
    int y = kMargin;
    int shelfHeight = 0;
    for (size_t i = 0; i < AllPictures().size(); ++i) {
        const PictureRecipe& recipe = AllPictures()[i];
        const Image& img = built[i];
        int wrap = recipe.width * kZoom > kSheetWidth - 2 * kMargin ? 260 : recipe.width;
        int parts = (recipe.width + wrap - 1) / wrap;
        int blockWidth = wrap * kZoom;
        int blockHeight = 26 + parts * (recipe.height * kZoom + 8);
        if (x > kMargin && x + blockWidth > kSheetWidth - kMargin) {
            x = kMargin;
            y += shelfHeight + 14;
            shelfHeight = 0;
        }
        DrawLabel(sheet, font, std::string(recipe.name) + "  " + std::to_string(img.width) + " x " +
                                   std::to_string(img.height), x, y);
        int py = y + 26;
        for (int part = 0; part < parts; ++part) {
            Rect src{part * wrap, 0, std::min(wrap, recipe.width - part * wrap), recipe.height};
            DrawZoomed(sheet, recipe, img, src, x, py);
            for (const Rect& r : CellsOf(recipe.name)) {
                if (r.x < src.x || r.x + r.w > src.x + src.w) continue;
                DrawFrame(sheet, {x + (r.x - src.x) * kZoom, py + r.y * kZoom, r.w * kZoom, r.h * kZoom}, kGridLine);
                if (std::string(recipe.name) == "ObjPictures") {
                    DrawLabel(sheet, small, std::to_string(r.x / 20), x + (r.x - src.x) * kZoom + 2, py + 2);
                }
            }
            py += src.h * kZoom + 8;
        }
        x += blockWidth + 24;
        shelfHeight = std::max(shelfHeight, blockHeight);
    }
    y += shelfHeight + 14;
    // How the parts join in the game.
    DrawLabel(sheet, font, "Terrain styles 1-5 with their decoration strips, and a 7 x 4 panel", kMargin, y);
    y += 26;
    const Image& blocks = built[0];
    const Image& numbers = built[3];
    x = kMargin;
    for (int style = 1; style <= 5; ++style) {
        Image scene = TerrainPreview(blocks, numbers, style);
        if (x + scene.width * 2 > kSheetWidth) {
            x = kMargin;
            y += scene.height * 2 + 10;
        }
        Stamp(sheet, ScaleNearest(scene, 2), x, y);
        x += scene.width * 2 + 10;
    }
    Image panel = PanelPreview(built[8]);
    Stamp(sheet, ScaleNearest(panel, 2), x, y);
    y += 8 * 20 * 2 + kMargin;

    Image trimmed = Crop(sheet, 0, 0, kSheetWidth, y);
    TTF_CloseFont(font);
    TTF_CloseFont(small);
    TTF_Quit();
    return SavePng(Flatten(trimmed, kSheetBack), path);
}

}  // namespace art
