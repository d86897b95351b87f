#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/FileSystem.h"

namespace pelomar::core {

// The folder part of a path ("." for a bare name) and the name part.
std::string folderOf(const std::string& path);
std::string nameOf(const std::string& path);

// Name of a temporary file that is to replace `target`: hidden, in the same
// folder (so the rename stays on one file system), `unique` being six
// characters of [A-Za-z0-9]. A user's own "x.new" never has this form.
std::string temporaryName(const std::string& target, const std::string& unique);
// True when `name` (a name in the target's folder) is such a temporary name.
bool isTemporaryNameOf(const std::string& name, const std::string& target);
// Removes temporary files of `target` that an interrupted write left behind;
// one that a writer still holds is its writer's.
void removeLeftoverTemporaries(FileSystem& fs, const std::string& target);

// Writes `bytes` to a temporary file, flushes it and renames it over `path`:
// a reader sees the old file or the whole new one, never a part. An existing
// `path` that may not be written (or is not a file) is refused with 75 and
// keeps its bytes and mode. On failure no temporary file is left. A `path`
// that is a symbolic link (or a chain of them) stays one: the file at its end
// is replaced, or made when missing.
int32_t replaceFile(FileSystem& fs, const std::string& path, const std::vector<uint8_t>& bytes);
// The same with the file's bytes in pieces, one after another.
int32_t replaceFile(FileSystem& fs, const std::string& path, std::span<const ByteView> pieces);
// The same without the refusal and without following links: for a file
// that only this program keeps, which a rename replaces whatever its mode.
int32_t replaceThroughTemporary(FileSystem& fs, const std::string& path, const uint8_t* data, size_t size);
int32_t replaceThroughTemporary(FileSystem& fs, const std::string& path, std::span<const ByteView> pieces);

// Appends `data` at the end of `path` (made when missing) and flushes it; when
// that fails a regular file is cut back to its length before, so it never
// keeps a part of `data`.
int32_t appendWhole(FileSystem& fs, const std::string& path, const uint8_t* data, size_t size);

// 0 when `path` is missing or a file this process may write, else 75 (or
// the error of the check).
int32_t checkReplaceable(FileSystem& fs, const std::string& path);

// Byte copy of `src` over `dst`, not flushed (working copies).
int32_t copyFile(FileSystem& fs, const std::string& src, const std::string& dst);

}  // namespace pelomar::core
