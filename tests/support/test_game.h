// Test support: a game on the headless platform with a small map given as
// course text, runnable through the same stage loop the driver uses.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/headless_platform.h"
#include "shell/game.h"
#include "shell/map_file.h"

namespace tumbleroo::testing {

struct TestGame {
    HeadlessPlatform platform;
    Game game;
    std::string dir;  // a fresh game folder (MapFiles/, MapInfo.dat, Init.ini)

    // Makes a fresh temporary game folder, opens the headless display and
    // creates the pictures. Sound is off unless a test turns it on.
    TestGame();
    ~TestGame();

    // Writes the course text as MapFiles/<name>.map in the game folder and
    // loads it as the current map (MapName = name).
    void UseMap(const std::string& courseText, const std::string& name = "T1-1");

    // Key script in the driver's syntax ("0-10 RIGHT+Z" lines).
    void Keys(const std::string& script);
    // The same, with frame numbers counted from the flips made so far.
    void KeysFromNow(const std::string& script);

    // Runs PlayStage until it returns or the frame limit (in flips) is hit.
    // Returns true when the stage ended by itself.
    bool PlayStage(uint64_t maxFlips);

    // Prepares the stage as PlayStage does (markers, objects, camera) without
    // the opening mosaic or any frame, for tests that step routines directly.
    void PrepareStage();

    // UseMap of the rows as a course, then PrepareStage: the start of most
    // tests that step objects or moves directly.
    Game& Stage(const std::string& rows, const std::string& headerLines = "");

    // This game's own copy of the pictures, for a test that paints into them.
    Pictures& OwnPictures();
};

// Flips of the opening mosaic before a stage's first frame.
constexpr int kOpeningFlips = 25;

// Key script line holding keys during stage frames first..last (1-based):
// every frame reads the keys right after its own flip.
std::string During(int first, int last, const std::string& keys);

// Builds course text from rows of cells (one character per cell) with
// optional extra header lines such as "SideLiftSpeed: 2".
std::string Course(const std::string& rows, const std::string& headerLines = "");

}  // namespace tumbleroo::testing
