// What a cell does to the player when a step finds it under the feet or
// above the head: ground, springs, coins, water, ladders, conveyors,
// hazards, bounce blocks, cannons and the gate.
#include "player/cell_effects.h"

#include "core/cell.h"
#include "core/terrain.h"
#include "player/movement.h"
#include "render/display.h"
#include "render/stage_draw.h"
#include "shell/game.h"
#include "core/numeric.h"
#include "shell/stage_flow.h"
#include "sound/sound.h"

namespace tumbleroo {

namespace {

constexpr uint8_t kWaterCode = CodeOf(Terrain::Water);
constexpr uint8_t kEmptyCode = CodeOf(Terrain::Empty);

// Conveyors and the sliding floor carry the player this far per ground test.
constexpr int16_t kCarryStepPx = 5;

// The gate always leads to the same place in the map.
constexpr int32_t kGateTargetX = 6680;
constexpr int32_t kGateTargetY = 520;

// ObjPictures cells of the sparkles.
constexpr int16_t kCoinSparkleCell = 1;
constexpr int16_t kBounceSparkleCell = 26;
constexpr int16_t kCannonSparkleCellA = 16;
constexpr int16_t kCannonSparkleCellB = 17;

// The cannon's smoke scatters over a 10-pixel square around the cell corner.
constexpr double kCannonSmokeSpreadPx = 10.0;
constexpr double kCannonSmokeOffsetPx = -5.0;
// Frames the player spends inside the cannon before the shot.
constexpr int kCannonFrames = 21;
constexpr int16_t kCannonPushFrames = 100;

constexpr int16_t kLastDirectionLeft = 1;
constexpr int16_t kLastDirectionRight = 2;

bool RidingAnything(const PlayerState& p) {
    return IsOn(p.RidingSideLift) || IsOn(p.RidingUpDownLift) || IsOn(p.RidingSinkingBlock) ||
           IsOn(p.RidingSpikeBlockLeft) || IsOn(p.RidingSpikeBlockRight) ||
           IsOn(p.RidingSpikeBlockDown);
}

bool InsideMap(const MapState& map, int32_t cx, int32_t cy) {
    return cx >= 0 && cy >= 0 && cx < map.MapWidth && cy < map.MapHeight;
}

// A bounce block under the feet is used up and throws the player up.
void BounceOffBlock(Game& game) {
    PlayerState& p = game.player;
    const int32_t cx = p.ProbeCellX;
    const int32_t cy = p.ProbeCellY;
    if (InsideMap(game.map, cx, cy)) game.map.Cell(cx, cy) = kEmptyCode;
    SpawnSparkle(game, kCellPixels * cx, kCellPixels * cy, kBounceSparkleCell);
    p.VerticalSpeed = kBounceBlockSpeed;
    PlaySound(game, SoundId::Gya);
}

// The sliding floor keeps carrying the player the way it last walked.
void SlideOn(Game& game) {
    const int16_t direction = game.player.LastDirection;
    if (direction == kLastDirectionLeft) MoveLeft(game, kCarryStepPx);
    if (direction == kLastDirectionRight) MoveRight(game, kCarryStepPx);
}

// A collected coin leaves water behind when it sat next to water; the
// first column and row are never tested, so no neighbour lies off the grid.
uint8_t CellLeftByCoin(const MapState& map, int32_t cx, int32_t cy) {
    if (cx == 0 || cy == 0) return kEmptyCode;
    const bool nextToWater = map.Cell(cx, cy + 1) == kWaterCode ||
                             map.Cell(cx + 1, cy) == kWaterCode ||
                             map.Cell(cx - 1, cy) == kWaterCode ||
                             map.Cell(cx, cy - 1) == kWaterCode;
    return nextToWater ? kWaterCode : kEmptyCode;
}

}  // namespace

bool GateTargetInMap(int32_t mapWidth, int32_t mapHeight) {
    const int64_t rightColumn = (kGateTargetX + kCellPixels) / kCellPixels;
    return rightColumn < mapWidth && !FallsOut(kGateTargetY, mapHeight);
}

int16_t ClassifyFloor(Game& game, int32_t code) {
    PlayerState& p = game.player;
    // Standing on an object: the cell below does nothing.
    if (RidingAnything(p)) return kFloorGround;
    p.InWater = kOff;
    switch (RowOf(code).feet) {
        case FeetEffect::None:
            return kFloorNothing;
        case FeetEffect::CarryRight:
            MoveRight(game, kCarryStepPx);
            return kFloorGround;
        case FeetEffect::CarryLeft:
            MoveLeft(game, kCarryStepPx);
            return kFloorGround;
        case FeetEffect::Spring:
            p.VerticalSpeed = kSpringSpeed;
            p.Airborne = kOn;
            return kFloorSpring;
        case FeetEffect::Coin:
            CollectCoin(game);
            return kFloorNothing;
        case FeetEffect::Goal:
            return kFloorGoal;
        case FeetEffect::Miss:
            RestartAfterMiss(game);
            return kFloorNothing;
        case FeetEffect::Water:
            EnterWater(game);
            return kFloorNothing;
        case FeetEffect::Ladder:
            p.CanClimbDown = kOn;
            return kFloorGround;
        case FeetEffect::Bounce:
            BounceOffBlock(game);
            return kFloorNothing;
        case FeetEffect::OneWay:
            return kFloorOneWay;
        case FeetEffect::Cannon:
            FireCannon(game);
            return kFloorGround;
        case FeetEffect::Gate:
            p.PlayerX = kGateTargetX;
            p.PlayerY = kGateTargetY;
            return kFloorNothing;
        case FeetEffect::Slide:
            SlideOn(game);
            return kFloorSliding;
        case FeetEffect::Ground:
            break;
    }
    return kFloorGround;
}

int16_t ClassifyCeiling(Game& game, int32_t code) {
    PlayerState& p = game.player;
    p.InWater = kOff;
    switch (RowOf(code).head) {
        case HeadEffect::OpenSky:
            return kCeilingOpenSky;
        case HeadEffect::Coin:
            CollectCoin(game);
            return kCeilingFree;
        case HeadEffect::Goal:
            return kCeilingGoal;
        case HeadEffect::Miss:
            RestartAfterMiss(game);
            return kCeilingFree;
        case HeadEffect::Free:
            return kCeilingFree;
        case HeadEffect::Water:
            EnterWater(game);
            return kCeilingFree;
        case HeadEffect::Ladder:
            p.CanClimbUp = kOn;
            return kCeilingFree;
        case HeadEffect::Blocked:
            break;
    }
    return kCeilingBlocked;
}

void EnterWater(Game& game) { game.player.InWater = kOn; }

void CollectCoin(Game& game) {
    PlayerState& p = game.player;
    const int32_t cx = p.ProbeCellX;
    const int32_t cy = p.ProbeCellY;
    p.CoinsCollected += 1;
    SpawnSparkle(game, kCellPixels * cx, kCellPixels * cy - kCellPixels, kCoinSparkleCell);
    if (InsideMap(game.map, cx, cy)) game.map.Cell(cx, cy) = CellLeftByCoin(game.map, cx, cy);
    PlaySound(game, SoundId::Coin);
}

void FireCannon(Game& game) {
    PlayerState& p = game.player;
    const double cellX = kCellPixels * p.ProbeCellX;
    const double cellY = kCellPixels * p.ProbeCellY;
    for (int16_t cell : {kCannonSparkleCellA, kCannonSparkleCellB, kCannonSparkleCellA}) {
        const double r1 = game.random.Next();
        const double r2 = game.random.Next();
        SpawnSparkle(game, Round32(cellX + kCannonSmokeSpreadPx * r1 + kCannonSmokeOffsetPx),
                     Round32(cellY + kCannonSmokeSpreadPx * r2 + kCannonSmokeOffsetPx), cell);
    }
    // The player sits hidden inside the cannon while the smoke clears.
    for (int frame = 0; frame < kCannonFrames; ++frame) {
        DrawBackground(game);
        DrawMap(game, p.ScrollX, p.ScrollY);
        DrawSparkles(game);
        FlipScreen(game);
    }
    p.PushTimer = kCannonPushFrames;
    p.PushRight = kOn;
    p.Airborne = kOn;
    p.VerticalSpeed = kCannonShotSpeed;
}

}  // namespace tumbleroo
