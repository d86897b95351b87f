#pragma once

#include <cstdint>
#include <string>

#include "core/axis/AxisChart.h"

namespace tavrin {

// A file tab's chart (and the live chart) as the tab slots use it: its axis
// members plus reading, saving, notes and title. A failed ReadFromFile keeps
// the chart's data as it was; the control shows its own message.
class SlotChart : public AxisChart {
public:
    virtual bool ReadFromFile(const std::string& FileName) = 0;
    virtual bool SaveToFile(const std::string& FileName) = 0;
    virtual bool SaveSelectedToFile(const std::string& FileName) = 0;
    virtual std::string GetNotes() const = 0;
    virtual void UpdateNotes(const std::string& Notes) = 0;
    virtual std::string GraphTitle() const = 0;
    virtual void setGraphTitle(const std::string& value) = 0;
    virtual void Clear() = 0;
    // Raises UnZoomEnd before it returns.
    virtual void Unzoom() = 0;
};

// The log rebuild chart: writes a log file from a copy's backup logs; 0 or
// a run-time error number.
class LogRebuildChart {
public:
    virtual ~LogRebuildChart() = default;
    virtual int16_t SaveLog2(const std::string& LogPath, int16_t InstanceNumber, const std::string& FileName) = 0;
};

}  // namespace tavrin
