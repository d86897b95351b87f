#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "FileSystem.h"

namespace pelomar::core {

// The name a file is written under before it replaces `path`: same folder,
// so the rename stays on one file system.
std::string temporaryNameFor(const std::string& path);

// Writes `bytes` under the temporary name, flushes and renames it over
// `path`: a reader sees the old file or the whole new one, never a part.
// On failure the temporary file is removed and `path` is as it was.
int32_t replaceFile(FileSystem& fs, const std::string& path, const std::vector<uint8_t>& bytes);

// Byte copy of `src` over `dst`, not flushed (working copies).
int32_t copyFile(FileSystem& fs, const std::string& src, const std::string& dst);

}  // namespace pelomar::core
