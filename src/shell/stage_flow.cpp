// Stage start, miss and clear.
#include "shell/stage_flow.h"

#include <algorithm>

#include "core/terrain.h"
#include "objects/objects.h"
#include "persist/records.h"
#include "render/display.h"
#include "render/stage_draw.h"
#include "screens/screens.h"
#include "shell/game.h"
#include "shell/map_file.h"
#include "shell/program.h"
#include "sound/sound.h"

namespace tumbleroo {

namespace {

constexpr int32_t kThrownUpFrames = 41;
constexpr int32_t kThrownDownFrames = 81;
constexpr int32_t kThrowStepPx = 10;
constexpr int32_t kCoinBurstCoins = 21;
constexpr int32_t kTallyLastT = 1300;  // t runs 0, 5, ... 1300: 261 frames
constexpr int32_t kTransitionPauseMs = 10;
// The tally's line telling that the clear could not be saved, below the others.
constexpr int32_t kNotSavedLineY = 300;

void DrawStillScene(Game& game) {
    const PlayerState& p = game.player;
    DrawBackground(game);
    DrawMap(game, p.ScrollX, p.ScrollY);
}

// The "Goal!!" title drops in, rests at 120 and slides down off the screen.
int32_t TallyLineY(int32_t t, int32_t y) {
    if (t < 120) return t + 5;
    if (t == 120) return y + 5;
    if (t < 800) return 120;
    return y + 5;
}

}  // namespace

void ScanStageMarkers(Game& game) {
    MapState& m = game.map;
    PlayerState& p = game.player;
    for (int32_t x = 0; x < m.MapWidth; ++x) {
        for (int32_t y = 0; y < m.MapHeight; ++y) {
            if (Is(m.Cell(x, y), Terrain::StartMarker)) {
                m.Cell(x, y) = CodeOf(Terrain::Empty);
                p.PlayerX = 20 * x;
                p.PlayerY = 20 * y;
                p.StartX = p.PlayerX;
                p.StartY = p.PlayerY;
            }
            // A cannon in column 0 would need a mouth outside the map.
            if (Is(m.Cell(x, y), Terrain::Cannon) && x > 0) m.Cell(x - 1, y) = CodeOf(Terrain::CannonMouth);
        }
    }
}

void ZoomTransition(Game& game, double p, double f) {
    const PlayerState& pl = game.player;
    // Made per zoom (a few times a minute at most): kept between zooms they
    // would be 1.2 MB held all through play.
    Surface whole = CreateBlankSurface(kScreenWidth, kScreenHeight);
    Surface coarse = CreateBlankSurface(kScreenWidth, kScreenHeight);
    Surface& back = game.display.BackBuffer;
    DrawStillScene(game);
    DrawPlayer(game, static_cast<int32_t>(RoundHalfEven(pl.PlayerScreenX)), pl.PlayerScreenY);
    BlitClipped(whole, 0, 0, kScreenWidth, kScreenHeight, 0, 0, back, 0, 0, 0, 0, false);
    for (;;) {
        p *= f;
        if (p > 100 || p < 1) return;
        const int32_t w = Round32(p / 100 * kScreenWidth);
        const int32_t h = Round32(p / 100 * kScreenHeight);
        if (KeyDown(game, Key::Escape)) Form_Unload(game);
        StretchBlit(coarse, 0, 0, w, h, whole, 0, 0, kScreenWidth, kScreenHeight, false);
        StretchBlit(back, 0, 0, kScreenWidth, kScreenHeight, coarse, 0, 0, w, h, false);
        FlipScreen(game);
        game.platform->SleepMs(kTransitionPauseMs);
    }
}

void ResetStageCounters(Game& game) {
    game.player.CoinsCollected = 0;
    game.objects.MoverState.fill(0);
}

void DrawCoinBurst(Game& game, int32_t cx, int32_t cy) {
    for (int32_t i = 0; i < kCoinBurstCoins; ++i) {
        const int32_t x = Round32(100 * game.random.Next() + cx - 50);
        const int32_t y = Round32(100 * game.random.Next() + cy - 50);
        DrawPicture(game, game.pictures->ObjPictures, 20, 0, 20, 20, x, y);
    }
}

void RestartAfterMiss(Game& game) {
    PlayerState& p = game.player;
    ++game.run.misses;
    game.objects.SideLiftOffset = 0;
    game.objects.UpDownLiftOffset = 0;
    p.CoinsCollected = 0;
    PlaySound(game, SoundId::GameOver);
    p.PlayerX = p.StartX;
    p.PlayerY = p.StartY;
    p.Airborne = kOff;
    p.WalkFrame = 0;
    p.Pose = Pose::Right;
    p.VerticalSpeed = 0;
    LoadMap(game, game.run.MapName);
    ScanStageMarkers(game);
    p.PushLeft = kOff;
    p.PushRight = kOff;
    p.Airborne = kOff;
    ResetStageCounters(game);
    SpawnObjects(game);
    p.StageRunning = kOn;
    p.StageBackPixel = ColorToPixel(game.map.MapHeader.BackColor);

    // Thrown off the screen amid a burst of coins; the view stays put.
    for (int32_t frame = 0; frame < kThrownUpFrames + kThrownDownFrames; ++frame) {
        p.PlayerScreenY += frame < kThrownUpFrames ? -kThrowStepPx : kThrowStepPx;
        DrawStillScene(game);
        DrawPlayer(game, static_cast<int32_t>(RoundHalfEven(p.PlayerScreenX)), p.PlayerScreenY);
        DrawCoinBurst(game, static_cast<int32_t>(RoundHalfEven(p.PlayerScreenX)) + 10,
                      p.PlayerScreenY + 10);
        FlipScreen(game);
    }
}

void GoalSequence(Game& game) {
    PlayerState& p = game.player;
    RunState& run = game.run;
    p.StageCleared = kOn;
    p.Airborne = kOff;
    p.WalkFrame = 0;
    p.Pose = Pose::Back;
    p.PlayerX = p.StartX;
    p.PlayerY = p.StartY;
    int64_t c0 = 0;
    for (int shift = 0; shift <= 16; shift += 8) c0 |= RoundHalfEven(game.random.Next() * 100) << shift;
    int64_t c = c0;
    p.PushLeft = kOff;
    p.PushRight = kOff;
    p.Airborne = kOff;
    run.cleared = true;
    run.clearCoins = p.CoinsCollected;
    const bool saved = RecordClear(game.records, run.SelectedStage, run.SelectedCourse, p.CoinsCollected);

    Surface& back = game.display.BackBuffer;
    int32_t y = 0;
    for (int32_t t = 0; t <= kTallyLastT; t += 5) {
        DrawStillScene(game);
        y = TallyLineY(t, y);
        SetFormFontSize(game, 60);
        c += 65793;  // one step brighter in red, green and blue
        if (c >= 16777215) c = c0;
        SetForeColor(back, static_cast<uint32_t>(c));
        DrawText(game, back, 200, y, "Goal!!");
        SetFormFontSize(game, 20);
        int64_t sparkle = 0;
        for (int shift = 0; shift <= 16; shift += 8) {
            sparkle |= std::min<int64_t>(RoundHalfEven(game.random.Next() * 256), 255) << shift;
        }
        SetForeColor(back, static_cast<uint32_t>(sparkle));
        DrawText(game, back, y + 100, 200, "Coin:" + NumberText(p.CoinsCollected));
        DrawText(game, back, y + 140, 180, "You Cleared");
        if (IsOn(game.records.NewRecord)) DrawText(game, back, y + 100, 260, "NewRecord!");
        if (!saved) DrawText(game, back, y + 100, kNotSavedLineY, "Records not saved!");
        FlipScreen(game);
    }
    ResetStageCounters(game);
    ZoomTransition(game, 100.0, 0.9);
    p.StageRunning = kOff;
    if (IsOn(StageCompleted(game.records, 5)) && IsOn(game.records.FirstClear)) ShowEnding(game);
}

}  // namespace tumbleroo
