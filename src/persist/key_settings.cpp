#include "persist/key_settings.h"

#include "persist/settings.h"

namespace tumbleroo {

KeyBindings LoadKeyBindings(const std::string& settingsPath) {
    KeyBindings bindings = DefaultKeyBindings();
    for (KeyBinding& binding : bindings) {
        std::string value;
        const std::string action(KeyActionName(binding.key));
        if (!IniReadString(settingsPath, kKeySection, action, value)) continue;
        std::vector<std::string> positions = SplitKeyPositions(value);
        if (!positions.empty()) binding.positions = std::move(positions);
    }
    return bindings;
}

}  // namespace tumbleroo
