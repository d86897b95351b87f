#pragma once

#include <cstdint>
#include <string>

#include "TraceBuilder.h"

namespace pelomar::core {

class ChartModel;
class DrawingSurface;

// Draws one chart: the full redraw of frame, axes, traces and event marks on
// the screen picture, and the incremental drawing of new points. The axis
// and event-mark routines also draw on a printed page.
//
// Nothing here throws: what cannot be placed (a view of zero or non-finite
// span, samples that are not numbers) is left out and the rest is drawn.
class ChartDrawing {
public:
    explicit ChartDrawing(ChartModel& model);

    // The full redraw on the picture, whose size in the control's twips is
    // given. While a rubber band is dragged the traces are owed instead.
    void RedrawChart(DrawingSurface& pic, double widthTwips, double heightTwips);
    // Clears the picture, sets the geometry and its scale, draws the frame and
    // the axes.
    void DrawChartFrame(DrawingSurface& pic, double widthTwips, double heightTwips);
    // Both traces from `startIndex` (0: the view's left edge). True when
    // anything was drawn, so the picture wants a refresh.
    bool DrawTraces(DrawingSurface& pic, int32_t startIndex);
    // The points added since the last pass.
    bool DrawNewPoints(DrawingSurface& pic);

    void DrawXAxis(DrawingSurface& target, bool forPrinter);
    void DrawY1Axis(DrawingSurface& target, bool forPrinter);
    void DrawY2Axis(DrawingSurface& target, bool forPrinter);
    void DrawEventMarks(DrawingSurface& target, int32_t fromIndex, bool forPrinter);

    // m_CharWidth, m_CharHeight2: text width of "W" and twice the height of
    // "I" as of the last frame (or printed chromatogram).
    double charWidth() const noexcept { return charWidth_; }
    double charHeight2() const noexcept { return charHeight2_; }
    void setCharMetrics(double width, double height2) noexcept {
        charWidth_ = width;
        charHeight2_ = height2;
    }
    // Divisor of the value-axis labels, from the last axis drawn.
    double tickDivisor() const noexcept { return tickDivisor_; }

    void setDecimalSeparator(char c) noexcept { decimalSeparator_ = c; }

    // The printed page's scale edges and caption font factor, for the axes
    // drawn with forPrinter.
    void setPrinterFrame(double scaleLeft, double scaleRight, double fontFactor) noexcept {
        printScaleLeft_ = scaleLeft;
        printScaleRight_ = scaleRight;
        printerFontFactor_ = fontFactor;
    }

    // m_Dragging: no trace is drawn while a rubber band is dragged.
    bool dragging() const noexcept { return dragging_; }
    void setDragging(bool d) noexcept { dragging_ = d; }
    // True once after a full redraw whose traces were held back by a drag;
    // the picture then lacks them until the next full redraw.
    bool takeTracesOwed() noexcept {
        const bool owed = tracesOwed_;
        tracesOwed_ = false;
        return owed;
    }

    const TracePass& lastPass() const noexcept { return lastPass_; }

    // The vertex scratch of the passes: a chart that draws no picture (hidden,
    // or only measured) gives it back; the next pass takes it again.
    void releaseScratch() noexcept { buffers_.release(); }
    size_t scratchBytes() const noexcept { return buffers_.heldBytes(); }

private:
    std::string tickLabel(double value, int decimals) const;
    void drawValueCaption(DrawingSurface& target, const std::string& caption, double x,
                          bool forPrinter);
    std::string multiplierText() const;
    void drawMultiplier(DrawingSurface& target, double x, double lastLabelHeight);
    bool scaleUsable() const noexcept;

    ChartModel& model_;
    TraceBuffers buffers_;
    TracePass lastPass_;
    double charWidth_ = 0, charHeight2_ = 0;
    double tickDivisor_ = 1;
    char decimalSeparator_ = '.';
    double printScaleLeft_ = 0, printScaleRight_ = 0, printerFontFactor_ = 1;
    bool dragging_ = false;
    bool tracesOwed_ = false;
};

}  // namespace pelomar::core
