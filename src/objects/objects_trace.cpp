// Writes the object tables and their shared state as JSON for the driver's
// trace, so that a run can be followed object by object.
#include "objects/objects_trace.h"

#include <array>
#include <cstddef>
#include <vector>

#include "platform/json_line.h"
#include "shell/game.h"

namespace tumbleroo {

namespace {

struct PlacedTable {
    const char* name;
    std::vector<PlacedObject> ObjectState::*table;
};
struct ActorTable {
    const char* name;
    std::vector<Actor> ObjectState::*table;
};

constexpr std::array<PlacedTable, 7> kPlacedTables{{
    {"SideLifts", &ObjectState::SideLifts},
    {"UpDownLifts", &ObjectState::UpDownLifts},
    {"SinkingBlocks", &ObjectState::SinkingBlocks},
    {"SpikeBlocksLeft", &ObjectState::SpikeBlocksLeft},
    {"SpikeBlocksRight", &ObjectState::SpikeBlocksRight},
    {"SpikeBlocksUp", &ObjectState::SpikeBlocksUp},
    {"SpikeBlocksDown", &ObjectState::SpikeBlocksDown},
}};

constexpr std::array<ActorTable, 5> kActorTables{{
    {"BluePenguins", &ObjectState::BluePenguins},
    {"RedPenguins", &ObjectState::RedPenguins},
    {"BouncingStars", &ObjectState::BouncingStars},
    {"StarCarriers", &ObjectState::StarCarriers},
    {"Monkeys", &ObjectState::Monkeys},
}};

void AppendActorFields(std::string& json, const Actor& a) {
    AppendJsonMember(json, "X", a.X);
    AppendJsonMember(json, "Y", a.Y);
    AppendJsonMember(json, "VX", a.VX);
    AppendJsonMember(json, "VY", a.VY);
    AppendJsonMember(json, "Counter", a.Counter);
    AppendJsonMember(json, "Alive", a.Alive);
}

void AppendPlaced(std::string& json, const PlacedTable& t, const ObjectState& o) {
    const std::vector<PlacedObject>& records = o.*t.table;
    AppendJsonKey(json, t.name);
    json += '[';
    for (size_t i = 0; i < records.size(); ++i) {
        if (i != 0) json += ',';
        json += '{';
        AppendJsonMember(json, "X", records[i].X);
        AppendJsonMember(json, "Y", records[i].Y);
        json += '}';
    }
    json += ']';
}

void AppendActors(std::string& json, const ActorTable& t, const ObjectState& o) {
    const std::vector<Actor>& records = o.*t.table;
    AppendJsonKey(json, t.name);
    json += '[';
    for (size_t i = 0; i < records.size(); ++i) {
        if (i != 0) json += ',';
        json += '{';
        AppendActorFields(json, records[i]);
        json += '}';
    }
    json += ']';
}

void AppendOrbiters(std::string& json, const ObjectState& o) {
    AppendJsonKey(json, "Orbiters");
    json += '[';
    for (size_t i = 0; i < o.Orbiters.size(); ++i) {
        if (i != 0) json += ',';
        json += '{';
        AppendActorFields(json, o.Orbiters[i]);
        AppendJsonMember(json, "HitPoints", o.OrbiterHitPoints[i]);
        AppendJsonMember(json, "CentreX", o.OrbiterCentreX[i]);
        AppendJsonMember(json, "CentreY", o.OrbiterCentreY[i]);
        json += '}';
    }
    json += ']';
}

bool HasObjects(const ObjectState& o) {
    for (const PlacedTable& t : kPlacedTables) {
        if (!(o.*t.table).empty()) return true;
    }
    for (const ActorTable& t : kActorTables) {
        if (!(o.*t.table).empty()) return true;
    }
    return !o.Orbiters.empty();
}

}  // namespace

void AppendObjectsTrace(const Game& game, std::string& json) {
    const ObjectState& o = game.objects;
    if (!HasObjects(o)) return;

    AppendJsonKey(json, "objects");
    json += '{';
    for (const PlacedTable& t : kPlacedTables) {
        if (!(o.*t.table).empty()) AppendPlaced(json, t, o);
    }
    for (const ActorTable& t : kActorTables) {
        if (!(o.*t.table).empty()) AppendActors(json, t, o);
    }
    if (!o.Orbiters.empty()) AppendOrbiters(json, o);
    AppendJsonKey(json, "MoverState");
    json += '[';
    for (size_t i = 0; i < o.MoverState.size(); ++i) {
        if (i != 0) json += ',';
        json += std::to_string(o.MoverState[i]);
    }
    json += ']';
    AppendJsonMember(json, "SideLiftOffset", o.SideLiftOffset);
    AppendJsonMember(json, "UpDownLiftOffset", o.UpDownLiftOffset);
    AppendJsonMember(json, "SpikeBlockLeftOffset", o.SpikeBlockLeftOffset);
    AppendJsonMember(json, "SpikeBlockRightOffset", o.SpikeBlockRightOffset);
    AppendJsonMember(json, "SpikeBlockUpOffset", o.SpikeBlockUpOffset);
    AppendJsonMember(json, "SpikeBlockDownOffset", o.SpikeBlockDownOffset);
    AppendJsonMember(json, "SpikeBlockLeftWarning", o.SpikeBlockLeftWarning);
    AppendJsonMember(json, "SpikeBlockRightWarning", o.SpikeBlockRightWarning);
    AppendJsonMember(json, "SpikeBlockUpWarning", o.SpikeBlockUpWarning);
    AppendJsonMember(json, "SpikeBlockDownWarning", o.SpikeBlockDownWarning);
    AppendJsonMember(json, "SinkToggle", o.SinkToggle);
    AppendJsonMember(json, "OrbitRadius", o.OrbitRadius);
    json += '}';
}

}  // namespace tumbleroo
