// Where the program and its game data live.
#pragma once

#include <optional>
#include <string>

namespace tumbleroo {

// The folder the running program lives in, ending in '/'.
std::string ProgramFolder();

// Where the game data is looked for: `given` (--data-dir) alone when named,
// else $TUMBLEROO_DATA_DIR alone when set, else the installed data folder
// (found from the program's folder, so a moved install still works), then the
// program's own folder (the build tree). Each ends in '/'.
struct DataFolderSearch {
    std::optional<std::string> found;  // the first place holding MapFiles/
    std::string looked;                // every place tried, for the message
    // Found in the installed data folder: the player's files then live in
    // the user's data folder, not beside the shared data.
    bool installed = false;
};
DataFolderSearch FindDataFolder(const std::string& given);

}  // namespace tumbleroo
