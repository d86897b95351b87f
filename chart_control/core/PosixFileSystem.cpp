#include "PosixFileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "common/RuntimeErrors.h"

namespace pelomar::core {

namespace {

int32_t lastError() { return errorFromErrno(errno); }

// Closes on every path; a failing close after a write is a failed write.
class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const noexcept { return fd_; }
    int32_t close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0 ? err::kNone : lastError();
    }

private:
    int fd_;
};

int32_t writeAll(int fd, const uint8_t* data, size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return lastError();
        }
        if (n == 0) return err::kDiskFull;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return err::kNone;
}

std::string folderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// A new or renamed directory entry survives a power failure only once its
// folder is flushed.
int32_t syncFolder(const std::string& path) {
    Fd dir(::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() < 0) return lastError();
    if (::fsync(dir.get()) != 0 && errno != EINVAL) return lastError();
    return dir.close();
}

}  // namespace

int32_t PosixFileSystem::fileSize(const std::string& path, uint64_t& size) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return lastError();
    if (!S_ISREG(st.st_mode)) return err::kFileNotFound;
    size = static_cast<uint64_t>(st.st_size);
    return err::kNone;
}

int32_t PosixFileSystem::readFile(const std::string& path, std::vector<uint8_t>& out) {
    out.clear();
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) return lastError();
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) return lastError();
    if (!S_ISREG(st.st_mode)) return err::kFileNotFound;
    out.resize(static_cast<size_t>(st.st_size));
    size_t got = 0;
    while (got < out.size()) {
        const ssize_t n = ::read(fd.get(), out.data() + got, out.size() - got);
        if (n < 0) {
            if (errno == EINTR) continue;
            return lastError();
        }
        if (n == 0) break;  // shrank while reading
        got += static_cast<size_t>(n);
    }
    out.resize(got);
    return fd.close();
}

int32_t PosixFileSystem::writeFile(const std::string& path, const uint8_t* data, size_t size, bool flush) {
    Fd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (fd.get() < 0) return lastError();
    if (const int32_t e = writeAll(fd.get(), data, size)) return e;
    if (flush && ::fsync(fd.get()) != 0) return lastError();
    return fd.close();
}

int32_t PosixFileSystem::appendFile(const std::string& path, const uint8_t* data, size_t size, bool flush) {
    bool created = false;
    int raw = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (raw < 0 && errno == ENOENT) {
        raw = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        created = raw >= 0;
    }
    Fd fd(raw);
    if (fd.get() < 0) return lastError();
    if (const int32_t e = writeAll(fd.get(), data, size)) return e;
    if (flush && ::fsync(fd.get()) != 0) return lastError();
    if (const int32_t e = fd.close()) return e;
    return flush && created ? syncFolder(path) : err::kNone;
}

int32_t PosixFileSystem::truncateFile(const std::string& path, uint64_t size) {
    Fd fd(::open(path.c_str(), O_WRONLY | O_CLOEXEC));
    if (fd.get() < 0) return lastError();
    if (::ftruncate(fd.get(), static_cast<off_t>(size)) != 0) return lastError();
    if (::fsync(fd.get()) != 0) return lastError();
    return fd.close();
}

int32_t PosixFileSystem::renameFile(const std::string& from, const std::string& to) {
    if (::rename(from.c_str(), to.c_str()) != 0) return lastError();
    return syncFolder(to);
}

int32_t PosixFileSystem::removeFile(const std::string& path) {
    if (::unlink(path.c_str()) != 0) return lastError();
    return err::kNone;
}

}  // namespace pelomar::core
