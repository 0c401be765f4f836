// The real game's platform on SDL2.
//
// The game draws every frame itself into a 640 x 480 RGB565 buffer; this
// module only shows it: full screen on the desktop, scaled up by nearest
// neighbour and letterboxed, or in a window at twice the size (F11 or Alt+Enter).
// Frames are paced by our own steady 60 Hz clock rather than by vsync, so
// the game runs at the same speed on any monitor. Keys are read by position
// (scancode), so they sit in the same place on every layout, and kept as a
// held state table fed by SDL's events; releases and the window close are
// queued for the game to collect where it lets window events run.
#include "platform/sdl_platform.h"

#include "platform/frame_clock.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <malloc.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <optional>
#include <string>
#include <thread>

#include "platform/key_bindings.h"
#include "platform/sdl_gamepad.h"
#include "platform/sdl_scaler.h"
#include "platform/sdl_support.h"
#include "platform/table_index.h"

namespace tumbleroo {
namespace {

constexpr int kFrameWidth = 640;
constexpr int kFrameHeight = 480;
constexpr int kWindowScale = 2;
constexpr const char* kTitle = "Tumbleroo";
// Blocks from this size up (frames of 614,400 bytes) are mapped on their
// own and go back to the system when freed.
constexpr int kOwnMappingBytes = 256 * 1024;
// The effects are recorded at 22050 Hz: played at that rate they need no
// resampling and half the memory and mixing of 44100 Hz, which is the
// fallback. 512 samples keep the delay after a key press near 23 ms.
constexpr int kAudioChunkSamples = 512;
constexpr int kAudioRates[] = {22050, 44100};
// A long pause is slept in slices this short, so that an end request
// (which SDL only notices when its events are pumped) ends it soon.
constexpr Uint32 kSleepSliceMs = 10;

using Clock = std::chrono::steady_clock;

size_t KeyIndex(Key key) {
    for (size_t i = 0; i < std::size(kAllKeys); ++i) {
        if (kAllKeys[i] == key) return i;
    }
    return 0;
}

// Without a display SDL still starts, on drivers that show nothing; for the
// game that is no display at all.
bool IsInvisibleVideoDriver(const char* name) {
    return name == nullptr || std::strcmp(name, "offscreen") == 0 ||
           std::strcmp(name, "dummy") == 0 || std::strcmp(name, "evdev") == 0;
}

bool IsSet(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr && value[0] != '\0';
}

// Says on standard error, in a Linux user's terms, why there is no window.
void ReportNoWindow(const char* sdlReason) {
    std::string why = "the display could not be used";
    if (IsSet("SDL_VIDEODRIVER")) {
        why = std::string("the video driver \"") + std::getenv("SDL_VIDEODRIVER") +
              "\" chosen by SDL_VIDEODRIVER cannot show a window";
    } else if (!IsSet("DISPLAY") && !IsSet("WAYLAND_DISPLAY")) {
        why = "no display found (is DISPLAY or WAYLAND_DISPLAY set?)";
    }
    std::fprintf(stderr, "tumbleroo: cannot open a window: %s (SDL: %s)\n", why.c_str(), sdlReason);
}

// Whether a window manager runs on the X display (one that follows the
// common desktop conventions names its check window on the root window).
// Other video drivers always have one. Xlib is loaded already by SDL.
bool HasWindowManager() {
    if (std::strcmp(SDL_GetCurrentVideoDriver(), "x11") != 0) return true;
    void* xlib = SDL_LoadObject("libX11.so.6");
    if (!xlib) return true;
    using OpenFn = Display* (*)(const char*);
    using CloseFn = int (*)(Display*);
    using InternFn = Atom (*)(Display*, const char*, Bool);
    using RootFn = Window (*)(Display*);
    using PropertyFn = int (*)(Display*, Window, Atom, long, long, Bool, Atom, Atom*, int*, unsigned long*,
                               unsigned long*, unsigned char**);
    using FreeFn = int (*)(void*);
    const auto open = reinterpret_cast<OpenFn>(SDL_LoadFunction(xlib, "XOpenDisplay"));
    const auto close = reinterpret_cast<CloseFn>(SDL_LoadFunction(xlib, "XCloseDisplay"));
    const auto intern = reinterpret_cast<InternFn>(SDL_LoadFunction(xlib, "XInternAtom"));
    const auto root = reinterpret_cast<RootFn>(SDL_LoadFunction(xlib, "XDefaultRootWindow"));
    const auto property = reinterpret_cast<PropertyFn>(SDL_LoadFunction(xlib, "XGetWindowProperty"));
    const auto release = reinterpret_cast<FreeFn>(SDL_LoadFunction(xlib, "XFree"));
    bool managed = true;
    Display* display = open && close && intern && root && property && release ? open(nullptr) : nullptr;
    if (display) {
        // Only looked up, never made: no atom means no manager ever ran.
        const Atom check = intern(display, "_NET_SUPPORTING_WM_CHECK", True);
        Atom type = None;
        int format = 0;
        unsigned long items = 0;
        unsigned long left = 0;
        unsigned char* data = nullptr;
        managed = check != None && property(display, root(display), check, 0, 1, False, XA_WINDOW, &type, &format,
                                            &items, &left, &data) == Success && items > 0;
        if (data) release(data);
        close(display);
    }
    SDL_UnloadObject(xlib);
    return managed;
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
        // A fixed threshold: the C library would otherwise raise it to the
        // size of the first such block freed, and keep later ones in the
        // heap, resident, after the zoom that used them.
        mallopt(M_MMAP_THRESHOLD, kOwnMappingBytes);
        BindKeys(DefaultKeyBindings());
        gamepads_ = std::make_unique<SdlGamepads>();
    }

