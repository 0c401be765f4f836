// The window. The game draws every frame itself into a 640 x 480 RGB565
// buffer; this only shows it: full screen on the desktop, scaled up by
// nearest neighbour and letterboxed, or in a window at twice the size.
#pragma once

#include <SDL.h>

#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/window_scaler.h"

namespace tumbleroo {

class SdlVideo {
public:
    SdlVideo();
    ~SdlVideo() { Close(); }
    SdlVideo(const SdlVideo&) = delete;
    SdlVideo& operator=(const SdlVideo&) = delete;

    // Opens the window in the chosen mode; false, told on standard error,
    // when there is no screen to show it on.
    bool Open();
    void Close();
    // Shows a frame of the game's size; `shown` as in Platform::Present.
    void Show(const uint16_t* pixels, const uint16_t* shown, int width, int height);
    // The window changed: the next frame is drawn whole.
    void MarkForRedraw() { needsRedraw_ = true; }

    void SetScaleMode(ScaleMode mode);
    void SetCursorVisible(bool visible);
    void SetFullScreen(bool fullScreen);
    bool IsFullScreen() const { return fullScreen_; }
    void SetIcon(const RgbImage& picture, uint32_t transparentRgb);
    void ShowMessage(const std::string& text);

private:
    bool Fail();
    void ShowFrame(const uint16_t* pixels, const uint16_t* shown);
    void SendBands();
    void BlitUnusualWindow(SDL_Surface* surface, const uint16_t* pixels);
    void PlaceFrame(SDL_Surface* surface);
    void ShowWindowMode();
    void ReportFirstFrame();

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

    bool reportTiming_ = false;
    bool firstFrameReported_ = false;
};

}  // namespace tumbleroo
