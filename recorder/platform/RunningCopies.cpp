#include "platform/RunningCopies.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace tavrin {

RunningCopies::RunningCopies(const std::string& lockPath) {
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(lockPath).parent_path(), ec);
    fd_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) return;
    if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
        otherCopyWasRunning_ = false;
    } else if (errno != EWOULDBLOCK) {
        return;
    }
    // Shared from now on, so later copies see this one.
    while (::flock(fd_, LOCK_SH) != 0 && errno == EINTR) {
    }
}

RunningCopies::~RunningCopies() {
    if (fd_ >= 0) ::close(fd_);
}

}  // namespace tavrin
