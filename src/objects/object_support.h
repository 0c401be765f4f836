// Small pieces shared by the object kinds: screen positions, signs, and the
// ways an object pushes or carries the player.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/cell.h"
#include "render/object_draw.h"
#include "shell/game.h"

namespace tumbleroo {

// A terrain probe may restart the stage (it notices the player falling out
// of the map), and the restart spawns every table again, leaving references
// into them dangling. Updates therefore name their object by index, take
// it afresh after each probe, and stop when the fresh table is too short.
inline bool Holds(const std::vector<Actor>& table, size_t index) { return index < table.size(); }

inline int16_t Sign(int64_t v) { return v > 0 ? 1 : (v < 0 ? -1 : 0); }

// Knocks the player away from an enemy: a push to one side for a number of
// frames and a hop upwards.
inline void KnockPlayer(Game& game, bool toRight, int16_t pushFrames, double verticalSpeed) {
    PlayerState& p = game.player;
    if (toRight) {
        p.PushRight = kOn;
    } else {
        p.PushLeft = kOn;
    }
    p.PushTimer = pushFrames;
    p.VerticalSpeed = verticalSpeed;
    p.Airborne = kOn;
}

// Carries a player who rides a block downwards by the block's step. The
// block under the feet is what moved, so the player follows it directly;
// the floor test alone would stop at the block and leave the player
// hanging while the block sinks away.
void CarryPlayerDown(Game& game, int16_t step);

}  // namespace tumbleroo
