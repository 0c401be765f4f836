#include "shell/window_mode.h"

#include "persist/settings.h"
#include "persist/window_settings.h"
#include "shell/game.h"

namespace tumbleroo {

namespace {

constexpr bool kFullScreenByDefault = true;

}  // namespace

void ApplyWindowMode(Game& game) {
    RunState& run = game.run;
    const bool saved = LoadFullScreen(SettingsPath(game)).value_or(kFullScreenByDefault);
    run.startedFullScreen = run.fullScreenAsked.value_or(saved);
    game.platform->SetFullScreen(run.startedFullScreen);
}

void SaveChangedWindowMode(Game& game) {
    const bool now = game.platform->IsFullScreen();
    if (now != game.run.startedFullScreen) SaveFullScreen(SettingsPath(game), now);
}

}  // namespace tumbleroo
