#include "core/registry/InstanceRegistry.h"

#include <exception>
#include <new>
#include <utility>

#include "common/Guard.h"
#include "core/registry/LeadingNumber.h"
#include "core/registry/LogInfoRecord.h"
#include "common/Rounding.h"
#include "common/RuntimeErrors.h"
#include "common/RuntimeError.h"

namespace tavrin {

namespace err = pelomar::core::err;

namespace {

constexpr const char* kProgramTitle = "Tavrin MS";
constexpr const char* kSection = "LogInfo";
constexpr const char* kCounter = "0";
// Candidate folder names tried past the start-up window's number before
// giving up; each one taken belongs to a running or a dead copy.
constexpr uint32_t kFolderNameTries = 1000;

bool hasValue(const SettingsStore::Pairs& pairs, const std::string& name) {
    for (const auto& [key, value] : pairs) {
        if (key == name) return true;
    }
    return false;
}

// Every folder of `path` that is missing, from the top down.
int32_t createFolders(RecorderFileSystem& files, const std::string& path) {
    for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (!part.empty() && !files.folderExists(part)) {
            const int32_t e = files.createFolder(part);
            if (e != err::kNone && !files.folderExists(part)) return e;
        }
        if (slash == std::string::npos) return err::kNone;
    }
}

}  // namespace

InstanceRegistry::InstanceRegistry(const Services& services, modGlobas& globals, std::string programFolder,
                                   bool otherCopyRunning)
    : services_(services), g_(globals), programFolder_(std::move(programFolder)),
      otherCopyRunning_(otherCopyRunning) {}

void InstanceRegistry::message(const std::string& text) {
    services_.ui.messageBox(text, kProgramTitle, UiServices::Buttons::Ok, UiServices::Icon::None);
}

void InstanceRegistry::failed(const char* routine, int32_t number, const std::string& description) {
    message(std::string("Error in ") + routine + "!  " + std::to_string(number) + description);
}

template <typename Body>
void InstanceRegistry::trapped(const char* routine, Body&& body) {
    try {
        body();
    } catch (const pelomar::RuntimeError& e) {
        failed(routine, e.number(), e.what());
    } catch (const std::bad_alloc&) {
        failed(routine, err::kOutOfMemory, pelomar::core::errorText(err::kOutOfMemory));
    } catch (const std::exception&) {
        failed(routine, err::kPathFileAccessError, pelomar::core::errorText(err::kPathFileAccessError));
    }
}

void InstanceRegistry::TakeLogInfoSnapshot() { g_.LogInfoSettings = ReadLogInfo(services_.settings); }

std::optional<SettingsStore::Pairs> InstanceRegistry::ReadLogInfo(const SettingsStore& settings) {
    SettingsStore::Pairs pairs = settings.GetAllSettings(kSection);
    if (pairs.empty()) return std::nullopt;
    return pairs;
}

int32_t InstanceRegistry::RegisterInstance(uint32_t windowNumber, const std::string& startDate,
                                           const std::string& startTime) {
    g_.LogStartDate = startDate;
    g_.LogStartTime = startTime;
    g_.LogName = "Default";

    // A folder that exists already is another copy's, running or dead, and
    // holds its backup logs: this copy takes the next free number instead.
    int32_t result = createFolders(services_.files, logFolder());
    std::string name = std::to_string(windowNumber);
    if (result == err::kNone) {
        for (uint32_t k = 0; k < kFolderNameTries; ++k) {
            const std::string candidate = std::to_string(windowNumber + k);
            const std::string path = logFolder() + "/" + candidate;
            result = services_.files.createFolder(path);
            if (result == err::kFileAlreadyExists) continue;
            if (result == err::kNone) {
                ownLock_ = services_.files.lockFolder(path);
                // A wipe that listed the new folder holds it and takes it away.
                if (!ownLock_ && services_.files.folderLockHeld(path)) {
                    result = err::kFileAlreadyExists;
                    continue;
                }
            }
            name = candidate;
            break;
        }
    }
    g_.LogFolderName = name;
    ownFolder_ = logFolder() + "/" + name;
    g_.LogPath = ownFolder_ + "/";

    AddInstance();
    UpdateRegistry();
    return result;
}

void InstanceRegistry::UnregisterInstance() {
    if (g_.InstanceNumber == 0) return;
    pelomar::skipRuntimeError([&] { services_.logChart.ClearLog2(ownFolder_ + "/", g_.InstanceNumber); });
    g_.LogPath = ownFolder_;
    if (ownLock_) {
        (void)services_.files.removeFile(ownFolder_ + "/" + RecorderFileSystem::kFolderLockName);
        ownLock_.reset();
    }
    if (!ownFolder_.empty()) (void)services_.files.removeFolder(ownFolder_);
    RemoveRegistryEntry();
}

void InstanceRegistry::AddInstance() {
    trapped("AddInstance", [this] {
        SettingsStore& s = services_.settings;
        int16_t n = pelomar::core::toInteger(LeadingNumber(s.GetSetting(kSection, kCounter, "0")) + 1.0);
        // Below 1 the number would address the counter itself.
        if (n < 1) n = 1;
        s.SaveSetting(kSection, kCounter, std::to_string(n));
        g_.InstanceNumber = n;
        if (s.GetSetting(kSection, std::to_string(n), "0") != "0") {
            message("Existing Registry entry will be overwritten, improved functionality to come later!");
        }
    });
}

