// The Game record: every piece of program-wide state, grouped by subsystem.
//
// It is plain data. Procedures across the game take a Game& and read or
// write the fields they need, named as the game's design names them. Tests
// create as many independent games as they like.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/numeric.h"
#include "persist/records_state.h"
#include "persist/settings_state.h"
#include "platform/platform.h"
#include "platform/table_index.h"
#include "render/pictures.h"
#include "render/surface.h"

namespace tumbleroo {

// ---------------------------------------------------------------- map ----

struct MapHeader {
    int32_t MapWidth = 0;
    int32_t MapHeight = 0;
    int32_t BackColor = 0;  // 0x00BBGGRR
    int16_t SideLiftSpeed = 0;
    int32_t SideLiftMin = 0;
    int32_t SideLiftMax = 0;
    int16_t UpDownLiftSpeed = 0;
    int32_t UpDownLiftMin = 0;
    int32_t UpDownLiftMax = 0;
    int16_t SpikeBlockRightSpeed = 0;
    int32_t SpikeBlockRightDistance = 0;
    int16_t SpikeBlockLeftSpeed = 0;
    int32_t SpikeBlockLeftDistance = 0;
    int16_t SpikeBlockUpSpeed = 0;
    int32_t SpikeBlockUpDistance = 0;
    int16_t SpikeBlockDownSpeed = 0;
    int32_t SpikeBlockDownDistance = 0;
    std::string HeaderExtra;
    int16_t GroundStyle = 1;
};

struct MapState {
    tumbleroo::MapHeader MapHeader;
    int32_t MapWidth = 0;
    int32_t MapHeight = 0;
    int16_t GroundStyle = 1;
    // (MapWidth + 1) x (MapHeight + 1) cells, x varying fastest; the spare
    // column and row are always 0.
    std::vector<uint8_t> MapGrid = std::vector<uint8_t>(1, 0);

    uint8_t& Cell(int32_t x, int32_t y) {
        return MapGrid[RowMajor(x, y, MapWidth + 1)];
    }
    uint8_t Cell(int32_t x, int32_t y) const {
        return MapGrid[RowMajor(x, y, MapWidth + 1)];
    }
};

// ------------------------------------------------------------- player ----

struct Sparkle {
    int16_t Life = 0;
    int16_t Cell = 0;
    int32_t X = 0;
    int32_t Y = 0;
};

// How the hero is seen: the row of its pictures.
enum class Pose : int16_t {
    Back,   // climbing, walking up the world map, at the goal
    Right,
    Front,  // half-way through a turn, walking down the world map
    Left,
};

constexpr int32_t PictureRow(Pose pose) { return static_cast<int32_t>(pose); }

struct PlayerState {
    int32_t PlayerX = 0;
    int32_t PlayerY = 0;
    double VerticalSpeed = 0.0;
    Flag Airborne = kOff;
    tumbleroo::Pose Pose = Pose::Right;
    int16_t WalkFrame = 0;
    std::array<int16_t, 4> WalkSequence{0, 1, 2, 1};
    int16_t LastDirection = 0;
    Flag PushLeft = kOff;
    Flag PushRight = kOff;
    int16_t PushTimer = 0;
    Flag CanMoveLeft = kOn;
    Flag CanMoveRight = kOn;
    Flag InWater = kOff;
    Flag CanClimbUp = kOff;
    Flag CanClimbDown = kOff;
    Flag WalkedThisFrame = kOff;
    Flag RidingSideLift = kOff;
    Flag RidingUpDownLift = kOff;
    Flag RidingSinkingBlock = kOff;
    Flag RidingSpikeBlockLeft = kOff;
    Flag RidingSpikeBlockRight = kOff;
    Flag RidingSpikeBlockDown = kOff;
    int32_t CoinsCollected = 0;
    Flag StageRunning = kOff;
    Flag StageCleared = kOff;
    int32_t StartX = 0;
    int32_t StartY = 0;
    int32_t ProbeCellX = 0;
    int32_t ProbeCellY = 0;
    double ScrollX = 0.0;
    double ScrollY = 0.0;
    double PlayerScreenX = 0.0;
    int32_t PlayerScreenY = 0;
    PixelValue StageBackPixel = 0;
    int16_t FlameFrame = 0;
    int16_t BlinkFrame = 0;
    std::array<int16_t, 11> TrailX{};
    std::array<int16_t, 11> TrailY{};
    std::array<Sparkle, 21> Sparkles{};
    int16_t SparkleIndex = 0;

