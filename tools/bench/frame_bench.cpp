// tumbleroo-bench: drawing kernels and whole stage frames of every course
// replayed from its clear script, each set against a memory floor measured
// in the same run (one 640 x 480 clear with memset plus one full-frame
// memcpy: the least a frame that touches every pixel can cost).
//
//   tumbleroo-bench [--benchmark_repetitions=N] [--benchmark_filter=...]
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

#include "platform/headless_platform.h"
#include "platform/window_scaler.h"
#include "platform/table_index.h"
#include "render/display.h"
#include "render/stage_draw.h"
#include "shell/game.h"
#include "shell/map_file.h"
#include "shell/program.h"

namespace {

using namespace tumbleroo;
namespace fs = std::filesystem;

constexpr size_t kFramePixels = static_cast<size_t>(kScreenWidth) * kScreenHeight;
constexpr int kFloorRounds = 2000;
constexpr int32_t kCell = 20;
constexpr uint16_t kKey = 0xF81F;
constexpr uint64_t kCourseFrameLimit = 100000;

// The floor: the cheapest of many rounds of memset + memcpy of one frame.
double MeasureFloorMicros() {
    std::vector<uint16_t> a(kFramePixels), b(kFramePixels);
    double best = 1e9;
    for (int i = 0; i < kFloorRounds; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        std::memset(a.data(), i & 0xFF, a.size() * sizeof(uint16_t));
        std::memcpy(b.data(), a.data(), b.size() * sizeof(uint16_t));
        benchmark::DoNotOptimize(b.data());
        benchmark::ClobberMemory();
        const auto t1 = std::chrono::steady_clock::now();
        best = std::min(best, std::chrono::duration<double, std::micro>(t1 - t0).count());
    }
    return best;
}

// A source sheet of random pixels where about a third are the colour key,
// in runs as sprites have them.
Surface RandomSheet(int32_t w, int32_t h, uint32_t seed) {
    Surface s = CreateBlankSurface(w, h);
    std::mt19937 rng(seed);
    for (auto& p : s.pixels) p = static_cast<uint16_t>(rng());
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; x += 8) {
            if (rng() % 3 == 0) std::fill_n(&s.At(x, y), std::min(8, w - x), kKey);
        }
    }
    SetColorKey(s, kKey);
    return s;
}

void Report(benchmark::State& state, double floorMicros, double microsPerUnit) {
    state.counters["us"] = microsPerUnit;
    state.counters["x_floor"] = microsPerUnit / floorMicros;
}

double MicrosPerIteration(benchmark::State& state, std::chrono::steady_clock::duration spent) {
    return std::chrono::duration<double, std::micro>(spent).count() /
           static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
}

template <typename Body>
void Timed(benchmark::State& state, double floorMicros, Body body) {
    const auto t0 = std::chrono::steady_clock::now();
    for (auto _ : state) body();
    Report(state, floorMicros, MicrosPerIteration(state, std::chrono::steady_clock::now() - t0));
}

void FloorBench(benchmark::State& state, double floorMicros) {
    std::vector<uint16_t> a(kFramePixels), b(kFramePixels);
    Timed(state, floorMicros, [&]() {
        std::memset(a.data(), 0, a.size() * sizeof(uint16_t));
        std::memcpy(b.data(), a.data(), b.size() * sizeof(uint16_t));
        benchmark::ClobberMemory();
    });
}

// A screen of 20 x 20 cells (32 x 24) from a sheet, keyed or not.
void CellScreenBench(benchmark::State& state, double floorMicros, bool keyed) {
    Surface dest = CreateBlankSurface(kScreenWidth, kScreenHeight);
    const Surface sheet = RandomSheet(200, 200, 7);
    Timed(state, floorMicros, [&]() {
        for (int32_t y = 0; y < kScreenHeight; y += kCell) {
            for (int32_t x = 0; x < kScreenWidth; x += kCell) {
                BlitClipped(dest, x - 7, y - 3, kCell, kCell, kScreenWidth, kScreenHeight, sheet,
                            (x % 200), (y % 200), 0, 0, keyed);
            }
        }
        benchmark::ClobberMemory();
    });
}

