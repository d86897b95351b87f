#pragma once

#include <cstdint>
#include <optional>

namespace tavrin {

// Twips in a pixel of the window's screen.
inline constexpr int32_t kTwipsPerPixel = 15;

// The main window's layout on every resize, in twips.
struct TwipRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
    bool operator==(const TwipRect&) const = default;
};

struct MainLayoutInput {
    // Outer size of the window and its inner (scale) size.
    int32_t width = 0;
    int32_t height = 0;
    int32_t scaleWidth = 0;
    int32_t scaleHeight = 0;
    int32_t toolbarHeight = 0;
    int32_t axisFrameWidth = 0;
    int32_t axisFrameHeight = 0;
    int32_t ledsFrameWidth = 0;
    // The tab strip's left edge stays where it was designed.
    int32_t tabLeft = 0;
    // The tab strip's client area inside its own rectangle: the tab row
    // above, a border on the other sides.
    int32_t tabClientLeftInset = 0;
    int32_t tabClientTopInset = 0;
    int32_t tabClientRightInset = 0;
    int32_t tabClientBottomInset = 0;
    int32_t scrollHeight = 0;
};

struct MainLayout {
    // Set when the window must snap to a bigger size.
    std::optional<int32_t> newWidth;
    std::optional<int32_t> newHeight;
    TwipRect axisFrame;
    TwipRect tab;
    // Where every visible chart slot and its scroll bar go.
    TwipRect chart;
    TwipRect scroll;
    TwipRect ledsFrame;
};

inline constexpr int32_t kMinWindowHeightTwips = 5000;
inline constexpr int32_t kLayoutGapTwips = 100;

// Negative sizes (a minimised window) come out as they are; the window
// skips a control it cannot place and goes on with the next.
MainLayout ArrangeControls(const MainLayoutInput& in);

}  // namespace tavrin
