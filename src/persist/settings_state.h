// The player's settings as Init.ini keeps them.
#pragma once

#include <cstdint>

#include "core/numeric.h"
#include "platform/platform.h"

namespace tumbleroo {

struct Settings {
    Flag AutoView = kOff;
    Flag DrawBack = kOff;
    Flag PlayMusic = kOff;
    int32_t GameSpeed = 0;
};

// The window's mode, kept in Init.ini's section Window. Apart from Settings,
// which the settings menu copies and puts back on Escape.
struct WindowSettings {
    bool FullScreen = true;
    ScaleMode Scale = ScaleMode::WholeFactor;
};

}  // namespace tumbleroo
