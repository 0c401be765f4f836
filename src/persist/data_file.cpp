// The player's files on disk. Every read is bounded, every save is one
// rename of a fully written and synced file, and every failure says which
// step failed and why.
#include "persist/data_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <limits>

namespace tumbleroo {

namespace {

constexpr mode_t kNewFileMode = 0644;
constexpr mode_t kNewFolderMode = 0755;
constexpr size_t kReadChunkBytes = 64 * 1024;
// Numbered copies of damaged files stop here rather than search forever.
constexpr int kMaxDamagedCopies = 1000;
constexpr const char* kDamagedSuffix = ".bad";

int PosixOpen(const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); }
ssize_t PosixRead(int fd, void* buffer, size_t size) { return ::read(fd, buffer, size); }
ssize_t PosixWrite(int fd, const void* buffer, size_t size) { return ::write(fd, buffer, size); }
int PosixFsync(int fd) { return ::fsync(fd); }
int PosixClose(int fd) { return ::close(fd); }
int PosixRename(const char* from, const char* to) { return ::rename(from, to); }
int PosixLink(const char* from, const char* to) { return ::link(from, to); }

constexpr FileOps kPosixFileOps{PosixOpen,  PosixRead,   PosixWrite, PosixFsync,
                                PosixClose, PosixRename, PosixLink};

SaveResult Failed(const std::string& step, const std::string& path, int error) {
    const std::string reason = std::strerror(error);
    return {false, step + " " + path + ": " + reason, reason};
}

std::string FolderOf(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// The name a save writes to before renaming it over the real file.
std::string SaveFileBeside(const std::string& path) { return path + ".tmp"; }

// errno after a failed write, or ENOSPC for a write that stopped short.
int WriteAll(int fd, const std::string& contents, const FileOps& ops) {
    size_t done = 0;
    while (done < contents.size()) {
        const ssize_t n = ops.write(fd, contents.data() + done, contents.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        if (n == 0) return ENOSPC;
        done += static_cast<size_t>(n);
    }
    return 0;
}

// Makes the rename itself durable; a folder that cannot be synced is no
// reason to call the save failed.
void SyncFolder(const std::string& folder, const FileOps& ops) {
    const int fd = ops.open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
    if (fd < 0) return;
    ops.fsync(fd);
    ops.close(fd);
}

// Reads up to limit + 1 bytes, so a file that grew past its size is caught.
FileRead ReadOpenFile(int fd, const std::string& path, size_t limit, const FileOps& ops) {
    FileRead result;
    std::string bytes;
    char chunk[kReadChunkBytes];
    for (;;) {
        const ssize_t n = ops.read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            result.status = ReadStatus::Unreadable;
            result.reason = "cannot read " + path + ": " + std::strerror(errno);
            return result;
        }
        if (n == 0) break;
        bytes.append(chunk, static_cast<size_t>(n));
        if (bytes.size() > limit) {
            result.status = ReadStatus::TooBig;
            result.reason = path + " is larger than " + std::to_string(limit) + " bytes";
            return result;
        }
    }
    result.status = ReadStatus::Read;
    result.bytes = std::move(bytes);
    return result;
}

}  // namespace

const FileOps& PosixFileOps() { return kPosixFileOps; }

FileRead ReadDataFile(const std::string& path, size_t maxBytes, const FileOps& ops) {
    FileRead result;
    const int fd = ops.open(path.c_str(), O_RDONLY | O_CLOEXEC, 0);
    if (fd < 0) {
        const int error = errno;
        // No such file, or a path through something that is not a folder.
        const bool missing = error == ENOENT || error == ENOTDIR;
        result.status = missing ? ReadStatus::Missing : ReadStatus::Unreadable;
        result.reason = "cannot open " + path + ": " + std::strerror(error);
        return result;
    }
    // A folder or device where a file should be is refused, not a crash.
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        result.status = ReadStatus::Unreadable;
        result.reason = path + " is not a file";
    } else if (static_cast<uint64_t>(st.st_size) > maxBytes) {
        result.status = ReadStatus::TooBig;
        result.reason = path + " is larger than " + std::to_string(maxBytes) + " bytes";
    } else {
        result = ReadOpenFile(fd, path, maxBytes, ops);
    }
    ops.close(fd);
    return result;
}

bool ReadWholeFile(const std::string& path, std::string& out) {
    FileRead read = ReadDataFile(path, std::numeric_limits<size_t>::max(), PosixFileOps());
    if (read.status != ReadStatus::Read) return false;
    out = std::move(read.bytes);
    return true;
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

void RemoveLeftoverSaveFile(const std::string& path) { ::unlink(SaveFileBeside(path).c_str()); }

SaveResult ReplaceFileAtomically(const std::string& path, const std::string& contents,
                                 const FileOps& ops) {
    const std::string temp = SaveFileBeside(path);
    const int fd = ops.open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, kNewFileMode);
    if (fd < 0) return Failed("cannot create", temp, errno);
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0) ::fchmod(fd, old.st_mode & 07777);
    SaveResult result{true, {}, {}};
    if (const int error = WriteAll(fd, contents, ops); error != 0) {
        result = Failed("cannot write", temp, error);
    } else if (ops.fsync(fd) != 0) {
        result = Failed("cannot write to disk", temp, errno);
    }
    if (ops.close(fd) != 0 && result.saved) result = Failed("cannot write", temp, errno);
    if (result.saved && ops.rename(temp.c_str(), path.c_str()) != 0) {
        result = Failed("cannot replace", path, errno);
    }
    if (!result.saved) {
        ::unlink(temp.c_str());
        return result;
    }
    SyncFolder(FolderOf(path), ops);
    return result;
}

SaveResult KeepDamagedCopy(const std::string& path, std::string& keptAs, const FileOps& ops) {
    if (!FileExists(path)) return {true, {}, {}};
    std::string copyName;  // the first free name, for a copy when links fail
    for (int n = 0; n < kMaxDamagedCopies; ++n) {
        std::string name = path + kDamagedSuffix;
        if (n > 0) name += "." + std::to_string(n);
        if (ops.link(path.c_str(), name.c_str()) == 0) {
            keptAs = name;
            return {true, {}, {}};
        }
        if (errno != EEXIST && !FileExists(name)) {
            copyName = name;
            break;
        }
    }
    if (copyName.empty()) {
        return {false, "cannot keep a copy of " + path + ": too many damaged copies beside it",
                "too many damaged copies"};
    }
    const FileRead damaged = ReadDataFile(path, std::numeric_limits<size_t>::max(), ops);
    if (damaged.status != ReadStatus::Read) {
        return {false, "cannot keep a copy: " + damaged.reason, "the file cannot be read"};
    }
    keptAs = copyName;
    return ReplaceFileAtomically(copyName, damaged.bytes, ops);
}

bool FolderIsWritable(const std::string& folder) {
    std::string probe = folder;
    if (!probe.empty() && probe.back() != '/') probe += '/';
    probe += ".write-probe-" + std::to_string(::getpid());
    const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, kNewFileMode);
    if (fd < 0) return false;
    ::close(fd);
    ::unlink(probe.c_str());
    return true;
}

bool MakeFolders(const std::string& folder) {
    for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (!part.empty()) ::mkdir(part.c_str(), kNewFolderMode);
        if (slash == std::string::npos) break;
    }
    struct stat st {};
    return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace tumbleroo
