// The records file shipped with the game: every course uncleared, and the
// coin count of every course that exists equal to its map's coin cells.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "shell/map_file.h"

namespace {

namespace fs = std::filesystem;

std::string ReadWhole(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// " 12 ": a leading blank for a non-negative number and one trailing blank.
std::string Printed(int value) { return " " + std::to_string(value) + " "; }

TEST(ShippedRecords, UnclearedWithTheCoinCountOfEveryMap) {
    const std::string text = ReadWhole(fs::path(TUMBLEROO_SOURCE_DIR) / "data/MapInfo.dat");
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find("\r\n", start);
        ASSERT_NE(end, std::string::npos) << "every line ends in CR LF";
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    ASSERT_EQ(lines.size(), 60u);
    for (int stage = 1; stage <= 5; ++stage) {
        for (int course = 1; course <= 3; ++course) {
            const size_t first = static_cast<size_t>(((stage - 1) * 3 + course - 1) * 4);
            const std::string name = "C" + std::to_string(stage) + "-" + std::to_string(course);
            EXPECT_EQ(lines[first], Printed(0)) << name << " must ship uncleared";
            EXPECT_EQ(lines[first + 1], Printed(0)) << name;
            EXPECT_EQ(lines[first + 2], "") << name;
            int coins = 0;
            const fs::path source = fs::path(TUMBLEROO_SOURCE_DIR) / "data/maps" / (name + ".txt");
            if (fs::exists(source)) {
                tumbleroo::MapData map;
                std::string error;
                ASSERT_TRUE(tumbleroo::ParseMapText(ReadWhole(source), map, error)) << error;
                for (uint8_t cell : map.cells) coins += cell == 6 ? 1 : 0;
            }
            EXPECT_EQ(lines[first + 3], Printed(coins)) << name << " coin count";
        }
    }
}

}  // namespace
