// The chart on screen: the drawing engine, the overlays painted over the
// picture (rubber band, cursor line) and the tool tip.
#include <QLabel>
#include <QPainter>
#include <QTimer>
#include <cmath>

#include "FontMapping.h"
#include "OleColors.h"
#include "PainterSurface.h"
#include "UserDecimalSeparator.h"
#include "core/drawing/ChartDrawing.h"
#include "core/model/ChartModel.h"
#include "core/drawing/ChartMouse.h"
#include "core/drawing/ToolTipPlacement.h"
#include "common/CodePage.h"
#include "pelomar/Pelomar.h"

#include "EventGuard.h"

namespace pelomar {

namespace {
constexpr OleColor kToolTipBackground = 0x80000018;
constexpr int kToolTipDelayMs = 300;

bool finite(double v) { return std::isfinite(v) && v != 0; }
bool inPixelRange(double v) { return std::isfinite(v) && std::fabs(v) < 1e9; }
constexpr int kOverlayMargin = 2;
}  // namespace

void Pelomar::initDrawing() {
    surface_ = std::make_unique<PainterSurface>();
    drawing_ = std::make_unique<core::ChartDrawing>(*model_);

    lblToolTip_ = new QLabel(this);
    lblToolTip_->hide();
    lblToolTip_->setAutoFillBackground(true);
    QPalette pal = lblToolTip_->palette();
    pal.setColor(QPalette::Window, toQColor(kToolTipBackground));
    pal.setColor(QPalette::WindowText, toQColor(0x80000017));
    lblToolTip_->setPalette(pal);
    lblToolTip_->setFont(mappedFont("Arial", 8, false, false));
    lblToolTip_->setFrameShape(QFrame::Box);
    lblToolTip_->setMouseTracking(true);
    lblToolTip_->installEventFilter(this);

    TimerToolTip_ = new QTimer(this);
    TimerToolTip_->setInterval(kToolTipDelayMs);

    core::ChartMouseEvents ev;
    ev.fullRedraw = [this] { fullRedraw(); };
    ev.resetZoom = [this](bool raiseEvt) { ResetZoom(raiseEvt); };
    ev.zoomEnd = [this](float a, float b, float c, float d, float e, float f) {
        emit ZoomEnd(a, b, c, d, e, f);
    };
    ev.rightMouseUp = [this] { emit RightMouseUp(); };
    ev.tipChange = [this](float x, float y) { emit TipChange(x, y); };
    ev.overlayChanged = [this] { overlayChanged(); };
    ev.placeToolTip = [this](const std::string& caption, float x, float y, bool upperHalf) {
        placeToolTip(caption, x, y, upperHalf);
    };
    ev.toolTipTimer = [this](bool on) {
        if (on)
            TimerToolTip_->start();
        else
            TimerToolTip_->stop();
    };
    ev.toolTipVisible = [this](bool visible) {
        lblToolTip_->setVisible(visible);
        if (visible) lblToolTip_->raise();
        if (!visible) lblToolTip_->clear();
    };
    mouse_ = std::make_unique<core::ChartMouse>(*model_, *drawing_, std::move(ev));

    const char sep = userDecimalSeparator();
    drawing_->setDecimalSeparator(sep);
    mouse_->setDecimalSeparator(sep);

    connect(TimerToolTip_, &QTimer::timeout, this,
            [this] { guardEvent("TimerToolTip", [&] { mouse_->TimerToolTip(); }); });
    setMouseTracking(true);
}

QPointF Pelomar::toChart(const QPointF& pixel) const {
    const core::PlotGeometry& g = model_->geometry();
    return {g.ScaleLeft + pixel.x() * g.XPerPixel, g.Y1ScaleTop + pixel.y() * g.Y1PerPixel};
}

void Pelomar::placeToolTip(const std::string& caption, float x, float y, bool upperHalf) {
    QString text = fromCodePage(caption);
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    lblToolTip_->setText(text);
    lblToolTip_->adjustSize();
    const core::PlotGeometry& g = model_->geometry();
    if (!finite(g.XPerPixel) || !finite(g.Y1PerPixel)) return;
    const double px = (x - g.ScaleLeft) / g.XPerPixel;
    const double py = (y - g.Y1ScaleTop) / g.Y1PerPixel;
    if (!std::isfinite(px) || !std::isfinite(py)) return;
    const core::PixelPoint at = core::placeToolTip(
        static_cast<int32_t>(std::lround(px)), static_cast<int32_t>(std::lround(py)),
        lblToolTip_->width(), lblToolTip_->height(), width(), height(),
        g.XUnit / g.XPerPixel, g.Y1Unit / g.Y1PerPixel, upperHalf);
    lblToolTip_->move(at.x, at.y);
}

// The cursor line from the view's top edge to its bottom edge, in pixels.
std::optional<QLine> Pelomar::sliderLine() const {
    const core::PlotGeometry& g = model_->geometry();
    if (!mouse_->sliderVisible() || !finite(g.XPerPixel) || !finite(g.Y1PerPixel)) return std::nullopt;
    const core::ViewWindow& v = model_->view();
    const double x = std::round((mouse_->sliderX() - g.ScaleLeft) / g.XPerPixel);
    const double top = std::round((v.Y1End - g.Y1ScaleTop) / g.Y1PerPixel);
    const double bottom = std::round((v.Y1Start - g.Y1ScaleTop) / g.Y1PerPixel);
    if (!inPixelRange(x) || !inPixelRange(top) || !inPixelRange(bottom)) return std::nullopt;
    return QLine(static_cast<int>(x), static_cast<int>(top), static_cast<int>(x), static_cast<int>(bottom));
}

std::optional<QRect> Pelomar::bandRect() const {
    const core::PlotGeometry& g = model_->geometry();
    if (!finite(g.XPerPixel) || !finite(g.Y1PerPixel)) return std::nullopt;
    const auto band = mouse_->band();
    if (!band) return std::nullopt;
    return QRect(QPoint(band->x0, band->y0), QPoint(band->x1, band->y1)).normalized();
}

void Pelomar::paintOverlay(QPainter& painter) const {
    if (const auto line = sliderLine()) {
        painter.setPen(QPen(toQColor(0x80000008), 0));
        painter.drawLine(QPointF(line->p1()), QPointF(line->p2()));
    }
    if (const auto rect = bandRect()) {
        // Inverts what lies under the band's outline, as the XOR pen did;
        // the picture itself is never touched.
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.setPen(QPen(Qt::white, 0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(*rect);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
}

// The pixels the overlays cover, with a margin for the pen: the cursor line's
// column and the band's outline.
QRegion Pelomar::overlayRegion() const {
    constexpr int m = kOverlayMargin;
    QRegion region;
    if (const auto line = sliderLine())
        region += QRect(line->p1(), line->p2()).normalized().adjusted(-m, -m, m, m);
    if (const auto rect = bandRect()) {
        const QRect outer = rect->adjusted(-m, -m, m + 1, m + 1);
        const QRect inner = rect->adjusted(m + 1, m + 1, -m, -m);
        region += inner.isValid() ? QRegion(outer).subtracted(inner) : QRegion(outer);
    }
    return region;
}

// Repaints where the overlays were and where they are now.
void Pelomar::overlayChanged() {
    const QRegion now = overlayRegion();
    const QRegion changed = overlay_.united(now);
    overlay_ = now;
    if (!changed.isEmpty()) update(changed);
}

}  // namespace pelomar
