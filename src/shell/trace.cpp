// Writes the shared game state by name as one line of JSON.
#include "shell/trace.h"

#include "objects/objects_trace.h"
#include "platform/json_line.h"
#include "shell/game.h"

namespace tumbleroo {

std::string TraceLine(const Game& game) {
    const PlayerState& p = game.player;
    std::string json = "{\"frame\":" + std::to_string(game.run.flips);
    AppendJsonMember(json, "PlayerX", p.PlayerX);
    AppendJsonMember(json, "PlayerY", p.PlayerY);
    AppendJsonMember(json, "VerticalSpeed", p.VerticalSpeed);
    AppendJsonMember(json, "Airborne", p.Airborne);
    AppendJsonMember(json, "Pose", PictureRow(p.Pose));
    AppendJsonMember(json, "WalkFrame", p.WalkFrame);
    AppendJsonMember(json, "LastDirection", p.LastDirection);
    AppendJsonMember(json, "PushLeft", p.PushLeft);
    AppendJsonMember(json, "PushRight", p.PushRight);
    AppendJsonMember(json, "PushTimer", p.PushTimer);
    AppendJsonMember(json, "CanMoveLeft", p.CanMoveLeft);
    AppendJsonMember(json, "CanMoveRight", p.CanMoveRight);
    AppendJsonMember(json, "InWater", p.InWater);
    AppendJsonMember(json, "CanClimbUp", p.CanClimbUp);
    AppendJsonMember(json, "CanClimbDown", p.CanClimbDown);
    AppendJsonMember(json, "CoinsCollected", p.CoinsCollected);
    AppendJsonMember(json, "StageRunning", p.StageRunning);
    AppendJsonMember(json, "StageCleared", p.StageCleared);
    AppendJsonMember(json, "ScrollX", p.ScrollX);
    AppendJsonMember(json, "ScrollY", p.ScrollY);
    AppendJsonMember(json, "PlayerScreenX", p.PlayerScreenX);
    AppendJsonMember(json, "PlayerScreenY", p.PlayerScreenY);
    AppendJsonMember(json, "FlameFrame", p.FlameFrame);
    AppendJsonMember(json, "BlinkFrame", p.BlinkFrame);
    AppendJsonMember(json, "RidingSideLift", p.RidingSideLift);
    AppendJsonMember(json, "RidingUpDownLift", p.RidingUpDownLift);
    AppendJsonMember(json, "RidingSinkingBlock", p.RidingSinkingBlock);
    AppendJsonMember(json, "RidingSpikeBlockLeft", p.RidingSpikeBlockLeft);
    AppendJsonMember(json, "RidingSpikeBlockRight", p.RidingSpikeBlockRight);
    AppendJsonMember(json, "RidingSpikeBlockDown", p.RidingSpikeBlockDown);
    AppendJsonMember(json, "misses", game.run.misses);
    AppendObjectsTrace(game, json);
    json += "}";
    return json;
}

}  // namespace tumbleroo
