// The clear-script solver: a beam search over short chunks of held keys.
//
// Every candidate is a whole copy of the game record, stepped through the
// game's own stage loop, so what the solver finds is what the driver will
// replay. Candidates that miss are dropped; the others are ranked by how far
// along the course's route they are and how close to the next waypoint.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <set>
#include <tuple>

#include "courses.h"
#include "platform/headless_platform.h"
#include "render/display.h"
#include "shell/game.h"
#include "shell/program.h"
#include "shell/stage_flow.h"
#include "shell/stage_loop.h"

namespace tumbleroo::courses {

namespace {

constexpr uint8_t kMaskLeft = 1, kMaskRight = 2, kMaskUp = 4, kMaskDown = 8, kMaskZ = 16;
constexpr uint64_t kSeed = 1;
constexpr int32_t kReachX = 15;  // pixels from a waypoint's centre that count as there
constexpr int32_t kReachY = 20;
constexpr double kWaypointWorth = 1e6;
constexpr double kPitPenalty = 1e5;
constexpr int32_t kLadderSearchCells = 3;
constexpr size_t kHistorySteps = 40;
constexpr size_t kBacktrackSteps = 12;
constexpr int32_t kWidestBeam = 256;
constexpr int32_t kCalmStepsBeforeNarrowing = 40;
// Waiting: a candidate on firm ground that holds nothing may stand there up
// to 3 s for a ride or a crusher to come round. Candidates in the air rank
// further along though they may be doomed, so a few places in every beam are
// kept for candidates on their feet that have not waited longer than that.
constexpr int32_t kLongestWaitFrames = 180;  // 3 s at 60 frames/s
constexpr size_t kFootholdPlaces = 4;
// A stage pass flips once, and 21 more times for every cannon shot in it:
// the landing fall and the ground test can each fire the cannon.
constexpr uint64_t kCannonShotFlips = 21;
constexpr uint64_t kMostFlipsOfAPlayingPass = 2 + 3 * kCannonShotFlips;

struct KeyName {
    uint8_t mask;
    Key key;
    const char* name;
};
constexpr KeyName kKeyNames[] = {{kMaskLeft, Key::Left, "LEFT"},
                                 {kMaskRight, Key::Right, "RIGHT"},
                                 {kMaskUp, Key::Up, "UP"},
                                 {kMaskDown, Key::Down, "DOWN"},
                                 {kMaskZ, Key::Z, "Z"}};

// Keys come from the candidate's own history of held keys, one mask per
// flip, with the key releases queued exactly as the driver's platform does.
// Pictures, text and files are borrowed from a real headless platform.
class SolverPlatform : public NullPlatform {
public:
    HeadlessPlatform* resources = nullptr;
    const std::vector<uint8_t>* keys = nullptr;
    uint64_t flips = 0;
    // The run ends at once after this flip (0: never), even inside a pass.
    uint64_t lastFlip = 0;
    std::vector<WindowEvent> pending;

