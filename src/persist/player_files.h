// Where the player's files (Init.ini, MapInfo.dat) live, and how they are
// saved: in the game folder for a game run from its build or unpacked folder,
// in the user's data folder for an installed one or when the game folder
// cannot be written.
#pragma once

#include <string>
#include <string_view>

#include "persist/data_file.h"

namespace tumbleroo {

struct RecordsState;

inline constexpr const char* kRecordsFileName = "MapInfo.dat";
inline constexpr const char* kSettingsFileName = "Init.ini";

// $XDG_DATA_HOME/tumbleroo/, else ~/.local/share/tumbleroo/; empty when
// neither variable names a folder.
std::string PlayerFilesFolder();
// The folder earlier versions kept the files in (data home/Tumbleroo/Tumbleroo/).
std::string OldPlayerFilesFolder();

// Moves Init.ini and MapInfo.dat from the old folder to the new one, each
// only when the new folder has none yet; the old folder and its parent
// (the outer Tumbleroo/) go once empty.
void MoveOldPlayerFiles(const std::string& oldFolder, const std::string& newFolder,
                        const FileOps& ops);

// Chooses where Init.ini and MapInfo.dat live: the user's data folder when
// records.filesInUserFolder is set or the game folder cannot be written
// (moving the old folder's files over and seeding the shipped records on
// first use), else the game folder.
void ChooseDataFiles(RecordsState& records, const std::string& gameFolder);
// Keeps both files in `folder` (which ends in a slash).
void UseFolder(RecordsState& records, const std::string& folder);

// The operations the game's files go through (the test's, or POSIX).
const FileOps& FileOpsOf(const RecordsState& records);

// Saves one of the player's files: a damaged file at `path` is first kept
// aside (`damaged` then clears); when the save fails there, the user's data
// folder is tried and, if it works, becomes the file's home (`path`
// changes). A failure is written to standard error and left in
// records.notice for the screen, as "<what> not saved: <reason>".
SaveResult SavePlayerFile(RecordsState& records, std::string& path, bool& damaged, const std::string& contents,
                          std::string_view what);

// Tells the player about a file that could not be read as it is: the
// detail on standard error, the notice on the screen (records.notice).
void ReportUnreadFile(RecordsState& records, std::string_view detail, std::string_view notice);

}  // namespace tumbleroo
