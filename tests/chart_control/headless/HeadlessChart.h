#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "pelomar/ChartContent.h"

namespace pelomar::test {

// One chart's stores and its backup-log members in the instance's folder,
// without the widget, over the control's own model and files. Hosts' tests put
// their chart fakes on it so the fakes keep the control's store rules while
// the hosts see none of the control's insides.
class HeadlessChart {
public:
    HeadlessChart();
    ~HeadlessChart();
    HeadlessChart(const HeadlessChart&) = delete;
    HeadlessChart& operator=(const HeadlessChart&) = delete;

    int16_t AddPoints(float Y1, float Y2);
    int16_t AddLabel(const std::string& Label, int32_t Color, int16_t Offset, float XPos);
    int16_t AddMethod(const std::string& Method, float XPos);
    void ClearData();
    float GetDuration() const;
    bool LastPointInScale() const;
    float XStart() const;
    void setXStart(float value);
    float XEnd() const;
    void setXEnd(float value);

    // The backup files on disk, as the control keeps them.
    bool IsLogFileExist2(const std::string& LogPath);
    void ClearLog2(const std::string& LogPath, int16_t InstanceNumber);

    int32_t points() const;
    ChartPoint point(int32_t i) const;
    int32_t labels() const;
    ChartLabel label(int32_t i) const;
    int32_t methods() const;
    ChartMethod method(int32_t i) const;

private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

}  // namespace pelomar::test
