// Start-up, the main menu loop, and the window's key-release and unload
// events.
#include "shell/program.h"

#include "persist/key_settings.h"
#include "persist/player_files.h"
#include "persist/records.h"
#include "persist/settings.h"
#include "player/movement.h"
#include "render/display.h"
#include "render/pictures.h"
#include "render/window_icon.h"
#include "screens/screens.h"
#include "shell/game.h"
#include "shell/map_file.h"
#include "shell/stage_loop.h"
#include "shell/window_mode.h"
#include "sound/sound.h"

namespace tumbleroo {

namespace {

constexpr int32_t kBackOutPauseMs = 500;
constexpr int16_t kTitleStart = 0, kTitleEnd = 1, kTitleConfig = 2;
constexpr int16_t kCancelled = -1;

// "C?-?" with the stage and course digits in place of the question marks.
std::string CourseMapName(int16_t stage, int16_t course) {
    std::string name = "C?-?";
    name[1] = NumberText(stage)[1];
    name[3] = NumberText(course)[1];
    return name;
}

// Chooses a stage and then a course; false when the player backed out to
// the title.
bool ChooseCourse(Game& game) {
    RunState& run = game.run;
    for (;;) {
        run.SelectedStage = RunStageSelect(game, run.SelectedStage);
        if (run.SelectedStage == kCancelled) {
            run.SelectedStage = 0;
            game.platform->SleepMs(kBackOutPauseMs);
            return false;
        }
        const int16_t course = RunCourseSelect(game);
        if (course != kCancelled) {
            run.SelectedCourse = course;
            return true;
        }
        game.platform->SleepMs(kBackOutPauseMs);
        run.SelectedStage = 0;
    }
}

// Reads the chosen course's map; a missing or broken one is named to the
// player, who then chooses again.
bool OpenChosenMap(Game& game) {
    const std::string path = MapFilePath(game, game.run.MapName);
    std::string error;
    if (ReadMapFile(game, path, error)) return true;
    game.platform->ShowMessage("Cannot play this course: " + path + ": " + error);
    return false;
}

// Plays the chosen course, and again after each clear (or a course that
// cannot be read) for as long as the player picks another course; false
// when play ended with Escape.
bool PlayCourses(Game& game) {
    RunState& run = game.run;
    for (;;) {
        run.MapName = CourseMapName(run.SelectedStage, run.SelectedCourse);
        if (OpenChosenMap(game)) {
            PlayStage(game);
            if (!IsOn(game.player.StageCleared)) return false;
            game.player.StageCleared = kOff;
        }
        const int16_t course = RunCourseSelect(game);
        if (course == kCancelled) {
            game.platform->SleepMs(kBackOutPauseMs);
            run.SelectedStage = 0;
            return true;
        }
        run.SelectedCourse = course;
    }
}

}  // namespace

void PrepareGame(Game& game, const std::string& basePath, uint64_t seed) {
    HideMouseCursor(game);
    game.run.BasePath = basePath;
    if (game.run.BasePath.empty() || game.run.BasePath.back() != '/') game.run.BasePath += '/';
    ChooseDataFiles(game.records, game.run.BasePath);
    LoadRecords(game.records);
    LoadSettings(game.records, game.settings, game.windowSettings);
    game.platform->BindKeys(LoadKeyBindings(game.records.settingsPath));
    ApplyWindowMode(game);
    game.random.Seed(seed);
    PlayerState& p = game.player;
    p.CanMoveLeft = kOn;
    p.CanMoveRight = kOn;
    p.WalkSequence = {0, 1, 2, 1};
    p.WalkFrame = 0;
    p.CoinsCollected = 0;
    p.Pose = Pose::Right;
}

bool OpenDisplayAndPictures(Game& game) {
    game.platform->SetScaleMode(game.windowSettings.Scale);
    if (!InitDisplay(game, kScreenWidth, kScreenHeight, true, 16)) {
        game.platform->ShowMessage("DirectXが使えません。");
        return false;
    }
    Pictures pictures;
    CreatePictureSurfaces(*game.platform, pictures);
    DrawPathDots(pictures.Choice);
    game.pictures = std::make_shared<const Pictures>(std::move(pictures));
    SetHeroWindowIcon(game);
    game.run.MenuBackPixel = ColorToPixel(65 << 16);
    return true;
}

bool Form_Load(Game& game, const std::string& basePath, uint64_t seed) {
    try {
        PrepareGame(game, basePath, seed);
        if (!OpenDisplayAndPictures(game)) {
            ShutDown(game);
            return false;
        }
        ShowOpening(game);
        MainMenuLoop(game);
    } catch (const ProgramEnded&) {
        // Also reached straight from a flip when the end was requested.
        ShutDown(game);
    }
    return true;
}

void MainMenuLoop(Game& game) {
    for (;;) {
        if (IsOn(game.settings.PlayMusic)) LoadSoundEffects(game);
        game.run.SelectedStage = 0;
        ShowTitleIntro(game);
        const int16_t choice = RunTitleMenu(game);
        if (choice == kTitleConfig) {
            RunSettingsMenu(game);
            continue;
        }
        if (choice == kTitleEnd) Form_Unload(game);
        if (choice != kTitleStart) continue;
        // Selection and play until the player backs out or leaves a course.
        while (ChooseCourse(game)) {
            if (!PlayCourses(game)) break;
        }
    }
}

void StageAndCourseFromName(const std::string& name, int16_t& stage, int16_t& course) {
    stage = 1;
    course = 1;
    if (name.size() == 4 && name[0] == 'C' && name[2] == '-' && name[1] >= '1' && name[1] <= '5' &&
        name[3] >= '1' && name[3] <= '3') {
        stage = static_cast<int16_t>(name[1] - '0');
        course = static_cast<int16_t>(name[3] - '0');
    }
}

bool PlayNamedCourse(Game& game, const std::string& name) {
    game.run.MapName = name;
    if (!ReadMapFile(game, MapFilePath(game, name))) return false;
    if (IsOn(game.settings.PlayMusic)) LoadSoundEffects(game);
    PlayStage(game);
    Form_Unload(game);
}

void Form_KeyUp(Game& game, Key key) {
    if (key == Key::Z) {
        // Letting go of the jump key ends a rise at once.
        ResetTrail(game);
        game.player.VerticalSpeed = 0;
    }
    if ((key == Key::Z || key == Key::Enter) && IsOn(game.run.IntroRunning)) {
        game.run.IntroRunning = kOff;
    }
}

void ShutDown(Game& game) {
    SaveChangedWindowMode(game);
    ShowMouseCursor(game);
    ShutdownDisplay(game);
    game.player.CoinsCollected = 0;
    game.map.MapGrid.assign(1, 0);
    game.map.MapWidth = 0;
    game.map.MapHeight = 0;
    if (IsOn(game.settings.PlayMusic)) ReleaseSound(game);
}

void Form_Unload(Game& game) {
    ShutDown(game);
    throw ProgramEnded{};
}

void ProcessPendingEvents(Game& game) {
    for (const WindowEvent& e : game.platform->TakePendingEvents()) {
        if (e.kind == WindowEvent::Kind::Close) Form_Unload(game);
        if (e.kind == WindowEvent::Kind::FocusLost) {
            game.run.focusLost = true;
            continue;
        }
        Form_KeyUp(game, e.key);
    }
}

bool KeyDown(Game& game, Key key) { return game.platform->IsKeyDown(key); }

}  // namespace tumbleroo
