#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "HeadlessChart.h"
#include "core/RecorderChart.h"

namespace tavrin::test {

// A chart over the control's own stores. Each store member can be told
// to fail with a run-time error number.
class FakeChart : public RecorderChart {
public:
    int16_t AddPoints(float Y1, float Y2) override;
    int16_t AddLabel(const std::string& Label, int32_t Color, int16_t Offset, float XPos) override;
    int16_t AddMethod(const std::string& Method, float XPos) override;
    float GetDuration() const override { return model.GetDuration(); }
    bool LastPointInScale() const override { return model.LastPointInScale(); }
    float XStart() const override { return model.XStart(); }
    void setXStart(float value) override { model.setXStart(value); }
    float XEnd() const override { return model.XEnd(); }
    void setXEnd(float value) override { model.setXEnd(value); }
    void Redraw() override {
        ++redraws;
        drawn();
    }
    void DrawNewPoints() override {
        ++drawNewPointsCalls;
        drawn();
    }
    bool IsLogFileExist2(const std::string& LogPath) override;
    void ClearLog2(const std::string& LogPath, int16_t InstanceNumber) override;

    int32_t points() const { return model.points(); }
    pelomar::ChartPoint point(int32_t i) const { return model.point(i); }
    int32_t labels() const { return model.labels(); }
    pelomar::ChartLabel label(int32_t i) const { return model.label(i); }
    int32_t methods() const { return model.methods(); }
    pelomar::ChartMethod method(int32_t i) const { return model.method(i); }
    // The label texts in order, joined, e.g. "S12PCE".
    std::string labelTexts() const;

    pelomar::test::HeadlessChart model;
    int16_t failAddPoints = 0;
    int16_t failAddLabel = 0;
    int16_t failAddMethod = 0;
    int redraws = 0;
    int drawNewPointsCalls = 0;
    // What the last Redraw or DrawNewPoints put on the screen: the points
    // and labels there were then, on the time axis of then.
    struct Screen {
        int32_t points = 0;
        int32_t labels = 0;
        float xStart = 0;
        float xEnd = 0;
    };
    Screen screen;

    // The backup-log members work on the real folders, the way the control's do;
    // these keep the folders they were called with.
    std::vector<std::string> isLogFileExist2Calls;
    std::vector<std::string> clearLog2Calls;

private:
    void drawn() { screen = {points(), labels(), XStart(), XEnd()}; }
};

}  // namespace tavrin::test
