#include "platform/sdl_gamepad.h"

#include <algorithm>
#include <cstdio>

namespace tumbleroo {

namespace {

// How far the stick must lean (of 32767) to count as an arrow: past the
// drift of a stick at rest, and short of its full throw.
constexpr Sint16 kStickThreshold = 16000;

}  // namespace

SdlGamepads::SdlGamepads() {
    started_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
    if (!started_) std::fprintf(stderr, "SDL: no gamepads: %s\n", SDL_GetError());
}

SdlGamepads::~SdlGamepads() {
    for (auto& [id, pad] : pads_) SDL_GameControllerClose(pad.controller);
    pads_.clear();
    if (started_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

std::vector<Key> SdlGamepads::KeysOf(int input) {
    switch (input) {
        case kDpadLeft: case kStickLeft: return {Key::Left};
        case kDpadRight: case kStickRight: return {Key::Right};
        case kDpadUp: case kStickUp: return {Key::Up};
        case kDpadDown: case kStickDown: return {Key::Down};
        case kButtonA: return {Key::Z};
        case kButtonStart: return {Key::Enter, Key::Pause};
        case kButtonBack: return {Key::Escape};
        default: return {};
    }
}

bool SdlGamepads::Holds(Key key) const {
    for (const auto& [id, pad] : pads_) {
        for (int input = 0; input < kInputCount; ++input) {
            if (!pad.held[static_cast<size_t>(input)]) continue;
            const std::vector<Key> keys = KeysOf(input);
            if (std::find(keys.begin(), keys.end(), key) != keys.end()) return true;
        }
    }
    return false;
}

std::vector<PadKeyChange> SdlGamepads::HandleEvent(const SDL_Event& event) {
    std::array<bool, std::size(kAllKeys)> before{};
    for (size_t i = 0; i < std::size(kAllKeys); ++i) before[i] = Holds(kAllKeys[i]);
    switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED: Open(event.cdevice.which); break;
        case SDL_CONTROLLERDEVICEREMOVED: Close(event.cdevice.which); break;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP: OnButton(event.cbutton); break;
        case SDL_CONTROLLERAXISMOTION: OnAxis(event.caxis); break;
        default: return {};
    }
    std::vector<PadKeyChange> changes;
    for (size_t i = 0; i < std::size(kAllKeys); ++i) {
        const bool now = Holds(kAllKeys[i]);
        if (now != before[i]) changes.push_back({kAllKeys[i], now});
    }
    return changes;
}

void SdlGamepads::Open(int deviceIndex) {
    // A pad plugged in before start-up may be announced after we opened it.
    if (pads_.count(SDL_JoystickGetDeviceInstanceID(deviceIndex)) != 0) return;
    SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
    if (!controller) {
        std::fprintf(stderr, "SDL: cannot open gamepad %d: %s\n", deviceIndex, SDL_GetError());
        return;
    }
    const SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
    pads_[id].controller = controller;
}

// A pad pulled out lets go of everything it held.
void SdlGamepads::Close(SDL_JoystickID id) {
    const auto pad = pads_.find(id);
    if (pad == pads_.end()) return;
    SDL_GameControllerClose(pad->second.controller);
    pads_.erase(pad);
}

void SdlGamepads::OnButton(const SDL_ControllerButtonEvent& button) {
    const auto pad = pads_.find(button.which);
    if (pad == pads_.end()) return;
    int input = kInputCount;
    switch (button.button) {
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT: input = kDpadLeft; break;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: input = kDpadRight; break;
        case SDL_CONTROLLER_BUTTON_DPAD_UP: input = kDpadUp; break;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN: input = kDpadDown; break;
        case SDL_CONTROLLER_BUTTON_A: input = kButtonA; break;
        case SDL_CONTROLLER_BUTTON_START: input = kButtonStart; break;
        case SDL_CONTROLLER_BUTTON_BACK: input = kButtonBack; break;
        default: return;
    }
    pad->second.held[static_cast<size_t>(input)] = button.state == SDL_PRESSED;
}

void SdlGamepads::OnAxis(const SDL_ControllerAxisEvent& axis) {
    const auto pad = pads_.find(axis.which);
    if (pad == pads_.end()) return;
    std::array<bool, kInputCount>& held = pad->second.held;
    if (axis.axis == SDL_CONTROLLER_AXIS_LEFTX) {
        held[kStickLeft] = axis.value <= -kStickThreshold;
        held[kStickRight] = axis.value >= kStickThreshold;
    } else if (axis.axis == SDL_CONTROLLER_AXIS_LEFTY) {
        held[kStickUp] = axis.value <= -kStickThreshold;
        held[kStickDown] = axis.value >= kStickThreshold;
    }
}

}  // namespace tumbleroo
