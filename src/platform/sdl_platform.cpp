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

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <optional>
#include <thread>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/key_bindings.h"
#include "platform/sdl_gamepad.h"
#include "platform/sdl_support.h"

namespace tumbleroo {
namespace {

constexpr int kFrameWidth = 640;
constexpr int kFrameHeight = 480;
constexpr int kWindowScale = 2;
constexpr const char* kTitle = "Tumbleroo";
// Changed window rows closer than this are sent as one band.
constexpr int kBandMergeRows = 16;
// Window pixels written with one store when stretching a row.
constexpr int kCopiesPerStore = 4;
// The effects are recorded at 22050 Hz: played at that rate they need no
// resampling and half the memory and mixing of 44100 Hz, which is the
// fallback. 512 samples keep the delay after a key press near 23 ms.
constexpr int kAudioChunkSamples = 512;
constexpr int kAudioRates[] = {22050, 44100};

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

class SdlPlatform : public Platform {
public:
    SdlPlatform() {
        // Events first: SDL then turns SIGINT and SIGTERM into a window
        // close, which the game handles like any other.
        if (SDL_Init(SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) {
            std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
        }
        reportTiming_ = std::getenv("TUMBLEROO_TIMING") != nullptr;
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
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
        videoStarted_ = true;
        if (IsInvisibleVideoDriver(SDL_GetCurrentVideoDriver()) || SDL_GetNumVideoDisplays() < 1) {
            SDL_SetError("no display to show the game on");
            CloseDisplay();
            return false;
        }
        // Full screen, it is made as large as the desktop, so that it covers
        // the screen even where no window manager carries out the request.
        SDL_Rect desktop{SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kFrameWidth * kWindowScale,
                         kFrameHeight * kWindowScale};
        if (fullScreen_) SDL_GetDisplayBounds(0, &desktop);
        window_ = SDL_CreateWindow(kTitle, desktop.x, desktop.y, desktop.w, desktop.h,
                                   fullScreen_ ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
        if (!window_) return FailDisplay();
        shown_.assign(static_cast<size_t>(kFrameWidth) * kFrameHeight, 0);
        frame_ = SDL_CreateRGBSurfaceWithFormatFrom(shown_.data(), kFrameWidth, kFrameHeight, 16,
                                                    kFrameWidth * static_cast<int>(sizeof(uint16_t)),
                                                    SDL_PIXELFORMAT_RGB565);
        if (!frame_) return FailDisplay();
        SDL_ShowCursor(cursorVisible_ ? SDL_ENABLE : SDL_DISABLE);
        needsRedraw_ = true;
        nextTick_ = Clock::now();
        PumpEvents();
        return true;
    }

    void CloseDisplay() override {
        if (frame_) SDL_FreeSurface(frame_);
        if (window_) SDL_DestroyWindow(window_);
        frame_ = nullptr;
        window_ = nullptr;
        surface_ = nullptr;
        if (videoStarted_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
        videoStarted_ = false;
    }

    void Present(const uint16_t* pixels, int width, int height) override {
        PumpEvents();
        if (window_ && width == kFrameWidth && height == kFrameHeight) {
            ShowFrame(pixels);
        }
        WaitForNextTick();
        PumpEvents();
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
        const size_t pixels = static_cast<size_t>(picture.width) * picture.height;
        for (size_t i = 0; i < pixels && 3 * i + 2 < picture.rgb.size(); ++i) {
            const uint8_t* in = &picture.rgb[3 * i];
            const uint32_t rgb = in[0] | (in[1] << 8) | (in[2] << 16);
            const uint8_t alpha = rgb == transparentRgb ? SDL_ALPHA_TRANSPARENT : SDL_ALPHA_OPAQUE;
            const int y = static_cast<int>(i) / picture.width;
            const int x = static_cast<int>(i) % picture.width;
            uint8_t* out = static_cast<uint8_t*>(icon->pixels) + static_cast<size_t>(y) * icon->pitch + 4 * x;
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
        std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
        CloseDisplay();
        return false;
    }

    // Shows the frame in the window. Only the frame rows that changed since
    // the last frame are converted and sent, so still scenes cost nearly
    // nothing; everything is redrawn after the window changed.
    void ShowFrame(const uint16_t* pixels) {
        SDL_Surface* surface = SDL_GetWindowSurface(window_);
        if (!surface) return;
        if (surface != surface_ || surface->w != surfaceWidth_ || surface->h != surfaceHeight_) {
            PlaceFrame(surface);
        }
        if (!TakeChangedRows(pixels)) return;

        if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return;
        if (needsRedraw_) SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
        bands_.clear();
        if (!windowLayout_.direct) {
            SDL_BlitScaled(frame_, nullptr, surface, &placement_);
            bands_.push_back(placement_);
        } else if (placement_.w == 2 * kFrameWidth && placement_.h == 2 * kFrameHeight) {
            DrawDoubled(surface);
        } else {
            DrawScaled(surface);
        }
        if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
        if (needsRedraw_) {
            SDL_UpdateWindowSurface(window_);
        } else {
            SDL_UpdateWindowSurfaceRects(window_, bands_.data(), static_cast<int>(bands_.size()));
        }
        needsRedraw_ = false;
        if (reportTiming_ && !firstFrameReported_) {
            firstFrameReported_ = true;
            timespec now{};
            clock_gettime(CLOCK_REALTIME, &now);
            std::fprintf(stderr, "tumbleroo: first frame shown at %lld.%09ld\n",
                         static_cast<long long>(now.tv_sec), now.tv_nsec);
        }
    }

    // Copies the rows of the new frame that differ from the one shown
    // (all of them after a window change); false when none do.
    bool TakeChangedRows(const uint16_t* pixels) {
        bool any = false;
        const size_t rowBytes = kFrameWidth * sizeof(uint16_t);
        for (int y = 0; y < kFrameHeight; ++y) {
            const uint16_t* in = pixels + static_cast<size_t>(y) * kFrameWidth;
            uint16_t* kept = shown_.data() + static_cast<size_t>(y) * kFrameWidth;
            const bool changed = needsRedraw_ || std::memcmp(kept, in, rowBytes) != 0;
            if (changed) std::memcpy(kept, in, rowBytes);
            rowChanged_[static_cast<size_t>(y)] = changed;
            any = any || changed;
        }
        return any;
    }

    // The largest 4:3 rectangle in the middle of the window, and for each
    // of its columns the frame column it shows (nearest neighbour).
    void PlaceFrame(SDL_Surface* surface) {
        surface_ = surface;
        surfaceWidth_ = surface->w;
        surfaceHeight_ = surface->h;
        int w = surface->w;
        int h = surface->h;
        if (w * kFrameHeight <= h * kFrameWidth) {
            h = w * kFrameHeight / kFrameWidth;
        } else {
            w = h * kFrameWidth / kFrameHeight;
        }
        placement_ = SDL_Rect{(surface->w - w) / 2, (surface->h - h) / 2, std::max(w, 1), std::max(h, 1)};
        sourceColumn_.resize(static_cast<size_t>(placement_.w));
        runStart_.fill(placement_.w);
        for (int x = placement_.w - 1; x >= 0; --x) {
            const int column = (2 * x + 1) * kFrameWidth / (2 * placement_.w);
            sourceColumn_[static_cast<size_t>(x)] = column;
            runStart_[static_cast<size_t>(column)] = x;
        }
        longestRun_ = 0;
        for (int column = 0; column < kFrameWidth; ++column) {
            const int next = column + 1 < kFrameWidth ? runStart_[static_cast<size_t>(column) + 1] : placement_.w;
            longestRun_ = std::max(longestRun_, next - runStart_[static_cast<size_t>(column)]);
        }
        scaledRow_.assign(static_cast<size_t>(placement_.w) + kCopiesPerStore, 0);
        const SDL_PixelFormat* f = surface->format;
        windowLayout_.direct = f->BytesPerPixel == 4 && f->Rloss == 0 && f->Gloss == 0 && f->Bloss == 0;
        windowLayout_.redShift = f->Rshift;
        windowLayout_.greenShift = f->Gshift;
        windowLayout_.blueShift = f->Bshift;
        windowLayout_.alphaMask = f->Amask;
        needsRedraw_ = true;
    }

    uint32_t* WindowRow(SDL_Surface* surface, int y) const {
        return reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(surface->pixels) +
                                           static_cast<size_t>(placement_.y + y) * surface->pitch +
                                           static_cast<size_t>(placement_.x) * sizeof(uint32_t));
    }

    // The common case of exactly twice the size (a 1280 x 960 window, or a
    // full screen of about that size): every changed frame row becomes two
    // window rows.
    void DrawDoubled(SDL_Surface* surface) {
        for (int y = 0; y < kFrameHeight; ++y) {
            if (!rowChanged_[static_cast<size_t>(y)]) continue;
            WidenRowTwice(shown_.data() + static_cast<size_t>(y) * kFrameWidth, WindowRow(surface, 2 * y),
                          WindowRow(surface, 2 * y + 1));
            AddToBands(2 * y);
            AddToBands(2 * y + 1);
        }
        FinishStores();
    }

    // Any other size: each window row shows the nearest frame row, which
    // is stretched once and then copied to every window row showing it.
    void DrawScaled(SDL_Surface* surface) {
        int previousRow = -1;
        for (int y = 0; y < placement_.h; ++y) {
            const int row = (2 * y + 1) * kFrameHeight / (2 * placement_.h);
            if (!rowChanged_[static_cast<size_t>(row)]) continue;
            if (row != previousRow) {
                WidenRow(shown_.data() + static_cast<size_t>(row) * kFrameWidth, wideRow_.data());
                StretchRow(wideRow_.data(), scaledRow_.data());
                previousRow = row;
            }
            CopyRowOut(scaledRow_.data(), WindowRow(surface, y), placement_.w);
            AddToBands(y);
        }
        FinishStores();
    }

    // Collects the written window rows (counted from the frame's top) as
    // a few bands for the window system; nearby bands are merged, as each
    // costs a request of its own.
    void AddToBands(int y) {
        const int top = placement_.y + y;
        if (!bands_.empty()) {
            SDL_Rect& band = bands_.back();
            if (top <= band.y + band.h + kBandMergeRows) {
                band.h = top + 1 - band.y;
                return;
            }
        }
        bands_.push_back(SDL_Rect{placement_.x, top, placement_.w, 1});
    }

    // RGB565 to the window's 8-bit channels, each widened by repeating its
    // top bits (so white stays white).
    uint32_t Widen(uint32_t p) const {
        const uint32_t r = (p >> 11) & 0x1F;
        const uint32_t g = (p >> 5) & 0x3F;
        const uint32_t b = p & 0x1F;
        return (((r << 3) | (r >> 2)) << windowLayout_.redShift) |
               (((g << 2) | (g >> 4)) << windowLayout_.greenShift) |
               (((b << 3) | (b >> 2)) << windowLayout_.blueShift) | windowLayout_.alphaMask;
    }

    // The shifts are copied first: the compiler must otherwise assume that
    // writing pixels may change them, and could not use vector code.
    void WidenRow(const uint16_t* in, uint32_t* out) const {
        const WindowLayout layout = windowLayout_;
        for (int x = 0; x < kFrameWidth; ++x) {
            const uint32_t p = in[x];
            const uint32_t r = (p >> 11) & 0x1F;
            const uint32_t g = (p >> 5) & 0x3F;
            const uint32_t b = p & 0x1F;
            out[x] = (((r << 3) | (r >> 2)) << layout.redShift) | (((g << 2) | (g >> 4)) << layout.greenShift) |
                     (((b << 3) | (b >> 2)) << layout.blueShift) | layout.alphaMask;
        }
    }

    // Stretches a widened row into scaledRow_. Each frame pixel covers a
    // run of at most kCopiesPerStore window pixels: it is stored that many
    // times at its run's start, and the next pixel's store overwrites the
    // excess (scaledRow_ has room for the last one's).
    void StretchRow(const uint32_t* in, uint32_t* out) const {
        if (longestRun_ > kCopiesPerStore) {
            const int width = placement_.w;
            const int* column = sourceColumn_.data();
            for (int x = 0; x < width; ++x) out[x] = in[column[x]];
            return;
        }
        const int* start = runStart_.data();
        for (int x = 0; x < kFrameWidth; ++x) {
            uint32_t copies[kCopiesPerStore];
            std::fill_n(copies, kCopiesPerStore, in[x]);
            std::memcpy(out + start[x], copies, sizeof copies);
        }
    }

#if defined(__SSE2__)
    // Four pixels at once, the same arithmetic as Widen.
    __m128i Widen4(__m128i p) const {
        const __m128i r = _mm_and_si128(_mm_srli_epi32(p, 11), _mm_set1_epi32(0x1F));
        const __m128i g = _mm_and_si128(_mm_srli_epi32(p, 5), _mm_set1_epi32(0x3F));
        const __m128i b = _mm_and_si128(p, _mm_set1_epi32(0x1F));
        const __m128i r8 = _mm_or_si128(_mm_slli_epi32(r, 3), _mm_srli_epi32(r, 2));
        const __m128i g8 = _mm_or_si128(_mm_slli_epi32(g, 2), _mm_srli_epi32(g, 4));
        const __m128i b8 = _mm_or_si128(_mm_slli_epi32(b, 3), _mm_srli_epi32(b, 2));
        __m128i out = _mm_sll_epi32(r8, _mm_cvtsi32_si128(static_cast<int>(windowLayout_.redShift)));
        out = _mm_or_si128(out, _mm_sll_epi32(g8, _mm_cvtsi32_si128(static_cast<int>(windowLayout_.greenShift))));
        out = _mm_or_si128(out, _mm_sll_epi32(b8, _mm_cvtsi32_si128(static_cast<int>(windowLayout_.blueShift))));
        return _mm_or_si128(out, _mm_set1_epi32(static_cast<int>(windowLayout_.alphaMask)));
    }

    // The window surface is only written, never read back: aligned rows
    // bypass the cache so the frame does not evict the game's data.
    static void Store(uint32_t* at, __m128i value, bool aligned) {
        if (aligned) {
            _mm_stream_si128(reinterpret_cast<__m128i*>(at), value);
        } else {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(at), value);
        }
    }

    // One frame row into two window rows, each pixel twice.
    void WidenRowTwice(const uint16_t* in, uint32_t* upper, uint32_t* lower) const {
        const bool aligned = (reinterpret_cast<uintptr_t>(upper) | reinterpret_cast<uintptr_t>(lower)) % 16 == 0;
        const __m128i zero = _mm_setzero_si128();
        for (int x = 0; x < kFrameWidth; x += 8) {
            const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + x));
            const __m128i left = Widen4(_mm_unpacklo_epi16(p, zero));
            const __m128i right = Widen4(_mm_unpackhi_epi16(p, zero));
            const __m128i quarters[4] = {_mm_unpacklo_epi32(left, left), _mm_unpackhi_epi32(left, left),
                                         _mm_unpacklo_epi32(right, right), _mm_unpackhi_epi32(right, right)};
            for (int q = 0; q < 4; ++q) {
                Store(upper + 2 * x + 4 * q, quarters[q], aligned);
                Store(lower + 2 * x + 4 * q, quarters[q], aligned);
            }
        }
    }

