#include "PainterSurface.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <vector>

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
    ratio_ = 1;
    lineWidth_ = 1;
    device_ = device;
    scale_.pixelWidth = device ? device->width() : 1;
    scale_.pixelHeight = device ? device->height() : 1;
    updateFont();
    if (!device) return;
    painter_ = std::make_unique<QPainter>(device);
    painter_->setRenderHint(QPainter::Antialiasing, false);
    painter_->setRenderHint(QPainter::TextAntialiasing, true);
}

void PainterSurface::beginPicture(QImage& picture, QSize logical) {
    const double ratio = picture.devicePixelRatio();
    if (ratio == 1 || picture.isNull()) {
        begin(&picture);
        return;
    }
    end();
    ratio_ = ratio;
    lineWidth_ = std::max(1, static_cast<int>(std::lround(ratio)));
    // bits() parts a picture shared with a copy from it before the pass.
    deviceView_ = QImage(picture.bits(), picture.width(), picture.height(), picture.bytesPerLine(),
                         picture.format());
    // Text is measured as on the logical picture: the layout is the same at
    // every scale. Between passes it is measured on a pixel of the same kind.
    for (QImage* i : {&deviceView_, &viewMetrics_}) {
        if (i == &viewMetrics_ && i->isNull()) *i = QImage(1, 1, QImage::Format_RGB32);
        i->setDotsPerMeterX(picture.dotsPerMeterX());
        i->setDotsPerMeterY(picture.dotsPerMeterY());
    }
    device_ = &deviceView_;
    scale_.pixelWidth = std::max(1, logical.width());
    scale_.pixelHeight = std::max(1, logical.height());
    updateFont();
    painter_ = std::make_unique<QPainter>(&deviceView_);
    painter_->setRenderHint(QPainter::Antialiasing, false);
    painter_->setRenderHint(QPainter::TextAntialiasing, true);
}

void PainterSurface::beginMeasuring(QPaintDevice* metrics, int width, int height) {
    end();
    ratio_ = 1;
    lineWidth_ = 1;
    device_ = metrics;
    scale_.pixelWidth = width;
    scale_.pixelHeight = height;
    updateFont();
}

void PainterSurface::end() {
    if (painter_) painter_->end();
    painter_.reset();
    if (!deviceView_.isNull()) {
        if (device_ == &deviceView_) device_ = &viewMetrics_;
        deviceView_ = QImage();
    }
}

void PainterSurface::setScale(double left, double top, double right, double bottom) {
    scale_.set(left, top, right, bottom);
}

