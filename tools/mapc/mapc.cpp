// tumbleroo-mapc: turns course text into a .map file and back.
//   tumbleroo-mapc compile SOURCE.txt OUT.map
//   tumbleroo-mapc decompile IN.map OUT.txt
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "persist/ini.h"
#include "shell/map_file.h"

namespace {

bool WriteWhole(const std::string& path, const std::string& data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    using namespace tumbleroo;
    if (argc != 4) {
        std::fprintf(stderr, "usage: tumbleroo-mapc compile SOURCE.txt OUT.map\n"
                             "       tumbleroo-mapc decompile IN.map OUT.txt\n");
        return 2;
    }
    const std::string mode = argv[1];
    std::string input, error;
    if (!ReadWholeFile(argv[2], input)) {
        std::fprintf(stderr, "%s: cannot read\n", argv[2]);
        return 1;
    }
    MapData map;
    std::string output;
    if (mode == "compile") {
        if (!ParseMapText(input, map, error)) {
            std::fprintf(stderr, "%s: %s\n", argv[2], error.c_str());
            return 1;
        }
        const std::vector<uint8_t> bytes = MapToBytes(map);
        // A course the game would refuse is no course: say so now.
        MapData read;
        if (!ParseMapBytes(bytes, read, error)) {
            std::fprintf(stderr, "%s: %s\n", argv[2], error.c_str());
            return 1;
        }
        output.assign(bytes.begin(), bytes.end());
    } else if (mode == "decompile") {
        if (!ParseMapBytes(std::vector<uint8_t>(input.begin(), input.end()), map, error)) {
            std::fprintf(stderr, "%s: %s\n", argv[2], error.c_str());
            return 1;
        }
        output = MapToText(map);
    } else {
        std::fprintf(stderr, "unknown mode '%s'\n", mode.c_str());
        return 2;
    }
    if (!WriteWhole(argv[3], output)) {
        std::fprintf(stderr, "%s: cannot write\n", argv[3]);
        return 1;
    }
    return 0;
}
