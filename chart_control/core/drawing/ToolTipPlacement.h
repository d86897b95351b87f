#pragma once

#include <cstdint>

namespace pelomar::core {

struct PixelPoint {
    int32_t x = 0;
    int32_t y = 0;
};

// Top-left pixel of a tool tip of tipWidth x tipHeight pixels for the
// pointer at (pointerX, pointerY): two X units to the left of it, and two Y1
// units below it when the pointer is in the upper half of the view, else one
// Y1 unit above it. The tip stays inside the picture across, and changes
// sides rather than slide over the pointer, which would make it flicker.
PixelPoint placeToolTip(int32_t pointerX, int32_t pointerY, int32_t tipWidth, int32_t tipHeight,
                        int32_t pictureWidth, int32_t pictureHeight, double xUnitPixels,
                        double y1UnitPixels, bool upperHalf) noexcept;

}  // namespace pelomar::core
