// One stage of play: set-up, then one frame per pass of the loop, in a
// fixed order: pause, camera, gravity, ladders, animation, drawing with the
// objects' updates, the ground test, the flip, then keys and moves.
// Between two frames play may pause (shell/pause.h).
#include "shell/stage_loop.h"

#include <algorithm>

#include "core/terrain.h"
#include "objects/objects.h"
#include "persist/settings.h"
#include "platform/table_index.h"
#include "player/movement.h"
#include "render/display.h"
#include "render/stage_draw.h"
#include "shell/game.h"
#include "shell/pause.h"
#include "shell/program.h"
#include "shell/stage_flow.h"
#include "sound/sound.h"

namespace tumbleroo {

namespace {

constexpr int16_t kWalkStepPx = 5;
constexpr int16_t kClimbStepPx = 5;
constexpr double kJumpSpeed = -23.0;  // pixels per frame, upwards
constexpr double kSwimStrokeSpeed = -5.0;
constexpr int32_t kWalkTicksPerFrame = 8;

// Counts down the push and ends it when the timer runs out.
void AgePushes(PlayerState& p) {
    if (IsOn(p.PushRight)) {
        p.PushTimer = To16(p.PushTimer - 1);
        if (p.PushTimer <= 0) p.PushRight = kOff;
    }
    if (IsOn(p.PushLeft)) {
        p.PushTimer = To16(p.PushTimer - 1);
        if (p.PushTimer <= 0) p.PushLeft = kOff;
    }
}

void HandleKeys(Game& game) {
    PlayerState& p = game.player;
    if (KeyDown(game, Key::Left) || IsOn(p.PushLeft)) {
        p.Pose = p.Pose == Pose::Right ? Pose::Front : Pose::Left;
        StepWalkAnimation(game);
        p.LastDirection = 1;
        if (IsOn(p.PushLeft)) MoveLeft(game, kWalkStepPx);
        if (p.PlayerX > 0) MoveLeft(game, kWalkStepPx);
        if (!IsOn(p.Airborne)) p.WalkedThisFrame = kOn;
    }
    if (KeyDown(game, Key::Right) || IsOn(p.PushRight)) {
        p.LastDirection = 2;
        p.Pose = p.Pose == Pose::Left ? Pose::Front : Pose::Right;
        StepWalkAnimation(game);
        if (IsOn(p.PushRight)) MoveRight(game, kWalkStepPx);
        MoveRight(game, kWalkStepPx);
        if (!IsOn(p.Airborne)) p.WalkedThisFrame = kOn;
    }
    if (KeyDown(game, Key::Up) && IsOn(p.CanClimbUp)) {
        p.Pose = Pose::Back;
        StepWalkAnimation(game);
        MoveUp(game, kClimbStepPx);
        p.CanClimbUp = kOff;
    }
    if (KeyDown(game, Key::Down) && IsOn(p.CanClimbDown)) {
        p.Pose = Pose::Back;
        StepWalkAnimation(game);
        ClimbDown(game);
        p.CanClimbDown = kOff;
    }
    if (KeyDown(game, Key::Z)) {
        if (!IsOn(p.Airborne)) {
            p.VerticalSpeed = kJumpSpeed;
            p.RidingSideLift = kOff;
            p.RidingUpDownLift = kOff;
            PlaySound(game, SoundId::Jump);
        }
        p.Airborne = kOn;
        p.RidingSpikeBlockRight = kOff;
        if (IsOn(p.InWater)) p.VerticalSpeed = kSwimStrokeSpeed;
    }
}

// One pass of the loop; false when the loop should end.
bool RunFrame(Game& game) {
    PlayerState& p = game.player;
    // Bounded here too: the settings record can be filled in without the file.
    game.platform->SleepMs(std::clamp(game.settings.GameSpeed, 0, kMaxGameSpeedMs));
    if (IsOn(p.PushLeft) && IsOn(p.PushRight)) {
        p.PushLeft = kOff;
        p.PushRight = kOff;
    }
    UpdateCamera(game);
    if (IsOn(p.Airborne)) ApplyGravity(game);
    CheckLadder(game);
    AdvanceTileAnimation(game);
    DrawBackground(game);
    UpdateObjects(game);
    DrawMap(game, p.ScrollX, p.ScrollY);
    DrawPlayer(game, static_cast<int32_t>(RoundHalfEven(p.PlayerScreenX)), p.PlayerScreenY);
    if (IsOn(p.WalkedThisFrame)) DrawTrail(game);
    DrawSparkles(game);
    if (!IsOn(p.Airborne)) MoveDown(game, -1000);
    FlipScreen(game);
    p.WalkedThisFrame = kOff;
    AgePushes(p);
    HandleKeys(game);
    ProcessPendingEvents(game);
    p.CanMoveLeft = kOn;
    p.CanMoveRight = kOn;
    return !KeyDown(game, Key::Escape) && IsOn(p.StageRunning);
}

// One frame with the platform's frame limit held back, so that a run given
// a set number of frames still finishes the pass it ends in.
bool RunWholeFrame(Game& game) {
    struct Hold {
        Platform& platform;
        explicit Hold(Platform& p) : platform(p) { platform.HoldFrameLimit(true); }
        ~Hold() { platform.HoldFrameLimit(false); }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;
    } hold(*game.platform);
    return RunFrame(game);
}

}  // namespace

void SetUpStage(Game& game) {
    PlayerState& p = game.player;
    ScanStageMarkers(game);
    SpawnObjects(game);
    p.StageRunning = kOn;
    p.WalkFrame = 0;
    p.Pose = Pose::Right;
    p.StageBackPixel = ColorToPixel(game.map.MapHeader.BackColor);
    UpdateCamera(game);
}

void PlayStage(Game& game) {
    PlayerState& p = game.player;
    SetUpStage(game);
    ZoomTransition(game, 1.0, 1.2);

    // A pause key already down when play begins (Start confirming the
    // course) pauses only once it has been let go and pressed again.
    bool pauseKeyHeld = true;
    game.run.focusLost = false;
    bool running = true;
    while (running) {
        running = RunWholeFrame(game);
        ++game.run.stagePasses;
        if (game.run.hooks.afterStagePass) game.run.hooks.afterStagePass();
        if (game.platform->FramesUsedUp()) throw ProgramEnded{};
        if (running && PauseWanted(game, pauseKeyHeld)) {
            running = RunPause(game, pauseKeyHeld);
            pauseKeyHeld = true;
        }
    }
    if (IsOn(p.StageRunning)) RestartAfterMiss(game);
}

bool StepStageFrame(Game& game) { return RunFrame(game); }

void StepWalkAnimation(Game& game) {
    PlayerState& p = game.player;
    if (IsOn(p.PushRight) || IsOn(p.PushLeft)) return;
    ++p.WalkTick;
    if (p.WalkTick == kWalkTicksPerFrame) {
        p.WalkTick = 0;
        p.WalkStep = static_cast<int16_t>((p.WalkStep + 1) % 4);
        p.WalkFrame = p.WalkSequence[AsIndex(p.WalkStep)];
    }
}

void CheckLadder(Game& game) {
    PlayerState& p = game.player;
    p.CanClimbUp = kOff;
    if (Is(CellAt(game, p.PlayerX + 10, p.PlayerY + 20), Terrain::Ladder)) p.CanClimbUp = kOn;
    if (Is(CellAt(game, p.PlayerX + 20, p.PlayerY + 20), Terrain::Ladder)) p.CanClimbUp = kOn;
}

void ClimbDown(Game& game) { game.player.PlayerY += kClimbStepPx; }

void AdvanceTileAnimation(Game& game) {
    PlayerState& p = game.player;
    if (p.FlameFrame == 0) p.FlameFrame = 22;
    if (p.BlinkFrame == 0) p.BlinkFrame = 2;
    if (p.TileAnimCounter % 4 == 0) {
        ++p.FlameFrame;
        if (p.FlameFrame == 26) p.FlameFrame = 22;
    }
    if (p.TileAnimCounter % 10 == 0) {
        p.TileAnimCounter = 0;
        p.BlinkFrame = p.BlinkFrame == 2 ? 34 : 2;
    }
    ++p.TileAnimCounter;
    if (p.TileAnimCounter == 1000) p.TileAnimCounter = 0;
}

}  // namespace tumbleroo
