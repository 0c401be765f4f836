#include "shell/window_mode.h"

#include "persist/settings.h"
#include "shell/game.h"

namespace tumbleroo {

void ApplyWindowMode(Game& game) {
    RunState& run = game.run;
    run.startedFullScreen = run.fullScreenAsked.value_or(game.windowSettings.FullScreen);
    game.platform->SetFullScreen(run.startedFullScreen);
}

void SaveChangedWindowMode(Game& game) {
    const bool now = game.platform->IsFullScreen();
    if (now == game.run.startedFullScreen) return;
    game.windowSettings.FullScreen = now;
    SaveWindowSettings(game.records, game.windowSettings);
}

}  // namespace tumbleroo
