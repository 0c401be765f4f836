// INI text read and rewritten in one pass each. Writing touches only the
// lines of the keys it sets (or adds the missing ones).
#include "persist/ini.h"

#include <limits>
#include <unordered_set>

#include "platform/plain_text.h"

namespace tumbleroo {

namespace {

constexpr const char* kNewFileLineEnd = "\r\n";
constexpr char kNameSeparator = ']';  // cannot occur in a section name

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

std::string FullName(std::string_view section, std::string_view key) {
    return Lower(section) + kNameSeparator + Lower(key);
}

// One line of the text and its end: "\r\n", "\n", or "" for a last line
// without a line feed.
struct Line {
    std::string_view text;
    std::string_view ending;
};

// Walks the text line by line.
class LineReader {
public:
    explicit LineReader(std::string_view text) : text_(text) {}
    bool Next(Line& line) {
        if (pos_ >= text_.size()) return false;
        const size_t nl = text_.find('\n', pos_);
        const size_t next = nl == std::string_view::npos ? text_.size() : nl + 1;
        size_t end = nl == std::string_view::npos ? text_.size() : nl;
        // A carriage return ends a line only before a line feed: a lone one
        // at the end of the text is kept in the line, so rewriting the file
        // gives the same bytes every time.
        if (nl != std::string_view::npos && end > pos_ && text_[end - 1] == '\r') --end;
        line = {text_.substr(pos_, end - pos_), text_.substr(end, next - end)};
        pos_ = next;
        return true;
    }

private:
    std::string_view text_;
    size_t pos_ = 0;
};

// The line end new lines get: the one the text already uses, CR LF if none.
std::string_view LineEndOf(std::string_view text) {
    Line first;
    LineReader lines(text);
    while (lines.Next(first)) {
        if (!first.ending.empty()) return first.ending;
    }
    return kNewFileLineEnd;
}

// "[Name]" gives true and the name.
bool SectionName(std::string_view line, std::string_view& name) {
    std::string_view t = TrimBlanks(line);
    if (t.empty() || t.front() != '[') return false;
    t.remove_prefix(1);
    name = TrimBlanks(t.substr(0, t.find(']')));
    return true;
}

// "Key=Value" gives true, the key and the offset just past the '='.
bool KeyName(std::string_view line, std::string_view& key, size_t& valueStart) {
    const std::string_view t = TrimBlanks(line);
    if (t.empty() || t.front() == ';' || t.front() == '#') return false;
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos) return false;
    key = TrimBlanks(line.substr(0, eq));
    valueStart = eq + 1;
    return true;
}

// The entries of one section, in their order, and which are written.
struct SectionEntries {
    std::string name;
    std::vector<const IniEntry*> entries;
    std::vector<bool> written;
};

std::vector<SectionEntries> GroupBySection(const std::vector<IniEntry>& entries) {
    std::vector<SectionEntries> sections;
    for (const IniEntry& entry : entries) {
        const std::string name = Lower(entry.section);
        SectionEntries* group = nullptr;
        for (SectionEntries& s : sections) {
            if (s.name == name) group = &s;
        }
        if (group == nullptr) group = &sections.emplace_back(SectionEntries{name, {}, {}});
        group->entries.push_back(&entry);
        group->written.push_back(false);
    }
    return sections;
}

// Builds the new text while the old one is read once.
class IniRewriter {
public:
    IniRewriter(std::string_view text, const std::vector<IniEntry>& entries)
        : lineEnd_(LineEndOf(text)), sections_(GroupBySection(entries)) {}

