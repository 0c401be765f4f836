// The ten pictures built into the program, and the surfaces made from them.
#pragma once

#include <cstdint>
#include <span>

namespace tumbleroo {

struct Game;

// The PNG bytes of a built-in picture, by its name (BlockPic, ObjPictures, ...).
std::span<const uint8_t> PictureBytes(const char* name);
// Creates every picture surface in start-up order and sets their colour keys.
bool CreatePictureSurfaces(Game& game);

}  // namespace tumbleroo
