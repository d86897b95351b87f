#pragma once

#include "core/RecorderFileSystem.h"

namespace tavrin {

// RecorderFileSystem on POSIX calls; errno values map onto run-time errors.
class PosixRecorderFileSystem : public RecorderFileSystem {
public:
    std::vector<Entry> listFolder(const std::string& path) const override;
    bool folderExists(const std::string& path) const override;
    int32_t createFolder(const std::string& path) override;
    int32_t removeFolder(const std::string& path) override;
    int32_t removeFile(const std::string& path) override;
};

}  // namespace tavrin
