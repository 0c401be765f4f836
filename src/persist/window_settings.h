// The window mode in Init.ini, section Window, key FullScreen (-1 full
// screen, 0 a window), kept apart from BasicInformation so that the
// settings menu's four keys are never touched by it.
#pragma once

#include <optional>
#include <string>

namespace tumbleroo {

inline constexpr const char* kWindowSection = "Window";

// The saved mode; none when the file has no such key.
std::optional<bool> LoadFullScreen(const std::string& settingsPath);
bool SaveFullScreen(const std::string& settingsPath, bool fullScreen);

}  // namespace tumbleroo
