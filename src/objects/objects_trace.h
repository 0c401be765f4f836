// The objects' part of the driver's trace.
#pragma once

#include <string>

namespace tumbleroo {

struct Game;

// Appends ,"objects":{...} to a JSON object when the map has objects.
void AppendObjectsTrace(const Game& game, std::string& json);

}  // namespace tumbleroo
