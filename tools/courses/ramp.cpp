// The ramp's measures of a course: how many deadly obstacles per 100
// columns, the narrowest ledge the clear script lands on, and the tightest
// timing window of its jumps.
#include <algorithm>
#include <vector>

#include "platform/table_index.h"
#include "probe.h"

namespace tumbleroo::courses {

namespace {

constexpr double kColumnsPerMeasure = 100.0;

bool Deadly(uint8_t code) {
    switch (code) {
        case 8: case 9: case 10: case 11: case 18: case 19: case 20: case 21: case 22: case 26:
            return true;
        default:
            return false;
    }
}

// A column whose bottom cell lets the player fall out of the map.
bool OpenToTheBottom(const MapData& map, int32_t x) {
    const uint8_t bottom = map.At(x, map.header.MapHeight - 1);
    return bottom == 0 || bottom == 6;
}

int32_t HazardGroups(const MapData& map) {
    const int32_t w = map.header.MapWidth, h = map.header.MapHeight;
    std::vector<bool> seen(CellCount(w, h), false);
    int32_t groups = 0;
    for (int32_t x = 0; x < w; ++x) {
        for (int32_t y = 0; y < h; ++y) {
            if (!Deadly(map.At(x, y)) || seen[RowMajor(y, x, h)]) continue;
            ++groups;
            std::vector<std::pair<int32_t, int32_t>> open{{x, y}};
            seen[RowMajor(y, x, h)] = true;
            while (!open.empty()) {
                const auto [cx, cy] = open.back();
                open.pop_back();
                const std::pair<int32_t, int32_t> next[] = {{cx + 1, cy}, {cx - 1, cy}, {cx, cy + 1}, {cx, cy - 1}};
                for (const auto& [nx, ny] : next) {
                    if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
                    const size_t i = RowMajor(ny, nx, h);
                    if (seen[i] || !Deadly(map.At(nx, ny))) continue;
                    seen[i] = true;
                    open.push_back({nx, ny});
                }
            }
        }
    }
    return groups;
}

bool Clears(const CourseFolder& folder, const std::vector<Press>& presses) {
    const Tally tally = ReplayAndTally(folder, ScriptOf(presses));
    return tally.cleared && tally.misses == 0;
}

// How many frames one edge of one press may move to, all its neighbours
// kept, with the script still clearing: 1 + the free frames either side.
int32_t EdgeWindow(const CourseFolder& folder, std::vector<Press> presses, size_t index,
                   bool start, int32_t widest) {
    const Press original = presses[index];
    int32_t window = 1;
    for (int32_t direction : {-1, 1}) {
        for (int32_t step = 1; step <= widest; ++step) {
            Press& p = presses[index];
            p = original;
            uint64_t& edge = start ? p.from : p.to;
            const int64_t moved = static_cast<int64_t>(edge) + direction * step;
            if (moved < 0 || (start && moved > static_cast<int64_t>(p.to)) ||
                (!start && moved < static_cast<int64_t>(p.from))) {
                break;
            }
            edge = static_cast<uint64_t>(moved);
            if (!Clears(folder, presses)) break;
            ++window;
        }
    }
    return window;
}

}  // namespace

int32_t DeadlyObstacles(const MapData& map) {
    int32_t pits = 0;
    for (int32_t x = 0; x < map.header.MapWidth; ++x) {
        if (OpenToTheBottom(map, x) && (x == 0 || !OpenToTheBottom(map, x - 1))) ++pits;
    }
    return pits + HazardGroups(map);
}

RampFigures MeasureRamp(const CourseFolder& folder, const std::vector<KeyRange>& script,
                        int32_t widest) {
    RampFigures figures;
    figures.width = folder.map.header.MapWidth;
    figures.deadlyPer100Columns =
        kColumnsPerMeasure * DeadlyObstacles(folder.map) / std::max(1, figures.width);
    figures.narrowestLanding = ReplayAndTally(folder, script).narrowestLanding;
    const std::vector<Press> presses = PressesOf(script);
    figures.tightestWindow = 2 * widest + 1;
    // The timing that matters is when each jump starts (no search: widest 0).
    for (size_t i = 0; widest > 0 && i < presses.size(); ++i) {
        if (presses[i].key != Key::Z) continue;
        const int32_t window = EdgeWindow(folder, presses, i, true, widest);
        if (window < figures.tightestWindow) {
            figures.tightestWindow = window;
            figures.tightestAtFrame = presses[i].from;
        }
    }
    return figures;
}

}  // namespace tumbleroo::courses
