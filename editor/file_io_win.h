// Reading the portrait file and writing the card file.
#pragma once

#include <cstdint>
#include <string>

// Pictures larger than this are refused: no portrait needs it, and the whole file is held in memory.
constexpr uint64_t kMaxReadFileSize = 256ull * 1024 * 1024;

// The whole content of the file at path (ANSI), read while others may read but not write it.
// Empty for an empty path, a file that cannot be opened or read, an empty or oversized file.
std::string readWholeFile(const std::string& path);

// Writes bytes as the whole content of the file at path (ANSI). The bytes go to a temporary
// file in the same folder first, which replaces the target only once everything is written
// and flushed, so an existing file survives any failure. A read-only target or one that is
// open elsewhere is refused. True when the file now holds exactly bytes.
bool writeWholeFile(const std::string& path, const std::string& bytes);
