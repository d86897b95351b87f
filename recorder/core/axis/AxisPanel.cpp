#include "core/axis/AxisPanel.h"

#include <algorithm>

#include "common/Guard.h"
#include "common/NumberFormat.h"
#include "common/Rounding.h"
#include "core/SettingText.h"

namespace tavrin {

using pelomar::core::formatFixed;
using pelomar::core::roundHalfEven;

namespace {

constexpr const char* kTitle = "Tavrin MS";

// The full scales offered, in list order.
constexpr double kUvScales[] = {2, 1, 0.5, 0.2, 0.1, 0.05, 0.02, 0.01, 0.005, 0.002, 0.001};
constexpr double kCondScales[] = {500, 200, 100, 50, 20, 10, 5, 2, 1, 0.5};

// The bar's Max and steps are whole numbers of the platform's Integer range.
constexpr double kScrollLimit = 32767;

// What Set accepts on one Y axis.
struct AxisLimits {
    int decimals;
    double minSpan;
    double fsLow, fsHigh;
    double minLow, minHigh;
    const char* message;
};

constexpr AxisLimits kLimits[] = {
    {3, 0.001, 0.001, 2.0, -2.0, 1.999,
     "The UV Axis Full Scale (AUFS) entry must be at least "
     "0.001 AU greater than the UV Axis Minimum entry."},
    {1, 0.5, 0.5, 500.0, 0.0, 499.5,
     "The Conductivity Axis Full Scale (mSFS) entry must be at least "
     "0.5 mS/cm greater than the Conductivity Axis Minimum entry."},
};

// A statement whose failure is skipped, the next one running.
// A statement that goes on after a run-time error.
template <typename F>
void skip(F&& statement) {
    pelomar::skipRuntimeError(statement);
}

AxisPanelControls::Entry fullScaleEntry(int16_t index) {
    return index == 0 ? AxisPanelControls::Entry::cmbYAxis0 : AxisPanelControls::Entry::cmbYAxis1;
}
AxisPanelControls::Entry minimumEntry(int16_t index) {
    return index == 0 ? AxisPanelControls::Entry::txtYAxisMin0 : AxisPanelControls::Entry::txtYAxisMin1;
}
AxisPanelControls::Control setButton(int16_t index) {
    return index == 0 ? AxisPanelControls::Control::cmdSet0 : AxisPanelControls::Control::cmdSet1;
}

double clampScroll(double value) { return std::min(value, kScrollLimit); }

}  // namespace

AxisPanel::AxisPanel(const Services& services)
    : controls_(services.controls),
      charts_(services.charts),
      view_(services.view),
      globals_(services.globals),
      ui_(services.ui),
      recording_(services.recording),
      handelError_(services.handelError) {}

int AxisPanel::slot() const { return std::clamp<int>(globals_.CurrentChart, 0, AxisViewState::kSlots - 1); }
AxisChart& AxisPanel::chart() const { return *charts_[static_cast<size_t>(slot())]; }
ChartViewRec& AxisPanel::record() const { return view_.ChartView[static_cast<size_t>(slot())]; }
std::string AxisPanel::uv(double value) const { return formatFixed(value, 3, globals_.DecimalSeparator); }
std::string AxisPanel::cond(double value) const { return formatFixed(value, 1, globals_.DecimalSeparator); }

double AxisPanel::entryNumber(Entry entry) const {
    double number = 0;
    pelomar::skipRuntimeError([&] { number = textToDouble(controls_.text(entry), globals_.DecimalSeparator); });
    return number;
}

void AxisPanel::InitSlot(int s) {
    const auto i = static_cast<size_t>(s);
    view_.ChartWindow[i] = 10.0;
    skip([&] { controls_.setScrollChanges(s, 1, 10); });
    skip([&] { controls_.setScrollMax(s, 0); });
    view_.WholeRunAxis[i] = true;
    view_.ChartZoomed[i] = false;
    const AxisChart& c = *charts_[i];
    view_.ChartView[i] = {c.Y1Start(), c.Y1End(), c.Y2Start(), c.Y2End(), c.XStart(),
                          static_cast<float>(view_.ChartWindow[i])};
}

void AxisPanel::GetZoomedTime(float& ZoomedTimeFrom, float& ZoomedTimeTo) const {
    ZoomedTimeFrom = record().XStart;
    ZoomedTimeTo = ZoomedTimeFrom + record().Window;
}

void AxisPanel::FillYAxisLists() {
    controls_.clearList(0);
    controls_.clearList(1);
    for (int i = 0; i < 10; ++i) {
        controls_.addListItem(0, uv(kUvScales[i]));
        controls_.addListItem(1, cond(kCondScales[i]));
    }
    controls_.addListItem(0, uv(kUvScales[10]));
    controls_.selectListItem(0, 0);
    controls_.selectListItem(1, 0);
    controls_.setText(Entry::txtChartTime, cond(10.0));
}

void AxisPanel::ShowAxisValues() {
    const ChartViewRec r = record();
    const char sep = globals_.DecimalSeparator;
    controls_.setText(Entry::cmbYAxis0, formatFixed(r.Y1End, 3, sep));
    controls_.setText(Entry::cmbYAxis1, formatFixed(r.Y2End, 1, sep));
    controls_.setText(Entry::txtYAxisMin0, formatFixed(r.Y1Start, 3, sep));
    controls_.setText(Entry::txtYAxisMin1, formatFixed(r.Y2Start, 1, sep));
    controls_.setText(Entry::txtChartTime, formatFixed(r.Window, 1, sep));
}

bool AxisPanel::AxisEntryChanged(int16_t Which) const {
    const ChartViewRec& r = record();
    const char sep = globals_.DecimalSeparator;
    switch (Which) {
    case 0: return controls_.text(Entry::cmbYAxis0) != formatFixed(r.Y1End, 3, sep);
    case 1: return controls_.text(Entry::cmbYAxis1) != formatFixed(r.Y2End, 1, sep);
    case 2: return controls_.text(Entry::txtYAxisMin0) != formatFixed(r.Y1Start, 3, sep);
    case 3: return controls_.text(Entry::txtYAxisMin1) != formatFixed(r.Y2Start, 1, sep);
    default: return false;
    }
}

void AxisPanel::UpdateScrollBar(int32_t& Value) {
    const int s = slot();
    const ChartViewRec& r = record();
    float duration = 0;
    skip([&] { duration = chart().GetDuration(); });
    const double max = std::max(0.0, roundHalfEven(static_cast<double>(duration) + 0.5 - r.Window));
    skip([&] { controls_.setScrollMax(s, static_cast<int32_t>(clampScroll(max))); });
    skip([&] { controls_.setScrollValue(s, Value); });
    double large = roundHalfEven(r.Window);
    double small = 1;
    if (large >= 1)
        small = std::max(1.0, roundHalfEven(r.Window / 10.0f));
    else
        large = 1;
    skip([&] {
        controls_.setScrollChanges(s, static_cast<int32_t>(clampScroll(small)),
                                   static_cast<int32_t>(clampScroll(large)));
    });
}

void AxisPanel::SetWholeRunTimeAxis() {
    const int s = slot();
    controls_.setEnabled(Control::cmdSetTime, false);
    chart().setXStart(0);
    record().XStart = 0;
    const float duration = chart().GetDuration();
    chart().setXEnd(duration > 0 ? static_cast<float>(roundHalfEven(static_cast<double>(duration) + 0.5)) : 10.0f);
    chart().Redraw();
    controls_.setScrollEnabled(s, false);
    controls_.setEnabled(Control::txtChartTime, false);
    view_.WholeRunAxis[static_cast<size_t>(s)] = true;
}

void AxisPanel::EnableChartScroll() {
    const int s = slot();
    controls_.setScrollEnabled(s, s != 0 || !recording_());
}

void AxisPanel::cmbYAxis_Change(int16_t Index) {
    if (Index == 0 || Index == 1) controls_.setEnabled(setButton(Index), AxisEntryChanged(Index));
}

void AxisPanel::txtYAxisMin_Change(int16_t Index) {
    if (Index == 0 || Index == 1)
        controls_.setEnabled(setButton(Index), AxisEntryChanged(static_cast<int16_t>(Index + 2)));
}

void AxisPanel::txtChartTime_Change() {
    controls_.setEnabled(Control::cmdSetTime, controls_.text(Entry::txtChartTime) !=
                                                  formatFixed(record().Window, 1, globals_.DecimalSeparator));
}

void AxisPanel::cmbYAxis_Click(int16_t Index) {
    if (Index == 0)
        controls_.setText(Entry::txtYAxisMin0, uv(entryNumber(Entry::cmbYAxis0) * -0.1));
    else if (Index == 1)
        controls_.setText(Entry::txtYAxisMin1, "0.00");
    else
        return;
    cmdSet_Click(Index);
}

void AxisPanel::cmbYAxis_KeyPress(int16_t Index, int16_t& KeyAscii) {
    if (Index != 0 && Index != 1) return;
    if (KeyAscii == kKeyEnter) {
        KeyAscii = 0;
        cmdSet_Click(Index);
        controls_.selectAll(fullScaleEntry(Index));
        return;
    }
    KeyAscii = FilterNumericKey(KeyAscii, controls_.entryState(fullScaleEntry(Index)), globals_.DecimalSeparator,
                                true, false, ui_);
}

void AxisPanel::txtYAxisMin_KeyPress(int16_t Index, int16_t& KeyAscii) {
    if (Index != 0 && Index != 1) return;
    if (KeyAscii == kKeyEnter) {
        KeyAscii = 0;
        cmdSet_Click(Index);
        txtYAxisMin_GotFocus(Index);
        return;
    }
    KeyAscii = FilterNumericKey(KeyAscii, controls_.entryState(minimumEntry(Index)), globals_.DecimalSeparator,
                                true, Index == 0, ui_);
}

void AxisPanel::txtChartTime_KeyPress(int16_t& KeyAscii) {
    if (KeyAscii == kKeyEnter) {
        KeyAscii = 0;
        cmdSetTime_Click();
        txtChartTime_GotFocus();
        return;
    }
    KeyAscii = FilterNumericKey(KeyAscii, controls_.entryState(Entry::txtChartTime), globals_.DecimalSeparator,
                                true, false, ui_);
}

void AxisPanel::txtYAxisMin_GotFocus(int16_t Index) {
    if (Index == 0 || Index == 1) controls_.selectAll(minimumEntry(Index));
}

void AxisPanel::txtChartTime_GotFocus() { controls_.selectAll(Entry::txtChartTime); }

void AxisPanel::cmdSet_Click(int16_t Index) {
    if (Index != 0 && Index != 1) return;
    const AxisLimits& limits = kLimits[Index];
    const Entry fsEntry = fullScaleEntry(Index);
    const Entry minEntry = minimumEntry(Index);
    const auto show = [&](double value) { return formatFixed(value, limits.decimals, globals_.DecimalSeparator); };
    const auto spanTooSmall = [&](double fs, double min) { return fs - min < limits.minSpan - 0.000000001; };
    const auto refuse = [&] {
        skip([&] { ui_.messageBox(limits.message, kTitle, UiServices::Buttons::Ok, UiServices::Icon::Exclamation); });
        const ChartViewRec& r = record();
        const char sep = globals_.DecimalSeparator;
        skip([&] { controls_.setText(fsEntry, formatFixed(Index == 0 ? r.Y1End : r.Y2End, limits.decimals, sep)); });
        skip([&] { controls_.setText(minEntry, formatFixed(Index == 0 ? r.Y1Start : r.Y2Start, limits.decimals, sep)); });
    };

    double fs = entryNumber(fsEntry);
    double min = entryNumber(minEntry);
    if (spanTooSmall(fs, min)) {
        refuse();
        return;
    }
    if (fs < limits.fsLow) {
        skip([&] { ui_.beep(); });
        skip([&] { controls_.setText(fsEntry, show(limits.fsLow)); });
        fs = limits.fsLow;
    } else if (fs > limits.fsHigh) {
        skip([&] { ui_.beep(); });
        skip([&] { controls_.setText(fsEntry, show(limits.fsHigh)); });
        fs = limits.fsHigh;
    }
    if (min < limits.minLow) {
        skip([&] { ui_.beep(); });
        skip([&] { controls_.setText(minEntry, show(limits.minLow)); });
        min = limits.minLow;
    } else if (min > limits.minHigh) {
        skip([&] { ui_.beep(); });
        skip([&] { controls_.setText(minEntry, show(limits.minHigh)); });
        min = limits.minHigh;
    }
    skip([&] { controls_.setText(fsEntry, show(fs)); });
    skip([&] { controls_.setText(minEntry, show(min)); });
    fs = entryNumber(fsEntry);
    min = entryNumber(minEntry);
    // Rounding to the shown decimals can close a span that passed above
    // (0.0025 over 0.0015 both show as 0.002): an empty axis is refused too.
    if (spanTooSmall(fs, min)) {
        refuse();
        return;
    }

    ChartViewRec& r = record();
    if (Index == 0) {
        skip([&] { chart().setY1End(static_cast<float>(fs)); });
        skip([&] { chart().setY1Start(static_cast<float>(min)); });
        r.Y1End = static_cast<float>(fs);
        r.Y1Start = static_cast<float>(min);
    } else {
        skip([&] { chart().setY2End(static_cast<float>(fs)); });
        skip([&] { chart().setY2Start(static_cast<float>(min)); });
        r.Y2End = static_cast<float>(fs);
        r.Y2Start = static_cast<float>(min);
    }
    skip([&] { chart().Redraw(); });
    skip([&] { controls_.setEnabled(setButton(Index), false); });
}

void AxisPanel::cmdSetTime_Click() {
    const int s = slot();
    const auto i = static_cast<size_t>(s);
    const double v = entryNumber(Entry::txtChartTime);
    if (v < 0.1) {
        skip([&] { controls_.setText(Entry::txtChartTime, formatFixed(record().Window, 1, globals_.DecimalSeparator)); });
        skip([&] { ui_.beep(); });
        return;
    }
    view_.ChartWindow[i] = v;
    float duration = 0;
    skip([&] { duration = chart().GetDuration(); });
    float chartStart = 0;
    skip([&] { chartStart = chart().XStart(); });
    double xEnd = 0;
    if (static_cast<float>(static_cast<double>(chartStart) + v) > duration && duration > 0) {
        // The window would reach past the last point: it ends at the run's
        // rounded length instead.
        xEnd = roundHalfEven(static_cast<double>(duration) + 0.5);
        record().XStart = static_cast<float>(xEnd - v);
        if (record().XStart <= 0) {
            record().XStart = 0;
            view_.ChartWindow[i] = xEnd;
            skip([&] { controls_.setText(Entry::txtChartTime, cond(xEnd)); });
        }
    } else {
        xEnd = static_cast<double>(record().XStart) + v;
    }
    record().Window = static_cast<float>(view_.ChartWindow[i]);
    skip([&] { chart().setXStart(record().XStart); });
    skip([&] { chart().setXEnd(static_cast<float>(xEnd)); });
    skip([&] { chart().Redraw(); });
    skip([&] {
        int32_t value = pelomar::core::toLong(chart().XStart());
        UpdateScrollBar(value);
    });
    skip([&] { controls_.setEnabled(Control::cmdSetTime, false); });
}

void AxisPanel::optTimeAxis_Click(int16_t Index) {
    if (Index == 0) {
        SetWholeRunTimeAxis();
        return;
    }
    if (Index != 1) return;
    EnableChartScroll();
    if (!view_.InZoomEnd) cmdSetTime_Click();
    view_.WholeRunAxis[static_cast<size_t>(slot())] = false;
    controls_.setEnabled(Control::txtChartTime, true);
    controls_.selectAll(Entry::txtChartTime);
    skip([&] { controls_.setFocus(Entry::txtChartTime); });
}

void AxisPanel::ScrollChart_Change(int16_t Index) {
    if (Index == 0 && recording_()) return;
    if (controls_.selectedTimeOption() != 1 || view_.InZoomEnd) return;
    const int s = slot();
    AxisChart& c = chart();
    ChartViewRec& r = record();
    c.setXStart(static_cast<float>(controls_.scrollValue(s)));
    const float duration = c.GetDuration();
    if (duration < c.XStart() && duration > 0)
        c.setXStart(static_cast<float>(std::max(0.0, static_cast<double>(duration - r.Window) + 0.1)));
    r.XStart = c.XStart();
    c.setXEnd(c.XStart() + r.Window);
    c.Redraw();
    skip([&] { controls_.focusChart(s); });
}

void AxisPanel::ScrollChart_GotFocus(int16_t) { skip([&] { controls_.focusChart(slot()); }); }

void AxisPanel::Chart_ZoomEnd(int16_t, float XStart, float XEnd, float Y1Start, float Y1End, float Y2Start,
                              float Y2End) {
    const auto i = static_cast<size_t>(slot());
    view_.ChartZoomed[i] = true;
    view_.ChartView[i] = {Y1Start, Y1End, Y2Start, Y2End, XStart, XEnd - XStart};
    view_.InZoomEnd = true;
    // The flag must not outlive the handler, whatever fails inside it.
    struct Clear {
        bool& flag;
        ~Clear() { flag = false; }
    } clear{view_.InZoomEnd};
    skip([&] {
        int32_t value = pelomar::core::toLong(XStart);
        UpdateScrollBar(value);
    });
    ShowAxisValues();
    view_.WholeRunAxis[i] = false;
    controls_.selectTimeOption(1);
}

void AxisPanel::Chart_UnZoomEnd(int16_t) {
    const auto i = static_cast<size_t>(slot());
    view_.ChartZoomed[i] = false;
    controls_.selectTimeOption(0);
    const AxisChart& c = chart();
    ChartViewRec& r = view_.ChartView[i];
    r.Y1Start = c.Y1Start();
    r.Y1End = c.Y1End();
    r.Y2Start = c.Y2Start();
    r.Y2End = c.Y2End();
    r.XStart = c.XStart();
    r.Window = static_cast<float>(view_.ChartWindow[i]);
    skip([&] {
        int32_t value = pelomar::core::toLong(r.XStart);
        UpdateScrollBar(value);
    });
    ShowAxisValues();
}

void AxisPanel::Chart_MyError(int16_t, int16_t ErrorNum) {
    if (handelError_) handelError_(ErrorNum);
}

}  // namespace tavrin
