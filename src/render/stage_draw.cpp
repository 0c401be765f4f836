// The camera and everything drawn in a stage frame except the objects.
#include "render/stage_draw.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "core/cell.h"
#include "core/terrain.h"
#include "platform/table_index.h"
#include "render/display.h"
#include "shell/game.h"

namespace tumbleroo {

namespace {

// The goal flag in Choice, drawn this far above the top of its place.
struct PictureArea {
    int32_t x, y, width, height;
};
constexpr PictureArea kGoalFlagArea{53, 265, 24, 44};
constexpr int32_t kGoalFlagRisePixels = 20;

constexpr int32_t kScreenColumns = 32;
constexpr int32_t kScreenRows = 24;
constexpr double kViewRightFacingX = 230;  // more room ahead when facing right
constexpr double kViewLeftFacingX = 330;
constexpr double kViewFixedX = 280;
constexpr int32_t kPlayerScreenY = 270;
constexpr int32_t kSkyStripWidth = 127, kSkyStripHeight = 24;
constexpr int32_t kGroundStripWidth = 127, kGroundStripHeight = 48;
constexpr int32_t kGroundStripStepPx = 120;  // strips overlap a little
// Sky decorations: one place per 400 x 80 pixels, about two in three filled,
// shifted right by up to 6 x 40 and down by up to 3 x 8 pixels.
constexpr int32_t kSkyPlaceWidthPx = 400, kSkyPlaceHeightPx = 80;
constexpr uint32_t kSkyGapEvery = 3;
constexpr uint32_t kSkyShiftSteps = 7, kSkyRiseSteps = 4;
constexpr int32_t kSkyShiftStepPx = 40, kSkyRiseStepPx = 8;
constexpr uint32_t kSkyRiseBitsFrom = 8;  // the rise takes other bits than the shift
constexpr int32_t kClearSkyBandPx = 8 * 20;  // the lowest eight cell rows

constexpr int32_t kWaterBodyCell = 11, kWaterSurfaceCell = 15;

int Sign(double v) { return (v > 0) - (v < 0); }

// A well-mixed number for a place of the sky, the same in every frame.
uint32_t Scatter(int32_t column, int32_t row) {
    uint32_t v = static_cast<uint32_t>(column) * 73856093u ^ static_cast<uint32_t>(row) * 19349663u;
    v ^= v >> 13;
    v *= 0x5bd1e995u;
    return v ^ (v >> 15);
}

// The first multiple of `step` (from 0) at which something `reach` pixels
// wide can still show right of the screen's left edge at `originX`.
int32_t FirstStepReaching(double originX, int32_t reach, int32_t step) {
    const int32_t leftmost = static_cast<int32_t>(std::floor(originX)) - reach;
    return leftmost <= 0 ? 0 : leftmost / step * step;
}

// An ObjPictures cell drawn keyed at a screen point.
void DrawObjCell(Game& game, int32_t cell, int32_t x, int32_t y) {
    DrawPicture(game, game.pictures->ObjPictures, kCellPixels * cell, 0, kCellPixels, kCellPixels, x, y);
}

// Whether the spike block of this spawn cell is warning.
bool SpikeBlockWarns(const ObjectState& o, Terrain spawn) {
    switch (spawn) {
        case Terrain::SpikeBlockLeft: return IsOn(o.SpikeBlockLeftWarning);
        case Terrain::SpikeBlockRight: return IsOn(o.SpikeBlockRightWarning);
        case Terrain::SpikeBlockUp: return IsOn(o.SpikeBlockUpWarning);
        case Terrain::SpikeBlockDown: return IsOn(o.SpikeBlockDownWarning);
        default: return false;
    }
}

// The ObjPictures cell a map code shows; -1 = nothing.
int32_t CellPictureFor(const Game& game, int32_t code, bool openAbove) {
    const PlayerState& p = game.player;
    const TerrainRow& row = RowOf(code);
    switch (row.look) {
        case Look::Cell: return row.picture;
        case Look::ConveyorFrames: return p.BlinkFrame + row.picture;
        case Look::WaterCell: return openAbove ? kWaterSurfaceCell : kWaterBodyCell;
        case Look::WarningFlame:
            return SpikeBlockWarns(game.objects, static_cast<Terrain>(code)) ? p.FlameFrame : -1;
        case Look::SlidingFrames: return p.BlinkFrame == 2 ? row.picture : row.picture + 1;
        default: return -1;
    }
}

// A coin or red star among water cells: water to its left, right or above.
// Water only below leaves it above the surface, in the air.
bool SitsInWater(const MapState& m, int32_t x, int32_t y) {
    const auto water = [&m](int32_t cx, int32_t cy) {
        return cx >= 0 && cy >= 0 && cx < m.MapWidth && cy < m.MapHeight && Is(m.Cell(cx, cy), Terrain::Water);
    };
    return water(x - 1, y) || water(x + 1, y) || water(x, y - 1);
}

}  // namespace

void UpdateCamera(Game& game) {
    PlayerState& p = game.player;
    double& target = game.camera.ViewTargetX;
    if (IsOn(game.settings.AutoView)) {
        if (p.Pose == Pose::Right) target -= 2 * Sign(target - kViewRightFacingX);
        if (p.Pose == Pose::Left) target -= 2 * Sign(target - kViewLeftFacingX);
    } else {
        target = kViewFixedX;
    }
    p.ScrollX = (p.PlayerX - target) / kCellPixels;
    p.ScrollY = (p.PlayerY - kPlayerScreenY) / static_cast<double>(kCellPixels);
    if (p.ScrollX < 0) p.ScrollX = 0;
    if (p.ScrollX > game.map.MapWidth - kScreenColumns) p.ScrollX = game.map.MapWidth - kScreenColumns;
    if (!(p.ScrollY >= 0)) p.ScrollY = 0;
    if (p.ScrollY > game.map.MapHeight - kScreenRows) p.ScrollY = game.map.MapHeight - kScreenRows;
    p.PlayerScreenX = p.PlayerX - kCellPixels * p.ScrollX;
    p.PlayerScreenY = Round32(p.PlayerY - kCellPixels * p.ScrollY);
}

void DrawBackground(Game& game) {
    ClearSurface(game.display.BackBuffer, game.player.StageBackPixel);
    if (!IsOn(game.settings.DrawBack)) return;
    const PlayerState& p = game.player;
    const int32_t style = game.map.GroundStyle;
    const int32_t w = kCellPixels * game.map.MapWidth;
    const int32_t h = std::min(kCellPixels * game.map.MapHeight, 500);
    const double originX = kCellPixels * p.ScrollX;
    const double originY = kCellPixels * p.ScrollY;
    const Surface& strips = game.pictures->NumberP;

    // Sky decorations, scattered: each place of a coarse grid gets a
    // decoration or not, and a shift of its own, so no grid shows; the
    // lowest rows of the map (ground level, pits) keep a clear sky.
    // Only places whose strip can reach the screen are visited.
    const int32_t skyBottom = kCellPixels * game.map.MapHeight - kClearSkyBandPx;
    const int32_t skyReachPx = kSkyStripWidth + static_cast<int32_t>(kSkyShiftSteps - 1) * kSkyShiftStepPx;
    const int32_t firstPlace = FirstStepReaching(originX, skyReachPx, kSkyPlaceWidthPx);
    const int32_t skyEnd = std::min(w, static_cast<int32_t>(originX) + kScreenWidth);
    for (int32_t k = firstPlace; k <= skyEnd; k += kSkyPlaceWidthPx) {
        for (int32_t i = 0; i <= std::min(h, skyBottom - kSkyStripHeight); i += kSkyPlaceHeightPx) {
            const uint32_t place = Scatter(k / kSkyPlaceWidthPx, i / kSkyPlaceHeightPx);
            if (place % kSkyGapEvery == 0) continue;
            const int32_t x = k + static_cast<int32_t>(place / kSkyGapEvery % kSkyShiftSteps) * kSkyShiftStepPx;
            const int32_t y = i + static_cast<int32_t>((place >> kSkyRiseBitsFrom) % kSkyRiseSteps) * kSkyRiseStepPx;
            DrawPicture(game, strips, 0, kSkyStripHeight * (3 * style - 2), kSkyStripWidth,
                        kSkyStripHeight, Round32(x - originX), Round32(y - originY));
        }
    }
    // The ground line along the bottom of the map.
    const double groundY = kCellPixels * game.map.MapHeight - originY - 40;
    const int32_t groundEnd = std::min(w, static_cast<int32_t>(originX) + kScreenWidth);
    for (int32_t i = FirstStepReaching(originX, kGroundStripWidth, kGroundStripStepPx); i <= groundEnd;
         i += kGroundStripStepPx) {
        DrawPicture(game, strips, 0, kSkyStripHeight * (3 * style - 1), kGroundStripWidth,
                    kGroundStripHeight, Round32(i - originX), Round32(groundY));
    }
}

void DrawMap(Game& game, double sx, double sy) {
    const MapState& m = game.map;
    const double xe = std::min(sx + kScreenColumns, static_cast<double>(m.MapWidth - 1));
    const double ye = std::min(sy + kScreenRows, static_cast<double>(m.MapHeight - 1));
    const int32_t innerTile = 2 * m.GroundStyle - 2;
    const int32_t topTile = 2 * m.GroundStyle - 1;
    const Surface& choice = game.pictures->Choice;
    for (int32_t x = static_cast<int32_t>(std::floor(sx)) - 1; x <= xe; ++x) {
        if (x < 0) continue;
        for (int32_t y = static_cast<int32_t>(std::floor(sy)) - 1; y <= ye; ++y) {
            if (y < 0) continue;
            const int32_t code = m.Cell(x, y);
            if (Is(code, Terrain::Empty)) continue;
            const int32_t X = Round32((x - sx) * kCellPixels);
            const int32_t Y = Round32((y - sy) * kCellPixels);
            // Row 0 has open sky above it, as the player's probes see it.
            const int32_t above = y > 0 ? m.Cell(x, y - 1) : CodeOf(Terrain::Empty);
            const bool openAbove = Is(above, Terrain::Empty);
            switch (RowOf(code).look) {
                case Look::GroundBlock: {
                    const int32_t tile = Is(above, Terrain::Ground) ? innerTile : topTile;
                    BlitClipped(game.display.BackBuffer, X, Y, kCellPixels, kCellPixels, kScreenWidth,
                                kScreenHeight, game.pictures->BlockPic, kCellPixels * tile, 0, 0, 0, false);
                    break;
                }
                case Look::GoalFlag: DrawGoalFlag(game, X, Y); break;
                case Look::CannonBody: DrawPicture(game, choice, 0, 265, 50, 50, X - 30, Y - 30); break;
                case Look::GateArch: DrawPicture(game, choice, 100, 236, 45, 79, X - 12, Y - 19); break;
                default: {
                    // Water shows behind a pickup in it; the cell itself stays a pickup.
                    if (RowOf(code).pickup && SitsInWater(m, x, y)) {
                        DrawObjCell(game, openAbove ? kWaterSurfaceCell : kWaterBodyCell, X, Y);
                    }
                    const int32_t cell = CellPictureFor(game, code, openAbove);
                    if (cell >= 0) DrawObjCell(game, cell, X, Y);
                }
            }
        }
    }
    DrawStatusLine(game);
}

void DrawStatusLine(Game& game) {
    const PlayerState& p = game.player;
    DrawObjCell(game, 0, 0, 5);
    const std::string text = " " + std::to_string(p.CoinsCollected);
    for (int32_t j = 0; j < 6; ++j) {
        const size_t fromRight = static_cast<size_t>(6 - j);
        const char c = fromRight <= text.size() ? text[text.size() - fromRight] : text[0];
        const int32_t digit = (c >= '0' && c <= '9') ? c - '0' : 0;
        DrawPicture(game, game.pictures->NumberP, 12 * digit, 0, 12, 24, 32 + 12 * j, 5);
    }
    const Surface& stage = game.pictures->StagePic;
    DrawPicture(game, stage, 0, 0, 85, 33, 120, 0);
    DrawPicture(game, stage, (game.run.SelectedStage - 1) * 20, 35, 20, 26, 215, 5);
    DrawPicture(game, stage, 100, 35, 20, 26, 235, 5);
    DrawPicture(game, stage, (game.run.SelectedCourse - 1) * 20, 35, 20, 26, 255, 5);
}

void DrawPlayer(Game& game, int32_t x, int32_t y) {
    const PlayerState& p = game.player;
    DrawPicture(game, game.pictures->CharPic, 40 * p.WalkFrame, 40 * PictureRow(p.Pose), 40, 40, x, y);
}

void DrawTrail(Game& game) {
    PlayerState& p = game.player;
    CameraState& c = game.camera;
    ++c.TrailCounter;
    if (c.TrailRing == 11) c.TrailRing = 0;
    bool recorded = false;
    if (c.TrailCounter >= 3) {
        c.TrailCounter = 0;
        p.TrailX[AsIndex(c.TrailRing)] = To16(RoundHalfEven(p.PlayerX + 8 * game.random.Next() - 4));
        p.TrailY[AsIndex(c.TrailRing)] = To16(p.PlayerY);
        recorded = true;
    }
    for (size_t i = 0; i < p.TrailX.size(); ++i) {
        // Puffs far behind the player scatter more in height.
        const double a = static_cast<double>(RoundHalfEven(std::abs(p.PlayerX - p.TrailX[i]) / 4.0));
        const double x = p.TrailX[i] - kCellPixels * p.ScrollX + 10;
        const double y = a * game.random.Next() - a / 2 + p.TrailY[i] - kCellPixels * p.ScrollY + 26;
        DrawObjCell(game, 14, Round32(x), Round32(y));
    }
    if (recorded) ++c.TrailRing;
}

void DrawSparkles(Game& game) {
    PlayerState& p = game.player;
    game.camera.SparkleToggle = !game.camera.SparkleToggle;
    if (game.camera.SparkleToggle) return;
    for (Sparkle& s : p.Sparkles) {
        if (s.Life <= 0) continue;
        const double r1 = game.random.Next();
        const double r2 = game.random.Next();
        const double x = 16 * r1 - 8 + s.X - kCellPixels * p.ScrollX;
        const double y = 6 * r2 + 2 * s.Life - 13 + s.Y - kCellPixels * p.ScrollY;
        DrawObjCell(game, s.Cell, Round32(x), Round32(y));
    }
    for (Sparkle& s : p.Sparkles) {
        if (s.Life < 0) {
            s.Life = 0;
        } else {
            --s.Life;
        }
    }
}

void DrawGoalFlag(Game& game, int32_t x, int32_t y) {
    DrawPicture(game, game.pictures->Choice, kGoalFlagArea.x, kGoalFlagArea.y, kGoalFlagArea.width,
                kGoalFlagArea.height, x, y - kGoalFlagRisePixels);
}

void FlashWhite(Game& game) {
    ClearSurface(game.display.BackBuffer, 0xFFFFFF);
    FlipScreen(game);
}

}  // namespace tumbleroo