    std::string Rewrite(std::string_view text) {
        LineReader lines(text);
        Line line;
        while (lines.Next(line)) Take(line);
        EndSection();
        for (SectionEntries& s : sections_) {
            if (seen_.count(s.name) != 0) continue;
            EndLastLine();
            out_ += "[" + s.entries.front()->section + "]";
            out_ += lineEnd_;
            AddMissingKeys(s);
        }
        return std::move(out_);
    }

private:
    void Take(const Line& line) {
        std::string_view name;
        if (SectionName(line.text, name)) {
            EndSection();
            StartSection(Lower(name));
            Emit(line.text, line.ending);
            return;
        }
        if (current_ == nullptr) {
            Emit(line.text, line.ending);
            return;
        }
        // Blank lines after a section's last content stay after any keys
        // added to it, so they keep separating it from the next section.
        if (TrimBlanks(line.text).empty()) {
            pendingBlanks_ += line.text;
            pendingBlanks_ += line.ending;
            return;
        }
        out_ += pendingBlanks_;
        pendingBlanks_.clear();
        size_t valueStart = 0;
        if (KeyName(line.text, name, valueStart) && SetKey(name, line, valueStart)) return;
        Emit(line.text, line.ending);
    }

    // Writes the entry's value into the key's first line in the section.
    bool SetKey(std::string_view key, const Line& line, size_t valueStart) {
        const std::string lowerKey = Lower(key);
        for (size_t i = 0; i < current_->entries.size(); ++i) {
            if (current_->written[i] || Lower(current_->entries[i]->key) != lowerKey) continue;
            current_->written[i] = true;
            Emit(line.text.substr(0, valueStart), {});
            Emit(current_->entries[i]->value, line.ending);
            return true;
        }
        return false;
    }

    void StartSection(const std::string& name) {
        current_ = nullptr;
        if (!seen_.insert(name).second) return;  // only the first block counts
        for (SectionEntries& s : sections_) {
            if (s.name == name) current_ = &s;
        }
    }

    void EndSection() {
        if (current_ != nullptr) AddMissingKeys(*current_);
        current_ = nullptr;
        out_ += pendingBlanks_;
        pendingBlanks_.clear();
    }

    void AddMissingKeys(SectionEntries& s) {
        for (size_t i = 0; i < s.entries.size(); ++i) {
            if (s.written[i]) continue;
            s.written[i] = true;
            EndLastLine();
            out_ += s.entries[i]->key + "=" + s.entries[i]->value;
            out_ += lineEnd_;
        }
    }

    // A last line without a line end gets one before anything follows it.
    void EndLastLine() {
        if (!out_.empty() && out_.back() != '\n') out_ += lineEnd_;
    }

    void Emit(std::string_view text, std::string_view ending) {
        out_ += text;
        out_ += ending;
    }

    std::string_view lineEnd_;
    std::vector<SectionEntries> sections_;
    std::unordered_set<std::string> seen_;
    SectionEntries* current_ = nullptr;
    std::string pendingBlanks_;
    std::string out_;
};

}  // namespace

IniValues ParseIni(std::string_view text) {
    IniValues values;
    std::unordered_set<std::string> seen;
    std::string section;
    bool firstBlock = false;
    LineReader lines(text);
    Line line;
    while (lines.Next(line)) {
        std::string_view name;
        size_t valueStart = 0;
        if (SectionName(line.text, name)) {
            section = Lower(name);
            firstBlock = seen.insert(section).second;
        } else if (firstBlock && KeyName(line.text, name, valueStart)) {
            values.byName.emplace(section + kNameSeparator + Lower(name),
                                  std::string(line.text.substr(valueStart)));
        }
    }
    return values;
}

bool IniValue(const IniValues& values, std::string_view section, std::string_view key,
              std::string& value) {
    const auto found = values.byName.find(FullName(section, key));
    if (found == values.byName.end()) return false;
    value = found->second;
    return true;
}

int32_t IniInt(const IniValues& values, std::string_view section, std::string_view key,
               int32_t defaultValue) {
    std::string value;
    if (!IniValue(values, section, key, value)) return defaultValue;
    return LeadingNumber(value);
}

std::string IniWithValues(std::string_view text, const std::vector<IniEntry>& entries) {
    return IniRewriter(text, entries).Rewrite(text);
}

int32_t LeadingNumber(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    int64_t magnitude = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > kLimit) magnitude = kLimit;
        ++i;
    }
    int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<int32_t>::max()) value = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(value);
}

}  // namespace tumbleroo
