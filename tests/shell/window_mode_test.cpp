// The window mode across runs: the saved mode opens the display, the
// command line overrides it for one run, and a switch made while playing
// is written to Init.ini's Window section at the end, leaving the rest of
// the file as it was.
#include "shell/window_mode.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/headless_platform.h"
#include "shell/game.h"
#include "shell/program.h"
#include "support/files.h"

namespace tumbleroo {
namespace {

// One run of the program in the folder: start-up, an optional switch of the
// mode by the player, and the end. Returns the mode the display opened in.
bool RunOnce(const std::string& folder, std::optional<bool> asked, bool playerSwitches) {
    HeadlessPlatform platform;
    Game game;
    game.platform = &platform;
    game.run.fullScreenAsked = asked;
    PrepareGame(game, folder, 1);
    const bool opened = platform.IsFullScreen();
    if (playerSwitches) platform.SetFullScreen(!opened);
    EXPECT_THROW(Form_Unload(game), ProgramEnded);
    return opened;
}

TEST(WindowMode, ASwitchIsRememberedAndTheCommandLineWinsForOneRun) {
    testing::TempFolder folder;
    const std::string ini = folder.path + "/Init.ini";

    // No file: full screen, and a run without a switch writes nothing.
    EXPECT_TRUE(RunOnce(folder.path, std::nullopt, false));
    EXPECT_FALSE(std::filesystem::exists(ini));

    const std::string settings = "[BasicInformation]\r\nPlayMusic= 0\r\nGameSpeed= 4\r\n";
    testing::WriteFile(ini, settings);
    EXPECT_TRUE(RunOnce(folder.path, std::nullopt, true));  // F11 to a window
    EXPECT_EQ(testing::ReadFile(ini), settings + "[Window]\r\nFullScreen=0\r\nScale=whole\r\n");
    EXPECT_FALSE(RunOnce(folder.path, std::nullopt, false));

    // --fullscreen for one run: not saved unless the player switches.
    EXPECT_TRUE(RunOnce(folder.path, true, false));
    EXPECT_FALSE(RunOnce(folder.path, std::nullopt, false));
    EXPECT_FALSE(RunOnce(folder.path, false, true));  // --window, then to full screen
    EXPECT_TRUE(RunOnce(folder.path, std::nullopt, false));
    EXPECT_EQ(testing::ReadFile(ini), settings + "[Window]\r\nFullScreen=1\r\nScale=whole\r\n");
}

}  // namespace
}  // namespace tumbleroo
