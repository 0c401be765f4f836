// The objects' part of a trace line: every table and the shared movement
// state, as JSON members.
#pragma once

#include <string>

namespace tumbleroo {

struct Game;

// Appends ,"objects":{...} to a JSON object being built, when the map has
// any object at all; appends nothing otherwise.
void AppendObjectsTrace(const Game& game, std::string& json);

}  // namespace tumbleroo
