#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "DrawingFixture.h"

using namespace pelomar;
using namespace pelomar::core;
using pelomar::testing::DrawingFixture;
using Op = pelomar::testing::RecordingSurface::Op;

namespace {
bool contains(const std::vector<std::string>& v, const std::string& s) {
    return std::find(v.begin(), v.end(), s) != v.end();
}
}  // namespace

TEST(ChartFrame, DefaultTenMinuteViewOnA10000TwipPicture) {
    DrawingFixture f;
    f.redraw();
    const PlotGeometry& g = f.model.geometry();
    EXPECT_DOUBLE_EQ(g.XUnit, 0.2);
    EXPECT_DOUBLE_EQ(g.ScaleLeft, -1);
    EXPECT_DOUBLE_EQ(g.ScaleRight, 11);
    EXPECT_EQ(f.pic.scaleLeft(), -1);

    ASSERT_EQ(f.pic.records.front().op, Op::Clear);
    const auto boxes = f.pic.of(Op::Box);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_FLOAT_EQ(static_cast<float>(boxes[0].x2), 10);
    EXPECT_FLOAT_EQ(static_cast<float>(boxes[0].y1), -0.2f);

    const auto printed = f.pic.printed();
    for (int m = 0; m <= 10; ++m) EXPECT_TRUE(contains(printed, std::to_string(m))) << m;
    EXPECT_TRUE(contains(printed, "Time [minutes]"));
    // Y2 0..500 in steps of 50, after the fit on a 400-pixel picture
    EXPECT_TRUE(contains(printed, "500"));
    const auto rotated = f.pic.of(Op::PrintRotated);
    ASSERT_EQ(rotated.size(), 2u);
    EXPECT_EQ(rotated[0].text, "A.U.");
    EXPECT_EQ(rotated[0].height, 13);  // Arial 8 x 1.6, rounded
    EXPECT_EQ(rotated[0].color, 0xFF0000u);
    EXPECT_DOUBLE_EQ(rotated[0].x1, -1);
    EXPECT_EQ(rotated[1].text, "mS/cm");
    EXPECT_EQ(rotated[1].color, 0xFFu);
    EXPECT_DOUBLE_EQ(rotated[1].x1, 11 - 1.3 * 0.2);

    EXPECT_DOUBLE_EQ(f.drawing.charWidth(), f.pic.textWidth("W"));
    EXPECT_DOUBLE_EQ(f.drawing.charHeight2(), 2 * f.pic.textHeight("I"));
    EXPECT_LT(f.drawing.charHeight2(), 0);  // measured in the upward scale
    EXPECT_EQ(f.pic.foreColor(), 0u);
}

TEST(ChartFrame, TickLabelsOfSmallStepsAreDividedAndCarryTheirMultiplier) {
    DrawingFixture f;
    f.setView(0, 10, 0, 0.004f, 0, 0.004f);
    f.redraw();
    const auto printed = f.pic.printed();
    EXPECT_TRUE(contains(printed, "0.50"));
    EXPECT_TRUE(contains(printed, "4.00"));
    EXPECT_EQ(std::count(printed.begin(), printed.end(), "x1.E-3"), 2);  // one per value axis
    EXPECT_DOUBLE_EQ(f.drawing.tickDivisor(), 0.001);

    // UV multiplier right-aligned on the axis, 1.75 text heights above the top
    const auto prints = f.pic.of(Op::Print);
    const auto mul = std::find_if(prints.begin(), prints.end(),
                                  [](const auto& r) { return r.text == "x1.E-3"; });
    ASSERT_NE(mul, prints.end());
    EXPECT_DOUBLE_EQ(mul->x1, 0 - f.pic.textWidth("x1.E-3"));
    EXPECT_NEAR(mul->y1, static_cast<double>(0.004f) - 1.75 * f.pic.textHeight("0"), 1e-12);
}

TEST(ChartFrame, RoundedZeroTickReadsWithoutASign) {
    DrawingFixture f;
    f.setView(0, 10, -0.3f, 0.3f);  // 0.1 steps from -0.3 pass a zero of -2.8e-17
    f.redraw();
    const auto printed = f.pic.printed();
    EXPECT_TRUE(contains(printed, "0.0"));
    EXPECT_FALSE(contains(printed, "-0.0"));
}

TEST(ChartFrame, DecimalSeparatorOfTheUserInTickLabels) {
    DrawingFixture f;
    f.drawing.setDecimalSeparator(',');
    f.redraw();
    EXPECT_TRUE(contains(f.pic.printed(), "1,0"));
}

TEST(ChartFrame, LineProfileHasNoY2AxisAndAnUncolouredUVAxis) {
    ChartModel model(true);
    model.setChartType(ChartTypeEnm::LineProfile);
    model.initScaleFields();
    ChartDrawing drawing(model);
    pelomar::testing::RecordingSurface pic(667, 400);
    pic.setForeColor(0x123456);
    for (int i = 0; i < 100; ++i) model.AddPoints(0.5f, 7);
    drawing.RedrawChart(pic, 10000, 6000);
    const auto rotated = pic.of(Op::PrintRotated);
    ASSERT_EQ(rotated.size(), 1u);
    EXPECT_EQ(rotated[0].color, 0x123456u);
    ASSERT_EQ(pic.of(Op::Polyline).size(), 1u);
}

