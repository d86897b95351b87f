#pragma once

#include <algorithm>
#include <array>
#include <map>
#include <string>
#include <vector>

#include "core/axis/AxisPanel.h"
#include "core/axis/AxisPanelControls.h"

namespace tavrin::test {

// The panel's controls as values. Like the real controls, a change runs the
// panel's handler for it at once; a control set to what it holds runs none.
class FakeAxisControls : public AxisPanelControls {
public:
    struct Bar {
        int32_t max = 0;
        int32_t value = 0;
        int32_t smallChange = 1;
        int32_t largeChange = 10;
        bool enabled = true;
    };

    std::string text(Entry entry) const override {
        const auto it = texts.find(entry);
        return it == texts.end() ? std::string() : it->second;
    }
    void setText(Entry entry, const std::string& t) override {
        if (text(entry) == t) return;
        texts[entry] = t;
        changed(entry);
    }
    EntryState entryState(Entry entry) const override {
        const auto it = states.find(entry);
        if (it != states.end()) return it->second;
        return {text(entry), static_cast<int32_t>(text(entry).size()), ""};
    }
    void selectAll(Entry entry) override { ++selectAllCalls[entry]; }
    void setFocus(Entry entry) override { focusedEntry = entry; }
    void setEnabled(Control control, bool on) override { enabled[control] = on; }
    bool isEnabled(Control control) const {
        const auto it = enabled.find(control);
        return it != enabled.end() && it->second;
    }

    void clearList(int list) override { lists[static_cast<size_t>(list)].clear(); }
    void addListItem(int list, const std::string& t) override { lists[static_cast<size_t>(list)].push_back(t); }
    void selectListItem(int list, int index) override {
        setText(list == 0 ? Entry::cmbYAxis0 : Entry::cmbYAxis1, lists[static_cast<size_t>(list)].at(static_cast<size_t>(index)));
        if (panel) panel->cmbYAxis_Click(static_cast<int16_t>(list));
    }

    int selectedTimeOption() const override { return option; }
    void selectTimeOption(int o) override {
        if (option == o) return;
        option = o;
        if (panel) panel->optTimeAxis_Click(static_cast<int16_t>(o));
    }

    int32_t scrollValue(int slot) const override { return bars[static_cast<size_t>(slot)].value; }
    bool setScrollValue(int slot, int32_t value) override {
        Bar& bar = bars[static_cast<size_t>(slot)];
        if (value < std::min(0, bar.max) || value > std::max(0, bar.max)) return false;
        if (bar.value == value) return true;
        bar.value = value;
        if (panel) panel->ScrollChart_Change(static_cast<int16_t>(slot));
        return true;
    }
    int32_t scrollMax(int slot) const override { return bars[static_cast<size_t>(slot)].max; }
    void setScrollMax(int slot, int32_t max) override {
        Bar& bar = bars[static_cast<size_t>(slot)];
        bar.max = max;
        // A Value beyond the new range follows it, as a change.
        const int32_t kept = std::clamp(bar.value, std::min(0, max), std::max(0, max));
        if (kept != bar.value) {
            bar.value = kept;
            if (panel) panel->ScrollChart_Change(static_cast<int16_t>(slot));
        }
    }
    void setScrollChanges(int slot, int32_t smallChange, int32_t largeChange) override {
        bars[static_cast<size_t>(slot)].smallChange = smallChange;
        bars[static_cast<size_t>(slot)].largeChange = largeChange;
    }
    void setScrollEnabled(int slot, bool on) override { bars[static_cast<size_t>(slot)].enabled = on; }
    void focusChart(int slot) override { focusedChart = slot; }

    // The user types a whole text.
    void type(Entry entry, const std::string& t) { setText(entry, t); }

    AxisPanel* panel = nullptr;
    std::map<Entry, std::string> texts;
    std::map<Entry, EntryState> states;
    std::map<Entry, int> selectAllCalls;
    std::map<Control, bool> enabled;
    std::array<std::vector<std::string>, 2> lists;
    int option = 0;
    std::array<Bar, 5> bars{};
    int focusedChart = -1;
    Entry focusedEntry = Entry::cmbYAxis0;

private:
    void changed(Entry entry) {
        if (!panel) return;
        switch (entry) {
        case Entry::cmbYAxis0: panel->cmbYAxis_Change(0); break;
        case Entry::cmbYAxis1: panel->cmbYAxis_Change(1); break;
        case Entry::txtYAxisMin0: panel->txtYAxisMin_Change(0); break;
        case Entry::txtYAxisMin1: panel->txtYAxisMin_Change(1); break;
        case Entry::txtChartTime: panel->txtChartTime_Change(); break;
        }
    }
};

}  // namespace tavrin::test
