// The player's files on disk: bounded reads, crash-safe replacement, damaged
// files kept aside, and the few system calls all of it goes through (so
// tests can make any one of them fail).
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>

namespace tumbleroo {

// The file operations reads and saves use. Tests pass copies with one
// operation replaced by a failing one; the game uses PosixFileOps().
struct FileOps {
    int (*open)(const char* path, int flags, mode_t mode);
    ssize_t (*read)(int fd, void* buffer, size_t size);
    ssize_t (*write)(int fd, const void* buffer, size_t size);
    int (*fsync)(int fd);
    int (*close)(int fd);
    int (*rename)(const char* from, const char* to);
    int (*link)(const char* from, const char* to);
};
const FileOps& PosixFileOps();

// Real settings and records are a few hundred bytes; a file past this is
// damaged and is not read whole.
inline constexpr size_t kMaxDataFileBytes = 1024 * 1024;

enum class ReadStatus { Read, Missing, Unreadable, TooBig };
struct FileRead {
    ReadStatus status = ReadStatus::Missing;
    std::string bytes;   // the contents when Read
    std::string reason;  // why not, for the player, when Unreadable or TooBig
};
// A file there that cannot be used as it is: never replaced before a copy of
// it is kept.
inline bool IsUnusable(const FileRead& read) {
    return read.status == ReadStatus::Unreadable || read.status == ReadStatus::TooBig;
}
// Reads at most maxBytes; a folder in the file's place is Unreadable.
FileRead ReadDataFile(const std::string& path, size_t maxBytes, const FileOps& ops);

// Reads the whole file as bytes; false when it cannot be opened or read,
// or is not a regular file (a folder in its place).
bool ReadWholeFile(const std::string& path, std::string& out);

bool FileExists(const std::string& path);

// What became of a save. When it failed, `message` names the step and the
// file ("cannot write /home/.../MapInfo.dat.tmp: No space left on device")
// and `reason` is the system's short word for it ("No space left on
// device"), short enough for a line on the screen.
struct SaveResult {
    bool saved = false;
    std::string message;
    std::string reason;
    explicit operator bool() const { return saved; }
};

// Replaces the file's contents so that a crash at any moment leaves either
// the old file or the new one: the bytes go to a file beside it, reach the
// disk, and are then renamed over the old name. When any step fails the old
// file is untouched.
SaveResult ReplaceFileAtomically(const std::string& path, const std::string& contents,
                                 const FileOps& ops);

// Keeps a damaged file under the first free name of path.bad, path.bad.1,
// path.bad.2, ... so an earlier copy is never overwritten; `keptAs` is the
// name used. A second name for the same file where the file system allows
// it (no copy of a huge file in memory), else a copy.
SaveResult KeepDamagedCopy(const std::string& path, std::string& keptAs, const FileOps& ops);

// Removes the half-written file that a save killed before its rename leaves
// beside the real one; the real file is never touched.
void RemoveLeftoverSaveFile(const std::string& path);

// True when a new file can really be created in the folder (permission bits
// alone do not tell, e.g. for the superuser or on a read-only mount).
bool FolderIsWritable(const std::string& folder);

// Creates the folder and any missing parents; true when it exists after.
bool MakeFolders(const std::string& folder);

}  // namespace tumbleroo
