#include "persist/key_settings.h"

#include "persist/data_file.h"
#include "persist/ini.h"

namespace tumbleroo {

KeyBindings LoadKeyBindings(const std::string& settingsPath) {
    KeyBindings bindings = DefaultKeyBindings();
    // A file too big to be settings was reported by LoadSettings; its keys
    // are not read.
    const FileRead read = ReadDataFile(settingsPath, kMaxDataFileBytes, PosixFileOps());
    const IniValues values = ParseIni(read.bytes);
    for (KeyBinding& binding : bindings) {
        std::string value;
        const std::string action(KeyActionName(binding.key));
        if (!IniValue(values, kKeySection, action, value)) continue;
        std::vector<std::string> positions = SplitKeyPositions(value);
        if (!positions.empty()) binding.positions = std::move(positions);
    }
    return bindings;
}

}  // namespace tumbleroo
