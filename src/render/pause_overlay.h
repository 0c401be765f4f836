// The picture shown while play is paused: the stage as it was, dimmed,
// under a panel with the word "PAUSE" and the keys that go on or leave.
#pragma once

#include <cstdint>
#include <vector>

namespace tumbleroo {

struct Game;

// Draws the overlay into the back buffer over `stageFrame` (a whole frame
// of the back buffer's size). The back buffer's text settings and the
// window's font are left as they were.
void DrawPauseOverlay(Game& game, const std::vector<uint16_t>& stageFrame);

}  // namespace tumbleroo
