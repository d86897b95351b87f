#pragma once

#include <cstdint>
#include <string>

#include "core/axis/NumericKeyFilter.h"

namespace tavrin {

// The controls of the axis panel and the slots' scroll bars. A change made
// through these setters runs the control's handler at once, the way a user's
// change does: a new text its change handler, a list selection its click
// handler, a newly selected option its click handler, a new scroll value its
// change handler. Setting a control to what it already holds runs nothing.
class AxisPanelControls {
public:
    enum class Entry { cmbYAxis0, cmbYAxis1, txtYAxisMin0, txtYAxisMin1, txtChartTime };
    enum class Control { cmdSet0, cmdSet1, cmdSetTime, txtChartTime };

    virtual ~AxisPanelControls() = default;

    virtual std::string text(Entry entry) const = 0;
    virtual void setText(Entry entry, const std::string& text) = 0;
    virtual EntryState entryState(Entry entry) const = 0;
    virtual void selectAll(Entry entry) = 0;
    // Keyboard focus; a failure is ignored.
    virtual void setFocus(Entry entry) = 0;
    virtual void setEnabled(Control control, bool enabled) = 0;

    // The full-scale lists, 0 UV and 1 conductivity.
    virtual void clearList(int list) = 0;
    virtual void addListItem(int list, const std::string& text) = 0;
    virtual void selectListItem(int list, int index) = 0;

    // 0 "Full View", 1 "Window:".
    virtual int selectedTimeOption() const = 0;
    virtual void selectTimeOption(int option) = 0;

    // A slot's bar holds Min 0 and a Max that may be below 0; its Value
    // stays between the two.
    virtual int32_t scrollValue(int slot) const = 0;
    // false: the Value lies outside the bar's range and is refused.
    virtual bool setScrollValue(int slot, int32_t value) = 0;
    virtual int32_t scrollMax(int slot) const = 0;
    virtual void setScrollMax(int slot, int32_t max) = 0;
    virtual void setScrollChanges(int slot, int32_t smallChange, int32_t largeChange) = 0;
    virtual void setScrollEnabled(int slot, bool enabled) = 0;

    // Keyboard focus to a chart slot; a failure is ignored.
    virtual void focusChart(int slot) = 0;
};

}  // namespace tavrin
