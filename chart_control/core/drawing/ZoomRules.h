#pragma once

#include "core/model/PlotGeometry.h"

namespace pelomar::core {

// A rubber band from the anchor to (x, y) zooms only when it is wider than
// half a "W" and than 0.1 X units, taller than 0.001 Y1 units, and changes
// the height by more than 0.00001 of the anchor's value. An anchor at 0 has
// no relative change to measure; that test passes there.
bool zoomAccepted(float anchorX, float anchorY, float x, float y, double charWidth) noexcept;

// The view of an accepted band, whichever corner it was dragged from; the Y2
// range follows the Y1 range through the view as it was.
ViewWindow zoomedView(const ViewWindow& view, float anchorX, float anchorY, float x,
                      float y) noexcept;

}  // namespace pelomar::core
