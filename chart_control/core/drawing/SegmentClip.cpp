#include "SegmentClip.h"

#include <limits>

#include "core/model/TimeScale.h"

namespace pelomar::core {

namespace {
// What a segment with a value that is not a number yields: nothing drawable.
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
}  // namespace

ClipPoint ClipSegmentStart(float x1, float y1, float x2, float y2, float low, float high,
                           float left) noexcept {
    ClipPoint p{kNaN, kNaN, false};
    if (x1 >= left) {
        if (low <= y1 && y1 <= high) {
            p = {x1, y1, true};
        } else if (y1 > high) {
            p = {y2 < high ? InterpolateX(x1, y1, x2, y2, high) : x1, high, false};
        } else if (y1 < low) {
            p = {y2 > low ? InterpolateX(x1, y1, x2, y2, low) : x1, low, false};
        }
        return p;
    }
    const float yL = InterpolateY(x1, y1, x2, y2, left);
    if (low <= yL && yL <= high) {
        p = {left, yL, false};
    } else if (yL > high) {
        p = {InterpolateX(left, yL, x2, y2, high), high, false};
    } else if (yL < low) {
        p = {InterpolateX(left, yL, x2, y2, low), low, false};
    }
    if (!(p.x >= left && p.x <= x2)) p.x = left;
    return p;
}

ClipPoint ClipSegmentEnd(float x1, float y1, float x2, float y2, float low, float high,
                         float right) noexcept {
    ClipPoint p{kNaN, kNaN, false};
    if (x2 <= right) {
        if (low <= y2 && y2 <= high) {
            p = {x2, y2, true};
        } else if (y2 > high) {
            p = {y1 < high ? InterpolateX(x1, y1, x2, y2, high) : x2, high, false};
        } else if (y2 < low) {
            p = {y1 > low ? InterpolateX(x1, y1, x2, y2, low) : x2, low, false};
        }
        return p;
    }
    const float yR = InterpolateY(x1, y1, x2, y2, right);
    if (low <= yR && yR <= high) {
        p = {right, yR, false};
    } else if (yR > high) {
        p = {InterpolateX(x1, y1, right, yR, high), high, false};
    } else if (yR < low) {
        p = {InterpolateX(x1, y1, right, yR, low), low, false};
    }
    if (!(p.x >= x1 && p.x <= right)) p.x = right;
    return p;
}

}  // namespace pelomar::core
