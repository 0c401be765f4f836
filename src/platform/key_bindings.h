// Which physical keys stand for each game key. Keys are named by their
// position, as printed on a US keyboard ("Z", "Space", "Left", "Return"),
// so a binding means the same place on every layout.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace tumbleroo {

struct KeyBinding {
    Key key = Key::Z;
    std::vector<std::string> positions;
};

using KeyBindings = std::vector<KeyBinding>;

// The action's name where players rebind it ("Jump" for Z).
std::string_view KeyActionName(Key key);

// One binding per game key, in the order of kAllKeys.
KeyBindings DefaultKeyBindings();

// "Z, Space ,X" -> {"Z", "Space", "X"}; empty parts are dropped.
std::vector<std::string> SplitKeyPositions(std::string_view text);

}  // namespace tumbleroo
