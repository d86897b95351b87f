#include "ChartMouse.h"

#include <cmath>

#include "ChartDrawing.h"
#include "core/model/ChartModel.h"
#include "EventMarks.h"
#include "common/NumberFormat.h"
#include "TraceBuilder.h"
#include "ZoomRules.h"

namespace pelomar::core {

namespace {
template <typename F, typename... Args>
void raise(const F& f, Args&&... args) {
    if (f) f(std::forward<Args>(args)...);
}
}  // namespace

ChartMouse::ChartMouse(ChartModel& model, ChartDrawing& drawing, ChartMouseEvents events)
    : model_(model), drawing_(drawing), events_(std::move(events)) {}

bool ChartMouse::dragging() const noexcept { return drawing_.dragging(); }

bool ChartMouse::plotUsable() const noexcept {
    const PlotGeometry& g = model_.geometry();
    auto usable = [](double v) { return std::isfinite(v) && v != 0; };
    return g.PixelWidth > 0 && g.PixelHeight > 0 && usable(g.XPerPixel) && usable(g.Y1PerPixel) &&
           std::isfinite(g.ScaleLeft) && std::isfinite(g.Y1ScaleTop);
}

bool ChartMouse::insidePlot(float x, float y) const noexcept {
    const ViewWindow& v = model_.view();
    return x >= v.XStart && x <= v.XEnd && y >= v.Y1Start && y <= v.Y1End;
}

void ChartMouse::clampToPlotArea(float& x, float& y) const noexcept {
    const ViewWindow& v = model_.view();
    if (x < v.XStart) x = v.XStart;
    if (x > v.XEnd) x = v.XEnd;
    if (y < v.Y1Start) y = v.Y1Start;
    if (y > v.Y1End) y = v.Y1End;
}

std::optional<ChartMouse::Band> ChartMouse::band() const {
    if (!dragging() || !plotUsable()) return std::nullopt;
    const PlotGeometry& g = model_.geometry();
    return Band{anchorPixelX_, anchorPixelY_, g.XToPixel(lastX_), g.YToPixel(lastY_)};
}

void ChartMouse::MouseDown(int button, float x, float y) {
    if (button != kLeft || !plotUsable() || !insidePlot(x, y)) return;
    HideToolTip();
    const PlotGeometry& g = model_.geometry();
    anchorPixelX_ = g.XToPixel(x);
    anchorPixelY_ = g.YToPixel(y);
    drawing_.setDragging(true);
    anchorX_ = lastX_ = x;
    anchorY_ = lastY_ = y;
    sliderVisible_ = false;
    raise(events_.overlayChanged);
}

void ChartMouse::MouseMove(int buttons, float x, float y) {
    if ((buttons & kLeft) && dragging()) {
        clampToPlotArea(x, y);
        lastX_ = x;
        lastY_ = y;
        raise(events_.overlayChanged);
        return;
    }
    if (!plotUsable() || !insidePlot(x, y)) {
        if (sliderVisible_) {
            sliderVisible_ = false;
            raise(events_.overlayChanged);
        }
        HideToolTip();
        return;
    }
    const bool onLabel = labelTip(x, y);
    moveSlider(x);
    if (onLabel) return;
    valueTip(x, y);
}

bool ChartMouse::labelTip(float x, float y) {
    const double w = std::fabs(drawing_.charWidth() * 0.75);
    const double h = std::fabs(drawing_.charHeight2() * 0.75);
    const float xLo = static_cast<float>(x - 0.9 * w), xHi = static_cast<float>(x + 0.9 * w);
    const float yLo = static_cast<float>(y - 0.4 * h), yHi = static_cast<float>(y + 0.4 * h);
    const auto& labels = model_.labels();
    for (int32_t i = 0; i < labels.count(); ++i) {
        const LabelRec& l = labels.at(i);
        if (!(l.XPos >= xLo && l.XPos <= xHi)) continue;
        const float my = eventMarkHeight(l, model_.view());
        if (!(my >= yLo && my <= yHi)) continue;
        showToolTip(x, y, FormatEventText(labels, i, true, decimalSeparator_));
        return true;
    }
    return false;
}

void ChartMouse::valueTip(float x, float y) {
    const TimeScale& ts = model_.timeScale();
    const int32_t n = model_.NumPoints();
    const auto i = safeTimeToIndex(static_cast<float>(x + ts.MinutesPerPoint / 2), ts.PointsPerUnit);
    if (!i || *i < 0 || *i >= n) {
        HideToolTip();
        return;
    }
    const char sep = decimalSeparator_;
    if (model_.chartType() == ChartTypeEnm::Pelomar) {
        const PointRec& p = model_.points().at(*i);
        const std::string text = formatFixed(p.Y1, 4, sep) + " AU ";
        const std::string v1 = formatFixed(p.Y2, 2, sep) + " mS/cm ";
        const std::string v2 = formatFixed(*i * ts.MinutesPerPoint, 2, sep) + " min ";
        showToolTip(x, y, text, &v1, &v2);
        return;
    }
    if (x > model_.IndexToTime(n - 1)) {
        HideToolTip();
        return;
    }
    const float v = model_.GetValueAtTime(x);
    showToolTip(x, y, formatFixed(x, 2, sep) + " , " + formatFixed(v, 2, sep));
    raise(events_.tipChange, x, v);
}

void ChartMouse::MouseUp(int button, float x, float y) {
    if (button == kRight) {
        // A right release during a left drag belongs to the drag.
        if (dragging()) return;
        if (model_.chartType() != ChartTypeEnm::Pelomar) {
            HideToolTip();
            raise(events_.rightMouseUp);
        } else if (model_.zoomed()) {
            raise(events_.resetZoom, true);
        }
        return;
    }
    if (button != kLeft || !dragging()) return;
    clampToPlotArea(x, y);
    drawing_.setDragging(false);
    raise(events_.overlayChanged);
    const bool owed = drawing_.takeTracesOwed();
    if (!zoomAccepted(anchorX_, anchorY_, x, y, drawing_.charWidth())) {
        if (owed) raise(events_.fullRedraw);
        return;
    }
    model_.view() = zoomedView(model_.view(), anchorX_, anchorY_, x, y);
    model_.setZoomed(true);
    raise(events_.fullRedraw);
    const ViewWindow& v = model_.view();
    raise(events_.zoomEnd, v.XStart, v.XEnd, v.Y1Start, v.Y1End, v.Y2Start, v.Y2End);
}

void ChartMouse::DblClick() {
    if (model_.zoomed()) raise(events_.resetZoom, true);
}

void ChartMouse::moveSlider(float x) {
    if (std::fabs(x - sliderX_) <= 0.0002f) return;
    sliderVisible_ = true;
    sliderX_ = x;
    raise(events_.overlayChanged);
}

void ChartMouse::showToolTip(float x, float y, const std::string& text, const std::string* v1,
                             const std::string* v2) {
    std::string caption = " " + text + " ";
    if (v1) caption += "\r  " + *v1 + " ";
    if (v2) caption += "\r  " + *v2 + " ";
    if (caption == caption_) return;
    caption_ = caption;
    const ViewWindow& v = model_.view();
    const bool upperHalf = v.Y1Start + (static_cast<double>(v.Y1End - v.Y1Start)) / 2 < y;
    raise(events_.placeToolTip, caption_, x, y, upperHalf);
    raise(events_.toolTipTimer, true);
}

void ChartMouse::MouseLeave() {
    if (sliderVisible_) {
        sliderVisible_ = false;
        raise(events_.overlayChanged);
    }
    if (toolTipShown_) {
        HideToolTip();
    } else if (!caption_.empty()) {
        raise(events_.toolTipTimer, false);
        caption_.clear();
    }
}

void ChartMouse::TimerToolTip() {
    raise(events_.toolTipTimer, false);
    if (toolTipShown_) return;
    toolTipShown_ = true;
    raise(events_.toolTipVisible, true);
}

void ChartMouse::HideToolTip() {
    if (!toolTipShown_) return;
    toolTipShown_ = false;
    raise(events_.toolTipTimer, false);
    raise(events_.toolTipVisible, false);
    caption_.clear();
}

}  // namespace pelomar::core
