#pragma once

namespace pelomar::core {

// A clipped end of a trace segment; `inside` when the point needed no
// clipping at all.
struct ClipPoint {
    float x = 0;
    float y = 0;
    bool inside = false;
};

// Visible start of the segment (x1, y1)-(x2, y2) at the left edge `left` and
// within the band [low, high].
ClipPoint ClipSegmentStart(float x1, float y1, float x2, float y2, float low, float high,
                           float left) noexcept;
// Visible end of the segment at the right edge `right`, the mirror image.
ClipPoint ClipSegmentEnd(float x1, float y1, float x2, float y2, float low, float high,
                         float right) noexcept;

}  // namespace pelomar::core
