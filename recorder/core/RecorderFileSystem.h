#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tavrin {

// The folder operations of the log folders. Each change returns 0 or the
// run-time error number of the failure, so that a fake can fail any one of
// them. Paths are file-system bytes.
class RecorderFileSystem {
public:
    struct Entry {
        std::string name;
        // A real folder; a link to a folder is not one, so that nothing is
        // ever followed out of the folder being listed.
        bool folder = false;
    };

    virtual ~RecorderFileSystem() = default;

    // The entries of `path` in listing order, without "." and ".."; empty when
    // the folder is missing or cannot be read.
    virtual std::vector<Entry> listFolder(const std::string& path) const = 0;
    // A real folder (not a link) exists at `path`.
    virtual bool folderExists(const std::string& path) const = 0;
    // Creates one folder; kFileAlreadyExists when anything is at `path` already.
    virtual int32_t createFolder(const std::string& path) = 0;
    // Removes an empty folder.
    virtual int32_t removeFolder(const std::string& path) = 0;
    // Removes a file or a link, never what a link points to.
    virtual int32_t removeFile(const std::string& path) = 0;
};

}  // namespace tavrin
