// Course text through the course compiler and back: text the compiler
// accepts makes a map file the game reads (unless its start would fall out
// at once or its gate lead outside it, which the game refuses), and that
// map's text compiles to the same file again.
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "shell/map_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tumbleroo;
    const std::string text(reinterpret_cast<const char*>(data), size);
    MapData compiled;
    std::string error;
    if (!ParseMapText(text, compiled, error)) {
        if (error.empty()) fuzz::Fail("course text was rejected without a reason");
        return 0;
    }
    const std::vector<uint8_t> bytes = MapToBytes(compiled);
    MapData read;
    if (!ParseMapBytes(bytes, read, error)) {
        if (error.find("start marker") == std::string::npos && error.find("gate") == std::string::npos) {
            fuzz::Fail("the game refuses a compiled course: " + error);
        }
    } else if (MapToBytes(read) != bytes) {
        fuzz::Fail("a compiled course reads back as another map");
    }
    const std::string decompiled = MapToText(compiled);
    MapData again;
    if (!ParseMapText(decompiled, again, error)) {
        fuzz::Fail("a decompiled course does not compile: " + error);
    }
    if (MapToBytes(again) != bytes) fuzz::Fail("a course changed on its way back through text");
    if (MapToText(again) != decompiled) fuzz::Fail("decompiling is not stable");
    return 0;
}
