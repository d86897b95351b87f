#pragma once

#include <cstdint>
#include <string>

namespace tavrin {

// The members of a chart control that the recorder calls. The store members
// return 0 or a run-time error number.
class RecorderChart {
public:
    virtual ~RecorderChart() = default;
    virtual int16_t AddPoints(float Y1, float Y2) = 0;
    virtual int16_t AddLabel(const std::string& Label, int32_t Color, int16_t Offset, float XPos) = 0;
    virtual int16_t AddMethod(const std::string& Method, float XPos) = 0;
    virtual float GetDuration() const = 0;
    virtual bool LastPointInScale() const = 0;
    virtual float XStart() const = 0;
    virtual void setXStart(float value) = 0;
    virtual float XEnd() const = 0;
    virtual void setXEnd(float value) = 0;
    virtual void Redraw() = 0;
    virtual void DrawNewPoints() = 0;

    // The backup-log members of one copy's folder.
    virtual bool IsLogFileExist2(const std::string& LogPath) = 0;
    virtual void ClearLog2(const std::string& LogPath, int16_t InstanceNumber) = 0;
};

}  // namespace tavrin