// The margin below the frame shrinks with the picture: on a low one (the live
// chart at the main window's smallest, about 98 pixels) the time caption sits
// on the picture's bottom edge instead of crossing it; where it fits it keeps
// its place 1.5 text heights below the frame. With the recording surface's
// 12-pixel text the caption ends 30 pixels below the frame, and the margin is
// that deep from a height of 125 pixels.
TEST(ChartFrame, TimeCaptionStaysInsideALowPicture) {
    struct Case {
        int32_t height;
        bool onTheEdge;
    };
    const Case cases[] = {{40, true}, {98, true}, {110, true}, {124, true}, {126, false}, {160, false}, {400, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.height);
        ChartModel model;
        model.initScaleFields();
        ChartDrawing drawing(model);
        pelomar::testing::RecordingSurface pic(667, c.height);
        drawing.RedrawChart(pic, 10000, 15.0 * c.height);
        const auto printed = pic.of(Op::Print);
        const auto caption = std::find_if(printed.begin(), printed.end(),
                                          [](const auto& r) { return r.text == "Time [minutes]"; });
        ASSERT_NE(caption, printed.end());

        // The caption's text box in pixels of the picture.
        const double perRow = pic.scaleHeight() / c.height;
        const double top = (caption->y1 - pic.scaleTop()) / perRow;
        const double bottom = top + pic.textHeight(caption->text) / perRow;
        const double left = (caption->x1 - pic.scaleLeft()) / (pic.scaleWidth() / 667);
        const double right = left + pic.textWidth(caption->text) / (pic.scaleWidth() / 667);
        EXPECT_GE(top, 0);
        EXPECT_LE(bottom, c.height + 1e-9);
        EXPECT_GE(left, 0);
        EXPECT_LE(right, 667);
        const double frameBottom = (model.view().Y1Start - pic.scaleTop()) / perRow;
        if (c.onTheEdge) {
            EXPECT_NEAR(bottom, c.height, 1e-9);
        } else {
            EXPECT_NEAR(top, frameBottom + 18, 1e-9);
            EXPECT_LT(bottom, c.height);
        }
    }
}

TEST(ChartFrame, NegativeViewStartMovesToZero) {
    DrawingFixture f;
    f.setView(-5, 10, 0, 1);
    f.redraw();
    EXPECT_EQ(f.model.view().XStart, 0);
    EXPECT_EQ(f.model.XStart(), -5);  // the property keeps the host's value
}

TEST(ChartFrame, DegenerateViewsDrawWhatCanBeDrawnAndNeverThrow) {
    struct Case {
        const char* what;
        float x0, x1, y0, y1, y20, y21;
        bool frame;
        size_t polylines;
    };
    const Case cases[] = {
        {"zero X span", 5, 5, 0, 1, 0, 500, false, 0},
        {"zero Y1 span", 0, 10, 1, 1, 0, 500, false, 0},
        {"NaN Y1 end", 0, 10, 0, NAN, 0, 500, false, 0},
        {"infinite X end", 0, INFINITY, 0, 1, 0, 500, false, 0},
        {"zero Y2 span", 0, 10, 0, 1, 7, 7, true, 2},
        {"reversed Y1", 0, 10, 1, 0, 0, 500, true, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DrawingFixture f;
        f.setView(c.x0, c.x1, c.y0, c.y1, c.y20, c.y21);
        for (int i = 0; i < 600; ++i) f.model.AddPoints(0.5f, 3);
        ASSERT_NO_THROW(f.redraw());
        EXPECT_NO_THROW(f.drawing.DrawNewPoints(f.pic));
        EXPECT_EQ(f.pic.of(Op::Box).size(), c.frame ? 1u : 0u);
        EXPECT_EQ(f.polylines().size(), c.polylines);
        if (std::string(c.what) == "zero Y2 span") {
            EXPECT_TRUE(f.polylines()[1].points.empty());
            EXPECT_TRUE(contains(f.pic.printed(), "1.0"));  // the Y1 axis has its labels
        }
    }
}

TEST(ChartFrame, AFailingAxisEndsOnlyThatAxis) {
    DrawingFixture f;
    for (int i = 0; i < 300; ++i) f.model.AddPoints(0.5f, 3);
    f.pic.failPrintWith = 5;
    ASSERT_NO_THROW(f.redraw());
    // Every axis stops at its first label, yet all three draw their first tick,
    // the traces follow and the colour is back to black.
    const auto lines = f.pic.of(Op::Line);
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const auto& r) { return r.color == 0xFF0000u; }), 1);
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const auto& r) { return r.color == 0xFFu; }), 1);
    EXPECT_EQ(f.polylines().size(), 2u);
    EXPECT_EQ(f.pic.foreColor(), 0u);
}

