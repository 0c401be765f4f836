// A scratch game folder for one course, so that the tools run the game's
// own loading (and reloading after a miss) without touching the build.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "courses.h"

namespace tumbleroo::courses {

namespace fs = std::filesystem;

bool MakeCourseFolder(const std::string& sourcePath, CourseFolder& out, std::string& error) {
    std::ifstream in(sourcePath, std::ios::binary);
    if (!in) {
        error = "cannot read " + sourcePath;
        return false;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!ParseMapText(text, out.map, error)) {
        error = sourcePath + ": " + error;
        return false;
    }
    out.name = fs::path(sourcePath).stem().string();
    std::string pattern = (fs::temp_directory_path() / "tumbleroo-course-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        error = "cannot make a scratch folder";
        return false;
    }
    out.path = pattern + "/";
    fs::create_directories(out.path + "MapFiles");
    const std::vector<uint8_t> bytes = MapToBytes(out.map);
    std::ofstream map(out.path + "MapFiles/" + out.name + ".map", std::ios::binary);
    map.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(map);
}

void RemoveCourseFolder(const CourseFolder& folder) {
    std::error_code ignored;
    if (!folder.path.empty()) fs::remove_all(folder.path, ignored);
}

bool ReadRoute(const std::string& path, SolverOptions& options, std::string& error) {
    std::ifstream in(path);
    if (!in) {
        error = "cannot read " + path;
        return false;
    }
    std::string line;
    int lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        std::istringstream words(line);
        std::string word;
        if (!(words >> word) || word[0] == '#') continue;
        bool ok = true;
        if (word == "at") {
            Waypoint w;
            ok = static_cast<bool>(words >> w.column >> w.row);
            options.route.push_back(w);
        } else if (word == "chunk") {
            ok = static_cast<bool>(words >> options.chunkFrames) && options.chunkFrames > 0;
        } else if (word == "beam") {
            ok = static_cast<bool>(words >> options.beamWidth) && options.beamWidth > 0;
        } else if (word == "frames") {
            ok = static_cast<bool>(words >> options.maxFrames);
        } else {
            ok = false;
        }
        if (!ok) {
            error = path + ":" + std::to_string(lineNumber) + ": cannot read '" + line + "'";
            return false;
        }
    }
    return true;
}

}  // namespace tumbleroo::courses
