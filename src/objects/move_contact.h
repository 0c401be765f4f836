// Move and contact for one object per call: the contact flags tell where the
// player stands relative to the object before it moves; one-cell kinds are
// then drawn where they stand after the move.
#pragma once

#include <cstdint>

#include "shell/game.h"

namespace tumbleroo {

// The four contact windows for an object of the given size at (x, y).
ContactFlags MeasureContact(const Game& game, int32_t x, int32_t y, int32_t size);
// A one-cell object: measured, moved by (dx, dy), drawn as picture `cell`.
ContactFlags MoveDrawPlaced(Game& game, int16_t dx, int16_t dy, PlacedObject& object, int16_t cell);
// An enemy of `size` pixels: measured and moved; drawn as picture `cell`
// when it is one cell big (larger kinds draw themselves).
ContactFlags MoveDrawActor(Game& game, int16_t dx, int16_t dy, Actor& actor, int16_t cell, int32_t size);

}  // namespace tumbleroo