void PainterSurface::clear() {
    if (active() && device_) {
        painter_->fillRect(0, 0, device_->width(), device_->height(), background_);
        touch(0, 0, scale_.pixelWidth, scale_.pixelHeight, 0);
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

// The lineWidth_ device pixels whose middle lies nearest to v x ratio: at
// scale 1 and width 1 the pixel the aliased painter sets, floor(v).
int PainterSurface::lineStart(double v) const {
    const double d = std::floor(v * ratio_ - lineWidth_ / 2.0 + 0.5);
    return static_cast<int>(std::clamp(d, -1e9, 1e9));
}

// A line between two logical points at device resolution: both end pixels
// included, as the square caps of the painter's one-pixel pen.
void PainterSurface::deviceLine(QPointF a, QPointF b) {
    if (!(std::isfinite(a.x()) && std::isfinite(a.y()) && std::isfinite(b.x()) && std::isfinite(b.y()))) return;
    const int w = lineWidth_;
    const int x1 = lineStart(a.x()), y1 = lineStart(a.y()), x2 = lineStart(b.x()), y2 = lineStart(b.y());
    if (x1 == x2 || y1 == y2) {
        painter_->fillRect(QRect(QPoint(std::min(x1, x2), std::min(y1, y2)),
                                 QPoint(std::max(x1, x2) + w - 1, std::max(y1, y2) + w - 1)),
                           fore_);
        return;
    }
    // A slanting line: the one-pixel line repeated across its minor axis.
    painter_->setPen(QPen(fore_, 0, penStyle_));
    const bool steep = std::abs(y2 - y1) > std::abs(x2 - x1);
    for (int i = 0; i < w; ++i) {
        const QPoint shift = steep ? QPoint(i, 0) : QPoint(0, i);
        painter_->drawLine(QPoint(x1, y1) + shift, QPoint(x2, y2) + shift);
    }
}

// Text with its top-left corner at the logical point `at`, laid out in
// logical pixels and rasterised at device resolution; `turn` in degrees.
void PainterSurface::deviceText(const QPointF& at, const QFont& font, double ascent, const QString& text,
                                double turn) {
    painter_->save();
    painter_->setFont(font);
    painter_->setPen(fore_);
    painter_->scale(ratio_, ratio_);
    painter_->translate(at);
    if (turn != 0) painter_->rotate(turn);
    painter_->drawText(QPointF(0, ascent), text);
    painter_->restore();
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
    const QPointF a = toDevice(x1, y1), b = toDevice(x2, y2);
    if (deviceScaled() && penStyle_ == Qt::SolidLine) {
        deviceLine(a, b);
    } else {
        painter_->setPen(QPen(fore_, 0, penStyle_));
        painter_->drawLine(a, b);
    }
    touch(a.x(), a.y(), b.x(), b.y());
}

void PainterSurface::box(double x1, double y1, double x2, double y2) {
    if (!active()) return;
    const QPointF a = toDevice(x1, y1), b = toDevice(x2, y2);
    if (deviceScaled() && penStyle_ == Qt::SolidLine) {
        deviceLine(a, QPointF(b.x(), a.y()));
        deviceLine(QPointF(b.x(), a.y()), b);
        deviceLine(b, QPointF(a.x(), b.y()));
        deviceLine(QPointF(a.x(), b.y()), a);
    } else {
        painter_->setPen(QPen(fore_, 0, penStyle_));
        painter_->setBrush(Qt::NoBrush);
        painter_->drawRect(QRectF(a, b).normalized());
    }
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
    painter_->setPen(QPen(fore_, lineWidth_));
    if (fillStyle_ == core::FillStyle::Solid)
        painter_->setBrush(toQColor(fillColor_));
    else
        painter_->setBrush(Qt::NoBrush);
    const QPointF c = toDevice(x, y);
    painter_->drawEllipse(c * ratio_, r * ratio_, r * ratio_);
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
        if (deviceScaled())
            deviceText(at, font_, fm.ascent(), s, 0);
        else
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
    const QString s = qtText(text);
    if (deviceScaled()) {
        const QPointF at = toDevice(currentX_, currentY_);
        deviceText(at, f, fm.ascent(), s, -90);
        if (!wholeTouched()) touch(QTransform::fromTranslate(at.x(), at.y()).rotate(-90).mapRect(textBounds(fm, s)));
        return;
    }
    painter_->save();
    painter_->setFont(f);
    painter_->setPen(fore_);
    painter_->translate(toDevice(currentX_, currentY_));
    painter_->rotate(-90);
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
    if (deviceScaled()) {
        devicePolyline(points, count);
        return;
    }
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

// The trace at device resolution: each logical vertex goes where a line at
// that logical position goes, and the polyline is thinLineWidth() pixels
// wide across its minor axis.
void PainterSurface::devicePolyline(const core::DevicePoint* points, size_t count) {
    std::vector<core::DevicePoint> device(count);
    for (size_t i = 0; i < count; ++i) device[i] = {lineStart(points[i].x), lineStart(points[i].y)};
    if (!painter_->hasClipping() && painter_->compositionMode() == QPainter::CompositionMode_SourceOver &&
        drawThinPolyline(deviceView_, device.data(), count, fore_.rgba(), lineWidth_))
        return;
    // What the fast path refuses (points off the picture): the one-pixel
    // polyline repeated across both axes, one pixel wider at its steps.
    polygon_.resize(static_cast<qsizetype>(count));
    painter_->setPen(QPen(fore_, 0));
    const auto drawShifted = [&](QPoint shift) {
        for (size_t j = 0; j < count; ++j)
            polygon_[static_cast<qsizetype>(j)] = QPoint(device[j].x, device[j].y) + shift;
        painter_->drawPolyline(polygon_);
    };
    drawShifted(QPoint(0, 0));
    for (int i = 1; i < lineWidth_; ++i) {
        drawShifted(QPoint(i, 0));
        drawShifted(QPoint(0, i));
    }
}

}  // namespace pelomar
