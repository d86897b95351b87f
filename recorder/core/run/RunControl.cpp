#include "core/run/RunControl.h"

#include <limits>
#include <string>

#include "core/ErrorCodes.h"
#include "common/Rounding.h"
#include "common/RuntimeError.h"

namespace tavrin {

namespace {

constexpr int32_t kCyan = 0xFFFF00;
constexpr int32_t kGreen = 0xFF00;

struct LabelStyle {
    const char* text;  // null: the event number
    int32_t color;
    int16_t offset;
};

// Indexed by label type 1..7.
constexpr LabelStyle kLabelStyles[] = {
    {nullptr, 0, 0},      {"S", kCyan, 50}, {"E", kCyan, 40}, {nullptr, kGreen, 10},
    {"P", kCyan, 30},     {"H", kCyan, 20}, {"C", kCyan, 20}, {"M", kCyan, 60},
};

// An event count is an Integer: past its range it stays where it is.
void countUp(int16_t& count) {
    if (count < std::numeric_limits<int16_t>::max()) ++count;
}

using Item = MainWindowControls::Item;

// The items that must not change the live chart while it records.
constexpr Item kBlockedWhileRecording[] = {
    Item::mnuSaveData, Item::mnuSaveSlectedData, Item::mnuSaveDataAs, Item::mnuClear,
    Item::mnuPrint,    Item::mnuPrintSetup,      Item::mnuExport,     Item::cmdPrint,
    Item::cmdSave,     Item::cmdClear,
};

}  // namespace

RunControl::RunControl(RecorderChart& liveChart, RecorderChart& logChart,
                       MainWindowControls& controls, Timer& timerStopWaitForMethod,
                       Timer& timerSaveLog, const Clock& clock, modGlobas& globals,
                       AxisViewState& axisView, ErrorReporter& errors)
    : liveChart_(liveChart),
      logChart_(logChart),
      controls_(controls),
      timerStopWaitForMethod_(timerStopWaitForMethod),
      timerSaveLog_(timerSaveLog),
      clock_(clock),
      globals_(globals),
      axisView_(axisView),
      errors_(errors) {}

void RunControl::startArmedRun() {
    beginRecording();
    eventCount_ = 0;
    logEventCount_ = 0;
    queueStart();
    queueLogStart();
}

void RunControl::HandelCondData(float Value) {
    condValue_ = Value;
    AddLivePoint();
    AddLogPoint();
}

void RunControl::HandelUVData(uint8_t DataType, float Value) {
    if (startArmed_) {
        startArmed_ = false;
        if (DataType == 'V') startArmedRun();
    }
    if (!globals_.StatusBlocksSeen) {
        if (DataType == 'U' && running_ && !paused_ && recording_) pausePending_ = true;
        if (DataType == 'V' && paused_) paused_ = false;
    }
    UpdateLogRunFlags(DataType);
    uvValue_ = Value;
}

void RunControl::UpdateLogRunFlags(uint8_t DataType) {
    if (globals_.StatusBlocksSeen) return;
    if (DataType == 'U' && logRunning_ && !logPaused_) logPausePending_ = true;
    if (DataType == 'V' && logPaused_) logPaused_ = false;
}

bool RunControl::HandelEventData(uint8_t Value) {
    switch (Value) {
    case 2:
        if (recording_ || paused_) queueLabel(kEventMark);
        queueLogLabel(kEventMark);
        return true;
    case 3:
        running_ = false;
        if (recording_) endPending_ = true;
        pausePending_ = false;
        paused_ = false;
        logEndPending_ = true;
        logPausePending_ = false;
        return true;
    case 4:
        if (startArmed_) {
            startArmed_ = false;
            startArmedRun();
        } else {
            startArmed_ = true;
        }
        return true;
    case 8:
        if (recording_) queueLabel(kMark);
        queueLogLabel(kMark);
        return true;
    default:
        return false;
    }
}

bool RunControl::HandelHoldData(uint8_t Value) {
    switch (Value) {
    case 1:
        if (recording_) queueLabel(kHold);
        queueLogLabel(kHold);
        return true;
    case 2:
        if (recording_) queueLabel(kContinue);
        queueLogLabel(kContinue);
        return true;
    default:
        return false;
    }
}

void RunControl::HandelMethodData(const std::string& Text) {
    const std::string entry = clock_.nowText() + "\r\n" + Text + "\r\n";
    if (recording_ || waitingForMethod_ || paused_) {
        if (liveChart_.AddMethod(entry, liveChart_.GetDuration()) != 0)
            errors_.HandelError(code::kOutOfMemory);
        TimerStopWaitForMethod_Timer();
    }
    if (globals_.LogOn) {
        if (logChart_.AddMethod(entry, logTime_) != 0) errors_.HandelError(code::kOutOfMemory);
    }
}

bool RunControl::HandelPenStatusData(uint8_t Value) {
    globals_.StatusBlocksSeen = true;
    switch (Value) {
    case 0:
        mnuStop_Click();
        return true;
    case 1:
        mnuStart_Click();
        return true;
    default:
        return false;
    }
}

bool RunControl::HandelRunStatusData(uint8_t Value) {
    globals_.StatusBlocksSeen = true;
    switch (Value) {
    case 0:
        running_ = false;
        if (recording_ || paused_) pendingLabel_ = kEnd;
        logPendingLabel_ = kEnd;
        return true;
    case 1:
        if (running_) {
            if (paused_)
                paused_ = false;
            else if (recording_)
                queueLabel(kContinue);
        } else if (!paused_) {
            beginRecording();
            eventCount_ = 0;
            queueStart();
        } else {
            paused_ = false;
        }
        if (logRunning_ && !logPaused_) {
            queueLogLabel(kContinue);
        } else if (!logRunning_ && !logPaused_) {
            logEventCount_ = 0;
            queueLogStart();
        } else {
            logPaused_ = false;
        }
        return true;
    case 2:
        if (recording_) queueLabel(kPause);
        queueLogLabel(kPause);
        return true;
    case 3:
        if (recording_) queueLabel(kHold);
        queueLogLabel(kHold);
        return true;
    default:
        return false;
    }
}

void RunControl::StreamAligned() {
    // Alignment lost in the middle of a recording does not end its run: the
    // next 'R' 1 would start it again with a second start label.
    if (!recording_) running_ = false;
    if (globals_.LogOn) logEventCount_ = eventCount_;
}

void RunControl::LinkLost() {
    if (recording_) mnuStop_Click();
    pendingLabel_ = kNone;
    labelAfterStart_ = kNone;
}

void RunControl::addPoint(RecorderChart& chart) {
    if (chart.AddPoints(uvValue_, condValue_) != 0) errors_.HandelError(code::kOutOfMemory);
}

void RunControl::AddLivePoint() {
    if (recording_ && !paused_) {
        // The label is the point's before the point goes in: a point that
        // fails stops recording, which empties the queue, and still gets it.
        int16_t label = pendingLabel_;
        pendingLabel_ = kNone;
        const int16_t afterStart = labelAfterStart_;
        labelAfterStart_ = kNone;
        addPoint(liveChart_);
        liveDrawOwed_ = true;
        switch (label) {
        case kStart:
            mnuStart_Click();
            running_ = true;
            paused_ = false;
            break;
        case kEnd:
            pausePending_ = false;
            endPending_ = false;
            waitingForMethod_ = true;
            timerStopWaitForMethod_.start();
            mnuStop_Click();
            running_ = false;
            paused_ = false;
            eventCount_ = 0;
            break;
        case kEventMark:
            countUp(eventCount_);
            break;
        case kPause:
            pausePending_ = false;
            // No pause outlives a recording that the failing point stopped.
            if (running_)
                paused_ = recording_;
            else
                label = kNone;
            break;
        default:
            break;
        }
        const bool started = label == kStart && recording_;
        DrawChartLabel(label, false);
        // What came while the start waited lands with the next point; an end
        // or pause queued meanwhile moves one point later still.
        if (started) pendingLabel_ = afterStart;
        if (endPending_ && pendingLabel_ == kNone) {
            pausePending_ = false;
            endPending_ = false;
            pendingLabel_ = kEnd;
        }
        if (pausePending_ && pendingLabel_ == kNone) {
            pausePending_ = false;
            pendingLabel_ = kPause;
        }
        return;
    }
    switch (pendingLabel_) {
    case kStart:
        running_ = true;
        break;
    case kEnd:
        running_ = false;
        if (paused_) {
            DrawChartLabel(pendingLabel_, false);
            paused_ = false;
        }
        break;
    case kEventMark:
        if (paused_) {
            countUp(eventCount_);
            DrawChartLabel(pendingLabel_, false);
        }
        break;
    default:
        break;
    }
}

void RunControl::AddLogPoint() {
    if (!globals_.LogOn) {
        if (logPendingLabel_ == kStart) logRunning_ = true;
        // The pause ends with its run, or nothing would end it.
        if (logPendingLabel_ == kEnd) logRunning_ = logPaused_ = false;
        return;
    }
    // A paused log that is told the run ended goes on logging, or it would
    // drop every point up to the next run.
    if (logPaused_ && (logPendingLabel_ == kEnd || logEndPending_)) logPaused_ = false;
    if (logPaused_) return;

    addPoint(logChart_);
    const int16_t afterStart = logLabelAfterStart_;
    logLabelAfterStart_ = kNone;
    const bool started = logPendingLabel_ == kStart;
    switch (logPendingLabel_) {
    case kStart:
        logRunning_ = true;
        logPaused_ = false;
        break;
    case kEnd:
        logPausePending_ = false;
        logEndPending_ = false;
        logRunning_ = false;
        logPaused_ = false;
        logEventCount_ = 0;
        break;
    case kEventMark:
        countUp(logEventCount_);
        break;
    case kPause:
        logPausePending_ = false;
        if (logRunning_)
            logPaused_ = true;
        else
            logPendingLabel_ = kNone;
        break;
    default:
        break;
    }
    DrawChartLabel(logPendingLabel_, true);
    if (started) logPendingLabel_ = afterStart;
    if (logEndPending_ && logPendingLabel_ == kNone) {
        logPausePending_ = false;
        logEndPending_ = false;
        logPendingLabel_ = kEnd;
    }
    if (logPausePending_ && logPendingLabel_ == kNone) {
        logPausePending_ = false;
        logPendingLabel_ = kPause;
    }
    logTime_ = static_cast<float>(static_cast<double>(logPointCount_) / kLogPointsPerMinute);
    if (logPointCount_ < std::numeric_limits<int32_t>::max()) ++logPointCount_;
}

void RunControl::DrawChartLabel(int16_t& LabelType, bool Log) {
    if (LabelType <= kNone || LabelType > kMark) {
        LabelType = kNone;
        return;
    }
    const LabelStyle& style = kLabelStyles[LabelType];
    const std::string text =
        style.text != nullptr ? std::string(style.text) : std::to_string(Log ? logEventCount_ : eventCount_);
    RecorderChart& chart = Log ? logChart_ : liveChart_;
    const float x = Log ? logTime_ : liveChart_.GetDuration();
    if (chart.AddLabel(text, style.color, style.offset, x) != 0)
        errors_.HandelError(code::kOutOfMemory);
    LabelType = kNone;
}

void RunControl::DrawNewLivePoints() {
    liveDrawOwed_ = false;
    try {
        if (!liveChart_.LastPointInScale()) {
            const float duration = liveChart_.GetDuration();
            if (axisView_.WholeRunAxis[0]) {
                liveChart_.setXEnd(static_cast<float>(static_cast<double>(duration) * 1.25));
            } else {
                liveChart_.setXEnd(
                    static_cast<float>(static_cast<double>(duration) + axisView_.ChartWindow[0] / 10));
                liveChart_.setXStart(static_cast<float>(
                    static_cast<double>(liveChart_.XEnd()) - axisView_.ChartWindow[0]));
            }
            axisView_.ChartView[0].XStart = liveChart_.XStart();
            liveChart_.Redraw();
        }
    } catch (const pelomar::RuntimeError&) {
        // The axis stays where it was; the new points are still drawn.
    }
    liveChart_.DrawNewPoints();
}

void RunControl::mnuStart_Click() {
    globals_.Saved[0] = false;
    recording_ = true;
    eventCount_ = 0;
    pausePending_ = false;
    controls_.showPressed(Item::cmdRecord);
    if (globals_.CurrentChart == 0) {
        for (const Item item : kBlockedWhileRecording) controls_.setEnabled(item, false);
        controls_.setLiveScrollVisible(false);
    }
    controls_.setEnabled(Item::mnuComPort, false);
    controls_.setEnabled(Item::mnuStop, true);
    controls_.setEnabled(Item::mnuStart, false);
    // A second Record would restart the run's count in the middle of it.
    controls_.setEnabled(Item::cmdRecord, false);
    controls_.focusChart(globals_.CurrentChart);
}

void RunControl::mnuStop_Click() {
    try {
        const int16_t max = pelomar::core::toInteger(
            static_cast<double>(liveChart_.GetDuration()) + 0.5 - axisView_.ChartWindow[0]);
        controls_.setLiveScrollMax(max);
        controls_.setLiveScrollValue(max);
    } catch (const pelomar::RuntimeError&) {
        // A run beyond the scroll bar's range keeps the bar as it was.
    }
    recording_ = false;
    // What was queued for this recording lands neither on the stopped chart
    // nor on the next recording. A start still queued says the instrument's
    // run has begun, as the next point would have.
    if (pendingLabel_ == kStart) running_ = true;
    pendingLabel_ = kNone;
    labelAfterStart_ = kNone;
    endPending_ = false;
    pausePending_ = false;
    paused_ = false;
    controls_.showPressed(Item::cmdStop);
    if (globals_.CurrentChart == 0) {
        for (const Item item : kBlockedWhileRecording) controls_.setEnabled(item, true);
        if (!axisView_.WholeRunAxis[0]) controls_.setLiveScrollVisible(true);
    }
    controls_.setEnabled(Item::mnuComPort, true);
    controls_.setEnabled(Item::mnuStop, false);
    controls_.setEnabled(Item::mnuStart, true);
    controls_.setEnabled(Item::cmdRecord, true);
}

void RunControl::mnuLogOn_Click(bool dataFlowing) {
    controls_.showPressed(Item::cmdLogOn);
    controls_.setEnabled(Item::mnuLogOn, false);
    controls_.setEnabled(Item::mnuLogOff, true);
    globals_.LogOn = true;
    if (dataFlowing) {
        // An end dropped with the queue still ends the log's run and its
        // pause, or the log would wait paused for a run that is over.
        if (logPendingLabel_ == kEnd || logEndPending_) logRunning_ = logPaused_ = false;
        logEventCount_ = eventCount_;
        logPendingLabel_ = kNone;
        logLabelAfterStart_ = kNone;
        logEndPending_ = false;
        logPausePending_ = false;
        timerSaveLog_.start();
    }
}

void RunControl::mnuLogOff_Click() {
    controls_.showPressed(Item::cmdLogOff);
    controls_.setEnabled(Item::mnuLogOn, true);
    controls_.setEnabled(Item::mnuLogOff, false);
    globals_.LogOn = false;
    timerSaveLog_.stop();
}

void RunControl::TimerStopWaitForMethod_Timer() {
    timerStopWaitForMethod_.stop();
    waitingForMethod_ = false;
}

void RunControl::queueLabel(int16_t label) {
    if (pendingLabel_ == kStart && label != kStart) {
        labelAfterStart_ = label;
        return;
    }
    if (pendingLabel_ == kEnd && label != kEnd) endPending_ = true;
    pendingLabel_ = label;
}

void RunControl::queueLogLabel(int16_t label) {
    // With logging off a start never lands; the labels after it only
    // replace each other until Log ON clears them.
    if (logPendingLabel_ == kStart && label != kStart && globals_.LogOn) {
        logLabelAfterStart_ = label;
        return;
    }
    if (logPendingLabel_ == kEnd && label != kEnd) logEndPending_ = true;
    logPendingLabel_ = label;
}

void RunControl::queueStart() {
    endPending_ = false;
    pausePending_ = false;
    pendingLabel_ = kStart;
    labelAfterStart_ = kNone;
}

void RunControl::queueLogStart() {
    logEndPending_ = false;
    logPausePending_ = false;
    logPendingLabel_ = kStart;
    logLabelAfterStart_ = kNone;
}

void RunControl::beginRecording() {
    recording_ = true;
    // From here a second Record would restart the run's count, also before
    // the start lands with the first point.
    controls_.setEnabled(Item::mnuStart, false);
    controls_.setEnabled(Item::cmdRecord, false);
}

}  // namespace tavrin
