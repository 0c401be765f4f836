// Sinking blocks: they sink while stood on and rise while bumped from
// below, moving on every second push counted over all blocks together.
#include "objects/object_support.h"
#include "objects/objects.h"
#include "render/display.h"
#include "objects/move_contact.h"

namespace tumbleroo {

namespace {

constexpr int16_t kRestCell = 28;
constexpr int16_t kPressedCell = 9;
constexpr int16_t kDustCell = 16;
constexpr int32_t kDustRisePixels = 10;
constexpr int16_t kSinkPixels = 5;
constexpr int16_t kRisePixels = -10;

// One push on a block: every second push (shared by all blocks) moves it.
void SinkStep(Game& game, PlacedObject& block, int16_t step) {
    ObjectState& o = game.objects;
    if (o.SinkToggle == 1) {
        MoveDrawPlaced(game, 0, step, block, kPressedCell);
        o.SinkToggle = 0;
    } else {
        o.SinkToggle = 1;
    }
    DrawPicture(game, game.pictures->ObjPictures, kCellPixels * kDustCell, 0, kCellPixels,
                kCellPixels, ScreenX(game, block.X), ScreenY(game, block.Y - kDustRisePixels));
}

}  // namespace

void UpdateSinkingBlocks(Game& game) {
    ObjectState& o = game.objects;
    PlayerState& p = game.player;
    p.RidingSinkingBlock = kOff;
    for (size_t i = 0; i < o.SinkingBlocks.size(); ++i) {
        PlacedObject& block = o.SinkingBlocks[i];
        const ContactFlags flags = MoveDrawPlaced(game, 0, 0, block, kRestCell);
        if (IsOn(flags.Above)) {
            p.RidingSinkingBlock = kOn;
            SinkStep(game, block, kSinkPixels);
        }
        if (IsOn(flags.Below)) {
            p.VerticalSpeed = 0.0;
            SinkStep(game, block, kRisePixels);
        }
        if (IsOn(flags.RightSide)) p.CanMoveLeft = kOff;
        if (IsOn(flags.LeftSide)) p.CanMoveRight = kOff;
    }
}

}  // namespace tumbleroo
