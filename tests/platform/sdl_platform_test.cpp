// The SDL platform without a window: keys and window events as they come
// through SDL's event queue, the steady 60 Hz frame clock, and sounds on
// SDL_mixer channels (on SDL's silent audio driver).
#include "platform/sdl_platform.h"

#include "persist/key_settings.h"
#include "platform/frame_clock.h"
#include "support/files.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <thread>
#include <vector>

namespace tumbleroo {
namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

// The key a US layout prints at the position (SDL knows no layout without
// a video driver).
SDL_Keycode UsKeyAt(SDL_Scancode code) {
    switch (code) {
        case SDL_SCANCODE_RETURN: return SDLK_RETURN;
        case SDL_SCANCODE_ESCAPE: return SDLK_ESCAPE;
        case SDL_SCANCODE_SPACE: return SDLK_SPACE;
        case SDL_SCANCODE_A: return SDLK_a;
        case SDL_SCANCODE_X: return SDLK_x;
        case SDL_SCANCODE_Z: return SDLK_z;
        default: return SDL_SCANCODE_TO_KEYCODE(code);
    }
}

// The platform takes events in once a frame (at the end of a present or
// in a sleep): a zero sleep stands for the end of a frame.
void EndFrame(Platform& platform) { platform.SleepMs(0); }

void PushKey(Platform& platform, Uint32 type, SDL_Scancode position, bool repeat = false,
             Uint16 mod = KMOD_NONE, SDL_Keycode key = SDLK_UNKNOWN) {
    SDL_Event event{};
    event.key.type = type;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.repeat = repeat ? 1 : 0;
    event.key.keysym.sym = key == SDLK_UNKNOWN ? UsKeyAt(position) : key;
    event.key.keysym.scancode = position;
    event.key.keysym.mod = mod;
    SDL_PushEvent(&event);
    EndFrame(platform);
}

bool IsKeyUp(const WindowEvent& event, Key key) {
    return event.kind == WindowEvent::Kind::KeyUp && event.key == key;
}

TEST(SdlPlatform, HeldKeysAndTheirReleases) {
    std::unique_ptr<Platform> platform = CreateSdlPlatform();
    PushKey(*platform, SDL_KEYDOWN, SDL_SCANCODE_RIGHT);
    EXPECT_TRUE(platform->IsKeyDown(Key::Right));
    EXPECT_TRUE(platform->IsKeyDown(Key::Right));
    EXPECT_FALSE(platform->IsKeyDown(Key::Left));

    // Key repeat while held: still the one press, nothing queued.
    PushKey(*platform, SDL_KEYDOWN, SDL_SCANCODE_RIGHT, true);
    PushKey(*platform, SDL_KEYDOWN, SDL_SCANCODE_RIGHT, true);
    EXPECT_TRUE(platform->IsKeyDown(Key::Right));
    EXPECT_TRUE(platform->TakePendingEvents().empty());

    // The release is held back until the game collects window events.
    PushKey(*platform, SDL_KEYUP, SDL_SCANCODE_RIGHT);
    EXPECT_FALSE(platform->IsKeyDown(Key::Right));
    std::vector<WindowEvent> events = platform->TakePendingEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_TRUE(IsKeyUp(events[0], Key::Right));
    EXPECT_TRUE(platform->TakePendingEvents().empty());

    // Keys the game does not use are ignored; both Enter keys are Enter.
    PushKey(*platform, SDL_KEYDOWN, SDL_SCANCODE_A);
    PushKey(*platform, SDL_KEYUP, SDL_SCANCODE_A);
    PushKey(*platform, SDL_KEYDOWN, SDL_SCANCODE_KP_ENTER);
    EXPECT_TRUE(platform->IsKeyDown(Key::Enter));
    PushKey(*platform, SDL_KEYUP, SDL_SCANCODE_KP_ENTER);
    events = platform->TakePendingEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_TRUE(IsKeyUp(events[0], Key::Enter));
}

TEST(SdlPlatform, TapsAndRepeatsBetweenTwoPolls) {
    std::unique_ptr<Platform> platform = CreateSdlPlatform();
    // A tap shorter than a frame is seen once, then released.
    PushKey(*platform, SDL_KEYDOWN, SDL_SCANCODE_Z);
    PushKey(*platform, SDL_KEYUP, SDL_SCANCODE_Z);
    EXPECT_TRUE(platform->IsKeyDown(Key::Z));
    EXPECT_FALSE(platform->IsKeyDown(Key::Z));
    std::vector<WindowEvent> events = platform->TakePendingEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_TRUE(IsKeyUp(events[0], Key::Z));

    // A held key that was already seen: repeats followed by the release
    // between two polls must not look like a fresh press.
    PushKey(*platform, SDL_KEYDOWN, SDL_SCANCODE_ESCAPE);
    EXPECT_TRUE(platform->IsKeyDown(Key::Escape));
    PushKey(*platform, SDL_KEYDOWN, SDL_SCANCODE_ESCAPE, true);
    PushKey(*platform, SDL_KEYUP, SDL_SCANCODE_ESCAPE);
    EXPECT_FALSE(platform->IsKeyDown(Key::Escape));
}

TEST(SdlPlatform, KeysAreReadByPositionAndEveryJumpKeyCounts) {
    std::unique_ptr<Platform> platform = CreateSdlPlatform();
    // On a German layout the key where Z sits prints Y: it still jumps.
    PushKey(*platform, SDL_KEYDOWN, SDL_SCANCODE_Z, false, KMOD_NONE, SDLK_y);
    EXPECT_TRUE(platform->IsKeyDown(Key::Z));
    // Space and X jump as well; the jump lasts while any of them is held.
    PushKey(*platform, SDL_KEYDOWN, SDL_SCANCODE_SPACE);
    PushKey(*platform, SDL_KEYUP, SDL_SCANCODE_Z, false, KMOD_NONE, SDLK_y);
    EXPECT_TRUE(platform->IsKeyDown(Key::Z));
    EXPECT_TRUE(platform->TakePendingEvents().empty());
    PushKey(*platform, SDL_KEYUP, SDL_SCANCODE_SPACE);
    EXPECT_FALSE(platform->IsKeyDown(Key::Z));
    std::vector<WindowEvent> events = platform->TakePendingEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_TRUE(IsKeyUp(events[0], Key::Z));
    PushKey(*platform, SDL_KEYDOWN, SDL_SCANCODE_X);
    EXPECT_TRUE(platform->IsKeyDown(Key::Z));
    PushKey(*platform, SDL_KEYUP, SDL_SCANCODE_X);
    EXPECT_EQ(platform->TakePendingEvents().size(), 1u);
}

TEST(SdlPlatform, KeysReboundInTheSettingsFile) {
    testing::TempFolder folder;
    const std::string ini = folder.path + "/Init.ini";
    testing::WriteFile(ini,
                       "[BasicInformation]\r\nGameSpeed=3\r\n"
                       "[keys]\r\n"
                       "jump = Left Shift , No Such Key\r\n"
                       "Escape=\r\n"
                       "Left=A,Left\r\n");
    std::unique_ptr<Platform> platform = CreateSdlPlatform();
    platform->BindKeys(LoadKeyBindings(ini));

    PushKey(*platform, SDL_KEYDOWN, SDL_SCANCODE_LSHIFT);
    EXPECT_TRUE(platform->IsKeyDown(Key::Z));
    PushKey(*platform, SDL_KEYUP, SDL_SCANCODE_LSHIFT);
    EXPECT_FALSE(platform->IsKeyDown(Key::Z));
    // The jump's old keys no longer jump.
    PushKey(*platform, SDL_KEYDOWN, SDL_SCANCODE_Z);
    PushKey(*platform, SDL_KEYDOWN, SDL_SCANCODE_SPACE);
    EXPECT_FALSE(platform->IsKeyDown(Key::Z));
    PushKey(*platform, SDL_KEYUP, SDL_SCANCODE_Z);
    PushKey(*platform, SDL_KEYUP, SDL_SCANCODE_SPACE);
    // An action left empty keeps its key; one with several has them all.
    PushKey(*platform, SDL_KEYDOWN, SDL_SCANCODE_ESCAPE);
    EXPECT_TRUE(platform->IsKeyDown(Key::Escape));
    PushKey(*platform, SDL_KEYUP, SDL_SCANCODE_ESCAPE);
    PushKey(*platform, SDL_KEYDOWN, SDL_SCANCODE_A);
    EXPECT_TRUE(platform->IsKeyDown(Key::Left));
    PushKey(*platform, SDL_KEYUP, SDL_SCANCODE_A);
    PushKey(*platform, SDL_KEYDOWN, SDL_SCANCODE_LEFT);
    EXPECT_TRUE(platform->IsKeyDown(Key::Left));
    PushKey(*platform, SDL_KEYUP, SDL_SCANCODE_LEFT);
    std::vector<WindowEvent> events = platform->TakePendingEvents();
    ASSERT_EQ(events.size(), 4u);
    EXPECT_TRUE(IsKeyUp(events[0], Key::Z));
    EXPECT_TRUE(IsKeyUp(events[1], Key::Escape));
    EXPECT_TRUE(IsKeyUp(events[2], Key::Left));
    EXPECT_TRUE(IsKeyUp(events[3], Key::Left));
}

TEST(SdlPlatform, PAndThePauseKeyPauseAndALostFocusIsReported) {
    std::unique_ptr<Platform> platform = CreateSdlPlatform();
    for (SDL_Scancode position : {SDL_SCANCODE_P, SDL_SCANCODE_PAUSE}) {
        PushKey(*platform, SDL_KEYDOWN, position);
        EXPECT_TRUE(platform->IsKeyDown(Key::Pause));
        PushKey(*platform, SDL_KEYUP, position);
        EXPECT_FALSE(platform->IsKeyDown(Key::Pause));
        std::vector<WindowEvent> events = platform->TakePendingEvents();
        ASSERT_EQ(events.size(), 1u);
        EXPECT_TRUE(IsKeyUp(events[0], Key::Pause));
    }
    SDL_Event focus{};
    focus.type = SDL_WINDOWEVENT;
    focus.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    SDL_PushEvent(&focus);
    EndFrame(*platform);
    std::vector<WindowEvent> events = platform->TakePendingEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, WindowEvent::Kind::FocusLost);
}

