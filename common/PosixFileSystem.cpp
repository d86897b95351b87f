#include "common/PosixFileSystem.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <system_error>

#include "common/SafeFile.h"
#include "common/RuntimeErrors.h"

namespace pelomar::core {

namespace {

int32_t lastError() { return errorFromErrno(errno); }

// Errors of an open that creates a file: a missing folder is "Path not
// found", a folder or file this process may not write is refused as the
// platform's open refuses it.
int32_t createError() {
    switch (errno) {
    case ENOENT:
    case ENOTDIR: return err::kPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: return err::kPathFileAccessError;
    default: return lastError();
    }
}

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
    int release() noexcept {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }
    int32_t close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0 ? err::kNone : lastError();
    }

private:
    int fd_;
};

int32_t writeAll(int fd, std::span<const ByteView> pieces) {
    std::vector<iovec> iov;
    iov.reserve(pieces.size());
    for (const ByteView& p : pieces) {
        if (!p.empty()) iov.push_back({const_cast<uint8_t*>(p.data()), p.size()});
    }
    size_t first = 0;
    while (first < iov.size()) {
        const int count = static_cast<int>(std::min<size_t>(iov.size() - first, IOV_MAX));
        const ssize_t n = ::writev(fd, &iov[first], count);
        if (n < 0) {
            if (errno == EINTR) continue;
            return lastError();
        }
        if (n == 0) return err::kDiskFull;
        // A short write goes on where it stopped, inside a piece if need be.
        auto left = static_cast<size_t>(n);
        while (first < iov.size() && left >= iov[first].iov_len) left -= iov[first++].iov_len;
        if (left > 0) {
            iov[first].iov_base = static_cast<uint8_t*>(iov[first].iov_base) + left;
            iov[first].iov_len -= left;
        }
    }
    return err::kNone;
}

int32_t writeAll(int fd, const uint8_t* data, size_t size) {
    const ByteView whole(data, size);
    return writeAll(fd, {&whole, 1});
}

// Opens a regular file for reading. Non-blocking, so that a named pipe
// without a writer cannot hold the caller; anything but a regular file is
// refused.
int32_t openRegular(const std::string& path, int& raw, uint64_t& size) {
    raw = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (raw < 0) return errno == EISDIR ? err::kPathFileAccessError : lastError();
    struct stat st {};
    if (::fstat(raw, &st) != 0) return lastError();
    if (!S_ISREG(st.st_mode)) return err::kPathFileAccessError;
    size = static_cast<uint64_t>(st.st_size);
    return err::kNone;
}

// Reads until `out` is full or the file ends (it may shrink while read).
int32_t readUpTo(int fd, std::span<uint8_t> out, size_t& got) {
    got = 0;
    while (got < out.size()) {
        const ssize_t n = ::read(fd, out.data() + got, out.size() - got);
        if (n < 0) {
            if (errno == EINTR) continue;
            return lastError();
        }
        if (n == 0) break;
        got += static_cast<size_t>(n);
    }
    return err::kNone;
}

// A new or renamed directory entry survives a power failure only once its
// folder is flushed.
int32_t syncFolder(const std::string& path) {
    Fd dir(::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() < 0) return lastError();
    if (::fsync(dir.get()) != 0 && errno != EINVAL) return lastError();
    return dir.close();
}

// A hold is a flock lock, which belongs to one open file: two writers in one
// process exclude each other's clean-up as two processes do, and a writer
// that dies lets go.
class FlockHold : public FileHold {
public:
    explicit FlockHold(int fd) : fd_(fd) {}
    FlockHold(const FlockHold&) = delete;
    FlockHold& operator=(const FlockHold&) = delete;
    ~FlockHold() override { ::close(fd_); }

private:
    int fd_;
};

