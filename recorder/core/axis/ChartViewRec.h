#pragma once

namespace tavrin {

// The view of one chart slot as last applied.
struct ChartViewRec {
    float Y1Start = 0;  // AU
    float Y1End = 0;    // AU, full scale
    float Y2Start = 0;  // mS/cm
    float Y2End = 0;    // mS/cm, full scale
    float XStart = 0;   // minutes, left edge of the time axis
    // Visible span in minutes: the applied window, or the zoom box's width.
    float Window = 10.0f;
};

}  // namespace tavrin
