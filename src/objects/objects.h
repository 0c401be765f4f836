// Object tables: spawning them from the map at every attempt, and updating
// every kind once per frame in the fixed order.
#pragma once

namespace tumbleroo {

struct Game;

void SpawnObjects(Game& game);
void UpdateObjects(Game& game);

// One update per kind, each in its own file.
void UpdateSpikeBlocksRight(Game& game);
void UpdateSpikeBlocksLeft(Game& game);
void UpdateSpikeBlocksUp(Game& game);
void UpdateSpikeBlocksDown(Game& game);
void UpdateSideLifts(Game& game);
void UpdateUpDownLifts(Game& game);
void UpdateSinkingBlocks(Game& game);
void UpdateBluePenguins(Game& game);
void UpdateRedPenguins(Game& game);
void UpdateBouncingStars(Game& game);
void UpdateStarCarriers(Game& game);
void UpdateMonkeys(Game& game);
void UpdateOrbiters(Game& game);

}  // namespace tumbleroo
