#pragma once

#include "core/registry/RecorderFileSystem.h"

namespace tavrin {

// RecorderFileSystem on POSIX calls; errno values map onto run-time errors.
// Folder locks are flock locks, which belong to one open file: two holders in
// one process exclude each other as two processes do.
class PosixRecorderFileSystem : public RecorderFileSystem {
public:
    std::vector<Entry> listFolder(const std::string& path) const override;
    bool folderExists(const std::string& path) const override;
    int32_t createFolder(const std::string& path) override;
    int32_t removeFolder(const std::string& path) override;
    int32_t removeFile(const std::string& path) override;
    std::unique_ptr<FolderLock> lockFolder(const std::string& folder) override;
    bool folderLockHeld(const std::string& folder) const override;
};

}  // namespace tavrin
