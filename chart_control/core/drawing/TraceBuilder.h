#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "DrawingSurface.h"

namespace pelomar::core {

class ChartModel;

// A point marker's centre in chart coordinates (X units, Y1 units).
struct TraceMarker {
    float x = 0;
    float y = 0;
};

// Vertex and marker lists of one drawing pass. Kept by the caller and
// reused, so that appends need no allocation while the chart draws.
struct TraceBuffers {
    std::vector<DevicePoint> y1, y2;
    std::vector<TraceMarker> y1Markers, y2Markers;

    // Empties the lists and holds room for a full pass.
    void clear();
    // Gives the room back; the next pass takes it again.
    void release() noexcept;
    size_t heldBytes() const noexcept;
};

// What one pass covers: points first to last, every step-th one.
struct TracePass {
    bool drawn = false;  // false when there is nothing to draw (first >= last)
    int32_t first = 0, last = 0, step = 1;
    int32_t lastDrawn = 0;  // the next pass's start
    bool markers = false;
};

// The thinning step that keeps a pass near 15000 vertices: (last - first) /
// 15000 + 0.5 rounded half to even, at least 1.
int32_t traceStep(int32_t first, int32_t last) noexcept;

// The sample index at or before `time` (TimeToIndex) without its overflow:
// empty when the time is not a number, clamped to the Long range otherwise.
std::optional<int32_t> safeTimeToIndex(double time, double pointsPerUnit) noexcept;

// Builds the vertex lists of both traces from `startIndex` (0: from the
// view's left edge) over the model's current geometry. The Y2 list is built
// only with `withY2`. Samples and crossings that cannot be placed on the
// picture (not a number, infinite) are left out.
TracePass buildTraces(const ChartModel& model, int32_t startIndex, bool withY2, TraceBuffers& out);

}  // namespace pelomar::core
