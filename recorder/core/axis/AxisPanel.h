#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "core/axis/AxisChart.h"
#include "core/axis/AxisPanelControls.h"
#include "core/axis/AxisViewState.h"
#include "core/UiServices.h"
#include "core/modGlobas.h"

namespace tavrin {

// The axis panel's logic: full scale and minimum of the UV and conductivity
// axes, "Full View" or a time window, the slots' scroll bars, and the view
// record of each slot kept in step with its chart, zooms and unzooms
// included. Every handler acts on the slot of the selected tab.
class AxisPanel {
public:
    using Entry = AxisPanelControls::Entry;
    using Control = AxisPanelControls::Control;

    struct Services {
        AxisPanelControls& controls;
        std::array<AxisChart*, AxisViewState::kSlots> charts;
        AxisViewState& view;
        modGlobas& globals;
        UiServices& ui;
        // The live chart records.
        std::function<bool()> recording;
        std::function<void(int16_t)> handelError;
    };

    explicit AxisPanel(const Services& services);

    // The slot's start values: Full View, not zoomed, a 10-minute window,
    // the record read from the chart, the bar at Max 0 with steps 1 and 10.
    void InitSlot(int slot);

    void GetZoomedTime(float& ZoomedTimeFrom, float& ZoomedTimeTo) const;
    void FillYAxisLists();
    void ShowAxisValues();
    bool AxisEntryChanged(int16_t Which) const;
    void UpdateScrollBar(int32_t& Value);
    void SetWholeRunTimeAxis();
    // The current slot's bar takes scrolling: a file slot always, the live
    // slot only while it does not record.
    void EnableChartScroll();

    void cmbYAxis_Change(int16_t Index);
    void txtYAxisMin_Change(int16_t Index);
    void txtChartTime_Change();
    void cmbYAxis_Click(int16_t Index);
    // KeyAscii becomes 0 when the key is to be dropped.
    void cmbYAxis_KeyPress(int16_t Index, int16_t& KeyAscii);
    void txtYAxisMin_KeyPress(int16_t Index, int16_t& KeyAscii);
    void txtChartTime_KeyPress(int16_t& KeyAscii);
    void txtYAxisMin_GotFocus(int16_t Index);
    void txtChartTime_GotFocus();
    void cmdSet_Click(int16_t Index);
    void cmdSetTime_Click();
    void optTimeAxis_Click(int16_t Index);
    void ScrollChart_Change(int16_t Index);
    void ScrollChart_Scroll(int16_t Index) { ScrollChart_Change(Index); }
    void ScrollChart_GotFocus(int16_t Index);
    void Chart_ZoomEnd(int16_t Index, float XStart, float XEnd, float Y1Start, float Y1End, float Y2Start,
                       float Y2End);
    void Chart_UnZoomEnd(int16_t Index);
    void Chart_MyError(int16_t Index, int16_t ErrorNum);

    // The number an entry holds, read with the user's decimal symbol; 0 when
    // the text is no number.
    double entryNumber(Entry entry) const;

private:
    int slot() const;
    AxisChart& chart() const;
    ChartViewRec& record() const;
    std::string uv(double value) const;
    std::string cond(double value) const;

    AxisPanelControls& controls_;
    std::array<AxisChart*, AxisViewState::kSlots> charts_;
    AxisViewState& view_;
    modGlobas& globals_;
    UiServices& ui_;
    std::function<bool()> recording_;
    std::function<void(int16_t)> handelError_;
};

}  // namespace tavrin
