// The program from start to end: start-up, the main menu loop that chains
// the screens, and the window's key-release and unload events.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace tumbleroo {

struct Game;

// Start-up steps that need no screen: folder, records, settings, generator.
void PrepareGame(Game& game, const std::string& basePath, uint64_t seed);
// Opens the display and makes the pictures; false (after the message) when
// there is no display.
bool OpenDisplayAndPictures(Game& game);
// The whole program; returns when it has ended, false when it could not
// start because no display could be opened.
bool Form_Load(Game& game, const std::string& basePath, uint64_t seed);
void MainMenuLoop(Game& game);
// The stage and course a map name stands for: C3-2 gives 3 and 2, any other
// name (the demonstration course) 1 and 1.
void StageAndCourseFromName(const std::string& name, int16_t& stage, int16_t& course);
// Plays one course by its map name instead of the menus, with sound when it
// is on, and ends the program after it. Run after PrepareGame and
// OpenDisplayAndPictures; false (nothing played) when the map file is
// missing or rejected.
bool PlayNamedCourse(Game& game, const std::string& name);
void Form_KeyUp(Game& game, Key key);
// Tears everything down: cursor, display, map, sound. Safe to repeat.
void ShutDown(Game& game);
// Tears everything down and ends the program by throwing ProgramEnded.
[[noreturn]] void Form_Unload(Game& game);
// Lets pending window events run (key releases, a window close).
void ProcessPendingEvents(Game& game);
bool KeyDown(Game& game, Key key);

}  // namespace tumbleroo
