#pragma once

#include <functional>

#include "core/run/BackupLogChart.h"
#include "core/run/BlockDecoder.h"
#include "core/run/ErrorReporter.h"
#include "core/MainWindowControls.h"
#include "core/run/NoDataDialog.h"
#include "core/run/RunControl.h"
#include "core/Timer.h"
#include "core/modGlobas.h"

namespace tavrin {

// The link watchdog and the 20-second backup of the log chart. Log ON and
// Log OFF are the run control's; here they learn whether data flows. Routes
// the ticks of TimerCheckComData and TimerSaveLog itself; no exception
// leaves them.
class LogControl {
public:
    // What the no-data dialog's Setup and Exit buttons run.
    struct Commands {
        std::function<void()> mnuComPort_Click;
        std::function<void()> mnuExit_Click;
    };

    LogControl(BlockDecoder& decoder, RunControl& run, BackupLogChart& logChart,
               NoDataDialog& noData, MainWindowControls& controls, Timer& timerCheckComData,
               Timer& timerSaveLog, modGlobas& globals, ErrorReporter& errors);
    ~LogControl();
    LogControl(const LogControl&) = delete;
    LogControl& operator=(const LogControl&) = delete;

    void setCommands(Commands commands) { commands_ = std::move(commands); }

    void TimerCheckComData_Timer();
    void TimerSaveLog_Timer();
    void mnuLogOn_Click();
    void mnuLogOff_Click();

    // The no-data dialog is open.
    bool NoDataShowing = false;

private:
    void showNoData();

    BlockDecoder& decoder_;
    RunControl& run_;
    BackupLogChart& logChart_;
    NoDataDialog& noData_;
    MainWindowControls& controls_;
    Timer& timerCheckComData_;
    Timer& timerSaveLog_;
    modGlobas& globals_;
    ErrorReporter& errors_;
    Commands commands_;
};

}  // namespace tavrin
