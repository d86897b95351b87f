#include "BackupLogPaths.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace pelomar::core {

std::string backupFilePath(const std::string& folder, const char* name) {
    return folder + "/" + name;
}

BackupLogTargets BackupLogTargets::generation(const std::string& folder, int generation,
                                              bool atControlFolder) {
    const bool second = generation == 2;
    BackupLogTargets t;
    t.MLogPath = backupFilePath(folder, second ? "MLog2.bak" : "MLog1.bak");
    t.ELogPath = backupFilePath(folder, second ? "ELog2.bak" : "ELog1.bak");
    t.DLogPath = backupFilePath(folder, second ? "DLog2.bak" : "DLog1.bak");
    t.AtControlFolder = atControlFolder;
    return t;
}

bool isUsableLogFolder(const std::string& folder) {
    if (folder.empty()) return false;
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path p = fs::absolute(fs::path(folder), ec);
    if (ec) p = fs::path(folder);
    p = p.lexically_normal();
    if (p == p.root_path()) return false;
    const fs::path resolved = fs::weakly_canonical(p, ec);
    return ec || resolved != resolved.root_path();
}

std::string defaultControlFolder() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data != nullptr && *data != '\0') return std::string(data) + "/tavrin-ms";
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : ".") + "/.local/share/tavrin-ms";
}

}  // namespace pelomar::core
