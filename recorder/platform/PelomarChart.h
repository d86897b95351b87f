#pragma once

#include "core/RecorderChart.h"
#include "pelomar/Pelomar.h"

namespace tavrin {

// A chart control as the recorder calls it.
class PelomarChart : public RecorderChart {
public:
    explicit PelomarChart(pelomar::Pelomar& chart) : chart_(chart) {}

    int16_t AddPoints(float Y1, float Y2) override { return chart_.AddPoints(Y1, Y2); }
    int16_t AddLabel(const std::string& Label, int32_t Color, int16_t Offset, float XPos) override {
        return chart_.AddLabel(Label, Color, Offset, XPos);
    }
    int16_t AddMethod(const std::string& Method, float XPos) override {
        return chart_.AddMethod(Method, XPos);
    }
    float GetDuration() const override { return chart_.GetDuration(); }
    bool LastPointInScale() const override { return chart_.LastPointInScale(); }
    float XStart() const override { return chart_.XStart(); }
    void setXStart(float value) override { chart_.setXStart(value); }
    float XEnd() const override { return chart_.XEnd(); }
    void setXEnd(float value) override { chart_.setXEnd(value); }
    void Redraw() override { chart_.Redraw(); }
    void DrawNewPoints() override { chart_.DrawNewPoints(); }

    bool IsLogFileExist2(const std::string& LogPath) override { return chart_.IsLogFileExist2(LogPath); }
    void ClearLog2(const std::string& LogPath, int16_t InstanceNumber) override {
        chart_.ClearLog2(LogPath, InstanceNumber);
    }

private:
    pelomar::Pelomar& chart_;
};

}  // namespace tavrin
