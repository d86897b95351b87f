#include "core/run/LogControl.h"

namespace tavrin {

using Item = MainWindowControls::Item;

LogControl::LogControl(BlockDecoder& decoder, RunControl& run, BackupLogChart& logChart,
                       NoDataDialog& noData, MainWindowControls& controls,
                       Timer& timerCheckComData, Timer& timerSaveLog, modGlobas& globals,
                       ErrorReporter& errors)
    : decoder_(decoder),
      run_(run),
      logChart_(logChart),
      noData_(noData),
      controls_(controls),
      timerCheckComData_(timerCheckComData),
      timerSaveLog_(timerSaveLog),
      globals_(globals),
      errors_(errors) {
    timerCheckComData_.setOnTimeout(
        [this]() noexcept { errors_.guard("TimerCheckComData_Timer", [&] { TimerCheckComData_Timer(); }); });
    // On a failure the log chart keeps its points for the next tick.
    timerSaveLog_.setOnTimeout(
        [this]() noexcept { errors_.guard("TimerSaveLog_Timer", [&] { TimerSaveLog_Timer(); }); });
}

LogControl::~LogControl() {
    timerCheckComData_.setOnTimeout({});
    timerSaveLog_.setOnTimeout({});
}

void LogControl::TimerCheckComData_Timer() {
    const bool silent = !decoder_.DataSeen;
    // Cleared before the dialog, so bytes that come while it is open count
    // for the next interval.
    decoder_.DataSeen = false;
    if (!silent) return;
    timerSaveLog_.stop();
    decoder_.DisableDataCollection();
    showNoData();
}

void LogControl::showNoData() {
    // A link that comes back and goes silent again while the dialog is open
    // must not stack a second one.
    if (NoDataShowing) return;
    NoDataDialog::Choice choice = NoDataDialog::Choice::Ok;
    NoDataShowing = true;
    try {
        choice = noData_.showModal();
    } catch (...) {
        NoDataShowing = false;
        throw;
    }
    NoDataShowing = false;
    switch (choice) {
    case NoDataDialog::Choice::Setup:
        if (commands_.mnuComPort_Click) commands_.mnuComPort_Click();
        break;
    case NoDataDialog::Choice::Exit:
        if (commands_.mnuExit_Click) commands_.mnuExit_Click();
        break;
    case NoDataDialog::Choice::Ok:
        break;
    }
}

void LogControl::TimerSaveLog_Timer() {
    // Until this copy has registered it has no folder of its own (the one
    // named may be under recovery): the points wait in the log chart.
    if (globals_.InstanceNumber == 0 || globals_.LogPath.empty()) return;
    const int16_t result = logChart_.BackUpLog2(globals_.LogPath, globals_.InstanceNumber,
                                                timerSaveLog_.intervalMs(), globals_.DataFileSizeHours);
    if (result != 0) {
        errors_.HandelError(result);
        return;
    }
    controls_.setEnabled(Item::mnuSaveLog, true);
}

void LogControl::mnuLogOn_Click() {
    // An aligned link counts as flowing even in the moment after a watchdog
    // tick, or logging would stay without backups until the next alignment.
    run_.mnuLogOn_Click(decoder_.DataSeen || globals_.InSync);
}

void LogControl::mnuLogOff_Click() { run_.mnuLogOff_Click(); }

}  // namespace tavrin