TEST(SdlPlatform, F11AndAltEnterSwitchBetweenFullScreenAndAWindow) {
    std::unique_ptr<Platform> platform = CreateSdlPlatform();
    EXPECT_TRUE(platform->IsFullScreen());
    platform->SetFullScreen(false);
    EXPECT_FALSE(platform->IsFullScreen());
    // Neither is a key of the game: no release is queued.
    PushKey(*platform, SDL_KEYDOWN, SDL_SCANCODE_F11);
    EXPECT_TRUE(platform->TakePendingEvents().empty());
    EXPECT_TRUE(platform->IsFullScreen());
    PushKey(*platform, SDL_KEYDOWN, SDL_SCANCODE_F11, true);  // held: still the one switch
    PushKey(*platform, SDL_KEYUP, SDL_SCANCODE_F11);
    EXPECT_TRUE(platform->TakePendingEvents().empty());
    EXPECT_TRUE(platform->IsFullScreen());
    PushKey(*platform, SDL_KEYDOWN, SDL_SCANCODE_RETURN, false, KMOD_LALT);
    PushKey(*platform, SDL_KEYUP, SDL_SCANCODE_RETURN, false, KMOD_LALT);
    EXPECT_TRUE(platform->TakePendingEvents().empty());
    EXPECT_FALSE(platform->IsFullScreen());
}