    ~SdlPlatform() override {
        CloseAudio();
        CloseDisplay();
        text_.reset();
        gamepads_.reset();
        SDL_Quit();
    }

    bool OpenDisplay() override {
        if (window_) return false;
        // We scale the frame ourselves into the window's own surface, which
        // goes straight to the window system. Measured under a software X
        // server: SDL's renderers (GL on a software rasteriser, or its
        // software renderer with its general scaler) cost several times the
        // CPU, and GL several times the memory. Without this hint SDL would
        // back the window surface with GL after all.
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return FailDisplay();
        videoStarted_ = true;
        const char* driver = SDL_GetCurrentVideoDriver();
        if (IsInvisibleVideoDriver(driver) || SDL_GetNumVideoDisplays() < 1) {
            SDL_SetError("the video driver \"%s\" shows nothing", driver ? driver : "");
            return FailDisplay();
        }
        // Full screen, it is made as large as the desktop, so that it covers
        // the screen even where no window manager carries out the request.
        SDL_Rect desktop{SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kFrameWidth * kWindowScale,
                         kFrameHeight * kWindowScale};
        if (fullScreen_) SDL_GetDisplayBounds(0, &desktop);
        // Without a window manager nobody answers a full-screen request and
        // SDL waits 100 ms for one; a borderless window of the desktop's size
        // covers the screen there all the same.
        Uint32 flags = 0;
        if (fullScreen_) flags = HasWindowManager() ? SDL_WINDOW_FULLSCREEN_DESKTOP : SDL_WINDOW_BORDERLESS;
        window_ = SDL_CreateWindow(kTitle, desktop.x, desktop.y, desktop.w, desktop.h, flags);
        if (!window_) return FailDisplay();
        SDL_ShowCursor(cursorVisible_ ? SDL_ENABLE : SDL_DISABLE);
        needsRedraw_ = true;
        nextTick_ = Clock::now();
        PumpEvents();
        return true;
    }

