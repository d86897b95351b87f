#pragma once

namespace tavrin {

// The live chart's time-axis state that the run control follows and moves.
struct LiveAxisState {
    // "Full View" (true) or "Window:" (false) selected for the live slot.
    bool WholeRunAxis = true;
    // Window length of the live slot, minutes.
    double ChartWindow = 10.0;
    // Left edge of the live slot's view record, minutes.
    float ChartViewXStart = 0;
};

}  // namespace tavrin
