// The settings file: the INI reader and writer, the four settings and the
// window's mode it holds, and how saving it survives damage and failures.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "persist/ini.h"
#include "persist/player_files.h"
#include "persist/settings.h"
#include "persist/file_faults.h"
#include "platform/headless_platform.h"
#include "shell/game.h"
#include "support/files.h"

namespace tumbleroo {
namespace {

using testing::ReadFile;
using testing::TempFolder;
using testing::TestDataHome;
using testing::WriteFile;

struct SettingsGame {
    TestDataHome dataHome;
    TempFolder folder;
    HeadlessPlatform platform;
    Game game;
    SettingsGame() {
        game.platform = &platform;
        game.run.BasePath = folder.path + "/";
        ChooseDataFiles(game.records, game.run.BasePath);
    }
    std::string IniPath() const { return folder.path + "/Init.ini"; }
};

TEST(Ini, ReadsNamesWithoutCaseAndNumbersFromTheirStart) {
    const IniValues values = ParseIni(
        "; ;Speed=99 is a comment\r\n"
        "Loose=4\r\n"
        "[Other]\r\n"
        "Speed=77\r\n"
        "[  main ]\r\n"
        ";Speed=99\r\n"
        "  SPEED =   -12 frames \r\n"
        "Size=+3\r\n"
        "Word=abc\r\n"
        "Empty=\r\n"
        "Huge=99999999999\r\n"
        "size=8\r\n"
        "[MAIN]\r\n"
        "Late=1");
    EXPECT_EQ(IniInt(values, "Main", "speed", 5), -12);
    EXPECT_EQ(IniInt(values, "main", "Size", 5), 3);  // the first line of a key counts
    EXPECT_EQ(IniInt(values, "main", "Word", 5), 0);
    EXPECT_EQ(IniInt(values, "main", "Empty", 5), 0);
    EXPECT_EQ(IniInt(values, "main", "Huge", 5), 2147483647);
    EXPECT_EQ(IniInt(values, "other", "SPEED", 5), 77);
    std::string word;
    ASSERT_TRUE(IniValue(values, "MAIN", "word", word));
    EXPECT_EQ(word, "abc");
    // Missing key or section, a key before any section, a second block of
    // a section: the caller's default.
    EXPECT_EQ(IniInt(values, "main", "Missing", -4), -4);
    EXPECT_EQ(IniInt(values, "Nowhere", "Speed", -4), -4);
    EXPECT_EQ(IniInt(values, "", "Loose", -4), -4);
    EXPECT_EQ(IniInt(values, "main", "Late", -4), -4);
    EXPECT_EQ(IniInt(ParseIni(""), "main", "Speed", 9), 9);
    EXPECT_EQ(LeadingNumber("  \t-0042x"), -42);
    EXPECT_EQ(LeadingNumber("-99999999999"), -2147483648);
}

TEST(Ini, WritingChangesOnlyItsOwnLinesAndKeepsLineEnds) {
    const std::string before =
        "# written by hand\n"
        "[Video]\n"
        "Speed=1\n"
        "[Main]\n"
        "  speed = 3 ; slow\n"
        "Other=x\n"
        "\n"
        "[Tail]\n"
        "k=v\n"
        "[main]\n"
        "speed=second block\n"
        "\n";
    EXPECT_EQ(IniWithValues(before, {{"MAIN", "Speed", " 10"},
                                     {"main", "Added", "-1"},
                                     {"New", "Key", " 0"},
                                     {"main", "More", "2"},
                                     {"New", "Two", "t"}}),
              "# written by hand\n"
              "[Video]\n"
              "Speed=1\n"
              "[Main]\n"
              "  speed = 10\n"
              "Other=x\n"
              "Added=-1\n"
              "More=2\n"
              "\n"
              "[Tail]\n"
              "k=v\n"
              "[main]\n"
              "speed=second block\n"
              "\n"
              "[New]\n"
              "Key= 0\n"
              "Two=t\n");

    // A CR LF text stays CR LF, also for keys added after a last line that
    // had no line end, and a section with nothing but its name gets its keys.
    EXPECT_EQ(IniWithValues("[A]\r\nx=1", {{"a", "y", "2"}}), "[A]\r\nx=1\r\ny=2\r\n");
    EXPECT_EQ(IniWithValues("[A]", {{"a", "y", "2"}, {"B", "z", "3"}}),
              "[A]\r\ny=2\r\n[B]\r\nz=3\r\n");
    EXPECT_EQ(IniWithValues("", {{"S", "k", "v"}}), "[S]\r\nk=v\r\n");
}

TEST(Settings, MissingFileGivesDefaultsAndSaveWritesTheFourKeysInOrder) {
    SettingsGame s;
    s.game.settings = {kOn, kOff, kOff, 55};
    s.game.windowSettings = {false, ScaleMode::Fill};
    LoadSettings(s.game.records, s.game.settings, s.game.windowSettings);
    EXPECT_EQ(s.game.settings.AutoView, kOff);
    EXPECT_EQ(s.game.settings.DrawBack, kOn);
    EXPECT_EQ(s.game.settings.PlayMusic, kOn);
    EXPECT_EQ(s.game.settings.GameSpeed, kDefaultGameSpeedMs);
    EXPECT_EQ(s.game.settings.GameSpeed, 0);
    EXPECT_TRUE(s.game.windowSettings.FullScreen);
    EXPECT_EQ(s.game.windowSettings.Scale, ScaleMode::WholeFactor);
    EXPECT_EQ(s.game.records.notice, "");

    s.game.settings.PlayMusic = kOff;
    s.game.settings.GameSpeed = 10;
    ASSERT_TRUE(SaveSettings(s.game.records, s.game.settings));
    EXPECT_EQ(ReadFile(s.IniPath()),
              "[BasicInformation]\r\n"
              "PlayMusic= 0\r\n"
              "AutoView= 0\r\n"
              "DrawBack=-1\r\n"
              "GameSpeed= 10\r\n");

    Settings saved = s.game.settings;
    s.game.settings = {};
    LoadSettings(s.game.records, s.game.settings, s.game.windowSettings);
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
    LoadSettings(s.game.records, s.game.settings, s.game.windowSettings);
    EXPECT_EQ(s.game.settings.AutoView, kOn);
    EXPECT_EQ(s.game.settings.DrawBack, kOff);
    EXPECT_EQ(s.game.settings.PlayMusic, kOff);  // not a number: 0
    EXPECT_EQ(s.game.settings.GameSpeed, 0);     // a pause is never negative

    SaveSettings(s.game.records, s.game.settings);
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
    LoadSettings(s.game.records, s.game.settings, s.game.windowSettings);
    EXPECT_EQ(s.game.settings.GameSpeed, 1000);

    WriteFile(s.IniPath(), "[BasicInformation]\nGameSpeed=250\n");
    LoadSettings(s.game.records, s.game.settings, s.game.windowSettings);
    EXPECT_EQ(s.game.settings.GameSpeed, 250);
}

TEST(Settings, WindowModeHasItsOwnSectionAndLeavesTheRestAlone) {
    SettingsGame s;
    const std::string before = "[BasicInformation]\r\nPlayMusic= 0\r\n\r\n[Keys]\r\nJump=X\r\n"
                               "[window]\r\nscale= FILL \r\n";
    WriteFile(s.IniPath(), before);
    LoadSettings(s.game.records, s.game.settings, s.game.windowSettings);
    EXPECT_TRUE(s.game.windowSettings.FullScreen);  // absent: full screen
    EXPECT_EQ(s.game.windowSettings.Scale, ScaleMode::Fill);

    s.game.windowSettings.FullScreen = false;
    ASSERT_TRUE(SaveWindowSettings(s.game.records, s.game.windowSettings));
    EXPECT_EQ(ReadFile(s.IniPath()),
              "[BasicInformation]\r\nPlayMusic= 0\r\n\r\n[Keys]\r\nJump=X\r\n"
              "[window]\r\nscale=fill\r\nFullScreen=0\r\n");
    s.game.windowSettings = {};
    LoadSettings(s.game.records, s.game.settings, s.game.windowSettings);
    EXPECT_FALSE(s.game.windowSettings.FullScreen);
    EXPECT_EQ(s.game.windowSettings.Scale, ScaleMode::Fill);

    // The settings menu's save leaves the window's keys as they are.
    s.game.settings.GameSpeed = 3;
    ASSERT_TRUE(SaveSettings(s.game.records, s.game.settings));
    const std::string text = ReadFile(s.IniPath());
    EXPECT_NE(text.find("[window]\r\nscale=fill\r\nFullScreen=0\r\n"), std::string::npos);
    EXPECT_NE(text.find("GameSpeed= 3\r\n\r\n[Keys]"), std::string::npos);

    WriteFile(s.IniPath(), "[Window]\nFullScreen=0\nScale=whole\n");
    LoadSettings(s.game.records, s.game.settings, s.game.windowSettings);
    EXPECT_FALSE(s.game.windowSettings.FullScreen);
    EXPECT_EQ(s.game.windowSettings.Scale, ScaleMode::WholeFactor);
    s.game.windowSettings = {true, ScaleMode::WholeFactor};
    ASSERT_TRUE(SaveWindowSettings(s.game.records, s.game.windowSettings));
    EXPECT_EQ(ReadFile(s.IniPath()), "[Window]\nFullScreen=1\nScale=whole\n");
}

int g_settingsOpens = 0;  // opens of Init.ini seen by CountingOpen
int CountingOpen(const char* path, int flags, mode_t mode) {
    if (std::string(path).ends_with("/Init.ini")) ++g_settingsOpens;
    return PosixFileOps().open(path, flags, mode);
}

// Reading used to go over the whole file once per key; a file of 10 MB of
// line breaks cost a gigabyte. Now it is read once, and a file too big to
// be settings is not parsed at all but kept aside at the next save.
TEST(Settings, FileIsReadOnceAndAnOversizedOneIsDamaged) {
    SettingsGame s;
    FileOps counting = PosixFileOps();
    counting.open = CountingOpen;
    s.game.records.fileOps = &counting;
    WriteFile(s.IniPath(), "[BasicInformation]\nAutoView=-1\nDrawBack=0\nGameSpeed=20\n");
    g_settingsOpens = 0;
    LoadSettings(s.game.records, s.game.settings, s.game.windowSettings);
    EXPECT_EQ(g_settingsOpens, 1);
    EXPECT_EQ(s.game.settings.GameSpeed, 20);

    const std::string oversized =
        "[BasicInformation]\nAutoView=-1\nDrawBack=0\n" + std::string(kMaxDataFileBytes, '\n');
    WriteFile(s.IniPath(), oversized);
    LoadSettings(s.game.records, s.game.settings, s.game.windowSettings);
    EXPECT_EQ(s.game.settings.AutoView, kOff);  // not parsed: the defaults
    EXPECT_EQ(s.game.settings.DrawBack, kOn);
    EXPECT_TRUE(s.game.records.settingsDamaged);
    EXPECT_NE(s.game.records.notice, "");

    ASSERT_TRUE(SaveSettings(s.game.records, s.game.settings));
    EXPECT_EQ(ReadFile(s.IniPath() + ".bad"), oversized);
    EXPECT_EQ(ReadFile(s.IniPath()).substr(0, 20), "[BasicInformation]\r\n");
}

// A settings file that cannot be read is neither taken as empty nor
// overwritten: it may hold the player's keys and window mode.
TEST(Settings, UnreadableFileIsReportedAndKeptAside) {
    SettingsGame s;
    const std::string keys = "[Keys]\nJump=X\n";
    WriteFile(s.IniPath(), keys);
    FileOps failing = PosixFileOps();
    failing.read = testing::ReadIoError;
    failing.link = testing::LinkNotSupported;
    s.game.records.fileOps = &failing;
    LoadSettings(s.game.records, s.game.settings, s.game.windowSettings);
    EXPECT_NE(s.game.records.notice.find("Init.ini cannot be read"), std::string::npos);
    s.game.records.notice.clear();

    // No copy can be read to keep aside either: it stays, and the save goes
    // to the user's folder.
    ASSERT_TRUE(SaveSettings(s.game.records, s.game.settings));
    EXPECT_EQ(ReadFile(s.IniPath()), keys);
    EXPECT_EQ(s.game.records.settingsPath, s.dataHome.UserFolder() + "Init.ini");
    EXPECT_EQ(ReadFile(s.game.records.settingsPath).substr(0, 20), "[BasicInformation]\r\n");
}

}  // namespace
}  // namespace tumbleroo

namespace tumbleroo {
namespace {

// Found by fuzzing: a key line that ends in a lone carriage return.
TEST(Settings, SavingTwiceWritesTheSameFile) {
    SettingsGame s;
    WriteFile(s.IniPath(), "[BasicInformation]\r\nPlayMusic=-2[Ba\r");
    LoadSettings(s.game.records, s.game.settings, s.game.windowSettings);
    ASSERT_TRUE(SaveSettings(s.game.records, s.game.settings));
    const std::string once = testing::ReadFile(s.IniPath());
    LoadSettings(s.game.records, s.game.settings, s.game.windowSettings);
    ASSERT_TRUE(SaveSettings(s.game.records, s.game.settings));
    EXPECT_EQ(testing::ReadFile(s.IniPath()), once);
}

}  // namespace
}  // namespace tumbleroo
