// What the cell under the player's feet or above its head does: ground,
// springs, coins, water, ladders, conveyors, hazards, cannons, the gate.
#pragma once

#include <cstdint>

namespace tumbleroo {

struct Game;

// Results of the classifications.
inline constexpr int16_t kFloorGround = -1;
inline constexpr int16_t kFloorNothing = 0;
inline constexpr int16_t kFloorSpring = 2;
inline constexpr int16_t kFloorOneWay = 5;
inline constexpr int16_t kFloorSliding = -4;
inline constexpr int16_t kFloorGoal = 10;
// The ceiling's own names for the results it shares with the floor.
inline constexpr int16_t kCeilingBlocked = -1;
inline constexpr int16_t kCeilingFree = 0;
inline constexpr int16_t kCeilingOpenSky = 2;  // an empty cell overhead, also free
inline constexpr int16_t kCeilingGoal = 10;

// Launch speeds, pixels per frame upwards: what a spring, a bounce block and a
// cannon give the player.
inline constexpr double kSpringSpeed = -50.0;
inline constexpr double kBounceBlockSpeed = -18.0;
inline constexpr double kCannonShotSpeed = -40.0;

// True when a map of this size holds the player where the gate leads: its
// right side inside the last column, and high enough not to fall out.
bool GateTargetInMap(int32_t mapWidth, int32_t mapHeight);

int16_t ClassifyFloor(Game& game, int32_t code);
int16_t ClassifyCeiling(Game& game, int32_t code);
void EnterWater(Game& game);
void CollectCoin(Game& game);
void FireCannon(Game& game);

}  // namespace tumbleroo
