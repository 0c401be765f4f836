// Map file bytes: a file the reader accepts is written back byte for byte,
// and one that the text form can hold comes back from it unchanged.
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "shell/map_file.h"

namespace {

using namespace tumbleroo;

constexpr int kTextCodes = 36;  // codes 0 to 35 have a character
constexpr int32_t kColourBits = 0x00FFFFFF;

// The text form holds codes 0 to 35, a colour of three components and a
// one-line HeaderExtra without blanks at its ends.
bool TextCanHold(const MapData& map) {
    for (uint8_t code : map.cells) {
        if (code >= kTextCodes) return false;
    }
    const std::string& extra = map.header.HeaderExtra;
    if (extra.find_first_of("\r\n") != std::string::npos) return false;
    if (!extra.empty() && (extra.front() == ' ' || extra.front() == '\t' || extra.back() == ' ' ||
                           extra.back() == '\t')) {
        return false;
    }
    return (map.header.BackColor & ~kColourBits) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    MapData map;
    std::string error;
    if (!ParseMapBytes(bytes, map, error)) {
        if (error.empty()) fuzz::Fail("a map was rejected without a reason");
        return 0;
    }
    const std::vector<uint8_t> written = MapToBytes(map);
    if (written.size() > bytes.size() || !std::equal(written.begin(), written.end(), bytes.begin())) {
        fuzz::Fail("a map read and written again differs from its file");
    }
    if (!TextCanHold(map)) return 0;
    MapData fromText;
    if (!ParseMapText(MapToText(map), fromText, error)) {
        fuzz::Fail("the text of a map does not read back: " + error);
    }
    if (MapToBytes(fromText) != written) fuzz::Fail("a map changed on its way through the text form");
    return 0;
}
