#include "ReportPrinter.h"

#include <algorithm>
#include <cmath>
#include <exception>

#include "core/drawing/ChartDrawing.h"
#include "core/model/ChartModel.h"
#include "MethodsNotesPages.h"
#include "PrinterScale.h"
#include "common/Rounding.h"
#include "core/drawing/SegmentClip.h"
#include "core/model/TimeScale.h"
#include "pelomar/ChartUiServices.h"

namespace pelomar::core {

struct ReportPrinter::Trace {
    bool y1 = true;  // UV, else conductivity mapped into the UV scale
    OleColor color = 0;
    LineStyle style = LineStyle::Solid;
};

namespace {
template <typename F>
void step(F&& f) noexcept {
    try {
        f();
    } catch (const std::exception&) {
    }
}

bool finite(double a, double b, double c, double d) {
    return std::isfinite(a) && std::isfinite(b) && std::isfinite(c) && std::isfinite(d);
}

void colouredLine(DrawingSurface& p, OleColor color, double x1, double y1, double x2, double y2) {
    if (!finite(x1, y1, x2, y2)) return;
    const OleColor before = p.foreColor();
    p.setForeColor(color);
    p.line(x1, y1, x2, y2);
    p.setForeColor(before);
}

class BusyScope {
public:
    explicit BusyScope(ChartUiServices& ui) : ui_(ui) { ui_.setBusy(true); }
    ~BusyScope() { ui_.setBusy(false); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    ChartUiServices& ui_;
};
}  // namespace

ReportPrinter::ReportPrinter(ChartModel& model, ChartDrawing& drawing, ChartUiServices& ui)
    : model_(model), drawing_(drawing), ui_(ui) {}

void ReportPrinter::PrintGraph(DrawingSurface& printer, DrawingSurface& screen,
                               bool printChromotogram, bool printMethods, bool printNotes,
                               int32_t option) {
    step([&] { PrintTitle(printer); });
    if (printChromotogram && option != 0) step([&] { PrintChart(printer, screen, option); });
    step([&] {
        PrintMethodsAndNotes(printer, model_.GetAllMethods(), model_.GetNotes(),
                             printChromotogram, printMethods, printNotes);
    });
    step([&] { printer.endDoc(); });
}

void ReportPrinter::PrintTitle(DrawingSurface& p) {
    p.setFontName("Times New Roman");
    p.setFontSize(12);
    p.setFontBold(true);
    p.setFontItalic(false);
    p.setScale(0, 0, roundHalfEven(p.pageWidthTwips()), roundHalfEven(p.pageHeightTwips()));
    const std::string& title = model_.GraphTitle();
    p.setCurrentY(3 * p.textHeight("0"));
    // The title is most often a file's name, which the code page need not hold.
    struct Utf8Text {
        DrawingSurface& p;
        explicit Utf8Text(DrawingSurface& s) : p(s) { p.setTextEncoding(TextEncoding::Utf8); }
        ~Utf8Text() { p.setTextEncoding(TextEncoding::CodePage); }
    } utf8(p);
    // A title wider than the page starts at its left edge instead of off it.
    p.setCurrentX(std::max(0.0, (p.scaleWidth() - p.textWidth(title)) / 2));
    p.print(title);
}

void ReportPrinter::PrintChart(DrawingSurface& p, DrawingSurface& screen, int32_t option) {
    const bool uv = (option & kPrintUVTrace) == kPrintUVTrace;
    const bool cond = (option & kPrintCondTrace) == kPrintCondTrace;
    const bool marks = (option & kPrintEventMark) == kPrintEventMark;

    setScaleModePixels(p);
    printerPixelWidth_ = p.scaleWidth();
    printerFontFactor_ = printerPixelWidth_ / 300;

    PlotGeometry g = model_.geometry();
    const double u = g.XSpan * 200 / p.pageWidthTwips();
    const double v = g.Y1Span * 250 / p.pageHeightTwips();
    g.XUnit = u;
    g.Y1Unit = v;
    model_.setGeometry(g);

    const ViewWindow& view = model_.view();
    const double left = view.XStart - 10 * u;
    const double top = view.Y1End + 20 * v;
    const double right = view.XEnd + 10 * u;
    const double bottom = view.Y1Start - 80 * v;
    p.setScale(left, top, right, bottom);
    drawing_.setPrinterFrame(left, right, printerFontFactor_);

    p.box(view.XStart, view.Y1Start, view.XEnd, view.Y1End);
    drawing_.setCharMetrics(p.textWidth("W"), 2 * p.textHeight("I"));

    drawing_.DrawXAxis(p, true);
    if (uv) drawing_.DrawY1Axis(p, true);
    if (cond) drawing_.DrawY2Axis(p, true);
    if (uv || cond) PrintTraces(p, uv, cond);
    if (marks) drawing_.DrawEventMarks(p, 0, true);

    drawing_.setCharMetrics(screen.textWidth("W"), 2 * screen.textHeight("I"));
}

float ReportPrinter::traceY(const Trace& trace, int32_t index) const {
    const PointRec& pt = model_.points().at(index);
    return trace.y1 ? pt.Y1 : model_.view().Y2ToY1(pt.Y2);
}

void ReportPrinter::traceLine(DrawingSurface& p, const Trace& trace, double x1, double y1,
                              double x2, double y2) {
    p.setLineStyle(trace.style);
    colouredLine(p, trace.color, x1, y1, x2, y2);
}

void ReportPrinter::PrintTraces(DrawingSurface& p, bool uv, bool cond) {
    BusyScope busy(ui_);
    struct LineStyleBack {
        DrawingSurface& p;
        ~LineStyleBack() { p.setLineStyle(LineStyle::Solid); }
    } styleBack{p};

    const ViewWindow& view = model_.view();
    const int32_t numPoints = model_.NumPoints();
    int32_t last = model_.TimeToIndex(view.XEnd);
    if (last > numPoints - 1) last = numPoints - 1;
    const int32_t first = model_.TimeToIndex(view.XStart);
    if (first >= last) return;

    const int32_t stride =
        std::max(1, toLong(static_cast<double>(last - first) / (printerPixelWidth_ * 5) + 0.5));
    const float span = view.XEnd - view.XStart;
    const bool markers = span < 0.25f;

    Trace traces[2];
    int n = 0;
    if (uv) traces[n++] = Trace{true, model_.Y1Color(), LineStyle::Solid};
    if (cond) traces[n++] = Trace{false, model_.Y2Color(), LineStyle::Dotted};

    auto x = [&](int64_t i) { return model_.IndexToTime(static_cast<int32_t>(i)); };
    auto clipLeft = [&](int64_t a, int64_t b) {
        for (int k = 0; k < n; ++k)
            PrintSegmentClipLeft(p, x(a), traceY(traces[k], static_cast<int32_t>(a)), x(b),
                                 traceY(traces[k], static_cast<int32_t>(b)), markers, traces[k]);
    };
    auto clipRight = [&](int64_t a, int64_t b) {
        for (int k = 0; k < n; ++k)
            PrintSegmentClipRight(p, x(a), traceY(traces[k], static_cast<int32_t>(a)), x(b),
                                  traceY(traces[k], static_cast<int32_t>(b)), markers, traces[k]);
    };

    clipLeft(first, static_cast<int64_t>(first) + stride);

    int64_t i = static_cast<int64_t>(first) + stride;
    for (; i <= static_cast<int64_t>(last) - stride; i += stride) {
        const bool lastSegment = i + stride > static_cast<int64_t>(last) - stride;
        for (int k = 0; k < n; ++k)
            PrintMiddleSegment(p, static_cast<int32_t>(i), static_cast<int32_t>(i + stride),
                               markers, lastSegment, traces[k]);
    }

    if (i < last) {
        const int64_t b = std::min<int64_t>(i + stride, numPoints - 1);
        clipRight(i, b);
        if (b < numPoints - 2) clipRight(b, b + 1);
    } else if (i < static_cast<int64_t>(numPoints) - 2) {
        clipRight(i, i + 1);
    }
}

void ReportPrinter::PrintMiddleSegment(DrawingSurface& p, int32_t a, int32_t b, bool markers,
                                       bool lastSegment, const Trace& trace) {
    const ViewWindow& view = model_.view();
    const float low = view.Y1Start, high = view.Y1End;
    float xa = model_.IndexToTime(a), ya = traceY(trace, a);
    float xb = model_.IndexToTime(b), yb = traceY(trace, b);
    bool aClipped = false, bClipped = false;

    if (yb < low) {
        if (ya < low) return;
        xb = InterpolateX(xa, ya, xb, yb, low);
        yb = low;
        bClipped = true;
    } else if (ya < low) {
        xa = InterpolateX(xa, ya, xb, yb, low);
        ya = low;
        aClipped = true;
    }
    if (yb > high) {
        if (ya > high) return;
        xb = InterpolateX(xa, ya, xb, yb, high);
        yb = high;
        bClipped = true;
    } else if (ya > high) {
        xa = InterpolateX(xa, ya, xb, yb, high);
        ya = high;
        aClipped = true;
    }

    traceLine(p, trace, xa, ya, xb, yb);
    if (!markers) return;
    if (!aClipped) PrintPointMarker(p, xa, ya, trace.color);
    if (lastSegment && !bClipped) PrintPointMarker(p, xb, yb, trace.color);
}

void ReportPrinter::PrintSegmentClipLeft(DrawingSurface& p, float x1, float y1, float x2,
                                         float y2, bool showMarker, const Trace& trace) {
    const ViewWindow& view = model_.view();
    const float low = view.Y1Start, high = view.Y1End;
    const ClipPoint s = ClipSegmentStart(x1, y1, x2, y2, low, high, view.XStart);
    if (showMarker && s.inside) PrintPointMarker(p, s.x, s.y, trace.color);
    if (low <= y2 && y2 <= high) {
        traceLine(p, trace, s.x, s.y, x2, y2);
    } else if (y2 > high) {
        if (!(s.y >= high)) traceLine(p, trace, s.x, s.y, InterpolateX(s.x, s.y, x2, y2, high), high);
    } else if (y2 < low) {
        if (!(s.y <= low)) traceLine(p, trace, s.x, s.y, InterpolateX(s.x, s.y, x2, y2, low), low);
    }
}

void ReportPrinter::PrintSegmentClipRight(DrawingSurface& p, float x1, float y1, float x2,
                                          float y2, bool showMarker, const Trace& trace) {
    const ViewWindow& view = model_.view();
    const float low = view.Y1Start, high = view.Y1End;
    const ClipPoint e = ClipSegmentEnd(x1, y1, x2, y2, low, high, view.XEnd);
    if (showMarker && e.inside) PrintPointMarker(p, e.x, e.y, trace.color);
    if (low <= y1 && y1 <= high) {
        traceLine(p, trace, x1, y1, e.x, e.y);
    } else if (y1 > high) {
        if (!(e.y >= high)) traceLine(p, trace, InterpolateX(x1, y1, e.x, e.y, high), high, e.x, e.y);
    } else if (y1 < low) {
        if (!(e.y <= low)) traceLine(p, trace, InterpolateX(x1, y1, e.x, e.y, low), low, e.x, e.y);
    }
}

void ReportPrinter::PrintPointMarker(DrawingSurface& p, float x, float y, OleColor color) {
    p.setLineStyle(LineStyle::Solid);
    const double dx = drawing_.charWidth() / 4;
    const double dy = drawing_.charHeight2() / 8;
    const OleColor before = p.foreColor();
    p.setForeColor(color);
    p.box(x - dx, y - dy, x + dx, y + dy);
    p.setForeColor(before);
}

}  // namespace pelomar::core
