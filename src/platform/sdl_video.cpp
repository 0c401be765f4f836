#include "platform/sdl_video.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "platform/table_index.h"

namespace tumbleroo {

namespace {

constexpr int kFrameWidth = 640;
constexpr int kFrameHeight = 480;
constexpr int kWindowScale = 2;
constexpr const char* kTitle = "Tumbleroo";

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

}  // namespace

SdlVideo::SdlVideo() : reportTiming_(std::getenv("TUMBLEROO_TIMING") != nullptr) {}

bool SdlVideo::Open() {
    if (window_) return false;
// We scale the frame ourselves into the window's own surface, which
    // goes straight to the window system. Measured under a software X
    // server: SDL's renderers (GL on a software rasteriser, or its
    // software renderer with its general scaler) cost several times the
    // CPU, and GL several times the memory. Without this hint SDL would
    // back the window surface with GL after all.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return Fail();
    videoStarted_ = true;
    const char* driver = SDL_GetCurrentVideoDriver();
    if (IsInvisibleVideoDriver(driver) || SDL_GetNumVideoDisplays() < 1) {
        SDL_SetError("the video driver \"%s\" shows nothing", driver ? driver : "");
        return Fail();
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
    if (!window_) return Fail();
    SDL_ShowCursor(cursorVisible_ ? SDL_ENABLE : SDL_DISABLE);
    needsRedraw_ = true;
    return true;
}

void SdlVideo::Close() {
    if (window_) SDL_DestroyWindow(window_);
    window_ = nullptr;
    surface_ = nullptr;
    if (videoStarted_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    videoStarted_ = false;
}

bool SdlVideo::Fail() {
    ReportNoWindow(SDL_GetError());
    Close();
    return false;
}

void SdlVideo::Show(const uint16_t* pixels, const uint16_t* shown, int width, int height) {
    if (window_ && width == kFrameWidth && height == kFrameHeight) ShowFrame(pixels, shown);
}

void SdlVideo::SetScaleMode(ScaleMode mode) {
    if (mode == scaleMode_) return;
    scaleMode_ = mode;
    surface_ = nullptr;
}

void SdlVideo::SetCursorVisible(bool visible) {
    cursorVisible_ = visible;
    if (window_) SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

void SdlVideo::SetFullScreen(bool fullScreen) {
    if (fullScreen == fullScreen_) return;
    fullScreen_ = fullScreen;
    if (window_) ShowWindowMode();
}

void SdlVideo::SetIcon(const RgbImage& picture, uint32_t transparentRgb) {
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

void SdlVideo::ShowMessage(const std::string& text) {
    std::fprintf(stderr, "%s (SDL: %s)\n", text.c_str(), SDL_GetError());
    if (!window_) return;
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, kTitle, text.c_str(), window_);
}

void SdlVideo::ShowFrame(const uint16_t* pixels, const uint16_t* shown) {
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
    if (reportTiming_ && !firstFrameReported_) ReportFirstFrame();
}

void SdlVideo::SendBands() {
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
void SdlVideo::BlitUnusualWindow(SDL_Surface* surface, const uint16_t* pixels) {
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
void SdlVideo::PlaceFrame(SDL_Surface* surface) {
    surface_ = surface;
    surfaceWidth_ = surface->w;
    surfaceHeight_ = surface->h;
    const SDL_PixelFormat* f = surface->format;
    direct_ = f->BytesPerPixel == 4 && f->Rloss == 0 && f->Gloss == 0 && f->Bloss == 0;
    const PixelLayout layout{f->Rshift, f->Gshift, f->Bshift, f->Amask};
    plan_ = MakeScalePlan(tumbleroo::PlaceFrame(surface->w, surface->h, scaleMode_), layout);
}

void SdlVideo::ReportFirstFrame() {
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

// Puts the open window into the chosen mode.
void SdlVideo::ShowWindowMode() {
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

}  // namespace tumbleroo
