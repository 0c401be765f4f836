// The ten pictures built into the program, and the surfaces made from them.
#pragma once

#include <cstdint>
#include <span>

#include "render/surface.h"

namespace tumbleroo {

class Platform;

// The surfaces every screen and stage draws from.
struct Pictures {
    Surface BlockPic, ObjPictures, CharPic, NumberP, Title, Choice, NamePic, Opic, GhostSheet,
        Picture1, StagePic;
};


// The PNG bytes of a built-in picture, by its name (BlockPic, ObjPictures, ...).
std::span<const uint8_t> PictureBytes(const char* name);
// Creates every picture surface in start-up order and sets their colour keys.
bool CreatePictureSurfaces(Platform& platform, Pictures& pictures);

}  // namespace tumbleroo
