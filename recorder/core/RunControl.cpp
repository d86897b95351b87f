#include "core/RunControl.h"

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
                       Timer& timerSaveLog, modGlobas& globals, AxisViewState& axisView,
                       ErrorReporter& errors)
    : liveChart_(liveChart),
      logChart_(logChart),
      controls_(controls),
      timerStopWaitForMethod_(timerStopWaitForMethod),
      timerSaveLog_(timerSaveLog),
      globals_(globals),
      axisView_(axisView),
      errors_(errors) {}

void RunControl::addPoint(RecorderChart& chart) {
    if (chart.AddPoints(UVValue, CondValue) != 0) errors_.HandelError(code::kOutOfMemory);
}

void RunControl::AddLivePoint() {
    if (Recording && !Paused) {
        addPoint(liveChart_);
        switch (PendingLabel) {
        case kStart:
            mnuStart_Click();
            Running = true;
            Paused = false;
            break;
        case kEnd:
            PausePending = false;
            EndPending = false;
            WaitingForMethod = true;
            timerStopWaitForMethod_.start();
            mnuStop_Click();
            Running = false;
            Paused = false;
            EventCount = 0;
            break;
        case kEventMark:
            countUp(EventCount);
            break;
        case kPause:
            PausePending = false;
            if (Running)
                Paused = true;
            else
                PendingLabel = kNone;
            break;
        default:
            break;
        }
        DrawChartLabel(PendingLabel, false);
        if (EndPending) {
            PausePending = false;
            EndPending = false;
            PendingLabel = kEnd;
        }
        if (PausePending) {
            PausePending = false;
            PendingLabel = kPause;
        }
        return;
    }
    switch (PendingLabel) {
    case kStart:
        Running = true;
        break;
    case kEnd:
        Running = false;
        if (Paused) {
            DrawChartLabel(PendingLabel, false);
            Paused = false;
        }
        break;
    case kEventMark:
        if (Paused) {
            countUp(EventCount);
            DrawChartLabel(PendingLabel, false);
        }
        break;
    default:
        break;
    }
}

void RunControl::AddLogPoint() {
    if (!globals_.LogOn) {
        if (LogPendingLabel == kStart) LogRunning = true;
        if (LogPendingLabel == kEnd) LogRunning = false;
        return;
    }
    // A paused log that is told the run ended goes on logging, or it would
    // drop every point up to the next run.
    if (LogPaused && (LogPendingLabel == kEnd || LogEndPending)) LogPaused = false;
    if (LogPaused) return;

    addPoint(logChart_);
    switch (LogPendingLabel) {
    case kStart:
        LogRunning = true;
        LogPaused = false;
        break;
    case kEnd:
        LogPausePending = false;
        LogEndPending = false;
        LogRunning = false;
        LogPaused = false;
        LogEventCount = 0;
        break;
    case kEventMark:
        countUp(LogEventCount);
        break;
    case kPause:
        LogPausePending = false;
        if (LogRunning)
            LogPaused = true;
        else
            LogPendingLabel = kNone;
        break;
    default:
        break;
    }
    DrawChartLabel(LogPendingLabel, true);
    if (LogEndPending) {
        LogPausePending = false;
        LogEndPending = false;
        LogPendingLabel = kEnd;
    }
    if (LogPausePending) {
        LogPausePending = false;
        LogPendingLabel = kPause;
    }
    LogTime = static_cast<float>(static_cast<double>(LogPointCount) / kLogPointsPerMinute);
    if (LogPointCount < std::numeric_limits<int32_t>::max()) ++LogPointCount;
}

void RunControl::DrawChartLabel(int16_t& LabelType, bool Log) {
    if (LabelType <= kNone || LabelType > kMark) {
        LabelType = kNone;
        return;
    }
    const LabelStyle& style = kLabelStyles[LabelType];
    const std::string text =
        style.text != nullptr ? std::string(style.text) : std::to_string(Log ? LogEventCount : EventCount);
    RecorderChart& chart = Log ? logChart_ : liveChart_;
    const float x = Log ? LogTime : liveChart_.GetDuration();
    if (chart.AddLabel(text, style.color, style.offset, x) != 0)
        errors_.HandelError(code::kOutOfMemory);
    LabelType = kNone;
}

void RunControl::DrawNewLivePoints() {
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
    Recording = true;
    EventCount = 0;
    PausePending = false;
    controls_.showPressed(Item::cmdRecord);
    if (globals_.CurrentChart == 0) {
        for (const Item item : kBlockedWhileRecording) controls_.setEnabled(item, false);
        controls_.setLiveScrollVisible(false);
    }
    controls_.setEnabled(Item::mnuComPort, false);
    controls_.setEnabled(Item::mnuStop, true);
    controls_.setEnabled(Item::mnuStart, false);
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
    Recording = false;
    controls_.showPressed(Item::cmdStop);
    if (globals_.CurrentChart == 0) {
        for (const Item item : kBlockedWhileRecording) controls_.setEnabled(item, true);
        if (!axisView_.WholeRunAxis[0]) controls_.setLiveScrollVisible(true);
    }
    controls_.setEnabled(Item::mnuComPort, true);
    controls_.setEnabled(Item::mnuStop, false);
    controls_.setEnabled(Item::mnuStart, true);
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
    WaitingForMethod = false;
}

void RunControl::QueueLabel(int16_t label) {
    if (PendingLabel == kEnd && label != kEnd) EndPending = true;
    PendingLabel = label;
}

void RunControl::QueueLogLabel(int16_t label) {
    if (LogPendingLabel == kEnd && label != kEnd) LogEndPending = true;
    LogPendingLabel = label;
}

void RunControl::QueueStart() {
    EndPending = false;
    PausePending = false;
    PendingLabel = kStart;
}

void RunControl::QueueLogStart() {
    LogEndPending = false;
    LogPausePending = false;
    LogPendingLabel = kStart;
}

}  // namespace tavrin
