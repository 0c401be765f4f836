// SDL_image and SDL_ttf behind the platform interface's resource calls.
#include "platform/sdl_support.h"

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <cmath>
#include <cstdio>
#include <filesystem>

#include "platform/table_index.h"

namespace tumbleroo {

namespace {

// The proportional Gothic face all words are drawn in, and its package.
constexpr const char* kFontFamily = "IPAPGothic";
constexpr const char* kFontPackage = "fonts-ipafont-gothic";

// The face's file as fontconfig knows it; empty when fontconfig has no such
// family (it would otherwise offer whatever face comes closest).
// A configuration of its own, destroyed after the one lookup, so nothing
// of fontconfig stays allocated for the rest of the run.
std::string FindFontByFamily() {
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (!config) return {};
    std::string path;
    FcPattern* wanted = FcPatternCreate();
    FcPatternAddString(wanted, FC_FAMILY, reinterpret_cast<const FcChar8*>(kFontFamily));
    FcConfigSubstitute(config, wanted, FcMatchPattern);
    FcDefaultSubstitute(wanted);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, wanted, &result);
    FcChar8* family = nullptr;
    FcChar8* file = nullptr;
    if (match && FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch &&
        FcStrCmpIgnoreCase(family, reinterpret_cast<const FcChar8*>(kFontFamily)) == 0 &&
        FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
        path = reinterpret_cast<const char*>(file);
    }
    if (match) FcPatternDestroy(match);
    FcPatternDestroy(wanted);
    FcConfigDestroy(config);
    return path;
}

// Fontconfig first, so the font is found wherever the system keeps it; the
// path known when the game was built otherwise.
std::string FindFontFile() {
    const std::string found = FindFontByFamily();
    if (!found.empty()) return found;
    std::error_code error;
    if (std::filesystem::is_regular_file(TUMBLEROO_FONT_PATH, error)) return TUMBLEROO_FONT_PATH;
    std::fprintf(stderr,
                 "The font %s is missing (not known to fontconfig, not at %s): words cannot be "
                 "drawn. Install the package %s.\n",
                 kFontFamily, TUMBLEROO_FONT_PATH, kFontPackage);
    return {};
}

}  // namespace

bool DecodePng(const uint8_t* data, size_t size, RgbImage& out) {
    SDL_RWops* rw = SDL_RWFromConstMem(data, static_cast<int>(size));
    if (!rw) return false;
    SDL_Surface* loaded = IMG_Load_RW(rw, 1);
    if (!loaded) return false;
    SDL_Surface* rgb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB24, 0);
    SDL_FreeSurface(loaded);
    if (!rgb) return false;
    out.width = rgb->w;
    out.height = rgb->h;
    out.rgb.resize(CellCount(rgb->w, rgb->h) * 3);
    SDL_LockSurface(rgb);
    for (int y = 0; y < rgb->h; ++y) {
        const uint8_t* row = static_cast<const uint8_t*>(rgb->pixels) + RowMajor(0, y, rgb->pitch);
        std::copy(row, row + rgb->w * 3, &out.rgb[RowMajor(0, y, rgb->w) * 3]);
    }
    SDL_UnlockSurface(rgb);
    SDL_FreeSurface(rgb);
    return true;
}

bool WriteRgbPng(const std::string& path, const RgbImage& image) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, image.width, image.height, 24,
                                                    SDL_PIXELFORMAT_RGB24);
    if (!s) return false;
    SDL_LockSurface(s);
    for (int y = 0; y < image.height; ++y) {
        const uint8_t* src = &image.rgb[RowMajor(0, y, image.width) * 3];
        uint8_t* dst = static_cast<uint8_t*>(s->pixels) + RowMajor(0, y, s->pitch);
        std::copy(src, src + image.width * 3, dst);
    }
    SDL_UnlockSurface(s);
    const bool ok = IMG_SavePNG(s, path.c_str()) == 0;
    SDL_FreeSurface(s);
    return ok;
}

struct TextRasterizer::Face {
    TTF_Font* font = nullptr;
    ~Face() {
        if (font) TTF_CloseFont(font);
    }
};

TextRasterizer::TextRasterizer() {
    ready_ = TTF_WasInit() > 0 || TTF_Init() == 0;
    if (!ready_) std::fprintf(stderr, "Text cannot be drawn: %s\n", TTF_GetError());
    if (ready_) fontPath_ = FindFontFile();
    ready_ = ready_ && !fontPath_.empty();
}

TextRasterizer::~TextRasterizer() { faces_.clear(); }

GlyphBitmap TextRasterizer::Render(const std::string& utf8, const FontSpec& font) {
    GlyphBitmap out;
    if (!ready_ || utf8.empty()) return out;
    // Point sizes are meant at 96 dots per inch.
    const int pixelSize = std::max(1, static_cast<int>(std::lround(font.pointSize * 96.0 / 72.0)));
    auto& face = faces_[pixelSize];
    if (!face) {
        face = std::make_unique<Face>();
        face->font = TTF_OpenFont(fontPath_.c_str(), pixelSize);
        if (!face->font) std::fprintf(stderr, "Font %s: %s\n", fontPath_.c_str(), TTF_GetError());
    }
    if (!face->font) return out;
    int style = TTF_STYLE_NORMAL;
    if (font.bold) style |= TTF_STYLE_BOLD;
    if (font.italic) style |= TTF_STYLE_ITALIC;
    TTF_SetFontStyle(face->font, style);
    const SDL_Color white{255, 255, 255, 255};
    SDL_Surface* text = TTF_RenderUTF8_Blended(face->font, utf8.c_str(), white);
    if (!text) return out;
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(text, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(text);
    if (!argb) return out;
    out.width = argb->w;
    out.height = argb->h;
    out.coverage.resize(CellCount(argb->w, argb->h));
    SDL_LockSurface(argb);
    for (int y = 0; y < argb->h; ++y) {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(
            static_cast<const uint8_t*>(argb->pixels) + RowMajor(0, y, argb->pitch));
        for (int x = 0; x < argb->w; ++x) {
            out.coverage[RowMajor(x, y, argb->w)] = static_cast<uint8_t>(row[x] >> 24);
        }
    }
    SDL_UnlockSurface(argb);
    SDL_FreeSurface(argb);
    return out;
}

}  // namespace tumbleroo
