// Pause: play stops between two stage frames, so nothing of the stage
// moves, counts or animates until it goes on; only the overlay is shown.
#include "shell/pause.h"

#include <utility>
#include <vector>

#include "render/display.h"
#include "render/pause_overlay.h"
#include "shell/game.h"
#include "shell/program.h"

namespace tumbleroo {

namespace {

bool PauseKeyDown(Game& game) { return KeyDown(game, Key::Pause); }

}  // namespace

bool PauseWanted(Game& game, bool& pauseKeyHeld) {
    const bool down = PauseKeyDown(game);
    const bool pressed = down && !pauseKeyHeld;
    pauseKeyHeld = down;
    const bool focusLost = std::exchange(game.run.focusLost, false);
    return pressed || focusLost;
}

bool RunPause(Game& game, bool pauseKeyHeld) {
    DisplayState& d = game.display;
    // The next stage frame draws over a flip chain as it was, so a run
    // with a pause draws every later frame as one without.
    const std::vector<uint16_t> back = d.BackBuffer.pixels;
    const std::vector<uint16_t> front = d.FrontBuffer.pixels;
    DrawPauseOverlay(game, front);
    const std::vector<uint16_t> overlay = d.BackBuffer.pixels;

    bool held = pauseKeyHeld;
    bool goOn = true;
    for (;;) {
        d.BackBuffer.pixels = overlay;
        FlipScreen(game);
        ProcessPendingEvents(game);
        const bool down = PauseKeyDown(game);
        if (down && !held) break;
        held = down;
        if (KeyDown(game, Key::Escape)) {
            goOn = false;
            break;
        }
    }
    d.BackBuffer.pixels = back;
    d.FrontBuffer.pixels = front;
    game.run.focusLost = false;
    return goOn;
}

}  // namespace tumbleroo
