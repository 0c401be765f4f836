// The real game's platform on SDL2: the window (sdl_video), keys and pads
// (sdl_input) and sound (sdl_audio), paced by our own steady 60 Hz clock
// rather than by vsync, so the game runs at the same speed on any monitor.
#include "platform/sdl_platform.h"

#include <SDL.h>
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>

#include "platform/frame_clock.h"
#include "platform/sdl_audio.h"
#include "platform/sdl_input.h"
#include "platform/sdl_support.h"
#include "platform/sdl_video.h"

namespace tumbleroo {
namespace {

// Blocks from this size up (frames of 614,400 bytes) are mapped on their
// own and go back to the system when freed.
constexpr int kOwnMappingBytes = 256 * 1024;
// A long pause is slept in slices this short, so that an end request
// (which SDL only notices when its events are pumped) ends it soon.
constexpr Uint32 kSleepSliceMs = 10;

using Clock = std::chrono::steady_clock;

// SDL itself, started before and ended after everything that uses it.
struct SdlLibrary {
    SdlLibrary() {
        // Events first: SDL then turns SIGINT and SIGTERM into a window
        // close, which the game handles like any other.
        if (SDL_Init(SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) {
            std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
        }
        // A fixed threshold: the C library would otherwise raise it to the
        // size of the first such block freed, and keep later ones in the
        // heap, resident, after the zoom that used them.
        mallopt(M_MMAP_THRESHOLD, kOwnMappingBytes);
    }
    ~SdlLibrary() { SDL_Quit(); }
    SdlLibrary(const SdlLibrary&) = delete;
    SdlLibrary& operator=(const SdlLibrary&) = delete;
};

class SdlPlatform : public Platform {
public:
    bool OpenDisplay() override {
        if (!video_.Open()) return false;
        nextTick_ = Clock::now();
        PumpEvents();
        return true;
    }
    void CloseDisplay() override { video_.Close(); }

    void Present(const uint16_t* pixels, const uint16_t* shown, int width, int height) override {
        if (input_.EndRequested()) return;
        video_.Show(pixels, shown, width, height);
        WaitForNextTick();
        PumpEvents();
    }

    void SetScaleMode(ScaleMode mode) override { video_.SetScaleMode(mode); }
    void SetCursorVisible(bool visible) override { video_.SetCursorVisible(visible); }
    void SetFullScreen(bool fullScreen) override { video_.SetFullScreen(fullScreen); }
    bool IsFullScreen() override { return video_.IsFullScreen(); }
    void SetWindowIcon(const RgbImage& picture, uint32_t transparentRgb) override {
        video_.SetIcon(picture, transparentRgb);
    }
    void ShowMessage(const std::string& text) override { video_.ShowMessage(text); }

    void BindKeys(const KeyBindings& bindings) override { input_.BindKeys(bindings); }
    bool IsKeyDown(Key key) override { return input_.IsKeyDown(key); }
    std::vector<WindowEvent> TakePendingEvents() override { return input_.TakePendingEvents(); }
    bool EndRequested() override { return input_.EndRequested(); }

    void SleepMs(int milliseconds) override {
        const Uint64 until = SDL_GetTicks64() + static_cast<Uint64>(std::max(milliseconds, 0));
        PumpEvents();
        for (Uint64 now = SDL_GetTicks64(); !input_.EndRequested() && now < until; now = SDL_GetTicks64()) {
            SDL_Delay(static_cast<Uint32>(std::min<Uint64>(until - now, kSleepSliceMs)));
            PumpEvents();
        }
    }
    uint64_t NowMs() override { return SDL_GetTicks64(); }

    bool DecodeImage(const uint8_t* data, size_t size, RgbImage& out) override {
        return DecodePng(data, size, out);
    }
    GlyphBitmap RenderText(const std::string& utf8, const FontSpec& font) override {
        if (!text_) text_ = std::make_unique<TextRasterizer>();
        return text_->Render(utf8, font);
    }

    bool OpenAudio() override { return audio_.Open(); }
    void CloseAudio() override { audio_.Close(); }
    int LoadSound(const std::string& path) override { return audio_.LoadSound(path); }
    void FreeSound(int sound) override { audio_.FreeSound(sound); }
    bool IsChannelPlaying(int channel) override { return audio_.IsChannelPlaying(channel); }
    void StopChannel(int channel) override { audio_.StopChannel(channel); }
    void PlayOnChannel(int channel, int sound) override { audio_.PlayOnChannel(channel, sound); }
    void EnsureChannels(int count) override { audio_.EnsureChannels(count); }

private:
    // Sleeps until the next tick of the 60 Hz frame clock.
    void WaitForNextTick() {
        nextTick_ = NextFrameTick(nextTick_, Clock::now());
        std::this_thread::sleep_until(nextTick_);
    }

    // Every loop of the game presents a frame or sleeps, so events are taken
    // there: once a frame, just after the wait, before the game reads its
    // keys. (Each pump also asks the pads' hotplug monitor, a system call.)
    void PumpEvents() {
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
            switch (input_.HandleEvent(event)) {
                case WindowRequest::ToggleFullScreen:
                    video_.SetFullScreen(!video_.IsFullScreen());
                    break;
                case WindowRequest::Redraw:
                    video_.MarkForRedraw();
                    break;
                case WindowRequest::None:
                    break;
            }
        }
    }

    // Declared in the order they start; they end in the reverse order.
    SdlLibrary library_;
    SdlInput input_;
    std::unique_ptr<TextRasterizer> text_;
    SdlVideo video_;
    SdlAudio audio_;
    Clock::time_point nextTick_ = Clock::now();
};

}  // namespace

std::unique_ptr<Platform> CreateSdlPlatform() { return std::make_unique<SdlPlatform>(); }

}  // namespace tumbleroo
