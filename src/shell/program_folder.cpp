#include "shell/program_folder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

namespace tumbleroo {

namespace {

// The installed data folder, relative to the installed program's folder.
#ifndef TUMBLEROO_DATA_FROM_BIN
#define TUMBLEROO_DATA_FROM_BIN "../share/tumbleroo"
#endif

// A game data folder is recognised by its course folder.
constexpr const char* kCourseFolder = "MapFiles";

std::string WithSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

bool HoldsGameData(const std::string& folder) {
    std::error_code error;
    return std::filesystem::is_directory(folder + kCourseFolder, error);
}

}  // namespace

std::string ProgramFolder() {
    std::error_code error;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return WithSlash(error ? std::string(".") : exe.parent_path().string());
}

DataFolderSearch FindDataFolder(const std::string& given) {
    // A folder the player names is the only one tried: falling back would
    // quietly play (and save records) somewhere else.
    struct Place {
        std::string folder;
        bool installed;
    };
    std::vector<Place> places;
    const char* fromEnvironment = std::getenv("TUMBLEROO_DATA_DIR");
    if (!given.empty()) {
        places.push_back({WithSlash(given), false});
    } else if (fromEnvironment != nullptr && *fromEnvironment != '\0') {
        places.push_back({WithSlash(fromEnvironment), false});
    } else {
        const std::string program = ProgramFolder();
        places.push_back({WithSlash(program + TUMBLEROO_DATA_FROM_BIN), true});
        places.push_back({program, false});
    }
    DataFolderSearch search;
    for (const Place& place : places) {
        if (!search.looked.empty()) search.looked += ", ";
        search.looked += place.folder;
        if (HoldsGameData(place.folder)) {
            search.found = place.folder;
            search.installed = place.installed;
            return search;
        }
    }
    return search;
}

}  // namespace tumbleroo
