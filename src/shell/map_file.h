// Course map files: the binary .map layout, and the readable text form that
// the course sources are written in.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "shell/game.h"

namespace tumbleroo {

inline constexpr int32_t kMaxMapCells = 1638;  // widest and highest map

// A whole map as a file holds it.
struct MapData {
    MapHeader header;
    std::vector<uint8_t> cells;  // column by column: all rows of column 0 first
    uint8_t At(int32_t x, int32_t y) const {
        return cells[RowMajor(y, x, header.MapHeight)];  // column by column
    }
};

// Parses a .map file image. Returns false (with a reason) for a file that is
// shorter than its header announces or whose size is out of range.
bool ParseMapBytes(const std::vector<uint8_t>& bytes, MapData& out, std::string& error);
std::vector<uint8_t> MapToBytes(const MapData& map);

// The text form: "Key: value" header lines, a line "Cells:", then one line
// per row with one character per cell.
bool ParseMapText(const std::string& text, MapData& out, std::string& error);
std::string MapToText(const MapData& map);

// Reads a map file into the game; false (with the reason) when it is
// missing, unreadable or rejected.
bool ReadMapFile(Game& game, const std::string& path, std::string& error);
// The same, telling the reason on standard error.
bool ReadMapFile(Game& game, const std::string& path);
// Loads MapName's file from the game folder; ends the program when it fails.
void LoadMap(Game& game, const std::string& name);
std::string MapFilePath(const Game& game, const std::string& name);

}  // namespace tumbleroo
