#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>

namespace pelomar::core {

class ChartDrawing;
class ChartModel;

// What the mouse handling asks of its widget.
struct ChartMouseEvents {
    std::function<void()> fullRedraw;
    std::function<void(bool raiseEvt)> resetZoom;
    std::function<void(float, float, float, float, float, float)> zoomEnd;
    std::function<void()> rightMouseUp;
    std::function<void(float x, float y)> tipChange;
    // The rubber band or the cursor line changed: repaint the overlay.
    std::function<void()> overlayChanged;
    // A new tool-tip caption for the pointer at (x, y) in chart coordinates;
    // `upperHalf` when the pointer is in the upper half of the view.
    std::function<void(const std::string& caption, float x, float y, bool upperHalf)> placeToolTip;
    std::function<void(bool enabled)> toolTipTimer;
    std::function<void(bool visible)> toolTipVisible;
};

// The mouse on the chart: the rubber-band zoom, unzoom by double or right
// click, the cursor line and the delayed value and label tool tips.
// Coordinates are the picture's user scale (X units, Y1 units).
class ChartMouse {
public:
    static constexpr int kLeft = 1;
    static constexpr int kRight = 2;

    ChartMouse(ChartModel& model, ChartDrawing& drawing, ChartMouseEvents events);

    void MouseDown(int button, float x, float y);
    // `buttons` is the set of buttons held.
    void MouseMove(int buttons, float x, float y);
    void MouseUp(int button, float x, float y);
    void DblClick();
    void TimerToolTip();
    void ToolTipMouseMove() { HideToolTip(); }
    // The pointer left the picture: no more moves will come to hide what it
    // showed, so a tip still armed is dropped as well.
    void MouseLeave();
    void HideToolTip();

    void setDecimalSeparator(char c) noexcept { decimalSeparator_ = c; }

    // The rubber band, anchor to current corner, in device pixels.
    struct Band {
        int32_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    };
    std::optional<Band> band() const;
    bool dragging() const noexcept;
    bool sliderVisible() const noexcept { return sliderVisible_; }
    float sliderX() const noexcept { return sliderX_; }
    const std::string& toolTipCaption() const noexcept { return caption_; }
    bool toolTipShown() const noexcept { return toolTipShown_; }

    bool insidePlot(float x, float y) const noexcept;

private:
    void clampToPlotArea(float& x, float& y) const noexcept;
    void moveSlider(float x);
    void showToolTip(float x, float y, const std::string& text,
                     const std::string* v1 = nullptr, const std::string* v2 = nullptr);
    bool labelTip(float x, float y);
    void valueTip(float x, float y);
    bool plotUsable() const noexcept;

    ChartModel& model_;
    ChartDrawing& drawing_;
    ChartMouseEvents events_;
    char decimalSeparator_ = '.';
    float anchorX_ = 0, anchorY_ = 0, lastX_ = 0, lastY_ = 0;
    int32_t anchorPixelX_ = 0, anchorPixelY_ = 0;
    bool sliderVisible_ = false;
    float sliderX_ = std::numeric_limits<float>::quiet_NaN();
    std::string caption_;
    bool toolTipShown_ = false;
};

}  // namespace pelomar::core
