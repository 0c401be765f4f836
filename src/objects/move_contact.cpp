// Move and contact for one object per call; the contact windows are the
// game's rule for stomping, riding and being pushed by an object.
#include "objects/move_contact.h"

#include "core/cell.h"
#include "render/object_draw.h"

namespace tumbleroo {

namespace {

bool Between(int64_t low, int64_t v, int64_t high) { return low < v && v < high; }

}  // namespace

ContactFlags MeasureContact(const Game& game, int32_t x, int32_t y, int32_t size) {
    const int64_t s = size;
    const int64_t ddx = int64_t{game.player.PlayerX} - x;
    const int64_t ddy = int64_t{game.player.PlayerY} - y;
    ContactFlags flags;
    flags.Below = ToFlag(Between(s - 20, ddy, s + 5) && Between(-35, ddx, s - 5));
    flags.Above = ToFlag(Between(-50, ddy, -35) && Between(-35, ddx, s - 5));
    flags.RightSide = ToFlag(Between(-40, ddy, s) && Between(s - 15, ddx, s - 5));
    flags.LeftSide = ToFlag(Between(-40, ddy, s - 5) && Between(-35, ddx, -15));
    return flags;
}

ContactFlags MoveDrawPlaced(Game& game, int16_t dx, int16_t dy, PlacedObject& object, int16_t cell) {
    const ContactFlags flags = MeasureContact(game, object.X, object.Y, kCellPixels);
    object.X += dx;
    object.Y += dy;
    DrawObjectCell(game, cell, object.X, object.Y);
    return flags;
}

ContactFlags MoveDrawActor(Game& game, int16_t dx, int16_t dy, Actor& actor, int16_t cell, int32_t size) {
    const ContactFlags flags = MeasureContact(game, actor.X, actor.Y, size);
    actor.X += dx;
    actor.Y += dy;
    if (size == kCellPixels) DrawObjectCell(game, cell, actor.X, actor.Y);
    return flags;
}

}  // namespace tumbleroo
