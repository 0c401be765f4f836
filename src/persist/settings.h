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
// The text after '=' of the key, untrimmed; false when the key is absent.
bool IniReadString(const std::string& path, const std::string& section, const std::string& key,
                   std::string& value);
bool IniWriteString(const std::string& path, const std::string& section, const std::string& key,
                    const std::string& value);

// Where Init.ini is read and written.
std::string SettingsPath(const Game& game);

void LoadSettings(Game& game);
void SaveSettings(Game& game);

}  // namespace tumbleroo
