// The four user settings in Init.ini, section BasicInformation, read once at
// start-up and written when the settings menu is left with OK; and the
// window's mode in section Window, written when it changes.
#include "persist/settings.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "persist/ini.h"
#include "persist/player_files.h"
#include "persist/records_state.h"
#include "persist/settings_state.h"

namespace tumbleroo {

namespace {

constexpr const char* kSection = "BasicInformation";
constexpr const char* kWindowSection = "Window";
constexpr const char* kFullScreenKey = "FullScreen";
constexpr const char* kScaleKey = "Scale";
constexpr const char* kScaleWhole = "whole";
constexpr const char* kScaleFill = "fill";
constexpr int32_t kFullScreenOn = 1;
constexpr int32_t kFullScreenOff = 0;

// Any number but 0 switches a setting on; stored as exactly -1 or 0.
Flag ReadFlag(const IniValues& values, const char* key, Flag defaultValue) {
    return ToFlag(IniInt(values, kSection, key, defaultValue) != 0);
}

// Letter case and blanks around the word do not matter.
bool SameWord(std::string text, std::string_view word) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const size_t start = text.find_first_not_of(" \t");
    const size_t end = text.find_last_not_of(" \t");
    return start != std::string::npos && text.substr(start, end + 1 - start) == word;
}

WindowSettings ReadWindowSettings(const IniValues& values) {
    WindowSettings window;
    const int32_t fullScreenDefault = window.FullScreen ? kFullScreenOn : kFullScreenOff;
    window.FullScreen = IniInt(values, kWindowSection, kFullScreenKey, fullScreenDefault) != 0;
    std::string scale;
    if (IniValue(values, kWindowSection, kScaleKey, scale) && SameWord(scale, kScaleFill)) {
        window.Scale = ScaleMode::Fill;
    }
    return window;
}

// Sets the entries in Init.ini in one replacement. A damaged file is not
// merged: it is kept aside and a fresh one written.
SaveResult SaveEntries(RecordsState& files, const std::vector<IniEntry>& entries) {
    std::string text;
    if (!files.settingsDamaged) {
        FileRead read = ReadDataFile(files.settingsPath, kMaxDataFileBytes, FileOpsOf(files));
        if (read.status == ReadStatus::Read) text = std::move(read.bytes);
        files.settingsDamaged = IsUnusable(read);
    }
    return SavePlayerFile(files, files.settingsPath, files.settingsDamaged,
                          IniWithValues(text, entries), "Settings");
}

}  // namespace

void LoadSettings(RecordsState& files, Settings& s, WindowSettings& window) {
    const FileRead read = ReadDataFile(files.settingsPath, kMaxDataFileBytes, FileOpsOf(files));
    files.settingsDamaged = IsUnusable(read);
    if (files.settingsDamaged) {
        ReportUnreadFile(files, read.reason, "Init.ini cannot be read: default settings are used");
    }
    const IniValues values = ParseIni(read.bytes);
    s.AutoView = ReadFlag(values, "AutoView", kOff);
    s.DrawBack = ReadFlag(values, "DrawBack", kOn);
    s.PlayMusic = ReadFlag(values, "PlayMusic", kOn);
    // The stage loop sleeps this long every frame: never negative, never endless.
    s.GameSpeed = std::clamp(IniInt(values, kSection, "GameSpeed", kDefaultGameSpeedMs), 0,
                             kMaxGameSpeedMs);
    window = ReadWindowSettings(values);
}

SaveResult SaveSettings(RecordsState& files, const Settings& s) {
    return SaveEntries(files, {{kSection, "PlayMusic", NumberText(ToFlag(IsOn(s.PlayMusic)))},
                              {kSection, "AutoView", NumberText(ToFlag(IsOn(s.AutoView)))},
                              {kSection, "DrawBack", NumberText(ToFlag(IsOn(s.DrawBack)))},
                              {kSection, "GameSpeed", NumberText(s.GameSpeed)}});
}

SaveResult SaveWindowSettings(RecordsState& files, const WindowSettings& w) {
    const int32_t fullScreen = w.FullScreen ? kFullScreenOn : kFullScreenOff;
    const char* scale = w.Scale == ScaleMode::Fill ? kScaleFill : kScaleWhole;
    return SaveEntries(files, {{kWindowSection, kFullScreenKey, std::to_string(fullScreen)},
                              {kWindowSection, kScaleKey, scale}});
}

}  // namespace tumbleroo
