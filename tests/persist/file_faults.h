// Test support for the player's files: failing file operations to inject,
// and a user data folder of the test's own.
#pragma once

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "persist/data_file.h"
#include "support/files.h"

namespace tumbleroo::testing {

inline ssize_t WriteToFullDisk(int, const void*, size_t) {
    errno = ENOSPC;
    return -1;
}
inline int FsyncIoError(int) {
    errno = EIO;
    return -1;
}
inline int RenameAcrossDevices(const char*, const char*) {
    errno = EXDEV;
    return -1;
}
// Renames within one folder work; across folders they fail as they do
// across file systems.
inline int RenameOnlyWithinAFolder(const char* from, const char* to) {
    const std::string a(from), b(to);
    const bool sameFolder = a.substr(0, a.rfind('/')) == b.substr(0, b.rfind('/'));
    return sameFolder ? PosixFileOps().rename(from, to) : RenameAcrossDevices(from, to);
}
// As on a file system without hard links.
inline int LinkNotSupported(const char*, const char*) {
    errno = EPERM;
    return -1;
}
inline ssize_t ReadIoError(int, void*, size_t) {
    errno = EIO;
    return -1;
}

// Sets an environment variable (unset: nullopt) for the length of a scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        Set(value);
    }
    ~ScopedEnv() { Set(old_); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    void Set(const std::optional<std::string>& value) {
        if (value) {
            setenv(name_, value->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }
    const char* name_;
    std::optional<std::string> old_;
};

// A data home of the test's own, so that no test touches the real
// ~/.local/share: the user's data folder is <path>/tumbleroo/.
struct TestDataHome {
    TempFolder home;
    ScopedEnv xdg{"XDG_DATA_HOME", home.path};
    std::string UserFolder() const { return home.path + "/tumbleroo/"; }
};

}  // namespace tumbleroo::testing
