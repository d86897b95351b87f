#pragma once

#include <string>

namespace pelomar::core {

// F & "/" & name: the join of a backup file to its folder. A folder that ends
// in a separator gives a doubled one, which the file system accepts.
std::string backupFilePath(const std::string& folder, const char* name);

// The three files the next backup call appends methods, labels and points to.
struct BackupLogTargets {
    std::string MLogPath, ELogPath, DLogPath;
    // Still at the generation-1 files of the control's own folder, as set at
    // initialisation; a per-folder backup call moves them to its folder.
    bool AtControlFolder = true;

    static BackupLogTargets generation(const std::string& folder, int generation, bool atControlFolder);
};

// False for a folder no backup member may write to: none at all, or one
// that resolves to the root.
bool isUsableLogFolder(const std::string& folder);

// The control's own folder: where the plain backup members work. Default
// $XDG_DATA_HOME/tavrin-ms (~/.local/share/tavrin-ms).
std::string defaultControlFolder();

}  // namespace pelomar::core