// True when `path` still names the file open as `fd`: a clean-up may have
// removed it between the open and the lock.
bool stillNamed(int fd, const std::string& path) {
    struct stat open {}, named {};
    if (::fstat(fd, &open) != 0 || ::stat(path.c_str(), &named) != 0) return false;
    return open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

bool lockedBySomeoneElse() { return errno == EWOULDBLOCK || errno == EINTR; }

constexpr int kLinkHops = 40;  // as the kernel allows

}  // namespace

PathKind PosixFileSystem::kindOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return PathKind::Missing;
    if (S_ISREG(st.st_mode)) return PathKind::File;
    if (S_ISDIR(st.st_mode)) return PathKind::Folder;
    return PathKind::Other;
}

int32_t PosixFileSystem::fileSize(const std::string& path, uint64_t& size) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return lastError();
    if (!S_ISREG(st.st_mode)) return err::kFileNotFound;
    size = static_cast<uint64_t>(st.st_size);
    return err::kNone;
}

int32_t PosixFileSystem::readFile(const std::string& path, std::vector<uint8_t>& out) {
    out.clear();
    int raw = -1;
    uint64_t size = 0;
    const int32_t opened = openRegular(path, raw, size);
    Fd fd(raw);
    if (opened != err::kNone) return opened;
    out.resize(static_cast<size_t>(size));
    size_t got = 0;
    if (const int32_t e = readUpTo(fd.get(), out, got)) return e;
    out.resize(got);
    return fd.close();
}

int32_t PosixFileSystem::readFileInto(const std::string& path, std::span<uint8_t> out, size_t& size) {
    size = 0;
    int raw = -1;
    uint64_t fileSize = 0;
    const int32_t opened = openRegular(path, raw, fileSize);
    Fd fd(raw);
    if (opened != err::kNone) return opened;
    if (const int32_t e = readUpTo(fd.get(), out, size)) return e;
    return fd.close();
}

int32_t PosixFileSystem::writeFile(const std::string& path, const uint8_t* data, size_t size, bool flush) {
    Fd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, newFileMode_));
    if (fd.get() < 0) return createError();
    if (const int32_t e = writeAll(fd.get(), data, size)) return e;
    if (flush && ::fsync(fd.get()) != 0) return lastError();
    return fd.close();
}

int32_t PosixFileSystem::appendFile(const std::string& path, const uint8_t* data, size_t size, bool flush) {
    bool created = false;
    int raw = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (raw < 0 && errno == ENOENT) {
        raw = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_CLOEXEC, newFileMode_);
        if (raw < 0) return createError();
        created = true;
    }
    Fd fd(raw);
    if (fd.get() < 0) return lastError();
    if (const int32_t e = writeAll(fd.get(), data, size)) return e;
    if (flush && ::fsync(fd.get()) != 0) return lastError();
    if (const int32_t e = fd.close()) return e;
    return flush && created ? syncFolder(path) : err::kNone;
}

int32_t PosixFileSystem::writeTemporary(const std::string& target, std::span<const ByteView> pieces,
                                        TemporaryFile& created) {
    created = TemporaryFile{};
    struct stat st {};
    const bool replaces = ::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode);
    static const char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::string tmp;
    int raw = -1;
    for (int attempt = 0; attempt < 100 && raw < 0; ++attempt) {
        unsigned char random[6];
        if (::getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) {
            for (unsigned char& r : random) r = static_cast<unsigned char>(std::rand());
        }
        std::string unique;
        for (const unsigned char r : random) unique += kChars[r % (sizeof kChars - 1)];
        tmp = temporaryName(target, unique);
        // O_EXCL: never opens, and so never truncates, a file that is there.
        raw = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, newFileMode_);
        if (raw < 0 && errno != EEXIST) return createError();
        // Held from before its first byte; one that another save's clean-up
        // took first is left to it, and another name is tried.
        if (raw >= 0 && (::flock(raw, LOCK_EX | LOCK_NB) != 0 || !stillNamed(raw, tmp))) {
            ::close(raw);
            raw = -1;
        }
    }
    if (raw < 0) return err::kFileAlreadyExists;
    Fd fd(raw);
    auto fail = [&](int32_t e) {
        (void)::unlink(tmp.c_str());
        return e;
    };
    if (replaces && ::fchmod(fd.get(), st.st_mode & 07777) != 0) return fail(lastError());
    if (const int32_t e = writeAll(fd.get(), pieces)) return fail(e);
    if (::fsync(fd.get()) != 0) return fail(lastError());
    // The lock lives as long as one descriptor of the open file does: the
    // copy keeps it, and the close of the written one is still checked.
    const int held = ::fcntl(fd.get(), F_DUPFD_CLOEXEC, 0);
    if (held < 0) return fail(lastError());
    auto hold = std::make_unique<FlockHold>(held);
    if (const int32_t e = fd.close()) return fail(e);
    created.name = tmp;
    created.hold = std::move(hold);
    return err::kNone;
}

