// Course tools: a scratch game folder for one course, the clear-script
// solver and the whole-map overview picture.
#pragma once

#include <cstdint>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/headless_platform.h"
#include "shell/map_file.h"

namespace tumbleroo {
struct Game;
}

namespace tumbleroo::courses {

// A throw-away game folder holding one compiled course in MapFiles/.
struct CourseFolder {
    std::string path;  // ends in '/'
    std::string name;  // the course name, e.g. C1-2
    MapData map;
};

// Compiles the course text into a fresh folder under the system's temp
// folder; false with a message when the text does not parse.
bool MakeCourseFolder(const std::string& sourcePath, CourseFolder& out, std::string& error);
// The same from course text already read, under the given course name.
bool MakeCourseFolderFromText(const std::string& name, const std::string& text, CourseFolder& out,
                              std::string& error);
void RemoveCourseFolder(const CourseFolder& folder);

// Where the solver should lead the player, in order; the goal comes last.
struct Waypoint {
    int32_t column = 0;
    int32_t row = 0;
};

struct SolverOptions {
    std::vector<Waypoint> route;
    int32_t chunkFrames = 4;
    int32_t beamWidth = 16;
    int32_t maxFrames = 20000;
    bool verbose = false;
};

// Calls read(words, first word) for every line that is neither blank nor a
// '#' comment; false with "path:line: cannot read" when a line is refused.
using RuleReader = std::function<bool(std::istringstream& words, const std::string& first)>;
bool ReadRuleLines(const std::string& path, const RuleReader& read, std::string& error);

// Reads "chunk N", "beam N", "frames N" and "at COLUMN ROW" lines.
bool ReadRoute(const std::string& path, SolverOptions& options, std::string& error);

struct Solution {
    bool cleared = false;
    uint64_t stageFrames = 0;
    std::string keyScript;  // "FROM-TO KEY+KEY" lines
};

Solution SolveCourse(const CourseFolder& folder, const SolverOptions& options);

// How many flips one jump of a clear script may start in (1 + the shifts
// either side, out to +-widest, every other key kept) with the player
// getting through the next `horizon` flips without a miss.
struct JumpWindow {
    uint64_t start = 0;  // the flip the jump starts on in the script
    int32_t frames = 1;
};
std::vector<JumpWindow> JumpWindows(const CourseFolder& folder, const std::vector<KeyRange>& script,
                                    int32_t widest, uint64_t horizon);

// Loads the course into a prepared game, as the driver does for --map.
void StartCourse(Game& game, const CourseFolder& folder);

// Plays a key script through the stage loop as the driver does; returns
// whether the course was cleared without a miss.
bool CheckKeyScript(const CourseFolder& folder, const std::string& script, uint64_t& stageFrames,
                    uint64_t& misses);

// Draws the whole course with the game's own cell pictures, shrunk by
// scale, into a PNG file.
bool DrawOverview(const CourseFolder& folder, int32_t scale, const std::string& pngPath,
                  std::string& error);

}  // namespace tumbleroo::courses
