#pragma once

// Charts laid out for measuring how they come out on a screen of any scale,
// and the figures measured on them (PictureMeasures.h).
#include <QCoreApplication>
#include <QEvent>
#include <QImage>
#include <QPixmap>
#include <QPrinter>
#include <QProcess>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <QtTest>
#include <cmath>
#include <functional>
#include <memory>
#include <vector>

#include "PictureMeasures.h"
#include "ReportSample.h"
#include "SyntheticRun.h"
#include "pelomar/Pelomar.h"

namespace pelomar::testing {

constexpr QRgb kBlue = 0x0000FF, kRed = 0xFF0000;

// Runs the pending repaints into the window's backing store.
inline void paintPending() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
    QCoreApplication::processEvents();
}

// The device pixels Qt gives a widget: its logical rectangle in its window
// scaled and rounded at both edges.
inline QRect deviceRect(const QWidget& w) {
    const double r = w.devicePixelRatioF();
    const QPoint at = w.mapTo(w.window(), QPoint(0, 0));
    const auto dev = [r](int v) { return static_cast<int>(std::lround(v * r)); };
    return QRect(QPoint(dev(at.x()), dev(at.y())),
                 QPoint(dev(at.x() + w.width()) - 1, dev(at.y() + w.height()) - 1));
}

// What the window system was last given for the window, at device
// resolution. The offscreen platform hands out no more of its backing store
// than the window's logical size, so a window whose pixels are wanted whole
// must be larger than its content by the scale.
inline QImage windowPixels(QWidget& window) {
    const QPixmap shot = window.screen()->grabWindow(window.winId(), 0, 0, window.width(), window.height());
    QImage img = shot.toImage().convertToFormat(QImage::Format_RGB32);
    img.setDevicePixelRatio(1);
    return img;
}

// A chart shown in a window large enough for all its device pixels to be
// read back, at a logical offset in it.
struct Stage {
    QWidget window;
    Pelomar* chart = nullptr;

    explicit Stage(QSize chartSize, QPoint at = QPoint(0, 0), bool designTime = false) {
        window.setAutoFillBackground(true);
        QPalette pal = window.palette();
        pal.setColor(QPalette::Window, QColor(0xFF, 0x00, 0xFF));
        window.setPalette(pal);
        window.resize((at.x() + chartSize.width()) * 2 + 8, (at.y() + chartSize.height()) * 2 + 8);
        chart = new Pelomar(designTime ? Pelomar::UserMode::DesignTime : Pelomar::UserMode::RunTime, &window);
        chart->setGeometry(QRect(at, chartSize));
    }
    bool show() {
        window.show();
        return QTest::qWaitForWindowExposed(&window);
    }
    // The chart's device pixels as the window system has them.
    QImage pixels() { return windowPixels(window).copy(deviceRect(*chart)); }
};

// The pen width in device pixels that the chart's one-pixel lines take.
inline int thinLineWidth(double ratio) { return std::max(1, static_cast<int>(std::lround(ratio))); }

// Ten minutes of a flat UV trace near the top and a conductivity ramp below
// it, three event marks whose stems stand clear of both traces. Three
// samples a minute: the ramp's segments are long enough to show their width.
inline void fillLineChart(Pelomar& chart) {
    chart.setSamplingRate(0.05f);
    chart.setXEnd(10);
    for (int i = 0; i < 30; ++i) chart.AddPoints(1.9f, static_cast<float>(50 + 400 * i / 30.0));
    chart.Redraw();
    for (const float at : {6.0f, 7.5f, 9.0f}) chart.AddLabel("1", 0x00FF00, 60, at);
}

// Device pixels beside a tick where the bottom edge is clear of it.
constexpr int kTickClearance = 4;

// The charts whose pictures at scale 1 are kept under tests/data/pictures:
// traces, marks and captions of a long run; the markers of a narrow view;
// axes with a multiplier; the chart above; a line profile.
struct GoldenChart {
    const char* name;
    QSize size;
    bool designTime;
    std::function<void(Pelomar&)> fill;
};

inline const std::vector<GoldenChart>& goldenCharts() {
    static const std::vector<GoldenChart> charts = {
        {"run", QSize(1000, 560), false,
         [](Pelomar& c) {
             c.setXEnd(120);
             c.setY1Start(-0.1f);
             c.setY1End(1.5f);
             c.setY2End(100);
             fillSyntheticRun(c, 120);
             c.Redraw();
             addRunMarks(c);
         }},
        {"markers", QSize(640, 400), false,
         [](Pelomar& c) {
             c.setXEnd(0.2f);
             fillSyntheticRun(c, 0.15);
             c.Redraw();
             c.AddLabel("S", 0xFFFF00, 50, 0.05f);
         }},
        {"multiplier", QSize(700, 420), false,
         [](Pelomar& c) {
             c.setXEnd(3);
             c.setY1Start(0);
             c.setY1End(0.004f);
             c.setY2Start(0);
             c.setY2End(0.002f);
             for (int i = 0; i < 800; ++i)
                 c.AddPoints(static_cast<float>(0.002 + 0.0015 * std::sin(i / 60.0)),
                             static_cast<float>(0.001 + 0.0008 * std::cos(i / 90.0)));
             c.Redraw();
         }},
        {"lines", QSize(800, 520), false, [](Pelomar& c) { fillLineChart(c); }},
        {"line-profile", QSize(700, 420), true,
         [](Pelomar& c) {
             c.setChartType(ChartTypeEnm::LineProfile);
             for (int i = 0; i < 40; ++i) c.AddPoints(static_cast<float>(0.5 + 0.4 * std::sin(i / 5.0)), 100);
             c.Redraw();
         }},
    };
    return charts;
}

