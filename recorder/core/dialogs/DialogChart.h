#pragma once

#include <cstdint>
#include <string>

namespace tavrin {

// The members of the current tab's chart that the export, print, notes and
// method windows call.
class DialogChart {
public:
    virtual ~DialogChart() = default;
    virtual float GetDuration() const = 0;
    virtual std::string GraphTitle() const = 0;
    virtual void setGraphTitle(const std::string& value) = 0;
    virtual std::string GetNotes() const = 0;
    virtual void UpdateNotes(const std::string& Notes) = 0;
    virtual std::string GetAllMethods() const = 0;
    // 0 or the run-time error number.
    virtual int16_t ExportTextData(const std::string& ExpFileName, bool ExpUV, bool ExpCond, bool ExpEvents,
                                   bool ExpNotes, bool ExpMethods, int16_t MethodPos, float ExpFromTime,
                                   float ExpToTime, float ExpSamplingRate, int32_t ExpNumPoints) = 0;
    // PrintOption: the bit set of traces and marks, 0..7.
    virtual void PrintGraph(bool PrintChromotogram, bool PrintMethods, bool PrintNotes, int32_t PrintOption) = 0;
};

}  // namespace tavrin
