// Pausing play between two stage frames.
#pragma once

namespace tumbleroo {

struct Game;

// Shows the pause overlay, one flip per frame, until the pause key is
// pressed again (a press that began before the pause does not count while
// pauseKeyHeld says it is still down). Returns false when the player left
// the course with Escape instead. The stage and the flip chain are as they
// were before the pause.
bool RunPause(Game& game, bool pauseKeyHeld);

// Whether play should pause now: a fresh press of the pause key, or the
// window lost the keys. `pauseKeyHeld` carries the key's state from one
// stage frame to the next.
bool PauseWanted(Game& game, bool& pauseKeyHeld);

}  // namespace tumbleroo
