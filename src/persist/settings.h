// The settings file Init.ini: the four settings of section BasicInformation
// and the window's mode in section Window.
#pragma once

#include <cstdint>
#include <string>

#include "persist/data_file.h"

namespace tumbleroo {

struct RecordsState;
struct Settings;
struct WindowSettings;

// The pause in milliseconds used when Init.ini has no usable GameSpeed.
inline constexpr int32_t kDefaultGameSpeedMs = 0;
// The longest pause per frame: a larger GameSpeed would freeze the game.
inline constexpr int32_t kMaxGameSpeedMs = 1000;


// Reads Init.ini once into Settings and WindowSettings; a file that cannot
// be read, or is too big to be settings, gives the defaults, is reported,
// and is kept aside at the next save.
void LoadSettings(RecordsState& files, Settings& settings, WindowSettings& window);
// Writes the four settings in one replacement of Init.ini, every other line
// kept. A failure is reported (standard error and records.notice) and the
// settings stay in memory.
SaveResult SaveSettings(RecordsState& files, const Settings& settings);
// The same for the window's mode (section Window) alone.
SaveResult SaveWindowSettings(RecordsState& files, const WindowSettings& window);

}  // namespace tumbleroo