// The first page of the sample report printed to a PDF in `folder`, as
// pdftoppm shows it at 40 dpi; a null image when it cannot be made.
inline QImage printedReportPage(const QString& folder) {
    Pelomar chart;
    fillReportSample(chart, 12, 6);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setOutputFileName(folder + QStringLiteral("/report.pdf"));
    chart.setPrinter(&printer);
    chart.PrintGraph(true, true, true, PrintOptionTypeEnm::UVTrace_EventMark_CondTrace);
    QProcess raster;
    raster.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("40"), QStringLiteral("-f"),
                                              QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"),
                                              QStringLiteral("-png"), QStringLiteral("-singlefile"),
                                              folder + QStringLiteral("/report.pdf"), folder + QStringLiteral("/page")});
    if (!raster.waitForFinished(60000) || raster.exitCode() != 0) return {};
    return QImage(folder + QStringLiteral("/page.png")).convertToFormat(QImage::Format_RGB32);
}

// The widths of the chart's one-pixel lines on its device picture.
struct LineFigures {
    QRect frame;  // device pixels of the frame's edges (their first pixel)
    Widths frameLeft, frameRight, frameTop, frameBottom, stems, flatTrace, rampTrace;

    // Every line of one width throughout, and that width `want`.
    bool allOf(int want) const {
        for (const Widths* w : {&frameLeft, &frameRight, &frameTop, &frameBottom, &stems, &flatTrace, &rampTrace})
            if (w->size() != 1 || w->begin()->first != want) return false;
        return true;
    }
    QString text() const {
        return QStringLiteral("frame left %1; right %2; top %3; bottom %4; stems %5; flat trace %6; ramp trace %7")
            .arg(describe(frameLeft), describe(frameRight), describe(frameTop), describe(frameBottom),
                 describe(stems), describe(flatTrace), describe(rampTrace));
    }
};

// `img` is the device picture of a chart filled by fillLineChart.
inline LineFigures measureLineChart(const QImage& img) {
    LineFigures f;
    const PixelTest black = isBlackInk();
    const int cx = img.width() / 2, cy = img.height() / 2;
    const auto edge = [&](int dx, int dy) {
        int x = cx, y = cy;
        while (x >= 0 && y >= 0 && x < img.width() && y < img.height() && !black(img.pixel(x, y))) x += dx, y += dy;
        return dx ? x : y;
    };
    const int left = edge(-1, 0), right = edge(1, 0), top = edge(0, -1), bottom = edge(0, 1);
    f.frame = QRect(QPoint(left, top), QPoint(right, bottom));
    const int m = 6;  // clear of the corners and of the ticks' ends
    // The stems stand from the bottom edge to the circles a fifth of the way
    // up; the ramp starts on the left edge below them.
    const int stemTop = bottom - (bottom - top) / 5;
    f.frameLeft = verticalLineWidths(img, left + m, -1, top + m, stemTop, black, 2 * m);
    f.frameRight = verticalLineWidths(img, right - m, 1, top + m, bottom - m, black, 2 * m);
    f.frameTop = horizontalLineWidths(img, top + m, -1, left + m, right - m, black, 2 * m);
    // The time axis's ticks hang from the bottom edge: a column whose run is
    // longer than a few pixels either side of it holds a tick, and is left
    // out.
    const auto bottomRun = [&](int x) { return runFrom(img, x, bottom - m, 0, 1, 2 * m, black); };
    for (int x = left + m; x < right - m; ++x) {
        const int n = bottomRun(x);
        if (n && n <= std::min(bottomRun(x - kTickClearance), bottomRun(x + kTickClearance))) ++f.frameBottom[n];
    }
    for (int y = stemTop; y < bottom - m; ++y) {
        int x = left + m;
        while (x < right - m) {
            if (!black(img.pixel(x, y))) {
                ++x;
                continue;
            }
            int n = 0;
            while (x < right - m && black(img.pixel(x, y))) ++x, ++n;
            ++f.stems[n];
        }
    }
    f.flatTrace = horizontalLineWidths(img, top + m, 1, left + m, right - m, isColour(kBlue), bottom - top);
    f.rampTrace = horizontalLineWidths(img, bottom - m, -1, left + m, right - m, isColour(kRed), bottom - top);
    return f;
}

}  // namespace pelomar::testing
