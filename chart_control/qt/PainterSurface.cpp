#include "PainterSurface.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <cmath>

#include "FontMapping.h"
#include "OleColors.h"
#include "common/CodePage.h"

namespace pelomar {

namespace {
// A GDI font height is the cell (ascent + descent); Qt sizes the em, which is
// about 1/1.15 of the cell in the sans faces we map onto.
constexpr double kCellPerEm = 1.15;
}  // namespace

PainterSurface::~PainterSurface() { end(); }

void PainterSurface::begin(QPaintDevice* device) {
    end();
    device_ = device;
    scale_.pixelWidth = device ? device->width() : 1;
    scale_.pixelHeight = device ? device->height() : 1;
    updateFont();
    if (!device) return;
    painter_ = std::make_unique<QPainter>(device);
    painter_->setRenderHint(QPainter::Antialiasing, false);
    painter_->setRenderHint(QPainter::TextAntialiasing, true);
}

void PainterSurface::end() {
    if (painter_) painter_->end();
    painter_.reset();
}

void PainterSurface::setScale(double left, double top, double right, double bottom) {
    scale_.set(left, top, right, bottom);
}

void PainterSurface::clear() {
    if (active() && device_) painter_->fillRect(0, 0, device_->width(), device_->height(), background_);
    currentX_ = scale_.left;
    currentY_ = scale_.top;
}

QPointF PainterSurface::toDevice(double x, double y) const {
    return {scale_.toPixelX(x), scale_.toPixelY(y)};
}

void PainterSurface::updateFont() {
    font_ = mappedFont(fontName_, fontSize_, bold_, italic_);
    if (active()) painter_->setFont(font_);
}

void PainterSurface::setFontName(const std::string& name) {
    fontName_ = name;
    updateFont();
}
void PainterSurface::setFontSize(double points) {
    fontSize_ = points;
    updateFont();
}
void PainterSurface::setFontBold(bool bold) {
    bold_ = bold;
    updateFont();
}
void PainterSurface::setFontItalic(bool italic) {
    italic_ = italic;
    updateFont();
}

void PainterSurface::setLineStyle(core::LineStyle style) {
    penStyle_ = style == core::LineStyle::Dotted ? Qt::DotLine : Qt::SolidLine;
}

void PainterSurface::setForeColor(OleColor color) {
    foreColor_ = color;
    fore_ = toQColor(color);
}

double PainterSurface::textWidth(const std::string& text) const {
    const QFontMetricsF fm(font_, device_);
    return fm.horizontalAdvance(fromCodePage(text)) * scale_.unitsPerPixelX();
}

double PainterSurface::textHeight(const std::string& /*text*/) const {
    const QFontMetricsF fm(font_, device_);
    return fm.height() * scale_.unitsPerPixelY();
}

void PainterSurface::line(double x1, double y1, double x2, double y2) {
    if (!active()) return;
    painter_->setPen(QPen(fore_, 0, penStyle_));
    painter_->drawLine(toDevice(x1, y1), toDevice(x2, y2));
}

void PainterSurface::box(double x1, double y1, double x2, double y2) {
    if (!active()) return;
    painter_->setPen(QPen(fore_, 0, penStyle_));
    painter_->setBrush(Qt::NoBrush);
    painter_->drawRect(QRectF(toDevice(x1, y1), toDevice(x2, y2)).normalized());
}

void PainterSurface::circle(double x, double y, double radius) {
    currentX_ = x;
    currentY_ = y;
    if (!active()) return;
    const double r = std::fabs(radius / scale_.unitsPerPixelX());
    if (!std::isfinite(r)) return;
    painter_->save();
    painter_->setRenderHint(QPainter::Antialiasing, true);
    painter_->setPen(QPen(fore_, 1));
    if (fillStyle_ == core::FillStyle::Solid)
        painter_->setBrush(toQColor(fillColor_));
    else
        painter_->setBrush(Qt::NoBrush);
    painter_->drawEllipse(toDevice(x, y), r, r);
    painter_->restore();
}

void PainterSurface::print(const std::string& text) {
    if (active()) {
        const QFontMetricsF fm(font_, device_);
        painter_->setPen(fore_);
        painter_->setFont(font_);
        const QPointF at = toDevice(currentX_, currentY_);
        painter_->drawText(QPointF(at.x(), at.y() + fm.ascent()), fromCodePage(text));
    }
    currentY_ += textHeight(text);
    currentX_ = scale_.left;
}

void PainterSurface::printRotated(const std::string& text, const std::string& face, int32_t height,
                                  bool bold) {
    if (!active()) return;
    QFont f(mappedFontFamily(face));
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(height / kCellPerEm))));
    f.setBold(bold);
    const QFontMetricsF fm(f, device_);
    painter_->save();
    painter_->setFont(f);
    painter_->setPen(fore_);
    painter_->translate(toDevice(currentX_, currentY_));
    painter_->rotate(-90);
    painter_->drawText(QPointF(0, fm.ascent()), fromCodePage(text));
    painter_->restore();
}

void PainterSurface::polyline(const core::DevicePoint* points, size_t count) {
    if (!active() || count == 0) return;
    polygon_.resize(static_cast<qsizetype>(count));
    for (size_t i = 0; i < count; ++i) polygon_[static_cast<qsizetype>(i)] = QPoint(points[i].x, points[i].y);
    painter_->setPen(QPen(fore_, 0));
    painter_->drawPolyline(polygon_);
}

}  // namespace pelomar
