#pragma once

#include <string>

#include "SyntheticRun.h"
#include "pelomar/Pelomar.h"

namespace pelomar::testing {

// A two-hour run with marks, a method text and notes, drawn once on screen.
inline void fillReportSample(Pelomar& chart, int methodLines, int noteLines) {
    chart.resize(1000, 560);
    chart.setXEnd(120);
    chart.setY1Start(-0.1f);
    chart.setY1End(1.5f);
    chart.setY2End(100);
    chart.setGraphTitle("Desalting run 12");
    fillSyntheticRun(chart, 120);
    chart.Redraw();
    addRunMarks(chart);
    std::string methods;
    for (int i = 0; i < methodLines; ++i)
        methods += "Step " + std::to_string(i + 1) + ": Flow 1.0 ml/min, Buffer B 20 %\r\n";
    chart.AddMethod(methods, 0);
    std::string notes;
    for (int i = 0; i < noteLines; ++i)
        notes += "Note " + std::to_string(i + 1) +
                 ": column washed with two volumes of buffer A before loading.\r\n";
    chart.UpdateNotes(notes);
}

}  // namespace pelomar::testing
