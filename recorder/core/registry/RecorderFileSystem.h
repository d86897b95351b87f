#pragma once

#include <cstdint>
#include <memory>
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

    // Held by a running copy on its own folder from the folder's making to
    // its removal. The system drops it when the copy dies, so a folder whose
    // lock is free belongs to no running copy.
    class FolderLock {
    public:
        virtual ~FolderLock() = default;
    };
    // The file inside a folder that carries its lock.
    static constexpr const char* kFolderLockName = "running.lock";

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
    // Takes the lock of `folder`, making its lock file when there is none;
    // none when another holder has it or it cannot be taken (no folder, no
    // right to make the file).
    virtual std::unique_ptr<FolderLock> lockFolder(const std::string& folder) = 0;
    // Some holder, this copy or another, has the lock of `folder`; false when
    // the folder has no lock file.
    virtual bool folderLockHeld(const std::string& folder) const = 0;
};

}  // namespace tavrin
