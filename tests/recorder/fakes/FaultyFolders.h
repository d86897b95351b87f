#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "core/PosixRecorderFileSystem.h"

namespace tavrin::test {

// The real folders, with chosen paths that fail and a record of what was
// removed.
class FaultyFolders : public RecorderFileSystem {
public:
    std::vector<Entry> listFolder(const std::string& path) const override { return disk.listFolder(path); }
    bool folderExists(const std::string& path) const override { return disk.folderExists(path); }
    int32_t createFolder(const std::string& path) override {
        if (const auto it = failCreate.find(path); it != failCreate.end()) return it->second;
        return disk.createFolder(path);
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

    PosixRecorderFileSystem disk;
    std::map<std::string, int32_t> failCreate;
    std::map<std::string, int32_t> failRemove;
    std::vector<std::string> removedFolders;
    std::vector<std::string> removedFiles;
};

}  // namespace tavrin::test
