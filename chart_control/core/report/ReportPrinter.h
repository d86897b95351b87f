#pragma once

#include <cstdint>

#include "core/drawing/DrawingSurface.h"

namespace pelomar {
class ChartUiServices;
}

namespace pelomar::core {

class ChartDrawing;
class ChartModel;

// PrintOptionTypeEnm bits.
inline constexpr int32_t kPrintEventMark = 1;
inline constexpr int32_t kPrintCondTrace = 2;
inline constexpr int32_t kPrintUVTrace = 4;

// The printed report of one chart: title, chromatogram of the view window,
// methods and notes, as one document on `printer`. `screen` is the chart's
// picture, whose text metrics the chart drawing gets back afterwards.
class ReportPrinter {
public:
    ReportPrinter(ChartModel& model, ChartDrawing& drawing, ChartUiServices& ui);

    // A failing step (title, chromatogram, methods and notes) ends there and
    // the report goes on with the next; the document is always ended.
    void PrintGraph(DrawingSurface& printer, DrawingSurface& screen, bool printChromotogram,
                    bool printMethods, bool printNotes, int32_t option);

    void PrintTitle(DrawingSurface& printer);
    void PrintChart(DrawingSurface& printer, DrawingSurface& screen, int32_t option);
    void PrintTraces(DrawingSurface& printer, bool uv, bool cond);

    double printerPixelWidth() const noexcept { return printerPixelWidth_; }
    double printerFontFactor() const noexcept { return printerFontFactor_; }

private:
    struct Trace;
    void PrintSegmentClipLeft(DrawingSurface& p, float x1, float y1, float x2, float y2,
                              bool showMarker, const Trace& trace);
    void PrintSegmentClipRight(DrawingSurface& p, float x1, float y1, float x2, float y2,
                               bool showMarker, const Trace& trace);
    void PrintMiddleSegment(DrawingSurface& p, int32_t a, int32_t b, bool markers,
                            bool lastSegment, const Trace& trace);
    void PrintPointMarker(DrawingSurface& p, float x, float y, OleColor color);
    void traceLine(DrawingSurface& p, const Trace& trace, double x1, double y1, double x2,
                   double y2);
    float traceY(const Trace& trace, int32_t index) const;

    ChartModel& model_;
    ChartDrawing& drawing_;
    ChartUiServices& ui_;
    double printerPixelWidth_ = 0;
    double printerFontFactor_ = 1;
};

}  // namespace pelomar::core
