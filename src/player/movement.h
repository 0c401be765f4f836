// The player's steps through the map: probe points, walls, gravity and
// jumps, and the small effects (sparkles, dust trail) the steps start.
#pragma once

#include <cstdint>

namespace tumbleroo {

struct Game;

// True when a player whose top is at playerY has dropped out of a map
// mapHeight cells high: every probe then counts a miss.
bool FallsOut(int64_t playerY, int32_t mapHeight);
// The same for a player whose top is on the given row of cells.
bool RowFallsOut(int32_t row, int32_t mapHeight);

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
