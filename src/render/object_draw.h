// Move, contact and draw for one object: the contact flags are measured
// before the move, the drawing uses the position after it.
#pragma once

#include <cstdint>

#include "shell/game.h"

namespace tumbleroo {

ContactFlags MoveDrawPlaced(Game& game, int16_t dx, int16_t dy, PlacedObject& object, int16_t cell);
ContactFlags MoveDrawActor(Game& game, int16_t dx, int16_t dy, Actor& actor, int16_t cell,
                           int32_t& size);
// The four contact windows for an object of the given size at (x, y).
ContactFlags MeasureContact(const Game& game, int32_t x, int32_t y, int32_t size);

}  // namespace tumbleroo
