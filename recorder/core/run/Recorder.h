#pragma once

#include "core/run/BlockDecoder.h"
#include "core/run/Clock.h"
#include "core/run/ErrorLogFile.h"
#include "core/run/ErrorReporter.h"
#include "core/axis/AxisViewState.h"
#include "core/MainWindowControls.h"
#include "core/RecorderChart.h"
#include "core/run/RunControl.h"
#include "core/run/SerialPort.h"
#include "core/Timer.h"
#include "core/UiServices.h"
#include "core/modGlobas.h"

namespace tavrin {

// What the recorder's logic needs of the world; all owned by the caller.
struct RecorderServices {
    SerialPort& port;
    RecorderChart& liveChart;    // Chart(0)
    RecorderChart& logChart;     // Chart(5)
    MainWindowControls& controls;
    UiServices& ui;
    ErrorLogFile& errorLog;
    const Clock& clock;
    Timer& TimerProcess;
    Timer& TimerCheckComData;
    Timer& TimerSaveLog;
    Timer& TimerStopWaitForMethod;
};

// The main window's decoder, run control and error reporting wired together:
// the port's receive event and the decoder and method-wait ticks are routed
// here, and no exception leaves them.
class Recorder {
public:
    explicit Recorder(const RecorderServices& services);
    ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    modGlobas globals;
    AxisViewState axisView;
    ErrorReporter errors;
    RunControl run;
    BlockDecoder decoder;

    void HandelError(int16_t ErrorCode) { errors.HandelError(ErrorCode); }

private:
    void onComm() noexcept;
    void onTimerProcess() noexcept;
    void onTimerStopWaitForMethod() noexcept;

    RecorderServices services_;
};

}  // namespace tavrin
