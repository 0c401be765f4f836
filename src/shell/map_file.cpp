// Map files: the binary layout read by the game, and the text form of the
// course sources.
#include "shell/map_file.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

#include "core/terrain.h"
#include "persist/ini.h"
#include "platform/table_index.h"
#include "player/cell_effects.h"
#include "player/movement.h"
#include "shell/program.h"

namespace tumbleroo {

namespace {

constexpr size_t kMaxHeaderExtraBytes = 0xFFFF;  // the file gives its length in 16 bits

class ByteReader {
public:
    explicit ByteReader(const std::vector<uint8_t>& b) : bytes_(b) {}
    bool ok() const { return ok_; }
    size_t offset() const { return pos_; }
    int64_t Signed(size_t size) {
        uint64_t v = Unsigned(size);
        const uint64_t sign = uint64_t{1} << (size * 8 - 1);
        return static_cast<int64_t>((v ^ sign) - sign);
    }
    uint64_t Unsigned(size_t size) {
        if (pos_ + size > bytes_.size()) {
            ok_ = false;
            return 0;
        }
        uint64_t v = 0;
        for (size_t i = 0; i < size; ++i) v |= uint64_t{bytes_[pos_ + i]} << (8 * i);
        pos_ += size;
        return v;
    }
    std::string Text(size_t n) {
        if (pos_ + n > bytes_.size()) {
            ok_ = false;
            return {};
        }
        std::string s(bytes_.begin() + static_cast<long>(pos_), bytes_.begin() + static_cast<long>(pos_ + n));
        pos_ += n;
        return s;
    }

private:
    const std::vector<uint8_t>& bytes_;
    size_t pos_ = 0;
    bool ok_ = true;
};

void PutLE(std::vector<uint8_t>& out, int64_t value, size_t size) {
    for (size_t i = 0; i < size; ++i) out.push_back(static_cast<uint8_t>((static_cast<uint64_t>(value) >> (8 * i)) & 0xFF));
}

// The header's numeric fields in file order, with their sizes in bytes.
struct HeaderField {
    const char* name;
    size_t size;
    int64_t (*get)(const MapHeader&);
    void (*set)(MapHeader&, int64_t);
};

#define TUMBLEROO_FIELD(name, size, type)                                        \
    HeaderField {                                                                \
        #name, size, [](const MapHeader& h) -> int64_t { return h.name; },       \
            [](MapHeader& h, int64_t v) { h.name = static_cast<type>(v); }       \
    }

const HeaderField kHeaderFields[] = {
    TUMBLEROO_FIELD(MapWidth, 4, int32_t),
    TUMBLEROO_FIELD(MapHeight, 4, int32_t),
    TUMBLEROO_FIELD(BackColor, 4, int32_t),
    TUMBLEROO_FIELD(SideLiftSpeed, 2, int16_t),
    TUMBLEROO_FIELD(SideLiftMin, 4, int32_t),
    TUMBLEROO_FIELD(SideLiftMax, 4, int32_t),
    TUMBLEROO_FIELD(UpDownLiftSpeed, 2, int16_t),
    TUMBLEROO_FIELD(UpDownLiftMin, 4, int32_t),
    TUMBLEROO_FIELD(UpDownLiftMax, 4, int32_t),
    TUMBLEROO_FIELD(SpikeBlockRightSpeed, 2, int16_t),
    TUMBLEROO_FIELD(SpikeBlockRightDistance, 4, int32_t),
    TUMBLEROO_FIELD(SpikeBlockLeftSpeed, 2, int16_t),
    TUMBLEROO_FIELD(SpikeBlockLeftDistance, 4, int32_t),
    TUMBLEROO_FIELD(SpikeBlockUpSpeed, 2, int16_t),
    TUMBLEROO_FIELD(SpikeBlockUpDistance, 4, int32_t),
    TUMBLEROO_FIELD(SpikeBlockDownSpeed, 2, int16_t),
    TUMBLEROO_FIELD(SpikeBlockDownDistance, 4, int32_t),
};
#undef TUMBLEROO_FIELD

bool SizeInRange(int32_t v) { return v >= 1 && v <= kMaxMapCells; }

// The stage starts on the last start marker in column order; one that low
// would make the very first probe a miss, and every restart again.
bool StartFallsOut(const MapData& map, std::string& error) {
    for (int32_t x = map.header.MapWidth - 1; x >= 0; --x) {
        for (int32_t y = map.header.MapHeight - 1; y >= 0; --y) {
            if (!Is(map.At(x, y), Terrain::StartMarker)) continue;
            if (!RowFallsOut(y, map.header.MapHeight)) return false;
            error = "the start marker at column " + std::to_string(x) + ", row " + std::to_string(y) +
                    " is too near the map's bottom: the player would fall out at once";
            return true;
        }
    }
    return false;
}

// The gate leads to one fixed place; a map without room there would leave
// the player outside it, stuck for good.
bool GateLeadsOutside(const MapData& map, std::string& error) {
    if (GateTargetInMap(map.header.MapWidth, map.header.MapHeight)) return false;
    for (int32_t x = 0; x < map.header.MapWidth; ++x) {
        for (int32_t y = 0; y < map.header.MapHeight; ++y) {
            if (!Is(map.At(x, y), Terrain::Gate)) continue;
            error = "the gate at column " + std::to_string(x) + ", row " + std::to_string(y) +
                    " leads outside the map: a map with a gate needs at least 336 columns and 29 rows";
            return true;
        }
    }
    return false;
}

std::string Trim(const std::string& s) {
    const size_t a = s.find_first_not_of(" \t\r");
    if (a == std::string::npos) return {};
    const size_t b = s.find_last_not_of(" \t\r");
    return s.substr(a, b - a + 1);
}

}  // namespace

bool ParseMapBytes(const std::vector<uint8_t>& bytes, MapData& out, std::string& error) {
    ByteReader r(bytes);
    MapHeader h;
    for (const HeaderField& f : kHeaderFields) f.set(h, r.Signed(f.size));
    const size_t extraLength = static_cast<size_t>(r.Unsigned(2));
    h.HeaderExtra = r.Text(extraLength);
    h.GroundStyle = static_cast<int16_t>(r.Signed(2));
    if (!r.ok()) {
        error = "the file ends inside its header";
        return false;
    }
    if (!SizeInRange(h.MapWidth) || !SizeInRange(h.MapHeight)) {
        error = "width and height must be 1 to " + std::to_string(kMaxMapCells);
        return false;
    }
    const size_t cellCount = static_cast<size_t>(h.MapWidth) * static_cast<size_t>(h.MapHeight);
    if (bytes.size() - r.offset() < cellCount) {
        error = "the file is shorter than its header announces";
        return false;
    }
    out.header = h;
    out.cells.assign(bytes.begin() + static_cast<long>(r.offset()),
                     bytes.begin() + static_cast<long>(r.offset() + cellCount));
    return !StartFallsOut(out, error) && !GateLeadsOutside(out, error);
}

std::vector<uint8_t> MapToBytes(const MapData& map) {
    std::vector<uint8_t> out;
    for (const HeaderField& f : kHeaderFields) PutLE(out, f.get(map.header), f.size);
    PutLE(out, static_cast<int64_t>(map.header.HeaderExtra.size()), 2);
    out.insert(out.end(), map.header.HeaderExtra.begin(), map.header.HeaderExtra.end());
    PutLE(out, map.header.GroundStyle, 2);
    out.insert(out.end(), map.cells.begin(), map.cells.end());
    return out;
}

bool ParseMapText(const std::string& text, MapData& out, std::string& error) {
    std::istringstream in(text);
    std::string line;
    MapHeader h;
    h.GroundStyle = 1;
    std::vector<std::string> rows;
    bool inCells = false;
    int lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::string where = "line " + std::to_string(lineNumber) + ": ";
        if (inCells) {
            if (line.empty()) continue;
            rows.push_back(line);
            continue;
        }
        const std::string trimmed = Trim(line);
        if (trimmed.empty() || trimmed[0] == '#') continue;
        const size_t colon = trimmed.find(':');
        if (colon == std::string::npos) {
            error = where + "expected 'Field: value'";
            return false;
        }
        const std::string key = Trim(trimmed.substr(0, colon));
        std::string value = trimmed.substr(colon + 1);
        if (key == "Cells") {
            inCells = true;
            continue;
        }
        if (key == "HeaderExtra") {
            h.HeaderExtra = Trim(value);
            if (h.HeaderExtra.size() > kMaxHeaderExtraBytes) {
                error = where + "HeaderExtra is longer than " + std::to_string(kMaxHeaderExtraBytes) +
                        " bytes";
                return false;
            }
            continue;
        }
        const size_t hash = value.find('#');
        if (hash != std::string::npos) value = value.substr(0, hash);
        std::istringstream numbers(value);
        if (key == "BackColor") {
            int r = 0, g = 0, b = 0;
            if (!(numbers >> r >> g >> b) || r < 0 || g < 0 || b < 0 || r > 255 || g > 255 || b > 255) {
                error = where + "BackColor needs red green blue, each 0 to 255";
                return false;
            }
            h.BackColor = r | (g << 8) | (b << 16);
            continue;
        }
        long long v = 0;
        if (!(numbers >> v)) {
            error = where + "'" + key + "' needs a number";
            return false;
        }
        if (key == "GroundStyle") {
            h.GroundStyle = static_cast<int16_t>(v);
            continue;
        }
        bool known = false;
        for (const HeaderField& f : kHeaderFields) {
            if (key == f.name && key != "MapWidth" && key != "MapHeight") {
                f.set(h, v);
                known = true;
            }
        }
        if (!known) {
            error = where + "unknown field '" + key + "'";
            return false;
        }
    }
    if (rows.empty()) {
        error = "no cells (a line 'Cells:' followed by rows)";
        return false;
    }
    const size_t width = rows[0].size();
    for (size_t y = 0; y < rows.size(); ++y) {
        if (rows[y].size() != width) {
            error = "row " + std::to_string(y) + " has " + std::to_string(rows[y].size()) +
                    " cells, row 0 has " + std::to_string(width);
            return false;
        }
    }
    h.MapWidth = static_cast<int32_t>(width);
    h.MapHeight = static_cast<int32_t>(rows.size());
    if (!SizeInRange(h.MapWidth) || !SizeInRange(h.MapHeight)) {
        error = "width and height must be 1 to " + std::to_string(kMaxMapCells);
        return false;
    }
    out.header = h;
    out.cells.assign(width * rows.size(), 0);
    for (size_t x = 0; x < width; ++x) {
        for (size_t y = 0; y < rows.size(); ++y) {
            const char c = rows[y][x];
            uint8_t code = 0;
            if (!CodeForLetter(c, code)) {
                error = "row " + std::to_string(y) + ", column " + std::to_string(x) +
                        ": unknown cell '" + std::string(1, c) + "'";
                return false;
            }
            out.cells[x * rows.size() + y] = code;
        }
    }
    return true;
}

