// The object tables: built from the map's object cells at the start of every
// attempt, and updated kind after kind once per frame.
#include "objects/objects.h"

#include <array>
#include <cstddef>

#include "core/terrain.h"
#include "objects/object_support.h"
#include "player/movement.h"
#include "render/display.h"

namespace tumbleroo {

namespace {

constexpr size_t kCodeCount = 256;

constexpr int16_t kOrbiterHitPoints = 5;
constexpr int32_t kOrbiterAngleSpacingDegrees = 100;

// One row per map code that places an object: its table, and whether the
// cell is emptied (the kinds that leave their cell) or keeps its code.
struct PlacedKind {
    Terrain code;
    std::vector<PlacedObject> ObjectState::*table;
    bool clearsCell;
};
struct ActorKind {
    Terrain code;
    std::vector<Actor> ObjectState::*table;
};

constexpr std::array<PlacedKind, 7> kPlacedKinds{{
    {Terrain::SideLift, &ObjectState::SideLifts, false},
    {Terrain::UpDownLift, &ObjectState::UpDownLifts, false},
    {Terrain::SpikeBlockLeft, &ObjectState::SpikeBlocksLeft, false},
    {Terrain::SpikeBlockRight, &ObjectState::SpikeBlocksRight, false},
    {Terrain::SpikeBlockUp, &ObjectState::SpikeBlocksUp, false},
    {Terrain::SpikeBlockDown, &ObjectState::SpikeBlocksDown, false},
    {Terrain::SinkingBlock, &ObjectState::SinkingBlocks, true},
}};

constexpr std::array<ActorKind, 6> kActorKinds{{
    {Terrain::BluePenguin, &ObjectState::BluePenguins},
    {Terrain::BouncingStar, &ObjectState::BouncingStars},
    {Terrain::RedPenguin, &ObjectState::RedPenguins},
    {Terrain::StarCarrier, &ObjectState::StarCarriers},
    {Terrain::Monkey, &ObjectState::Monkeys},
    {Terrain::Orbiter, &ObjectState::Orbiters},
}};

// Counting pass: how many cells hold each code.
std::array<int32_t, kCodeCount> CountCodes(const MapState& map) {
    std::array<int32_t, kCodeCount> counts{};
    for (int32_t x = 0; x < map.MapWidth; ++x) {
        for (int32_t y = 0; y < map.MapHeight; ++y) ++counts[map.Cell(x, y)];
    }
    return counts;
}

// Every table gets room for its count with all fields 0. assign keeps the
// storage when the count does not grow, so an update that causes a miss
// (which spawns again) goes on with the fresh records of the same map.
void SizeTables(ObjectState& o, const std::array<int32_t, kCodeCount>& counts) {
    for (const PlacedKind& kind : kPlacedKinds) {
        (o.*kind.table).assign(static_cast<size_t>(counts[CodeOf(kind.code)]), PlacedObject{});
    }
    for (const ActorKind& kind : kActorKinds) {
        (o.*kind.table).assign(static_cast<size_t>(counts[CodeOf(kind.code)]), Actor{});
    }
    const size_t orbiters = o.Orbiters.size();
    o.OrbiterHitPoints.assign(orbiters, 0);
    o.OrbiterCentreX.assign(orbiters, 0);
    o.OrbiterCentreY.assign(orbiters, 0);
}

// Filling pass, in the counting order: column by column, each column top
// to bottom.
void FillTables(MapState& map, ObjectState& o) {
    std::array<size_t, kCodeCount> next{};
    for (int32_t x = 0; x < map.MapWidth; ++x) {
        for (int32_t y = 0; y < map.MapHeight; ++y) {
            const uint8_t code = map.Cell(x, y);
            for (const PlacedKind& kind : kPlacedKinds) {
                if (!Is(code, kind.code)) continue;
                PlacedObject& rec = (o.*kind.table)[next[code]++];
                rec.X = x * kCellPixels;
                rec.Y = y * kCellPixels;
                if (kind.clearsCell) map.Cell(x, y) = CodeOf(Terrain::Empty);
            }
            for (const ActorKind& kind : kActorKinds) {
                if (!Is(code, kind.code)) continue;
                Actor& rec = (o.*kind.table)[next[code]++];
                rec.X = x * kCellPixels;
                rec.Y = y * kCellPixels;
                map.Cell(x, y) = CodeOf(Terrain::Empty);
            }
        }
    }
}

int16_t RandomDirection(Game& game) { return game.random.Next() < 0.5 ? 1 : -1; }

void SetInitialValues(Game& game) {
    ObjectState& o = game.objects;
    for (Actor& star : o.BouncingStars) {
        star.VX = RandomDirection(game);
        star.VY = RandomDirection(game);
        star.Alive = kOn;
    }
    for (Actor& carrier : o.StarCarriers) {
        carrier.VX = 1;
        carrier.VY = 0;
    }
    for (Actor& penguin : o.BluePenguins) {
        penguin.VX = 1;
        penguin.Alive = kOn;
    }
    for (Actor& penguin : o.RedPenguins) {
        penguin.VX = 1;
        penguin.Alive = kOn;
    }
    for (Actor& monkey : o.Monkeys) {
        monkey.VX = 1;
        monkey.Alive = kOn;
    }
    // Orbiters of one map start 100 degrees apart, three to a cycle.
    for (size_t i = 0; i < o.Orbiters.size(); ++i) {
        Actor& orbiter = o.Orbiters[i];
        o.OrbiterHitPoints[i] = kOrbiterHitPoints;
        orbiter.VX = 1;
        orbiter.Alive = kOn;
        o.OrbiterCentreX[i] = orbiter.X;
        o.OrbiterCentreY[i] = orbiter.Y;
        orbiter.Counter = static_cast<int32_t>(i % 3) * kOrbiterAngleSpacingDegrees;
    }
}

void StoreCoinCount(Game& game, int32_t coins) {
    auto& records = game.records.CourseRecords;
    const size_t stage = static_cast<size_t>(game.run.SelectedStage);
    const size_t course = static_cast<size_t>(game.run.SelectedCourse);
    // A map played outside the stage table (a test or demonstration map)
    // has no record to count into.
    if (stage >= records.size() || course >= records[stage].size()) return;
    records[stage][course].CoinCount = coins;
}

struct UpdateStep {
    size_t (*count)(const ObjectState&);
    void (*update)(Game&);
};

// The fixed update order: later kinds draw over earlier ones and have the
// last word on the player state they share.
const std::array<UpdateStep, 13> kUpdateOrder{{
    {[](const ObjectState& o) { return o.SpikeBlocksRight.size(); }, UpdateSpikeBlocksRight},
    {[](const ObjectState& o) { return o.SpikeBlocksLeft.size(); }, UpdateSpikeBlocksLeft},
    {[](const ObjectState& o) { return o.SideLifts.size(); }, UpdateSideLifts},
    {[](const ObjectState& o) { return o.UpDownLifts.size(); }, UpdateUpDownLifts},
    {[](const ObjectState& o) { return o.SinkingBlocks.size(); }, UpdateSinkingBlocks},
    {[](const ObjectState& o) { return o.SpikeBlocksUp.size(); }, UpdateSpikeBlocksUp},
    {[](const ObjectState& o) { return o.SpikeBlocksDown.size(); }, UpdateSpikeBlocksDown},
    {[](const ObjectState& o) { return o.BluePenguins.size(); }, UpdateBluePenguins},
    {[](const ObjectState& o) { return o.RedPenguins.size(); }, UpdateRedPenguins},
    {[](const ObjectState& o) { return o.BouncingStars.size(); }, UpdateBouncingStars},
    {[](const ObjectState& o) { return o.StarCarriers.size(); }, UpdateStarCarriers},
    {[](const ObjectState& o) { return o.Monkeys.size(); }, UpdateMonkeys},
    {[](const ObjectState& o) { return o.Orbiters.size(); }, UpdateOrbiters},
}};

}  // namespace

void SpawnObjects(Game& game) {
    const std::array<int32_t, kCodeCount> counts = CountCodes(game.map);
    SizeTables(game.objects, counts);
    FillTables(game.map, game.objects);
    SetInitialValues(game);
    StoreCoinCount(game, counts[CodeOf(Terrain::Coin)]);
}

void UpdateObjects(Game& game) {
    for (const UpdateStep& step : kUpdateOrder) {
        if (step.count(game.objects) != 0) step.update(game);
    }
}

void CarryPlayerDown(Game& game, int16_t step) {
    // With a riding flag on, the floor test stands the player on the block
    // at once: it lands the player without moving.
    MoveDown(game, step);
    if (step > 0) game.player.PlayerY += step;
}

}  // namespace tumbleroo
