// The stage select: the small world map stretched over the screen, the hero
// walking between the five stage points, flags on completed stages and the
// arrow hints of the path.
#include <array>

#include "persist/records.h"
#include "platform/table_index.h"
#include "render/display.h"
#include "render/stage_draw.h"
#include "screens/screens.h"
#include "shell/game.h"
#include "shell/program.h"

namespace tumbleroo {

namespace {

struct MapPoint {
    int32_t x;
    int32_t y;
};

// Stage points on the small map (index 1 to 5), and one bend of the path
// that has no stage.
constexpr std::array<MapPoint, 6> kStagePoints{{{0, 0}, {8, 11}, {55, 19}, {71, 55}, {39, 67},
                                                {30, 44}}};
constexpr MapPoint kPathBend{22, 34};
constexpr int16_t kLastStage = 5;

// The small map region of Choice and its stretch to the screen.
constexpr int32_t kMapSourceY = 195;
constexpr int32_t kMapWidth = 99;
constexpr int32_t kMapHeight = 69;
constexpr double kScaleX = 6.85;
constexpr double kScaleY = 6.4;
constexpr double kHeroOffsetX = 30.0;
// Dots on the small map sit one row above the map region's own rows.
constexpr int32_t kDotOffsetY = 194;
constexpr uint32_t kDotColour = 0x00FFFF;  // yellow

constexpr int32_t kHeroSize = 40;

constexpr int kWalkFrames = 50;
constexpr int kFramesPerStep = 10;
constexpr int32_t kMapTickWrap = 1000;

// The hints are orange in a dark outline, so that they read on grass, snow,
// rock, sand and sea alike.
constexpr int kHintPointSize = 30;
constexpr uint32_t kHintColour = 0x00A0FF;         // RGB 255, 160, 0
constexpr uint32_t kHintOutlineColour = 0x410000;  // RGB 0, 0, 65
constexpr int32_t kHintOutline = 2;

enum ArrowKind : int16_t { kArrowLeft = 0, kArrowRight = 1, kArrowDown = 2, kArrowUp = 3 };

// For each key: the pose it turns the hero to, the stage it walks forward
// from (when that stage is completed) and the stage it walks back from.
struct PathKey {
    Key key;
    Pose pose;
    int16_t forwardFrom;
    int16_t backwardFrom;
};
constexpr std::array<PathKey, 4> kPathKeys{{
    {Key::Right, Pose::Right, 1, 4},
    {Key::Left, Pose::Left, 3, 2},
    {Key::Up, Pose::Back, 4, 3},
    {Key::Down, Pose::Front, 2, 5},
}};

// The hints shown at each stage: the keys of the path from there.
constexpr std::array<std::array<int16_t, 2>, 6> kStageHints{{
    {-1, -1},
    {kArrowRight, -1},
    {kArrowLeft, kArrowDown},
    {kArrowLeft, kArrowUp},
    {kArrowRight, kArrowUp},
    {kArrowDown, -1},
}};

bool IsStage(int32_t stage) { return stage >= 1 && stage <= kLastStage; }

int32_t ScreenX(double mapX) { return Round32(mapX * kScaleX - kHeroOffsetX); }
int32_t ScreenY(double mapY) { return Round32(mapY * kScaleY); }

}  // namespace

void DrawPathDots(Surface& choice) {
    const uint32_t yellow = ColorToPixel(kDotColour) + kPixelValueMarker;
    SetFillColor(choice, yellow);
    SetForeColor(choice, yellow);
    auto dot = [&](MapPoint p) {
        DrawBox(choice, p.x - 1, p.y + kDotOffsetY, p.x + 1, p.y + kDotOffsetY + 2);
    };
    for (int16_t stage = 1; stage <= kLastStage; ++stage) dot(kStagePoints[AsIndex(stage)]);
    dot(kPathBend);
}

namespace {

// One picture of the map with the hero at a map position and the flags.
void DrawMapScene(Game& game, double mapX, double mapY) {
    DrawWorldMap(game);
    const PlayerState& hero = game.player;
    DrawPicture(game, game.pictures->CharPic, hero.WalkFrame * kHeroSize, PictureRow(hero.Pose) * kHeroSize,
                kHeroSize, kHeroSize, ScreenX(mapX), ScreenY(mapY));
    for (int16_t stage = 1; stage <= kLastStage; ++stage) {
        if (!IsOn(StageCompleted(game.records, stage))) continue;
        const MapPoint p = kStagePoints[AsIndex(stage)];
        DrawGoalFlag(game, ScreenX(p.x), ScreenY(p.y));
    }
}

void StepWalkFrame(Game& game) {
    game.player.WalkFrame = static_cast<int16_t>((game.player.WalkFrame + 1) % 3);
}

}  // namespace

int16_t RunStageSelect(Game& game, int16_t stage) {
    // No stage chosen yet (0), or one that does not exist, starts on stage 1.
    int16_t current = IsStage(stage) ? stage : 1;
    for (;;) {
        // The forward test comes first; the backward test sees the stage it left.
        for (const PathKey& k : kPathKeys) {
            if (!KeyDown(game, k.key)) continue;
            game.player.Pose = k.pose;
            if (current == k.forwardFrom && IsOn(StageCompleted(game.records, current))) {
                DrawStageSelect(game, +1, current);
                ++current;
            }
            if (current == k.backwardFrom) {
                DrawStageSelect(game, -1, current);
                --current;
            }
        }
        if (KeyDown(game, Key::Escape)) return -1;
        if (KeyDown(game, Key::Enter) || KeyDown(game, Key::Z)) return current;
        game.player.WalkFrame = 0;
        game.player.Pose = Pose::Right;
        DrawStageSelect(game, 0, current);
        ProcessPendingEvents(game);
    }
}

void DrawStageSelect(Game& game, int16_t step, int16_t stage) {
    if (!IsStage(stage) || !IsStage(stage + step)) return;
    const MapPoint from = kStagePoints[AsIndex(stage)];
    const MapPoint to = kStagePoints[AsIndex(stage + step)];
    double x = from.x;
    double y = from.y;
    const double dx = (from.x - to.x) / static_cast<double>(kWalkFrames);
    const double dy = (from.y - to.y) / static_cast<double>(kWalkFrames);
    DrawMapScene(game, x, y);

    ScreenState& screens = game.screens;
    ++screens.MapTick;
    if (screens.MapTick == kMapTickWrap) screens.MapTick = 0;
    if (screens.MapTick % kFramesPerStep == 0) StepWalkFrame(game);

    if (step != 0) {
        for (int n = 0; n < kWalkFrames; ++n) {
            if (n % kFramesPerStep == 0) StepWalkFrame(game);
            x -= dx;
            y -= dy;
            DrawMapScene(game, x, y);
            FlipScreen(game);
            ProcessPendingEvents(game);
        }
        return;
    }
    game.display.FormFont.bold = true;
    SetFormFontSize(game, kHintPointSize);
    for (int16_t kind : kStageHints[AsIndex(stage)]) {
        if (kind >= 0) DrawPathArrow(game, kind, from.x, from.y);
    }
    FlipScreen(game);
}

void DrawWorldMap(Game& game) {
    StretchBlit(game.display.BackBuffer, 0, 0, kScreenWidth, kScreenHeight, game.pictures->Choice,
                0, kMapSourceY, kMapWidth, kMapHeight, true);
}

void DrawPathArrow(Game& game, int16_t kind, int32_t mapX, int32_t mapY) {
    struct Hint {
        const char* text;
        double offsetX;
        double offsetY;
    };
    static constexpr std::array<Hint, 4> kHints{{
        {"←", -70.0, 0.0},
        {"→", 10.0, 0.0},
        {"↓", -20.0, 40.0},
        {"↑", -30.0, -40.0},
    }};
    if (kind < 0 || kind >= static_cast<int16_t>(kHints.size())) return;
    const Hint& hint = kHints[AsIndex(kind)];
    const int32_t x = Round32(mapX * kScaleX + hint.offsetX);
    const int32_t y = Round32(mapY * kScaleY + hint.offsetY);
    Surface& back = game.display.BackBuffer;
    SetForeColor(back, kHintOutlineColour);
    for (int32_t oy = -kHintOutline; oy <= kHintOutline; oy += kHintOutline) {
        for (int32_t ox = -kHintOutline; ox <= kHintOutline; ox += kHintOutline) {
            if (ox != 0 || oy != 0) DrawText(game, back, x + ox, y + oy, hint.text);
        }
    }
    SetForeColor(back, kHintColour);
    DrawText(game, back, x, y, hint.text);
}

}  // namespace tumbleroo
