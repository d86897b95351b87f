#include "core/registry/DataRecoveryLogic.h"

#include "core/registry/LogInfoRecord.h"

namespace tavrin {

namespace {
constexpr const char* kUnknownPrefix = "  Unknown Log File ";
constexpr const char* kCounter = "0";
}  // namespace

DataRecoveryLogic::DataRecoveryLogic(const Services& services) : services_(services) {}

void DataRecoveryLogic::OfferRecovery(const std::function<void()>& showModal) {
    services_.registry.ListRegisteredLogs(*this);
    services_.registry.ListUnknownLogs(*this);
    if (lstLogFiles.empty()) {
        services_.registry.DeleteAllLogs();
        Unloaded = true;
        return;
    }
    services_.ui.beep();
    if (showModal) showModal();
}

void DataRecoveryLogic::AddItem(const std::string& text, bool checked) {
    lstLogFiles.push_back({text, 0, checked});
    updateRecoverButton();
}

void DataRecoveryLogic::lstLogFiles_ItemCheck(size_t index, bool checked) {
    if (index >= lstLogFiles.size()) return;
    lstLogFiles[index].checked = checked;
    updateRecoverButton();
}

void DataRecoveryLogic::updateRecoverButton() {
    cmdRecoverButtonEnabled = false;
    for (const Line& line : lstLogFiles)
        if (line.checked) cmdRecoverButtonEnabled = true;
}

bool DataRecoveryLogic::recover(const std::string& path, const std::string& name) {
    if (recovered_.count(path) != 0) return true;
    modGlobas& g = services_.globals;
    g.LogPath = path;
    g.LogName = name;
    g.LogSaved = false;
    if (services_.mnuSaveLog_Click) {
        try {
            services_.mnuSaveLog_Click();
        } catch (...) {
            // Whatever went wrong, the other runs are still to be recovered.
            g.LogSaved = false;
        }
    }
    if (g.LogSaved) recovered_.insert(path);
    return g.LogSaved;
}

void DataRecoveryLogic::cmdRecoverButton_Click() {
    modGlobas& g = services_.globals;
    const size_t count = lstLogFiles.size();
    for (size_t i = 0; i < count; ++i) {
        if (!lstLogFiles[i].checked) continue;
        const std::string line = lstLogFiles[i].text;
        if (g.LogInfoSettings) {
            const SettingsStore::Pairs rows = *g.LogInfoSettings;
            for (const auto& [valueName, value] : rows) {
                if (valueName == kCounter || FormatLogInfoLine(value) != line) continue;
                // A record whose folder field names no folder of ours leads
                // nowhere to save from.
                const std::string path = services_.registry.GetLogFolderPath(value);
                if (path.empty()) continue;
                if (recover(path, value.substr(0, value.find('|')))) lstLogFiles[i].itemData = kSavedItem;
            }
        }
        if (g.UnknownLogFound) {
            const std::vector<std::string> unknown = g.UnknownLogs;
            for (const std::string& u : unknown) {
                if (kUnknownPrefix + u != line) continue;
                if (recover(services_.registry.logFolder() + "/" + u, u)) lstLogFiles[i].itemData = kSavedItem;
            }
        }
    }
    std::vector<Line> left;
    for (const Line& l : lstLogFiles)
        if (l.itemData == 0) left.push_back({l.text, 0, false});
    lstLogFiles = std::move(left);
    cmdRecoverButtonEnabled = false;
    if (onListChanged) onListChanged();
    if (lstLogFiles.empty()) cmdDoneButton_Click();
}

void DataRecoveryLogic::cmdDoneButton_Click() {
    if (!lstLogFiles.empty()) {
        const UiServices::Answer answer = services_.ui.messageBoxWithDefault(
            "Not all Log files have been recovered!  Log files that have not been recovered will be permanently "
            "lost.\r\n(Select 'Cancel' to recover additional Log files.)",
            "Tavrin MS - Warning!", UiServices::Buttons::OkCancel, UiServices::Icon::Exclamation,
            UiServices::Answer::Cancel);
        if (answer != UiServices::Answer::Ok) return;
    }
    services_.registry.DeleteAllLogs();
    Unloaded = true;
    if (onUnload) onUnload();
}

}  // namespace tavrin
