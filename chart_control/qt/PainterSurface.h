#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <QRect>
#include <memory>

#include "core/drawing/DrawingSurface.h"
#include "core/drawing/UserScale.h"

class QPaintDevice;

namespace pelomar {

// A drawing surface over any paint device (the screen picture, a printed
// page). Font, colours, scale and current position persist across passes;
// each pass runs between begin() and end().
//
// The screen picture may hold more device pixels than the chart has logical
// ones (a screen of scale 1.25, 2, ...). The chart is then laid out in
// logical pixels as on any screen, and drawn at device resolution: text at
// the device's size, and the one-pixel lines of scale 1 as lines of
// round(scale) device pixels, each the pixels whose middle lies nearest to
// the logical position times the scale, so that they keep one width along
// their length at every scale. At scale 1 the pixels are those of the plain
// painter.
class PainterSurface : public core::DrawingSurface {
public:
    PainterSurface() = default;
    ~PainterSurface() override;

    // Starts a pass on `device`; the scale keeps its edges on the new size.
    void begin(QPaintDevice* device);
    // Starts a pass on the screen picture of a chart of `logical` pixels:
    // its pixels are the device pixels of that area at the picture's
    // devicePixelRatio, and cover it whole.
    void beginPicture(QImage& picture, QSize logical);
    // Starts a pass that draws nothing on an area of the given size: the
    // geometry and the text measures are those of a picture of that size
    // whose metrics `metrics` has.
    void beginMeasuring(QPaintDevice* metrics, int width, int height);
    void end();
    void setBackground(const QColor& c) { background_ = c; }

    // The device pixels touched by the drawing since the last reset, with a
    // margin for pens and antialiasing; empty when nothing was drawn.
    void resetDirty() { touched_ = false; }
    QRect dirty() const;

    int32_t pixelWidth() const override { return scale_.pixelWidth; }
    int32_t pixelHeight() const override { return scale_.pixelHeight; }
    void setScale(double left, double top, double right, double bottom) override;
    double scaleLeft() const override { return scale_.left; }
    double scaleTop() const override { return scale_.top; }
    double scaleWidth() const override { return scale_.width; }
    double scaleHeight() const override { return scale_.height; }
    void clear() override;

    double currentX() const override { return currentX_; }
    double currentY() const override { return currentY_; }
    void setCurrentX(double x) override { currentX_ = x; }
    void setCurrentY(double y) override { currentY_ = y; }

    void setFontName(const std::string& name) override;
    std::string fontName() const override { return fontName_; }
    void setFontSize(double points) override;
    double fontSize() const override { return fontSize_; }
    void setFontBold(bool bold) override;
    bool fontBold() const override { return bold_; }
    void setFontItalic(bool italic) override;

    void setForeColor(OleColor color) override;
    OleColor foreColor() const override { return foreColor_; }
    void setFillStyle(core::FillStyle style) override { fillStyle_ = style; }
    core::FillStyle fillStyle() const override { return fillStyle_; }
    void setFillColor(OleColor color) override { fillColor_ = color; }
    OleColor fillColor() const override { return fillColor_; }

    double textWidth(const std::string& text) const override;
    double textHeight(const std::string& text) const override;

    void line(double x1, double y1, double x2, double y2) override;
    void box(double x1, double y1, double x2, double y2) override;
    void circle(double x, double y, double radius) override;
    void print(const std::string& text) override;
    void printRotated(const std::string& text, const std::string& face, int32_t height,
                      bool bold) override;
    void polyline(const core::DevicePoint* points, size_t count) override;
    void setLineStyle(core::LineStyle style) override;
    void setTextEncoding(core::TextEncoding encoding) override { encoding_ = encoding; }
    core::TextEncoding textEncoding() const override { return encoding_; }

protected:
    QPaintDevice* device() const { return device_; }

private:
    QString qtText(const std::string& text) const;
    // Logical pixels of the user scale.
    QPointF toDevice(double x, double y) const;
    // At a ratio other than 1: the first of the lineWidth_ device pixels a
    // line at logical position v covers.
    int lineStart(double v) const;
    bool deviceScaled() const { return ratio_ != 1; }
    void deviceLine(QPointF a, QPointF b);
    void devicePolyline(const core::DevicePoint* points, size_t count);
    void deviceText(const QPointF& at, const QFont& font, double ascent, const QString& text, double turn);
    // Adds the pixels from (x0, y0) to (x1, y1), both included, grown by `pen`.
    void touch(double x0, double y0, double x1, double y1, double pen = 1);
    void touch(const QRectF& r, double pen = 1) { touch(r.left(), r.top(), r.right(), r.bottom(), pen); }
    bool wholeTouched() const;
    void updateFont();
    bool active() const { return painter_ && painter_->isActive(); }

    QPaintDevice* device_ = nullptr;
    // The screen picture's pixels as an image of scale 1, which the painter
    // and the traces' polyline address in device pixels.
    QImage deviceView_;
    QImage viewMetrics_;
    double ratio_ = 1;
    // Device pixels across a line that is one pixel wide at scale 1.
    int lineWidth_ = 1;
    std::unique_ptr<QPainter> painter_;
    core::UserScale scale_;
    QColor background_ = Qt::white;
    double currentX_ = 0, currentY_ = 0;
    std::string fontName_ = "Arial";
    double fontSize_ = 8;
    bool bold_ = false, italic_ = false;
    QFont font_;
    OleColor foreColor_ = 0;
    QColor fore_ = Qt::black;
    core::FillStyle fillStyle_ = core::FillStyle::Transparent;
    OleColor fillColor_ = 0;
    QPolygon polygon_;
    Qt::PenStyle penStyle_ = Qt::SolidLine;
    core::TextEncoding encoding_ = core::TextEncoding::CodePage;
    bool touched_ = false;
    double dirtyLeft_ = 0, dirtyTop_ = 0, dirtyRight_ = 0, dirtyBottom_ = 0;
};

}  // namespace pelomar
