#include <gtest/gtest.h>

#include <cmath>

#include "core/model/PlotGeometry.h"
#include "common/RuntimeError.h"

using namespace pelomar;
using namespace pelomar::core;

TEST(PlotGeometry, DefaultViewOnA9000TwipPicture) {
    const ViewWindow v;  // X 0..10, Y1 -0.2..2, Y2 0..500
    const PlotGeometry g = computeGeometry(v, 9000, 6000, 600, 400);
    ASSERT_TRUE(g.Valid);
    EXPECT_NEAR(g.XUnit, 10.0 * 200 / 9000, 1e-12);
    EXPECT_NEAR(g.ScaleLeft, -1.1111111, 1e-6);
    EXPECT_NEAR(g.ScaleRight, 11.1111111, 1e-6);
    const double y1Span = static_cast<double>(2.0f - (-0.2f));  // a Single difference, then held as a Double
    EXPECT_EQ(g.Y1Span, y1Span);
    EXPECT_NE(g.Y1Span, 2.0 - static_cast<double>(-0.2f));  // not the Double difference
    EXPECT_NEAR(g.Y1Unit, y1Span * 250 / 6000, 1e-12);
    EXPECT_NEAR(g.Y1ScaleTop, 2 + 2 * g.Y1Unit, 1e-12);
    EXPECT_NEAR(g.Y1ScaleBottom, static_cast<double>(-0.2f) - 3 * g.Y1Unit, 1e-12);
    EXPECT_LT(g.Y1PerPixel, 0);
    EXPECT_EQ(g.XToPixel(static_cast<float>(g.ScaleLeft)), 0);
    EXPECT_EQ(g.XToPixel(static_cast<float>(g.ScaleRight)), 600);
    EXPECT_EQ(g.YToPixel(static_cast<float>(g.Y1ScaleTop)), 0);
    EXPECT_EQ(g.YToPixel(static_cast<float>(g.Y1ScaleBottom)), 400);
}

TEST(PlotGeometry, PixelTiesGoToEven) {
    ViewWindow v;
    v.XStart = 0;
    v.XEnd = 10;
    // 10000 twips: X unit 0.2, scale -1 .. 11 over 12 pixels: one pixel a minute.
    const PlotGeometry g = computeGeometry(v, 10000, 6000, 12, 400);
    EXPECT_EQ(g.XToPixel(-0.5f), 0);  // 0.5 -> 0
    EXPECT_EQ(g.XToPixel(0.5f), 2);   // 1.5 -> 2
    EXPECT_EQ(g.XToPixel(1.5f), 2);   // 2.5 -> 2
}

TEST(PlotGeometry, DegenerateViewsAreInvalidAndNeverMapped) {
    ViewWindow zeroX;
    zeroX.XEnd = zeroX.XStart;
    ViewWindow nanY;
    nanY.Y1End = NAN;
    ViewWindow zeroY2;
    zeroY2.Y2End = zeroY2.Y2Start;
    for (const ViewWindow& v : {zeroX, nanY, zeroY2}) {
        const PlotGeometry g = computeGeometry(v, 9000, 6000, 600, 400);
        EXPECT_FALSE(g.Valid);
        EXPECT_THROW(g.XToPixel(1), RuntimeError);
    }
    EXPECT_FALSE(computeGeometry(ViewWindow{}, 0, 0, 0, 0).Valid);
}

TEST(PlotGeometry, PixelsOutOfRangeAreOverflow) {
    const PlotGeometry g = computeGeometry(ViewWindow{}, 9000, 6000, 600, 400);
    try {
        g.XToPixel(1e30f);
        ADD_FAILURE();
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), 6);
    }
    EXPECT_THROW(g.YToPixel(NAN), RuntimeError);
}

TEST(ViewWindow, MapsTheY2AxisOntoY1AndBack) {
    ViewWindow v;
    EXPECT_FLOAT_EQ(v.Y2ToY1(v.Y2Start), v.Y1Start);
    EXPECT_FLOAT_EQ(v.Y2ToY1(v.Y2End), v.Y1End);
    EXPECT_FLOAT_EQ(v.Y2ToY1(250), 0.9f);
    for (float y2 : {0.0f, 17.5f, 250.0f, 499.0f}) EXPECT_NEAR(v.Y1ToY2(v.Y2ToY1(y2)), y2, 1e-3);
}
