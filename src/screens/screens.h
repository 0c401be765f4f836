// The screens outside play: opening, title, stage and course select,
// settings menu and the ending.
#pragma once

#include <cstdint>

#include "render/surface.h"

namespace tumbleroo {

struct Game;

void ShowOpening(Game& game);
void ShowTitleIntro(Game& game);
int16_t RunTitleMenu(Game& game);
void DrawStarfield(Game& game);
void SlideMenuCursor(Game& game, int16_t item, int16_t direction);
void WipeToBackground(Game& game);

// Marks the path between the stages on the world map picture, once at start-up.
void DrawPathDots(Surface& choice);
int16_t RunStageSelect(Game& game, int16_t stage);
void DrawStageSelect(Game& game, int16_t step, int16_t stage);
void DrawWorldMap(Game& game);
void DrawPathArrow(Game& game, int16_t kind, int32_t mapX, int32_t mapY);

int16_t RunCourseSelect(Game& game);
void RunSettingsMenu(Game& game);

void ShowEnding(Game& game);
void DrawEndingBackground(Game& game);

}  // namespace tumbleroo
