#pragma once

#include "core/AxisChart.h"
#include "pelomar/Pelomar.h"

namespace tavrin {

// A chart control's axis members as the axis panel calls them.
class PelomarAxisChart : public AxisChart {
public:
    explicit PelomarAxisChart(pelomar::Pelomar& chart) : chart_(chart) {}

    float XStart() const override { return chart_.XStart(); }
    void setXStart(float value) override { chart_.setXStart(value); }
    float XEnd() const override { return chart_.XEnd(); }
    void setXEnd(float value) override { chart_.setXEnd(value); }
    float Y1Start() const override { return chart_.Y1Start(); }
    void setY1Start(float value) override { chart_.setY1Start(value); }
    float Y1End() const override { return chart_.Y1End(); }
    void setY1End(float value) override { chart_.setY1End(value); }
    float Y2Start() const override { return chart_.Y2Start(); }
    void setY2Start(float value) override { chart_.setY2Start(value); }
    float Y2End() const override { return chart_.Y2End(); }
    void setY2End(float value) override { chart_.setY2End(value); }
    float GetDuration() const override { return chart_.GetDuration(); }
    void Redraw() override { chart_.Redraw(); }

private:
    pelomar::Pelomar& chart_;
};

}  // namespace tavrin
