#include "platform/ErrorLogAppender.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QStandardPaths>

namespace tavrin {

std::string ErrorLogAppender::defaultPath() {
    const QString folder =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/tavrin-ms");
    QDir().mkpath(folder);
    return QDir(folder).filePath(QStringLiteral("ChartErr.log")).toStdString();
}

bool ErrorLogAppender::append(const std::string& bytes) noexcept {
    const int fd = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    struct stat st {};
    const off_t before = ::fstat(fd, &st) == 0 ? st.st_size : -1;
    size_t done = 0;
    bool ok = true;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) {
            ok = false;
            break;
        }
        done += static_cast<size_t>(n);
    }
    if (ok && ::fsync(fd) != 0) ok = false;
    if (!ok && before >= 0) (void)::ftruncate(fd, before);
    ::close(fd);
    return ok;
}

}  // namespace tavrin