    void CloseDisplay() override {
        if (window_) SDL_DestroyWindow(window_);
        window_ = nullptr;
        surface_ = nullptr;
        if (videoStarted_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
        videoStarted_ = false;
    }

    void Present(const uint16_t* pixels, const uint16_t* shown, int width, int height) override {
        if (endRequested_) return;
        if (window_ && width == kFrameWidth && height == kFrameHeight) {
            ShowFrame(pixels, shown);
        }
        WaitForNextTick();
        PumpEvents();
    }

    void SetScaleMode(ScaleMode mode) override {
        if (mode == scaleMode_) return;
        scaleMode_ = mode;
        surface_ = nullptr;
    }

    void SetCursorVisible(bool visible) override {
        cursorVisible_ = visible;
        if (window_) SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
    }

    void SetFullScreen(bool fullScreen) override {
        if (fullScreen == fullScreen_) return;
        fullScreen_ = fullScreen;
        if (window_) ShowWindowMode();
    }

    bool IsFullScreen() override { return fullScreen_; }

    void SetWindowIcon(const RgbImage& picture, uint32_t transparentRgb) override {
        if (!window_) return;
        SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormat(0, picture.width, picture.height, 32,
                                                           SDL_PIXELFORMAT_RGBA32);
        if (!icon) return;
        const size_t pixels = CellCount(picture.width, picture.height);
        for (size_t i = 0; i < pixels && 3 * i + 2 < picture.rgb.size(); ++i) {
            const uint8_t* in = &picture.rgb[3 * i];
            const uint32_t rgb = in[0] | (in[1] << 8) | (in[2] << 16);
            const uint8_t alpha = rgb == transparentRgb ? SDL_ALPHA_TRANSPARENT : SDL_ALPHA_OPAQUE;
            const int y = static_cast<int>(i) / picture.width;
            const int x = static_cast<int>(i) % picture.width;
            uint8_t* out = static_cast<uint8_t*>(icon->pixels) + RowMajor(4 * x, y, icon->pitch);
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
            out[3] = alpha;
        }
        SDL_SetWindowIcon(window_, icon);
        SDL_FreeSurface(icon);
    }

    void ShowMessage(const std::string& text) override {
        std::fprintf(stderr, "%s (SDL: %s)\n", text.c_str(), SDL_GetError());
        if (!window_) return;
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, kTitle, text.c_str(), window_);
    }