void InstanceRegistry::UpdateRegistry() {
    // Unregistered, the record would land on the counter.
    if (g_.InstanceNumber == 0) return;
    trapped("UpdateRegistry", [this] {
        services_.settings.SaveSetting(kSection, std::to_string(g_.InstanceNumber),
                                       g_.LogName + "|" + g_.LogStartDate + "|" + g_.LogStartTime + "|" +
                                           g_.LogFolderName);
    });
}

void InstanceRegistry::RemoveRegistryEntry() {
    if (g_.InstanceNumber == 0) return;
    trapped("RemoveRegistryEntry", [this] {
        SettingsStore& s = services_.settings;
        const std::string own = std::to_string(g_.InstanceNumber);
        // Another copy under the same number removed the record first.
        if (!hasValue(s.GetAllSettings(kSection), own)) throw pelomar::RuntimeError(err::kInvalidProcedureCall);
        s.DeleteSetting(kSection, own);
        const int16_t n = pelomar::core::toInteger(LeadingNumber(s.GetSetting(kSection, kCounter, "0")) - 1.0);
        s.SaveSetting(kSection, kCounter, std::to_string(n));
    });
}

std::string InstanceRegistry::GetLogFolderPath(const std::string& Entry) const {
    const std::string folder = LogInfoFolderField(Entry);
    if (!IsInstanceFolderName(folder)) return "";
    return logFolder() + "/" + folder;
}

void InstanceRegistry::ListRegisteredLogs(LogFileList& lstLogFiles) {
    if (otherCopyRunning_) {
        message("Found Previous Instance!");
        return;
    }
    if (!g_.LogInfoSettings) return;
    for (const auto& [name, value] : *g_.LogInfoSettings) {
        if (name == kCounter) continue;
        const std::string path = GetLogFolderPath(value);
        if (path.empty()) continue;
        g_.LogPath = path;
        if (services_.logChart.IsLogFileExist2(path) && !heldByRunningCopy(path))
            lstLogFiles.AddItem(FormatLogInfoLine(value), false);
    }
}

bool InstanceRegistry::heldByRunningCopy(const std::string& path) const {
    return !path.empty() && services_.files.folderLockHeld(path);
}

bool InstanceRegistry::namedByRecord(const std::string& folder) const {
    if (!g_.LogInfoSettings) return false;
    for (const auto& [name, value] : *g_.LogInfoSettings) {
        if (name == kCounter) continue;
        const std::string field = LogInfoFolderField(value);
        if (field == folder && IsInstanceFolderName(field)) return true;
    }
    return false;
}

void InstanceRegistry::ListUnknownLogs(LogFileList& lstLogFiles) {
    g_.UnknownLogFound = false;
    g_.UnknownLogs.clear();
    listed_ = services_.files.listFolder(logFolder());
    for (const RecorderFileSystem::Entry& entry : *listed_) {
        // Names with an extension are not instance folders; links lead elsewhere.
        if (!entry.folder || entry.name.find('.') != std::string::npos) continue;
        const std::string path = logFolder() + "/" + entry.name;
        if (!services_.logChart.IsLogFileExist2(path) || heldByRunningCopy(path)) continue;
        if (namedByRecord(entry.name)) continue;
        g_.UnknownLogs.push_back(entry.name);
        g_.UnknownLogFound = true;
    }
    if (!g_.UnknownLogFound) return;
    for (const std::string& d : g_.UnknownLogs) lstLogFiles.AddItem("  Unknown Log File " + d, false);
}

void InstanceRegistry::DeleteAllLogs() {
    if (otherCopyRunning_) return;
    RecorderFileSystem& files = services_.files;
    // Only what was offered: a copy that started since keeps its folder. The
    // log folder itself stays for the copies that make theirs in it.
    const std::vector<RecorderFileSystem::Entry> entries = listed_ ? *listed_ : files.listFolder(logFolder());
    for (const RecorderFileSystem::Entry& entry : entries) {
        const std::string path = logFolder() + "/" + entry.name;
        if (!entry.folder) {
            (void)files.removeFile(path);
            continue;
        }
        // Held while it goes, so that no copy can take it meanwhile; a
        // running copy's is held already and stays.
        const std::unique_ptr<RecorderFileSystem::FolderLock> lock = files.lockFolder(path);
        if (!lock) continue;
        for (const RecorderFileSystem::Entry& file : files.listFolder(path)) {
            if (!file.folder) (void)files.removeFile(path + "/" + file.name);
        }
        (void)files.removeFolder(path);
    }
    RemoveDeadRecords();
}

void InstanceRegistry::RemoveDeadRecords() {
    if (otherCopyRunning_ || !g_.LogInfoSettings) return;
    const SettingsStore::Pairs& snapshot = *g_.LogInfoSettings;
    const auto inSnapshot = [&snapshot](const std::string& name, const std::string& value) {
        for (const auto& [n, v] : snapshot)
            if (n == name && v == value) return true;
        return false;
    };
    pelomar::skipRuntimeError([&] {
        SettingsStore& s = services_.settings;
        bool recordLeft = false;
        for (const auto& [name, value] : s.GetAllSettings(kSection)) {
            if (name == kCounter) continue;
            // A record written since is a copy's that started meanwhile.
            if (inSnapshot(name, value) && !heldByRunningCopy(GetLogFolderPath(value)))
                s.DeleteSetting(kSection, name);
            else
                recordLeft = true;
        }
        // With no record left the counter goes too; a copy that registered
        // meanwhile keeps the counter that numbered it.
        if (!recordLeft) s.DeleteSection(kSection);
    });
}

}  // namespace tavrin
