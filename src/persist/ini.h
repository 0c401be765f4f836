// File helpers shared by the settings and records files: whole-file reads,
// crash-safe replacement, and the number rule both files read by.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tumbleroo {

// Reads the whole file as bytes; false when it cannot be opened or read,
// or is not a regular file (a folder in its place).
bool ReadWholeFile(const std::string& path, std::string& out);

bool FileExists(const std::string& path);

// Replaces the file's contents so that a crash at any moment leaves either
// the old file or the new one: the bytes go to a file beside it, reach the
// disk, and are then renamed over the old name. False (with the old file
// untouched) when any step fails.
bool ReplaceFileAtomically(const std::string& path, const std::string& contents);

// Removes the half-written file that a save killed before its rename leaves
// beside the real one; the real file is never touched.
void RemoveLeftoverSaveFile(const std::string& path);

// True when a new file can really be created in the folder (permission bits
// alone do not tell, e.g. for the superuser or on a read-only mount).
bool FolderIsWritable(const std::string& folder);

// The signed decimal number at the start of the text after any blanks and
// tabs; 0 when there is none. Sizes beyond 32 bits saturate.
int32_t LeadingNumber(std::string_view text);

}  // namespace tumbleroo