    // Counters that run for the whole program.
    int32_t WalkTick = 0;
    int16_t WalkStep = 0;
    int32_t TileAnimCounter = 0;
};

// ------------------------------------------------------------ objects ----

struct PlacedObject {
    int32_t X = 0;
    int32_t Y = 0;
};

struct Actor {
    int32_t X = 0;
    int32_t Y = 0;
    int16_t VX = 0;
    int16_t VY = 0;
    int32_t Counter = 0;
    Flag Alive = kOff;
};

struct ContactFlags {
    Flag Below = kOff;
    Flag Above = kOff;
    Flag RightSide = kOff;
    Flag LeftSide = kOff;
};

struct ObjectState {
    std::vector<PlacedObject> SideLifts, UpDownLifts, SpikeBlocksLeft, SpikeBlocksRight,
        SpikeBlocksUp, SpikeBlocksDown, SinkingBlocks;
    std::vector<Actor> BluePenguins, BouncingStars, RedPenguins, StarCarriers, Monkeys, Orbiters;
    std::vector<int32_t> OrbiterHitPoints, OrbiterCentreX, OrbiterCentreY;

    std::array<int16_t, 11> MoverState{};
    int16_t SideLiftOffset = 0;
    int16_t UpDownLiftOffset = 0;
    int32_t SpikeBlockLeftOffset = 0;
    int32_t SpikeBlockRightOffset = 0;
    int16_t SpikeBlockUpOffset = 0;
    int16_t SpikeBlockDownOffset = 0;
    Flag SpikeBlockLeftWarning = kOff;
    Flag SpikeBlockRightWarning = kOff;
    Flag SpikeBlockUpWarning = kOff;
    Flag SpikeBlockDownWarning = kOff;
    int16_t SinkToggle = 0;
    int32_t StarCarrierRidden = 0;

    // Shared animation counters, never reset.
    int32_t BluePenguinTick = 0;
    int16_t BluePenguinFrame = 0;
    int32_t RedPenguinTick = 0;
    int16_t RedPenguinFrame = 0;
    int32_t MonkeyTick = 0;
    int16_t MonkeyFrame = 0;
    int32_t OrbiterTick = 0;
    int16_t OrbiterFrame = 0;
    int32_t OrbitRadius = 0;
    int16_t OrbitRadiusStep = 0;
};

// ------------------------------------------------------------ display ----

struct DisplayState {
    bool open = false;
    bool CursorHidden = false;
    Surface BackBuffer;
    Surface FrontBuffer;  // the frame on screen
    // The window's one font; screens change it and later screens inherit it.
    FontSpec FormFont;
    // Rendered words, kept so that a text drawn every frame is rasterised once.
    std::map<std::pair<std::string, int>, GlyphBitmap> glyphCache;
};

// -------------------------------------------------------------- camera ----

struct CameraState {
    double ViewTargetX = 0.0;
    int32_t TrailCounter = 0;
    int32_t TrailRing = 0;
    bool SparkleToggle = false;
};

// --------------------------------------------------------------- sound ----

enum class SoundId { Select, Decide, Coin, Jump, Gya, GameOver };
inline constexpr int kSoundCount = 6;

struct SoundEffect {
    std::vector<int> Buffers;  // platform channels, one per buffer
    int sound = -1;            // platform sound handle of the loaded file
    int16_t Count = 0;
    int16_t Current = 0;
};

struct SoundState {
    bool deviceOpen = false;
    std::array<SoundEffect, kSoundCount> effects;
};

// ------------------------------------------------------------- screens ----

struct TitleStar {
    int32_t Distance = 0;
    double DirY = 0.0;
    double DirX = 0.0;
};

struct EndingStar {
    int32_t X = 0;
    int32_t Y = 0;
    Flag Active = kOff;
    int32_t Cell = 0;
    double Speed = 0.0;
};

struct ScreenState {
    std::array<TitleStar, 51> Stars{};
    int32_t MapTick = 0;
    int16_t EndingTick = 0;
    int32_t EndingAngle = 0;
    int32_t EndingScheme = 0;
    std::array<EndingStar, 16> EndingStars{};
};

// ----------------------------------------------------------------- run ----

// What the headless driver observes of a run.
struct RunHooks {
    // Called after every pass of the stage loop.
    std::function<void()> afterStagePass;
};

struct RunState {
    std::string BasePath;
    int16_t SelectedStage = 0;
    int16_t SelectedCourse = 1;
    std::string MapName;
    Flag IntroRunning = kOff;
    PixelValue MenuBackPixel = 0;

    uint64_t flips = 0;
    uint64_t stagePasses = 0;
    uint64_t misses = 0;
    bool cleared = false;
    int32_t clearCoins = 0;
    // The window lost the keys since the stage last looked; play pauses.
    bool focusLost = false;
    // Full screen or a window as the command line asked; none: as saved.
    std::optional<bool> fullScreenAsked;
    bool startedFullScreen = true;
    RunHooks hooks;
};

// Thrown to end the program from anywhere once the window has unloaded;
// caught at the top of the game or of the driver.
struct ProgramEnded {};

struct Game {
    Platform* platform = nullptr;
    Random random;
    RunState run;
    MapState map;
    PlayerState player;
    ObjectState objects;
    DisplayState display;
    // Made once at start-up and never changed: copies of a game share them.
    std::shared_ptr<const Pictures> pictures = std::make_shared<const Pictures>();
    CameraState camera;
    SoundState sound;
    Settings settings;
    WindowSettings windowSettings;
    RecordsState records;
    ScreenState screens;
};

}  // namespace tumbleroo