int32_t PosixFileSystem::holdFile(const std::string& path, std::unique_ptr<FileHold>& hold) {
    hold.reset();
    // Shared, as other writers may hold the same name; a clean-up that holds
    // it is about to remove it, and the next open makes it anew.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const int raw = ::open(path.c_str(), O_RDONLY | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, newFileMode_);
        if (raw < 0) return createError();
        Fd fd(raw);
        if (::flock(raw, LOCK_SH | LOCK_NB) != 0) {
            if (!lockedBySomeoneElse()) return lastError();
            continue;
        }
        if (!stillNamed(raw, path)) continue;
        hold = std::make_unique<FlockHold>(raw);
        (void)fd.release();
        return err::kNone;
    }
    return err::kPermissionDenied;
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

int32_t PosixFileSystem::removeUnheld(const std::string& path) {
    const int flags = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    int raw = ::open(path.c_str(), O_RDONLY | flags);
    if (raw < 0 && errno == EACCES) raw = ::open(path.c_str(), O_WRONLY | flags);
    if (raw < 0) {
        // A link holds no one's bytes.
        if (errno == ELOOP) return removeFile(path);
        return lastError();
    }
    Fd fd(raw);
    if (::flock(raw, LOCK_EX | LOCK_NB) != 0) return lockedBySomeoneElse() ? err::kPermissionDenied : lastError();
    // Removed while locked, so that no writer can take it up in between.
    if (!stillNamed(raw, path)) return err::kFileNotFound;
    return removeFile(path);
}

int32_t PosixFileSystem::resolveLinks(const std::string& path, std::string& file) {
    file = path;
    for (int hop = 0; hop <= kLinkHops; ++hop) {
        struct stat st {};
        // A missing end, or a folder part that is none, is for the write to report.
        if (::lstat(file.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return err::kNone;
        std::string to(static_cast<size_t>(st.st_size > 0 ? st.st_size : PATH_MAX), '\0');
        for (;;) {
            const ssize_t n = ::readlink(file.c_str(), to.data(), to.size());
            if (n < 0) return lastError();
            if (static_cast<size_t>(n) < to.size()) {
                to.resize(static_cast<size_t>(n));
                break;
            }
            to.resize(to.size() * 2);  // the link grew since the lstat
        }
        if (to.empty()) return err::kFileNotFound;
        if (to[0] == '/') {
            file = to;
        } else {
            const std::string folder = folderOf(file);
            file = (folder == "/" ? folder : folder + "/") + to;
        }
    }
    return err::kPathFileAccessError;
}

int32_t PosixFileSystem::checkWritable(const std::string& path) {
    // The open the platform would do, without truncating and without
    // waiting on a pipe.
    Fd fd(::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0) return createError();
    return err::kNone;
}

int32_t PosixFileSystem::listFolder(const std::string& folder, std::vector<std::string>& names) {
    names.clear();
    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec);
    if (ec) return errorFromErrorCode(ec);
    // A folder that fails part way gives the names read until then.
    for (const std::filesystem::directory_iterator end; !ec && it != end; it.increment(ec))
        names.push_back(it->path().filename().string());
    return err::kNone;
}

}  // namespace pelomar::core
