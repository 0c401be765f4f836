// One stage of play: the set-up and the per-frame loop, with the small
// per-frame routines of walking, ladders and tile animation.
#pragma once

namespace tumbleroo {

struct Game;

void PlayStage(Game& game);
// One pass of the frame loop, for tools that step a stage themselves after
// SetUpStage; false once the loop would end.
bool StepStageFrame(Game& game);
// The stage set-up before the opening mosaic: markers, objects, camera.
void SetUpStage(Game& game);
void StepWalkAnimation(Game& game);
void CheckLadder(Game& game);
void AdvanceTileAnimation(Game& game);
void ClimbDown(Game& game);

}  // namespace tumbleroo
