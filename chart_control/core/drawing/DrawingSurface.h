#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "pelomar/Enums.h"

namespace pelomar::core {

// A vertex in device pixels, as the trace polylines take them.
struct DevicePoint {
    int32_t x = 0;
    int32_t y = 0;
};

enum class FillStyle { Solid = 0, Transparent = 1 };
enum class LineStyle { Solid = 0, Dotted = 1 };
// Texts are code-page bytes; a text made from a file name is UTF-8.
enum class TextEncoding { CodePage = 0, Utf8 = 1 };

// What the chart drawing needs of a target, the screen picture or a printed
// page. Coordinates are in the target's user scale unless a name says device
// pixels; texts are code-page bytes. The target keeps its font, colours and
// current position between calls.
class DrawingSurface {
public:
    virtual ~DrawingSurface() = default;

    // Drawable area in device pixels.
    virtual int32_t pixelWidth() const = 0;
    virtual int32_t pixelHeight() const = 0;

    // (left, top) is the top-left corner of the area, (right, bottom) the
    // bottom-right one; top > bottom gives an upward-growing scale.
    virtual void setScale(double left, double top, double right, double bottom) = 0;
    virtual double scaleLeft() const = 0;
    virtual double scaleTop() const = 0;
    virtual double scaleWidth() const = 0;   // right - left
    virtual double scaleHeight() const = 0;  // bottom - top

    // Fills the whole area with the target's background.
    virtual void clear() = 0;

    virtual double currentX() const = 0;
    virtual double currentY() const = 0;
    virtual void setCurrentX(double x) = 0;
    virtual void setCurrentY(double y) = 0;

    virtual void setFontName(const std::string& name) = 0;
    virtual std::string fontName() const = 0;
    virtual void setFontSize(double points) = 0;
    virtual double fontSize() const = 0;
    virtual void setFontBold(bool bold) = 0;
    virtual bool fontBold() const = 0;
    virtual void setFontItalic(bool italic) = 0;

    virtual void setForeColor(OleColor color) = 0;
    virtual OleColor foreColor() const = 0;
    virtual void setFillStyle(FillStyle style) = 0;
    virtual FillStyle fillStyle() const = 0;
    virtual void setFillColor(OleColor color) = 0;
    virtual OleColor fillColor() const = 0;

    // How the texts of textWidth, textHeight, print and printRotated are read
    // from now on.
    virtual void setTextEncoding(TextEncoding encoding) = 0;
    virtual TextEncoding textEncoding() const = 0;

    // Extent of a text in the current font, in the user scale: the height is
    // negative in an upward-growing scale.
    virtual double textWidth(const std::string& text) const = 0;
    virtual double textHeight(const std::string& text) const = 0;

    // Lines and boxes in the foreground colour.
    virtual void line(double x1, double y1, double x2, double y2) = 0;
    virtual void box(double x1, double y1, double x2, double y2) = 0;
    // A round circle whose radius is measured along the X scale: outline in
    // the foreground colour, filled with the fill colour when the fill style
    // is solid. The current position becomes its centre.
    virtual void circle(double x, double y, double radius) = 0;
    // The text's top-left corner at the current position, in the foreground
    // colour; the current position then moves one text line down, to the
    // left edge.
    virtual void print(const std::string& text) = 0;
    // A caption turned a quarter left (reading upwards) in `face`, with a cell
    // height of `height` device pixels; the unturned text's top-left corner at
    // the current position.
    virtual void printRotated(const std::string& text, const std::string& face, int32_t height,
                              bool bold) = 0;
    // One polyline in device pixels with the foreground colour's pen.
    virtual void polyline(const DevicePoint* points, size_t count) = 0;

    // --- what a printed page adds; the screen keeps these defaults ---------
    // Style of line() and box().
    virtual void setLineStyle(LineStyle /*style*/) {}
    // Device pixels per inch of the drawable area.
    virtual double pixelsPerInchX() const { return 96; }
    virtual double pixelsPerInchY() const { return 96; }
    // The whole sheet, margins included, in twips.
    virtual double pageWidthTwips() const { return pixelWidth() * 1440.0 / pixelsPerInchX(); }
    virtual double pageHeightTwips() const { return pixelHeight() * 1440.0 / pixelsPerInchY(); }
    virtual void newPage() {}
    // Hands the document over; nothing is drawn after it.
    virtual void endDoc() {}
};

}  // namespace pelomar::core
