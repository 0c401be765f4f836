// The headless platform: no window and no audio device. Keys come from a
// key script, sleeping advances a virtual clock, presented frames can be
// kept as PNG files, and the silent audio device records what was played.
#pragma once

#include <bitset>
#include <cstdint>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/null_platform.h"

namespace tumbleroo {

// One line of a key script: keys held from flip FROM to flip TO inclusive.
struct KeyRange {
    uint64_t from = 0;
    uint64_t to = 0;
    std::vector<Key> keys;
};

// Parses "FROM[-TO] KEY[+KEY...]" lines; false with a message on error.
bool ParseKeyScript(const std::string& text, std::vector<KeyRange>& out, std::string& error);

struct PlayedSound {
    int channel;
    int sound;
    bool restarted;  // the channel was still playing and started over
};

class HeadlessPlatform : public NullPlatform {
public:
    HeadlessPlatform();
    ~HeadlessPlatform() override;

    // Set-up by the driver or a test.
    std::vector<KeyRange> keyScript;
    std::map<uint64_t, std::string> shots;  // flip number -> PNG path
    bool displayAvailable = true;
    bool audioAvailable = true;
    // How long a played sound keeps its channel busy, in virtual ms.
    uint64_t soundLengthMs = 300;
    // Keep a copy of every presented frame in lastFrame (tests look at it).
    bool keepLastFrame = true;
    // Keep a copy of every presented frame in frames, for tests that look
    // at what a screen showed along the way.
    bool keepEveryFrame = false;
    // An end request (a window close or a signal) that arrives right after
    // the given flip, or at the given virtual time, even inside a sleep.
    std::optional<uint64_t> endAfterFlip;
    std::optional<uint64_t> endAtMs;
    // The run ends once this many flips are shown (0: no limit).
    uint64_t frameLimit = 0;

    // What happened.
    uint64_t flips = 0;
    std::vector<std::string> messages;
    std::vector<PlayedSound> played;
    std::vector<std::string> loadedSounds;
    std::vector<uint16_t> lastFrame;
    std::vector<std::vector<uint16_t>> frames;
    // The flip count when the end request arrived.
    std::optional<uint64_t> flipsAtEndRequest;

    bool OpenDisplay() override;
    void CloseDisplay() override;
    void Present(const uint16_t* pixels, const uint16_t* shown, int width, int height) override;
    bool fullScreen = true;
    void SetFullScreen(bool on) override { fullScreen = on; }
    bool IsFullScreen() override { return fullScreen; }
    RgbImage windowIcon;
    uint32_t windowIconTransparent = 0;
    void SetWindowIcon(const RgbImage& icon, uint32_t transparentRgb) override {
        windowIcon = icon;
        windowIconTransparent = transparentRgb;
    }
    void ShowMessage(const std::string& text) override;

    bool IsKeyDown(Key key) override;
    std::vector<WindowEvent> TakePendingEvents() override;
    void QueueClose() { closeRequested_ = true; }
    bool EndRequested() override;
    void HoldFrameLimit(bool held) override { frameLimitHeld_ = held; }
    bool FramesUsedUp() override { return frameLimit != 0 && flips >= frameLimit; }
    // The window loses the keys, as when the player switches away.
    void QueueFocusLoss() { pending_.push_back({WindowEvent::Kind::FocusLost, Key::Escape}); }

    void SleepMs(int milliseconds) override;
    uint64_t NowMs() override;

    bool DecodeImage(const uint8_t* data, size_t size, RgbImage& out) override;
    GlyphBitmap RenderText(const std::string& utf8, const FontSpec& font) override;

    bool OpenAudio() override;
    void CloseAudio() override;
    int LoadSound(const std::string& path) override;
    void FreeSound(int sound) override;
    bool IsChannelPlaying(int channel) override;
    void StopChannel(int channel) override;
    void PlayOnChannel(int channel, int sound) override;
    void EnsureChannels(int count) override;

private:
    // Which of kAllKeys are held, by their place in it.
    using HeldKeys = std::bitset<std::size(kAllKeys)>;
    HeldKeys HeldKeysAt(uint64_t flip) const;
    bool KeyDownAt(Key key, uint64_t flip) const;
    // Notes the arrival of an end request that has fallen due.
    void CheckEndRequest();

    uint64_t clockMs_ = 0;
    uint64_t clockFrac_ = 0;  // thirds of a millisecond, for 60 Hz flips
    bool closeRequested_ = false;
    bool frameLimitHeld_ = false;
    std::vector<WindowEvent> pending_;
    std::map<int, uint64_t> channelBusyUntil_;
    int nextSound_ = 0;
    std::unique_ptr<class TextRasterizer> text_;
};

// Saves an RGB565 frame as a 24-bit PNG.
bool SaveFramePng(const std::string& path, const uint16_t* pixels, int width, int height);

}  // namespace tumbleroo
