#include "PlotGeometry.h"

#include <cmath>

#include "common/Rounding.h"
#include "common/RuntimeErrors.h"
#include "common/RuntimeError.h"

namespace pelomar::core {

// Differences of two Singles are Singles; the spans are then held as Doubles.
float ViewWindow::Y2ToY1(float v) const noexcept {
    const double y1Span = static_cast<double>(Y1End - Y1Start);
    const float relative = (v - Y2Start) / (Y2End - Y2Start);
    return static_cast<float>(relative * y1Span + Y1Start);
}

float ViewWindow::Y1ToY2(float v) const noexcept {
    const double y1Span = static_cast<double>(Y1End - Y1Start);
    const double y2Span = static_cast<double>(Y2End - Y2Start);
    return static_cast<float>(static_cast<double>(v - Y1Start) / y1Span * y2Span + Y2Start);
}

int32_t PlotGeometry::XToPixel(float x) const {
    if (!Valid) throw RuntimeError(err::kDivisionByZero);
    return toLong((static_cast<double>(x) - ScaleLeft) / XPerPixel);
}

int32_t PlotGeometry::YToPixel(float y) const {
    if (!Valid) throw RuntimeError(err::kDivisionByZero);
    return toLong((static_cast<double>(y) - Y1ScaleTop) / Y1PerPixel);
}

PlotGeometry computeGeometry(const ViewWindow& view, double widthTwips, double heightTwips,
                             int32_t pixelWidth, int32_t pixelHeight) noexcept {
    PlotGeometry g;
    g.XSpan = static_cast<double>(view.XEnd - view.XStart);
    g.XUnit = g.XSpan * 200 / widthTwips;
    g.ScaleLeft = view.XStart - 5 * g.XUnit;
    g.ScaleRight = view.XEnd + 5 * g.XUnit;

    g.Y1Span = static_cast<double>(view.Y1End - view.Y1Start);
    g.Y1Unit = g.Y1Span * 250 / heightTwips;
    g.Y1ScaleTop = view.Y1End + 2 * g.Y1Unit;
    g.Y1ScaleBottom = view.Y1Start - 3 * g.Y1Unit;

    g.Y2Span = static_cast<double>(view.Y2End - view.Y2Start);
    g.Y2Unit = g.Y2Span * 250 / heightTwips;
    g.Y2ScaleTop = view.Y2End + 2 * g.Y2Unit;
    g.Y2ScaleBottom = view.Y2Start - 3 * g.Y2Unit;

    g.PixelWidth = pixelWidth;
    g.PixelHeight = pixelHeight;
    g.XPerPixel = (g.ScaleRight - g.ScaleLeft) / pixelWidth;
    g.Y1PerPixel = (g.Y1ScaleBottom - g.Y1ScaleTop) / pixelHeight;
    g.Y2PerPixel = (g.Y2ScaleBottom - g.Y2ScaleTop) / pixelHeight;

    auto usable = [](double v) { return std::isfinite(v) && v != 0; };
    g.Valid = pixelWidth > 0 && pixelHeight > 0 && widthTwips > 0 && heightTwips > 0 &&
              usable(g.XSpan) && usable(g.Y1Span) && usable(g.Y2Span) && usable(g.XPerPixel) &&
              usable(g.Y1PerPixel) && usable(g.Y2PerPixel);
    return g;
}

}  // namespace pelomar::core
