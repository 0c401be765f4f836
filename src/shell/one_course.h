// One course by name instead of the menus, for both programs (the game's
// --map and the headless driver's), with the exit statuses they share.
#pragma once

#include <cstdint>
#include <string>

namespace tumbleroo {

struct Game;

constexpr int kExitUsage = 2;
constexpr int kExitMap = 3;
constexpr int kExitNoDisplay = 5;

// Prepares the game from `folder`, opens the display and plays the course
// `name` to its end. The stage and course come from the name unless given
// (not 0). Returns 0 when played, kExitNoDisplay or kExitMap (after telling
// which map file, each message behind `messagePrefix`) otherwise.
int PlayOneCourse(Game& game, const std::string& folder, const std::string& name, uint64_t seed,
                  const char* messagePrefix, int16_t stage = 0, int16_t course = 0);

}  // namespace tumbleroo
