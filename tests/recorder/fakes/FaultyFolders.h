#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/registry/PosixRecorderFileSystem.h"

namespace tavrin::test {

// The real folders and their real locks, with chosen paths that fail and a
// record of what was removed.
class FaultyFolders : public RecorderFileSystem {
public:
    std::vector<Entry> listFolder(const std::string& path) const override { return disk.listFolder(path); }
    bool folderExists(const std::string& path) const override { return disk.folderExists(path); }
    int32_t createFolder(const std::string& path) override {
        if (const auto it = failCreate.find(path); it != failCreate.end()) return it->second;
        const int32_t result = disk.createFolder(path);
        if (result == 0 && onCreated) onCreated(path);
        return result;
    }
    int32_t removeFolder(const std::string& path) override {
        removedFolders.push_back(path);
        return disk.removeFolder(path);
    }
    int32_t removeFile(const std::string& path) override {
        if (const auto it = failRemove.find(path); it != failRemove.end()) return it->second;
        removedFiles.push_back(path);
        return disk.removeFile(path);
    }

    std::unique_ptr<FolderLock> lockFolder(const std::string& folder) override {
        if (failLock.count(folder) != 0) return nullptr;
        return disk.lockFolder(folder);
    }
    bool folderLockHeld(const std::string& folder) const override { return disk.folderLockHeld(folder); }

    PosixRecorderFileSystem disk;
    // Folders whose lock cannot be taken, as on a folder without rights.
    std::set<std::string> failLock;
    // Runs right after a folder is made, as another copy could act then.
    std::function<void(const std::string&)> onCreated;
    std::map<std::string, int32_t> failCreate;
    std::map<std::string, int32_t> failRemove;
    std::vector<std::string> removedFolders;
    std::vector<std::string> removedFiles;
};

}  // namespace tavrin::test
