// Side lifts: blocks that slide left and right together by one shared
// offset between the map's bounds, carrying a player who stands on them.
#include "objects/object_support.h"
#include "objects/objects.h"
#include "player/movement.h"
#include "objects/move_contact.h"

namespace tumbleroo {

namespace {

constexpr size_t kSideLiftSlot = 0;
constexpr int16_t kLiftCell = 9;
constexpr double kHeadBumpSpeed = -5.0;

}  // namespace

void UpdateSideLifts(Game& game) {
    ObjectState& o = game.objects;
    PlayerState& p = game.player;
    const MapHeader& header = game.map.MapHeader;
    int16_t& direction = o.MoverState[kSideLiftSlot];

    if (direction == 0) {
        o.SideLiftOffset = 0;
        direction = 1;
    }
    p.RidingSideLift = kOff;
    const int16_t step = To16(direction * header.SideLiftSpeed);
    o.SideLiftOffset = To16(o.SideLiftOffset + step);
    // The step of this frame is made in full; the group turns from the next.
    const int32_t low = To16(header.SideLiftMin) * kCellPixels;
    const int32_t high = To16(header.SideLiftMax) * kCellPixels;
    if (o.SideLiftOffset < low || o.SideLiftOffset > high) direction = To16(-direction);

    for (size_t i = 0; i < o.SideLifts.size(); ++i) {
        const ContactFlags flags = MoveDrawPlaced(game, step, 0, o.SideLifts[i], kLiftCell);
        if (IsOn(flags.Above)) p.RidingSideLift = kOn;
        if (IsOn(flags.Below)) p.VerticalSpeed = kHeadBumpSpeed;
        if (IsOn(flags.RightSide)) {
            p.CanMoveLeft = kOff;
            p.PushLeft = kOn;
        }
        if (IsOn(flags.LeftSide)) {
            p.CanMoveRight = kOff;
            p.PushRight = kOn;
        }
    }

    // In a turning frame the step keeps its old sign, so the player moves
    // exactly as far as the lifts did.
    if (!IsOn(p.RidingSideLift) || step == 0) return;
    if (direction == 1) {
        MoveRight(game, step);
    } else if (direction == -1) {
        MoveLeft(game, To16(-step));
    }
}

}  // namespace tumbleroo
