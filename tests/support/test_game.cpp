#include "support/test_game.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "shell/program.h"
#include "shell/stage_loop.h"

namespace tumbleroo::testing {

TestGame::TestGame() {
    char pattern[] = "/tmp/tumbleroo-test-XXXXXX";
    dir = mkdtemp(pattern);
    std::filesystem::create_directories(dir + "/MapFiles");
    game.platform = &platform;
    PrepareGame(game, dir, 1);
    // A failed save falls back to a folder of the test's own, never the home folder.
    game.records.userFolder = dir + "/user/";
    game.settings.PlayMusic = kOff;
    game.settings.AutoView = kOff;
    game.settings.DrawBack = kOn;
    game.settings.GameSpeed = 0;
    EXPECT_TRUE(OpenDisplayAndPictures(game));
    game.run.SelectedStage = 1;
    game.run.SelectedCourse = 1;
}

TestGame::~TestGame() {
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
}

void TestGame::UseMap(const std::string& courseText, const std::string& name) {
    MapData data;
    std::string error;
    ASSERT_TRUE(ParseMapText(courseText, data, error)) << error;
    const std::vector<uint8_t> bytes = MapToBytes(data);
    std::ofstream out(dir + "/MapFiles/" + name + ".map", std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    game.run.MapName = name;
    ASSERT_TRUE(ReadMapFile(game, MapFilePath(game, name)));
}

void TestGame::Keys(const std::string& script) {
    std::string error;
    platform.keyScript.clear();
    ASSERT_TRUE(ParseKeyScript(script, platform.keyScript, error)) << error;
}

bool TestGame::PlayStage(uint64_t maxFlips) {
    platform.frameLimit = platform.flips + maxFlips;
    bool endedByItself = true;
    try {
        tumbleroo::PlayStage(game);
    } catch (const ProgramEnded&) {
        endedByItself = false;
    }
    platform.frameLimit = 0;
    return endedByItself;
}

void TestGame::PrepareStage() { SetUpStage(game); }

Game& TestGame::Stage(const std::string& rows, const std::string& headerLines) {
    UseMap(Course(rows, headerLines));
    PrepareStage();
    return game;
}

std::string During(int first, int last, const std::string& keys) {
    return std::to_string(kOpeningFlips + first) + "-" + std::to_string(kOpeningFlips + last) +
           " " + keys + "\n";
}

std::string Course(const std::string& rows, const std::string& headerLines) {
    return "BackColor: 100 150 200\n" + headerLines + "\nCells:\n" + rows;
}

void TestGame::KeysFromNow(const std::string& script) {
    Keys(script);
    for (KeyRange& r : platform.keyScript) {
        r.from += platform.flips;
        r.to += platform.flips;
    }
}

Pictures& TestGame::OwnPictures() {
    auto own = std::make_shared<Pictures>(*game.pictures);
    game.pictures = own;
    return *own;
}

}  // namespace tumbleroo::testing
