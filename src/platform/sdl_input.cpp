#include "platform/sdl_input.h"

#include <cstdio>
#include <string>

namespace tumbleroo {

namespace {

size_t KeyIndex(Key key) {
    for (size_t i = 0; i < std::size(kAllKeys); ++i) {
        if (kAllKeys[i] == key) return i;
    }
    return 0;
}

}  // namespace

SdlInput::SdlInput() : gamepads_(std::make_unique<SdlGamepads>()) { BindKeys(DefaultKeyBindings()); }

void SdlInput::BindKeys(const KeyBindings& bindings) {
    for (const KeyBinding& binding : bindings) {
        for (std::optional<Key>& bound : boundKey_) {
            if (bound == binding.key) bound.reset();
        }
        for (const std::string& position : binding.positions) {
            const SDL_Scancode code = SDL_GetScancodeFromName(position.c_str());
            if (code == SDL_SCANCODE_UNKNOWN) {
                std::fprintf(stderr, "Init.ini [Keys]: no key named \"%s\"\n", position.c_str());
                continue;
            }
            boundKey_[code] = binding.key;
        }
    }
}

bool SdlInput::IsKeyDown(Key key) {
    const size_t i = KeyIndex(key);
    const bool down = held_[i] || pressedUnseen_[i];
    pressedUnseen_[i] = false;
    return down;
}

std::vector<WindowEvent> SdlInput::TakePendingEvents() {
    std::vector<WindowEvent> events;
    events.swap(pending_);
    return events;
}

WindowRequest SdlInput::HandleEvent(const SDL_Event& event) {
    switch (event.type) {
        case SDL_QUIT:
            endRequested_ = true;
            pending_.push_back(WindowEvent{WindowEvent::Kind::Close, Key::Escape});
            return WindowRequest::None;
        case SDL_KEYDOWN:
            return OnKeyDown(event.key);
        case SDL_KEYUP:
            OnKeyUp(event.key);
            return WindowRequest::None;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
                pending_.push_back(WindowEvent{WindowEvent::Kind::FocusLost, Key::Escape});
            }
            return WindowRequest::Redraw;
        default:
            OnPadChanges(gamepads_->HandleEvent(event));
            return WindowRequest::None;
    }
}

// The pads press and release game keys as the keyboard does; a key stays
// down while the keyboard or a pad still holds it.
void SdlInput::OnPadChanges(const std::vector<PadKeyChange>& changes) {
    for (const PadKeyChange& change : changes) {
        const size_t i = KeyIndex(change.key);
        if (change.down) {
            held_[i] = true;
            pressedUnseen_[i] = true;
        } else if (!AnyHeldFor(change.key)) {
            held_[i] = false;
            pending_.push_back(WindowEvent{WindowEvent::Kind::KeyUp, change.key});
        }
    }
}

WindowRequest SdlInput::OnKeyDown(const SDL_KeyboardEvent& key) {
    const bool enter = key.keysym.sym == SDLK_RETURN || key.keysym.sym == SDLK_KP_ENTER;
    const bool altEnter = enter && (key.keysym.mod & KMOD_ALT) != 0;
    if (altEnter || key.keysym.scancode == SDL_SCANCODE_F11) {
        return key.repeat ? WindowRequest::None : WindowRequest::ToggleFullScreen;
    }
    // A held key repeats its key-down; it is still the one press.
    if (key.repeat) return WindowRequest::None;
    const std::optional<Key> game = boundKey_[key.keysym.scancode];
    if (!game) return WindowRequest::None;
    physicalHeld_[key.keysym.scancode] = true;
    const size_t i = KeyIndex(*game);
    held_[i] = true;
    pressedUnseen_[i] = true;
    return WindowRequest::None;
}

void SdlInput::OnKeyUp(const SDL_KeyboardEvent& key) {
    const std::optional<Key> game = boundKey_[key.keysym.scancode];
    // Only a key the game saw go down is released (not Alt+Enter's Enter).
    if (!game || !physicalHeld_[key.keysym.scancode]) return;
    physicalHeld_[key.keysym.scancode] = false;
    // The game key stays down while another of its keys is held.
    if (AnyHeldFor(*game) || gamepads_->Holds(*game)) return;
    held_[KeyIndex(*game)] = false;
    pending_.push_back(WindowEvent{WindowEvent::Kind::KeyUp, *game});
}

bool SdlInput::AnyHeldFor(Key game) const {
    for (size_t code = 0; code < boundKey_.size(); ++code) {
        if (physicalHeld_[code] && boundKey_[code] == game) return true;
    }
    return false;
}

}  // namespace tumbleroo
