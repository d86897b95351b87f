#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace pelomar::core {

// Bytes to be written; a file may be written from several, so that a large
// array goes to disk from where it is kept rather than through a copy.
using ByteView = std::span<const uint8_t>;

// What a path names (links followed).
enum class PathKind { Missing, File, Folder, Other };

// A writer's hold on a file it is still using (a temporary until its rename,
// a working copy until the work is done). Several copies of the program may
// write one folder: while a hold on a file lives, no clean-up of leftovers
// removes it. Ends with the object, or with the process that made it.
class FileHold {
public:
    virtual ~FileHold() = default;
};

// A temporary file written to replace a target, and its writer's hold on it.
struct TemporaryFile {
    std::string name;
    std::unique_ptr<FileHold> hold;
};

// The few file operations the chart's files need. Each returns 0 or the
// run-time error number of the failure, so that a fake can fail any one of
// them. Paths are file-system bytes; nothing is held open between calls but
// the holds the caller keeps.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    virtual PathKind kindOf(const std::string& path) = 0;
    // Size of a regular file; kFileNotFound when there is none.
    virtual int32_t fileSize(const std::string& path, uint64_t& size) = 0;
    // The whole file; never creates one, never waits on a pipe or device
    // (anything but a regular file is 75).
    virtual int32_t readFile(const std::string& path, std::vector<uint8_t>& out) = 0;
    // The same into memory the caller sized (from fileSize): the file's first
    // bytes, at most `out.size()`; `size` receives how many were read.
    virtual int32_t readFileInto(const std::string& path, std::span<uint8_t> out, size_t& size) = 0;
    // Creates or replaces the contents of `path`; with `flush` the bytes are
    // on disk when it returns 0. Not atomic: callers that replace a file the
    // user keeps write a temporary file and rename it.
    virtual int32_t writeFile(const std::string& path, const uint8_t* data, size_t size, bool flush) = 0;
    // Writes `pieces`, one after another, to a new file of unused name in the
    // folder of `target` (temporaryName(target, ...)), flushed, with the mode
    // `target` has when it exists; `created` receives the name and the hold
    // on it, to be kept until the file is renamed or removed.
    virtual int32_t writeTemporary(const std::string& target, std::span<const ByteView> pieces,
                                   TemporaryFile& created) = 0;
    // Holds `path`, making it empty when missing; holds of other writers on
    // the same file may live beside this one.
    virtual int32_t holdFile(const std::string& path, std::unique_ptr<FileHold>& hold) = 0;
    // Appends at the end (creating the file when missing); with `flush` the
    // bytes are on disk when it returns 0. A failure may leave part of `data`
    // behind; the caller truncates back.
    virtual int32_t appendFile(const std::string& path, const uint8_t* data, size_t size, bool flush) = 0;
    // Cuts the file to `size` bytes and flushes.
    virtual int32_t truncateFile(const std::string& path, uint64_t size) = 0;
    // Moves `from` over `to` in one step (an existing `to` is replaced) and
    // flushes the folder.
    virtual int32_t renameFile(const std::string& from, const std::string& to) = 0;
    virtual int32_t removeFile(const std::string& path) = 0;
    // Removes a leftover `path` unless a hold on it lives, which it never
    // waits for (then 70).
    virtual int32_t removeUnheld(const std::string& path) = 0;
    // The file a write of `path` is to change: `path` itself, or the end of
    // the chain of symbolic links it starts, which need not exist. A loop of
    // links is 75.
    virtual int32_t resolveLinks(const std::string& path, std::string& file) = 0;
    // 0 when this process may open the existing file `path` for writing;
    // else the error such an open gives (75 for a file it may not write).
    virtual int32_t checkWritable(const std::string& path) = 0;
    // The names in `folder`, without "." and "..".
    virtual int32_t listFolder(const std::string& folder, std::vector<std::string>& names) = 0;

    bool exists(const std::string& path) {
        uint64_t size = 0;
        return fileSize(path, size) == 0;
    }
};

}  // namespace pelomar::core