void OneCellBench(benchmark::State& state, double floorMicros, bool keyed) {
    Surface dest = CreateBlankSurface(kScreenWidth, kScreenHeight);
    const Surface sheet = RandomSheet(200, 200, 9);
    Timed(state, floorMicros, [&]() {
        BlitClipped(dest, 301, 207, kCell, kCell, kScreenWidth, kScreenHeight, sheet, 40, 60, 0, 0,
                    keyed);
        benchmark::ClobberMemory();
    });
}

// Showing frames in a window: the whole frame (as after a window change);
// two random frames in turns, each against the other as the one shown
// (every pixel changed, the worst of play); or two frames that differ in
// a few pixels of most rows (the title's twinkling stars).
enum class Changes { Whole, Every, Few };

// A few pixels of each of three rows in four, spread along the row.
Surface WithFewChanges(Surface s) {
    constexpr int kRowsOutOf = 4;
    constexpr int kChangedPerRow = 3;
    for (int y = 0; y < s.height; ++y) {
        if (y % kRowsOutOf == 0) continue;
        for (int i = 0; i < kChangedPerRow; ++i) {
            const int x = (y * 37 + i * s.width / kChangedPerRow) % s.width;
            uint16_t& p = s.pixels[static_cast<size_t>(y) * static_cast<size_t>(s.width) + static_cast<size_t>(x)];
            p = static_cast<uint16_t>(~p);
        }
    }
    return s;
}

struct WindowCase {
    int width;
    int height;
    ScaleMode mode;
};

void PresentBench(benchmark::State& state, double floorMicros, WindowCase c, Changes changes) {
    const Surface a = RandomSheet(kScreenWidth, kScreenHeight, 5);
    const Surface b = changes == Changes::Few ? WithFewChanges(a) : RandomSheet(kScreenWidth, kScreenHeight, 6);
    std::vector<uint32_t> window(CellCount(c.width, c.height));
    const WindowPixels view{reinterpret_cast<uint8_t*>(window.data()), c.width * 4, c.width, c.height};
    ScalePlan plan = MakeScalePlan(PlaceFrame(c.width, c.height, c.mode), PixelLayout{});
    std::vector<PixelRect> bands;
    DrawFrame(plan, a.pixels.data(), nullptr, view, bands);
    bool odd = false;
    Timed(state, floorMicros, [&]() {
        const Surface& next = odd ? a : b;
        const Surface& shown = odd ? b : a;
        DrawFrame(plan, next.pixels.data(), changes == Changes::Whole ? nullptr : shown.pixels.data(), view, bands);
        odd = !odd;
        benchmark::ClobberMemory();
    });
}

void ClearBench(benchmark::State& state, double floorMicros) {
    Surface dest = CreateBlankSurface(kScreenWidth, kScreenHeight);
    Timed(state, floorMicros, [&]() {
        ClearSurface(dest, 0x1234);
        benchmark::ClobberMemory();
    });
}

// The zoom at a stage's start: the whole frame shrunk to w x h and blown up again.
void ZoomBench(benchmark::State& state, double floorMicros) {
    const int32_t w = static_cast<int32_t>(state.range(0)) * kScreenWidth / 100;
    const int32_t h = static_cast<int32_t>(state.range(0)) * kScreenHeight / 100;
    const Surface whole = RandomSheet(kScreenWidth, kScreenHeight, 3);
    Surface coarse = CreateBlankSurface(kScreenWidth, kScreenHeight);
    Surface back = CreateBlankSurface(kScreenWidth, kScreenHeight);
    Timed(state, floorMicros, [&]() {
        StretchBlit(coarse, 0, 0, w, h, whole, 0, 0, kScreenWidth, kScreenHeight, false);
        StretchBlit(back, 0, 0, kScreenWidth, kScreenHeight, coarse, 0, 0, w, h, false);
        benchmark::ClobberMemory();
    });
}

