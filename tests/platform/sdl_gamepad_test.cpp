// Gamepads on the SDL platform, driven by SDL's virtual joystick: from a
// button or stick on the pad to the game's key state and key releases,
// with pads plugged in and pulled out while the game runs.
#include "platform/sdl_platform.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace tumbleroo {
namespace {

// A virtual pad with every standard button and axis, plugged in at once.
class VirtualPad {
public:
    VirtualPad() {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.name = "Test pad";
        const int index = SDL_JoystickAttachVirtualEx(&desc);
        if (index >= 0) joystick_ = SDL_JoystickOpen(index);
    }
    ~VirtualPad() { Unplug(); }

    bool Plugged() const { return joystick_ != nullptr; }
    void Button(SDL_GameControllerButton button, bool down) {
        SDL_JoystickSetVirtualButton(joystick_, button, down ? SDL_PRESSED : SDL_RELEASED);
    }
    void Axis(SDL_GameControllerAxis axis, Sint16 value) { SDL_JoystickSetVirtualAxis(joystick_, axis, value); }
    void Unplug() {
        if (!joystick_) return;
        const SDL_JoystickID id = SDL_JoystickInstanceID(joystick_);
        SDL_JoystickClose(joystick_);
        joystick_ = nullptr;
        for (int i = 0; i < SDL_NumJoysticks(); ++i) {
            if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
        }
    }

private:
    SDL_Joystick* joystick_ = nullptr;
};

// The platform takes events in once a frame (at the end of a present or
// in a sleep): a zero sleep stands for the end of a frame.
void EndFrame(Platform& platform) { platform.SleepMs(0); }

std::vector<Key> Releases(Platform& platform) {
    EndFrame(platform);
    std::vector<Key> keys;
    for (const WindowEvent& e : platform.TakePendingEvents()) {
        if (e.kind == WindowEvent::Kind::KeyUp) keys.push_back(e.key);
    }
    return keys;
}

TEST(Gamepad, ButtonsAndDpadActAsTheGameKeys) {
    std::unique_ptr<Platform> platform = CreateSdlPlatform();
    VirtualPad pad;
    ASSERT_TRUE(pad.Plugged()) << SDL_GetError();
    EXPECT_TRUE(Releases(*platform).empty());  // the pad is taken in

    const struct {
        SDL_GameControllerButton button;
        std::vector<Key> keys;
    } cases[] = {
        {SDL_CONTROLLER_BUTTON_A, {Key::Z}},
        {SDL_CONTROLLER_BUTTON_START, {Key::Enter, Key::Pause}},
        {SDL_CONTROLLER_BUTTON_BACK, {Key::Escape}},
        {SDL_CONTROLLER_BUTTON_DPAD_LEFT, {Key::Left}},
        {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, {Key::Right}},
        {SDL_CONTROLLER_BUTTON_DPAD_UP, {Key::Up}},
        {SDL_CONTROLLER_BUTTON_DPAD_DOWN, {Key::Down}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(SDL_GameControllerGetStringForButton(c.button));
        pad.Button(c.button, true);
        EndFrame(*platform);
        for (Key key : kAllKeys) {
            const bool expected = std::find(c.keys.begin(), c.keys.end(), key) != c.keys.end();
            EXPECT_EQ(platform->IsKeyDown(key), expected) << static_cast<int>(key);
        }
        pad.Button(c.button, false);
        EndFrame(*platform);
        for (Key key : c.keys) EXPECT_FALSE(platform->IsKeyDown(key));
        EXPECT_EQ(Releases(*platform), c.keys);
    }
    // A button the game does not use does nothing.
    pad.Button(SDL_CONTROLLER_BUTTON_Y, true);
    EndFrame(*platform);
    for (Key key : kAllKeys) EXPECT_FALSE(platform->IsKeyDown(key));
}

TEST(Gamepad, TheLeftStickLeansIntoTheArrowsPastItsRestingDrift) {
    std::unique_ptr<Platform> platform = CreateSdlPlatform();
    VirtualPad pad;
    ASSERT_TRUE(pad.Plugged()) << SDL_GetError();
    Releases(*platform);

    pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, 3000);  // drift at rest
    EndFrame(*platform);
    EXPECT_FALSE(platform->IsKeyDown(Key::Right));
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, 30000);
    EndFrame(*platform);
    EXPECT_TRUE(platform->IsKeyDown(Key::Right));
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, -30000);  // straight across
    EndFrame(*platform);
    EXPECT_FALSE(platform->IsKeyDown(Key::Right));
    EXPECT_TRUE(platform->IsKeyDown(Key::Left));
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTY, -32768);
    EndFrame(*platform);
    EXPECT_TRUE(platform->IsKeyDown(Key::Up));
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, 0);
    EndFrame(*platform);
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTY, 0);
    EndFrame(*platform);
    EXPECT_FALSE(platform->IsKeyDown(Key::Left));
    EXPECT_FALSE(platform->IsKeyDown(Key::Up));
    EXPECT_EQ(Releases(*platform), (std::vector<Key>{Key::Right, Key::Left, Key::Up}));
}

