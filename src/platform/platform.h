// The platform layer: everything the game needs from outside itself.
//
// The game owns its frame buffer and all game logic; a platform only polls
// keys, delivers window events, sleeps, shows finished 640 x 480 frames,
// shows message boxes, tells the time, rasterises text and plays sounds.
// Two implementations exist: the SDL2 one for the real game and a headless
// one for tests and the driver. No platform type leaks out of this header.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tumbleroo {

// Keys the game polls, named by their window key codes.
enum class Key : int {
    Left = 37,
    Up = 38,
    Right = 39,
    Down = 40,
    Z = 90,
    Enter = 13,
    Escape = 27,
    Pause = 19,  // pauses and resumes play
};

inline constexpr Key kAllKeys[] = {Key::Left,  Key::Up,     Key::Right, Key::Down,
                                   Key::Z,     Key::Enter,  Key::Escape, Key::Pause};

struct KeyBinding;  // platform/key_bindings.h

// How full screen fits the frame: the largest whole factor with black bars,
// or the largest 4:3 stretch.
enum class ScaleMode { WholeFactor, Fill };

struct WindowEvent {
    // FocusLost: the window no longer receives the keys.
    enum class Kind { KeyUp, Close, FocusLost };
    Kind kind = Kind::KeyUp;
    Key key = Key::Z;
};

// An 8-bit coverage bitmap of rendered text (0 = no ink, 255 = full ink).
struct GlyphBitmap {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> coverage;
};

struct FontSpec {
    int pointSize = 9;  // points at 96 dpi
    bool bold = true;
    bool italic = false;
    bool operator==(const FontSpec&) const = default;
};

// A decoded picture: 8-bit red, green, blue per pixel, row by row.
struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;
};

class Platform {
public:
    virtual ~Platform() = default;

    // Display. OpenDisplay fails when there is no usable screen.
    virtual bool OpenDisplay() = 0;
    virtual void CloseDisplay() = 0;
    // Shows one finished frame (RGB565, 640 x 480) and then waits for the
    // next tick of the steady 60 Hz frame clock.
    // `shown` is the frame given to the Present before, unchanged since (the
    // flip chain's other buffer), or nullptr: only what differs need be sent.
    virtual void Present(const uint16_t* pixels, const uint16_t* shown, int width, int height) = 0;
    // Platforms without a window have nothing to scale.
    virtual void SetScaleMode(ScaleMode) {}
    virtual void SetCursorVisible(bool visible) = 0;
    // Full screen, or a window; before OpenDisplay it chooses how the
    // display opens. The player may switch it at any time (F11, Alt+Enter).
    // A platform without windows is always full screen.
    virtual void SetFullScreen(bool) {}
    virtual bool IsFullScreen() { return true; }
    // The window's icon; pixels of the transparent colour (red + 256 green
    // + 65536 blue) are left out. A platform without windows ignores it.
    virtual void SetWindowIcon(const RgbImage&, uint32_t /*transparentRgb*/) {}
    virtual void ShowMessage(const std::string& text) = 0;

    // Input and events. Input arrives while the game presents or sleeps
    // (every loop of the game does one or the other), so what these report
    // changes only across a Present or a SleepMs.
    virtual bool IsKeyDown(Key key) = 0;
    // Replaces which physical keys stand for the game keys it names.
    virtual void BindKeys(const std::vector<KeyBinding>& bindings) = 0;
    // Collects the window events that arrived since the last call.
    virtual std::vector<WindowEvent> TakePendingEvents() = 0;
    // True once the program was asked to end (window closed, SIGINT,
    // SIGTERM); from then on sleeps and presents return at once.
    virtual bool EndRequested() { return false; }
    // A run given a set number of frames (the headless driver's) ends when
    // they are used up, its EndRequested turning true, but never inside a
    // stage pass: play holds the limit back while a pass is under way and
    // asks FramesUsedUp once it is over.
    virtual void HoldFrameLimit(bool /*held*/) {}
    virtual bool FramesUsedUp() { return false; }

    // Time.
    virtual void SleepMs(int milliseconds) = 0;
    virtual uint64_t NowMs() = 0;

    // Resources.
    virtual bool DecodeImage(const uint8_t* data, size_t size, RgbImage& out) = 0;
    virtual GlyphBitmap RenderText(const std::string& utf8, const FontSpec& font) = 0;

    // Audio: a sound is loaded once and played on channels the game numbers
    // itself; a channel restarted while playing starts over.
    virtual bool OpenAudio() = 0;
    virtual void CloseAudio() = 0;
    virtual int LoadSound(const std::string& path) = 0;  // -1 when unreadable
    virtual void FreeSound(int sound) = 0;
    virtual bool IsChannelPlaying(int channel) = 0;
    virtual void StopChannel(int channel) = 0;
    virtual void PlayOnChannel(int channel, int sound) = 0;
    virtual void EnsureChannels(int count) = 0;
};

}  // namespace tumbleroo
