#include "ZoomRules.h"

#include <cmath>

namespace pelomar::core {

bool zoomAccepted(float anchorX, float anchorY, float x, float y, double charWidth) noexcept {
    const float dx = std::fabs(static_cast<float>(static_cast<double>(x) - anchorX));
    const float dy = std::fabs(static_cast<float>(static_cast<double>(y) - anchorY));
    if (!(dx > std::fabs(charWidth / 2))) return false;
    if (!(dy > 0.001)) return false;
    if (!(dx > 0.1)) return false;
    if (anchorY == 0) return true;
    const float rel = std::fabs(
        static_cast<float>((static_cast<double>(anchorY) - y) / static_cast<double>(anchorY)));
    return rel > 0.00001;
}

ViewWindow zoomedView(const ViewWindow& view, float anchorX, float anchorY, float x,
                      float y) noexcept {
    ViewWindow z = view;
    if (x <= anchorX) {
        z.XStart = x;
        z.XEnd = anchorX;
    } else {
        z.XStart = anchorX;
        z.XEnd = x;
    }
    const float y2AtAnchor = view.Y1ToY2(anchorY);
    const float y2AtY = view.Y1ToY2(y);
    if (y <= anchorY) {
        z.Y2End = y2AtAnchor;
        z.Y2Start = y2AtY;
        z.Y1Start = y;
        z.Y1End = anchorY;
    } else {
        z.Y2End = y2AtY;
        z.Y2Start = y2AtAnchor;
        z.Y1Start = anchorY;
        z.Y1End = y;
    }
    return z;
}

}  // namespace pelomar::core
