// The real game's platform: an SDL2 window showing the 640 x 480 frame,
// keyboard polling, a steady 60 Hz frame clock and SDL_mixer sound.
#pragma once

#include <memory>

#include "platform/platform.h"

namespace tumbleroo {

std::unique_ptr<Platform> CreateSdlPlatform();

}  // namespace tumbleroo
