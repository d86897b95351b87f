#pragma once

#include "core/SlotChart.h"
#include "pelomar/Pelomar.h"

namespace tavrin {

// A chart control as the tab slots call it.
class PelomarSlotChart : public SlotChart {
public:
    explicit PelomarSlotChart(pelomar::Pelomar& chart) : chart_(chart) {}

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

    bool ReadFromFile(const std::string& FileName) override { return chart_.ReadFromFile(FileName); }
    bool SaveToFile(const std::string& FileName) override { return chart_.SaveToFile(FileName); }
    bool SaveSelectedToFile(const std::string& FileName) override { return chart_.SaveSelectedToFile(FileName); }
    std::string GetNotes() const override { return chart_.GetNotes(); }
    void UpdateNotes(const std::string& Notes) override { chart_.UpdateNotes(Notes); }
    std::string GraphTitle() const override { return chart_.GraphTitle(); }
    void setGraphTitle(const std::string& value) override { chart_.setGraphTitle(value); }
    void Clear() override { chart_.Clear(); }
    void Unzoom() override { chart_.Unzoom(); }

private:
    pelomar::Pelomar& chart_;
};

// The log rebuild chart, Chart(6).
class PelomarRebuildChart : public LogRebuildChart {
public:
    explicit PelomarRebuildChart(pelomar::Pelomar& chart) : chart_(chart) {}

    int16_t SaveLog2(const std::string& LogPath, int16_t InstanceNumber, const std::string& FileName) override {
        return chart_.SaveLog2(LogPath, InstanceNumber, FileName);
    }

private:
    pelomar::Pelomar& chart_;
};

}  // namespace tavrin
