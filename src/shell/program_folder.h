// The folder the running program lives in, ending in '/'.
#pragma once

#include <string>

namespace tumbleroo {

std::string ProgramFolder();

}  // namespace tumbleroo