    static void CopyRowOut(const uint32_t* row, uint32_t* out, int width) {
        const bool aligned = reinterpret_cast<uintptr_t>(out) % 16 == 0;
        int x = 0;
        for (; x + 4 <= width; x += 4) {
            Store(out + x, _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x)), aligned);
        }
        for (; x < width; ++x) out[x] = row[x];
    }

    static void FinishStores() { _mm_sfence(); }
#else
    void WidenRowTwice(const uint16_t* in, uint32_t* upper, uint32_t* lower) const {
        for (int x = 0; x < kFrameWidth; ++x) {
            const uint32_t pixel = Widen(in[x]);
            upper[2 * x] = upper[2 * x + 1] = pixel;
            lower[2 * x] = lower[2 * x + 1] = pixel;
        }
    }

    static void CopyRowOut(const uint32_t* row, uint32_t* out, int width) {
        std::memcpy(out, row, static_cast<size_t>(width) * sizeof(uint32_t));
    }

    static void FinishStores() {}
#endif

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
            SDL_SetWindowSize(window_, kFrameWidth * kWindowScale, kFrameHeight * kWindowScale);
            SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
        }
        needsRedraw_ = true;
    }

    void ToggleFullScreen() { SetFullScreen(!fullScreen_); }

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
    // Our last frame, also wrapped as an SDL surface for unusual windows.
    std::vector<uint16_t> shown_;
    SDL_Surface* frame_ = nullptr;
    // The window surface we last placed the frame in (SDL replaces it
    // when the window changes size).
    SDL_Surface* surface_ = nullptr;
    int surfaceWidth_ = 0;
    int surfaceHeight_ = 0;
    SDL_Rect placement_{};
    std::vector<int> sourceColumn_;
    // Where each frame column's run of window columns starts, and the
    // longest run.
    std::array<int, kFrameWidth> runStart_{};
    int longestRun_ = 0;
    // A window of 32-bit pixels with 8-bit channels is drawn into directly;
    // any other goes through SDL's general scaled blit.
    struct WindowLayout {
        bool direct = false;
        uint32_t redShift = 16;
        uint32_t greenShift = 8;
        uint32_t blueShift = 0;
        uint32_t alphaMask = 0;
    };
    WindowLayout windowLayout_;
    std::array<uint32_t, kFrameWidth> wideRow_{};
    std::vector<uint32_t> scaledRow_;
    std::array<bool, kFrameHeight> rowChanged_{};
    std::vector<SDL_Rect> bands_;
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