// A folder of its own with the built courses, so records written on a
// clear never touch the build's game folder.
fs::path CourseFolder() {
    const fs::path folder = fs::temp_directory_path() / ("tumbleroo-bench-" + std::to_string(::getpid()));
    fs::create_directories(folder / "MapFiles");
    for (const auto& e : fs::directory_iterator(fs::path(TUMBLEROO_BUILD_DIR) / "MapFiles")) {
        fs::copy_file(e.path(), folder / "MapFiles" / e.path().filename(),
                      fs::copy_options::overwrite_existing);
    }
    fs::copy_file(fs::path(TUMBLEROO_BUILD_DIR) / "MapInfo.dat.shipped", folder / "MapInfo.dat",
                  fs::copy_options::overwrite_existing);
    return folder;
}

struct PreparedGame {
    HeadlessPlatform platform;
    Game game;
};

// A game with its display and pictures open, on course `map`.
void Prepare(PreparedGame& p, const fs::path& folder) {
    p.platform.keepLastFrame = false;
    p.game.platform = &p.platform;
    p.game.run.BasePath = folder.string() + "/";
    p.platform.frameLimit = kCourseFrameLimit;
    PrepareGame(p.game, p.game.run.BasePath, 1);
    OpenDisplayAndPictures(p.game);
}

void DrawMapBench(benchmark::State& state, double floorMicros, const fs::path& folder) {
    PreparedGame p;
    Prepare(p, folder);
    LoadMap(p.game, "C1-1");
    Timed(state, floorMicros, [&]() {
        DrawMap(p.game, 37.5, 0.0);
        benchmark::ClobberMemory();
    });
}

void TextBench(benchmark::State& state, double floorMicros, const fs::path& folder) {
    PreparedGame p;
    Prepare(p, folder);
    SetFormFontSize(p.game, 12);
    SetForeColor(p.game.display.BackBuffer, 0xFFFFFF);
    Timed(state, floorMicros, [&]() {
        DrawText(p.game, p.game.display.BackBuffer, 100, 100, "Coins 12  Time 345");
        benchmark::ClobberMemory();
    });
}

std::vector<KeyRange> ReadKeys(const fs::path& path) {
    std::ifstream in(path);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<KeyRange> keys;
    std::string error;
    ParseKeyScript(text, keys, error);
    return keys;
}

