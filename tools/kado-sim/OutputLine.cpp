#include "OutputLine.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <thread>

namespace kado {

OutputLine::~OutputLine() {
    if (fd_ >= 0) ::close(fd_);
}

bool OutputLine::openPty(std::string& slavePath) {
    termios raw{};
    cfmakeraw(&raw);
    cfsetspeed(&raw, B9600);
    int slave = -1;
    char name[256] = {};
    if (::openpty(&fd_, &slave, name, &raw, nullptr) != 0) return false;
    // Only the reader holds the slave, so its absence shows as a hang-up.
    ::close(slave);
    ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) | O_NONBLOCK);
    slavePath = name;
    pty_ = true;
    return true;
}

bool OutputLine::openPath(const std::string& path) {
    struct stat st {};
    const bool exists = ::stat(path.c_str(), &st) == 0;
    regularFile_ = !exists || S_ISREG(st.st_mode);
    const int flags = O_WRONLY | O_NOCTTY | (regularFile_ ? O_CREAT | O_TRUNC : 0);
    fd_ = ::open(path.c_str(), flags, 0644);
    if (fd_ < 0) return false;
    if (::isatty(fd_)) {
        termios t{};
        cfmakeraw(&t);
        cfsetspeed(&t, B9600);
        t.c_cflag |= CLOCAL;
        ::tcsetattr(fd_, TCSANOW, &t);
    }
    return true;
}

bool OutputLine::waitForReader() {
    if (!pty_) return !stop_;
    bool waited = false;
    while (!stop_) {
        pollfd p{fd_, POLLOUT, 0};
        ::poll(&p, 1, 100);
        if ((p.revents & POLLHUP) == 0) {
            // Give the reader a moment to set up its line before bytes come.
            if (waited) std::this_thread::sleep_for(std::chrono::milliseconds(200));
            return true;
        }
        waited = true;
    }
    return false;
}

bool OutputLine::send(const Bytes& bytes, bool& readerReturned) {
    size_t done = 0;
    while (done < bytes.size()) {
        if (stop_) return false;
        if (pty_) {
            pollfd p{fd_, POLLOUT, 0};
            ::poll(&p, 1, 100);
            if (p.revents & POLLHUP) {
                if (!waitForReader()) return false;
                readerReturned = true;
                continue;
            }
            if ((p.revents & POLLOUT) == 0) continue;
        }
        const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN) continue;
            if (pty_ && errno == EIO) continue;  // the reader went: wait for it above
            std::perror("kado-sim: write");
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace kado
