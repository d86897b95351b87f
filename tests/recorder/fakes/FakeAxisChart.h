#pragma once

#include "core/axis/AxisChart.h"

namespace tavrin::test {

// A chart's axis properties as plain values, with the chart control's
// default ranges; duration is set by the test. `Chart` is the interface the
// fake serves: the axis chart or one that extends it.
template <typename Chart = AxisChart>
class FakeAxisChartOf : public Chart {
public:
    float XStart() const override { return xStart; }
    void setXStart(float value) override { xStart = value; }
    float XEnd() const override { return xEnd; }
    void setXEnd(float value) override { xEnd = value; }
    float Y1Start() const override { return y1Start; }
    void setY1Start(float value) override { y1Start = value; }
    float Y1End() const override { return y1End; }
    void setY1End(float value) override { y1End = value; }
    float Y2Start() const override { return y2Start; }
    void setY2Start(float value) override { y2Start = value; }
    float Y2End() const override { return y2End; }
    void setY2End(float value) override { y2End = value; }
    float GetDuration() const override { return duration; }
    void Redraw() override { ++redraws; }

    float xStart = 0, xEnd = 10;
    float y1Start = -0.2f, y1End = 2;
    float y2Start = 0, y2End = 500;
    float duration = 0;
    int redraws = 0;
};

using FakeAxisChart = FakeAxisChartOf<>;

}  // namespace tavrin::test
