// Soak runs: random keys through the courses and the whole program, with
// the game's state checked after every stage frame and at every miss.
#include "tools/soak/soak.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "persist/records.h"
#include "shell/game.h"
#include "shell/program.h"
#include "shell/trace.h"

namespace tumbleroo::soak {

namespace {

namespace fs = std::filesystem;

constexpr size_t kFaultsKept = 20;
constexpr int64_t kCellPx = 20;
// The player may stand a little outside the map's columns (the walls
// beyond them are solid) and a fall ends two cells below its last row.
constexpr int64_t kSideSlackPx = 2 * kCellPx;
constexpr int64_t kBelowSlackPx = 2 * kCellPx;
constexpr int64_t kInt16Limit = 32767;
constexpr int32_t kLastPose = PictureRow(Pose::Left);
constexpr int16_t kLastWalkFrame = 2;
constexpr int16_t kLastDirection = 2;

// Key-hold odds, out of 1000 holds, and hold lengths in frames.
constexpr int kPerMille = 1000;
constexpr int kRightOdds = 550, kLeftOdds = 250, kJumpOdds = 400, kUpOdds = 120, kDownOdds = 120;
constexpr int kEnterOdds = 8, kEscapeOdds = 2;
constexpr int kShortestHold = 1, kLongestHold = 40;

bool IsFlag(Flag f) { return f == kOn || f == kOff; }

void Expect(std::vector<std::string>& faults, bool ok, const std::string& what) {
    if (!ok) faults.push_back(what);
}

// An offset that moves by speed from 0 and turns once it is past one end
// of its run stays within the run, widened by one step.
void ExpectOffsetInRun(std::vector<std::string>& faults, const char* name, int64_t offset,
                       int64_t runStart, int64_t runEnd, int64_t speed, bool sixteenBits) {
    const int64_t step = std::abs(speed);
    const int64_t low = std::min<int64_t>(0, std::min(runStart, runEnd)) - step;
    const int64_t high = std::max<int64_t>(0, std::max(runStart, runEnd)) + step;
    // A run wider than the offset can count wraps by design of its width.
    if (sixteenBits && (low < -kInt16Limit || high > kInt16Limit)) return;
    Expect(faults, offset >= low && offset <= high,
           std::string(name) + " " + std::to_string(offset) + " outside " + std::to_string(low) +
               ".." + std::to_string(high));
}

void CheckOffsets(const Game& game, std::vector<std::string>& faults) {
    const MapHeader& h = game.map.MapHeader;
    const ObjectState& o = game.objects;
    auto wrap16 = [](int32_t v) { return static_cast<int64_t>(static_cast<int16_t>(v)) * kCellPx; };
    ExpectOffsetInRun(faults, "SideLiftOffset", o.SideLiftOffset, wrap16(h.SideLiftMin),
                      wrap16(h.SideLiftMax), h.SideLiftSpeed, true);
    ExpectOffsetInRun(faults, "UpDownLiftOffset", o.UpDownLiftOffset, wrap16(h.UpDownLiftMin),
                      wrap16(h.UpDownLiftMax), h.UpDownLiftSpeed, true);
    // Spike blocks run left and up with a negative speed, right and down
    // with a positive one; a speed of the other sign sends them away for good.
    if (h.SpikeBlockLeftSpeed <= 0) {
        ExpectOffsetInRun(faults, "SpikeBlockLeftOffset", o.SpikeBlockLeftOffset, 0,
                          int64_t{h.SpikeBlockLeftDistance} * kCellPx, h.SpikeBlockLeftSpeed, false);
    }
    if (h.SpikeBlockRightSpeed >= 0) {
        ExpectOffsetInRun(faults, "SpikeBlockRightOffset", o.SpikeBlockRightOffset, 0,
                          int64_t{h.SpikeBlockRightDistance} * kCellPx, h.SpikeBlockRightSpeed,
                          false);
    }
    if (h.SpikeBlockUpSpeed <= 0) {
        ExpectOffsetInRun(faults, "SpikeBlockUpOffset", o.SpikeBlockUpOffset, 0,
                          int64_t{h.SpikeBlockUpDistance} * kCellPx, h.SpikeBlockUpSpeed, true);
    }
    if (h.SpikeBlockDownSpeed >= 0) {
        ExpectOffsetInRun(faults, "SpikeBlockDownOffset", o.SpikeBlockDownOffset, 0,
                          int64_t{h.SpikeBlockDownDistance} * kCellPx, h.SpikeBlockDownSpeed, true);
    }
}

void CheckPlayer(const Game& game, std::vector<std::string>& faults) {
    const PlayerState& p = game.player;
    const int64_t width = int64_t{game.map.MapWidth} * kCellPx;
    const int64_t height = int64_t{game.map.MapHeight} * kCellPx;
    Expect(faults, p.PlayerX >= -kSideSlackPx && p.PlayerX <= width + kSideSlackPx,
           "PlayerX " + std::to_string(p.PlayerX) + " outside the map's " + std::to_string(width));
    Expect(faults, p.PlayerY <= height + kBelowSlackPx,
           "PlayerY " + std::to_string(p.PlayerY) + " below the map's " + std::to_string(height));
    Expect(faults, std::isfinite(p.VerticalSpeed) && std::isfinite(p.ScrollX) &&
                       std::isfinite(p.ScrollY) && std::isfinite(p.PlayerScreenX),
           "a speed or camera value is not finite");
    const int32_t pose = PictureRow(p.Pose);
    Expect(faults, pose >= 0 && pose <= kLastPose, "Pose " + std::to_string(pose));
    Expect(faults, p.WalkFrame >= 0 && p.WalkFrame <= kLastWalkFrame,
           "WalkFrame " + std::to_string(p.WalkFrame));
    Expect(faults, p.LastDirection >= 0 && p.LastDirection <= kLastDirection,
           "LastDirection " + std::to_string(p.LastDirection));
    Expect(faults, p.CoinsCollected >= 0, "CoinsCollected " + std::to_string(p.CoinsCollected));
    for (Flag f : {p.Airborne, p.PushLeft, p.PushRight, p.CanMoveLeft, p.CanMoveRight, p.InWater,
                   p.CanClimbUp, p.CanClimbDown, p.StageRunning, p.StageCleared, p.RidingSideLift,
                   p.RidingUpDownLift, p.RidingSinkingBlock, p.RidingSpikeBlockLeft,
                   p.RidingSpikeBlockRight, p.RidingSpikeBlockDown}) {
        Expect(faults, IsFlag(f), "a flag holds " + std::to_string(f));
    }
}

void CheckTrace(const Game& game, std::vector<std::string>& faults) {
    const std::string line = TraceLine(game);
    Expect(faults, line.size() > 2 && line.front() == '{' && line.back() == '}',
           "the trace line is not one object");
    Expect(faults, line.find("nan") == std::string::npos && line.find("inf") == std::string::npos,
           "the trace line holds a value that is not a number: " + line);
}

// Game folder content.
constexpr const char* kSettingsText = "[BasicInformation]\r\nPlayMusic=0\r\nGameSpeed=0\r\n";

}  // namespace

void Findings::Fault(const std::string& what) {
    ++faultCount;
    if (faults.size() < kFaultsKept) faults.push_back(what);
}

void Findings::Add(const Findings& other) {
    stageFrames += other.stageFrames;
    flips += other.flips;
    misses += other.misses;
    clears += other.clears;
    faultCount += other.faultCount;
    for (const std::string& f : other.faults) {
        if (faults.size() < kFaultsKept) faults.push_back(f);
    }
}

std::vector<std::string> CheckStageFrame(const Game& game) {
    std::vector<std::string> faults;
    CheckPlayer(game, faults);
    CheckOffsets(game, faults);
    CheckTrace(game, faults);
    return faults;
}

std::string CheckMissReturnedToStart(const Game& game, uint64_t& missesSeen) {
    if (game.run.misses == missesSeen) return {};
    missesSeen = game.run.misses;
    const PlayerState& p = game.player;
    if (p.PlayerX == p.StartX && p.PlayerY == p.StartY) return {};
    return "after a miss the player is at " + std::to_string(p.PlayerX) + "," +
           std::to_string(p.PlayerY) + ", not at the start " + std::to_string(p.StartX) + "," +
           std::to_string(p.StartY);
}

bool SteeredPlatform::IsKeyDown(Key key) {
    return std::find(held.begin(), held.end(), key) != held.end();
}

void SteeredPlatform::Present(const uint16_t* pixels, const uint16_t* shown, int width, int height) {
    HeadlessPlatform::Present(pixels, shown, width, height);
    if (onPresent) onPresent();
}

const std::vector<Key>& KeyChooser::Next() {
    if (framesLeft_ <= 0) ChooseHold();
    --framesLeft_;
    return keys_;
}

void KeyChooser::ChooseHold() {
    std::uniform_int_distribution<int> odds(0, kPerMille - 1);
    std::uniform_int_distribution<int> length(kShortestHold, kLongestHold);
    keys_.clear();
    auto maybe = [&](int chance, Key key) {
        if (odds(random_) < chance) keys_.push_back(key);
    };
    maybe(kRightOdds, Key::Right);
    maybe(kLeftOdds, Key::Left);
    maybe(kJumpOdds, Key::Z);
    maybe(kUpOdds, Key::Up);
    maybe(kDownOdds, Key::Down);
    maybe(kEnterOdds, Key::Enter);
    maybe(kEscapeOdds, Key::Escape);
    framesLeft_ = length(random_);
}

Watcher::Watcher(Game& game, SteeredPlatform& platform, uint64_t seed, Findings& findings)
    : game_(game), platform_(platform), keys_(seed), findings_(findings) {
    platform_.onPresent = [this]() { OnPresent(); };
    game_.run.hooks.afterStagePass = [this]() { AfterStagePass(); };
}

void Watcher::OnPresent() {
    const std::string fault = CheckMissReturnedToStart(game_, missesSeen_);
    if (!fault.empty()) findings_.Fault(fault);
    platform_.held = keys_.Next();
}

void Watcher::AfterStagePass() {
    for (const std::string& f : CheckStageFrame(game_)) {
        findings_.Fault(game_.run.MapName + " flip " + std::to_string(game_.run.flips) + ": " + f);
    }
}

GameFolder::GameFolder(const std::string& builtDir) {
    std::string pattern = (fs::temp_directory_path() / "tumbleroo-soak-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw fs::filesystem_error("mkdtemp", std::error_code());
    path = pattern + "/";
    fs::create_directories(path + "MapFiles");
    for (const auto& entry : fs::directory_iterator(builtDir + "/MapFiles")) {
        if (entry.path().extension() != ".map") continue;
        fs::copy_file(entry.path(), path + "MapFiles/" + entry.path().filename().string());
        courses.push_back(entry.path().stem().string());
    }
    std::sort(courses.begin(), courses.end());
    std::ofstream(path + "Init.ini", std::ios::binary) << kSettingsText;
    WriteRecords(false);
}

GameFolder::~GameFolder() {
    std::error_code ignored;
    fs::remove_all(path, ignored);
}

void GameFolder::WriteRecords(bool allCleared) const {
    std::ofstream out(path + "MapInfo.dat", std::ios::binary | std::ios::trunc);
    const char* cleared = allCleared ? "-1 \r\n" : " 0 \r\n";
    for (int group = 0; group < kStageCount * kCoursesPerStage; ++group) out << cleared << " 0 \r\n\r\n 0 \r\n";
}

namespace {

// One game from start to end: a fresh headless platform, a watcher, and
// the run itself; the counts of the run go into findings.
template <typename Run>
void WatchedRun(const GameFolder& folder, uint64_t seed, uint64_t flipLimit, Findings& findings,
                Run run) {
    SteeredPlatform platform;
    platform.keepLastFrame = false;
    Game game;
    game.platform = &platform;
    platform.frameLimit = flipLimit;
    Watcher watcher(game, platform, seed, findings);
    try {
        run(game, folder.path, seed);
    } catch (const ProgramEnded&) {
    }
    findings.stageFrames += game.run.stagePasses;
    findings.flips += game.run.flips;
    findings.misses += game.run.misses;
    findings.clears += game.run.cleared ? 1 : 0;
}

}  // namespace

Findings SoakCourses(const GameFolder& folder, uint64_t seed, uint64_t stageFrames,
                     uint64_t attemptFlips) {
    Findings findings;
    for (uint64_t attempt = 0; findings.stageFrames < stageFrames && !folder.courses.empty();
         ++attempt) {
        const std::string& name = folder.courses[attempt % folder.courses.size()];
        WatchedRun(folder, seed + attempt, attemptFlips, findings,
                   [&](Game& game, const std::string& dir, uint64_t s) {
                       PrepareGame(game, dir, s);
                       if (!OpenDisplayAndPictures(game)) return;
                       StageAndCourseFromName(name, game.run.SelectedStage,
                                              game.run.SelectedCourse);
                       if (!PlayNamedCourse(game, name)) findings.Fault(name + " did not load");
                   });
    }
    return findings;
}

Findings SoakProgram(const GameFolder& folder, uint64_t seed, uint64_t flips, uint64_t runFlips) {
    Findings findings;
    for (uint64_t run = 0; findings.flips < flips; ++run) {
        folder.WriteRecords(run % 2 == 1);
        WatchedRun(folder, seed + run, runFlips, findings,
                   [](Game& game, const std::string& dir, uint64_t s) { Form_Load(game, dir, s); });
    }
    return findings;
}

}  // namespace tumbleroo::soak
