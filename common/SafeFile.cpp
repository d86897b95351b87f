#include "common/SafeFile.h"

#include <cctype>

#include "common/RuntimeErrors.h"

namespace pelomar::core {

namespace {
constexpr size_t kUniqueLength = 6;
constexpr char kSuffix[] = ".new";
}  // namespace

std::string folderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string temporaryName(const std::string& target, const std::string& unique) {
    const size_t slash = target.find_last_of('/');
    const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    return folder + "." + nameOf(target) + "." + unique + kSuffix;
}

bool isTemporaryNameOf(const std::string& name, const std::string& target) {
    const std::string prefix = "." + nameOf(target) + ".";
    const size_t suffix = sizeof kSuffix - 1;
    if (name.size() != prefix.size() + kUniqueLength + suffix) return false;
    if (name.compare(0, prefix.size(), prefix) != 0) return false;
    if (name.compare(name.size() - suffix, suffix, kSuffix) != 0) return false;
    for (size_t i = prefix.size(); i < prefix.size() + kUniqueLength; ++i) {
        if (!std::isalnum(static_cast<unsigned char>(name[i]))) return false;
    }
    return true;
}

void removeLeftoverTemporaries(FileSystem& fs, const std::string& target) {
    const std::string folder = folderOf(target);
    std::vector<std::string> names;
    if (fs.listFolder(folder, names) != err::kNone) return;
    for (const std::string& name : names) {
        if (isTemporaryNameOf(name, target)) (void)fs.removeUnheld(folder + "/" + name);
    }
}

int32_t checkReplaceable(FileSystem& fs, const std::string& path) {
    switch (fs.kindOf(path)) {
    case PathKind::Missing: return err::kNone;
    case PathKind::File: return fs.checkWritable(path);
    case PathKind::Folder:
    case PathKind::Other: break;
    }
    return err::kPathFileAccessError;
}

int32_t replaceFile(FileSystem& fs, const std::string& path, const std::vector<uint8_t>& bytes) {
    const ByteView whole(bytes);
    return replaceFile(fs, path, {&whole, 1});
}

int32_t replaceFile(FileSystem& fs, const std::string& path, std::span<const ByteView> pieces) {
    // A rename over a link would put a file in its place and leave the file
    // it names as it was.
    std::string file;
    if (const int32_t e = fs.resolveLinks(path, file)) return e;
    if (const int32_t e = checkReplaceable(fs, file)) return e;
    return replaceThroughTemporary(fs, file, pieces);
}

int32_t replaceThroughTemporary(FileSystem& fs, const std::string& path, const uint8_t* data, size_t size) {
    const ByteView whole(data, size);
    return replaceThroughTemporary(fs, path, {&whole, 1});
}

int32_t replaceThroughTemporary(FileSystem& fs, const std::string& path, std::span<const ByteView> pieces) {
    TemporaryFile tmp;
    int32_t e = fs.writeTemporary(path, pieces, tmp);
    if (e == err::kNone) {
        e = fs.renameFile(tmp.name, path);
        if (e != err::kNone) (void)fs.removeFile(tmp.name);
    } else if (!tmp.name.empty()) {
        (void)fs.removeFile(tmp.name);
    }
    tmp.hold.reset();
    if (e == err::kNone) removeLeftoverTemporaries(fs, path);
    return e;
}

int32_t appendWhole(FileSystem& fs, const std::string& path, const uint8_t* data, size_t size) {
    // A device or pipe has no length to go back to, nor has a file whose
    // length cannot be read.
    uint64_t before = 0;
    bool cutBack = false;
    switch (fs.kindOf(path)) {
    case PathKind::Missing: cutBack = true; break;
    case PathKind::File: cutBack = fs.fileSize(path, before) == err::kNone; break;
    case PathKind::Folder:
    case PathKind::Other: break;
    }
    const int32_t e = fs.appendFile(path, data, size, true);
    if (e != err::kNone && cutBack) (void)fs.truncateFile(path, before);
    return e;
}

int32_t copyFile(FileSystem& fs, const std::string& src, const std::string& dst) {
    std::vector<uint8_t> bytes;
    if (const int32_t e = fs.readFile(src, bytes)) return e;
    return fs.writeFile(dst, bytes.data(), bytes.size(), false);
}

}  // namespace pelomar::core
