#include "SafeFile.h"

#include "common/RuntimeErrors.h"

namespace pelomar::core {

std::string temporaryNameFor(const std::string& path) { return path + ".new"; }

int32_t replaceFile(FileSystem& fs, const std::string& path, const std::vector<uint8_t>& bytes) {
    const std::string tmp = temporaryNameFor(path);
    int32_t e = fs.writeFile(tmp, bytes.data(), bytes.size(), true);
    if (e == err::kNone) e = fs.renameFile(tmp, path);
    if (e != err::kNone) (void)fs.removeFile(tmp);
    return e;
}

int32_t copyFile(FileSystem& fs, const std::string& src, const std::string& dst) {
    std::vector<uint8_t> bytes;
    if (const int32_t e = fs.readFile(src, bytes)) return e;
    return fs.writeFile(dst, bytes.data(), bytes.size(), false);
}

}  // namespace pelomar::core