// One whole clear of the course per iteration; reported per stage frame.
// A course's whole replay, zoom and goal sequence included, per stage
// frame ("us"), and the stage frames alone: the time from the end of the
// first stage pass to the end of the last, per pass in between ("pass_us").
void CourseBench(benchmark::State& state, double floorMicros, const fs::path& folder,
                 const std::string& name, const std::vector<KeyRange>& keys) {
    using Clock = std::chrono::steady_clock;
    Clock::duration spent{}, inPasses{};
    uint64_t stageFrames = 0, timedPasses = 0;
    for (auto _ : state) {
        PreparedGame p;
        p.platform.keyScript = keys;
        Prepare(p, folder);
        StageAndCourseFromName(name, p.game.run.SelectedStage, p.game.run.SelectedCourse);
        Clock::time_point firstPassEnd{}, lastPassEnd{};
        uint64_t passes = 0;
        p.game.run.hooks.afterStagePass = [&]() {
            lastPassEnd = Clock::now();
            if (passes++ == 0) firstPassEnd = lastPassEnd;
        };
        const auto t0 = Clock::now();
        try {
            PlayNamedCourse(p.game, name);
        } catch (const ProgramEnded&) {
        }
        spent += Clock::now() - t0;
        stageFrames += p.game.run.stagePasses;
        if (passes > 1) {
            inPasses += lastPassEnd - firstPassEnd;
            timedPasses += passes - 1;
        }
    }
    const double micros = std::chrono::duration<double, std::micro>(spent).count() /
                          static_cast<double>(std::max<uint64_t>(stageFrames, 1));
    const double passMicros = std::chrono::duration<double, std::micro>(inPasses).count() /
                              static_cast<double>(std::max<uint64_t>(timedPasses, 1));
    state.counters["frames"] = static_cast<double>(stageFrames) / static_cast<double>(state.iterations());
    Report(state, floorMicros, micros);
    state.counters["pass_us"] = passMicros;
    state.counters["pass_x_floor"] = passMicros / floorMicros;
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    const double floorMicros = MeasureFloorMicros();
    const fs::path folder = CourseFolder();

    benchmark::RegisterBenchmark("floor/memset+memcpy", FloorBench, floorMicros);
    benchmark::RegisterBenchmark("kernel/cell_unkeyed", OneCellBench, floorMicros, false);
    benchmark::RegisterBenchmark("kernel/cell_keyed", OneCellBench, floorMicros, true);
    benchmark::RegisterBenchmark("kernel/screen_of_cells_unkeyed", CellScreenBench, floorMicros, false);
    benchmark::RegisterBenchmark("kernel/screen_of_cells_keyed", CellScreenBench, floorMicros, true);
    benchmark::RegisterBenchmark("kernel/clear", ClearBench, floorMicros);
    benchmark::RegisterBenchmark("kernel/zoom_percent", ZoomBench, floorMicros)->Arg(5)->Arg(50)->Arg(95);
    benchmark::RegisterBenchmark("kernel/draw_map", DrawMapBench, floorMicros, folder);
    const std::pair<const char*, WindowCase> windows[] = {
        {"1x_640x480", {640, 480, ScaleMode::WholeFactor}},
        {"2x_1280x1024", {1280, 1024, ScaleMode::WholeFactor}},
        {"2x_1920x1080", {1920, 1080, ScaleMode::WholeFactor}},
        {"fill_2.25x_1920x1080", {1920, 1080, ScaleMode::Fill}},
        {"3x_1920x1440", {1920, 1440, ScaleMode::WholeFactor}},
        {"4x_3840x2160", {3840, 2160, ScaleMode::WholeFactor}},
        {"fill_4.5x_3840x2160", {3840, 2160, ScaleMode::Fill}},
    };
    for (const auto& [name, window] : windows) {
        benchmark::RegisterBenchmark((std::string("present/whole_") + name).c_str(), PresentBench, floorMicros,
                                     window, Changes::Whole);
        benchmark::RegisterBenchmark((std::string("present/changed_") + name).c_str(), PresentBench, floorMicros,
                                     window, Changes::Every);
        benchmark::RegisterBenchmark((std::string("present/few_changed_") + name).c_str(), PresentBench,
                                     floorMicros, window, Changes::Few);
    }
    benchmark::RegisterBenchmark("kernel/text", TextBench, floorMicros, folder);

    std::vector<fs::path> scripts;
    for (const auto& e : fs::directory_iterator(fs::path(TUMBLEROO_SOURCE_DIR) / "tests/courses")) {
        // One clear script per course; the full-coin scripts (C1-1.coins.keys) play the same map.
        const bool clearScript = e.path().extension() == ".keys" &&
                                 e.path().stem().extension().empty();
        if (clearScript) scripts.push_back(e.path());
    }
    std::sort(scripts.begin(), scripts.end());
    for (const auto& script : scripts) {
        const std::string name = script.stem().string();
        benchmark::RegisterBenchmark(("course/" + name).c_str(), CourseBench, floorMicros, folder,
                                     name, ReadKeys(script))
            ->Iterations(1)
            ->Unit(benchmark::kMillisecond);
    }
    std::printf("floor (memset + memcpy of one frame, best of %d): %.1f us\n", kFloorRounds,
                floorMicros);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fs::remove_all(folder);
    return 0;
}
