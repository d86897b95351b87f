#pragma once

#include "core/DialogChart.h"
#include "pelomar/Pelomar.h"

namespace tavrin {

// A chart control as the dialogs call it.
class PelomarDialogChart : public DialogChart {
public:
    explicit PelomarDialogChart(pelomar::Pelomar& chart) : chart_(chart) {}

    float GetDuration() const override { return chart_.GetDuration(); }
    std::string GraphTitle() const override { return chart_.GraphTitle(); }
    void setGraphTitle(const std::string& value) override { chart_.setGraphTitle(value); }
    std::string GetNotes() const override { return chart_.GetNotes(); }
    void UpdateNotes(const std::string& Notes) override { chart_.UpdateNotes(Notes); }
    std::string GetAllMethods() const override { return chart_.GetAllMethods(); }
    int16_t ExportTextData(const std::string& ExpFileName, bool ExpUV, bool ExpCond, bool ExpEvents, bool ExpNotes,
                           bool ExpMethods, int16_t MethodPos, float ExpFromTime, float ExpToTime,
                           float ExpSamplingRate, int32_t ExpNumPoints) override {
        return chart_.ExportTextData(ExpFileName, ExpUV, ExpCond, ExpEvents, ExpNotes, ExpMethods, MethodPos,
                                     ExpFromTime, ExpToTime, ExpSamplingRate, ExpNumPoints);
    }
    void PrintGraph(bool PrintChromotogram, bool PrintMethods, bool PrintNotes, int32_t PrintOption) override {
        chart_.PrintGraph(PrintChromotogram, PrintMethods, PrintNotes,
                          static_cast<pelomar::PrintOptionTypeEnm>(PrintOption & 7));
    }

private:
    pelomar::Pelomar& chart_;
};

}  // namespace tavrin