    void BindKeys(const KeyBindings& bindings) override {
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

    bool IsKeyDown(Key key) override {
        const size_t i = KeyIndex(key);
        const bool down = held_[i] || pressedUnseen_[i];
        pressedUnseen_[i] = false;
        return down;
    }

    std::vector<WindowEvent> TakePendingEvents() override {
        std::vector<WindowEvent> events;
        events.swap(pending_);
        return events;
    }

    bool EndRequested() override { return endRequested_; }

    void SleepMs(int milliseconds) override {
        const Uint64 until = SDL_GetTicks64() + static_cast<Uint64>(std::max(milliseconds, 0));
        PumpEvents();
        for (Uint64 now = SDL_GetTicks64(); !endRequested_ && now < until; now = SDL_GetTicks64()) {
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
        // The effects are freed and loaded again at every visit of the
        // title: reuse the numbers of freed sounds.
        const auto freeSlot = std::find(sounds_.begin(), sounds_.end(), nullptr);
        if (freeSlot != sounds_.end()) {
            *freeSlot = chunk;
            return static_cast<int>(freeSlot - sounds_.begin());
        }
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
        ReportNoWindow(SDL_GetError());
        CloseDisplay();
        return false;
    }

    // Shows the frame in the window. Only what differs from the frame the
    // window shows is converted and sent, so still scenes cost nearly
    // nothing; everything is redrawn after the window changed.
    void ShowFrame(const uint16_t* pixels, const uint16_t* shown) {
        const uint16_t* windowShows = needsRedraw_ ? nullptr : lastShown_;
        lastShown_ = nullptr;
        SDL_Surface* surface = SDL_GetWindowSurface(window_);
        if (!surface) return;
        if (surface != surface_ || surface->w != surfaceWidth_ || surface->h != surfaceHeight_) {
            PlaceFrame(surface);
            windowShows = nullptr;
        }
        // The frame handed as shown is only trusted when it is the one we drew.
        if (shown != windowShows) shown = nullptr;
        if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return;
        if (direct_) {
            DrawFrame(plan_, pixels, shown, WindowPixels{static_cast<uint8_t*>(surface->pixels), surface->pitch,
                                                         surface->w, surface->h},
                      bands_);
        } else {
            BlitUnusualWindow(surface, pixels);
        }
        if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
        SendBands();
        lastShown_ = pixels;
        needsRedraw_ = false;
        if (reportTiming_ && !firstFrameReported_) {
            firstFrameReported_ = true;
            timespec now{};
            clock_gettime(CLOCK_REALTIME, &now);
            std::fprintf(stderr, "tumbleroo: first frame shown at %lld.%09ld\n",
                         static_cast<long long>(now.tv_sec), now.tv_nsec);
            // On a busy machine the wall time mostly measures the wait for a
            // processor; the process's own time does not.
            timespec used{};
            clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used);
            std::fprintf(stderr, "tumbleroo: processor time until then %.1f ms\n",
                         static_cast<double>(used.tv_sec) * 1e3 + static_cast<double>(used.tv_nsec) / 1e6);
        }
    }

    void SendBands() {
        if (bands_.empty()) return;
        if (bands_.size() == 1 && bands_[0] == PixelRect{0, 0, surfaceWidth_, surfaceHeight_}) {
            SDL_UpdateWindowSurface(window_);
            return;
        }
        rects_.clear();
        for (const PixelRect& band : bands_) rects_.push_back(SDL_Rect{band.x, band.y, band.w, band.h});
        SDL_UpdateWindowSurfaceRects(window_, rects_.data(), static_cast<int>(rects_.size()));
    }

    // A window that is not of 32-bit pixels with 8-bit channels goes
    // through SDL's general scaled blit, the whole frame every time.
    void BlitUnusualWindow(SDL_Surface* surface, const uint16_t* pixels) {
        SDL_Surface* frame = SDL_CreateRGBSurfaceWithFormatFrom(
            const_cast<uint16_t*>(pixels), kFrameWidth, kFrameHeight, 16,
            kFrameWidth * static_cast<int>(sizeof(uint16_t)), SDL_PIXELFORMAT_RGB565);
        bands_.clear();
        if (!frame) return;
        SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
        const PixelRect& at = plan_.placement;
        SDL_Rect placement{at.x, at.y, at.w, at.h};
        SDL_BlitScaled(frame, nullptr, surface, &placement);
        SDL_FreeSurface(frame);
        bands_.assign(1, PixelRect{0, 0, surface->w, surface->h});
    }

    // Where the frame goes in this window surface, and how its pixels are laid out.
    void PlaceFrame(SDL_Surface* surface) {
        surface_ = surface;
        surfaceWidth_ = surface->w;
        surfaceHeight_ = surface->h;
        const SDL_PixelFormat* f = surface->format;
        direct_ = f->BytesPerPixel == 4 && f->Rloss == 0 && f->Gloss == 0 && f->Bloss == 0;
        const PixelLayout layout{f->Rshift, f->Gshift, f->Bshift, f->Amask};
        plan_ = MakeScalePlan(tumbleroo::PlaceFrame(surface->w, surface->h, scaleMode_), layout);
    }

    // Sleeps until the next tick of the 60 Hz frame clock.
    void WaitForNextTick() {
        nextTick_ = NextFrameTick(nextTick_, Clock::now());
        std::this_thread::sleep_until(nextTick_);
    }

    // Puts the open window into the chosen mode.
    void ShowWindowMode() {
        if (fullScreen_) {
            SDL_Rect desktop{};
            if (SDL_GetDisplayBounds(std::max(SDL_GetWindowDisplayIndex(window_), 0), &desktop) == 0) {
                SDL_SetWindowPosition(window_, desktop.x, desktop.y);
                SDL_SetWindowSize(window_, desktop.w, desktop.h);
            }
            SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
        } else {
            SDL_SetWindowFullscreen(window_, 0);
            SDL_SetWindowBordered(window_, SDL_TRUE);
            SDL_SetWindowSize(window_, kFrameWidth * kWindowScale, kFrameHeight * kWindowScale);
            SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
        }
        needsRedraw_ = true;
    }

    void ToggleFullScreen() { SetFullScreen(!fullScreen_); }

    // Every loop of the game presents a frame or sleeps, so events are taken
    // there: once a frame, just after the wait, before the game reads its
    // keys. (Each pump also asks the pads' hotplug monitor, a system call.)
    void PumpEvents() {
        SDL_Event event;
        while (SDL_PollEvent(&event)) HandleEvent(event);
    }

    void HandleEvent(const SDL_Event& event) {
        switch (event.type) {
            case SDL_QUIT:
                endRequested_ = true;
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
                if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
                    pending_.push_back(WindowEvent{WindowEvent::Kind::FocusLost, Key::Escape});
                }
                break;
            default:
                OnPadChanges(gamepads_->HandleEvent(event));
                break;
        }
    }

