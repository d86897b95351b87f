#pragma once

#include <cstdint>

namespace pelomar::core {

// The twips of the control's own scale: 15 to a pixel at 96 dots an inch.
inline constexpr int kTwipsPerPixel = 15;

// The range actually shown, apart from the full range of the properties.
struct ViewWindow {
    float XStart = 0, XEnd = 10;
    float Y1Start = -0.2f, Y1End = 2;
    float Y2Start = 0, Y2End = 500;

    // Maps a conductivity value onto the UV axis and back, over the view.
    float Y2ToY1(float v) const noexcept;
    float Y1ToY2(float v) const noexcept;
};

// The plot geometry of one full redraw: the view surrounded by margins of
// 5 X units left and right, 2 Y1 units above and 3 below.
struct PlotGeometry {
    double XSpan = 0, XUnit = 0, ScaleLeft = 0, ScaleRight = 0;
    double Y1Span = 0, Y1Unit = 0, Y1ScaleTop = 0, Y1ScaleBottom = 0;
    double Y2Span = 0, Y2Unit = 0, Y2ScaleTop = 0, Y2ScaleBottom = 0;
    int32_t PixelWidth = 0, PixelHeight = 0;
    double XPerPixel = 0, Y1PerPixel = 0, Y2PerPixel = 0;
    // False when a span is zero or not finite, or the picture has no size:
    // nothing may then be mapped to pixels.
    bool Valid = false;

    // Pixel column and row of a point in X and Y1 units, ties to even;
    // raise 6 when the geometry is invalid or the pixel is out of range.
    int32_t XToPixel(float x) const;
    int32_t YToPixel(float y) const;
};

// Computes the geometry of `view` on a picture of the given size in twips
// (the control's scale) and in pixels.
PlotGeometry computeGeometry(const ViewWindow& view, double widthTwips, double heightTwips,
                             int32_t pixelWidth, int32_t pixelHeight) noexcept;

}  // namespace pelomar::core
