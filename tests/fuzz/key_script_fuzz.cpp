// The driver's key scripts: a script either reads with every range in order
// or is refused with a line number, and a read script can be played.
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "platform/headless_platform.h"

namespace {

constexpr uint64_t kFlipsPlayed = 64;
constexpr tumbleroo::Key kKeys[] = {tumbleroo::Key::Left,  tumbleroo::Key::Right,
                                    tumbleroo::Key::Up,    tumbleroo::Key::Down,
                                    tumbleroo::Key::Z,     tumbleroo::Key::Enter,
                                    tumbleroo::Key::Escape};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tumbleroo;
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<KeyRange> ranges;
    std::string error;
    if (!ParseKeyScript(text, ranges, error)) {
        if (error.rfind("line ", 0) != 0) fuzz::Fail("a refused script names no line: " + error);
        return 0;
    }
    for (const KeyRange& r : ranges) {
        if (r.from > r.to) fuzz::Fail("a key range runs backwards");
        if (r.keys.empty()) fuzz::Fail("a key range holds no key");
    }
    HeadlessPlatform platform;
    platform.keepLastFrame = false;
    platform.keyScript = ranges;
    const uint16_t pixel = 0;
    for (uint64_t flip = 0; flip < kFlipsPlayed; ++flip) {
        platform.Present(&pixel, nullptr, 1, 1);
        for (Key k : kKeys) platform.IsKeyDown(k);
        platform.TakePendingEvents();
    }
    return 0;
}
