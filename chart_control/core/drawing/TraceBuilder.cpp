#include "TraceBuilder.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/model/ChartModel.h"
#include "common/Rounding.h"
#include "SegmentClip.h"

namespace pelomar::core {

namespace {

constexpr size_t kVertexCapacity = 30002;
// Pixel coordinates beyond this are not on any picture; such a vertex is
// dropped instead of overflowing the device's integer coordinates.
constexpr double kPixelLimit = 1 << 28;

std::optional<int32_t> toPixel(double v) noexcept {
    if (!std::isfinite(v) || std::fabs(v) > kPixelLimit) return std::nullopt;
    return static_cast<int32_t>(roundHalfEven(v));
}

// One trace: its values, its band and its row mapping.
struct TraceSide {
    bool isY2 = false;
    float lo = 0, hi = 0;
    double rowTop = 0, rowPerPixel = 1;
    std::vector<DevicePoint>* vertices = nullptr;
    std::vector<TraceMarker>* markers = nullptr;
};

class Builder {
public:
    Builder(const ChartModel& m, const TracePass& pass)
        : m_(m), g_(m.geometry()), pass_(pass) {}

    void run(const TraceSide& s) {
        const int32_t first = pass_.first, last = pass_.last, step = pass_.step;
        const float left = m_.view().XStart, right = m_.view().XEnd;

        const ClipPoint a = ClipSegmentStart(t(first), v(s, first), t(first + step),
                                             v(s, first + step), s.lo, s.hi, left);
        vertex(s, a.x, a.y, a.inside);

        int32_t prev = first;
        for (int64_t i64 = static_cast<int64_t>(first) + step; i64 <= static_cast<int64_t>(last) - step;
             i64 += step) {
            const int32_t i = static_cast<int32_t>(i64);
            middle(s, i - step, i, i + step);
            prev = i;
        }

        const ClipPoint e = ClipSegmentEnd(t(prev), v(s, prev), t(last), v(s, last), s.lo, s.hi, right);
        vertex(s, e.x, e.y, e.inside);

        if (extends()) {
            const ClipPoint x = ClipSegmentEnd(t(last), v(s, last), t(last + step),
                                               v(s, last + step), s.lo, s.hi, right);
            vertex(s, x.x, x.y, x.inside);
        }
    }

    bool extends() const {
        const int64_t next = static_cast<int64_t>(pass_.last) + pass_.step;
        return next < static_cast<int64_t>(m_.NumPoints()) - 1 && t(pass_.last) < m_.view().XEnd;
    }

private:
    float t(int32_t i) const { return m_.IndexToTime(i); }
    float v(const TraceSide& s, int32_t i) const {
        const PointRec& p = m_.points().at(i);
        return s.isY2 ? p.Y2 : p.Y1;
    }
    float clampX(float x) const {
        if (std::isnan(x)) return x;
        return std::clamp(x, m_.view().XStart, m_.view().XEnd);
    }

    void middle(const TraceSide& s, int32_t p, int32_t i, int32_t n) {
        const float vi = v(s, i);
        if (!std::isfinite(vi)) return;
        if (s.lo <= vi && vi <= s.hi) {
            vertex(s, t(i), vi, true);
        } else if (vi > s.hi) {
            if (v(s, p) < s.hi) {
                vertex(s, clampX(InterpolateX(t(p), v(s, p), t(i), vi, s.hi)), s.hi, false);
            } else if (v(s, n) < s.hi) {
                vertex(s, clampX(InterpolateX(t(i), vi, t(n), v(s, n), s.hi)), s.hi, false);
            } else {
                vertex(s, t(i), s.hi, false);
            }
        } else {
            if (v(s, p) > s.lo) {
                vertex(s, clampX(InterpolateX(t(p), v(s, p), t(i), vi, s.lo)), s.lo, false);
            } else if (v(s, n) > s.lo) {
                vertex(s, clampX(InterpolateX(t(i), vi, t(n), v(s, n), s.lo)), s.lo, false);
            } else {
                vertex(s, t(i), s.lo, false);
            }
        }
    }

