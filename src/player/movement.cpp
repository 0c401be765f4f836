// The player's steps through the map. Every step tests a few probe points
// against the terrain first; the codes found decide whether the step happens
// and set off the cell effects (coins, hazards, springs, the goal).
#include "player/movement.h"

#include <array>
#include <cstdlib>

#include "core/cell.h"
#include "core/terrain.h"
#include "player/cell_effects.h"
#include "shell/game.h"
#include "core/numeric.h"
#include "shell/stage_flow.h"

namespace tumbleroo {

namespace {

// What lies beyond the map: solid to the sides and below, open sky above.
constexpr int32_t kSolidCode = CodeOf(Terrain::Ground);
constexpr int32_t kOpenSkyCode = CodeOf(Terrain::Empty);
// The player counts as fallen out once its top is this close to the map's bottom.
constexpr int32_t kFallOutMarginPx = 50;

constexpr int32_t kSideProbeRightPx = 20;
constexpr int32_t kSideProbeLeftPx = -4;
constexpr std::array<int32_t, 3> kSideProbeDyPx{0, 12, 24};
// Feet and head are probed at the same two columns, one pixel in from each.
constexpr std::array<int32_t, 2> kBodyProbeDxPx{0, 10};
constexpr int32_t kBodyProbeInsetPx = 1;
constexpr int32_t kFootProbeDyPx = 32;
constexpr int32_t kHeadProbeDyPx = -14;

// Knock-back of a bounce block met sideways, and of a push hitting a wall.
constexpr int16_t kBouncePushFrames = 20;
constexpr double kBounceKnockSpeed = -10.0;
constexpr double kPushReverseSpeed = -20.0;

// Gravity: speed gained per frame, and the step sizes beyond the threshold.
constexpr double kGravityPerFrame = 1.0;
constexpr double kFastSpeedThreshold = 8.0;
constexpr int16_t kFastStepFirstPx = 5;
constexpr int16_t kFastStepSecondPx = 2;

constexpr int16_t kSparkleLifeFrames = 16;

enum class Side { Right, Left };

// What the side probes found for one step left or right.
struct SideProbeResult {
    bool open = true;
    bool miss = false;
    bool water = false;
    bool goal = false;
};

// Tests the three side probes in order, collecting coins and starting
// bounce-block knock-backs as they are met.
SideProbeResult ProbeSide(Game& game, Side side) {
    PlayerState& p = game.player;
    const int32_t dx = side == Side::Right ? kSideProbeRightPx : kSideProbeLeftPx;
    // Each side spike is deadly from one side only.
    const SideEffect deadlySpike = side == Side::Right ? SideEffect::MissMovingRight : SideEffect::MissMovingLeft;
    SideProbeResult result;
    for (int32_t dy : kSideProbeDyPx) {
        const SideEffect effect = RowOf(CellAt(game, p.PlayerX + dx, p.PlayerY + dy)).side;
        switch (effect) {
            case SideEffect::Pass:
                break;
            case SideEffect::Coin:
                CollectCoin(game);
                break;
            case SideEffect::Goal:
                GoalSequence(game);
                result.goal = true;
                return result;
            case SideEffect::Water:
                result.water = true;
                break;
            case SideEffect::Miss:
                result.miss = true;
                break;
            case SideEffect::BounceBack:
                // A bounce block throws the player back the way it came.
                p.PushTimer = kBouncePushFrames;
                if (side == Side::Right) {
                    p.PushLeft = kOn;
                } else {
                    p.PushRight = kOn;
                }
                p.VerticalSpeed = kBounceKnockSpeed;
                p.Airborne = kOn;
                break;
            case SideEffect::Solid:
            case SideEffect::MissMovingLeft:
            case SideEffect::MissMovingRight:
                if (effect == deadlySpike) {
                    result.miss = true;
                } else {
                    result.open = false;
                }
                break;
        }
    }
    return result;
}

// Finishes an open side step: the hazard first, then the water.
void ApplyOpenStep(Game& game, const SideProbeResult& result) {
    if (result.miss) RestartAfterMiss(game);
    if (result.water) EnterWater(game);
}

}  // namespace

bool FallsOut(int64_t playerY, int32_t mapHeight) {
    return playerY + kFallOutMarginPx >= static_cast<int64_t>(mapHeight) * kCellPixels;
}

bool RowFallsOut(int32_t row, int32_t mapHeight) {
    return FallsOut(static_cast<int64_t>(row) * kCellPixels, mapHeight);
}

int32_t CellAt(Game& game, int32_t px, int32_t py) {
    PlayerState& p = game.player;
    const MapState& map = game.map;
    const int32_t cx = Round32(static_cast<double>(px) / kCellPixels);
    const int32_t cy = Round32(static_cast<double>(py) / kCellPixels);
    p.ProbeCellX = cx;
    p.ProbeCellY = cy;
    if (cx < 0) return kSolidCode;
    if (cx > map.MapWidth - 1) return kSolidCode;
    // Any probe notices when the player has dropped out of the map.
    if (FallsOut(p.PlayerY, map.MapHeight)) RestartAfterMiss(game);
    if (cy < 0) return kOpenSkyCode;
    if (cy >= map.MapHeight) return kSolidCode;
    // The miss reloads the same map, but never read outside whatever is loaded.
    if (cx > map.MapWidth - 1) return kSolidCode;
    return map.Cell(cx, cy);
}

void MoveRight(Game& game, int16_t n) {
    PlayerState& p = game.player;
    p.InWater = kOff;
    if (!IsOn(p.CanMoveRight)) {
        // An object blocked this one step; the next one goes through.
        p.CanMoveRight = kOn;
        return;
    }
    const SideProbeResult result = ProbeSide(game, Side::Right);
    if (result.goal) return;
    if (!result.open) {
        if (IsOn(p.PushRight)) {
            p.PushRight = kOff;
            p.PushLeft = kOn;
            p.VerticalSpeed = kPushReverseSpeed;
            p.Airborne = kOn;
        }
        return;
    }
    ApplyOpenStep(game, result);
    p.PlayerX += n;
}

void MoveLeft(Game& game, int16_t n) {
    PlayerState& p = game.player;
    p.InWater = kOff;
    // Stays blocked for every left step until the frame ends.
    if (!IsOn(p.CanMoveLeft)) return;
    const SideProbeResult result = ProbeSide(game, Side::Left);
    if (result.goal) return;
    if (!result.open) {
        if (IsOn(p.PushLeft)) {
            p.PushLeft = kOff;
            p.PushRight = kOn;
            p.VerticalSpeed = kPushReverseSpeed;
            p.Airborne = kOn;
        }
        return;
    }
    ApplyOpenStep(game, result);
    if (p.PlayerX < 0) p.PlayerX = 0;
    p.PlayerX -= n;
}

void MoveDown(Game& game, int16_t n) {
    PlayerState& p = game.player;
    for (int32_t dx : kBodyProbeDxPx) {
        const int32_t px = Round32(static_cast<double>(p.PlayerX) + dx) + kBodyProbeInsetPx;
        const int16_t f = ClassifyFloor(game, CellAt(game, px, p.PlayerY + kFootProbeDyPx));
        switch (f) {
            case kFloorGround:
                p.Airborne = kOff;
                p.LastDirection = 0;
                return;
            case kFloorSliding:
                p.Airborne = kOff;
                return;
            case kFloorGoal:
                GoalSequence(game);
                return;
            case kFloorSpring:
                return;
            case kFloorOneWay:
                // The platform only holds a player who is not rising.
                p.Airborne = ToFlag(p.VerticalSpeed < 0);
                return;
            default:
                break;
        }
    }
    if (n > 0) p.PlayerY += n;
    p.Airborne = kOn;
    ResetTrail(game);
    p.WalkedThisFrame = kOff;
}

void MoveUp(Game& game, int16_t n) {
    PlayerState& p = game.player;
    for (int32_t dx : kBodyProbeDxPx) {
        const int32_t px = Round32(static_cast<double>(p.PlayerX) + dx) + kBodyProbeInsetPx;
        const int16_t f = ClassifyCeiling(game, CellAt(game, px, p.PlayerY + kHeadProbeDyPx));
        if (f == kCeilingGoal) {
            GoalSequence(game);
            return;
        }
        // A blocked head stops the step but leaves the speed alone.
        if (f == kCeilingBlocked) return;
    }
    p.PlayerY -= n;
}

void ApplyGravity(Game& game) {
    PlayerState& p = game.player;
    p.VerticalSpeed += kGravityPerFrame;
    if (p.VerticalSpeed > kFastSpeedThreshold) {
        // The fall is capped at 7 pixels a frame; the speed keeps growing.
        MoveDown(game, kFastStepFirstPx);
        MoveDown(game, kFastStepSecondPx);
        return;
    }
    if (p.VerticalSpeed < -kFastSpeedThreshold) {
        MoveUp(game, kFastStepFirstPx);
        MoveUp(game, kFastStepSecondPx);
        return;
    }
    if (p.VerticalSpeed < 0) {
        MoveUp(game, static_cast<int16_t>(std::abs(Round32(p.VerticalSpeed))));
        if (p.VerticalSpeed < 0) return;
    }
    // Also reached when a cell effect during the rise stopped it.
    MoveDown(game, static_cast<int16_t>(Round32(p.VerticalSpeed)));
}

void SpawnSparkle(Game& game, int32_t x, int32_t y, int16_t cell) {
    PlayerState& p = game.player;
    p.SparkleIndex += 1;
    if (p.SparkleIndex >= static_cast<int16_t>(p.Sparkles.size())) p.SparkleIndex = 0;
    Sparkle& s = p.Sparkles[static_cast<size_t>(p.SparkleIndex)];
    s.Life = kSparkleLifeFrames;
    s.Cell = cell;
    s.X = x;
    s.Y = y;
}

void ResetTrail(Game& game) {
    PlayerState& p = game.player;
    p.TrailX.fill(To16(p.PlayerX));
    p.TrailY.fill(To16(p.PlayerY));
}

}  // namespace tumbleroo
