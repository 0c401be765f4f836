#include "shell/program_folder.h"

#include <filesystem>
#include <system_error>

namespace tumbleroo {

std::string ProgramFolder() {
    std::error_code error;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    std::string folder = error ? std::string(".") : exe.parent_path().string();
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

}  // namespace tumbleroo
