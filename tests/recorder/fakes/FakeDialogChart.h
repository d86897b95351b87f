#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/dialogs/DialogChart.h"

namespace tavrin::test {

// A chart that records what the dialogs hand it.
class FakeDialogChart : public DialogChart {
public:
    struct Export {
        std::string name;
        bool uv, cond, events, notes, methods;
        int16_t methodPos;
        float from, to, rate;
        int32_t rows;
    };
    struct Print {
        bool chromatogram, methods, notes;
        int32_t option;
    };

    float GetDuration() const override { return duration; }
    std::string GraphTitle() const override { return title; }
    void setGraphTitle(const std::string& value) override { title = value; }
    std::string GetNotes() const override { return notes; }
    void UpdateNotes(const std::string& Notes) override {
        notes = Notes;
        ++noteUpdates;
    }
    std::string GetAllMethods() const override { return methods; }
    int16_t ExportTextData(const std::string& ExpFileName, bool ExpUV, bool ExpCond, bool ExpEvents, bool ExpNotes,
                           bool ExpMethods, int16_t MethodPos, float ExpFromTime, float ExpToTime,
                           float ExpSamplingRate, int32_t ExpNumPoints) override {
        exports.push_back({ExpFileName, ExpUV, ExpCond, ExpEvents, ExpNotes, ExpMethods, MethodPos, ExpFromTime,
                           ExpToTime, ExpSamplingRate, ExpNumPoints});
        return exportResult;
    }
    void PrintGraph(bool PrintChromotogram, bool PrintMethods, bool PrintNotes, int32_t PrintOption) override {
        prints.push_back({PrintChromotogram, PrintMethods, PrintNotes, PrintOption});
    }

    float duration = 0;
    std::string title = "Chart Recorder";
    std::string notes;
    std::string methods;
    int noteUpdates = 0;
    int16_t exportResult = 0;
    std::vector<Export> exports;
    std::vector<Print> prints;
};

}  // namespace tavrin::test
