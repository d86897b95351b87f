#include "core/PosixRecorderFileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "common/RuntimeErrors.h"

namespace tavrin {

namespace err = pelomar::core::err;

namespace {

int32_t lastError() { return pelomar::core::errorFromErrno(errno); }

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

}  // namespace tavrin
