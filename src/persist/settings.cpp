// The four user settings in Init.ini, section BasicInformation: read once at
// start-up, written when the settings menu is left with OK.
#include "persist/settings.h"

#include <algorithm>

#include "shell/game.h"
#include "shell/numeric.h"

namespace tumbleroo {

namespace {

constexpr const char* kSection = "BasicInformation";
constexpr const char* kSettingsFileName = "Init.ini";

// Any number but 0 switches a setting on; stored as exactly -1 or 0.
Flag ReadFlag(const std::string& path, const char* key, Flag defaultValue) {
    return ToFlag(IniReadInt(path, kSection, key, defaultValue) != 0);
}

}  // namespace

std::string SettingsPath(const Game& game) {
    if (!game.records.settingsPath.empty()) return game.records.settingsPath;
    return game.run.BasePath + kSettingsFileName;
}

void LoadSettings(Game& game) {
    const std::string path = SettingsPath(game);
    Settings& s = game.settings;
    s.AutoView = ReadFlag(path, "AutoView", kOff);
    s.DrawBack = ReadFlag(path, "DrawBack", kOn);
    s.PlayMusic = ReadFlag(path, "PlayMusic", kOn);
    // The stage loop sleeps this long every frame: never negative, never endless.
    s.GameSpeed = std::clamp(IniReadInt(path, kSection, "GameSpeed", kDefaultGameSpeedMs), 0,
                             kMaxGameSpeedMs);
}

// A file that cannot be written is not reported: the settings simply stay
// in memory for the rest of the run.
void SaveSettings(Game& game) {
    const std::string path = SettingsPath(game);
    const Settings& s = game.settings;
    IniWriteString(path, kSection, "PlayMusic", NumberText(ToFlag(IsOn(s.PlayMusic))));
    IniWriteString(path, kSection, "AutoView", NumberText(ToFlag(IsOn(s.AutoView))));
    IniWriteString(path, kSection, "DrawBack", NumberText(ToFlag(IsOn(s.DrawBack))));
    IniWriteString(path, kSection, "GameSpeed", NumberText(s.GameSpeed));
}

}  // namespace tumbleroo
