#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "DrawingFixture.h"
#include "core/drawing/ChartMouse.h"
#include "core/drawing/ToolTipPlacement.h"
#include "core/drawing/ZoomRules.h"

using namespace pelomar;
using namespace pelomar::core;
using pelomar::testing::DrawingFixture;

namespace {
constexpr int L = ChartMouse::kLeft;
constexpr int R = ChartMouse::kRight;

// The mouse on a drawn chart, its widget's side recorded.
struct MouseFixture : DrawingFixture {
    int redraws = 0, resets = 0, rightUps = 0, timerStarts = 0, overlays = 0;
    std::vector<std::array<float, 6>> zooms;
    std::vector<std::pair<float, float>> tipChanges;
    std::vector<std::string> placed;
    bool lastUpperHalf = false, timerOn = false, visible = false;
    ChartMouse mouse{model, drawing, events()};

    MouseFixture() { redraw(); }

    ChartMouseEvents events() {
        ChartMouseEvents e;
        e.fullRedraw = [this] {
            ++redraws;
            redraw();
        };
        e.resetZoom = [this](bool) {
            ++resets;
            model.resetZoomRanges();
            redraw();
            model.setZoomed(false);
        };
        e.zoomEnd = [this](float a, float b, float c, float d, float e2, float f) {
            zooms.push_back({a, b, c, d, e2, f});
        };
        e.rightMouseUp = [this] { ++rightUps; };
        e.overlayChanged = [this] { ++overlays; };
        e.tipChange = [this](float x, float y) { tipChanges.emplace_back(x, y); };
        e.placeToolTip = [this](const std::string& c, float, float, bool upper) {
            placed.push_back(c);
            lastUpperHalf = upper;
        };
        e.toolTipTimer = [this](bool on) {
            timerOn = on;
            timerStarts += on ? 1 : 0;
        };
        e.toolTipVisible = [this](bool v) { visible = v; };
        return e;
    }

    void drag(float x0, float y0, float x1, float y1) {
        mouse.MouseDown(L, x0, y0);
        mouse.MouseMove(L, x1, y1);
        mouse.MouseUp(L, x1, y1);
    }
};
}  // namespace

