#pragma once

#include <sys/types.h>

#include "common/FileSystem.h"

namespace pelomar::core {

// FileSystem on POSIX calls, with fsync where a call promises the bytes are
// on disk. errno values map onto run-time error numbers.
class PosixFileSystem : public FileSystem {
public:
    // Files this makes get `newFileMode` less the umask; a temporary that
    // replaces a file takes that file's mode instead.
    explicit PosixFileSystem(mode_t newFileMode = 0666) : newFileMode_(newFileMode) {}

    PathKind kindOf(const std::string& path) override;
    int32_t fileSize(const std::string& path, uint64_t& size) override;
    int32_t readFile(const std::string& path, std::vector<uint8_t>& out) override;
    int32_t readFileInto(const std::string& path, std::span<uint8_t> out, size_t& size) override;
    int32_t writeFile(const std::string& path, const uint8_t* data, size_t size, bool flush) override;
    int32_t writeTemporary(const std::string& target, std::span<const ByteView> pieces,
                           TemporaryFile& created) override;
    int32_t holdFile(const std::string& path, std::unique_ptr<FileHold>& hold) override;
    int32_t appendFile(const std::string& path, const uint8_t* data, size_t size, bool flush) override;
    int32_t truncateFile(const std::string& path, uint64_t size) override;
    int32_t renameFile(const std::string& from, const std::string& to) override;
    int32_t removeFile(const std::string& path) override;
    int32_t removeUnheld(const std::string& path) override;
    int32_t resolveLinks(const std::string& path, std::string& file) override;
    int32_t checkWritable(const std::string& path) override;
    int32_t listFolder(const std::string& folder, std::vector<std::string>& names) override;

private:
    mode_t newFileMode_;
};

}  // namespace pelomar::core
