#include "shell/map_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/files.h"
#include "support/test_game.h"

namespace tumbleroo {
namespace {

using testing::WriteFile;

std::vector<uint8_t> MapBytes(int32_t w, int32_t h, const std::string& extra, int16_t style,
                              const std::vector<uint8_t>& cells) {
    MapData map;
    map.header.MapWidth = w;
    map.header.MapHeight = h;
    map.header.HeaderExtra = extra;
    map.header.GroundStyle = style;
    map.cells = cells;
    return MapToBytes(map);
}

TEST(MapFile, CellsAreStoredColumnByColumnWithASpareColumnAndRow) {
    testing::TestGame t;
    const std::string path = t.dir + "/MapFiles/M.map";
    WriteFile(path, MapBytes(2, 3, "", 3, {1, 2, 3, 4, 5, 6}));
    ASSERT_TRUE(ReadMapFile(t.game, path));
    const MapState& m = t.game.map;
    EXPECT_EQ(m.MapWidth, 2);
    EXPECT_EQ(m.MapHeight, 3);
    EXPECT_EQ(m.Cell(0, 0), 1);
    EXPECT_EQ(m.Cell(0, 1), 2);
    EXPECT_EQ(m.Cell(0, 2), 3);
    EXPECT_EQ(m.Cell(1, 0), 4);
    EXPECT_EQ(m.Cell(1, 2), 6);
    for (int32_t y = 0; y <= 3; ++y) EXPECT_EQ(m.Cell(2, y), 0);
    for (int32_t x = 0; x <= 2; ++x) EXPECT_EQ(m.Cell(x, 3), 0);
    EXPECT_EQ(m.GroundStyle, 3);
}

TEST(MapFile, HeaderExtraShiftsStyleAndCellsAndStyleZeroMeansOne) {
    const std::vector<uint8_t> plain = MapBytes(1, 1, "", 0, {9});
    EXPECT_EQ(plain.size(), 61u);
    EXPECT_EQ(plain[60], 9);
    const std::vector<uint8_t> extra = MapBytes(1, 1, "hello", 4, {9});
    EXPECT_EQ(extra[56], 5);      // text length
    EXPECT_EQ(extra[63], 4);      // GroundStyle after the text
    EXPECT_EQ(extra[65], 9);      // first cell

    testing::TestGame t;
    const std::string path = t.dir + "/MapFiles/M.map";
    WriteFile(path, extra);
    ASSERT_TRUE(ReadMapFile(t.game, path));
    EXPECT_EQ(t.game.map.GroundStyle, 4);
    EXPECT_EQ(t.game.map.MapHeader.HeaderExtra, "hello");
    WriteFile(path, plain);
    ASSERT_TRUE(ReadMapFile(t.game, path));
    EXPECT_EQ(t.game.map.GroundStyle, 1);
}

TEST(MapFile, ShortOrOutOfRangeFilesAreRejectedLikeMissingOnes) {
    testing::TestGame t;
    const std::string path = t.dir + "/MapFiles/M.map";
    std::vector<uint8_t> bytes = MapBytes(4, 4, "", 1, std::vector<uint8_t>(16, 1));
    bytes.pop_back();
    WriteFile(path, bytes);
    EXPECT_FALSE(ReadMapFile(t.game, path));
    WriteFile(path, std::vector<uint8_t>(bytes.begin(), bytes.begin() + 30));
    EXPECT_FALSE(ReadMapFile(t.game, path));
    WriteFile(path, MapBytes(0, 4, "", 1, {}));
    EXPECT_FALSE(ReadMapFile(t.game, path));
    WriteFile(path, MapBytes(1639, 1, "", 1, std::vector<uint8_t>(1639, 0)));
    EXPECT_FALSE(ReadMapFile(t.game, path));
    WriteFile(path, MapBytes(-5, 2, "", 1, {}));
    EXPECT_FALSE(ReadMapFile(t.game, path));
    EXPECT_FALSE(ReadMapFile(t.game, t.dir + "/MapFiles/none.map"));
    // A folder where the map should be is rejected too, not a stream exception.
    std::filesystem::create_directories(t.dir + "/MapFiles/C1-1.map");
    EXPECT_FALSE(ReadMapFile(t.game, t.dir + "/MapFiles/C1-1.map"));
}

// A start within 50 pixels of the bottom makes every probe a miss, and the
// miss puts the player back there: one frame would never end.
TEST(MapFile, StartThatWouldFallOutAtOnceIsRejectedWithItsReason) {
    testing::TestGame t;
    const std::string path = t.dir + "/MapFiles/M.map";
    MapData map;
    std::string error;
    ASSERT_TRUE(ParseMapText(testing::Course("....\nS..G\n"), map, error)) << error;
    WriteFile(path, MapToBytes(map));
    EXPECT_FALSE(ReadMapFile(t.game, path));
    EXPECT_FALSE(ParseMapBytes(MapToBytes(map), map, error));
    EXPECT_NE(error.find("column 0, row 1"), std::string::npos) << error;
    EXPECT_NE(error.find("fall out"), std::string::npos) << error;

    // Three rows above the bottom is the lowest start that stands.
    ASSERT_TRUE(ParseMapText(testing::Course("S..G\n....\n....\n"), map, error)) << error;
    EXPECT_TRUE(ParseMapBytes(MapToBytes(map), map, error)) << error;
    ASSERT_TRUE(ParseMapText(testing::Course(".S.G\n....\n"), map, error)) << error;
    EXPECT_FALSE(ParseMapBytes(MapToBytes(map), map, error));
}

TEST(MapFile, TextFormRoundTripsThroughTheBinaryFile) {
    const std::string text = testing::Course(
        "..o.G\n"
        "S~H*C\n"
        "#####\n"
        "#####\n",
        "SideLiftSpeed: -2\nSpikeBlockUpDistance: 7\nGroundStyle: 5\nHeaderExtra: note");
    MapData a, b;
    std::string error;
    ASSERT_TRUE(ParseMapText(text, a, error)) << error;
    EXPECT_EQ(a.At(2, 0), 6);
    EXPECT_EQ(a.At(0, 1), 14);
    EXPECT_EQ(a.At(4, 1), 32);
    ASSERT_TRUE(ParseMapBytes(MapToBytes(a), b, error)) << error;
    EXPECT_EQ(MapToText(a), MapToText(b));
    EXPECT_EQ(b.header.SideLiftSpeed, -2);
    EXPECT_EQ(b.header.SpikeBlockUpDistance, 7);
    EXPECT_EQ(b.header.BackColor, 100 | (150 << 8) | (200 << 16));

    EXPECT_FALSE(ParseMapText(testing::Course("..\n...\n"), a, error));
    EXPECT_FALSE(ParseMapText(testing::Course("..?\n"), a, error));
    EXPECT_FALSE(ParseMapText("Bogus: 1\nCells:\n..\n", a, error));
}

// The gate warps the player to one fixed place (6680, 520): in a map
// without room there the player would stand outside it, stuck for good.
TEST(MapFile, GateWhoseWarpLeadsOutsideTheMapIsRejectedWithItsReason) {
    testing::TestGame t;
    const std::string path = t.dir + "/MapFiles/M.map";
    MapData map;
    std::string error;
    ASSERT_TRUE(ParseMapText(testing::Course("......\n.S..G.\n......\n.W####\n######\n"), map, error))
        << error;
    WriteFile(path, MapToBytes(map));
    EXPECT_FALSE(ReadMapFile(t.game, path));
    EXPECT_FALSE(ParseMapBytes(MapToBytes(map), map, error));
    EXPECT_NE(error.find("gate at column 1, row 3"), std::string::npos) << error;

    // 336 columns and 29 rows hold the player at the warp's end.
    auto rows = [](int width, int height) {
        std::string text;
        for (int y = 0; y < height; ++y) {
            std::string row(static_cast<size_t>(width), '.');
            if (y == 1) row[1] = 'S';
            if (y == 3) row[1] = 'W';
            text += row + "\n";
        }
        return text;
    };
    ASSERT_TRUE(ParseMapText(testing::Course(rows(336, 29)), map, error)) << error;
    EXPECT_TRUE(ParseMapBytes(MapToBytes(map), map, error)) << error;
    ASSERT_TRUE(ParseMapText(testing::Course(rows(335, 29)), map, error)) << error;
    EXPECT_FALSE(ParseMapBytes(MapToBytes(map), map, error));
    ASSERT_TRUE(ParseMapText(testing::Course(rows(336, 28)), map, error)) << error;
    EXPECT_FALSE(ParseMapBytes(MapToBytes(map), map, error));
}

// The file gives HeaderExtra a 16-bit length: a longer text would be cut
// there and the rest of it read as the style and the cells.
TEST(MapFile, CourseTextWithAHeaderExtraTooLongForTheFileIsRefused) {
    MapData map;
    std::string error;
    const std::string longest(65535, 'x');
    ASSERT_TRUE(ParseMapText(testing::Course("S.G\n###\n###\n###\n", "HeaderExtra: " + longest), map,
                             error))
        << error;
    MapData read;
    ASSERT_TRUE(ParseMapBytes(MapToBytes(map), read, error)) << error;
    EXPECT_EQ(read.header.HeaderExtra, longest);

    EXPECT_FALSE(ParseMapText(testing::Course("S.G\n###\n###\n###\n", "HeaderExtra: " + longest + "x"),
                              map, error));
    EXPECT_NE(error.find("HeaderExtra"), std::string::npos) << error;
}

TEST(MapFile, ReloadUndoesChangesMadeDuringPlay) {
    testing::TestGame t;
    t.UseMap(testing::Course("S.o\n...\n###\n"));
    const std::vector<uint8_t> fresh = t.game.map.MapGrid;
    t.game.map.Cell(2, 0) = 0;
    t.game.map.Cell(0, 0) = 0;
    LoadMap(t.game, "T1-1");
    EXPECT_EQ(t.game.map.MapGrid, fresh);
}

TEST(MapFile, MissingMapEndsTheProgram) {
    testing::TestGame t;
    EXPECT_THROW(LoadMap(t.game, "C9-9"), ProgramEnded);
}

}  // namespace
}  // namespace tumbleroo
