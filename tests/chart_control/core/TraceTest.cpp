#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "DrawingFixture.h"
#include "core/drawing/SegmentClip.h"
#include "core/model/TimeScale.h"
#include "core/drawing/TraceBuilder.h"

using namespace pelomar;
using namespace pelomar::core;
using pelomar::testing::DrawingFixture;
using Op = pelomar::testing::RecordingSurface::Op;

TEST(TraceStep, ThinsToAbout15000VerticesWithTiesToEven) {
    struct Case {
        int32_t span;  // last - first
        int32_t step;
    };
    const Case cases[] = {{0, 1},     {1, 1},     {7500, 1},  {14999, 1}, {15000, 2},
                          {22499, 2}, {29999, 2}, {30000, 2}, {30001, 3}, {39999, 3},
                          {44999, 3}, {45000, 4}, {60000, 4}, {75000, 6}, {540000, 36}};
    for (const Case c : cases) EXPECT_EQ(traceStep(0, c.span), c.step) << c.span;
}

TEST(TraceStep, FortyThousandPointsInViewGiveAbout13334Vertices) {
    DrawingFixture f;
    f.setView(0, 200, -1, 1);
    for (int i = 0; i < 40000; ++i) f.model.AddPoints(0.5f, 100);
    f.redraw();
    EXPECT_EQ(f.drawing.lastPass().step, 3);
    const auto lines = f.polylines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].points.size(), 13334u);  // first, 13332 middle, end
    EXPECT_EQ(lines[1].points.size(), 13334u);
}

TEST(SegmentClip, StartAndEndPointsAgainstEdgesAndBand) {
    // Segment from (0, 0.5) to (1, 1.5), band [0, 1].
    EXPECT_TRUE(ClipSegmentStart(0, 0.5f, 1, 1.5f, 0, 1, 0).inside);
    // start left of the edge: moved onto it along the segment
    ClipPoint p = ClipSegmentStart(-1, 0, 1, 1, 0, 1, 0);
    EXPECT_FLOAT_EQ(p.x, 0);
    EXPECT_FLOAT_EQ(p.y, 0.5f);
    EXPECT_FALSE(p.inside);
    // start above the band, falling into it: its crossing with the top
    p = ClipSegmentStart(0, 2, 1, 0, 0, 1, 0);
    EXPECT_FLOAT_EQ(p.x, 0.5f);
    EXPECT_FLOAT_EQ(p.y, 1);
    // both above: the start stays at x1, on the top edge
    p = ClipSegmentStart(0.25f, 2, 1, 3, 0, 1, 0);
    EXPECT_FLOAT_EQ(p.x, 0.25f);
    EXPECT_FLOAT_EQ(p.y, 1);
    // end beyond the right edge and below the band
    p = ClipSegmentEnd(0, 0.5f, 2, -1.5f, 0, 1, 1);
    EXPECT_FLOAT_EQ(p.y, 0);
    EXPECT_FLOAT_EQ(p.x, 0.5f);
    EXPECT_FALSE(p.inside);
    p = ClipSegmentEnd(0, 0.5f, 2, 0.5f, 0, 1, 1);
    EXPECT_FLOAT_EQ(p.x, 1);
    EXPECT_FLOAT_EQ(p.y, 0.5f);
    // a value that is not a number yields nothing drawable
    p = ClipSegmentEnd(0, 0.5f, 1, NAN, 0, 1, 2);
    EXPECT_TRUE(std::isnan(p.y));
}

TEST(Traces, LeavingTheBandAboveAndBelowGivesOneVertexPerPointOnTheEdges) {
    DrawingFixture f;
    f.setView(0, 12.0f / 300, 0, 1);
    f.add({0.5f, 0.5f, 1.5f, 0.5f, -0.5f, -0.6f, 0.5f, 2, 2, 2, 0.5f});
    f.redraw();
    auto t = [&](int i) { return f.t(i); };
    const std::vector<DevicePoint> expected = {
        f.pixel(t(0), 0.5f),
        f.pixel(t(1), 0.5f),
        f.pixel(InterpolateX(t(1), 0.5f, t(2), 1.5f, 1), 1),  // spike: crossing with the previous point
        f.pixel(t(3), 0.5f),
        f.pixel(InterpolateX(t(3), 0.5f, t(4), -0.5f, 0), 0),
        f.pixel(InterpolateX(t(5), -0.6f, t(6), 0.5f, 0), 0),  // below after below: crossing with the next
        f.pixel(t(6), 0.5f),
        f.pixel(InterpolateX(t(6), 0.5f, t(7), 2, 1), 1),
        f.pixel(t(8), 1),  // above between two above: on the edge at its own time
        f.pixel(InterpolateX(t(9), 2, t(10), 0.5f, 1), 1),
        f.pixel(t(10), 0.5f),
    };
    const auto lines = f.polylines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].points, expected);
    EXPECT_EQ(lines[0].color, 0xFF0000u);
    EXPECT_EQ(lines[1].color, 0xFFu);
    EXPECT_EQ(f.model.lastDrawn(), 10);
    EXPECT_EQ(f.pic.foreColor(), 0u);

    // A span under 0.25: a circle on each vertex that needed no clipping.
    const auto circles = f.pic.of(Op::Circle);
    ASSERT_EQ(circles.size(), 5u + 11u);  // Y1: points 0, 1, 3, 6, 10; Y2 (all 0) all inside
    EXPECT_FLOAT_EQ(static_cast<float>(circles[2].x1), t(3));
    EXPECT_EQ(circles[0].color, 0xFF0000u);
    EXPECT_EQ(circles[5].color, 0xFFu);
    EXPECT_DOUBLE_EQ(circles[0].x2, f.pic.textWidth("o") / 3);
}

