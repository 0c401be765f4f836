// The camera and the drawing of a stage frame: background strips, map
// cells, the status line, the player, the dust trail and the sparkles.
#pragma once

#include <cstdint>

namespace tumbleroo {

struct Game;

void UpdateCamera(Game& game);
void DrawBackground(Game& game);
void DrawMap(Game& game, double scrollX, double scrollY);
void DrawStatusLine(Game& game);
void DrawPlayer(Game& game, int32_t x, int32_t y);
void DrawTrail(Game& game);
void DrawSparkles(Game& game);
void FlashWhite(Game& game);
// The goal flag of a place whose top-left corner is at (x, y) on the screen:
// on a goal cell, and on the world map over every stage completed.
void DrawGoalFlag(Game& game, int32_t x, int32_t y);

}  // namespace tumbleroo
