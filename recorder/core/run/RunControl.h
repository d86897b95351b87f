#pragma once

#include <cstdint>
#include <string>

#include "core/axis/AxisViewState.h"
#include "core/run/Clock.h"
#include "core/run/ErrorReporter.h"
#include "core/MainWindowControls.h"
#include "core/RecorderChart.h"
#include "core/Timer.h"
#include "core/modGlobas.h"

namespace tavrin {

// Run state of the live chart and of the backup-log chart: takes the decoded
// blocks, turns them into points, lettered labels and method entries and
// moves the axis that follows the run; the Record, Stop, Log ON and Log OFF
// commands. The only writer of the run state.
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
               Timer& timerStopWaitForMethod, Timer& timerSaveLog, const Clock& clock,
               modGlobas& globals, AxisViewState& axisView, ErrorReporter& errors);

    // The decoded blocks. A one-byte handler given a value it does not know
    // returns false; only the status-blocks flag may have changed by then.
    void HandelUVData(uint8_t DataType, float Value);
    void HandelCondData(float Value);
    bool HandelEventData(uint8_t Value);
    bool HandelHoldData(uint8_t Value);
    bool HandelPenStatusData(uint8_t Value);
    bool HandelRunStatusData(uint8_t Value);
    void HandelMethodData(const std::string& Text);
    void UpdateLogRunFlags(uint8_t DataType);

    // The decoder found block alignment: a run that is not recorded is over,
    // and a log run goes on counting from the live count.
    void StreamAligned();
    // The instrument is gone: recording stops and a queued live label is
    // dropped.
    void LinkLost();

    void AddLivePoint();
    void AddLogPoint();
    // Places one label on the live (Log false) or the log chart; LabelType
    // becomes 0.
    void DrawChartLabel(int16_t& LabelType, bool Log);
    void DrawNewLivePoints();
    // Points went to the live chart since it last drew them: a run that
    // ended within a tick still has the tick's last points to draw.
    bool LiveDrawOwed() const { return liveDrawOwed_; }
    void mnuStart_Click();
    // Ends a pause and drops what is queued for the live chart.
    void mnuStop_Click();
    // dataFlowing: the link is aligned or a receive event came since the
    // last watchdog tick; then a new log run starts and the backup runs.
    void mnuLogOn_Click(bool dataFlowing);
    void mnuLogOff_Click();
    void TimerStopWaitForMethod_Timer();

    // Last values received.
    float UVValue() const { return uvValue_; }
    float CondValue() const { return condValue_; }

    bool Recording() const { return recording_; }
    bool Running() const { return running_; }
    bool Paused() const { return paused_; }
    bool StartArmed() const { return startArmed_; }
    bool EndPending() const { return endPending_; }
    bool PausePending() const { return pausePending_; }
    bool WaitingForMethod() const { return waitingForMethod_; }
    int16_t EventCount() const { return eventCount_; }
    int16_t PendingLabel() const { return pendingLabel_; }
    bool LogRunning() const { return logRunning_; }
    bool LogPaused() const { return logPaused_; }
    bool LogEndPending() const { return logEndPending_; }
    bool LogPausePending() const { return logPausePending_; }
    int16_t LogEventCount() const { return logEventCount_; }
    int16_t LogPendingLabel() const { return logPendingLabel_; }
    float LogTime() const { return logTime_; }
    int32_t LogPointCount() const { return logPointCount_; }

private:
    void addPoint(RecorderChart& chart);
    // Queue a label for the next point. A queued end is never overwritten:
    // it moves one point later. Nor is a queued start: the label waits until
    // the start has landed.
    void queueLabel(int16_t label);
    void queueLogLabel(int16_t label);
    // A run starts with its start label; an end or pause still queued from
    // before is stale and dropped.
    void queueStart();
    void queueLogStart();
    // The start of an 'E' 4 that was armed.
    void startArmedRun();
    // Recording is on, its start still to land with the next point.
    void beginRecording();

    RecorderChart& liveChart_;
    RecorderChart& logChart_;
    MainWindowControls& controls_;
    Timer& timerStopWaitForMethod_;
    Timer& timerSaveLog_;
    const Clock& clock_;
    modGlobas& globals_;
    AxisViewState& axisView_;
    ErrorReporter& errors_;

    float uvValue_ = 0;
    float condValue_ = 0;
    bool recording_ = false;
    bool running_ = false;
    bool paused_ = false;
    bool startArmed_ = false;
    bool endPending_ = false;
    bool pausePending_ = false;
    bool waitingForMethod_ = false;
    int16_t eventCount_ = 0;
    int16_t pendingLabel_ = kNone;
    int16_t labelAfterStart_ = kNone;
    bool liveDrawOwed_ = false;
    bool logRunning_ = false;
    bool logPaused_ = false;
    bool logEndPending_ = false;
    bool logPausePending_ = false;
    int16_t logEventCount_ = 0;
    int16_t logPendingLabel_ = kNone;
    int16_t logLabelAfterStart_ = kNone;
    float logTime_ = 0;
    int32_t logPointCount_ = 0;
};

}  // namespace tavrin