    void vertex(const TraceSide& s, float x, float y, bool unclipped) {
        const auto col = toPixel((static_cast<double>(x) - g_.ScaleLeft) / g_.XPerPixel);
        const auto row = toPixel((static_cast<double>(y) - s.rowTop) / s.rowPerPixel);
        if (!col || !row) return;
        s.vertices->push_back({*col, *row});
        if (pass_.markers && unclipped)
            s.markers->push_back({x, s.isY2 ? m_.view().Y2ToY1(y) : y});
    }

    const ChartModel& m_;
    const PlotGeometry& g_;
    const TracePass& pass_;
};

bool usable(double v) { return std::isfinite(v) && v != 0; }

}  // namespace

void TraceBuffers::clear() {
    y1.clear();
    y2.clear();
    y1Markers.clear();
    y2Markers.clear();
    y1.reserve(kVertexCapacity);
    y2.reserve(kVertexCapacity);
}

void TraceBuffers::release() noexcept {
    std::vector<DevicePoint>().swap(y1);
    std::vector<DevicePoint>().swap(y2);
    std::vector<TraceMarker>().swap(y1Markers);
    std::vector<TraceMarker>().swap(y2Markers);
}

size_t TraceBuffers::heldBytes() const noexcept {
    return (y1.capacity() + y2.capacity()) * sizeof(DevicePoint) +
           (y1Markers.capacity() + y2Markers.capacity()) * sizeof(TraceMarker);
}

int32_t traceStep(int32_t first, int32_t last) noexcept {
    const double s = roundHalfEven((static_cast<double>(last) - first) / 15000 + 0.5);
    if (!(s >= 1)) return 1;
    return s > std::numeric_limits<int32_t>::max() ? std::numeric_limits<int32_t>::max()
                                                   : static_cast<int32_t>(s);
}

std::optional<int32_t> safeTimeToIndex(double time, double pointsPerUnit) noexcept {
    const double d = roundHalfEven(time * pointsPerUnit - 0.5);
    if (std::isnan(d)) return std::nullopt;
    constexpr double lo = std::numeric_limits<int32_t>::min();
    constexpr double hi = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(std::clamp(d, lo, hi));
}

TracePass buildTraces(const ChartModel& model, int32_t startIndex, bool withY2, TraceBuffers& out) {
    out.clear();
    TracePass pass;
    const PlotGeometry& g = model.geometry();
    const ViewWindow& view = model.view();
    if (!usable(g.XPerPixel) || !usable(g.Y1PerPixel)) return pass;
    withY2 = withY2 && usable(g.Y2PerPixel);

    const double ppu = model.timeScale().PointsPerUnit;
    const auto lastAt = safeTimeToIndex(view.XEnd, ppu);
    if (!lastAt) return pass;
    int32_t last = std::min(*lastAt, model.NumPoints() - 1);
    int32_t first = startIndex;
    if (first == 0) {
        const auto firstAt = safeTimeToIndex(view.XStart, ppu);
        if (!firstAt) return pass;
        first = *firstAt;
    }
    first = std::max(first, 0);
    if (first >= last) return pass;

    pass.drawn = true;
    pass.first = first;
    pass.last = last;
    pass.step = traceStep(first, last);
    pass.markers = static_cast<float>(g.XSpan) < 0.25f;

    Builder b(model, pass);
    TraceSide y1{false, view.Y1Start, view.Y1End, g.Y1ScaleTop, g.Y1PerPixel, &out.y1, &out.y1Markers};
    b.run(y1);
    if (withY2) {
        TraceSide y2{true, view.Y2Start, view.Y2End, g.Y2ScaleTop, g.Y2PerPixel, &out.y2,
                     &out.y2Markers};
        b.run(y2);
    }
    pass.lastDrawn = b.extends() ? last + pass.step : last;
    return pass;
}

}  // namespace pelomar::core
