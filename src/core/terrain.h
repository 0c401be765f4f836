// What every map code is: one row per code, asked by the course text, the
// player's probes, the drawing and the object spawner alike, so a code's
// meaning lives in one place.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace tumbleroo {

// The map codes 0 to 35, named by what they are. A map byte beyond them is
// kept as it is and behaves as a plain invisible solid cell.
enum class Terrain : uint8_t {
    Empty,
    Ground,
    ConveyorRight,
    ConveyorLeft,
    HiddenSolid,
    Spring,
    Coin,
    Goal,
    Drill,           // points down: deadly from below
    UpSpike,         // deadly from above
    SideSpikeRight,  // points right: deadly when walked into from its right
    SideSpikeLeft,   // points left: deadly when walked into from its left
    SideLift,
    UpDownLift,
    StartMarker,
    HiddenSolidToo,  // a second code for the invisible solid cell
    Water,
    Ladder,
    Star,
    SpikeBlockLeft,
    SpikeBlockRight,
    SpikeBlockUp,
    SpikeBlockDown,
    SinkingBlock,
    BluePenguin,
    BounceBlock,
    BouncingStar,
    RedPenguin,
    StarCarrier,
    Monkey,
    Orbiter,
    OneWay,
    Cannon,
    CannonMouth,  // made by the game left of every cannon
    Gate,
    SlidingFloor,
};

inline constexpr size_t kTerrainCount = 36;

constexpr uint8_t CodeOf(Terrain t) { return static_cast<uint8_t>(t); }
constexpr bool Is(int32_t code, Terrain t) { return code == CodeOf(t); }
// Objects steer by this alone: any other code is in their way.
constexpr bool IsEmpty(int32_t code) { return Is(code, Terrain::Empty); }

// What a step left or right does on meeting the cell.
enum class SideEffect : uint8_t {
    Solid,
    Pass,
    Coin,
    Goal,
    Water,
    Miss,
    BounceBack,       // passes, but throws the player back the way it came
    MissMovingLeft,   // a miss stepping left into it, solid stepping right
    MissMovingRight,  // a miss stepping right into it, solid stepping left
};

// What the cell under the feet does.
enum class FeetEffect : uint8_t {
    Ground,
    None,
    CarryRight,
    CarryLeft,
    Spring,
    Coin,
    Goal,
    Miss,
    Water,
    Ladder,
    Bounce,
    OneWay,
    Cannon,
    Gate,
    Slide,
};

// What the cell above the head does.
enum class HeadEffect : uint8_t {
    Blocked,
    OpenSky,  // free, and nothing at all overhead
    Free,
    Coin,
    Goal,
    Miss,
    Water,
    Ladder,
};

// How a cell is drawn.
enum class Look : uint8_t {
    Nothing,
    GroundBlock,    // the ground style's block; its top face where open above
    Cell,           // the ObjPictures cell `picture`
    ConveyorFrames, // the blink frame plus `picture`
    WaterCell,      // the surface where open above, else the body
    WarningFlame,   // the flame while its spike block warns
    SlidingFrames,  // `picture` and the cell after it, following the blink frame
    GoalFlag,
    CannonBody,
    GateArch,
};

struct TerrainRow {
    char letter;  // its character in course text
    SideEffect side;
    FeetEffect feet;
    HeadEffect head;
    Look look;
    int8_t picture;  // the ObjPictures cell of Look::Cell, or the frame offset
    bool pickup;     // a collected thing: drawn with water behind it when in water
};

