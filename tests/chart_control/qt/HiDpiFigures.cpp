// Prints how the chart comes out on a screen of the scale Qt runs at (set
// QT_SCALE_FACTOR): the share of uniform blocks and the widths of its
// one-pixel lines, as shown at device resolution.
//   pelomar_hidpi_figures [PICTURE-FOLDER]
// With a folder it also writes the device pictures measured there.
//   pelomar_hidpi_figures --golden FOLDER
// writes the pictures of the golden charts instead (tests/data/pictures).
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>

#include "HiDpiCharts.h"
#include "SyntheticRun.h"
#include "pelomar/Pelomar.h"

using namespace pelomar::testing;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc > 2 && QByteArray(argv[1]) == "--golden") {
        const QString out = QString::fromLocal8Bit(argv[2]);
        QDir().mkpath(out);
        for (const GoldenChart& g : goldenCharts()) {
            Stage stage(g.size, QPoint(0, 0), g.designTime);
            if (!stage.show()) return 1;
            g.fill(*stage.chart);
            paintPending();
            const QImage picture = stage.chart->picture().convertToFormat(QImage::Format_RGB32);
            if (!picture.save(out + QLatin1Char('/') + QLatin1String(g.name) + QStringLiteral(".png"))) return 1;
        }
        QTemporaryDir scratch;
        const QImage page = printedReportPage(scratch.path());
        return !page.isNull() && page.save(out + QStringLiteral("/report-page1.png")) ? 0 : 1;
    }
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();

    Stage runStage(QSize(1000, 560));
    if (!runStage.show()) return 1;
    pelomar::Pelomar& run = *runStage.chart;
    const double ratio = run.devicePixelRatioF();
    run.setXEnd(120);
    run.setY1Start(-0.1f);
    run.setY1End(1.5f);
    run.setY2End(100);
    fillSyntheticRun(run, 120);
    run.Redraw();
    addRunMarks(run);
    paintPending();
    const QImage runShot = runStage.pixels();
    const int s = std::max(1, static_cast<int>(std::lround(ratio)));
    const BlockMeasure blocks = uniformBlocks(runShot, s, 0xFFFFFF);
    std::printf("scale %.2f: window %dx%d logical, %dx%d device, picture %dx%d\n", ratio, run.width(),
                run.height(), runShot.width(), runShot.height(), run.picture().width(), run.picture().height());
    std::printf("run chart: %d of %d inked %dx%d blocks uniform (%.1f%%)\n", blocks.uniform, blocks.inked, s, s,
                100 * blocks.share());
    const BlockMeasure footprints = uniformFootprints(runShot, ratio, 0xFFFFFF);
    std::printf("run chart: %d of %d inked footprints uniform (%.1f%%)\n", footprints.uniform, footprints.inked,
                100 * footprints.share());

    Stage lineStage(QSize(800, 520));
    if (!lineStage.show()) return 1;
    pelomar::Pelomar& lines = *lineStage.chart;
    fillLineChart(lines);
    paintPending();
    const QImage lineShot = lineStage.pixels();
    const LineFigures f = measureLineChart(lineShot);
    const BlockMeasure lineBlocks = uniformBlocks(lineShot, s, 0xFFFFFF);
    std::printf("line chart: %d of %d inked %dx%d blocks uniform (%.1f%%)\n", lineBlocks.uniform,
                lineBlocks.inked, s, s, 100 * lineBlocks.share());
    std::printf("line widths: %s\n", qPrintable(f.text()));

    if (!folder.isEmpty()) {
        QDir().mkpath(folder);
        const QString tag = QString::number(ratio);
        runShot.save(folder + QStringLiteral("/run-") + tag + QStringLiteral(".png"));
        lineShot.save(folder + QStringLiteral("/lines-") + tag + QStringLiteral(".png"));
    }
    return 0;
}
