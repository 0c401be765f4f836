// Writes the shared game state by name as one line of JSON.
#include "shell/trace.h"

#include <cstdio>

#include "objects/objects_trace.h"
#include "shell/game.h"

namespace tumbleroo {

namespace {

void Member(std::string& json, const char* name, long long value) {
    json += ",\"";
    json += name;
    json += "\":";
    json += std::to_string(value);
}

void Member(std::string& json, const char* name, double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.17g", value);
    json += ",\"";
    json += name;
    json += "\":";
    json += text;
}

}  // namespace

std::string TraceLine(const Game& game) {
    const PlayerState& p = game.player;
    std::string json = "{\"frame\":" + std::to_string(game.run.flips);
    Member(json, "PlayerX", static_cast<long long>(p.PlayerX));
    Member(json, "PlayerY", static_cast<long long>(p.PlayerY));
    Member(json, "VerticalSpeed", p.VerticalSpeed);
    Member(json, "Airborne", static_cast<long long>(p.Airborne));
    Member(json, "Pose", static_cast<long long>(p.Pose));
    Member(json, "WalkFrame", static_cast<long long>(p.WalkFrame));
    Member(json, "LastDirection", static_cast<long long>(p.LastDirection));
    Member(json, "PushLeft", static_cast<long long>(p.PushLeft));
    Member(json, "PushRight", static_cast<long long>(p.PushRight));
    Member(json, "PushTimer", static_cast<long long>(p.PushTimer));
    Member(json, "CanMoveLeft", static_cast<long long>(p.CanMoveLeft));
    Member(json, "CanMoveRight", static_cast<long long>(p.CanMoveRight));
    Member(json, "InWater", static_cast<long long>(p.InWater));
    Member(json, "CanClimbUp", static_cast<long long>(p.CanClimbUp));
    Member(json, "CanClimbDown", static_cast<long long>(p.CanClimbDown));
    Member(json, "CoinsCollected", static_cast<long long>(p.CoinsCollected));
    Member(json, "StageRunning", static_cast<long long>(p.StageRunning));
    Member(json, "StageCleared", static_cast<long long>(p.StageCleared));
    Member(json, "ScrollX", p.ScrollX);
    Member(json, "ScrollY", p.ScrollY);
    Member(json, "PlayerScreenX", p.PlayerScreenX);
    Member(json, "PlayerScreenY", static_cast<long long>(p.PlayerScreenY));
    Member(json, "FlameFrame", static_cast<long long>(p.FlameFrame));
    Member(json, "BlinkFrame", static_cast<long long>(p.BlinkFrame));
    Member(json, "RidingSideLift", static_cast<long long>(p.RidingSideLift));
    Member(json, "RidingUpDownLift", static_cast<long long>(p.RidingUpDownLift));
    Member(json, "RidingSinkingBlock", static_cast<long long>(p.RidingSinkingBlock));
    Member(json, "RidingSpikeBlockLeft", static_cast<long long>(p.RidingSpikeBlockLeft));
    Member(json, "RidingSpikeBlockRight", static_cast<long long>(p.RidingSpikeBlockRight));
    Member(json, "RidingSpikeBlockDown", static_cast<long long>(p.RidingSpikeBlockDown));
    Member(json, "misses", static_cast<long long>(game.run.misses));
    AppendObjectsTrace(game, json);
    json += "}";
    return json;
}

}  // namespace tumbleroo
