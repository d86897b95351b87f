// Writes a picture of a chart with a two-hour run, its event marks and an
// open value tool tip: pelomar_screenshot OUT.png
#include <QApplication>
#include <QPixmap>
#include <QtTest>

#include "SyntheticRun.h"
#include "pelomar/Pelomar.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) return 2;
    pelomar::Pelomar chart;
    chart.resize(1000, 560);
    chart.show();
    if (!QTest::qWaitForWindowExposed(&chart)) return 1;
    chart.setXEnd(120);
    chart.setY1Start(-0.1f);
    chart.setY1End(1.5f);
    chart.setY2End(100);
    pelomar::testing::fillSyntheticRun(chart, 120);
    chart.Redraw();
    pelomar::testing::addRunMarks(chart);

    // Over the second peak's top, then long enough for the tip's delay.
    const QPoint at(static_cast<int>(1000 * (5 + 34.0 / 120 * 75) / 85), 120);
    QTest::mouseMove(&chart, at);
    QTest::qWait(450);
    return chart.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
