// Positions and sizes are signed whole numbers in the game's arithmetic and
// unsigned as a table's index: these turn one the callers have already
// checked (never negative) into the other, in one named place.
#pragma once

#include <concepts>
#include <cstddef>

namespace tumbleroo {

constexpr size_t AsIndex(std::integral auto i) { return static_cast<size_t>(i); }

// Cells in a table `width` by `height`.
constexpr size_t CellCount(std::integral auto width, std::integral auto height) {
    return AsIndex(width) * AsIndex(height);
}

// The offset of (x, y) in a table of rows `stride` cells wide.
constexpr size_t RowMajor(std::integral auto x, std::integral auto y, std::integral auto stride) {
    return AsIndex(y) * AsIndex(stride) + AsIndex(x);
}

}  // namespace tumbleroo
