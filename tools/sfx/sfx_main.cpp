// tumbleroo-sfx: makes the game's six WAV sound effects from their
// parameters, or checks that the shipped files still match them.
//
//   tumbleroo-sfx --out DIR     writes the six files into DIR
//   tumbleroo-sfx --check DIR   exits 1 unless every file in DIR is identical
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "effects.h"
#include "synth.h"

namespace {

namespace fs = std::filesystem;
using tumbleroo::sfx::EncodeWav;
using tumbleroo::sfx::GameEffects;
using tumbleroo::sfx::RenderEffect;

bool ReadFile(const fs::path& path, std::vector<uint8_t>& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

bool WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

int WriteAll(const fs::path& dir) {
    std::error_code error;
    fs::create_directories(dir, error);
    for (const auto& effect : GameEffects()) {
        const fs::path path = dir / effect.fileName;
        if (!WriteFile(path, EncodeWav(RenderEffect(effect)))) {
            std::cerr << "tumbleroo-sfx: cannot write " << path.string() << "\n";
            return 1;
        }
    }
    return 0;
}

int CheckAll(const fs::path& dir) {
    int stale = 0;
    for (const auto& effect : GameEffects()) {
        const fs::path path = dir / effect.fileName;
        std::vector<uint8_t> shipped;
        if (!ReadFile(path, shipped)) {
            std::cerr << "missing: " << path.string() << "\n";
            ++stale;
        } else if (shipped != EncodeWav(RenderEffect(effect))) {
            std::cerr << "differs from its parameters: " << path.string() << "\n";
            ++stale;
        }
    }
    if (stale > 0) {
        std::cerr << "run tumbleroo-sfx --out " << dir.string() << " to remake the sounds\n";
        return 1;
    }
    std::cout << "all " << GameEffects().size() << " sound effects match\n";
    return 0;
}

int Usage() {
    std::cerr << "usage: tumbleroo-sfx --out DIR | --check DIR\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return Usage();
    const std::string mode = argv[1];
    if (mode == "--out") return WriteAll(argv[2]);
    if (mode == "--check") return CheckAll(argv[2]);
    return Usage();
}
