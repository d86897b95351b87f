#include "core/registry/PosixRecorderFileSystem.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "common/RuntimeErrors.h"

namespace tavrin {

namespace err = pelomar::core::err;
namespace fs = std::filesystem;

namespace {

int32_t lastError() { return pelomar::core::errorFromErrno(errno); }

class FlockedFile : public RecorderFileSystem::FolderLock {
public:
    explicit FlockedFile(int fd) : fd_(fd) {}
    ~FlockedFile() override { ::close(fd_); }
    FlockedFile(const FlockedFile&) = delete;
    FlockedFile& operator=(const FlockedFile&) = delete;

private:
    int fd_;
};

std::string lockFileOf(const std::string& folder) {
    return folder + "/" + RecorderFileSystem::kFolderLockName;
}

// Exclusive without waiting; 0 or errno.
int tryExclusive(int fd) {
    int result = 0;
    while ((result = ::flock(fd, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
    }
    return result == 0 ? 0 : errno;
}

}  // namespace

std::vector<RecorderFileSystem::Entry> PosixRecorderFileSystem::listFolder(const std::string& path) const {
    std::vector<Entry> entries;
    std::error_code ec;
    for (fs::directory_iterator it(path, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        entries.push_back({it->path().filename().string(), fs::is_directory(it->symlink_status(typeError))});
    }
    return entries;
}

bool PosixRecorderFileSystem::folderExists(const std::string& path) const {
    std::error_code ec;
    return fs::is_directory(fs::symlink_status(path, ec));
}

int32_t PosixRecorderFileSystem::createFolder(const std::string& path) {
    if (mkdir(path.c_str(), 0777) == 0) return err::kNone;
    return errno == EEXIST ? err::kFileAlreadyExists : lastError();
}

int32_t PosixRecorderFileSystem::removeFolder(const std::string& path) {
    // Only a real, empty folder goes: never a file, never a link's target.
    std::error_code ec;
    const fs::file_status st = fs::symlink_status(path, ec);
    if (ec) return pelomar::core::errorFromErrorCode(ec);
    if (!fs::is_directory(st)) return pelomar::core::errorFromErrno(ENOTDIR);
    fs::remove(path, ec);
    return pelomar::core::errorFromErrorCode(ec);
}

int32_t PosixRecorderFileSystem::removeFile(const std::string& path) {
    std::error_code ec;
    const fs::file_status st = fs::symlink_status(path, ec);
    if (ec) return pelomar::core::errorFromErrorCode(ec);
    if (fs::is_directory(st)) return err::kPathFileAccessError;
    fs::remove(path, ec);
    return pelomar::core::errorFromErrorCode(ec);
}

std::unique_ptr<RecorderFileSystem::FolderLock> PosixRecorderFileSystem::lockFolder(const std::string& folder) {
    // Never through a link: the lock file must be the folder's own.
    const int fd = ::open(lockFileOf(folder).c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return nullptr;
    if (tryExclusive(fd) != 0) {
        ::close(fd);
        return nullptr;
    }
    return std::make_unique<FlockedFile>(fd);
}

bool PosixRecorderFileSystem::folderLockHeld(const std::string& folder) const {
    // A lock file that cannot be tried counts as held: no running copy's
    // folder is taken for a dead one on a guess.
    const int fd = ::open(lockFileOf(folder).c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return errno != ENOENT && errno != ENOTDIR;
    const int e = tryExclusive(fd);
    // Closing drops the trial lock.
    ::close(fd);
    return e != 0;
}

}  // namespace tavrin
