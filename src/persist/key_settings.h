// Rebound keys in Init.ini, section Keys: one line per action, e.g.
// "Jump=Z, Space, X". An action that is absent or names no key keeps its
// default keys.
#pragma once

#include <string>

#include "platform/key_bindings.h"

namespace tumbleroo {

inline constexpr const char* kKeySection = "Keys";

KeyBindings LoadKeyBindings(const std::string& settingsPath);

}  // namespace tumbleroo
