#pragma once

#include <string>
#include <vector>

#include "core/drawing/DrawingSurface.h"
#include "core/drawing/UserScale.h"

namespace pelomar::testing {

// A drawing surface that records what is drawn, with fixed text metrics:
// each character (a UTF-8 sequence in a UTF-8 text) is 0.75 x the font size wide and a line 1.5 x the font
// size high, in pixels.
class RecordingSurface : public core::DrawingSurface {
public:
    enum class Op { Clear, Line, Box, Circle, Print, PrintRotated, Polyline, NewPage, EndDoc };
    struct Record {
        Op op = Op::Clear;
        double x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // circle: centre and radius in x2
        std::string text;
        OleColor color = 0;  // foreground colour at the time
        OleColor fill = 0;
        core::FillStyle fillStyle = core::FillStyle::Transparent;
        std::string font;
        double fontSize = 0;
        bool bold = false;
        int32_t height = 0;  // rotated caption's cell height
        std::vector<core::DevicePoint> points;
        core::LineStyle lineStyle = core::LineStyle::Solid;
        core::TextEncoding encoding = core::TextEncoding::CodePage;
    };

    RecordingSurface(int32_t pixelWidth, int32_t pixelHeight);

    // Failure switch: print() raises this run-time error when not 0.
    int32_t failPrintWith = 0;

    std::vector<Record> records;
    std::vector<Record> of(Op op) const;
    std::vector<std::string> printed() const;

    int32_t pixelWidth() const override { return scale_.pixelWidth; }
    int32_t pixelHeight() const override { return scale_.pixelHeight; }
    void setScale(double left, double top, double right, double bottom) override {
        scale_.set(left, top, right, bottom);
    }
    double scaleLeft() const override { return scale_.left; }
    double scaleTop() const override { return scale_.top; }
    double scaleWidth() const override { return scale_.width; }
    double scaleHeight() const override { return scale_.height; }
    void clear() override;
    double currentX() const override { return cx_; }
    double currentY() const override { return cy_; }
    void setCurrentX(double x) override { cx_ = x; }
    void setCurrentY(double y) override { cy_ = y; }
    void setFontName(const std::string& n) override { font_ = n; }
    std::string fontName() const override { return font_; }
    void setFontSize(double s) override { size_ = s; }
    double fontSize() const override { return size_; }
    void setFontBold(bool b) override { bold_ = b; }
    bool fontBold() const override { return bold_; }
    void setFontItalic(bool) override {}
    void setForeColor(OleColor c) override { fore_ = c; }
    OleColor foreColor() const override { return fore_; }
    void setFillStyle(core::FillStyle s) override { fillStyle_ = s; }
    core::FillStyle fillStyle() const override { return fillStyle_; }
    void setFillColor(OleColor c) override { fill_ = c; }
    OleColor fillColor() const override { return fill_; }
    void setTextEncoding(core::TextEncoding e) override { encoding_ = e; }
    core::TextEncoding textEncoding() const override { return encoding_; }
    double textWidth(const std::string& text) const override;
    double textHeight(const std::string& text) const override;
    void line(double x1, double y1, double x2, double y2) override;
    void box(double x1, double y1, double x2, double y2) override;
    void circle(double x, double y, double radius) override;
    void print(const std::string& text) override;
    void printRotated(const std::string& text, const std::string& face, int32_t height,
                      bool bold) override;
    void polyline(const core::DevicePoint* points, size_t count) override;

    // As a printer: resolution and sheet size (0: the drawable area's).
    double dpi = 96;
    double sheetWidthTwips = 0, sheetHeightTwips = 0;
    void setLineStyle(core::LineStyle s) override { lineStyle_ = s; }
    double pixelsPerInchX() const override { return dpi; }
    double pixelsPerInchY() const override { return dpi; }
    double pageWidthTwips() const override {
        return sheetWidthTwips > 0 ? sheetWidthTwips : DrawingSurface::pageWidthTwips();
    }
    double pageHeightTwips() const override {
        return sheetHeightTwips > 0 ? sheetHeightTwips : DrawingSurface::pageHeightTwips();
    }
    void newPage() override { records.push_back(base(Op::NewPage)); }
    void endDoc() override { records.push_back(base(Op::EndDoc)); }

private:
    Record base(Op op) const;

    core::UserScale scale_;
    double cx_ = 0, cy_ = 0;
    std::string font_ = "Arial";
    double size_ = 8;
    bool bold_ = false;
    OleColor fore_ = 0, fill_ = 0;
    core::TextEncoding encoding_ = core::TextEncoding::CodePage;
    core::FillStyle fillStyle_ = core::FillStyle::Transparent;
    core::LineStyle lineStyle_ = core::LineStyle::Solid;
};

}  // namespace pelomar::testing
