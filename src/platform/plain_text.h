// Small text helpers shared by every reader of hand-edited text (settings,
// records, key bindings, key scripts, command lines), so that they agree on
// what a blank and a number are.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tumbleroo {

inline bool IsBlank(char c) { return c == ' ' || c == '\t'; }

inline std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// A count: decimal digits only, at most 18 of them (so that it fits without
// overflow); false for anything else.
inline bool ParseWholeNumber(const std::string& text, uint64_t& out) {
    constexpr size_t kMostDigits = 18;
    if (text.empty() || text.size() > kMostDigits) return false;
    if (text.find_first_not_of("0123456789") != std::string::npos) return false;
    out = std::stoull(text);
    return true;
}

}  // namespace tumbleroo
