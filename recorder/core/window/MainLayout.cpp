#include "core/window/MainLayout.h"

namespace tavrin {

MainLayout ArrangeControls(const MainLayoutInput& in) {
    MainLayout out;
    if (in.width < in.axisFrameWidth + kLayoutGapTwips) out.newWidth = in.axisFrameWidth + kLayoutGapTwips;
    if (in.height < kMinWindowHeightTwips) out.newHeight = kMinWindowHeightTwips;

    out.axisFrame = {(in.scaleWidth - in.axisFrameWidth) / 2, in.scaleHeight - in.axisFrameHeight,
                     in.axisFrameWidth, in.axisFrameHeight};

    out.tab.left = in.tabLeft;
    out.tab.top = in.toolbarHeight + kLayoutGapTwips;
    out.tab.width = in.scaleWidth;
    out.tab.height = out.axisFrame.top - out.tab.top - kLayoutGapTwips;

    const int32_t clientWidth = out.tab.width - in.tabClientLeftInset - in.tabClientRightInset;
    const int32_t clientHeight = out.tab.height - in.tabClientTopInset - in.tabClientBottomInset;
    out.chart = {out.tab.left + in.tabClientLeftInset, out.tab.top + in.tabClientTopInset, clientWidth,
                 clientHeight - in.scrollHeight};
    out.scroll = {out.chart.left, out.chart.top + out.chart.height, clientWidth, in.scrollHeight};

    out.ledsFrame = {in.scaleWidth - in.ledsFrameWidth, in.toolbarHeight, in.ledsFrameWidth, 0};
    return out;
}

}  // namespace tavrin
