#include "core/window/StartupSequence.h"

#include <utility>

#include "common/Guard.h"
#include "core/registry/LogFileList.h"

namespace tavrin {

namespace {

using Item = MainWindowControls::Item;

class CollectedLines : public LogFileList {
public:
    void AddItem(const std::string& text, bool) override { lines.push_back(text); }
    std::vector<std::string> lines;
};

std::string call(const std::function<std::string()>& f) { return f ? f() : std::string(); }

}  // namespace

StartupSequence::StartupSequence(modGlobas& globals, InstanceRegistry& registry, UiServices& ui,
                                 MainWindowControls& controls, Timer& timerCheckComData, Start start,
                                 Hooks hooks)
    : g_(globals), registry_(registry), ui_(ui), controls_(controls),
      timerCheckComData_(timerCheckComData), start_(std::move(start)), hooks_(std::move(hooks)) {}

void StartupSequence::offerRecovery() {
    CollectedLines found;
    registry_.ListRegisteredLogs(found);
    registry_.ListUnknownLogs(found);
    if (found.lines.empty()) {
        registry_.DeleteAllLogs();
        return;
    }
    ui_.beep();
    // Without the dialog the leftovers stay for a start that can offer them.
    if (hooks_.showDataRecovery) hooks_.showDataRecovery(found.lines);
}

void StartupSequence::Form_Activate() {
    if (activated_) return;
    activated_ = true;

    controls_.showPressed(g_.LogOn ? Item::cmdLogOn : Item::cmdLogOff);
    if (!start_.otherCopyWasRunning) {
        offerRecovery();
        // Whatever the window did, the dead copies' records must not
        // number this copy past 1: only copy 1 keeps the settings.
        registry_.RemoveDeadRecords();
    }
    // A folder that cannot be made leaves backups failing with their
    // error in the log; the copy still runs and records.
    (void)registry_.RegisterInstance(start_.copyNumber, call(hooks_.dateText), call(hooks_.timeText));

    if (hooks_.mnuLogName_Click) hooks_.mnuLogName_Click();
    if (hooks_.setCaption) hooks_.setCaption("Tavrin MS - System: " + g_.LogName);
    timerCheckComData_.start();
    if (!start_.commandLine.empty() && hooks_.OpenChartFile) hooks_.OpenChartFile(start_.commandLine);
}

bool StartupSequence::Form_Unload(int16_t NumCharts) {
    if (hooks_.saveLogEnabled && hooks_.saveLogEnabled()) {
        if (ui_.messageBox("Do you want to save the LOG file before exiting ", "Tavrin MS",
                           UiServices::Buttons::YesNo, UiServices::Icon::Question) == UiServices::Answer::Yes &&
            hooks_.mnuSaveLog_Click)
            hooks_.mnuSaveLog_Click();
    }
    bool allSaved = true;
    for (int16_t i = 0; i < NumCharts && i < static_cast<int16_t>(g_.Saved.size()); ++i)
        allSaved = allSaved && g_.Saved[static_cast<size_t>(i)];
    if (!allSaved) {
        const auto answer = ui_.messageBoxWithDefault("Chart Recorder Data or opened Data is not saved.\rExit without save?",
                                                      "Data is not saved", UiServices::Buttons::YesNo,
                                                      UiServices::Icon::Question, UiServices::Answer::No);
        if (answer != UiServices::Answer::Yes) return true;
    }

    pelomar::skipRuntimeError([&] {
        if (g_.InstanceNumber == 1 && hooks_.SaveSettings) hooks_.SaveSettings();
    });
    pelomar::skipRuntimeError([&] { registry_.UnregisterInstance(); });
    timerCheckComData_.stop();
    return false;
}

}  // namespace tavrin