TEST(ZoomRules, RejectsBandsTooNarrowTooFlatOrOfTooSmallARelativeChange) {
    struct Case {
        const char* what;
        float ax, ay, x, y;
        double charWidth;
        bool accepted;
    };
    const Case cases[] = {
        {"wide and tall", 2, 0.5f, 5, 1, 0.02, true},
        {"narrower than 0.1", 2, 0.5f, 2.09f, 1, 0.02, false},
        {"narrower than half a W", 2, 0.5f, 2.2f, 1, 0.5, false},
        {"W measured negative", 2, 0.5f, 2.3f, 1, -0.5, true},
        {"flatter than 0.001", 2, 0.5f, 5, 0.5009f, 0.02, false},
        {"relative change at most 1e-5", 2, 150, 5, 150.0014f, 0.02, false},
        {"relative change above 1e-5", 2, 150, 5, 150.002f, 0.02, true},
        // 0.0999999985 wide, which is 0.1f as a Single and so more than 0.1
        {"width rounded to a Single", 3e-9f, 0.5f, 0.1f, 1, 0.02, true},
        {"anchor exactly at 0", 2, 0, 5, 1, 0.02, true},
        {"anchor at 0, flat", 2, 0, 5, 0.0005f, 0.02, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(zoomAccepted(c.ax, c.ay, c.x, c.y, c.charWidth), c.accepted) << c.what;
}

TEST(ZoomRules, EitherCornerGivesTheSameViewWithY2FromTheOldView) {
    const ViewWindow v;  // 0..10, -0.2..2, 0..500
    const ViewWindow a = zoomedView(v, 2, 0.9f, 5, 0.2f);
    const ViewWindow b = zoomedView(v, 5, 0.2f, 2, 0.9f);
    for (const ViewWindow& z : {a, b}) {
        EXPECT_EQ(z.XStart, 2);
        EXPECT_EQ(z.XEnd, 5);
        EXPECT_EQ(z.Y1Start, 0.2f);
        EXPECT_EQ(z.Y1End, 0.9f);
        EXPECT_EQ(z.Y2Start, v.Y1ToY2(0.2f));
        EXPECT_EQ(z.Y2End, v.Y1ToY2(0.9f));
    }
    EXPECT_NEAR(a.Y2End, 250, 1e-3);
}

TEST(ChartMouse, DragZoomsTheViewRedrawsThenRaisesZoomEnd) {
    MouseFixture f;
    f.mouse.MouseDown(L, 2, 0.2f);
    EXPECT_TRUE(f.mouse.dragging());
    f.mouse.MouseMove(L, 5, 1);
    const auto band = f.mouse.band();
    ASSERT_TRUE(band);
    EXPECT_EQ(band->x0, f.model.geometry().XToPixel(2));
    EXPECT_EQ(band->x1, f.model.geometry().XToPixel(5));
    f.mouse.MouseUp(L, 5, 1);

    EXPECT_FALSE(f.mouse.dragging());
    EXPECT_FALSE(f.mouse.band());
    ASSERT_EQ(f.zooms.size(), 1u);
    const ViewWindow old;
    EXPECT_EQ(f.zooms[0], (std::array<float, 6>{2, 5, 0.2f, 1, old.Y1ToY2(0.2f), old.Y1ToY2(1)}));
    EXPECT_EQ(f.redraws, 1);
    EXPECT_TRUE(f.model.zoomed());
    EXPECT_EQ(f.model.XEnd(), 10);  // the full range stays

    // a second zoom narrows the current view
    f.drag(3, 0.5f, 4, 0.9f);
    EXPECT_EQ(f.model.view().XStart, 3);
    EXPECT_EQ(f.model.view().XEnd, 4);
}

TEST(ChartMouse, DragLeavingThePlotIsClampedToItsEdge) {
    MouseFixture f;
    f.mouse.MouseDown(L, 2, 0.2f);
    f.mouse.MouseMove(L, 50, -7);
    f.mouse.MouseUp(L, 60, 9);
    ASSERT_EQ(f.zooms.size(), 1u);
    EXPECT_EQ(f.zooms[0][1], 10);
    EXPECT_EQ(f.zooms[0][3], 2);
}

TEST(ChartMouse, PressOutsideThePlotOrWithTheRightButtonStartsNoBand) {
    MouseFixture f;
    f.mouse.MouseDown(L, -0.5f, 1);
    f.mouse.MouseDown(R, 2, 1);
    EXPECT_FALSE(f.mouse.dragging());
}

TEST(ChartMouse, RejectedBandLeavesNoTraceOfItselfAndRaisesNothing) {
    MouseFixture f;
    f.drag(2, 0.5f, 2.05f, 1);
    EXPECT_TRUE(f.zooms.empty());
    EXPECT_FALSE(f.mouse.band());
    EXPECT_EQ(f.redraws, 0);
    EXPECT_FALSE(f.model.zoomed());
}

TEST(ChartMouse, RejectedBandAfterARedrawDuringTheDragRedrawsTheTraces) {
    MouseFixture f;
    for (int i = 0; i < 600; ++i) f.model.AddPoints(0.5f, 3);
    f.mouse.MouseDown(L, 2, 0.5f);
    f.redraw();  // the host redraws while the band is out: traces held back
    EXPECT_TRUE(f.polylines().empty());
    f.mouse.MouseUp(L, 2.01f, 0.5f);
    EXPECT_EQ(f.redraws, 1);
    EXPECT_EQ(f.polylines().size(), 2u);
}

TEST(ChartMouse, RightReleaseDuringALeftDragNeitherResetsNorEndsIt) {
    MouseFixture f;
    f.drag(2, 0.2f, 5, 1);
    ASSERT_TRUE(f.model.zoomed());
    f.mouse.MouseDown(L, 3, 0.3f);
    f.mouse.MouseUp(R, 3.5f, 0.8f);
    EXPECT_EQ(f.resets, 0);
    EXPECT_TRUE(f.mouse.dragging());
    f.mouse.MouseUp(L, 4, 0.8f);
    EXPECT_EQ(f.zooms.size(), 2u);
}

TEST(ChartMouse, RightClickAndDoubleClickUnzoomOnlyAZoomedChart) {
    MouseFixture f;
    for (int i = 0; i < 661; ++i) f.model.AddPoints(0, 0);  // 2.2 minutes
    f.mouse.MouseUp(R, 2, 1);
    f.mouse.DblClick();
    EXPECT_EQ(f.resets, 0);

    f.drag(1, 0.2f, 2, 1);
    f.mouse.MouseUp(R, 2, 1);
    EXPECT_EQ(f.resets, 1);
    EXPECT_FALSE(f.model.zoomed());
    EXPECT_EQ(f.model.XEnd(), 3);
    EXPECT_EQ(f.rightUps, 0);  // never for a strip chart

    f.drag(1, 0.2f, 2, 1);
    f.mouse.DblClick();
    EXPECT_EQ(f.resets, 2);
}

TEST(ChartMouse, CursorLineFollowsThePointerInThePlotOnly) {
    MouseFixture f;
    f.mouse.MouseMove(0, 3, 1);
    EXPECT_TRUE(f.mouse.sliderVisible());
    EXPECT_EQ(f.mouse.sliderX(), 3);
    f.mouse.MouseMove(0, 3.00015f, 1);  // too small a step
    EXPECT_EQ(f.mouse.sliderX(), 3);
    f.mouse.MouseMove(0, 3.001f, 1);
    EXPECT_EQ(f.mouse.sliderX(), 3.001f);
    f.mouse.MouseMove(0, 10.5f, 1);
    EXPECT_FALSE(f.mouse.sliderVisible());
    f.mouse.MouseMove(0, 4, 1);
    f.mouse.MouseDown(L, 4, 1);
    EXPECT_FALSE(f.mouse.sliderVisible());
}

TEST(ChartMouse, ValueTipOfTheNearestSampleShowsAfterTheTimer) {
    MouseFixture f;
    for (int i = 0; i < 300; ++i) f.model.AddPoints(static_cast<float>(i) / 1000, 3);
    f.mouse.setDecimalSeparator(',');
    f.mouse.MouseMove(0, 100.6f / 300, 1.5f);  // nearer to sample 101
    ASSERT_EQ(f.placed.size(), 1u);
    EXPECT_EQ(f.placed[0], " 0,1010 AU  \r  3,00 mS/cm  \r  0,34 min  ");
    EXPECT_TRUE(f.lastUpperHalf);
    EXPECT_TRUE(f.timerOn);
    EXPECT_FALSE(f.visible);

    f.mouse.TimerToolTip();
    EXPECT_TRUE(f.visible);
    EXPECT_TRUE(f.mouse.toolTipShown());
    EXPECT_FALSE(f.timerOn);

    // the same caption again: neither moved nor re-armed
    f.mouse.MouseMove(0, 100.7f / 300, 0.1f);
    EXPECT_EQ(f.placed.size(), 1u);
    EXPECT_EQ(f.timerStarts, 1);

    // beyond the last point it is hidden
    f.mouse.MouseMove(0, 5, 1);
    EXPECT_FALSE(f.visible);
    EXPECT_EQ(f.mouse.toolTipCaption(), "");
}

TEST(ChartMouse, AnArmedTipIsStillShownWhenTheTimerFires) {
    MouseFixture f;
    for (int i = 0; i < 300; ++i) f.model.AddPoints(0.5f, 3);
    f.mouse.MouseMove(0, 0.5f, 1);
    f.mouse.HideToolTip();  // not shown yet: nothing to hide
    f.mouse.TimerToolTip();
    EXPECT_TRUE(f.visible);
    f.mouse.ToolTipMouseMove();  // the pointer over the tip hides it
    EXPECT_FALSE(f.visible);
}

// Leaving the picture takes the line and the tip away whatever state the tip
// is in; no move over the margin comes to do it.
TEST(ChartMouse, LeavingThePictureTakesTheLineAndTheTipAway) {
    enum class Tip { None, Armed, Shown };
    for (const Tip tip : {Tip::None, Tip::Armed, Tip::Shown}) {
        SCOPED_TRACE(static_cast<int>(tip));
        MouseFixture f;
        for (int i = 0; i < 300; ++i) f.model.AddPoints(0.5f, 3);
        const float x = tip == Tip::None ? 5 : 0.5f;  // beyond the last point: no tip
        f.mouse.MouseMove(0, x, 1);
        if (tip == Tip::Shown) f.mouse.TimerToolTip();
        ASSERT_TRUE(f.mouse.sliderVisible());
        const int before = f.overlays;

        f.mouse.MouseLeave();
        EXPECT_FALSE(f.mouse.sliderVisible());
        EXPECT_EQ(f.overlays, before + 1);
        EXPECT_FALSE(f.timerOn);
        EXPECT_FALSE(f.visible);
        EXPECT_FALSE(f.mouse.toolTipShown());
        EXPECT_EQ(f.mouse.toolTipCaption(), "");

        // Coming back over the same sample arms the same tip again.
        const size_t placed = f.placed.size();
        f.mouse.MouseMove(0, 0.5f, 1);
        EXPECT_EQ(f.placed.size(), placed + 1);
        EXPECT_TRUE(f.timerOn);
    }
}

TEST(ChartMouse, LeavingDuringADragLeavesTheBandAlone) {
    MouseFixture f;
    f.mouse.MouseDown(L, 2, 0.5f);
    f.mouse.MouseMove(L, 4, 1.5f);
    const auto band = f.mouse.band();
    ASSERT_TRUE(band);
    f.mouse.MouseLeave();
    ASSERT_TRUE(f.mouse.dragging());
    EXPECT_EQ(f.mouse.band()->x1, band->x1);
    f.mouse.MouseUp(L, 4, 1.5f);
    EXPECT_EQ(f.zooms.size(), 1u);
}

TEST(ChartMouse, TipOfASampleThatIsNotANumberIsHarmless) {
    MouseFixture f;
    f.model.AddPoints(NAN, INFINITY);
    f.model.AddPoints(NAN, -INFINITY);
    ASSERT_NO_THROW(f.mouse.MouseMove(0, 0.001f, 1));
    ASSERT_EQ(f.placed.size(), 1u);
    EXPECT_EQ(f.placed[0], " NaN AU  \r  Inf mS/cm  \r  0.00 min  ");
}

TEST(ChartMouse, LabelUnderThePointerGivesItsEventText) {
    MouseFixture f;
    for (int i = 0; i < 600; ++i) f.model.AddPoints(0.5f, 3);
    f.model.AddLabel("S", 0xFFFF00, 50, 1.0f);
    f.mouse.MouseMove(0, 1.0f, 0.35f);
    ASSERT_EQ(f.placed.size(), 1u);
    EXPECT_EQ(f.placed[0], " Start\r  1.00 min ");
    EXPECT_EQ(f.mouse.sliderX(), 1.0f);  // the cursor line moves as well

    // just beyond 0.9 x 0.75 of a W across: the value tip instead
    const double w = std::fabs(f.drawing.charWidth() * 0.75);
    f.mouse.MouseMove(0, static_cast<float>(1.0 + 0.95 * w), 0.35f);
    ASSERT_EQ(f.placed.size(), 2u);
    EXPECT_NE(f.placed[1].find(" AU "), std::string::npos);
}

TEST(ChartMouse, LineProfileTipRaisesTipChangeAndRightClickRightMouseUp) {
    ChartModel model(true);
    model.setChartType(ChartTypeEnm::LineProfile);
    model.initScaleFields();
    ChartDrawing drawing(model);
    pelomar::testing::RecordingSurface pic(667, 400);
    for (int i = 0; i < 30; ++i) model.AddPoints(static_cast<float>(i) / 10, 0);  // X = i / 5
    drawing.RedrawChart(pic, 10000, 6000);
    std::vector<std::pair<float, float>> tips;
    std::vector<std::string> placed;
    int rightUps = 0;
    bool visible = false;
    ChartMouseEvents e;
    e.tipChange = [&](float x, float y) { tips.emplace_back(x, y); };
    e.placeToolTip = [&](const std::string& c, float, float, bool) { placed.push_back(c); };
    e.rightMouseUp = [&] { ++rightUps; };
    e.toolTipVisible = [&](bool v) { visible = v; };
    ChartMouse mouse(model, drawing, e);

    mouse.MouseMove(0, 1.1f, 1);
    ASSERT_EQ(tips.size(), 1u);
    EXPECT_EQ(tips[0].first, 1.1f);
    EXPECT_EQ(tips[0].second, model.GetValueAtTime(1.1f));
    EXPECT_EQ(placed.at(0), " 1.10 , 0.55 ");
    mouse.MouseMove(0, 6, 1);  // beyond the last point (5.8)
    EXPECT_EQ(tips.size(), 1u);

    mouse.MouseMove(0, 1.1f, 1);
    mouse.TimerToolTip();
    ASSERT_TRUE(visible);
    mouse.MouseUp(R, 1, 1);
    EXPECT_EQ(rightUps, 1);
    EXPECT_FALSE(visible);
}

TEST(ToolTipPlacement, BelowInTheUpperHalfAboveInTheLowerAndNeverOverThePointer) {
    // 16.7 pixels to a Y1 unit, 13.3 to an X unit, a 60 x 45 tip.
    const auto below = placeToolTip(300, 100, 60, 45, 667, 400, 13.3, 16.7, true);
    EXPECT_EQ(below.x, 300 - 27);
    EXPECT_EQ(below.y, 100 + 33);
    const auto above = placeToolTip(300, 300, 60, 45, 667, 400, 13.3, 16.7, false);
    EXPECT_EQ(above.y, 300 - 17 - 45);

    for (int32_t px = 0; px < 667; px += 23) {
        for (int32_t py = 0; py < 400; py += 7) {
            const auto p = placeToolTip(px, py, 60, 45, 667, 400, 13.3, 16.7, py < 200);
            const bool covers = px >= p.x && px < p.x + 60 && py >= p.y && py < p.y + 45;
            ASSERT_FALSE(covers) << px << "," << py;
            ASSERT_GE(p.x, 0);
            ASSERT_LE(p.x + 60, 667);
        }
    }
}
