// Spike blocks: four kinds of hazard block that travel in a group along one
// axis and jump back to their spawn cells after each run. The leading face
// is deadly, the others are solid, and some kinds can be ridden. The four
// kinds share one rule; a table row says what differs.
#include <array>
#include <cstdlib>

#include "objects/object_support.h"
#include "objects/objects.h"
#include "player/movement.h"
#include "objects/move_contact.h"
#include "shell/stage_flow.h"

namespace tumbleroo {

namespace {

// Frames of warning flames before a group jumps back.
constexpr int64_t kWarningFrames = 50;

enum class Reaction { Ride, StopRise, BlockLeft, BlockRight, Miss };
enum class Carry { None, Left, Right, Down };

struct ContactRule {
    Flag ContactFlags::*flag;
    Reaction reaction;
};

struct SpikeKind {
    std::vector<PlacedObject> ObjectState::*table;
    size_t moverSlot;
    int16_t MapHeader::*speed;
    int32_t MapHeader::*distance;
    // The offset is 32-bit for the horizontal kinds, 16-bit for the vertical.
    int32_t ObjectState::*offset32;
    int16_t ObjectState::*offset16;
    Flag ObjectState::*warning;
    Flag PlayerState::*riding;  // null for the kind that cannot be ridden
    bool horizontal;
    bool runsNegative;  // measured towards decreasing coordinates
    bool lastToFirst;
    int16_t cell;
    std::array<ContactRule, 4> rules;  // in the order they are tested
    Carry carry;
};

const SpikeKind kLeftKind{
    .table = &ObjectState::SpikeBlocksLeft,
    .moverSlot = 3,
    .speed = &MapHeader::SpikeBlockLeftSpeed,
    .distance = &MapHeader::SpikeBlockLeftDistance,
    .offset32 = &ObjectState::SpikeBlockLeftOffset,
    .offset16 = nullptr,
    .warning = &ObjectState::SpikeBlockLeftWarning,
    .riding = &PlayerState::RidingSpikeBlockLeft,
    .horizontal = true,
    .runsNegative = true,
    .lastToFirst = false,
    .cell = 5,
    .rules = {{{&ContactFlags::Above, Reaction::Ride},
               {&ContactFlags::LeftSide, Reaction::Miss},
               {&ContactFlags::Below, Reaction::StopRise},
               {&ContactFlags::RightSide, Reaction::BlockLeft}}},
    .carry = Carry::Left,
};

const SpikeKind kRightKind{
    .table = &ObjectState::SpikeBlocksRight,
    .moverSlot = 2,
    .speed = &MapHeader::SpikeBlockRightSpeed,
    .distance = &MapHeader::SpikeBlockRightDistance,
    .offset32 = &ObjectState::SpikeBlockRightOffset,
    .offset16 = nullptr,
    .warning = &ObjectState::SpikeBlockRightWarning,
    .riding = &PlayerState::RidingSpikeBlockRight,
    .horizontal = true,
    .runsNegative = false,
    .lastToFirst = true,
    .cell = 6,
    .rules = {{{&ContactFlags::Above, Reaction::Ride},
               {&ContactFlags::RightSide, Reaction::Miss},
               {&ContactFlags::Below, Reaction::StopRise},
               {&ContactFlags::LeftSide, Reaction::BlockRight}}},
    .carry = Carry::Right,
};

const SpikeKind kUpKind{
    .table = &ObjectState::SpikeBlocksUp,
    .moverSlot = 4,
    .speed = &MapHeader::SpikeBlockUpSpeed,
    .distance = &MapHeader::SpikeBlockUpDistance,
    .offset32 = nullptr,
    .offset16 = &ObjectState::SpikeBlockUpOffset,
    .warning = &ObjectState::SpikeBlockUpWarning,
    .riding = nullptr,
    .horizontal = false,
    .runsNegative = true,
    .lastToFirst = false,
    .cell = 8,
    .rules = {{{&ContactFlags::Above, Reaction::Miss},
               {&ContactFlags::Below, Reaction::StopRise},
               {&ContactFlags::RightSide, Reaction::BlockLeft},
               {&ContactFlags::LeftSide, Reaction::BlockRight}}},
    .carry = Carry::None,
};

const SpikeKind kDownKind{
    .table = &ObjectState::SpikeBlocksDown,
    .moverSlot = 5,
    .speed = &MapHeader::SpikeBlockDownSpeed,
    .distance = &MapHeader::SpikeBlockDownDistance,
    .offset32 = nullptr,
    .offset16 = &ObjectState::SpikeBlockDownOffset,
    .warning = &ObjectState::SpikeBlockDownWarning,
    .riding = &PlayerState::RidingSpikeBlockDown,
    .horizontal = false,
    .runsNegative = false,
    .lastToFirst = false,
    .cell = 7,
    .rules = {{{&ContactFlags::Above, Reaction::Ride},
               {&ContactFlags::Below, Reaction::Miss},
               {&ContactFlags::RightSide, Reaction::BlockLeft},
               {&ContactFlags::LeftSide, Reaction::BlockRight}}},
    .carry = Carry::Down,
};

int64_t ReadOffset(const ObjectState& o, const SpikeKind& kind) {
    return kind.offset32 != nullptr ? o.*kind.offset32 : o.*kind.offset16;
}

void WriteOffset(ObjectState& o, const SpikeKind& kind, int64_t value) {
    if (kind.offset32 != nullptr) {
        o.*kind.offset32 = static_cast<int32_t>(value);
    } else {
        o.*kind.offset16 = To16(value);
    }
}

void React(Game& game, const SpikeKind& kind, Reaction reaction) {
    PlayerState& p = game.player;
    switch (reaction) {
        case Reaction::Ride:
            p.*kind.riding = kOn;
            break;
        case Reaction::StopRise:
            p.VerticalSpeed = 0.0;
            break;
        case Reaction::BlockLeft:
            p.CanMoveLeft = kOff;
            break;
        case Reaction::BlockRight:
            p.CanMoveRight = kOff;
            break;
        case Reaction::Miss:
            RestartAfterMiss(game);
            break;
    }
}

void HandleBlock(Game& game, const SpikeKind& kind, size_t index, int16_t speed) {
    std::vector<PlacedObject>& blocks = game.objects.*kind.table;
    // A miss earlier in this loop spawns the tables again; the loop goes on
    // with the fresh records.
    if (index >= blocks.size()) return;
    const int16_t dx = kind.horizontal ? speed : 0;
    const int16_t dy = kind.horizontal ? 0 : speed;
    const ContactFlags flags = MoveDrawPlaced(game, dx, dy, blocks[index], kind.cell);
    for (const ContactRule& rule : kind.rules) {
        if (IsOn(flags.*rule.flag)) React(game, kind, rule.reaction);
    }
}

void CarryRider(Game& game, const SpikeKind& kind, int16_t speed) {
    switch (kind.carry) {
        case Carry::None:
            break;
        case Carry::Left:
            MoveLeft(game, To16(-speed));
            break;
        case Carry::Right:
            MoveRight(game, speed);
            break;
        case Carry::Down:
            CarryPlayerDown(game, speed);
            break;
    }
}

void UpdateSpikeKind(Game& game, const SpikeKind& kind) {
    ObjectState& o = game.objects;
    const MapHeader& header = game.map.MapHeader;

    if (o.MoverState[kind.moverSlot] == 0) {
        o.MoverState[kind.moverSlot] = 1;
        WriteOffset(o, kind, 0);
    }
    if (kind.riding != nullptr) game.player.*kind.riding = kOff;

    const int16_t speed = header.*kind.speed;
    const int64_t runPixels = int64_t{header.*kind.distance} * kCellPixels;
    WriteOffset(o, kind, ReadOffset(o, kind) + speed);
    const int64_t offset = ReadOffset(o, kind);

    const int64_t remaining = kind.runsNegative ? offset - runPixels : runPixels - offset;
    o.*kind.warning = ToFlag(kWarningFrames * std::abs(int64_t{speed}) > remaining);

    const bool runOver = kind.runsNegative ? offset < runPixels : offset > runPixels;
    if (runOver) {
        for (PlacedObject& block : o.*kind.table) {
            int32_t& coordinate = kind.horizontal ? block.X : block.Y;
            coordinate = static_cast<int32_t>(coordinate - offset);
        }
        WriteOffset(o, kind, 0);
    }

    const size_t count = (o.*kind.table).size();
    for (size_t n = 0; n < count; ++n) {
        HandleBlock(game, kind, kind.lastToFirst ? count - 1 - n : n, speed);
    }

    if (kind.riding != nullptr && IsOn(game.player.*kind.riding)) CarryRider(game, kind, speed);
}

}  // namespace

void UpdateSpikeBlocksLeft(Game& game) { UpdateSpikeKind(game, kLeftKind); }
void UpdateSpikeBlocksRight(Game& game) { UpdateSpikeKind(game, kRightKind); }
void UpdateSpikeBlocksUp(Game& game) { UpdateSpikeKind(game, kUpKind); }
void UpdateSpikeBlocksDown(Game& game) { UpdateSpikeKind(game, kDownKind); }

}  // namespace tumbleroo
