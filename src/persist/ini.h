// The INI text of Init.ini in the manner of the classic private-profile
// calls: read in one pass into its values, rewritten in one pass with new
// ones. Section and key names compare without regard to case.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "persist/data_file.h"

namespace tumbleroo {

// The values of an INI text. Only a section's first block counts, and in it
// a key's first line; a value is the text after '=', untrimmed.
struct IniValues {
    std::unordered_map<std::string, std::string> byName;  // "section]key", lower case
};
IniValues ParseIni(std::string_view text);

// False when the section or the key is absent.
bool IniValue(const IniValues& values, std::string_view section, std::string_view key,
              std::string& value);
// The number the value starts with (0 when none); the default when absent.
int32_t IniInt(const IniValues& values, std::string_view section, std::string_view key,
               int32_t defaultValue);

struct IniEntry {
    std::string section;
    std::string key;
    std::string value;
};
// The text with every entry's key set: in place where the key exists (the
// text before '=' kept), else after the last non-blank line of the section,
// in the entries' order; missing sections are added at the end. Comments,
// foreign sections and unknown keys stay byte for byte, each line with its
// own CR LF or LF ending; new lines take the file's first line end.
std::string IniWithValues(std::string_view text, const std::vector<IniEntry>& entries);

// The signed decimal number at the start of the text after any blanks and
// tabs; 0 when there is none. Sizes beyond 32 bits saturate.
int32_t LeadingNumber(std::string_view text);

}  // namespace tumbleroo
