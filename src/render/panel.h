// Panel frames built from the 30 x 30 pieces of Picture1.
#pragma once

#include <cstdint>

namespace tumbleroo {

struct Game;

void DrawPanelFrame(Game& game, int32_t x, int32_t y, int32_t cols, int32_t rows);

}  // namespace tumbleroo
