// The settings file: the INI reader and writer, and the four settings it holds.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "persist/ini.h"
#include "persist/records.h"
#include "persist/settings.h"
#include "platform/headless_platform.h"
#include "shell/game.h"
#include "support/files.h"

namespace tumbleroo {
namespace {

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

struct SettingsGame {
    TempFolder folder;
    HeadlessPlatform platform;
    Game game;
    SettingsGame() {
        game.platform = &platform;
        game.run.BasePath = folder.path + "/";
        ChooseDataFiles(game);
    }
    std::string IniPath() const { return folder.path + "/Init.ini"; }
};

TEST(Ini, ReadsNamesWithoutCaseAndNumbersFromTheirStart) {
    TempFolder folder;
    const std::string path = folder.path + "/test.ini";
    WriteFile(path,
              "; ;Speed=99 is a comment\r\n"
              "[Other]\r\n"
              "Speed=77\r\n"
              "[  main ]\r\n"
              ";Speed=99\r\n"
              "  SPEED =   -12 frames \r\n"
              "Size=+3\r\n"
              "Word=abc\r\n"
              "Empty=\r\n"
              "Huge=99999999999\r\n"
              "[MAIN]\r\n"
              "Late=1\r\n");
    EXPECT_EQ(IniReadInt(path, "Main", "speed", 5), -12);
    EXPECT_EQ(IniReadInt(path, "main", "Size", 5), 3);
    EXPECT_EQ(IniReadInt(path, "main", "Word", 5), 0);
    EXPECT_EQ(IniReadInt(path, "main", "Empty", 5), 0);
    EXPECT_EQ(IniReadInt(path, "main", "Huge", 5), 2147483647);
    EXPECT_EQ(IniReadInt(path, "other", "SPEED", 5), 77);
    // Missing key, section or file: the caller's default.
    EXPECT_EQ(IniReadInt(path, "main", "Missing", -4), -4);
    EXPECT_EQ(IniReadInt(path, "Nowhere", "Speed", -4), -4);
    EXPECT_EQ(IniReadInt(folder.path + "/none.ini", "main", "Speed", 9), 9);
    EXPECT_EQ(LeadingNumber("  \t-0042x"), -42);
    EXPECT_EQ(LeadingNumber("-99999999999"), -2147483648);
}

TEST(Ini, WritingChangesOnlyTheOneLineAndKeepsLineEnds) {
    TempFolder folder;
    const std::string path = folder.path + "/test.ini";
    const std::string before =
        "# written by hand\n"
        "[Video]\n"
        "Speed=1\n"
        "[Main]\n"
        "  speed = 3 ; slow\n"
        "Other=x\n"
        "\n"
        "[Tail]\n"
        "k=v";
    WriteFile(path, before);

    ASSERT_TRUE(IniWriteString(path, "MAIN", "Speed", " 10"));
    ASSERT_TRUE(IniWriteString(path, "main", "Added", "-1"));
    ASSERT_TRUE(IniWriteString(path, "New", "Key", " 0"));
    EXPECT_EQ(ReadFile(path),
              "# written by hand\n"
              "[Video]\n"
              "Speed=1\n"
              "[Main]\n"
              "  speed = 10\n"
              "Other=x\n"
              "Added=-1\n"
              "\n"
              "[Tail]\n"
              "k=v\n"
              "[New]\n"
              "Key= 0\n");

    // A CR LF file stays CR LF, even for a section added to a last line
    // that had no line end.
    WriteFile(path, "[A]\r\nx=1");
    ASSERT_TRUE(IniWriteString(path, "a", "y", "2"));
    EXPECT_EQ(ReadFile(path), "[A]\r\nx=1\r\ny=2\r\n");
}

TEST(Settings, MissingFileGivesDefaultsAndSaveWritesTheFourKeysInOrder) {
    SettingsGame s;
    s.game.settings = {kOn, kOff, kOff, 55};
    LoadSettings(s.game);
    EXPECT_EQ(s.game.settings.AutoView, kOff);
    EXPECT_EQ(s.game.settings.DrawBack, kOn);
    EXPECT_EQ(s.game.settings.PlayMusic, kOn);
    EXPECT_EQ(s.game.settings.GameSpeed, kDefaultGameSpeedMs);
    EXPECT_EQ(s.game.settings.GameSpeed, 0);

    s.game.settings.PlayMusic = kOff;
    s.game.settings.GameSpeed = 10;
    SaveSettings(s.game);
    EXPECT_EQ(ReadFile(s.IniPath()),
              "[BasicInformation]\r\n"
              "PlayMusic= 0\r\n"
              "AutoView= 0\r\n"
              "DrawBack=-1\r\n"
              "GameSpeed= 10\r\n");

    Settings saved = s.game.settings;
    s.game.settings = {};
    LoadSettings(s.game);
    EXPECT_EQ(s.game.settings.AutoView, saved.AutoView);
    EXPECT_EQ(s.game.settings.DrawBack, saved.DrawBack);
    EXPECT_EQ(s.game.settings.PlayMusic, saved.PlayMusic);
    EXPECT_EQ(s.game.settings.GameSpeed, saved.GameSpeed);
}

TEST(Settings, ValuesAreNormalisedOnReadingAndRewrittenInPlace) {
    SettingsGame s;
    WriteFile(s.IniPath(),
              "[basicinformation]\n"
              "autoview=5\n"
              "DrawBack= 0\n"
              "PlayMusic=on\n"
              "GameSpeed=-7\n"
              "Window=1\n");
    LoadSettings(s.game);
    EXPECT_EQ(s.game.settings.AutoView, kOn);
    EXPECT_EQ(s.game.settings.DrawBack, kOff);
    EXPECT_EQ(s.game.settings.PlayMusic, kOff);  // not a number: 0
    EXPECT_EQ(s.game.settings.GameSpeed, 0);     // a pause is never negative

    SaveSettings(s.game);
    EXPECT_EQ(ReadFile(s.IniPath()),
              "[basicinformation]\n"
              "autoview=-1\n"
              "DrawBack= 0\n"
              "PlayMusic= 0\n"
              "GameSpeed= 0\n"
              "Window=1\n");
}

// The stage loop pauses GameSpeed milliseconds every frame: a huge number
// must not freeze the game for days, while sane ones are kept as written.
TEST(Settings, GameSpeedIsBoundedToTheLongestPause) {
    SettingsGame s;
    WriteFile(s.IniPath(), "[BasicInformation]\nGameSpeed=2147483647\n");
    LoadSettings(s.game);
    EXPECT_EQ(s.game.settings.GameSpeed, 1000);

    WriteFile(s.IniPath(), "[BasicInformation]\nGameSpeed=250\n");
    LoadSettings(s.game);
    EXPECT_EQ(s.game.settings.GameSpeed, 250);
}

}  // namespace
}  // namespace tumbleroo
