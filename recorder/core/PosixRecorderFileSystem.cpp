#include "core/PosixRecorderFileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "common/RuntimeErrors.h"

namespace tavrin {

namespace err = pelomar::core::err;

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
    DIR* dir = opendir(path.c_str());
    if (dir == nullptr) return entries;
    const int fd = dirfd(dir);
    while (const dirent* e = readdir(dir)) {
        if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
        struct stat st {};
        const bool folder = fstatat(fd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
        entries.push_back({e->d_name, folder});
    }
    closedir(dir);
    return entries;
}

bool PosixRecorderFileSystem::folderExists(const std::string& path) const {
    struct stat st {};
    return lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

int32_t PosixRecorderFileSystem::createFolder(const std::string& path) {
    if (mkdir(path.c_str(), 0777) == 0) return err::kNone;
    return errno == EEXIST ? err::kFileAlreadyExists : lastError();
}

int32_t PosixRecorderFileSystem::removeFolder(const std::string& path) {
    return rmdir(path.c_str()) == 0 ? err::kNone : lastError();
}

int32_t PosixRecorderFileSystem::removeFile(const std::string& path) {
    struct stat st {};
    if (lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return err::kPathFileAccessError;
    return unlink(path.c_str()) == 0 ? err::kNone : lastError();
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