TEST(SdlPlatform, AltEnterIsNotAnEnterPress) {
    std::unique_ptr<Platform> platform = CreateSdlPlatform();
    PushKey(*platform, SDL_KEYDOWN, SDL_SCANCODE_RETURN, false, KMOD_LALT);
    EXPECT_FALSE(platform->IsKeyDown(Key::Enter));
    PushKey(*platform, SDL_KEYUP, SDL_SCANCODE_RETURN, false, KMOD_LALT);
    EXPECT_TRUE(platform->TakePendingEvents().empty());
}

TEST(SdlPlatform, WindowCloseAndInterruptsBecomeCloseEvents) {
    std::unique_ptr<Platform> platform = CreateSdlPlatform();
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    EndFrame(*platform);
    std::vector<WindowEvent> events = platform->TakePendingEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, WindowEvent::Kind::Close);

    // SDL catches SIGTERM only where it was not already handled or
    // ignored by whoever started us.
    struct sigaction current{};
    sigaction(SIGTERM, nullptr, &current);
    if (current.sa_handler == SIG_DFL || current.sa_handler == SIG_IGN) {
        GTEST_SKIP() << "SIGTERM is not caught in this process";
    }
    std::raise(SIGTERM);
    EndFrame(*platform);
    events = platform->TakePendingEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, WindowEvent::Kind::Close);
}

