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
    if (!MakeCourseFolderFromText(fs::path(sourcePath).stem().string(), text, out, error)) {
        error = sourcePath + ": " + error;
        return false;
    }
    return true;
}

bool MakeCourseFolderFromText(const std::string& name, const std::string& text, CourseFolder& out,
                              std::string& error) {
    if (!ParseMapText(text, out.map, error)) return false;
    out.name = name;
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

bool ReadRuleLines(const std::string& path, const RuleReader& read, std::string& error) {
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
        if (!read(words, word)) {
            error = path + ":" + std::to_string(lineNumber) + ": cannot read '" + line + "'";
            return false;
        }
    }
    return true;
}

bool ReadRoute(const std::string& path, SolverOptions& options, std::string& error) {
    return ReadRuleLines(path, [&options](std::istringstream& words, const std::string& word) {
        if (word == "at") {
            options.route.push_back(Waypoint{});
            return static_cast<bool>(words >> options.route.back().column >> options.route.back().row);
        }
        if (word == "chunk") return static_cast<bool>(words >> options.chunkFrames) && options.chunkFrames > 0;
        if (word == "beam") return static_cast<bool>(words >> options.beamWidth) && options.beamWidth > 0;
        if (word == "frames") return static_cast<bool>(words >> options.maxFrames);
        return false;
    }, error);
}

}  // namespace tumbleroo::courses