    // The pads press and release game keys as the keyboard does; a key
    // stays down while the keyboard or a pad still holds it.
    void OnPadChanges(const std::vector<PadKeyChange>& changes) {
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

    void OnKeyDown(const SDL_KeyboardEvent& key) {
        const bool enter = key.keysym.sym == SDLK_RETURN || key.keysym.sym == SDLK_KP_ENTER;
        const bool altEnter = enter && (key.keysym.mod & KMOD_ALT) != 0;
        if (altEnter || key.keysym.scancode == SDL_SCANCODE_F11) {
            if (!key.repeat) ToggleFullScreen();
            return;
        }
        // A held key repeats its key-down; it is still the one press.
        if (key.repeat) return;
        const std::optional<Key> game = boundKey_[key.keysym.scancode];
        if (!game) return;
        physicalHeld_[key.keysym.scancode] = true;
        const size_t i = KeyIndex(*game);
        held_[i] = true;
        pressedUnseen_[i] = true;
    }

    void OnKeyUp(const SDL_KeyboardEvent& key) {
        const std::optional<Key> game = boundKey_[key.keysym.scancode];
        // Only a key the game saw go down is released (not Alt+Enter's Enter).
        if (!game || !physicalHeld_[key.keysym.scancode]) return;
        physicalHeld_[key.keysym.scancode] = false;
        // The game key stays down while another of its keys is held.
        if (AnyHeldFor(*game) || gamepads_->Holds(*game)) return;
        held_[KeyIndex(*game)] = false;
        pending_.push_back(WindowEvent{WindowEvent::Kind::KeyUp, *game});
    }

    bool AnyHeldFor(Key game) const {
        for (size_t code = 0; code < boundKey_.size(); ++code) {
            if (physicalHeld_[code] && boundKey_[code] == game) return true;
        }
        return false;
    }

    Mix_Chunk* Chunk(int sound) const {
        if (sound < 0 || static_cast<size_t>(sound) >= sounds_.size()) return nullptr;
        return sounds_[static_cast<size_t>(sound)];
    }

    bool ValidChannel(int channel) const {
        return channel >= 0 && channel < Mix_AllocateChannels(-1);
    }

    SDL_Window* window_ = nullptr;
    // The window surface we last placed the frame in (SDL replaces it
    // when the window changes size).
    SDL_Surface* surface_ = nullptr;
    int surfaceWidth_ = 0;
    int surfaceHeight_ = 0;
    ScaleMode scaleMode_ = ScaleMode::WholeFactor;
    // A window of 32-bit pixels with 8-bit channels is drawn into directly.
    bool direct_ = false;
    ScalePlan plan_;
    // The frame the window shows (the game keeps it unchanged until the
    // next Present); nullptr when the window must be drawn whole.
    const uint16_t* lastShown_ = nullptr;
    std::vector<PixelRect> bands_;
    std::vector<SDL_Rect> rects_;
    bool videoStarted_ = false;
    bool fullScreen_ = true;
    bool cursorVisible_ = true;
    bool needsRedraw_ = true;
    Clock::time_point nextTick_ = Clock::now();

    // Which game key each key position stands for, and which are held.
    std::array<std::optional<Key>, SDL_NUM_SCANCODES> boundKey_{};
    std::array<bool, SDL_NUM_SCANCODES> physicalHeld_{};
    std::array<bool, std::size(kAllKeys)> held_{};
    // Pressed since the game last asked: a tap shorter than a frame counts.
    std::array<bool, std::size(kAllKeys)> pressedUnseen_{};
    std::vector<WindowEvent> pending_;
    bool endRequested_ = false;

    bool audioOpen_ = false;
    std::vector<Mix_Chunk*> sounds_;
    std::unique_ptr<TextRasterizer> text_;
    std::unique_ptr<SdlGamepads> gamepads_;

    bool reportTiming_ = false;
    bool firstFrameReported_ = false;
};

}  // namespace

std::unique_ptr<Platform> CreateSdlPlatform() { return std::make_unique<SdlPlatform>(); }

}  // namespace tumbleroo
