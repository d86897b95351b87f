#include "ToolTipPlacement.h"

#include <algorithm>
#include <cmath>

namespace pelomar::core {

PixelPoint placeToolTip(int32_t pointerX, int32_t pointerY, int32_t tipWidth, int32_t tipHeight,
                        int32_t pictureWidth, int32_t pictureHeight, double xUnitPixels,
                        double y1UnitPixels, bool upperHalf) noexcept {
    const double ux = std::isfinite(xUnitPixels) ? std::fabs(xUnitPixels) : 0;
    const double uy = std::isfinite(y1UnitPixels) ? std::fabs(y1UnitPixels) : 0;
    const auto below = static_cast<int32_t>(std::lround(pointerY + 2 * uy));
    const auto above = static_cast<int32_t>(std::lround(pointerY - uy)) - tipHeight;
    const bool fitsBelow = below + tipHeight <= pictureHeight;
    const bool fitsAbove = above >= 0;

    PixelPoint p;
    if (upperHalf)
        p.y = fitsBelow || !fitsAbove ? below : above;
    else
        p.y = fitsAbove || !fitsBelow ? above : below;

    p.x = static_cast<int32_t>(std::lround(pointerX - 2 * ux));
    p.x = std::min(p.x, pictureWidth - tipWidth);
    p.x = std::max(p.x, 0);
    return p;
}

}  // namespace pelomar::core