namespace terrain_rows {
using S = SideEffect;
using F = FeetEffect;
using H = HeadEffect;
using L = Look;
inline constexpr std::array<TerrainRow, kTerrainCount> kRows{{
    {'.', S::Pass, F::None, H::OpenSky, L::Nothing, 0, false},                // Empty
    {'#', S::Solid, F::Ground, H::Blocked, L::GroundBlock, 0, false},         // Ground
    {'>', S::Solid, F::CarryRight, H::Blocked, L::ConveyorFrames, 0, false},  // ConveyorRight
    {'<', S::Solid, F::CarryLeft, H::Blocked, L::ConveyorFrames, 1, false},   // ConveyorLeft
    {'X', S::Solid, F::Ground, H::Blocked, L::Nothing, 0, false},             // HiddenSolid
    {'^', S::Solid, F::Spring, H::Blocked, L::Cell, 4, false},                // Spring
    {'o', S::Coin, F::Coin, H::Coin, L::Cell, 1, true},                       // Coin
    {'G', S::Goal, F::Goal, H::Goal, L::GoalFlag, 0, false},                  // Goal
    {'V', S::Solid, F::Ground, H::Miss, L::Cell, 7, false},                   // Drill
    {'A', S::Solid, F::Miss, H::Blocked, L::Cell, 8, false},                  // UpSpike
    {')', S::MissMovingLeft, F::Ground, H::Blocked, L::Cell, 6, false},       // SideSpikeRight
    {'(', S::MissMovingRight, F::Ground, H::Blocked, L::Cell, 5, false},      // SideSpikeLeft
    {'=', S::Pass, F::None, H::Free, L::Nothing, 0, false},                   // SideLift
    {'|', S::Pass, F::None, H::Free, L::Nothing, 0, false},                   // UpDownLift
    {'S', S::Solid, F::Ground, H::Blocked, L::Nothing, 0, false},             // StartMarker
    {'x', S::Solid, F::Ground, H::Blocked, L::Nothing, 0, false},             // HiddenSolidToo
    {'~', S::Water, F::Water, H::Water, L::WaterCell, 0, false},              // Water
    {'H', S::Pass, F::Ladder, H::Ladder, L::Cell, 10, false},                 // Ladder
    {'*', S::Miss, F::Miss, H::Miss, L::Cell, 13, true},                      // Star
    {'L', S::Pass, F::None, H::Free, L::WarningFlame, 0, false},              // SpikeBlockLeft
    {'R', S::Pass, F::None, H::Free, L::WarningFlame, 0, false},              // SpikeBlockRight
    {'U', S::Pass, F::None, H::Free, L::WarningFlame, 0, false},              // SpikeBlockUp
    {'D', S::Pass, F::None, H::Free, L::WarningFlame, 0, false},              // SpikeBlockDown
    {'k', S::Pass, F::None, H::Free, L::Nothing, 0, false},                   // SinkingBlock
    {'b', S::Solid, F::Ground, H::Blocked, L::Nothing, 0, false},             // BluePenguin
    {'B', S::BounceBack, F::Bounce, H::Blocked, L::Cell, 26, false},          // BounceBlock
    {'s', S::Solid, F::Ground, H::Blocked, L::Nothing, 0, false},             // BouncingStar
    {'r', S::Solid, F::Ground, H::Blocked, L::Nothing, 0, false},             // RedPenguin
    {'c', S::Solid, F::Ground, H::Blocked, L::Nothing, 0, false},             // StarCarrier
    {'M', S::Solid, F::Ground, H::Blocked, L::Nothing, 0, false},             // Monkey
    {'O', S::Solid, F::Ground, H::Blocked, L::Nothing, 0, false},             // Orbiter
    {'-', S::Pass, F::OneWay, H::Free, L::Cell, 36, false},                   // OneWay
    {'C', S::Solid, F::Cannon, H::Blocked, L::CannonBody, 0, false},          // Cannon
    {'m', S::Solid, F::Cannon, H::Blocked, L::Cell, 26, false},               // CannonMouth
    {'W', S::Solid, F::Gate, H::Blocked, L::GateArch, 0, false},              // Gate
    {'_', S::Solid, F::Slide, H::Blocked, L::SlidingFrames, 37, false},        // SlidingFloor
}};
// Every code beyond the named ones.
inline constexpr TerrainRow kBeyond{'?', S::Solid, F::Ground, H::Blocked, L::Nothing, 0, false};
}  // namespace terrain_rows

constexpr bool LettersDistinct() {
    for (size_t i = 0; i < kTerrainCount; ++i) {
        for (size_t j = i + 1; j < kTerrainCount; ++j) {
            if (terrain_rows::kRows[i].letter == terrain_rows::kRows[j].letter) return false;
        }
    }
    return true;
}
static_assert(LettersDistinct(), "course text needs one character per code");

// The row of a map code; codes beyond the named ones share one row.
constexpr const TerrainRow& RowOf(int32_t code) {
    if (code < 0 || code >= static_cast<int32_t>(kTerrainCount)) return terrain_rows::kBeyond;
    return terrain_rows::kRows[static_cast<size_t>(code)];
}
constexpr const TerrainRow& RowOf(Terrain t) { return RowOf(CodeOf(t)); }

// The code a course-text character stands for; false for any other character.
constexpr bool CodeForLetter(char letter, uint8_t& code) {
    for (size_t i = 0; i < kTerrainCount; ++i) {
        if (terrain_rows::kRows[i].letter != letter) continue;
        code = static_cast<uint8_t>(i);
        return true;
    }
    return false;
}

}  // namespace tumbleroo
