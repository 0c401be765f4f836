// The ramp's measures of a course: how many deadly obstacles per 100
// columns, the narrowest ledge the clear script lands on, and the tightest
// timing window of its jumps.
#include <algorithm>
#include <vector>

#include "core/terrain.h"
#include "platform/table_index.h"
#include "probe.h"

namespace tumbleroo::courses {

namespace {

constexpr double kColumnsPerMeasure = 100.0;
// A jump that must start within this many frames asks for a practised hand.
constexpr int32_t kTightFrames = 3;

// The obstacles counted: the deadly cells and the objects that keep to their post.
bool Deadly(uint8_t code) {
    switch (static_cast<Terrain>(code)) {
        case Terrain::Drill: case Terrain::UpSpike: case Terrain::SideSpikeRight:
        case Terrain::SideSpikeLeft: case Terrain::Star: case Terrain::SpikeBlockLeft:
        case Terrain::SpikeBlockRight: case Terrain::SpikeBlockUp: case Terrain::SpikeBlockDown:
        case Terrain::BouncingStar:
            return true;
        default:
            return false;
    }
}

// A column whose bottom cell lets the player fall out of the map.
bool OpenToTheBottom(const MapData& map, int32_t x) {
    const uint8_t bottom = map.At(x, map.header.MapHeight - 1);
    return Is(bottom, Terrain::Empty) || Is(bottom, Terrain::Coin);
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

}  // namespace

int32_t DeadlyObstacles(const MapData& map) {
    int32_t pits = 0;
    for (int32_t x = 0; x < map.header.MapWidth; ++x) {
        if (OpenToTheBottom(map, x) && (x == 0 || !OpenToTheBottom(map, x - 1))) ++pits;
    }
    return pits + HazardGroups(map);
}

RampFigures MeasureRamp(const CourseFolder& folder, const std::vector<KeyRange>& script,
                        int32_t widest, uint64_t horizon) {
    RampFigures figures;
    figures.width = folder.map.header.MapWidth;
    figures.deadlyPer100Columns =
        kColumnsPerMeasure * DeadlyObstacles(folder.map) / std::max(1, figures.width);
    figures.narrowestLanding = ReplayAndTally(folder, script).narrowestLanding;
    if (widest == 0) return figures;
    std::vector<JumpWindow> windows = JumpWindows(folder, script, widest, horizon);
    figures.jumps = static_cast<int32_t>(windows.size());
    if (windows.empty()) return figures;
    std::sort(windows.begin(), windows.end(),
              [](const JumpWindow& a, const JumpWindow& b) { return a.frames < b.frames; });
    figures.tightestWindow = windows.front().frames;
    figures.tightestAtFrame = windows.front().start;
    figures.medianWindow = windows[windows.size() / 2].frames;
    figures.tightJumps = static_cast<int32_t>(std::count_if(
        windows.begin(), windows.end(), [](const JumpWindow& w) { return w.frames <= kTightFrames; }));
    return figures;
}

}  // namespace tumbleroo::courses