std::string MapToText(const MapData& map) {
    const MapHeader& h = map.header;
    std::ostringstream out;
    out << "BackColor: " << (h.BackColor & 0xFF) << ' ' << ((h.BackColor >> 8) & 0xFF) << ' '
        << ((h.BackColor >> 16) & 0xFF) << '\n';
    out << "GroundStyle: " << h.GroundStyle << '\n';
    for (const HeaderField& f : kHeaderFields) {
        const std::string name = f.name;
        if (name == "MapWidth" || name == "MapHeight" || name == "BackColor") continue;
        if (f.get(h) != 0) out << name << ": " << f.get(h) << '\n';
    }
    if (!h.HeaderExtra.empty()) out << "HeaderExtra: " << h.HeaderExtra << '\n';
    out << "Cells:\n";
    for (int32_t y = 0; y < h.MapHeight; ++y) {
        for (int32_t x = 0; x < h.MapWidth; ++x) {
            out << RowOf(map.At(x, y)).letter;
        }
        out << '\n';
    }
    return out.str();
}

bool ReadMapFile(Game& game, const std::string& path, std::string& error) {
    std::string text;
    if (!ReadWholeFile(path, text)) {
        error = FileExists(path) ? "the file cannot be read (a folder, or a read error)"
                                 : "the file is missing";
        return false;
    }
    const std::vector<uint8_t> bytes(text.begin(), text.end());
    MapData data;
    if (!ParseMapBytes(bytes, data, error)) return false;
    MapState& m = game.map;
    m.MapHeader = data.header;
    m.MapWidth = data.header.MapWidth;
    m.MapHeight = data.header.MapHeight;
    m.GroundStyle = data.header.GroundStyle == 0 ? int16_t{1} : data.header.GroundStyle;
    m.MapGrid.assign(CellCount(m.MapWidth + 1, m.MapHeight + 1), 0);
    for (int32_t x = 0; x < m.MapWidth; ++x) {
        for (int32_t y = 0; y < m.MapHeight; ++y) m.Cell(x, y) = data.At(x, y);
    }
    return true;
}

bool ReadMapFile(Game& game, const std::string& path) {
    std::string error;
    if (ReadMapFile(game, path, error)) return true;
    std::fprintf(stderr, "%s: %s\n", path.c_str(), error.c_str());
    return false;
}

std::string MapFilePath(const Game& game, const std::string& name) {
    return game.run.BasePath + "MapFiles/" + name + ".map";
}

void LoadMap(Game& game, const std::string& name) {
    if (!ReadMapFile(game, MapFilePath(game, name))) Form_Unload(game);
}

}  // namespace tumbleroo
