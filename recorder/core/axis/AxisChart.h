#pragma once

namespace tavrin {

// The axis members of a chart control that the axis panel reads and sets.
class AxisChart {
public:
    virtual ~AxisChart() = default;
    virtual float XStart() const = 0;
    virtual void setXStart(float value) = 0;
    virtual float XEnd() const = 0;
    virtual void setXEnd(float value) = 0;
    virtual float Y1Start() const = 0;
    virtual void setY1Start(float value) = 0;
    virtual float Y1End() const = 0;
    virtual void setY1End(float value) = 0;
    virtual float Y2Start() const = 0;
    virtual void setY2Start(float value) = 0;
    virtual float Y2End() const = 0;
    virtual void setY2End(float value) = 0;
    // Time of the last point, minutes.
    virtual float GetDuration() const = 0;
    virtual void Redraw() = 0;
};

}  // namespace tavrin
