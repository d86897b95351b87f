#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "core/registry/InstanceRegistry.h"
#include "core/registry/LogFileList.h"
#include "core/UiServices.h"
#include "core/modGlobas.h"

namespace tavrin {

// The data recovery window's list and handlers: each ticked log is rebuilt
// into a log file through the main window's Save Log command; Done deletes
// every log that is left, after a warning when lines remain.
class DataRecoveryLogic : public LogFileList {
public:
    static constexpr int32_t kSavedItem = -1;

    struct Line {
        std::string text;
        int32_t itemData = 0;
        bool checked = false;
    };

    struct Services {
        modGlobas& globals;
        UiServices& ui;
        InstanceRegistry& registry;
        // The main window's mnuSaveLog_Click over LogPath and LogName; it
        // leaves its outcome in LogSaved.
        std::function<void()> mnuSaveLog_Click;
    };

    explicit DataRecoveryLogic(const Services& services);

    // Start-up: lists the leftover logs and, when there is one, beeps and
    // runs the window (showModal returns once it is unloaded); with none,
    // deletes all logs unseen.
    void OfferRecovery(const std::function<void()>& showModal);

    void AddItem(const std::string& text, bool checked) override;
    void lstLogFiles_ItemCheck(size_t index, bool checked);
    void cmdRecoverButton_Click();
    void cmdDoneButton_Click();

    std::vector<Line> lstLogFiles;
    bool cmdRecoverButtonEnabled = false;
    bool Unloaded = false;
    std::function<void()> onUnload;
    // The list was rebuilt; the window shows it afresh.
    std::function<void()> onListChanged;

private:
    // Saves the log of folder `path` under `name`; true when it is saved.
    bool recover(const std::string& path, const std::string& name);
    void updateRecoverButton();

    Services services_;
    // Folders saved in this window: a second line for the same folder would
    // write its log again, over the file the first save made.
    std::set<std::string> recovered_;
};

}  // namespace tavrin