// Once the program is asked to end (SDL_QUIT, which SDL also makes of
// SIGINT and SIGTERM), a pause of any length ends when the request comes.
TEST(SdlPlatform, AnEndRequestCutsAPauseShort) {
    std::unique_ptr<Platform> platform = CreateSdlPlatform();
    EXPECT_FALSE(platform->EndRequested());
    constexpr Uint32 kCloseAfterMs = 50;
    std::thread closer([] {
        SDL_Delay(kCloseAfterMs);
        SDL_Event quit{};
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit);
    });
    // Returns only once the request has come, wherever in the pause it falls.
    platform->SleepMs(std::numeric_limits<int>::max());
    closer.join();
    EXPECT_TRUE(platform->EndRequested());
    platform->SleepMs(std::numeric_limits<int>::max());
    // The window still hears of it as a close.
    const std::vector<WindowEvent> events = platform->TakePendingEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, WindowEvent::Kind::Close);
}

// The beat on a made-up clock: one period per frame however late the
// game draws, and after a long stall a fresh beat instead of a race.
TEST(FrameClock, StepsOnePeriodAndStartsAfreshAfterAStall) {
    using Tick = std::chrono::steady_clock::time_point;
    const Tick start{};
    Tick tick = start;
    for (int i = 0; i < 30; ++i) tick = NextFrameTick(tick, start + i * kFramePeriod);
    EXPECT_EQ(tick - start, 30 * kFramePeriod);

    // Drawing a little late still keeps the beat.
    const Tick late = tick + kFramePeriod + kMaxFramesBehind * kFramePeriod;
    EXPECT_EQ(NextFrameTick(tick, late), tick + kFramePeriod);
    // Further behind, the next frame goes at once and the beat starts there.
    const Tick stalled = late + std::chrono::milliseconds(200);
    EXPECT_EQ(NextFrameTick(tick, stalled), stalled);
}

// A short mono 16-bit WAV of silence.
void WriteWav(const std::string& path, int samples) {
    const int rate = 22050;
    const uint32_t dataBytes = static_cast<uint32_t>(samples) * 2;
    std::ofstream out(path, std::ios::binary);
    auto u32 = [&](uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [&](uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
    out.write("RIFF", 4);
    u32(36 + dataBytes);
    out.write("WAVEfmt ", 8);
    u32(16);
    u16(1);
    u16(1);
    u32(rate);
    u32(rate * 2);
    u16(2);
    u16(16);
    out.write("data", 4);
    u32(dataBytes);
    std::vector<char> silence(dataBytes, 0);
    out.write(silence.data(), static_cast<std::streamsize>(silence.size()));
}

TEST(SdlPlatform, SoundsPlayOnNumberedChannels) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const std::string wav = (std::filesystem::temp_directory_path() / "tumbleroo-platform-test.wav").string();
    WriteWav(wav, 22050);
    std::unique_ptr<Platform> platform = CreateSdlPlatform();
    ASSERT_TRUE(platform->OpenAudio());
    EXPECT_EQ(platform->LoadSound(wav + ".missing"), -1);
    const int sound = platform->LoadSound(wav);
    ASSERT_GE(sound, 0);
    platform->EnsureChannels(6);

    EXPECT_FALSE(platform->IsChannelPlaying(3));
    platform->PlayOnChannel(3, sound);
    EXPECT_TRUE(platform->IsChannelPlaying(3));
    EXPECT_FALSE(platform->IsChannelPlaying(2));
    platform->PlayOnChannel(3, sound);  // starts over, still one channel
    EXPECT_TRUE(platform->IsChannelPlaying(3));
    platform->StopChannel(3);
    EXPECT_FALSE(platform->IsChannelPlaying(3));

    // Channels and sounds that do not exist are ignored.
    platform->PlayOnChannel(40, sound);
    EXPECT_FALSE(platform->IsChannelPlaying(40));
    platform->PlayOnChannel(1, sound + 7);
    EXPECT_FALSE(platform->IsChannelPlaying(1));

    // Freeing a sound stops it where it plays; it cannot be played again.
    platform->PlayOnChannel(0, sound);
    platform->FreeSound(sound);
    EXPECT_FALSE(platform->IsChannelPlaying(0));
    platform->PlayOnChannel(0, sound);
    EXPECT_FALSE(platform->IsChannelPlaying(0));

    // Loading again after freeing plays the new sound under its number.
    const int again = platform->LoadSound(wav);
    ASSERT_GE(again, 0);
    platform->PlayOnChannel(0, again);
    EXPECT_TRUE(platform->IsChannelPlaying(0));
    platform->CloseAudio();
    EXPECT_FALSE(platform->IsChannelPlaying(0));
    std::remove(wav.c_str());
    unsetenv("SDL_AUDIODRIVER");
}

}  // namespace
}  // namespace tumbleroo