TEST(Traces, MarkersOnlyBelowAQuarterUnitOfSpan) {
    for (const auto& [span, circles] : {std::pair{0.2f, true}, std::pair{0.25f, false}}) {
        DrawingFixture f;
        f.setView(0, span, 0, 1);
        for (int i = 0; i < 100; ++i) f.model.AddPoints(0.5f, 0);
        f.redraw();
        EXPECT_EQ(!f.pic.of(Op::Circle).empty(), circles) << span;
    }
}

TEST(Traces, FarAboveTheViewIsAFlatLineAlongTheTop) {
    DrawingFixture f;
    f.setView(0, 1, 0, 1);
    for (int i = 0; i < 301; ++i) f.model.AddPoints(5, 0);
    f.redraw();
    const auto y1 = f.polylines().at(0).points;
    ASSERT_FALSE(y1.empty());
    const int32_t top = f.pixel(0, 1).y;
    for (const DevicePoint& p : y1) EXPECT_EQ(p.y, top);
}

TEST(Traces, ExtensionVertexReachesTheRightEdgeWhenDataGoOn) {
    DrawingFixture f;
    f.setView(0, 0.035f, 0, 1);
    for (int i = 0; i < 20; ++i) f.model.AddPoints(0.5f, 0);
    f.redraw();
    const auto y1 = f.polylines().at(0).points;
    ASSERT_EQ(y1.size(), 12u);  // first, 9 middle, end at point 10, extension
    EXPECT_EQ(y1.back(), f.pixel(0.035f, 0.5f));
    EXPECT_EQ(f.model.lastDrawn(), 11);
}

TEST(Traces, NoTraceForNoneOrOnePoint) {
    for (int n : {0, 1}) {
        DrawingFixture f;
        for (int i = 0; i < n; ++i) f.model.AddPoints(0.5f, 1);
        f.redraw();
        EXPECT_TRUE(f.polylines().empty()) << n;
        EXPECT_EQ(f.pic.of(Op::Box).size(), 1u);  // the frame is still drawn
    }
}

TEST(Traces, SamplesThatAreNotNumbersAreLeftOutWithoutFailing) {
    DrawingFixture f;
    f.setView(0, 12.0f / 300, 0, 1);
    const float inf = std::numeric_limits<float>::infinity();
    f.add({0.5f, NAN, 0.5f, inf, -inf, 0.5f, 0.5f});
    ASSERT_NO_THROW(f.redraw());
    const auto y1 = f.polylines().at(0).points;
    // first, point 2, point 5, end at 6: points 1, 3 and 4 are skipped
    EXPECT_EQ(y1, (std::vector<DevicePoint>{f.pixel(f.t(0), 0.5f), f.pixel(f.t(2), 0.5f),
                                            f.pixel(f.t(5), 0.5f), f.pixel(f.t(6), 0.5f)}));
}

TEST(Traces, IndexesStayInsideTheStoreWhateverTheRanges) {
    struct Case {
        float x0, x1;
    };
    for (const Case c : {Case{0, 1e30f}, Case{1e30f, 2e30f}, Case{0, INFINITY}, Case{0, -5},
                         Case{NAN, 10}, Case{5, NAN}}) {
        DrawingFixture f;
        f.setView(c.x0, c.x1, 0, 1);
        for (int i = 0; i < 50; ++i) f.model.AddPoints(0.5f, 1);
        EXPECT_NO_THROW(f.redraw()) << c.x0 << " " << c.x1;
        EXPECT_NO_THROW(f.drawing.DrawNewPoints(f.pic));
        EXPECT_LE(f.model.lastDrawn(), 49);
    }
}
