// Keys and pads. Keys are read by position (scancode), so they sit in the
// same place on every layout, and kept as a held state table fed by SDL's
// events; releases and the window close are queued for the game to collect
// where it lets window events run.
#pragma once

#include <SDL.h>

#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "platform/key_bindings.h"
#include "platform/platform.h"
#include "platform/sdl_gamepad.h"

namespace tumbleroo {

// What an event asks of the window besides the keys.
enum class WindowRequest { None, ToggleFullScreen, Redraw };

class SdlInput {
public:
    SdlInput();

    void BindKeys(const KeyBindings& bindings);
    // Held now, or pressed since the last time the game asked.
    bool IsKeyDown(Key key);
    std::vector<WindowEvent> TakePendingEvents();
    bool EndRequested() const { return endRequested_; }
    WindowRequest HandleEvent(const SDL_Event& event);

private:
    void OnPadChanges(const std::vector<PadKeyChange>& changes);
    WindowRequest OnKeyDown(const SDL_KeyboardEvent& key);
    void OnKeyUp(const SDL_KeyboardEvent& key);
    bool AnyHeldFor(Key game) const;

    // Which game key each key position stands for, and which are held.
    std::array<std::optional<Key>, SDL_NUM_SCANCODES> boundKey_{};
    std::array<bool, SDL_NUM_SCANCODES> physicalHeld_{};
    std::array<bool, std::size(kAllKeys)> held_{};
    // Pressed since the game last asked: a tap shorter than a frame counts.
    std::array<bool, std::size(kAllKeys)> pressedUnseen_{};
    std::vector<WindowEvent> pending_;
    bool endRequested_ = false;
    std::unique_ptr<SdlGamepads> gamepads_;
};

}  // namespace tumbleroo