    void Present(const uint16_t*, const uint16_t*, int, int) override {
        const uint64_t before = flips++;
        for (const KeyName& k : kKeyNames) {
            if (Down(k.mask, before) && !Down(k.mask, flips)) {
                pending.push_back({WindowEvent::Kind::KeyUp, k.key});
            }
        }
    }
    bool IsKeyDown(Key key) override {
        for (const KeyName& k : kKeyNames) {
            if (k.key == key) return Down(k.mask, flips);
        }
        return false;
    }
    std::vector<WindowEvent> TakePendingEvents() override {
        std::vector<WindowEvent> events;
        events.swap(pending);
        return events;
    }
    bool EndRequested() override { return lastFlip != 0 && flips >= lastFlip; }
    uint64_t NowMs() override { return flips * 17; }
    bool DecodeImage(const uint8_t* data, size_t size, RgbImage& out) override {
        return resources->DecodeImage(data, size, out);
    }
    GlyphBitmap RenderText(const std::string& utf8, const FontSpec& font) override {
        return resources->RenderText(utf8, font);
    }

private:
    bool Down(uint8_t mask, uint64_t flip) const {
        return flip < keys->size() && ((*keys)[flip] & mask) != 0;
    }
};

// The frame buffers stay out of the copies: they are lent to a candidate
// only while it is stepped. (Copies share the pictures.)
struct DrawingKit {
    Surface back, front;
};

void Lend(DrawingKit& kit, Game& game) {
    std::swap(kit.back, game.display.BackBuffer);
    std::swap(kit.front, game.display.FrontBuffer);
}

struct Candidate {
    Game game;
    SolverPlatform platform;
    std::vector<uint8_t> keys;
    size_t waypoint = 0;
    double score = 0.0;
    int32_t waitedFrames = 0;  // in a row on firm ground with nothing held
};

std::unique_ptr<Candidate> Clone(const Candidate& c) {
    auto copy = std::make_unique<Candidate>(c);
    copy->game.platform = &copy->platform;
    copy->platform.keys = &copy->keys;
    return copy;
}

struct Search {
    const SolverOptions& options;
    std::vector<Waypoint> route;  // the goal comes last
    DrawingKit kit;
};

// Falling with nothing below but the bottom of the map: such a candidate is
// kept only while nothing better is left (it may still land on a lift).
bool FallingIntoAPit(const Game& game) {
    const PlayerState& p = game.player;
    if (!IsOn(p.Airborne) || p.VerticalSpeed <= 0.0) return false;
    const int32_t top = std::max(0, (p.PlayerY + 32) / 20);
    for (int32_t foot : {p.PlayerX + 1, p.PlayerX + 11}) {
        const int32_t x = (foot + 10) / 20;
        if (x < 0 || x >= game.map.MapWidth) return false;
        for (int32_t y = top; y < game.map.MapHeight; ++y) {
            const uint8_t code = game.map.Cell(x, y);
            if (code != 0 && code != 6) return false;
        }
    }
    return true;
}

void Rank(const Search& search, Candidate& c) {
    const PlayerState& p = c.game.player;
    const double pitPenalty = FallingIntoAPit(c.game) ? kPitPenalty : 0.0;
    const double x = p.PlayerX + 10.0, y = p.PlayerY + 20.0;
    for (;;) {
        if (c.waypoint >= search.route.size()) {
            c.score = kWaypointWorth * static_cast<double>(c.waypoint);
            return;
        }
        const Waypoint& w = search.route[c.waypoint];
        const double dx = x - (20.0 * w.column + 10.0), dy = y - (20.0 * w.row + 10.0);
        const bool last = c.waypoint + 1 == search.route.size();
        if (!last && std::abs(dx) <= kReachX && std::abs(dy) <= kReachY) {
            ++c.waypoint;
            continue;
        }
        c.score = kWaypointWorth * static_cast<double>(c.waypoint) - std::hypot(dx, dy) - pitPenalty;
        return;
    }
}

enum class Outcome { Running, Cleared, Failed };

// One stage pass of a candidate that holds the drawing kit; false once it
// has missed or the pass did not run.
bool StepLent(Candidate& c, bool& cleared) {
    const uint64_t missesBefore = c.game.run.misses;
    // A pass that flips more often than a cannon shot does is showing a
    // miss or the tally: the outcome is known, so the animation is cut short.
    c.platform.lastFlip = c.platform.flips + kMostFlipsOfAPlayingPass;
    bool running = false;
    try {
        running = StepStageFrame(c.game);
    } catch (const ProgramEnded&) {
    }
    cleared = c.game.run.cleared;
    return cleared || (running && c.game.run.misses == missesBefore);
}

Outcome Advance(Search& search, Candidate& c, uint8_t mask) {
    Lend(search.kit, c.game);
    Outcome outcome = Outcome::Running;
    for (int32_t i = 0; i < search.options.chunkFrames; ++i) {
        c.keys.resize(c.platform.flips + 1, 0);
        c.keys.push_back(mask);
        bool cleared = false;
        const bool alive = StepLent(c, cleared);
        if (cleared) {
            outcome = Outcome::Cleared;
            break;
        }
        if (!alive) {
            outcome = Outcome::Failed;
            break;
        }
        Rank(search, c);
    }
    Lend(search.kit, c.game);
    const bool waiting = mask == 0 && !IsOn(c.game.player.Airborne);
    c.waitedFrames = waiting ? c.waitedFrames + search.options.chunkFrames : 0;
    return outcome;
}

bool NearLadder(const Game& game) {
    const int32_t cx = (game.player.PlayerX + 10) / 20, cy = (game.player.PlayerY + 20) / 20;
    for (int32_t x = cx - kLadderSearchCells; x <= cx + kLadderSearchCells; ++x) {
        for (int32_t y = cy - kLadderSearchCells; y <= cy + kLadderSearchCells; ++y) {
            if (x >= 0 && y >= 0 && x < game.map.MapWidth && y < game.map.MapHeight &&
                game.map.Cell(x, y) == 17) {
                return true;
            }
        }
    }
    return false;
}

std::string ScriptFromKeys(const std::vector<uint8_t>& keys) {
    std::string script;
    size_t from = 0;
    while (from < keys.size()) {
        size_t to = from;
        while (to + 1 < keys.size() && keys[to + 1] == keys[from]) ++to;
        if (keys[from] != 0) {
            std::string names;
            for (const KeyName& k : kKeyNames) {
                if (keys[from] & k.mask) names += (names.empty() ? "" : "+") + std::string(k.name);
            }
            script += std::to_string(from) + (to > from ? "-" + std::to_string(to) : "") + " " +
                      names + "\n";
        }
        from = to + 1;
    }
    return script;
}

Waypoint GoalCell(const MapData& map) {
    for (int32_t x = 0; x < map.header.MapWidth; ++x) {
        for (int32_t y = 0; y < map.header.MapHeight; ++y) {
            if (map.At(x, y) == 7) return {x, y};
        }
    }
    return {map.header.MapWidth - 1, 0};
}

bool OnItsFeet(const Candidate& c) {
    return !IsOn(c.game.player.Airborne) && c.waitedFrames <= kLongestWaitFrames;
}

// The best `width` distinct candidates, and after them the best few on their
// feet that did not make the cut, so that waiting stays a choice.
std::vector<std::unique_ptr<Candidate>> KeepBest(std::vector<std::unique_ptr<Candidate>>& next,
                                                 int32_t width) {
    std::vector<std::unique_ptr<Candidate>> kept;
    std::set<std::tuple<int32_t, int32_t, int32_t, int16_t, size_t, int16_t>> seen;
    size_t footholds = 0;
    for (auto& c : next) {
        const PlayerState& p = c->game.player;
        const bool full = static_cast<int32_t>(kept.size()) >= width;
        if (full && (footholds >= kFootholdPlaces || !OnItsFeet(*c))) continue;
        const auto key = std::make_tuple(p.PlayerX, p.PlayerY,
                                         static_cast<int32_t>(std::lround(p.VerticalSpeed)),
                                         p.Airborne, c->waypoint, p.PushTimer);
        if (!seen.insert(key).second) continue;
        if (full) ++footholds;
        kept.push_back(std::move(c));
    }
    return kept;
}

}  // namespace

void StartCourse(Game& game, const CourseFolder& folder) {
    PrepareGame(game, folder.path, kSeed);
    OpenDisplayAndPictures(game);
    game.run.SelectedStage = 1;
    game.run.SelectedCourse = 1;
    if (folder.name.size() == 4 && folder.name[0] == 'C' && folder.name[2] == '-') {
        game.run.SelectedStage = static_cast<int16_t>(folder.name[1] - '0');
        game.run.SelectedCourse = static_cast<int16_t>(folder.name[3] - '0');
    }
    game.run.MapName = folder.name;
    ReadMapFile(game, MapFilePath(game, folder.name));
}

namespace {

// Key masks, one per flip, of a key script.
std::vector<uint8_t> MasksOf(const std::vector<KeyRange>& script) {
    std::vector<uint8_t> masks;
    for (const KeyRange& r : script) {
        if (masks.size() <= r.to) masks.resize(r.to + 1, 0);
        for (Key key : r.keys) {
            for (const KeyName& k : kKeyNames) {
                if (k.key != key) continue;
                for (uint64_t f = r.from; f <= r.to; ++f) masks[f] |= k.mask;
            }
        }
    }
    return masks;
}

bool HoldsZ(const std::vector<uint8_t>& keys, int64_t flip) {
    return flip >= 0 && flip < static_cast<int64_t>(keys.size()) && (keys[static_cast<size_t>(flip)] & kMaskZ) != 0;
}

// Steps one candidate a stage pass; false once it has missed or stopped.
bool StepOnce(DrawingKit& kit, Candidate& c, bool& cleared) {
    Lend(kit, c.game);
    const bool alive = StepLent(c, cleared);
    Lend(kit, c.game);
    return alive;
}

// Whether the candidate, with the jump held over [start, end] moved whole
// by `shift` flips, gets through the next `horizon` flips without a miss.
bool SurvivesShift(DrawingKit& kit, const Candidate& snapshot, uint64_t start, uint64_t end,
                   int32_t shift, uint64_t horizon) {
    auto c = Clone(snapshot);
    std::vector<uint8_t>& keys = c->keys;
    // The caller keeps the moved press at or after the copy's flip, so it never starts below 0.
    const uint64_t movedStart = static_cast<uint64_t>(static_cast<int64_t>(start) + shift);
    const uint64_t movedEnd = static_cast<uint64_t>(static_cast<int64_t>(end) + shift);
    if (keys.size() <= std::max(end, movedEnd)) keys.resize(std::max(end, movedEnd) + 1, 0);
    for (uint64_t f = start; f <= end; ++f) keys[f] &= static_cast<uint8_t>(~kMaskZ);
    for (uint64_t f = movedStart; f <= movedEnd; ++f) keys[f] |= kMaskZ;
    const uint64_t until = start + horizon;
    bool cleared = false;
    while (c->platform.flips < until) {
        if (!StepOnce(kit, *c, cleared)) return false;
        if (cleared) return true;
    }
    return true;
}

}  // namespace

std::vector<JumpWindow> JumpWindows(const CourseFolder& folder, const std::vector<KeyRange>& script,
                                    int32_t widest, uint64_t horizon) {
    DrawingKit kit;
    HeadlessPlatform resources;
    auto owned = std::make_unique<Candidate>();
    Candidate& main = *owned;
    main.platform.resources = &resources;
    main.keys = MasksOf(script);
    main.platform.keys = &main.keys;
    main.game.platform = &main.platform;
    StartCourse(main.game, folder);
    SetUpStage(main.game);
    ZoomTransition(main.game, 1.0, 1.2);
    Lend(kit, main.game);

    std::vector<JumpWindow> windows;
    const std::vector<uint8_t> keys = main.keys;
    bool cleared = false;
    for (uint64_t start = 0; start < keys.size() && !cleared; ++start) {
        if (!HoldsZ(keys, static_cast<int64_t>(start)) || HoldsZ(keys, static_cast<int64_t>(start) - 1)) {
            continue;
        }
        const uint64_t earliest = start >= static_cast<uint64_t>(widest) ? start - static_cast<uint64_t>(widest) : 0;
        while (main.platform.flips < earliest && !cleared) {
            if (!StepOnce(kit, main, cleared)) return windows;  // the script itself misses
        }
        if (cleared) break;
        uint64_t end = start;
        while (HoldsZ(keys, static_cast<int64_t>(end) + 1)) ++end;
        JumpWindow window{start, 1};
        for (int32_t direction : {-1, 1}) {
            for (int32_t step = 1; step <= widest; ++step) {
                const int32_t shift = direction * step;
                // Moved whole, the press must not run into its neighbours, nor
                // start before the flip the copy was taken at.
                const int64_t first = static_cast<int64_t>(start) + shift;
                const int64_t last = static_cast<int64_t>(end) + shift;
                const bool blocked = first < static_cast<int64_t>(main.platform.flips) ||
                                     (shift < 0 ? HoldsZ(keys, first - 1) : HoldsZ(keys, last + 1));
                if (blocked || !SurvivesShift(kit, main, start, end, shift, horizon)) break;
                ++window.frames;
            }
        }
        windows.push_back(window);
    }
    return windows;
}

Solution SolveCourse(const CourseFolder& folder, const SolverOptions& options) {
    Search search{options, options.route, {}};
    search.route.push_back(GoalCell(folder.map));

    HeadlessPlatform resources;
    auto root = std::make_unique<Candidate>();
    root->platform.resources = &resources;
    root->platform.keys = &root->keys;
    root->game.platform = &root->platform;
    StartCourse(root->game, folder);
    SetUpStage(root->game);
    ZoomTransition(root->game, 1.0, 1.2);
    Lend(search.kit, root->game);
    Rank(search, *root);

    // Earlier beams are kept so that a search whose every candidate has
    // missed can go back a little and try again with a wider beam.
    using Beam = std::vector<std::unique_ptr<Candidate>>;
    std::vector<Beam> history(1);
    history.back().push_back(std::move(root));
    const std::vector<uint8_t> moves = {kMaskRight, kMaskRight | kMaskZ, kMaskLeft,
                                        kMaskLeft | kMaskZ, kMaskZ, 0};
    Solution solution;
    int32_t width = options.beamWidth;
    int32_t calmSteps = 0;
    while (!history.empty() && !history.back().empty()) {
        const Beam& beam = history.back();
        if (static_cast<int32_t>(beam.front()->platform.flips) >= options.maxFrames) break;
        Beam next;
        for (const auto& parent : beam) {
            std::vector<uint8_t> tries = moves;
            if (NearLadder(parent->game)) {
                tries.insert(tries.end(), {kMaskUp, kMaskDown, kMaskUp | kMaskRight,
                                           kMaskUp | kMaskLeft});
            }
            for (uint8_t mask : tries) {
                auto child = Clone(*parent);
                const Outcome outcome = Advance(search, *child, mask);
                if (outcome == Outcome::Cleared) {
                    solution.cleared = true;
                    solution.stageFrames = child->platform.flips;
                    solution.keyScript = ScriptFromKeys(child->keys);
                    return solution;
                }
                if (outcome == Outcome::Running) next.push_back(std::move(child));
            }
        }
        std::stable_sort(next.begin(), next.end(),
                         [](const auto& a, const auto& b) { return a->score > b->score; });
        Beam kept = KeepBest(next, width);
        if (kept.empty()) {
            if (width >= kWidestBeam) break;
            width *= 2;
            calmSteps = 0;
            const size_t back = std::min<size_t>(kBacktrackSteps, history.size() - 1);
            history.resize(history.size() - back);
            if (options.verbose) std::fprintf(stderr, "dead end: back %zu steps, beam %d\n", back, width);
            continue;
        }
        if (++calmSteps > kCalmStepsBeforeNarrowing && width > options.beamWidth) {
            width /= 2;
            calmSteps = 0;
        }
        if (options.verbose) {
            const PlayerState& p = kept.front()->game.player;
            std::fprintf(stderr, "frame %llu: waypoint %zu/%zu at (%d, %d) score %.0f\n",
                         static_cast<unsigned long long>(kept.front()->platform.flips),
                         kept.front()->waypoint, search.route.size(), p.PlayerX, p.PlayerY,
                         kept.front()->score);
        }
        history.push_back(std::move(kept));
        if (history.size() > kHistorySteps) history.erase(history.begin());
    }
    return solution;
}

}  // namespace tumbleroo::courses
