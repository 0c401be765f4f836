// The whole-map overview picture: the course drawn screen by screen with
// the game's own background and cell drawing, the objects shown on their
// spawn cells and the player on the start marker, then shrunk.
#include <algorithm>

#include "core/terrain.h"
#include "courses.h"
#include "platform/headless_platform.h"
#include "platform/sdl_support.h"
#include "platform/table_index.h"
#include "render/display.h"
#include "render/stage_draw.h"
#include "shell/game.h"
#include "shell/program.h"
#include "shell/stage_flow.h"

namespace tumbleroo::courses {

namespace {

constexpr int32_t kCell = 20;
constexpr int32_t kTileColumns = 32;
constexpr int32_t kTileRows = 20;
constexpr int32_t kStatusRows = 2;  // the status line covers the top of every screen

// The sprite an object shows on its spawn cell: ObjPictures cells for the
// small kinds; the monkey and the orbiter come from Opic.
struct ObjectLook {
    Terrain code;
    int32_t cell;  // ObjPictures cell, or -1 for an Opic frame
    int32_t opicX, size, offsetY;
};
constexpr ObjectLook kLooks[] = {
    {Terrain::SideLift, 9, 0, 20, 0},      {Terrain::UpDownLift, 9, 0, 20, 0},
    {Terrain::SpikeBlockLeft, 5, 0, 20, 0}, {Terrain::SpikeBlockRight, 6, 0, 20, 0},
    {Terrain::SpikeBlockUp, 8, 0, 20, 0},   {Terrain::SpikeBlockDown, 7, 0, 20, 0},
    {Terrain::SinkingBlock, 28, 0, 20, 0},  {Terrain::BluePenguin, 18, 0, 20, 0},
    {Terrain::BouncingStar, 27, 0, 20, 0},  {Terrain::RedPenguin, 29, 0, 20, 0},
    {Terrain::StarCarrier, 33, 0, 20, 0},   {Terrain::Monkey, -1, 0, 60, -20},
    {Terrain::Orbiter, -1, 64, 40, 0},
};

void DrawObjects(Game& game, const MapData& map, int32_t sx, int32_t sy) {
    for (int32_t x = std::max(0, sx - 3); x < std::min(map.header.MapWidth, sx + 35); ++x) {
        for (int32_t y = std::max(0, sy - 3); y < std::min(map.header.MapHeight, sy + 27); ++y) {
            const uint8_t code = map.At(x, y);
            for (const ObjectLook& look : kLooks) {
                if (!Is(code, look.code)) continue;
                const int32_t px = (x - sx) * kCell, py = (y - sy) * kCell + look.offsetY;
                if (look.cell >= 0) {
                    DrawPicture(game, game.pictures->ObjPictures, kCell * look.cell, 0, kCell,
                                kCell, px, py);
                } else {
                    StretchBlit(game.display.BackBuffer, px, py, look.size, look.size,
                                game.pictures->Opic, look.opicX, 0, 32, 32, true);
                }
            }
        }
    }
}

}  // namespace

bool DrawOverview(const CourseFolder& folder, int32_t scale, const std::string& pngPath,
                  std::string& error) {
    HeadlessPlatform platform;
    platform.keepLastFrame = false;
    Game game;
    game.platform = &platform;
    PrepareGame(game, folder.path, 1);
    if (!OpenDisplayAndPictures(game) || !ReadMapFile(game, MapFilePath(game, folder.name))) {
        error = "cannot set up the game for " + folder.name;
        return false;
    }
    game.settings.DrawBack = kOn;
    game.player.BlinkFrame = 2;
    game.player.FlameFrame = 22;
    game.player.StageBackPixel = ColorToPixel(game.map.MapHeader.BackColor);
    ScanStageMarkers(game);

    const int32_t width = folder.map.header.MapWidth * kCell;
    const int32_t height = folder.map.header.MapHeight * kCell;
    RgbImage whole;
    whole.width = width;
    whole.height = height;
    whole.rgb.assign(CellCount(width, height) * 3, 0);
    Surface& screen = game.display.BackBuffer;
    for (int32_t tx = 0; tx < folder.map.header.MapWidth; tx += kTileColumns) {
        for (int32_t ty = 0; ty < folder.map.header.MapHeight; ty += kTileRows) {
            const int32_t sy = ty - kStatusRows;
            game.player.ScrollX = tx;
            game.player.ScrollY = sy;
            DrawBackground(game);
            DrawObjects(game, folder.map, tx, sy);
            DrawMap(game, tx, sy);
            DrawPlayer(game, game.player.PlayerX - tx * kCell, game.player.PlayerY - sy * kCell);
            for (int32_t y = 0; y < kTileRows * kCell; ++y) {
                const int32_t my = ty * kCell + y;
                if (my >= height) break;
                for (int32_t x = 0; x < kTileColumns * kCell; ++x) {
                    const int32_t mx = tx * kCell + x;
                    if (mx >= width) break;
                    const uint32_t rgb = PixelToColor(screen.At(x, y + kStatusRows * kCell));
                    uint8_t* out = &whole.rgb[RowMajor(mx, my, width) * 3];
                    out[0] = rgb & 0xFF;
                    out[1] = (rgb >> 8) & 0xFF;
                    out[2] = (rgb >> 16) & 0xFF;
                }
            }
        }
    }

    RgbImage small;
    small.width = width / scale;
    small.height = height / scale;
    small.rgb.assign(CellCount(small.width, small.height) * 3, 0);
    for (int32_t y = 0; y < small.height; ++y) {
        for (int32_t x = 0; x < small.width; ++x) {
            for (int32_t channel = 0; channel < 3; ++channel) {
                int32_t sum = 0;
                for (int32_t dy = 0; dy < scale; ++dy) {
                    for (int32_t dx = 0; dx < scale; ++dx) {
                        sum += whole.rgb[RowMajor(x * scale + dx, y * scale + dy, width) * 3 +
                                          AsIndex(channel)];
                    }
                }
                small.rgb[RowMajor(x, y, small.width) * 3 + AsIndex(channel)] =
                    static_cast<uint8_t>(sum / (scale * scale));
            }
        }
    }
    if (!WriteRgbPng(pngPath, small)) {
        error = "cannot write " + pngPath;
        return false;
    }
    return true;
}

}  // namespace tumbleroo::courses
