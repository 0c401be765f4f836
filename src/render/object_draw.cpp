// Move, contact and draw for one object per call. The contact flags tell
// where the player stands relative to the object before it moves; the
// picture is drawn where the object stands after the move.
#include "render/object_draw.h"

#include "objects/object_support.h"
#include "render/display.h"

namespace tumbleroo {

namespace {

constexpr int32_t kDefaultSize = 20;

bool Between(int64_t low, int64_t v, int64_t high) { return low < v && v < high; }

void DrawCell(Game& game, int16_t cell, int32_t x, int32_t y) {
    DrawPicture(game, game.pictures->ObjPictures, kCellPixels * cell, 0, kCellPixels, kCellPixels,
                ScreenX(game, x), ScreenY(game, y));
}

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
    const ContactFlags flags = MeasureContact(game, object.X, object.Y, kDefaultSize);
    object.X += dx;
    object.Y += dy;
    DrawCell(game, cell, object.X, object.Y);
    return flags;
}

ContactFlags MoveDrawActor(Game& game, int16_t dx, int16_t dy, Actor& actor, int16_t cell,
                           int32_t& size) {
    if (size == 0) size = kDefaultSize;
    const ContactFlags flags = MeasureContact(game, actor.X, actor.Y, size);
    actor.X += dx;
    actor.Y += dy;
    // Larger kinds draw themselves.
    if (size == kDefaultSize) DrawCell(game, cell, actor.X, actor.Y);
    return flags;
}

}  // namespace tumbleroo
