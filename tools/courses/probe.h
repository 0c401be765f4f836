// What a course's idea demands of its clear script, written in
// tests/courses/<C>.probe, and the replay that measures it.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "courses.h"
#include "platform/headless_platform.h"

namespace tumbleroo::courses {

// "uses FIELD N": at least N passes of the clear script show FIELD.
struct UseRule {
    std::string field;  // a trace field, or stomps, launches, swimstrokes
    uint64_t atLeast = 0;
};

// "bypass FROM TO": every cell written FROM becomes TO in the copy.
struct BypassRule {
    char from = '.';
    char to = '.';
};

struct Probe {
    bool redesigned = false;  // a course of the new edition: its length is checked
    std::vector<UseRule> uses;
    std::vector<BypassRule> bypass;
};

bool ReadProbe(const std::string& path, Probe& out, std::string& error);

// Clear-script lengths of the new edition, in stage frames.
struct LengthTarget {
    uint64_t fewest = 0;
    uint64_t most = 0;
};
LengthTarget LengthTargetFor(const std::string& courseName);

// What one replay of a key script did.
struct Tally {
    bool cleared = false;
    uint64_t stageFrames = 0;
    uint64_t misses = 0;
    int32_t coins = 0;
    uint64_t stomps = 0;
    uint64_t launches = 0;
    uint64_t swimStrokes = 0;
    std::map<std::string, uint64_t> fieldPasses;  // passes where the trace field was non-zero
    int32_t narrowestLanding = 0;                 // cells; 0 when no landing on terrain was seen
};

// Replays the script as CheckKeyScript does, counting the fields named.
Tally ReplayAndTally(const CourseFolder& folder, const std::vector<KeyRange>& script,
                     const std::vector<std::string>& fields = {});

// How many passes (or stomps, launches, strokes) the tally shows for a rule.
uint64_t CountFor(const Tally& tally, const std::string& field);

// The course text with every bypass rule applied to its cells.
std::string BypassCopy(const std::string& courseText, const std::vector<BypassRule>& rules);

// The whole text of a file; empty when it cannot be read.
std::string ReadText(const std::string& path);

}  // namespace tumbleroo::courses

namespace tumbleroo::courses {

// One press of one key: held from flip `from` to flip `to` inclusive.
struct Press {
    Key key = Key::Z;
    uint64_t from = 0;
    uint64_t to = 0;
};

// The script as single presses, key by key, and back.
std::vector<Press> PressesOf(const std::vector<KeyRange>& script);
std::vector<KeyRange> ScriptOf(const std::vector<Press>& presses);

// Replays the script `runs` times, each key press and release moved by a
// random whole number of frames within +-jitter; how many still clear
// without a miss.
int32_t ForgivingRuns(const CourseFolder& folder, const std::vector<KeyRange>& script, int32_t runs,
                      int32_t jitter, uint64_t seed);

// What the ramp table tells of one course.
struct RampFigures {
    int32_t width = 0;
    double deadlyPer100Columns = 0.0;  // hazard groups and pits
    int32_t narrowestLanding = 0;      // cells, from the clear script's landings
    int32_t jumps = 0;                 // jumps of the clear script whose windows were searched
    int32_t tightestWindow = 0;        // frames a single jump may start in, the player unharmed
    uint64_t tightestAtFrame = 0;      // where that jump starts
    int32_t medianWindow = 0;
    int32_t tightJumps = 0;            // jumps whose window is 3 frames or fewer
};

// Deadly obstacles: groups of touching hazard cells, and runs of columns
// open to the bottom of the map.
int32_t DeadlyObstacles(const MapData& map);

// The measures of one course and its clear script; jump windows are
// searched out to +-widest frames, each shift judged over `horizon` flips.
RampFigures MeasureRamp(const CourseFolder& folder, const std::vector<KeyRange>& script,
                        int32_t widest, uint64_t horizon);

}  // namespace tumbleroo::courses
