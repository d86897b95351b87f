#pragma once

#include <cmath>
#include <initializer_list>
#include <ostream>

#include "RecordingSurface.h"
#include "core/drawing/ChartDrawing.h"
#include "core/model/ChartModel.h"
#include "common/Rounding.h"

namespace pelomar::testing {

// A chart on a recording picture of 10000 x 6000 twips (667 x 400 pixels).
struct DrawingFixture {
    core::ChartModel model;
    core::ChartDrawing drawing{model};
    RecordingSurface pic{667, 400};
    static constexpr double kWidthTwips = 10000, kHeightTwips = 6000;

    DrawingFixture() { model.initScaleFields(); }

    void setView(float x0, float x1, float y0, float y1, float y20 = 0, float y21 = 500) {
        model.setXStart(x0);
        model.setXEnd(x1);
        model.setY1Start(y0);
        model.setY1End(y1);
        model.setY2Start(y20);
        model.setY2End(y21);
    }
    void add(std::initializer_list<float> y1s, float y2 = 0) {
        for (float v : y1s) model.AddPoints(v, y2);
    }
    void redraw() { drawing.RedrawChart(pic, kWidthTwips, kHeightTwips); }

    // The device pixel of a chart point, as the trace maps it.
    core::DevicePoint pixel(float x, float y) const {
        const core::PlotGeometry& g = model.geometry();
        return {static_cast<int32_t>(core::roundHalfEven((x - g.ScaleLeft) / g.XPerPixel)),
                static_cast<int32_t>(core::roundHalfEven((y - g.Y1ScaleTop) / g.Y1PerPixel))};
    }
    float t(int32_t i) const { return model.IndexToTime(i); }

    std::vector<RecordingSurface::Record> polylines() const {
        return pic.of(RecordingSurface::Op::Polyline);
    }
};

}  // namespace pelomar::testing

namespace pelomar::core {
inline bool operator==(const DevicePoint& a, const DevicePoint& b) { return a.x == b.x && a.y == b.y; }
inline std::ostream& operator<<(std::ostream& o, const DevicePoint& p) {
    return o << "(" << p.x << ", " << p.y << ")";
}
}  // namespace pelomar::core
