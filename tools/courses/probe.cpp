// Reads probe files and replays key scripts while counting what the course's
// idea demands: trace fields, stomps, launches and swim strokes.
#include "probe.h"

#include <fstream>
#include <iterator>
#include <sstream>

#include "core/terrain.h"
#include "platform/table_index.h"
#include "player/cell_effects.h"
#include "shell/game.h"
#include "shell/program.h"
#include "shell/stage_loop.h"
#include "shell/trace.h"

namespace tumbleroo::courses {

namespace {

constexpr uint64_t kReplayFrameLimit = 60000;
constexpr uint64_t kFirstCourseFewest = 1200, kFirstCourseMost = 2400;
constexpr uint64_t kCourseFewest = 2400, kCourseMost = 4800;

// Where the feet are probed, as the player's movement does (pixels).
constexpr int32_t kCellPx = 20;
constexpr int32_t kFootDyPx = 32;
constexpr int32_t kFootDxPx = 6;

bool ReadRule(std::istringstream& words, const std::string& word, Probe& out) {
    if (word == "redesigned") {
        out.redesigned = true;
        return true;
    }
    if (word == "uses") {
        UseRule rule;
        return static_cast<bool>(words >> rule.field >> rule.atLeast) &&
               (out.uses.push_back(rule), true);
    }
    if (word == "bypass") {
        std::string from, to;
        if (!(words >> from >> to) || from.size() != 1 || to.size() != 1) return false;
        out.bypass.push_back({from[0], to[0]});
        return true;
    }
    return false;
}

// The value of a top-level member of a trace line; 0 when it is absent.
double TraceValue(const std::string& line, const std::string& field) {
    const std::string key = "\"" + field + "\":";
    const size_t at = line.find(key);
    return at == std::string::npos ? 0.0 : std::strtod(line.c_str() + at + key.size(), nullptr);
}

// Everything an enemy loses to a stomp: a penguin its life, a monkey or a
// bouncing star a count of hits, an orbiter a hit point.
int64_t StompMarks(const ObjectState& o) {
    int64_t marks = 0;
    for (const auto* penguins : {&o.BluePenguins, &o.RedPenguins}) {
        for (const Actor& a : *penguins) marks += IsOn(a.Alive) ? 0 : 1;
    }
    for (const auto* counted : {&o.Monkeys, &o.BouncingStars}) {
        for (const Actor& a : *counted) marks += a.Counter;
    }
    for (int32_t hitPoints : o.OrbiterHitPoints) marks -= hitPoints;
    return marks;
}

bool IsLaunchSpeed(double speed) {
    return speed == kSpringSpeed || speed == kBounceBlockSpeed || speed == kCannonShotSpeed;
}

// Cells one can land on, as the feet see them.
bool Standable(uint8_t code) {
    switch (static_cast<Terrain>(code)) {
        case Terrain::Ground: case Terrain::ConveyorRight: case Terrain::ConveyorLeft:
        case Terrain::HiddenSolid: case Terrain::Spring: case Terrain::HiddenSolidToo:
        case Terrain::BounceBlock: case Terrain::OneWay: case Terrain::Cannon:
        case Terrain::SlidingFloor:
            return true;
        default:
            return false;
    }
}

// The width in cells of the ledge under the player's feet (0: none, as on a lift).
int32_t LedgeWidth(const Game& game) {
    const MapState& map = game.map;
    const int32_t x = (game.player.PlayerX + kFootDxPx + kCellPx / 2) / kCellPx;
    const int32_t y = (game.player.PlayerY + kFootDyPx + kCellPx / 2) / kCellPx;
    auto standable = [&](int32_t cx) {
        return cx >= 0 && cx < map.MapWidth && y >= 0 && y < map.MapHeight &&
               Standable(map.Cell(cx, y)) && (y == 0 || !Standable(map.Cell(cx, y - 1)));
    };
    if (!standable(x)) return 0;
    int32_t left = x, right = x;
    while (standable(left - 1)) --left;
    while (standable(right + 1)) ++right;
    return right - left + 1;
}

// Follows one replay pass by pass.
struct Watcher {
    Game& game;
    const std::vector<std::string>& fields;
    Tally& tally;
    int64_t stompMarks = 0;
    size_t enemies = 0;
    double lastSpeed = 0.0;
    bool wasAirborne = false;
    bool zWasDown = false;

