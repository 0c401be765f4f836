// Drawing one object's picture: every one-cell kind is a cell of the
// object sheet.
#include "render/object_draw.h"

#include "render/display.h"

namespace tumbleroo {

void DrawObjectCell(Game& game, int16_t cell, int32_t x, int32_t y) {
    DrawPicture(game, game.pictures->ObjPictures, kCellPixels * cell, 0, kCellPixels, kCellPixels,
                ScreenX(game, x), ScreenY(game, y));
}

}  // namespace tumbleroo
