#include "PainterSurface.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QTransform>
#include <algorithm>
#include <cmath>

#include "FontMapping.h"
#include "OleColors.h"
#include "ThinPolyline.h"
#include "common/CodePage.h"

namespace pelomar {

namespace {
// A GDI font height is the cell (ascent + descent); Qt sizes the em, which is
// about 1/1.15 of the cell in the sans faces we map onto.
constexpr double kCellPerEm = 1.15;
// Aliased lines may land half a pixel either way of their ideal place.
constexpr int kDirtyMargin = 2;

// The box a text drawn with its top-left corner at the origin covers.
QRectF textBounds(const QFontMetricsF& fm, const QString& text) {
    return QRectF(0, 0, fm.horizontalAdvance(text), fm.height())
        .united(fm.boundingRect(text).translated(0, fm.ascent()));
}
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

void PainterSurface::beginMeasuring(QPaintDevice* metrics, int width, int height) {
    end();
    device_ = metrics;
    scale_.pixelWidth = width;
    scale_.pixelHeight = height;
    updateFont();
}

void PainterSurface::end() {
    if (painter_) painter_->end();
    painter_.reset();
}

void PainterSurface::setScale(double left, double top, double right, double bottom) {
    scale_.set(left, top, right, bottom);
}

void PainterSurface::clear() {
    if (active() && device_) {
        painter_->fillRect(0, 0, device_->width(), device_->height(), background_);
        touch(0, 0, device_->width(), device_->height(), 0);
    }
    currentX_ = scale_.left;
    currentY_ = scale_.top;
}

void PainterSurface::touch(double x0, double y0, double x1, double y1, double pen) {
    if (!(std::isfinite(x0) && std::isfinite(y0) && std::isfinite(x1) && std::isfinite(y1))) {
        // Whatever the painter made of it, the whole area covers it.
        x0 = y0 = 0;
        x1 = scale_.pixelWidth;
        y1 = scale_.pixelHeight;
    }
    const double left = std::min(x0, x1) - pen, right = std::max(x0, x1) + pen;
    const double top = std::min(y0, y1) - pen, bottom = std::max(y0, y1) + pen;
    if (!touched_) {
        dirtyLeft_ = left, dirtyTop_ = top, dirtyRight_ = right, dirtyBottom_ = bottom;
        touched_ = true;
        return;
    }
    dirtyLeft_ = std::min(dirtyLeft_, left);
    dirtyTop_ = std::min(dirtyTop_, top);
    dirtyRight_ = std::max(dirtyRight_, right);
    dirtyBottom_ = std::max(dirtyBottom_, bottom);
}

// After a clear, nothing more needs measuring.
bool PainterSurface::wholeTouched() const {
    return touched_ && dirtyLeft_ <= 0 && dirtyTop_ <= 0 && dirtyRight_ >= scale_.pixelWidth &&
           dirtyBottom_ >= scale_.pixelHeight;
}

QRect PainterSurface::dirty() const {
    if (!touched_) return {};
    const QRect area(0, 0, scale_.pixelWidth, scale_.pixelHeight);
    const auto clampTo = [](double v, int lo, int hi) {
        return static_cast<int>(std::clamp(v, static_cast<double>(lo), static_cast<double>(hi)));
    };
    const int left = clampTo(std::floor(dirtyLeft_) - kDirtyMargin, -1, area.width());
    const int top = clampTo(std::floor(dirtyTop_) - kDirtyMargin, -1, area.height());
    const int right = clampTo(std::ceil(dirtyRight_) + kDirtyMargin, -1, area.width());
    const int bottom = clampTo(std::ceil(dirtyBottom_) + kDirtyMargin, -1, area.height());
    return QRect(QPoint(left, top), QPoint(right, bottom)).intersected(area);
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

QString PainterSurface::qtText(const std::string& text) const {
    return encoding_ == core::TextEncoding::Utf8 ? QString::fromStdString(text) : fromCodePage(text);
}

double PainterSurface::textWidth(const std::string& text) const {
    const QFontMetricsF fm(font_, device_);
    return fm.horizontalAdvance(qtText(text)) * scale_.unitsPerPixelX();
}

double PainterSurface::textHeight(const std::string& /*text*/) const {
    const QFontMetricsF fm(font_, device_);
    return fm.height() * scale_.unitsPerPixelY();
}

void PainterSurface::line(double x1, double y1, double x2, double y2) {
    if (!active()) return;
    painter_->setPen(QPen(fore_, 0, penStyle_));
    const QPointF a = toDevice(x1, y1), b = toDevice(x2, y2);
    painter_->drawLine(a, b);
    touch(a.x(), a.y(), b.x(), b.y());
}

void PainterSurface::box(double x1, double y1, double x2, double y2) {
    if (!active()) return;
    painter_->setPen(QPen(fore_, 0, penStyle_));
    painter_->setBrush(Qt::NoBrush);
    const QPointF a = toDevice(x1, y1), b = toDevice(x2, y2);
    painter_->drawRect(QRectF(a, b).normalized());
    touch(a.x(), a.y(), b.x(), b.y());
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
    const QPointF c = toDevice(x, y);
    painter_->drawEllipse(c, r, r);
    painter_->restore();
    touch(c.x() - r, c.y() - r, c.x() + r, c.y() + r);
}

void PainterSurface::print(const std::string& text) {
    if (active()) {
        const QFontMetricsF fm(font_, device_);
        painter_->setPen(fore_);
        painter_->setFont(font_);
        const QPointF at = toDevice(currentX_, currentY_);
        const QString s = qtText(text);
        painter_->drawText(QPointF(at.x(), at.y() + fm.ascent()), s);
        if (!wholeTouched()) touch(textBounds(fm, s).translated(at));
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
    const QString s = qtText(text);
    painter_->drawText(QPointF(0, fm.ascent()), s);
    if (!wholeTouched()) touch(painter_->transform().mapRect(textBounds(fm, s)));
    painter_->restore();
}

void PainterSurface::polyline(const core::DevicePoint* points, size_t count) {
    if (!active() || count == 0) return;
    int32_t left = points[0].x, right = left, top = points[0].y, bottom = top;
    for (size_t i = 1; i < count; ++i) {
        left = std::min(left, points[i].x);
        right = std::max(right, points[i].x);
        top = std::min(top, points[i].y);
        bottom = std::max(bottom, points[i].y);
    }
    touch(left, top, right, bottom);
    // On the screen picture the traces skip the painter's general path and
    // set the same pixels.
    if (device_->devType() == QInternal::Image && painter_->transform().isIdentity() &&
        !painter_->hasClipping() && painter_->compositionMode() == QPainter::CompositionMode_SourceOver &&
        !painter_->testRenderHint(QPainter::Antialiasing) &&
        drawThinPolyline(*static_cast<QImage*>(device_), points, count, fore_.rgba()))
        return;
    polygon_.resize(static_cast<qsizetype>(count));
    for (size_t i = 0; i < count; ++i) polygon_[static_cast<qsizetype>(i)] = QPoint(points[i].x, points[i].y);
    painter_->setPen(QPen(fore_, 0));
    painter_->drawPolyline(polygon_);
}

}  // namespace pelomar
