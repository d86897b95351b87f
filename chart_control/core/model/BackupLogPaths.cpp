#include "BackupLogPaths.h"

#include <filesystem>
#include <system_error>

#include "common/UserFolders.h"

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

std::string defaultControlFolder() { return programDataFolder(); }

}  // namespace pelomar::core
