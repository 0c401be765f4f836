// Forgiveness: how often a clear script still clears when every key press
// and release comes a little early or late, as a person's would.
#include <algorithm>
#include <map>
#include <random>
#include <set>

#include "probe.h"

namespace tumbleroo::courses {

std::vector<Press> PressesOf(const std::vector<KeyRange>& script) {
    std::map<Key, std::set<uint64_t>> held;
    for (const KeyRange& r : script) {
        for (Key k : r.keys) {
            for (uint64_t f = r.from; f <= r.to; ++f) held[k].insert(f);
        }
    }
    std::vector<Press> presses;
    for (const auto& [key, frames] : held) {
        for (uint64_t f : frames) {
            if (!presses.empty() && presses.back().key == key && presses.back().to + 1 == f) {
                presses.back().to = f;
            } else {
                presses.push_back({key, f, f});
            }
        }
    }
    return presses;
}

std::vector<KeyRange> ScriptOf(const std::vector<Press>& presses) {
    std::map<uint64_t, std::set<Key>> byFrame;
    for (const Press& p : presses) {
        for (uint64_t f = p.from; f <= p.to; ++f) byFrame[f].insert(p.key);
    }
    std::vector<KeyRange> script;
    for (const auto& [frame, keys] : byFrame) {
        const std::vector<Key> held(keys.begin(), keys.end());
        if (!script.empty() && script.back().to + 1 == frame && script.back().keys == held) {
            script.back().to = frame;
        } else {
            script.push_back({frame, frame, held});
        }
    }
    return script;
}

int32_t ForgivingRuns(const CourseFolder& folder, const std::vector<KeyRange>& script, int32_t runs,
                      int32_t jitter, uint64_t seed) {
    const std::vector<Press> presses = PressesOf(script);
    std::mt19937_64 random(seed);
    std::uniform_int_distribution<int32_t> shift(-jitter, jitter);
    int32_t cleared = 0;
    for (int32_t run = 0; run < runs; ++run) {
        std::vector<Press> moved = presses;
        for (Press& p : moved) {
            const int64_t from = std::max<int64_t>(0, static_cast<int64_t>(p.from) + shift(random));
            const int64_t to = static_cast<int64_t>(p.to) + shift(random);
            p.from = static_cast<uint64_t>(from);
            p.to = static_cast<uint64_t>(std::max(from, to));
        }
        const Tally tally = ReplayAndTally(folder, ScriptOf(moved));
        if (tally.cleared && tally.misses == 0) ++cleared;
    }
    return cleared;
}

}  // namespace tumbleroo::courses
