#pragma once

#include <array>

#include "core/axis/ChartViewRec.h"

namespace tavrin {

// Axis and time-window state of the five visible chart slots (0 live,
// 1..4 files). The run control moves slot 0 while the live chart records.
struct AxisViewState {
    static constexpr int kSlots = 5;

    std::array<ChartViewRec, kSlots> ChartView{};
    // Window length last accepted for the slot, minutes.
    std::array<double, kSlots> ChartWindow{10.0, 10.0, 10.0, 10.0, 10.0};
    // The slot shows "Full View" rather than a window.
    std::array<bool, kSlots> WholeRunAxis{true, true, true, true, true};
    // The slot is zoomed with the mouse.
    std::array<bool, kSlots> ChartZoomed{};
    // Chart_ZoomEnd is running: the scroll bar and "Window:" must not move
    // or re-apply the window meanwhile.
    bool InZoomEnd = false;
};

}  // namespace tavrin
