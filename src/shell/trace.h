// The driver's trace: one JSON object per pass of the stage loop.
#pragma once

#include <string>

namespace tumbleroo {

struct Game;

std::string TraceLine(const Game& game);

}  // namespace tumbleroo
