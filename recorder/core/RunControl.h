#pragma once

#include <cstdint>

#include "core/ErrorReporter.h"
#include "core/AxisViewState.h"
#include "core/MainWindowControls.h"
#include "core/RecorderChart.h"
#include "core/Timer.h"
#include "core/modGlobas.h"

namespace tavrin {

// Run state of the live chart and of the backup-log chart: turns decoded
// points and queued run events into points, lettered labels and the axis
// that follows the run; the Record and Stop commands.
class RunControl {
public:
    // Queued label types; 0 is none.
    enum Label : int16_t {
        kNone = 0,
        kStart = 1,
        kEnd = 2,
        kEventMark = 3,
        kPause = 4,
        kHold = 5,
        kContinue = 6,
        kMark = 7,
    };
    // Log points per minute at the charts' sampling rate.
    static constexpr double kLogPointsPerMinute = 300.0;

    RunControl(RecorderChart& liveChart, RecorderChart& logChart, MainWindowControls& controls,
               Timer& timerStopWaitForMethod, Timer& timerSaveLog, modGlobas& globals,
               AxisViewState& axisView, ErrorReporter& errors);

    void AddLivePoint();
    void AddLogPoint();
    // Places one label on the live (Log false) or the log chart; LabelType
    // becomes 0.
    void DrawChartLabel(int16_t& LabelType, bool Log);
    void DrawNewLivePoints();
    void mnuStart_Click();
    void mnuStop_Click();
    void mnuLogOff_Click();
    void TimerStopWaitForMethod_Timer();

    // Queue a label for the next point. A queued end is never overwritten:
    // it moves one point later.
    void QueueLabel(int16_t label);
    void QueueLogLabel(int16_t label);
    // A run starts with its start label; an end or pause still queued from
    // before is stale and dropped.
    void QueueStart();
    void QueueLogStart();

    // Last values received.
    float UVValue = 0;
    float CondValue = 0;

    bool Recording = false;
    bool Running = false;
    bool Paused = false;
    bool StartArmed = false;
    bool EndPending = false;
    bool PausePending = false;
    bool WaitingForMethod = false;
    int16_t EventCount = 0;
    int16_t PendingLabel = kNone;
    bool LogRunning = false;
    bool LogPaused = false;
    bool LogEndPending = false;
    bool LogPausePending = false;
    int16_t LogEventCount = 0;
    int16_t LogPendingLabel = kNone;
    float LogTime = 0;
    int32_t LogPointCount = 0;

private:
    void addPoint(RecorderChart& chart);

    RecorderChart& liveChart_;
    RecorderChart& logChart_;
    MainWindowControls& controls_;
    Timer& timerStopWaitForMethod_;
    Timer& timerSaveLog_;
    modGlobas& globals_;
    AxisViewState& axisView_;
    ErrorReporter& errors_;
};

}  // namespace tavrin
