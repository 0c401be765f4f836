// Shared by the fuzz targets: a scratch folder per fuzzing process, whole
// file writes, and the way a target reports a broken promise.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tumbleroo::fuzz {

// A folder under /tmp made once for this process (ending in '/'), removed
// when the process ends.
const std::string& ScratchFolder();

void WriteBytes(const std::string& path, const uint8_t* data, size_t size);
void WriteText(const std::string& path, const std::string& text);
// Removes every file in the scratch folder, so no run sees the one before.
void ClearScratchFolder();

// A broken promise: says which and aborts, so the fuzzer keeps the input.
[[noreturn]] void Fail(const std::string& what);

}  // namespace tumbleroo::fuzz