    size_t EnemyCount() const {
        const ObjectState& o = game.objects;
        return o.BluePenguins.size() + o.RedPenguins.size() + o.Monkeys.size() +
               o.BouncingStars.size() + o.OrbiterHitPoints.size();
    }

    void Pass() {
        const PlayerState& p = game.player;
        if (!fields.empty()) {
            const std::string line = TraceLine(game);
            for (const std::string& f : fields) tally.fieldPasses[f] += TraceValue(line, f) != 0.0;
        }
        const int64_t marks = StompMarks(game.objects);
        if (EnemyCount() == enemies && marks > stompMarks) tally.stomps += AsIndex(marks - stompMarks);
        stompMarks = marks;
        enemies = EnemyCount();
        // A launch speeds the player upwards; a jump slowing down passes the same values.
        if (IsLaunchSpeed(p.VerticalSpeed) && p.VerticalSpeed < lastSpeed) ++tally.launches;
        lastSpeed = p.VerticalSpeed;
        const bool zDown = game.platform->IsKeyDown(Key::Z);
        if (zDown && !zWasDown && IsOn(p.InWater)) ++tally.swimStrokes;
        zWasDown = zDown;
        const bool airborne = IsOn(p.Airborne);
        if (wasAirborne && !airborne && !IsOn(p.InWater)) {
            const int32_t width = LedgeWidth(game);
            if (width > 0 && (tally.narrowestLanding == 0 || width < tally.narrowestLanding)) {
                tally.narrowestLanding = width;
            }
        }
        wasAirborne = airborne;
    }
};

}  // namespace

bool ReadProbe(const std::string& path, Probe& out, std::string& error) {
    return ReadRuleLines(path, [&out](std::istringstream& words, const std::string& word) {
        return ReadRule(words, word, out);
    }, error);
}

LengthTarget LengthTargetFor(const std::string& courseName) {
    if (courseName == "C1-1") return {kFirstCourseFewest, kFirstCourseMost};
    return {kCourseFewest, kCourseMost};
}

Tally ReplayAndTally(const CourseFolder& folder, const std::vector<KeyRange>& script,
                     const std::vector<std::string>& fields) {
    HeadlessPlatform platform;
    platform.keepLastFrame = false;
    platform.keyScript = script;
    Game game;
    game.platform = &platform;
    platform.frameLimit = kReplayFrameLimit;
    Tally tally;
    Watcher watcher{game, fields, tally};
    game.run.hooks.afterStagePass = [&watcher]() { watcher.Pass(); };
    try {
        StartCourse(game, folder);
        watcher.stompMarks = StompMarks(game.objects);
        watcher.enemies = watcher.EnemyCount();
        PlayStage(game);
    } catch (const ProgramEnded&) {
    }
    tally.stageFrames = game.run.stagePasses;
    tally.misses = game.run.misses;
    tally.cleared = game.run.cleared;
    tally.coins = game.run.cleared ? game.run.clearCoins : game.player.CoinsCollected;
    return tally;
}

bool CheckKeyScript(const CourseFolder& folder, const std::string& script, uint64_t& stageFrames,
                    uint64_t& misses) {
    std::vector<KeyRange> keys;
    std::string error;
    if (!ParseKeyScript(script, keys, error)) return false;
    const Tally tally = ReplayAndTally(folder, keys);
    stageFrames = tally.stageFrames;
    misses = tally.misses;
    return tally.cleared && misses == 0;
}

uint64_t CountFor(const Tally& tally, const std::string& field) {
    if (field == "stomps") return tally.stomps;
    if (field == "launches") return tally.launches;
    if (field == "swimstrokes") return tally.swimStrokes;
    const auto it = tally.fieldPasses.find(field);
    return it == tally.fieldPasses.end() ? 0 : it->second;
}

std::string BypassCopy(const std::string& courseText, const std::vector<BypassRule>& rules) {
    std::istringstream in(courseText);
    std::string out, line;
    bool inCells = false;
    while (std::getline(in, line)) {
        if (inCells) {
            for (char& c : line) {
                for (const BypassRule& r : rules) {
                    if (c == r.from) {
                        c = r.to;
                        break;
                    }
                }
            }
        }
        inCells = inCells || line.rfind("Cells:", 0) == 0;
        out += line + "\n";
    }
    return out;
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace tumbleroo::courses