TEST(Gamepad, AKeyStaysDownWhileTheKeyboardOrTheStickStillHoldsIt) {
    std::unique_ptr<Platform> platform = CreateSdlPlatform();
    VirtualPad pad;
    ASSERT_TRUE(pad.Plugged()) << SDL_GetError();
    Releases(*platform);

    pad.Button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
    EndFrame(*platform);
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, 32767);
    EndFrame(*platform);
    EXPECT_TRUE(platform->IsKeyDown(Key::Right));
    pad.Button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, false);
    EndFrame(*platform);
    EXPECT_TRUE(platform->IsKeyDown(Key::Right));
    EXPECT_TRUE(Releases(*platform).empty());

    // The keyboard's Right held while the stick lets go.
    SDL_Event key{};
    key.key.type = SDL_KEYDOWN;
    key.key.state = SDL_PRESSED;
    key.key.keysym.scancode = SDL_SCANCODE_RIGHT;
    key.key.keysym.sym = SDLK_RIGHT;
    SDL_PushEvent(&key);
    EndFrame(*platform);
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, 0);
    EndFrame(*platform);
    EXPECT_TRUE(platform->IsKeyDown(Key::Right));
    EXPECT_TRUE(Releases(*platform).empty());
    key.key.type = SDL_KEYUP;
    key.key.state = SDL_RELEASED;
    SDL_PushEvent(&key);
    EndFrame(*platform);
    EXPECT_FALSE(platform->IsKeyDown(Key::Right));
    EXPECT_EQ(Releases(*platform), std::vector<Key>{Key::Right});
}

TEST(Gamepad, PadsPluggedInLaterWorkAndOnePulledOutLetsGo) {
    std::unique_ptr<Platform> platform = CreateSdlPlatform();
    Releases(*platform);
    VirtualPad first;
    VirtualPad second;
    ASSERT_TRUE(first.Plugged() && second.Plugged()) << SDL_GetError();
    Releases(*platform);

    second.Button(SDL_CONTROLLER_BUTTON_A, true);
    EndFrame(*platform);
    EXPECT_TRUE(platform->IsKeyDown(Key::Z));
    first.Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    EndFrame(*platform);
    EXPECT_TRUE(platform->IsKeyDown(Key::Left));
    // Pulled out with A held: the jump is let go, the other pad keeps Left.
    second.Unplug();
    EndFrame(*platform);
    EXPECT_FALSE(platform->IsKeyDown(Key::Z));
    EXPECT_TRUE(platform->IsKeyDown(Key::Left));
    EXPECT_EQ(Releases(*platform), std::vector<Key>{Key::Z});
}

}  // namespace
}  // namespace tumbleroo
