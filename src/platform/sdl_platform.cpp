// The real game's platform on SDL2.
//
// The game draws every frame itself into a 640 x 480 RGB565 buffer; this
// module only shows it: full screen on the desktop, scaled with whole
// pixels and letterboxed, or in a window at twice the size (Alt+Enter).
// Frames are paced by our own steady 60 Hz clock rather than by vsync, so
// the game runs at the same speed on any monitor. Keys are kept as a held
// state table fed by SDL's events; releases and the window close are
// queued for the game to collect where it lets window events run.
#include "platform/sdl_platform.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <optional>
#include <thread>

#include "platform/sdl_support.h"

namespace tumbleroo {
namespace {

constexpr int kFrameWidth = 640;
constexpr int kFrameHeight = 480;
constexpr int kWindowScale = 2;
constexpr const char* kTitle = "Tumbleroo";
constexpr std::chrono::nanoseconds kFramePeriod{1'000'000'000 / 60};
// Further behind the clock than this and we stop trying to catch up.
constexpr int kMaxFramesBehind = 3;
constexpr int kAudioChunkSamples = 1024;
constexpr int kAudioRates[] = {44100, 22050};

using Clock = std::chrono::steady_clock;

std::optional<Key> KeyFromSdl(SDL_Keycode code) {
    switch (code) {
        case SDLK_LEFT: return Key::Left;
        case SDLK_RIGHT: return Key::Right;
        case SDLK_UP: return Key::Up;
        case SDLK_DOWN: return Key::Down;
        case SDLK_z: return Key::Z;
        case SDLK_RETURN:
        case SDLK_KP_ENTER: return Key::Enter;
        case SDLK_ESCAPE: return Key::Escape;
        default: return std::nullopt;
    }
}

size_t KeyIndex(Key key) {
    for (size_t i = 0; i < std::size(kAllKeys); ++i) {
        if (kAllKeys[i] == key) return i;
    }
    return 0;
}

// A software X server or a machine without one makes SDL fall back to
// drivers that show nothing; for the game that is no display at all.
bool IsInvisibleVideoDriver(const char* name) {
    return name == nullptr || std::strcmp(name, "offscreen") == 0 ||
           std::strcmp(name, "dummy") == 0 || std::strcmp(name, "evdev") == 0;
}

class SdlPlatform : public Platform {
public:
    SdlPlatform() {
        // Events first: SDL then turns SIGINT and SIGTERM into a window
        // close, which the game handles like any other.
        if (SDL_Init(SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) {
            std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
        }
        reportTiming_ = std::getenv("TUMBLEROO_TIMING") != nullptr;
    }

    ~SdlPlatform() override {
        CloseAudio();
        CloseDisplay();
        text_.reset();
        SDL_Quit();
    }

    bool OpenDisplay() override {
        if (window_) return false;
        SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
        // Measured: SDL's software renderer costs far less CPU and memory
        // than GL on a software rasteriser, and a 2D frame this small gains
        // nothing from a GPU. SDL_RENDER_DRIVER in the environment still wins.
        SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
        SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
        videoStarted_ = true;
        if (IsInvisibleVideoDriver(SDL_GetCurrentVideoDriver()) || SDL_GetNumVideoDisplays() < 1) {
            SDL_SetError("no display to show the game on");
            CloseDisplay();
            return false;
        }
        window_ = SDL_CreateWindow(kTitle, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                   kFrameWidth * kWindowScale, kFrameHeight * kWindowScale,
                                   SDL_WINDOW_FULLSCREEN_DESKTOP);
        if (!window_) return FailDisplay();
        renderer_ = SDL_CreateRenderer(window_, -1, 0);
        if (!renderer_) return FailDisplay();
        SDL_RenderSetLogicalSize(renderer_, kFrameWidth, kFrameHeight);
        texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB565,
                                     SDL_TEXTUREACCESS_STREAMING, kFrameWidth, kFrameHeight);
        if (!texture_) return FailDisplay();
        SDL_ShowCursor(cursorVisible_ ? SDL_ENABLE : SDL_DISABLE);
        shown_.assign(static_cast<size_t>(kFrameWidth) * kFrameHeight, 0);
        needsRedraw_ = true;
        nextTick_ = Clock::now();
        PumpEvents();
        return true;
    }

    void CloseDisplay() override {
        if (texture_) SDL_DestroyTexture(texture_);
        if (renderer_) SDL_DestroyRenderer(renderer_);
        if (window_) SDL_DestroyWindow(window_);
        texture_ = nullptr;
        renderer_ = nullptr;
        window_ = nullptr;
        if (videoStarted_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
        videoStarted_ = false;
    }

    void Present(const uint16_t* pixels, int width, int height) override {
        PumpEvents();
        if (renderer_ && width == kFrameWidth && height == kFrameHeight) {
            ShowFrame(pixels);
        }
        WaitForNextTick();
        PumpEvents();
    }

    void SetCursorVisible(bool visible) override {
        cursorVisible_ = visible;
        if (window_) SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
    }

    void ShowMessage(const std::string& text) override {
        std::fprintf(stderr, "%s (SDL: %s)\n", text.c_str(), SDL_GetError());
        if (!window_) return;
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, kTitle, text.c_str(), window_);
    }

    bool IsKeyDown(Key key) override {
        PumpEvents();
        const size_t i = KeyIndex(key);
        const bool down = held_[i] || pressedUnseen_[i];
        pressedUnseen_[i] = false;
        return down;
    }

    std::vector<WindowEvent> TakePendingEvents() override {
        PumpEvents();
        std::vector<WindowEvent> events;
        events.swap(pending_);
        return events;
    }

    void SleepMs(int milliseconds) override {
        if (milliseconds > 0) SDL_Delay(static_cast<Uint32>(milliseconds));
        PumpEvents();
    }

    uint64_t NowMs() override { return SDL_GetTicks64(); }

    std::string UserDataFolder() override {
        char* path = SDL_GetPrefPath(kTitle, kTitle);
        if (!path) return {};
        std::string folder(path);
        SDL_free(path);
        return folder;
    }

    bool DecodeImage(const uint8_t* data, size_t size, RgbImage& out) override {
        return DecodePng(data, size, out);
    }

    GlyphBitmap RenderText(const std::string& utf8, const FontSpec& font) override {
        if (!text_) text_ = std::make_unique<TextRasterizer>();
        return text_->Render(utf8, font);
    }

    bool OpenAudio() override {
        if (audioOpen_) return true;
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
        for (int rate : kAudioRates) {
            if (Mix_OpenAudio(rate, MIX_DEFAULT_FORMAT, 2, kAudioChunkSamples) == 0) {
                audioOpen_ = true;
                return true;
            }
        }
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }

    void CloseAudio() override {
        if (!audioOpen_) return;
        Mix_HaltChannel(-1);
        for (Mix_Chunk*& chunk : sounds_) {
            if (chunk) Mix_FreeChunk(chunk);
            chunk = nullptr;
        }
        sounds_.clear();
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        audioOpen_ = false;
    }

    int LoadSound(const std::string& path) override {
        if (!audioOpen_) return -1;
        Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
        if (!chunk) return -1;
        sounds_.push_back(chunk);
        return static_cast<int>(sounds_.size()) - 1;
    }

    void FreeSound(int sound) override {
        Mix_Chunk* chunk = Chunk(sound);
        if (!chunk) return;
        // Freeing stops every channel that plays it.
        Mix_FreeChunk(chunk);
        sounds_[static_cast<size_t>(sound)] = nullptr;
    }

    bool IsChannelPlaying(int channel) override {
        return audioOpen_ && ValidChannel(channel) && Mix_Playing(channel) != 0;
    }

    void StopChannel(int channel) override {
        if (audioOpen_ && ValidChannel(channel)) Mix_HaltChannel(channel);
    }

    void PlayOnChannel(int channel, int sound) override {
        Mix_Chunk* chunk = Chunk(sound);
        if (!chunk || !ValidChannel(channel)) return;
        Mix_PlayChannel(channel, chunk, 0);
    }

    void EnsureChannels(int count) override {
        if (audioOpen_ && count > Mix_AllocateChannels(-1)) Mix_AllocateChannels(count);
    }

private:
    bool FailDisplay() {
        std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
        CloseDisplay();
        return false;
    }

    // Uploads and shows the frame; an unchanged frame is not sent again
    // unless the window needs repainting.
    void ShowFrame(const uint16_t* pixels) {
        const size_t bytes = shown_.size() * sizeof(uint16_t);
        if (!needsRedraw_ && std::memcmp(shown_.data(), pixels, bytes) == 0) return;
        std::memcpy(shown_.data(), pixels, bytes);
        SDL_UpdateTexture(texture_, nullptr, pixels, kFrameWidth * static_cast<int>(sizeof(uint16_t)));
        SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
        SDL_RenderClear(renderer_);
        SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
        SDL_RenderPresent(renderer_);
        needsRedraw_ = false;
        if (reportTiming_ && !firstFrameReported_) {
            firstFrameReported_ = true;
            timespec now{};
            clock_gettime(CLOCK_REALTIME, &now);
            std::fprintf(stderr, "tumbleroo: first frame shown at %lld.%09ld\n",
                         static_cast<long long>(now.tv_sec), now.tv_nsec);
        }
    }

    // Sleeps until the next tick of the 60 Hz frame clock. A game that fell
    // well behind (a long load, a dragged window) starts a fresh beat
    // instead of racing to catch up.
    void WaitForNextTick() {
        nextTick_ += kFramePeriod;
        const Clock::time_point now = Clock::now();
        if (now > nextTick_ + kMaxFramesBehind * kFramePeriod) {
            nextTick_ = now;
            return;
        }
        std::this_thread::sleep_until(nextTick_);
    }

    void ToggleFullScreen() {
        if (!window_) return;
        fullScreen_ = !fullScreen_;
        if (fullScreen_) {
            SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
        } else {
            SDL_SetWindowFullscreen(window_, 0);
            SDL_SetWindowSize(window_, kFrameWidth * kWindowScale, kFrameHeight * kWindowScale);
            SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
        }
        needsRedraw_ = true;
    }

    void PumpEvents() {
        SDL_Event event;
        while (SDL_PollEvent(&event)) HandleEvent(event);
    }

    void HandleEvent(const SDL_Event& event) {
        switch (event.type) {
            case SDL_QUIT:
                pending_.push_back(WindowEvent{WindowEvent::Kind::Close, Key::Escape});
                break;
            case SDL_KEYDOWN:
                OnKeyDown(event.key);
                break;
            case SDL_KEYUP:
                OnKeyUp(event.key);
                break;
            case SDL_WINDOWEVENT:
                needsRedraw_ = true;
                break;
            default:
                break;
        }
    }

    void OnKeyDown(const SDL_KeyboardEvent& key) {
        const bool enter = key.keysym.sym == SDLK_RETURN || key.keysym.sym == SDLK_KP_ENTER;
        if (enter && (key.keysym.mod & KMOD_ALT) != 0) {
            if (!key.repeat) ToggleFullScreen();
            return;
        }
        // A held key repeats its key-down; it is still the one press.
        if (key.repeat) return;
        const std::optional<Key> game = KeyFromSdl(key.keysym.sym);
        if (!game) return;
        const size_t i = KeyIndex(*game);
        held_[i] = true;
        pressedUnseen_[i] = true;
    }

    void OnKeyUp(const SDL_KeyboardEvent& key) {
        const std::optional<Key> game = KeyFromSdl(key.keysym.sym);
        if (!game) return;
        const size_t i = KeyIndex(*game);
        // Only a key the game saw go down is released (not Alt+Enter's Enter).
        if (!held_[i]) return;
        held_[i] = false;
        pending_.push_back(WindowEvent{WindowEvent::Kind::KeyUp, *game});
    }

    Mix_Chunk* Chunk(int sound) const {
        if (sound < 0 || static_cast<size_t>(sound) >= sounds_.size()) return nullptr;
        return sounds_[static_cast<size_t>(sound)];
    }

    bool ValidChannel(int channel) const {
        return channel >= 0 && channel < Mix_AllocateChannels(-1);
    }

    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    bool videoStarted_ = false;
    bool fullScreen_ = true;
    bool cursorVisible_ = true;
    bool needsRedraw_ = true;
    std::vector<uint16_t> shown_;
    Clock::time_point nextTick_ = Clock::now();

    std::array<bool, std::size(kAllKeys)> held_{};
    // Pressed since the game last asked: a tap shorter than a frame counts.
    std::array<bool, std::size(kAllKeys)> pressedUnseen_{};
    std::vector<WindowEvent> pending_;

    bool audioOpen_ = false;
    std::vector<Mix_Chunk*> sounds_;
    std::unique_ptr<TextRasterizer> text_;

    bool reportTiming_ = false;
    bool firstFrameReported_ = false;
};

}  // namespace

std::unique_ptr<Platform> CreateSdlPlatform() { return std::make_unique<SdlPlatform>(); }

}  // namespace tumbleroo
