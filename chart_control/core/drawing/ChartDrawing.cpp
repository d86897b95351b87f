#include "ChartDrawing.h"

#include <cmath>
#include <exception>

#include "core/model/ChartModel.h"
#include "DrawingSurface.h"
#include "EventMarks.h"
#include "common/NumberFormat.h"
#include "common/Rounding.h"
#include "TickLayout.h"

namespace pelomar::core {

namespace {
constexpr OleColor kBlack = 0;

bool usable(double v) { return std::isfinite(v) && v != 0; }

// A failing axis ends that axis only; the frame goes on with the next step.
template <typename F>
void ignoringErrors(F&& f) noexcept {
    try {
        f();
    } catch (const std::exception&) {
    }
}
}  // namespace

ChartDrawing::ChartDrawing(ChartModel& model) : model_(model) {}

bool ChartDrawing::scaleUsable() const noexcept {
    const PlotGeometry& g = model_.geometry();
    return g.PixelWidth > 0 && g.PixelHeight > 0 && usable(g.XSpan) && usable(g.Y1Span) &&
           usable(g.XPerPixel) && usable(g.Y1PerPixel) && std::isfinite(g.ScaleLeft) &&
           std::isfinite(g.ScaleRight) && std::isfinite(g.Y1ScaleTop) &&
           std::isfinite(g.Y1ScaleBottom);
}

std::string ChartDrawing::tickLabel(double value, int decimals) const {
    return formatFixed(value, decimals, decimalSeparator_);
}

void ChartDrawing::RedrawChart(DrawingSurface& pic, double widthTwips, double heightTwips) {
    DrawChartFrame(pic, widthTwips, heightTwips);
    if (!scaleUsable()) return;
    if (dragging_) tracesOwed_ = true;
    DrawTraces(pic, 0);
    DrawEventMarks(pic, 0, false);
}

void ChartDrawing::DrawChartFrame(DrawingSurface& pic, double widthTwips, double heightTwips) {
    pic.clear();
    ViewWindow& view = model_.view();
    if (!(view.XStart >= 0)) view.XStart = 0;
    model_.setGeometry(
        computeGeometry(view, widthTwips, heightTwips, pic.pixelWidth(), pic.pixelHeight()));
    if (!scaleUsable()) return;
    const PlotGeometry& g = model_.geometry();
    pic.setScale(g.ScaleLeft, g.Y1ScaleTop, g.ScaleRight, g.Y1ScaleBottom);

    pic.box(view.XStart, view.Y1Start, view.XEnd, view.Y1End);
    pic.setFontName("Arial");
    pic.setFontBold(false);
    pic.setFontItalic(false);
    pic.setFontSize(8);
    ignoringErrors([&] { DrawXAxis(pic, false); });
    ignoringErrors([&] { DrawY1Axis(pic, false); });
    if (model_.chartType() != ChartTypeEnm::LineProfile) ignoringErrors([&] { DrawY2Axis(pic, false); });
    charWidth_ = pic.textWidth("W");
    charHeight2_ = 2 * pic.textHeight("I");
}

void ChartDrawing::DrawXAxis(DrawingSurface& target, bool forPrinter) {
    const ViewWindow& view = model_.view();
    const PlotGeometry& g = model_.geometry();
    target.setFontName("Arial");
    target.setFontSize(8);
    target.setFontBold(false);

    const TickStep ts = GetTickStep(static_cast<double>(view.XEnd - view.XStart));
    if (!ts.valid) return;
    tickDivisor_ = ts.divisor;
    const TickLayout layout =
        layoutTicks(view.XStart, view.XEnd, AxisKind::Time, target.scaleWidth(),
                    [&](double v) { return target.textWidth(tickLabel(v, ts.decimals)); });
    for (const Tick& t : layout.ticks) {
        if (!t.major) {
            target.line(t.value, view.Y1Start, t.value, view.Y1Start - 0.15 * g.Y1Unit);
            continue;
        }
        target.line(t.value, view.Y1Start, t.value, view.Y1Start - 0.3 * g.Y1Unit);
        const std::string label = tickLabel(t.value, ts.decimals);
        target.setCurrentX(t.value - target.textWidth(label) / 2);
        target.setCurrentY(view.Y1Start + target.textHeight(label) / 2);
        target.print(label);
    }

    if (forPrinter) {
        target.setFontSize(12);
        target.setFontBold(true);
    }
    const std::string& caption = model_.XLabel();
    const double span = static_cast<double>(view.XEnd - view.XStart);
    const double height = target.textHeight(caption);
    double top = view.Y1Start + 1.5 * height;
    // On a low picture the margin below the frame is too small for the
    // caption: it then sits on the picture's bottom edge, not across it.
    const double bottom = target.scaleTop() + target.scaleHeight();
    if ((top + height - bottom) * target.scaleHeight() > 0) top = bottom - height;
    target.setCurrentX(view.XStart + span / 2 - target.textWidth(caption) / 2);
    target.setCurrentY(top);
    target.print(caption);
    if (forPrinter) {
        target.setFontSize(8);
        target.setFontBold(false);
    }
}

void ChartDrawing::drawValueCaption(DrawingSurface& target, const std::string& caption, double x,
                                    bool forPrinter) {
    const ViewWindow& view = model_.view();
    const double y1Span = static_cast<double>(view.Y1End - view.Y1Start);
    const double factor = forPrinter ? printerFontFactor_ : 1.6;
    const int32_t height = toLong(target.fontSize() * factor);
    target.setCurrentX(x);
    target.setCurrentY((view.Y1End - y1Span / 2) +
                       target.textHeight(caption) * static_cast<double>(caption.size()) / 4);
    target.printRotated(caption, "Arial", height, true);
}

std::string ChartDrawing::multiplierText() const {
    std::string text(1, 'x');
    text += formatScientificOneDigit(tickDivisor_, decimalSeparator_);
    return text;
}

void ChartDrawing::drawMultiplier(DrawingSurface& target, double x, double lastLabelHeight) {
    const std::string text = multiplierText();
    target.setCurrentX(x);
    target.setCurrentY(model_.view().Y1End - 3.5 * (lastLabelHeight / 2));
    target.print(text);
}

void ChartDrawing::DrawY1Axis(DrawingSurface& target, bool forPrinter) {
    const ViewWindow& view = model_.view();
    const PlotGeometry& g = model_.geometry();
    const bool coloured = model_.chartType() == ChartTypeEnm::Pelomar;
    if (coloured) target.setForeColor(model_.Y1Color());
    struct Restore {
        DrawingSurface& t;
        bool on;
        ~Restore() {
            if (on) t.setForeColor(kBlack);
        }
    } restore{target, coloured};

    drawValueCaption(target, model_.Y1Label(), forPrinter ? printScaleLeft_ : g.ScaleLeft,
                     forPrinter);

    const TickStep ts = GetTickStep(static_cast<double>(view.Y1End - view.Y1Start));
    if (!ts.valid) return;
    tickDivisor_ = ts.divisor;
    const TickLayout layout = layoutTicks(
        view.Y1Start, view.Y1End, AxisKind::Value, target.scaleHeight(),
        [&](double v) { return target.textHeight(tickLabel(v / ts.divisor, ts.decimals)); });
    double lastHeight = 0;
    for (const Tick& t : layout.ticks) {
        if (!t.major) {
            target.line(view.XStart, t.value, view.XStart - 0.3 * g.XUnit, t.value);
            continue;
        }
        target.line(view.XStart, t.value, view.XStart - 0.5 * g.XUnit, t.value);
        const std::string label = tickLabel(t.value / ts.divisor, ts.decimals);
        lastHeight = target.textHeight(label);
        target.setCurrentX(view.XStart - target.textWidth(label) - 0.55 * g.XUnit);
        target.setCurrentY(t.value - lastHeight / 2);
        target.print(label);
    }
    if (tickDivisor_ != 1) {
        drawMultiplier(target, view.XStart - target.textWidth(multiplierText()), lastHeight);
    }
}

void ChartDrawing::DrawY2Axis(DrawingSurface& target, bool forPrinter) {
    const ViewWindow& view = model_.view();
    const PlotGeometry& g = model_.geometry();
    if (model_.chartType() == ChartTypeEnm::Pelomar) target.setForeColor(model_.Y2Color());
    struct Restore {
        DrawingSurface& t;
        ~Restore() { t.setForeColor(kBlack); }
    } restore{target};

    const double right = forPrinter ? printScaleRight_ : g.ScaleRight;
    drawValueCaption(target, model_.Y2Label(), right - 1.3 * g.XUnit, forPrinter);

    const TickStep ts = GetTickStep(static_cast<double>(view.Y2End - view.Y2Start));
    if (!ts.valid) return;
    tickDivisor_ = ts.divisor;
    const TickLayout layout = layoutTicks(
        view.Y2Start, view.Y2End, AxisKind::Value, target.scaleHeight(),
        [&](double v) { return target.textHeight(tickLabel(v / ts.divisor, ts.decimals)); });
    double lastHeight = 0;
    for (const Tick& t : layout.ticks) {
        const double h = view.Y2ToY1(static_cast<float>(t.value));
        if (!t.major) {
            target.line(view.XEnd, h, view.XEnd + 0.3 * g.XUnit, h);
            continue;
        }
        target.line(view.XEnd, h, view.XEnd + 0.5 * g.XUnit, h);
        const std::string label = tickLabel(t.value / ts.divisor, ts.decimals);
        lastHeight = target.textHeight(label);
        target.setCurrentX(view.XEnd + 0.55 * g.XUnit);
        target.setCurrentY(h - lastHeight / 2);
        target.print(label);
    }
    if (tickDivisor_ != 1) drawMultiplier(target, view.XEnd, lastHeight);
}

bool ChartDrawing::DrawTraces(DrawingSurface& pic, int32_t startIndex) {
    if (dragging_) return false;
    const bool withY2 = model_.chartType() != ChartTypeEnm::LineProfile;
    lastPass_ = buildTraces(model_, startIndex, withY2, buffers_);
    if (!lastPass_.drawn) return false;

    if (!buffers_.y1Markers.empty() || !buffers_.y2Markers.empty()) {
        const double radius = pic.textWidth("o") / 3;
        for (const TraceMarker& m : buffers_.y1Markers) {
            pic.setForeColor(model_.Y1Color());
            pic.circle(m.x, m.y, radius);
        }
        for (const TraceMarker& m : buffers_.y2Markers) {
            pic.setForeColor(model_.Y2Color());
            pic.circle(m.x, m.y, radius);
        }
    }
    pic.setForeColor(model_.Y1Color());
    pic.polyline(buffers_.y1.data(), buffers_.y1.size());
    if (withY2) {
        pic.setForeColor(model_.Y2Color());
        pic.polyline(buffers_.y2.data(), buffers_.y2.size());
    }
    pic.setForeColor(kBlack);
    model_.setLastDrawn(lastPass_.lastDrawn);
    return true;
}

bool ChartDrawing::DrawNewPoints(DrawingSurface& pic) { return DrawTraces(pic, model_.lastDrawn()); }

void ChartDrawing::DrawEventMarks(DrawingSurface& target, int32_t fromIndex, bool forPrinter) {
    if (!forPrinter && !scaleUsable()) return;
    core::DrawEventMarks(target, model_.labels(), model_.view(), fromIndex, forPrinter);
}

}  // namespace pelomar::core
