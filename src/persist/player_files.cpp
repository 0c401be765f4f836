// Where the player's files live and how a save finds a place that takes it.
#include "persist/player_files.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "persist/records_state.h"

namespace tumbleroo {

namespace {

constexpr const char* kFolderName = "tumbleroo/";
// The doubled folder SDL's preference path gave earlier versions.
constexpr const char* kOldFolderName = "Tumbleroo/Tumbleroo/";
constexpr const char* kDefaultDataHome = "/.local/share/";

std::string WithSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

std::string FileNameOf(const std::string& path) { return path.substr(path.rfind('/') + 1); }

// $XDG_DATA_HOME when it is an absolute path (relative ones are ignored, as
// the XDG rules say), else $HOME/.local/share/; empty when neither is set.
std::string DataHome() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg != nullptr && xdg[0] == '/') return WithSlash(xdg);
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0') return {};
    std::string folder = home;
    while (!folder.empty() && folder.back() == '/') folder.pop_back();
    return folder + kDefaultDataHome;
}

void MoveOneFile(const std::string& from, const std::string& to, const FileOps& ops) {
    if (!FileExists(from) || FileExists(to)) return;
    if (ops.rename(from.c_str(), to.c_str()) == 0) return;
    // Another file system: copy, and remove the old file only once the copy
    // is safely on disk.
    const FileRead old = ReadDataFile(from, kMaxDataFileBytes, ops);
    if (old.status != ReadStatus::Read) return;
    if (ReplaceFileAtomically(to, old.bytes, ops)) ::unlink(from.c_str());
}

// Copies a shipped file into the user's folder unless one is already there.
void SeedFile(const std::string& shipped, const std::string& target, const FileOps& ops) {
    if (FileExists(target)) return;
    const FileRead read = ReadDataFile(shipped, kMaxDataFileBytes, ops);
    if (read.status == ReadStatus::Read) ReplaceFileAtomically(target, read.bytes, ops);
}

// The file's name in the user's data folder, or empty when there is none or
// the file is there already.
std::string FallbackPath(const RecordsState& records, const std::string& path) {
    const std::string& folder = records.userFolder;
    if (folder.empty() || FolderOf(path) == folder) return {};
    return folder + FileNameOf(path);
}

// Keeps a damaged file aside, then replaces it.
SaveResult SaveInPlace(const std::string& path, bool& damaged, const std::string& contents,
                       const FileOps& ops) {
    if (damaged) {
        std::string keptAs;
        SaveResult kept = KeepDamagedCopy(path, keptAs, ops);
        if (!kept) return kept;
        if (!keptAs.empty()) {
            std::fprintf(stderr, "tumbleroo: the damaged %s is kept as %s\n", path.c_str(),
                         keptAs.c_str());
        }
        damaged = false;
    }
    return ReplaceFileAtomically(path, contents, ops);
}

}  // namespace

std::string PlayerFilesFolder() {
    const std::string home = DataHome();
    return home.empty() ? home : home + kFolderName;
}

std::string OldPlayerFilesFolder() {
    const std::string home = DataHome();
    return home.empty() ? home : home + kOldFolderName;
}

void MoveOldPlayerFiles(const std::string& oldFolder, const std::string& newFolder,
                        const FileOps& ops) {
    if (oldFolder.empty() || oldFolder == newFolder) return;
    for (const char* name : {kRecordsFileName, kSettingsFileName}) {
        MoveOneFile(oldFolder + name, newFolder + name, ops);
    }
    // rmdir removes only empty folders: anything else the player kept stays.
    ::rmdir(oldFolder.c_str());
    ::rmdir(FolderOf(oldFolder.substr(0, oldFolder.size() - 1)).c_str());
}

const FileOps& FileOpsOf(const RecordsState& records) {
    return records.fileOps != nullptr ? *records.fileOps : PosixFileOps();
}

void ChooseDataFiles(RecordsState& records, const std::string& base) {
    const FileOps& ops = FileOpsOf(records);
    records.userFolder = PlayerFilesFolder();
    std::string folder = base;
    const bool wantUserFolder = records.filesInUserFolder || !FolderIsWritable(base);
    if (wantUserFolder && !records.userFolder.empty() && MakeFolders(records.userFolder)) {
        MoveOldPlayerFiles(OldPlayerFilesFolder(), records.userFolder, ops);
        SeedFile(base + kRecordsFileName, records.userFolder + kRecordsFileName, ops);
        SeedFile(base + kSettingsFileName, records.userFolder + kSettingsFileName, ops);
        folder = records.userFolder;
    }
    UseFolder(records, folder);
}

void UseFolder(RecordsState& records, const std::string& folder) {
    records.recordsPath = folder + kRecordsFileName;
    records.settingsPath = folder + kSettingsFileName;
}

SaveResult SavePlayerFile(RecordsState& records, std::string& path, bool& damaged, const std::string& contents,
                          std::string_view what) {
    const FileOps& ops = FileOpsOf(records);
    SaveResult result = SaveInPlace(path, damaged, contents, ops);
    if (result) return result;
    // The damaged or unwritable file stays untouched where it is.
    const std::string fallback = FallbackPath(records, path);
    if (!fallback.empty() && MakeFolders(records.userFolder)) {
        SaveResult second = ReplaceFileAtomically(fallback, contents, ops);
        if (second) {
            std::fprintf(stderr, "tumbleroo: %s; saved as %s instead\n", result.message.c_str(),
                         fallback.c_str());
            path = fallback;
            damaged = false;
            return second;
        }
    }
    std::fprintf(stderr, "tumbleroo: %s\n", result.message.c_str());
    records.notice = std::string(what) + " not saved: " + result.reason;
    return result;
}

void ReportUnreadFile(RecordsState& records, std::string_view detail, std::string_view notice) {
    std::fprintf(stderr, "tumbleroo: %.*s\n", static_cast<int>(detail.size()), detail.data());
    records.notice = std::string(notice);
}

}  // namespace tumbleroo
