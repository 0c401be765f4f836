// The map cell: the unit of every map position, probe and sheet of cell
// pictures.
#pragma once

#include <cstdint>

namespace tumbleroo {

// The side of one square map cell, in pixels.
inline constexpr int32_t kCellPixels = 20;

}  // namespace tumbleroo
