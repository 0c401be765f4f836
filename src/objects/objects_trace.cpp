// Writes the object tables and their shared state as JSON for the driver's
// trace, so that a run can be followed object by object.
#include "objects/objects_trace.h"

#include <array>
#include <cstddef>
#include <vector>

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

void AppendMember(std::string& json, const char* name, int64_t value, bool first = false) {
    if (!first) json += ',';
    json += '"';
    json += name;
    json += "\":";
    json += std::to_string(value);
}

void AppendKey(std::string& json, const char* name) {
    json += ",\"";
    json += name;
    json += "\":";
}

void AppendActorFields(std::string& json, const Actor& a) {
    AppendMember(json, "X", a.X, true);
    AppendMember(json, "Y", a.Y);
    AppendMember(json, "VX", a.VX);
    AppendMember(json, "VY", a.VY);
    AppendMember(json, "Counter", a.Counter);
    AppendMember(json, "Alive", a.Alive);
}

void AppendPlaced(std::string& json, const PlacedTable& t, const ObjectState& o) {
    const std::vector<PlacedObject>& records = o.*t.table;
    AppendKey(json, t.name);
    json += '[';
    for (size_t i = 0; i < records.size(); ++i) {
        if (i != 0) json += ',';
        json += '{';
        AppendMember(json, "X", records[i].X, true);
        AppendMember(json, "Y", records[i].Y);
        json += '}';
    }
    json += ']';
}

void AppendActors(std::string& json, const ActorTable& t, const ObjectState& o) {
    const std::vector<Actor>& records = o.*t.table;
    AppendKey(json, t.name);
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
    AppendKey(json, "Orbiters");
    json += '[';
    for (size_t i = 0; i < o.Orbiters.size(); ++i) {
        if (i != 0) json += ',';
        json += '{';
        AppendActorFields(json, o.Orbiters[i]);
        AppendMember(json, "HitPoints", o.OrbiterHitPoints[i]);
        AppendMember(json, "CentreX", o.OrbiterCentreX[i]);
        AppendMember(json, "CentreY", o.OrbiterCentreY[i]);
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

    // Every member below is written with a leading comma; the first one's
    // is dropped when the object is closed.
    std::string members;
    for (const PlacedTable& t : kPlacedTables) {
        if (!(o.*t.table).empty()) AppendPlaced(members, t, o);
    }
    for (const ActorTable& t : kActorTables) {
        if (!(o.*t.table).empty()) AppendActors(members, t, o);
    }
    if (!o.Orbiters.empty()) AppendOrbiters(members, o);
    AppendKey(members, "MoverState");
    members += '[';
    for (size_t i = 0; i < o.MoverState.size(); ++i) {
        if (i != 0) members += ',';
        members += std::to_string(o.MoverState[i]);
    }
    members += ']';
    AppendMember(members, "SideLiftOffset", o.SideLiftOffset);
    AppendMember(members, "UpDownLiftOffset", o.UpDownLiftOffset);
    AppendMember(members, "SpikeBlockLeftOffset", o.SpikeBlockLeftOffset);
    AppendMember(members, "SpikeBlockRightOffset", o.SpikeBlockRightOffset);
    AppendMember(members, "SpikeBlockUpOffset", o.SpikeBlockUpOffset);
    AppendMember(members, "SpikeBlockDownOffset", o.SpikeBlockDownOffset);
    AppendMember(members, "SpikeBlockLeftWarning", o.SpikeBlockLeftWarning);
    AppendMember(members, "SpikeBlockRightWarning", o.SpikeBlockRightWarning);
    AppendMember(members, "SpikeBlockUpWarning", o.SpikeBlockUpWarning);
    AppendMember(members, "SpikeBlockDownWarning", o.SpikeBlockDownWarning);
    AppendMember(members, "SinkToggle", o.SinkToggle);
    AppendMember(members, "OrbitRadius", o.OrbitRadius);
    json += ",\"objects\":{";
    json.append(members, 1, std::string::npos);
    json += '}';
}

}  // namespace tumbleroo
