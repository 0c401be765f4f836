#include "fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace tumbleroo::fuzz {

namespace {

namespace fs = std::filesystem;

struct Scratch {
    std::string path;
    Scratch() {
        std::string pattern = (fs::temp_directory_path() / "tumbleroo-fuzz-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) Fail("cannot make a scratch folder");
        path = pattern + "/";
    }
    ~Scratch() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
};

}  // namespace

const std::string& ScratchFolder() {
    static const Scratch scratch;  // one per fuzzing process
    return scratch.path;
}

void WriteBytes(const std::string& path, const uint8_t* data, size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out) Fail("cannot write " + path);
}

void WriteText(const std::string& path, const std::string& text) {
    WriteBytes(path, reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

void ClearScratchFolder() {
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(ScratchFolder())) fs::remove_all(entry, ignored);
}

void Fail(const std::string& what) {
    std::fprintf(stderr, "fuzz target promise broken: %s\n", what.c_str());
    std::abort();
}

}  // namespace tumbleroo::fuzz
