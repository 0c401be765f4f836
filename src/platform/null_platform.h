// The null platform: no screen, no keys, no clock, no pictures, no sound.
// Every call succeeds at doing nothing. Platforms without a window (the
// headless driver's, the course solver's) build on it and override only
// what they supply or observe.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

namespace tumbleroo {

class NullPlatform : public Platform {
public:
    bool OpenDisplay() override { return true; }
    void CloseDisplay() override {}
    void Present(const uint16_t*, const uint16_t*, int, int) override {}
    void SetCursorVisible(bool) override {}
    void ShowMessage(const std::string&) override {}

    bool IsKeyDown(Key) override { return false; }
    // Nothing is pressed, so there is nothing to bind.
    void BindKeys(const std::vector<KeyBinding>&) override {}
    std::vector<WindowEvent> TakePendingEvents() override { return {}; }

    void SleepMs(int) override {}
    uint64_t NowMs() override { return 0; }

    bool DecodeImage(const uint8_t*, size_t, RgbImage&) override { return false; }
    GlyphBitmap RenderText(const std::string&, const FontSpec&) override { return {}; }

    bool OpenAudio() override { return false; }
    void CloseAudio() override {}
    int LoadSound(const std::string&) override { return -1; }
    void FreeSound(int) override {}
    bool IsChannelPlaying(int) override { return false; }
    void StopChannel(int) override {}
    void PlayOnChannel(int, int) override {}
    void EnsureChannels(int) override {}
};

}  // namespace tumbleroo