TEST(IncrementalDrawing, DrawsOnlyTheNewPointsFromTheLastOneDrawn) {
    DrawingFixture f;
    for (int i = 0; i < 100; ++i) f.model.AddPoints(0.5f, 3);
    f.redraw();
    EXPECT_EQ(f.model.lastDrawn(), 99);

    f.pic.records.clear();
    for (int i = 0; i < 50; ++i) f.model.AddPoints(0.7f, 3);
    EXPECT_TRUE(f.drawing.DrawNewPoints(f.pic));
    const auto lines = f.polylines();
    ASSERT_EQ(lines.size(), 2u);
    ASSERT_EQ(lines[0].points.size(), 51u);  // point 99 again, then 100 .. 149
    EXPECT_EQ(lines[0].points.front(), f.pixel(f.t(99), 0.5f));
    EXPECT_EQ(lines[0].points.back(), f.pixel(f.t(149), 0.7f));
    EXPECT_EQ(f.model.lastDrawn(), 149);

    // nothing new: nothing drawn, no refresh asked for
    f.pic.records.clear();
    EXPECT_FALSE(f.drawing.DrawNewPoints(f.pic));
    EXPECT_TRUE(f.pic.records.empty());
}

// A chart that gives its vertex scratch back (hidden, or only measured)
// draws the same traces afterwards, full and incremental.
TEST(IncrementalDrawing, ReleasedScratchHoldsNothingAndChangesNoTrace) {
    DrawingFixture kept, released;
    for (DrawingFixture* f : {&kept, &released}) {
        f->setView(0, 10, 0, 1);
        for (int i = 0; i < 2000; ++i) f->model.AddPoints(0.5f + 0.4f * std::sin(i / 40.0f), 3 + i % 7);
    }
    EXPECT_EQ(released.drawing.scratchBytes(), 0u);  // none before the first pass
    kept.redraw();
    released.redraw();
    const size_t full = released.drawing.scratchBytes();
    EXPECT_GT(full, 0u);
    released.drawing.releaseScratch();
    EXPECT_EQ(released.drawing.scratchBytes(), 0u);

    for (DrawingFixture* f : {&kept, &released}) {
        f->pic.records.clear();
        for (int i = 0; i < 30; ++i) f->model.AddPoints(0.2f, 100);
        ASSERT_TRUE(f->drawing.DrawNewPoints(f->pic));
    }
    EXPECT_EQ(released.drawing.scratchBytes(), full);
    ASSERT_EQ(released.polylines().size(), 2u);
    for (size_t k = 0; k < 2; ++k) EXPECT_EQ(released.polylines()[k].points, kept.polylines()[k].points) << k;

    released.drawing.releaseScratch();
    for (DrawingFixture* f : {&kept, &released}) {
        f->pic.records.clear();
        f->redraw();
    }
    ASSERT_EQ(released.polylines().size(), 2u);
    for (size_t k = 0; k < 2; ++k) EXPECT_EQ(released.polylines()[k].points, kept.polylines()[k].points) << k;
}

TEST(IncrementalDrawing, AfterAClearStartsAtTheViewsLeftEdge) {
    DrawingFixture f;
    f.setView(1, 10, 0, 1);
    for (int i = 0; i < 600; ++i) f.model.AddPoints(0.5f, 3);
    f.model.ClearData();
    for (int i = 0; i < 600; ++i) f.model.AddPoints(0.5f, 3);
    f.drawing.DrawChartFrame(f.pic, DrawingFixture::kWidthTwips, DrawingFixture::kHeightTwips);
    ASSERT_TRUE(f.drawing.DrawNewPoints(f.pic));
    EXPECT_EQ(f.drawing.lastPass().first, 300);  // TimeToIndex(1.0): 299.5 ties to 300
}

TEST(IncrementalDrawing, NothingWhileDraggingAndAFullRedrawIsOwed) {
    DrawingFixture f;
    for (int i = 0; i < 100; ++i) f.model.AddPoints(0.5f, 3);
    f.drawing.setDragging(true);
    f.redraw();
    EXPECT_TRUE(f.polylines().empty());
    EXPECT_FALSE(f.drawing.DrawNewPoints(f.pic));
    EXPECT_EQ(f.model.lastDrawn(), 0);
    EXPECT_TRUE(f.drawing.takeTracesOwed());
    EXPECT_FALSE(f.drawing.takeTracesOwed());

    // a pass that skipped only new points owes nothing: the next pass catches up
    f.drawing.setDragging(false);
    f.redraw();
    f.drawing.setDragging(true);
    f.model.AddPoints(0.5f, 3);
    EXPECT_FALSE(f.drawing.DrawNewPoints(f.pic));
    EXPECT_FALSE(f.drawing.takeTracesOwed());
}
