// Panel frames: the borders of the course-select and settings panels,
// assembled from the eight 30 x 30 pieces of Picture1.
#include "render/panel.h"

#include "render/display.h"
#include "shell/game.h"

namespace tumbleroo {

namespace {

constexpr int32_t kPiece = 30;

// Source x of each frame piece in Picture1.
constexpr int32_t kTopEdge = 0;
constexpr int32_t kLeftEdge = 30;
constexpr int32_t kTopRight = 60;
constexpr int32_t kTopLeft = 90;
constexpr int32_t kBottomLeft = 120;
constexpr int32_t kBottomRight = 150;
constexpr int32_t kBottomEdge = 180;
constexpr int32_t kRightEdge = 210;

void DrawPiece(Game& game, int32_t sourceX, int32_t x, int32_t y) {
    DrawPicture(game, game.pictures->Picture1, sourceX, 0, kPiece, kPiece, x, y);
}

}  // namespace

void DrawPanelFrame(Game& game, int32_t x, int32_t y, int32_t cols, int32_t rows) {
    // The far corners sit at (cols - 1) and (rows - 1) pieces; with a size of
    // 1 or 0 they land on or before the near ones, which the entrance
    // animations rely on while the panel grows.
    const int32_t right = x + kPiece * (cols - 1);
    const int32_t bottom = y + kPiece * (rows - 1);
    DrawPiece(game, kTopLeft, x, y);
    DrawPiece(game, kBottomLeft, x, bottom);
    DrawPiece(game, kTopRight, right, y);
    DrawPiece(game, kBottomRight, right, bottom);
    for (int32_t px = x + kPiece; px <= x + kPiece * (cols - 2); px += kPiece) {
        DrawPiece(game, kTopEdge, px, y);
        DrawPiece(game, kBottomEdge, px, bottom);
    }
    for (int32_t py = y + kPiece; py <= y + kPiece * (rows - 2); py += kPiece) {
        DrawPiece(game, kLeftEdge, x, py);
        DrawPiece(game, kRightEdge, right, py);
    }
}

}  // namespace tumbleroo
