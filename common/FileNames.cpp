#include "common/FileNames.h"

#include <QFile>
#include <QStringList>

#include <dirent.h>
#include <sys/stat.h>

#include <vector>

namespace pelomar {

namespace {

bool exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

// The names in `folder` that Qt reads as `shown`.
std::vector<std::string> namesReadAs(const std::string& folder, const QString& shown) {
    std::vector<std::string> found;
    DIR* dir = ::opendir(folder.empty() ? "/" : folder.c_str());
    if (dir == nullptr) return found;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (QFile::decodeName(QByteArray::fromStdString(name)) == shown) found.push_back(name);
    }
    ::closedir(dir);
    return found;
}

}  // namespace

QString nameToQt(std::string_view bytes) {
    return QFile::decodeName(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::string nameFromQt(const QString& path) {
    const std::string plain = QFile::encodeName(path).toStdString();
    if (!path.contains(QChar::ReplacementCharacter) || exists(plain)) return plain;
    // Only then is each part looked up; a part that is missing or ambiguous
    // stays as Qt encodes it, which names no existing file.
    const QStringList parts = path.split(QLatin1Char('/'));
    std::string out = QFile::encodeName(parts.front()).toStdString();
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QString& part = parts[i];
        std::string bytes = QFile::encodeName(part).toStdString();
        if (part.contains(QChar::ReplacementCharacter) && !exists(out + '/' + bytes)) {
            const std::vector<std::string> found = namesReadAs(out, part);
            if (found.size() == 1) bytes = found.front();
        }
        out += '/' + bytes;
    }
    return out;
}

}  // namespace pelomar
