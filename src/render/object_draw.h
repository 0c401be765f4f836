// Drawing one object's picture at its place on the map: map pixels become
// screen pixels at the current scroll position.
#pragma once

#include <cstdint>

#include "core/cell.h"
#include "core/numeric.h"
#include "shell/game.h"

namespace tumbleroo {

// Map pixel to screen pixel at the current scroll position.
inline int32_t ScreenX(const Game& game, double mapX) {
    return Round32(mapX - game.player.ScrollX * kCellPixels);
}
inline int32_t ScreenY(const Game& game, double mapY) {
    return Round32(mapY - game.player.ScrollY * kCellPixels);
}

// Draws picture `cell` of the object sheet with its top left corner at map
// pixel (x, y).
void DrawObjectCell(Game& game, int16_t cell, int32_t x, int32_t y);

}  // namespace tumbleroo
