// The settings file Init.ini and its INI reader and writer.
#pragma once

#include <cstdint>
#include <string>

namespace tumbleroo {

struct Game;

// The pause in milliseconds used when Init.ini has no usable GameSpeed.
inline constexpr int32_t kDefaultGameSpeedMs = 0;
// The longest pause per frame: a larger GameSpeed would freeze the game.
inline constexpr int32_t kMaxGameSpeedMs = 1000;

// Private-profile style access: names compared without regard to case.
int32_t IniReadInt(const std::string& path, const std::string& section, const std::string& key,
                   int32_t defaultValue);
bool IniWriteString(const std::string& path, const std::string& section, const std::string& key,
                    const std::string& value);

void LoadSettings(Game& game);
void SaveSettings(Game& game);

}  // namespace tumbleroo
