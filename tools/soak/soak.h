// Soak runs: random key presses through the courses and through the whole
// program on the headless platform, with the game's state checked after
// every stage frame and at every miss.
#pragma once

#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "platform/headless_platform.h"

namespace tumbleroo {
struct Game;
}

namespace tumbleroo::soak {

// What a soak run found. Only the first faults are kept word for word.
struct Findings {
    uint64_t stageFrames = 0;
    uint64_t flips = 0;
    uint64_t misses = 0;
    uint64_t clears = 0;
    uint64_t faultCount = 0;
    std::vector<std::string> faults;
    void Fault(const std::string& what);
    void Add(const Findings& other);
};

// The faults of one stage frame's state (empty when all is well): the
// player and the camera inside the map, the movers' offsets inside their
// runs, flags that are exactly on or off, a trace line without NaN.
std::vector<std::string> CheckStageFrame(const Game& game);

// The fault when a miss since missesSeen left the player anywhere but at
// the start (empty when none); call at every flip, the first flip after a
// miss shows the thrown-off player back at the start.
std::string CheckMissReturnedToStart(const Game& game, uint64_t& missesSeen);

// A headless platform whose held keys are set by its owner instead of a
// key script, with a hook run at every presented frame.
class SteeredPlatform : public HeadlessPlatform {
public:
    std::vector<Key> held;
    std::function<void()> onPresent;
    bool IsKeyDown(Key key) override;
    void Present(const uint16_t* pixels, const uint16_t* shown, int width, int height) override;
};

// Random key holds, biased to running and jumping, with rare Enter and
// rarer Escape; a hold lasts a few frames as a player's would.
class KeyChooser {
public:
    explicit KeyChooser(uint64_t seed) : random_(seed) {}
    // The keys for the next presented frame.
    const std::vector<Key>& Next();

private:
    void ChooseHold();
    std::mt19937_64 random_;
    std::vector<Key> keys_;
    int framesLeft_ = 0;
};

// Watches one game: picks its keys at every flip, checks every stage frame,
// and checks that every miss puts the player back at the start.
class Watcher {
public:
    Watcher(Game& game, SteeredPlatform& platform, uint64_t seed, Findings& findings);

private:
    void OnPresent();
    void AfterStagePass();
    Game& game_;
    SteeredPlatform& platform_;
    KeyChooser keys_;
    Findings& findings_;
    uint64_t missesSeen_ = 0;
};

// A throw-away game folder with the built courses (MapFiles/*.map of
// builtDir), fresh records and sound off; removed by the destructor.
struct GameFolder {
    explicit GameFolder(const std::string& builtDir);
    ~GameFolder();
    GameFolder(const GameFolder&) = delete;
    GameFolder& operator=(const GameFolder&) = delete;
    std::string path;
    std::vector<std::string> courses;  // map names, sorted
    // Writes MapInfo.dat with every course cleared or none.
    void WriteRecords(bool allCleared) const;
};

// Plays the folder's courses in turn, each attempt a fresh game ending at
// Escape, a clear or attemptFlips flips, until stageFrames stage frames ran.
Findings SoakCourses(const GameFolder& folder, uint64_t seed, uint64_t stageFrames,
                     uint64_t attemptFlips);

// Runs the whole program (opening, title, menus, courses, back) again and
// again until flips flips were shown; every other run starts with every
// course cleared so that all stages can be chosen.
Findings SoakProgram(const GameFolder& folder, uint64_t seed, uint64_t flips, uint64_t runFlips);

}  // namespace tumbleroo::soak
