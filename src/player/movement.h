// The player's steps through the map: probe points, walls, gravity and
// jumps, and the small effects (sparkles, dust trail) the steps start.
#pragma once

#include <cstdint>

namespace tumbleroo {

struct Game;

// Terrain code at a map pixel; also the fall-out test of the player.
int32_t CellAt(Game& game, int32_t px, int32_t py);
void MoveRight(Game& game, int16_t n);
void MoveLeft(Game& game, int16_t n);
void MoveDown(Game& game, int16_t n);
void MoveUp(Game& game, int16_t n);
void ApplyGravity(Game& game);
void SpawnSparkle(Game& game, int32_t x, int32_t y, int16_t cell);
void ResetTrail(Game& game);

}  // namespace tumbleroo
