#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/registry/InstanceRegistry.h"
#include "core/MainWindowControls.h"
#include "core/Timer.h"
#include "core/UiServices.h"
#include "core/modGlobas.h"

namespace tavrin {

// The main window's first activation and its unload: recovery offer,
// registration and folder, system name, title and watchdog; then the save
// prompts, settings, and removal of this copy's logs, folder and record.
class StartupSequence {
public:
    // Commands of other windows; an empty one is skipped.
    struct Hooks {
        // The data recovery dialog, modal, given the lines found.
        std::function<void(const std::vector<std::string>& lines)> showDataRecovery;
        std::function<void()> mnuLogName_Click;
        std::function<void(const std::string& FileName)> OpenChartFile;
        std::function<void()> mnuSaveLog_Click;
        std::function<bool()> saveLogEnabled;
        std::function<void()> SaveSettings;
        std::function<void(const std::string& caption)> setCaption;
        // The current date and the current time as the user reads them.
        std::function<std::string()> dateText;
        std::function<std::string()> timeText;
    };

    struct Start {
        bool otherCopyWasRunning = false;
        // Unique among the copies running at the same time.
        uint32_t copyNumber = 0;
        std::string commandLine;
    };

    StartupSequence(modGlobas& globals, InstanceRegistry& registry, UiServices& ui,
                    MainWindowControls& controls, Timer& timerCheckComData, Start start, Hooks hooks);

    // Runs once; later calls do nothing.
    void Form_Activate();
    // Returns Cancel: true keeps the window open and nothing else has run.
    bool Form_Unload(int16_t NumCharts);

    bool activated() const { return activated_; }

private:
    void offerRecovery();

    modGlobas& g_;
    // None: this copy neither recovers nor registers.
    InstanceRegistry& registry_;
    UiServices& ui_;
    MainWindowControls& controls_;
    Timer& timerCheckComData_;
    Start start_;
    Hooks hooks_;
    bool activated_ = false;
};

}  // namespace tavrin
