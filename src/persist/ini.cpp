// A small INI reader and writer in the manner of the classic private-profile
// calls, plus the crash-safe file replacement the game's saves go through.
//
// Writing touches exactly one line (or adds the missing ones): comments,
// foreign sections and unknown keys stay byte for byte as they were, and
// each line keeps its own CR LF or LF ending.
#include "persist/ini.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <limits>
#include <sstream>
#include <vector>

#include "persist/settings.h"

namespace tumbleroo {

namespace {

constexpr const char* kNewFileLineEnd = "\r\n";

struct IniLine {
    std::string text;
    std::string ending;  // "\r\n", "\n" or "" for a last line without one
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char ca = static_cast<unsigned char>(a[i]);
        unsigned char cb = static_cast<unsigned char>(b[i]);
        if (ca >= 'A' && ca <= 'Z') ca = static_cast<unsigned char>(ca - 'A' + 'a');
        if (cb >= 'A' && cb <= 'Z') cb = static_cast<unsigned char>(cb - 'A' + 'a');
        if (ca != cb) return false;
    }
    return true;
}

std::vector<IniLine> SplitLines(const std::string& text) {
    std::vector<IniLine> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t nl = text.find('\n', start);
        if (nl == std::string::npos) {
            lines.push_back({text.substr(start), ""});
            break;
        }
        size_t end = nl;
        if (end > start && text[end - 1] == '\r') --end;
        lines.push_back({text.substr(start, end - start), text.substr(end, nl + 1 - end)});
        start = nl + 1;
    }
    return lines;
}

std::string JoinLines(const std::vector<IniLine>& lines) {
    std::string text;
    for (const IniLine& line : lines) text += line.text + line.ending;
    return text;
}

// The line end new lines get: the one the file already uses, CR LF if none.
std::string LineEndOf(const std::vector<IniLine>& lines) {
    for (const IniLine& line : lines) {
        if (!line.ending.empty()) return line.ending;
    }
    return kNewFileLineEnd;
}

// "[Name]" gives true and the name.
bool SectionName(std::string_view line, std::string_view& name) {
    std::string_view t = Trim(line);
    if (t.empty() || t.front() != '[') return false;
    t.remove_prefix(1);
    size_t close = t.find(']');
    name = Trim(t.substr(0, close));
    return true;
}

// "Key=Value" gives true, the key and the offset just past the '='.
bool KeyName(std::string_view line, std::string_view& key, size_t& valueStart) {
    std::string_view t = Trim(line);
    if (t.empty() || t.front() == ';' || t.front() == '#') return false;
    size_t eq = line.find('=');
    if (eq == std::string_view::npos) return false;
    key = Trim(line.substr(0, eq));
    valueStart = eq + 1;
    return true;
}

// Index of the first line "[section]", or lines.size() when there is none.
size_t FindSection(const std::vector<IniLine>& lines, const std::string& section) {
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string_view name;
        if (SectionName(lines[i].text, name) && SameName(name, section)) return i;
    }
    return lines.size();
}

std::string FolderOf(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

bool WriteAll(int fd, const std::string& contents) {
    size_t done = 0;
    while (done < contents.size()) {
        ssize_t n = ::write(fd, contents.data() + done, contents.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

// Makes the rename itself durable; a folder that cannot be synced is no
// reason to call the save failed.
void SyncFolder(const std::string& folder) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string& out) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    // A folder or device where a file should be is a rejected file, not a crash.
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    std::string bytes;
    constexpr size_t kReadChunkBytes = 64 * 1024;
    char chunk[kReadChunkBytes];
    while (ok) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) ok = false;
        if (n <= 0) break;
        bytes.append(chunk, static_cast<size_t>(n));
    }
    ::close(fd);
    if (ok) out = std::move(bytes);
    return ok;
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

namespace {
// The name a save writes to before renaming it over the real file.
std::string SaveFileBeside(const std::string& path) { return path + ".tmp"; }
}  // namespace

void RemoveLeftoverSaveFile(const std::string& path) { ::unlink(SaveFileBeside(path).c_str()); }

bool ReplaceFileAtomically(const std::string& path, const std::string& contents) {
    const std::string temp = SaveFileBeside(path);
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0) ::fchmod(fd, old.st_mode & 07777);
    bool ok = WriteAll(fd, contents) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok) ok = ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    SyncFolder(FolderOf(path));
    return true;
}

bool FolderIsWritable(const std::string& folder) {
    std::string probe = folder;
    if (!probe.empty() && probe.back() != '/') probe += '/';
    probe += ".write-probe-" + std::to_string(::getpid());
    int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    ::close(fd);
    ::unlink(probe.c_str());
    return true;
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

bool IniReadString(const std::string& path, const std::string& section, const std::string& key,
                   std::string& value) {
    std::string text;
    if (!ReadWholeFile(path, text)) return false;
    std::vector<IniLine> lines = SplitLines(text);
    for (size_t i = FindSection(lines, section) + 1; i < lines.size(); ++i) {
        std::string_view name;
        if (SectionName(lines[i].text, name)) break;
        size_t valueStart = 0;
        if (KeyName(lines[i].text, name, valueStart) && SameName(name, key)) {
            value = lines[i].text.substr(valueStart);
            return true;
        }
    }
    return false;
}

int32_t IniReadInt(const std::string& path, const std::string& section, const std::string& key,
                   int32_t defaultValue) {
    std::string value;
    if (!IniReadString(path, section, key, value)) return defaultValue;
    return LeadingNumber(value);
}

bool IniWriteString(const std::string& path, const std::string& section, const std::string& key,
                    const std::string& value) {
    std::string text;
    // A missing file is an empty one; an unreadable one is left alone.
    if (!ReadWholeFile(path, text) && FileExists(path)) return false;
    std::vector<IniLine> lines = SplitLines(text);
    const std::string lineEnd = LineEndOf(lines);
    const size_t sectionLine = FindSection(lines, section);

    if (sectionLine == lines.size()) {
        if (!lines.empty() && lines.back().ending.empty()) lines.back().ending = lineEnd;
        lines.push_back({"[" + section + "]", lineEnd});
        lines.push_back({key + "=" + value, lineEnd});
        return ReplaceFileAtomically(path, JoinLines(lines));
    }

    // New keys go after the section's last non-blank line, so blank lines
    // that separate it from the next section stay where they are.
    size_t lastContent = sectionLine;
    for (size_t i = sectionLine + 1; i < lines.size(); ++i) {
        std::string_view name;
        if (SectionName(lines[i].text, name)) break;
        size_t valueStart = 0;
        if (KeyName(lines[i].text, name, valueStart) && SameName(name, key)) {
            lines[i].text = lines[i].text.substr(0, valueStart) + value;
            return ReplaceFileAtomically(path, JoinLines(lines));
        }
        if (!Trim(lines[i].text).empty()) lastContent = i;
    }
    if (lines[lastContent].ending.empty()) lines[lastContent].ending = lineEnd;
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(lastContent) + 1,
                 {key + "=" + value, lineEnd});
    return ReplaceFileAtomically(path, JoinLines(lines));
}

}  // namespace tumbleroo
