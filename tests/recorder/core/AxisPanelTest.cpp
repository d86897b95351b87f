#include <gtest/gtest.h>

#include <vector>

#include "core/axis/AxisPanel.h"
#include "fakes/FakeAxisChart.h"
#include "fakes/FakeAxisControls.h"
#include "fakes/FakeUi.h"

namespace tavrin::test {
namespace {

using Entry = AxisPanelControls::Entry;
using Control = AxisPanelControls::Control;

// The panel as the main window's start-up leaves it: lists filled, every
// slot in Full View with a 10-minute window.
struct PanelRig {
    explicit PanelRig(char sep = '.') {
        globals.DecimalSeparator = sep;
        controls.panel = &panel;
        panel.FillYAxisLists();
        for (int s = 0; s < 5; ++s) panel.InitSlot(s);
    }
    FakeAxisChart& chart(int s = 0) { return charts[static_cast<size_t>(s)]; }
    ChartViewRec& record(int s = 0) { return view.ChartView[static_cast<size_t>(s)]; }
    std::string shown(Entry e) const { return controls.text(e); }

    std::array<FakeAxisChart, 5> charts;
    FakeAxisControls controls;
    AxisViewState view;
    modGlobas globals;
    FakeUi ui;
    bool recording = false;
    std::vector<int16_t> errors;
    AxisPanel panel{{controls,
                     {&charts[0], &charts[1], &charts[2], &charts[3], &charts[4]},
                     view,
                     globals,
                     ui,
                     [this] { return recording; },
                     [this](int16_t n) { errors.push_back(n); }}};
};

TEST(AxisLists, FillingOffersTheScalesAndAppliesTheFirstOfEach) {
    PanelRig rig;
    EXPECT_EQ(rig.controls.lists[0],
              (std::vector<std::string>{"2.000", "1.000", "0.500", "0.200", "0.100", "0.050", "0.020", "0.010",
                                        "0.005", "0.002", "0.001"}));
    EXPECT_EQ(rig.controls.lists[1], (std::vector<std::string>{"500.0", "200.0", "100.0", "50.0", "20.0", "10.0",
                                                               "5.0", "2.0", "1.0", "0.5"}));
    EXPECT_EQ(rig.shown(Entry::txtYAxisMin0), "-0.200");
    EXPECT_EQ(rig.shown(Entry::txtYAxisMin1), "0.0");
    EXPECT_EQ(rig.shown(Entry::txtChartTime), "10.0");
    EXPECT_FLOAT_EQ(rig.chart().y1Start, -0.2f);
    EXPECT_EQ(rig.chart().y2End, 500.f);
}

TEST(AxisLists, PickingAFullScaleSetsItsMinimumAndAppliesBoth) {
    PanelRig rig(',');
    rig.controls.selectListItem(0, 2);
    EXPECT_EQ(rig.shown(Entry::txtYAxisMin0), "-0,050");
    EXPECT_EQ(rig.chart().y1End, 0.5f);
    EXPECT_EQ(rig.chart().y1Start, -0.05f);
    EXPECT_EQ(rig.record().Y1Start, -0.05f);

    rig.controls.type(Entry::txtYAxisMin1, "12");
    rig.controls.selectListItem(1, 3);
    EXPECT_EQ(rig.shown(Entry::cmbYAxis1), "50,0");
    EXPECT_EQ(rig.shown(Entry::txtYAxisMin1), "0,0");
    EXPECT_EQ(rig.chart().y2End, 50.f);
    EXPECT_EQ(rig.chart().y2Start, 0.f);
}

struct SetCase {
    const char* name;
    int16_t axis;
    const char* fullScale;
    const char* minimum;
    bool refused;
    int beeps;
    const char* shownFullScale;
    const char* shownMinimum;
    float appliedEnd, appliedStart;
};

TEST(AxisSet, AppliesLimitsOrRefusesANarrowRange) {
    const SetCase cases[] = {
        {"UV span below 0.001", 0, "0.1", "0.0995", true, 0, "2.000", "-0.200", 2.f, -0.2f},
        {"UV span of 0.001", 0, "0.1", "0.099", false, 0, "0.100", "0.099", 0.1f, 0.099f},
        {"UV both beyond their limits", 0, "5", "-3", false, 2, "2.000", "-2.000", 2.f, -2.f},
        {"UV empty minimum", 0, "1", "", false, 0, "1.000", "0.000", 1.f, 0.f},
        {"UV tiny full scale", 0, "0.0004", "-1", false, 1, "0.001", "-1.000", 0.001f, -1.f},
        // Within the test's tolerance, but both show as 0.002: an empty axis.
        {"UV span lost to rounding", 0, "0.0024999999995", "0.0015", true, 0, "2.000", "-0.200", 2.f, -0.2f},
        {"conductivity span below 0.5", 1, "10", "9.6", true, 0, "500.0", "0.0", 500.f, 0.f},
        {"conductivity both beyond their limits", 1, "600", "550", false, 2, "500.0", "499.5", 500.f, 499.5f},
        {"conductivity small full scale", 1, "0.2", "-1", false, 2, "0.5", "0.0", 0.5f, 0.f},
        {"conductivity span lost to rounding", 1, "10.0499999995", "9.55", true, 0, "500.0", "0.0", 500.f, 0.f},
    };
    for (const SetCase& c : cases) {
        PanelRig rig;
        const Entry fs = c.axis == 0 ? Entry::cmbYAxis0 : Entry::cmbYAxis1;
        const Entry min = c.axis == 0 ? Entry::txtYAxisMin0 : Entry::txtYAxisMin1;
        rig.controls.type(fs, c.fullScale);
        rig.controls.type(min, c.minimum);
        rig.panel.cmdSet_Click(c.axis);
        ASSERT_EQ(rig.ui.boxes.size(), c.refused ? 1u : 0u) << c.name;
        if (c.refused) {
            EXPECT_EQ(rig.ui.boxes[0].text, c.axis == 0
                                                ? "The UV Axis Full Scale (AUFS) entry must be at least 0.001 AU "
                                                  "greater than the UV Axis Minimum entry."
                                                : "The Conductivity Axis Full Scale (mSFS) entry must be at least "
                                                  "0.5 mS/cm greater than the Conductivity Axis Minimum entry.");
            EXPECT_EQ(rig.ui.boxes[0].title, "Tavrin MS");
            EXPECT_EQ(rig.ui.boxes[0].icon, UiServices::Icon::Exclamation);
        }
        EXPECT_EQ(rig.ui.beeps, c.beeps) << c.name;
        EXPECT_EQ(rig.shown(fs), c.shownFullScale) << c.name;
        EXPECT_EQ(rig.shown(min), c.shownMinimum) << c.name;
        const FakeAxisChart& chart = rig.chart();
        EXPECT_EQ(c.axis == 0 ? chart.y1End : chart.y2End, c.appliedEnd) << c.name;
        EXPECT_EQ(c.axis == 0 ? chart.y1Start : chart.y2Start, c.appliedStart) << c.name;
        EXPECT_EQ(c.axis == 0 ? rig.record().Y1End : rig.record().Y2End, c.appliedEnd) << c.name;
        EXPECT_EQ(c.axis == 0 ? rig.record().Y1Start : rig.record().Y2Start, c.appliedStart) << c.name;
    }
}

TEST(AxisSet, TheButtonIsEnabledOnlyWhileAnEntryDiffersFromTheView) {
    PanelRig rig;
    rig.controls.type(Entry::cmbYAxis0, "1.5");
    EXPECT_TRUE(rig.controls.isEnabled(Control::cmdSet0));
    rig.controls.type(Entry::cmbYAxis0, "2.000");
    EXPECT_FALSE(rig.controls.isEnabled(Control::cmdSet0));
    rig.controls.type(Entry::txtYAxisMin1, "3");
    EXPECT_TRUE(rig.controls.isEnabled(Control::cmdSet1));
    rig.panel.cmdSet_Click(1);
    EXPECT_FALSE(rig.controls.isEnabled(Control::cmdSet1));
    EXPECT_EQ(rig.chart().redraws, 3);  // two list picks and this Set
}

TEST(AxisSet, ActsOnTheSelectedTabsChart) {
    PanelRig rig;
    rig.globals.CurrentChart = 2;
    rig.controls.type(Entry::cmbYAxis0, "0.5");
    rig.panel.cmdSet_Click(0);
    EXPECT_EQ(rig.chart(2).y1End, 0.5f);
    EXPECT_EQ(rig.record(2).Y1End, 0.5f);
    EXPECT_EQ(rig.chart(0).y1End, 2.f);
    EXPECT_EQ(rig.record(0).Y1End, 2.f);
}

TEST(AxisKeys, EnterAppliesAndOtherKeysAreFiltered) {
    PanelRig rig;
    rig.controls.type(Entry::txtYAxisMin0, "0.1");
    int16_t key = kKeyEnter;
    rig.panel.txtYAxisMin_KeyPress(0, key);
    EXPECT_EQ(key, 0);
    EXPECT_EQ(rig.chart().y1Start, 0.1f);
    EXPECT_EQ(rig.controls.selectAllCalls[Entry::txtYAxisMin0], 1);

    rig.controls.states[Entry::txtYAxisMin1] = {"", 0, ""};
    key = '-';
    rig.panel.txtYAxisMin_KeyPress(1, key);  // conductivity has no minus
    EXPECT_EQ(key, 0);
    rig.controls.states[Entry::txtYAxisMin0] = {"", 0, ""};
    key = '-';
    rig.panel.txtYAxisMin_KeyPress(0, key);
    EXPECT_EQ(key, '-');
    key = '-';
    rig.controls.states[Entry::cmbYAxis0] = {"", 0, ""};
    rig.panel.cmbYAxis_KeyPress(0, key);
    EXPECT_EQ(key, 0);
    EXPECT_EQ(rig.ui.beeps, 2);
}

// Selecting "Window:" applies the typed length.
struct WindowCase {
    const char* name;
    float duration;
    float leftEdge;  // chart and record
    const char* typed;
    float xStart, xEnd;
    double window;
    const char* shown;
    int32_t barMax, barValue, largeChange, smallChange;
};

TEST(AxisWindow, ApplyingALengthSetsTheAxisAndTheBar) {
    const WindowCase cases[] = {
        {"run shorter than the window", 3.2f, 0, "10.0", 0, 4, 4, "4.0", 0, 0, 4, 1},
        {"long run", 30, 0, "10.0", 0, 10, 10, "10.0", 20, 0, 10, 1},
        {"window under a minute", 30, 0, "0.4", 0, 0.4f, 0.4, "0.4", 30, 0, 1, 1},
        {"window past the last point", 30, 25, "10.0", 20, 30, 10, "10.0", 20, 20, 10, 1},
        {"no points yet, no clamp", 0, 5, "10.0", 5, 15, 10, "10.0", 0, 0, 10, 1},
        {"window of 15", 100, 0, "15", 0, 15, 15, "15", 86, 0, 15, 2},
        {"window of 25", 100, 0, "25", 0, 25, 25, "25", 76, 0, 25, 2},
    };
    for (const WindowCase& c : cases) {
        PanelRig rig;
        rig.chart().duration = c.duration;
        rig.chart().xStart = c.leftEdge;
        rig.record().XStart = c.leftEdge;
        rig.controls.type(Entry::txtChartTime, c.typed);
        rig.controls.selectTimeOption(1);
        EXPECT_EQ(rig.chart().xStart, c.xStart) << c.name;
        EXPECT_FLOAT_EQ(rig.chart().xEnd, c.xEnd) << c.name;
        EXPECT_EQ(rig.view.ChartWindow[0], c.window) << c.name;
        EXPECT_EQ(rig.record().Window, static_cast<float>(c.window)) << c.name;
        EXPECT_EQ(rig.shown(Entry::txtChartTime), c.shown) << c.name;
        const FakeAxisControls::Bar& bar = rig.controls.bars[0];
        EXPECT_EQ(bar.max, c.barMax) << c.name;
        EXPECT_EQ(bar.value, c.barValue) << c.name;
        EXPECT_EQ(bar.largeChange, c.largeChange) << c.name;
        EXPECT_EQ(bar.smallChange, c.smallChange) << c.name;
        EXPECT_TRUE(bar.enabled) << c.name;
        EXPECT_FALSE(rig.view.WholeRunAxis[0]) << c.name;
        EXPECT_FALSE(rig.controls.isEnabled(Control::cmdSetTime)) << c.name;
        EXPECT_TRUE(rig.controls.isEnabled(Control::txtChartTime)) << c.name;
    }
}

TEST(AxisWindow, ALengthBelowATenthIsRefused) {
    for (const char* typed : {"0.05", "", "."}) {
        PanelRig rig;
        rig.chart().duration = 30;
        rig.controls.selectTimeOption(1);
        const float end = rig.chart().xEnd;
        rig.controls.type(Entry::txtChartTime, typed);
        rig.panel.cmdSetTime_Click();
        EXPECT_EQ(rig.ui.beeps, 1) << typed;
        EXPECT_EQ(rig.shown(Entry::txtChartTime), "10.0") << typed;
        EXPECT_EQ(rig.view.ChartWindow[0], 10.0) << typed;
        EXPECT_EQ(rig.chart().xEnd, end) << typed;
    }
}

TEST(AxisWindow, TheBarMaximumStaysInItsRange) {
    PanelRig rig;
    rig.chart().duration = 100000;
    rig.controls.selectTimeOption(1);
    EXPECT_EQ(rig.controls.bars[0].max, 32767);
}

TEST(AxisFullView, ShowsTheRoundedRunOrTenMinutes) {
    PanelRig rig;
    rig.controls.selectTimeOption(1);
    rig.controls.selectTimeOption(0);
    EXPECT_EQ(rig.chart().xStart, 0.f);
    EXPECT_EQ(rig.chart().xEnd, 10.f);

    rig.chart().duration = 12.3f;
    rig.controls.type(Entry::txtChartTime, "5");
    rig.controls.selectTimeOption(1);
    rig.controls.bars[0].value = 0;
    ASSERT_TRUE(rig.controls.setScrollValue(0, 3));
    rig.controls.selectTimeOption(0);
    EXPECT_EQ(rig.chart().xStart, 0.f);
    EXPECT_EQ(rig.record().XStart, 0.f);
    EXPECT_EQ(rig.chart().xEnd, 13.f);
    EXPECT_EQ(rig.record().Window, 5.f);
    EXPECT_TRUE(rig.view.WholeRunAxis[0]);
    EXPECT_FALSE(rig.controls.bars[0].enabled);
    EXPECT_FALSE(rig.controls.isEnabled(Control::txtChartTime));
    EXPECT_FALSE(rig.controls.isEnabled(Control::cmdSetTime));
}

TEST(AxisScroll, TheBarMovesTheWindowToAWholeMinute) {
    PanelRig rig;
    rig.chart().duration = 30;
    rig.controls.selectTimeOption(1);
    ASSERT_TRUE(rig.controls.setScrollValue(0, 15));
    EXPECT_EQ(rig.chart().xStart, 15.f);
    EXPECT_EQ(rig.chart().xEnd, 25.f);
    EXPECT_EQ(rig.record().XStart, 15.f);
    EXPECT_EQ(rig.controls.focusedChart, 0);
    EXPECT_FALSE(rig.controls.setScrollValue(0, 21));  // beyond Max 20
    EXPECT_EQ(rig.chart().xStart, 15.f);
}

TEST(AxisScroll, AWindowPastTheLastPointIsPulledBack) {
    PanelRig rig;
    rig.chart().duration = 10.3f;
    rig.controls.type(Entry::txtChartTime, "0.2");
    rig.controls.selectTimeOption(1);
    ASSERT_EQ(rig.controls.bars[0].max, 11);
    ASSERT_TRUE(rig.controls.setScrollValue(0, 11));
    EXPECT_FLOAT_EQ(rig.chart().xStart, 10.2f);
    EXPECT_FLOAT_EQ(rig.chart().xEnd, 10.4f);
}

TEST(AxisScroll, NothingMovesInFullViewOrOnTheRecordingLiveChart) {
    PanelRig rig;
    rig.chart().duration = 30;
    rig.controls.bars[0].max = 20;
    rig.controls.setScrollValue(0, 5);  // Full View
    EXPECT_EQ(rig.chart().xStart, 0.f);

    rig.controls.selectTimeOption(1);
    rig.recording = true;
    rig.controls.setScrollValue(0, 7);
    EXPECT_EQ(rig.chart().xStart, 0.f);

    // A file slot scrolls while the live chart records.
    rig.globals.CurrentChart = 1;
    rig.chart(1).duration = 30;
    rig.panel.cmdSetTime_Click();
    rig.controls.setScrollValue(1, 6);
    EXPECT_EQ(rig.chart(1).xStart, 6.f);
}

TEST(AxisScroll, TheLiveBarTakesScrollingOnlyWhenNotRecording) {
    PanelRig rig;
    rig.recording = true;
    rig.panel.EnableChartScroll();
    EXPECT_FALSE(rig.controls.bars[0].enabled);
    rig.globals.CurrentChart = 3;
    rig.panel.EnableChartScroll();
    EXPECT_TRUE(rig.controls.bars[3].enabled);
}

TEST(AxisZoom, AZoomBecomesTheViewWithoutReapplyingTheWindow) {
    PanelRig rig;
    rig.chart().duration = 30;
    rig.panel.Chart_ZoomEnd(0, 4.6f, 7.1f, 0.0125f, 0.5f, 1.25f, 20.04f);
    EXPECT_TRUE(rig.view.ChartZoomed[0]);
    EXPECT_FALSE(rig.view.WholeRunAxis[0]);
    EXPECT_FALSE(rig.view.InZoomEnd);
    EXPECT_EQ(rig.controls.option, 1);
    EXPECT_EQ(rig.record().Window, 7.1f - 4.6f);
    EXPECT_EQ(rig.view.ChartWindow[0], 10.0);
    EXPECT_EQ(rig.shown(Entry::cmbYAxis0), "0.500");
    EXPECT_EQ(rig.shown(Entry::txtYAxisMin0), "0.013");
    EXPECT_EQ(rig.shown(Entry::cmbYAxis1), "20.0");
    EXPECT_EQ(rig.shown(Entry::txtYAxisMin1), "1.3");
    EXPECT_EQ(rig.shown(Entry::txtChartTime), "2.5");
    EXPECT_EQ(rig.controls.bars[0].value, 5);
    EXPECT_EQ(rig.chart().xStart, 0.f);  // the control keeps its own zoomed view
    EXPECT_FALSE(rig.controls.isEnabled(Control::cmdSet0));
    EXPECT_TRUE(rig.controls.bars[0].enabled);

    float from = 0, to = 0;
    rig.panel.GetZoomedTime(from, to);
    EXPECT_EQ(from, 4.6f);
    EXPECT_EQ(to, 4.6f + (7.1f - 4.6f));

    rig.panel.Chart_UnZoomEnd(0);
    EXPECT_FALSE(rig.view.ChartZoomed[0]);
    EXPECT_EQ(rig.controls.option, 0);
    EXPECT_TRUE(rig.view.WholeRunAxis[0]);
    EXPECT_EQ(rig.chart().xEnd, 30.f);
    EXPECT_EQ(rig.record().Window, 10.f);
    EXPECT_EQ(rig.shown(Entry::txtChartTime), "10.0");
    EXPECT_EQ(rig.shown(Entry::cmbYAxis0), "2.000");
}

TEST(AxisZoom, ChartErrorsGoToTheErrorHandler) {
    PanelRig rig;
    rig.panel.Chart_MyError(3, 11);
    EXPECT_EQ(rig.errors, std::vector<int16_t>{11});
}

}  // namespace
}  // namespace tavrin::test
