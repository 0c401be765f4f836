// Full screen or a window: chosen at start-up from the command line or
// else the saved mode (full screen when none is saved), and saved at the
// end when the player switched it (F11, Alt+Enter).
#pragma once

namespace tumbleroo {

struct Game;

// Hands the mode to the platform before the display opens.
void ApplyWindowMode(Game& game);
// Saves the mode when it is not the one the game started in.
void SaveChangedWindowMode(Game& game);

}  // namespace tumbleroo
