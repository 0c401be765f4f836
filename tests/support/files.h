// Test support: throw-away folders and whole-file reads and writes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tumbleroo::testing {

// A fresh folder under /tmp, removed with everything in it at the end.
struct TempFolder {
    std::string path;
    explicit TempFolder(const std::string& prefix = "tumbleroo-test");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
};

std::string ReadFile(const std::string& path);
// The file's lines without their line ends (LF or CRLF).
std::vector<std::string> ReadLines(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace tumbleroo::testing
