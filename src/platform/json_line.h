// Builds one line of JSON member by member, for the driver's trace: the
// game's state and its objects' share one way of writing a name and a value.
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace tumbleroo {

// Writes "name": after a comma, unless it opens an object or an array.
inline void AppendJsonKey(std::string& json, const char* name) {
    if (!json.empty() && json.back() != '{' && json.back() != '[') json += ',';
    json += '"';
    json += name;
    json += "\":";
}

// Whole numbers of every width, flags as 0 and 1.
template <std::integral Number>
void AppendJsonMember(std::string& json, const char* name, Number value) {
    AppendJsonKey(json, name);
    json += std::to_string(static_cast<int64_t>(value));
}

// Doubles with every digit they hold, so that a replay compares exactly.
inline void AppendJsonMember(std::string& json, const char* name, double value) {
    constexpr size_t kDoubleText = 64;
    char text[kDoubleText];
    std::snprintf(text, sizeof text, "%.17g", value);
    AppendJsonKey(json, name);
    json += text;
}

}  // namespace tumbleroo
