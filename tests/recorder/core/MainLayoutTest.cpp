#include <gtest/gtest.h>

#include "core/window/MainLayout.h"

using namespace tavrin;

namespace {

MainLayoutInput window(int32_t width, int32_t height) {
    MainLayoutInput in;
    in.width = width;
    in.height = height;
    // A frame of 60 twips around and a menu bar of 300 on top.
    in.scaleWidth = width - 120;
    in.scaleHeight = height - 360 - 60;
    in.toolbarHeight = 600;
    in.axisFrameWidth = 8400;
    in.axisFrameHeight = 1575;
    in.ledsFrameWidth = 1800;
    in.tabClientTopInset = 330;
    in.tabClientLeftInset = 15;
    in.tabClientRightInset = 30;
    in.tabClientBottomInset = 45;
    in.scrollHeight = 255;
    return in;
}

}  // namespace

TEST(MainLayout, SnapsToTheAxisFrameWidthAndTheLeastHeight) {
    struct Case {
        int32_t width, height;
        std::optional<int32_t> newWidth, newHeight;
    };
    const Case cases[] = {
        {8650, 6300, {}, {}},
        {8500, 5000, {}, {}},          // exactly at both limits
        {8499, 6300, 8500, {}},        // one twip narrower than the frame + 100
        {8650, 4999, {}, 5000},
        {3000, 2000, 8500, 5000},
    };
    for (const Case& c : cases) {
        const MainLayout l = ArrangeControls(window(c.width, c.height));
        EXPECT_EQ(l.newWidth, c.newWidth) << c.width << "x" << c.height;
        EXPECT_EQ(l.newHeight, c.newHeight) << c.width << "x" << c.height;
    }
}

TEST(MainLayout, AxisFrameCentredAtTheBottomLedsTopRightTabBetween) {
    const MainLayoutInput in = window(12000, 9000);
    const MainLayout l = ArrangeControls(in);
    EXPECT_EQ(l.axisFrame, (TwipRect{(in.scaleWidth - 8400) / 2, in.scaleHeight - 1575, 8400, 1575}));
    EXPECT_EQ(l.ledsFrame.left, in.scaleWidth - 1800);
    EXPECT_EQ(l.ledsFrame.top, 600);
    // 100 twips below the toolbar and above the axis frame, the whole width.
    EXPECT_EQ(l.tab, (TwipRect{0, 700, in.scaleWidth, l.axisFrame.top - 700 - 100}));
}

TEST(MainLayout, ChartFillsTheClientAreaAndTheScrollBarSitsBelowIt) {
    MainLayoutInput in = window(12000, 9000);
    in.tabLeft = 45;
    const MainLayout l = ArrangeControls(in);
    const int32_t clientWidth = l.tab.width - 15 - 30;
    const int32_t clientHeight = l.tab.height - 330 - 45;
    EXPECT_EQ(l.chart, (TwipRect{45 + 15, l.tab.top + 330, clientWidth, clientHeight - 255}));
    EXPECT_EQ(l.scroll, (TwipRect{l.chart.left, l.chart.top + l.chart.height, clientWidth, 255}));
    EXPECT_EQ(l.scroll.top + l.scroll.height, l.tab.top + l.tab.height - 45);
}

TEST(MainLayout, AMinimisedWindowGivesSizesTheWindowSkips) {
    const MainLayout l = ArrangeControls(window(0, 0));
    EXPECT_LT(l.tab.height, 0);
    EXPECT_LT(l.chart.height, 0);
    EXPECT_EQ(l.newWidth, 8500);
}
