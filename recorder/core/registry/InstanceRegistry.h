#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/registry/LogFileList.h"
#include "core/RecorderChart.h"
#include "core/registry/RecorderFileSystem.h"
#include "core/SettingsStore.h"
#include "core/UiServices.h"
#include "core/modGlobas.h"

namespace tavrin {

// The section "LogInfo" of the settings, the "Log" folder under the program
// folder and this copy's folder in it. The routines show their own messages
// and return nothing to the caller; the start-up and shut-down sequences call
// them in their order.
class InstanceRegistry {
public:
    struct Services {
        SettingsStore& settings;
        RecorderFileSystem& files;
        UiServices& ui;
        // The backup-log chart, Chart(5).
        RecorderChart& logChart;
    };

    // otherCopyRunning: the snapshot taken when this copy started.
    InstanceRegistry(const Services& services, modGlobas& globals, std::string programFolder,
                     bool otherCopyRunning);

    // Start-up window's load: LogInfoSettings := the whole section, once.
    void TakeLogInfoSnapshot();
    // The whole section as the snapshot keeps it; no value when it is empty.
    static std::optional<SettingsStore::Pairs> ReadLogInfo(const SettingsStore& settings);

    // First activation, after the recovery step: names and creates this copy's
    // folder, then AddInstance and UpdateRegistry. windowNumber is the start-up
    // window's identifying number; the texts are the start date and time in the
    // user's forms. The folder's lock is held from here to UnregisterInstance.
    // Returns 0, or the error of creating the folders (the copy is then still
    // registered, with LogPath naming the folder it could not make).
    int32_t RegisterInstance(uint32_t windowNumber, const std::string& startDate,
                             const std::string& startTime);
    // Shut-down: this copy's backup logs, its folder and its record, failures
    // ignored. A copy that never registered has none of them.
    void UnregisterInstance();

    void AddInstance();
    void UpdateRegistry();
    void RemoveRegistryEntry();
    // program folder/Log/<fourth field>, no trailing separator; empty when the
    // field is not a folder name this program makes.
    std::string GetLogFolderPath(const std::string& Entry) const;
    void ListRegisteredLogs(LogFileList& lstLogFiles);
    void ListUnknownLogs(LogFileList& lstLogFiles);
    // The folders and files of the last listing (all that the log folder held
    // then, or what it holds now when nothing was listed), and the records of
    // the snapshot; never a folder or record of a running copy.
    void DeleteAllLogs();
    // The records of the snapshot, all of dead copies when this copy started
    // alone, leave the section, so that this copy counts from 1 again.
    // Nothing when another copy was running.
    void RemoveDeadRecords();

    // program folder/Log
    std::string logFolder() const { return programFolder_ + "/Log"; }

private:
    // Runs one routine's body; a failure ends it with the routine's message.
    template <typename Body>
    void trapped(const char* routine, Body&& body);
    void failed(const char* routine, int32_t number, const std::string& description);
    void message(const std::string& text);
    bool namedByRecord(const std::string& folder) const;
    // A running copy holds the lock of the folder of `path` (none: false).
    bool heldByRunningCopy(const std::string& path) const;

    Services services_;
    modGlobas& g_;
    std::string programFolder_;
    bool otherCopyRunning_;
    // The folder this copy made, whatever LogPath names meanwhile.
    std::string ownFolder_;
    std::unique_ptr<RecorderFileSystem::FolderLock> ownLock_;
    // What the log folder held when the leftovers were listed.
    std::optional<std::vector<RecorderFileSystem::Entry>> listed_;
};

}  // namespace tavrin
