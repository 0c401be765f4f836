// Up-down lifts: blocks that rise and sink together by one shared offset
// between the map's bounds, carrying a player who stands on them.
#include "objects/object_support.h"
#include "objects/objects.h"
#include "player/movement.h"
#include "objects/move_contact.h"

namespace tumbleroo {

namespace {

constexpr size_t kUpDownLiftSlot = 1;
constexpr int16_t kLiftCell = 9;
constexpr double kHeadBumpSpeed = 3.0;

}  // namespace

void UpdateUpDownLifts(Game& game) {
    ObjectState& o = game.objects;
    PlayerState& p = game.player;
    const MapHeader& header = game.map.MapHeader;
    int16_t& direction = o.MoverState[kUpDownLiftSlot];

    if (direction == 0) {
        direction = 1;
        o.UpDownLiftOffset = 0;
    }
    p.RidingUpDownLift = kOff;
    const int16_t step = To16(direction * header.UpDownLiftSpeed);
    o.UpDownLiftOffset = To16(o.UpDownLiftOffset + step);
    const int32_t low = To16(header.UpDownLiftMin) * kCellPixels;
    const int32_t high = To16(header.UpDownLiftMax) * kCellPixels;
    if (o.UpDownLiftOffset < low || o.UpDownLiftOffset > high) direction = To16(-direction);

    for (size_t i = 0; i < o.UpDownLifts.size(); ++i) {
        const ContactFlags flags = MoveDrawPlaced(game, 0, step, o.UpDownLifts[i], kLiftCell);
        if (IsOn(flags.Above)) {
            p.RidingUpDownLift = kOn;
            p.Airborne = kOff;
        }
        if (IsOn(flags.Below)) p.VerticalSpeed = kHeadBumpSpeed;
        if (IsOn(flags.RightSide)) p.CanMoveLeft = kOff;
        if (IsOn(flags.LeftSide)) p.CanMoveRight = kOff;
    }

    if (!IsOn(p.RidingUpDownLift)) return;
    if (step < 0) {
        MoveUp(game, To16(-step));
    } else if (step > 0) {
        CarryPlayerDown(game, step);
        p.Airborne = kOff;
    }
}

}  // namespace tumbleroo
