// Gamepads through SDL's game controller layer, plugged in and out while
// the game runs. The d-pad and the left stick act as the arrow keys, A as
// Z (jump, confirm), Start as Enter and the pause key, Back as Escape.
#pragma once

#include <SDL.h>

#include <array>
#include <map>
#include <vector>

#include "platform/platform.h"

namespace tumbleroo {

// A game key that the gamepads, taken together, began or stopped holding.
struct PadKeyChange {
    Key key = Key::Z;
    bool down = false;
};

class SdlGamepads {
public:
    // Starts SDL's game controller subsystem; the pads already plugged in
    // arrive as device-added events like any later one.
    SdlGamepads();
    ~SdlGamepads();
    SdlGamepads(const SdlGamepads&) = delete;
    SdlGamepads& operator=(const SdlGamepads&) = delete;

    // Takes a controller event (any other is ignored) and returns the game
    // keys it changed.
    std::vector<PadKeyChange> HandleEvent(const SDL_Event& event);
    // Whether any pad holds the game key.
    bool Holds(Key key) const;

private:
    // The pad's inputs the game listens to.
    enum Input { kDpadLeft, kDpadRight, kDpadUp, kDpadDown, kStickLeft, kStickRight, kStickUp,
                 kStickDown, kButtonA, kButtonStart, kButtonBack, kInputCount };
    struct Pad {
        SDL_GameController* controller = nullptr;
        std::array<bool, kInputCount> held{};
    };

    static std::vector<Key> KeysOf(int input);
    void Open(int deviceIndex);
    void Close(SDL_JoystickID id);
    void OnButton(const SDL_ControllerButtonEvent& button);
    void OnAxis(const SDL_ControllerAxisEvent& axis);

    bool started_ = false;
    std::map<SDL_JoystickID, Pad> pads_;
};

}  // namespace tumbleroo
