// Init.ini: whatever the file holds, the settings read from it are saved
// and read back unchanged, and a second save changes nothing more.
#include <string>

#include "fuzz_support.h"
#include "persist/ini.h"
#include "persist/player_files.h"
#include "persist/settings.h"
#include "shell/game.h"

namespace {

bool Same(const tumbleroo::Settings& a, const tumbleroo::Settings& b) {
    return a.AutoView == b.AutoView && a.DrawBack == b.DrawBack && a.PlayMusic == b.PlayMusic &&
           a.GameSpeed == b.GameSpeed;
}

bool IsFlag(int16_t f) { return f == tumbleroo::kOn || f == tumbleroo::kOff; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tumbleroo;
    fuzz::ClearScratchFolder();
    Game game;
    UseFolder(game.records, fuzz::ScratchFolder());
    const std::string path = game.records.settingsPath;
    fuzz::WriteBytes(path, data, size);

    LoadSettings(game.records, game.settings, game.windowSettings);
    const Settings loaded = game.settings;
    if (!IsFlag(loaded.AutoView) || !IsFlag(loaded.DrawBack) || !IsFlag(loaded.PlayMusic)) {
        fuzz::Fail("a setting read from the file is neither on nor off");
    }
    if (loaded.GameSpeed < 0 || loaded.GameSpeed > kMaxGameSpeedMs) {
        fuzz::Fail("GameSpeed read out of range: " + std::to_string(loaded.GameSpeed));
    }
    SaveSettings(game.records, game.settings);
    std::string saved;
    if (!ReadWholeFile(path, saved)) fuzz::Fail("the saved settings cannot be read");
    game.settings = Settings{};
    LoadSettings(game.records, game.settings, game.windowSettings);
    if (!Same(game.settings, loaded)) fuzz::Fail("settings saved and read back differ");
    SaveSettings(game.records, game.settings);
    std::string savedAgain;
    if (!ReadWholeFile(path, savedAgain) || savedAgain != saved) {
        fuzz::Fail("saving the same settings twice changed the file");
    }
    return 0;
}
