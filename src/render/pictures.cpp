// The built-in pictures: PNG files assembled into the program, decoded into
// surfaces at start-up with their colour keys.
#include "render/pictures.h"

#include <cstring>
#include <memory>
#include <utility>

#include "render/display.h"
#include "shell/game.h"

#define TUMBLEROO_PICTURE(name)                        \
    extern "C" const uint8_t picture_##name##_begin[]; \
    extern "C" const uint8_t picture_##name##_end[];
TUMBLEROO_PICTURE(BlockPic)
TUMBLEROO_PICTURE(ObjPictures)
TUMBLEROO_PICTURE(CharPic)
TUMBLEROO_PICTURE(NumberP)
TUMBLEROO_PICTURE(Title)
TUMBLEROO_PICTURE(Choice)
TUMBLEROO_PICTURE(NamePic)
TUMBLEROO_PICTURE(Opic)
TUMBLEROO_PICTURE(Picture1)
TUMBLEROO_PICTURE(StagePic)
#undef TUMBLEROO_PICTURE

namespace tumbleroo {

namespace {

// Where the two orbiter frames lie in Opic, and their enlarged size.
constexpr int32_t kOpicGhostX = 64;
constexpr int32_t kOpicFramePixels = 32;
constexpr int32_t kGhostFramePixels = 40;

struct PictureEntry {
    const char* name;
    const uint8_t* begin;
    const uint8_t* end;
    Surface Pictures::*surface;
};

#define TUMBLEROO_ENTRY(name) \
    PictureEntry { #name, picture_##name##_begin, picture_##name##_end, &Pictures::name }
// In the order start-up creates them; GhostSheet is made between Opic and Picture1.
const PictureEntry kPictures[] = {
    TUMBLEROO_ENTRY(BlockPic), TUMBLEROO_ENTRY(ObjPictures), TUMBLEROO_ENTRY(CharPic),
    TUMBLEROO_ENTRY(NumberP),  TUMBLEROO_ENTRY(Title),       TUMBLEROO_ENTRY(Choice),
    TUMBLEROO_ENTRY(NamePic),  TUMBLEROO_ENTRY(Opic),        TUMBLEROO_ENTRY(Picture1),
    TUMBLEROO_ENTRY(StagePic),
};
#undef TUMBLEROO_ENTRY

// The orbiter's two frames of Opic, enlarged into their own sheet.
void FillGhostSheet(Pictures& p) {
    StretchBlit(p.GhostSheet, 0, 0, 2 * kGhostFramePixels, kGhostFramePixels, p.Opic, kOpicGhostX, 0,
                2 * kOpicFramePixels, kOpicFramePixels, false);
}

bool LoadPicture(Platform& platform, Pictures& pictures, const PictureEntry& entry) {
    RgbImage image;
    const size_t size = static_cast<size_t>(entry.end - entry.begin);
    if (!platform.DecodeImage(entry.begin, size, image)) return false;
    pictures.*entry.surface = CreateSurfaceFromPicture(image);
    return true;
}

}  // namespace

std::span<const uint8_t> PictureBytes(const char* name) {
    for (const PictureEntry& e : kPictures) {
        if (std::strcmp(e.name, name) == 0) {
            return {e.begin, static_cast<size_t>(e.end - e.begin)};
        }
    }
    return {};
}

bool CreatePictureSurfaces(Platform& platform, Pictures& p) {
    bool ok = true;
    for (const PictureEntry& e : kPictures) {
        if (e.surface == &Pictures::Picture1) {
            p.GhostSheet = CreateBlankSurface(2 * kGhostFramePixels, kGhostFramePixels);
        }
        ok = LoadPicture(platform, p, e) && ok;
    }
    FillGhostSheet(p);
    SetColorKey(p.BlockPic, 0);
    SetColorKey(p.GhostSheet, 0);
    SetColorKey(p.Picture1, 0);
    SetColorKey(p.StagePic, 0);
    SetColorKey(p.ObjPictures, ColorToPixel(0));
    SetColorKey(p.NumberP, ColorToPixel(0));
    return ok;
}

}  // namespace tumbleroo
