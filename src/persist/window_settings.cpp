#include "persist/window_settings.h"

#include "persist/settings.h"
#include "shell/numeric.h"

namespace tumbleroo {

namespace {

constexpr const char* kFullScreenKey = "FullScreen";

}  // namespace

std::optional<bool> LoadFullScreen(const std::string& settingsPath) {
    std::string value;
    if (!IniReadString(settingsPath, kWindowSection, kFullScreenKey, value)) return std::nullopt;
    // Any number but 0 is on, as for every flag in the file.
    return IniReadInt(settingsPath, kWindowSection, kFullScreenKey, 0) != 0;
}

bool SaveFullScreen(const std::string& settingsPath, bool fullScreen) {
    return IniWriteString(settingsPath, kWindowSection, kFullScreenKey, NumberText(ToFlag(fullScreen)));
}

}  // namespace tumbleroo
