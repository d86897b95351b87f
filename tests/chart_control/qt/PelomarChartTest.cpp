#include <QFontDatabase>
#include <QLabel>
#include <QSignalSpy>
#include <QtTest>

#include "SyntheticRun.h"
#include "pelomar/Pelomar.h"

using pelomar::Pelomar;

namespace {
// Pixels of exactly this colour in a column.
QList<int> rowsOf(const QImage& img, int x, QColor c) {
    QList<int> rows;
    for (int y = 0; y < img.height(); ++y)
        if (img.pixelColor(x, y) == c) rows << y;
    return rows;
}

int countOf(const QImage& img, QColor c) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) n += img.pixelColor(x, y) == c ? 1 : 0;
    return n;
}
}  // namespace

class PelomarChartTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Pelomar> shownChart() {
        auto chart = std::make_unique<Pelomar>();
        chart->resize(700, 420);
        chart->show();
        if (!QTest::qWaitForWindowExposed(chart.get())) return nullptr;
        chart->setXEnd(120);
        pelomar::testing::fillSyntheticRun(*chart, 120);
        chart->Redraw();
        return chart;
    }

private slots:
    void defaultTracesAreBlueAndRed() {
        Pelomar chart;
        chart.resize(700, 420);
        for (int i = 0; i < 3000; ++i) chart.AddPoints(1.5f, 100);
        chart.Redraw();
        const QImage img = chart.grab().toImage();
        const QList<int> blue = rowsOf(img, 350, QColor(0, 0, 255));
        const QList<int> red = rowsOf(img, 350, QColor(255, 0, 0));
        QVERIFY(!blue.isEmpty());
        QVERIFY(!red.isEmpty());
        QVERIFY(blue.first() < red.first());  // 1.5 of 2.2 AU lies above 100 of 500 mS/cm
    }

    void lineProfileDrawsNoConductivity() {
        Pelomar chart(Pelomar::UserMode::DesignTime);
        chart.resize(700, 420);
        chart.setChartType(pelomar::ChartTypeEnm::LineProfile);
        for (int i = 0; i < 40; ++i) chart.AddPoints(1.0f, 100);
        chart.Redraw();
        const QImage img = chart.picture();
        QCOMPARE(countOf(img, QColor(255, 0, 0)), 0);
        QVERIFY(countOf(img, QColor(0, 0, 255)) > 100);
    }

    void chartFontsAreInstalled() {
        // Without these faces the labels fall back to whatever is there.
        const QStringList families = QFontDatabase::families();
        QVERIFY(families.contains(QStringLiteral("Liberation Sans")));
        QVERIFY(families.contains(QStringLiteral("DejaVu Sans")));
    }

    void rubberBandDragRaisesZoomEndWithTheNewView() {
        auto chart = shownChart();
        QVERIFY(chart);
        QSignalSpy zoom(chart.get(), &Pelomar::ZoomEnd);
        const QImage before = chart->picture();
        QTest::mousePress(chart.get(), Qt::LeftButton, {}, QPoint(200, 120));
        QTest::mouseMove(chart.get(), QPoint(300, 200));
        QTest::mouseMove(chart.get(), QPoint(400, 250));
        QCOMPARE(chart->picture(), before);  // the band is an overlay
        QVERIFY(chart->grab().toImage().pixelColor(300, 120) != before.pixelColor(300, 120));
        QTest::mouseRelease(chart.get(), Qt::LeftButton, {}, QPoint(400, 250));

        QCOMPARE(zoom.count(), 1);
        const QList<QVariant> args = zoom.at(0);
        const float x0 = args.at(0).toFloat(), x1 = args.at(1).toFloat();
        const float y0 = args.at(2).toFloat(), y1 = args.at(3).toFloat();
        QVERIFY(x0 > 20 && x0 < 40 && x1 > 55 && x1 < 75);
        QVERIFY(y0 < y1);
        QCOMPARE(chart->XEnd(), 120.0f);  // the full range is kept
        QVERIFY(chart->picture() != before);

        QSignalSpy unzoom(chart.get(), &Pelomar::UnZoomEnd);
        QTest::mouseDClick(chart.get(), Qt::LeftButton, {}, QPoint(300, 200));
        QCOMPARE(unzoom.count(), 1);
        QCOMPARE(chart->XEnd(), 120.0f);  // the duration, 119.99.. min, rounded up
    }

    void cancelledBandLeavesThePictureAsItWas() {
        auto chart = shownChart();
        QVERIFY(chart);
        QSignalSpy zoom(chart.get(), &Pelomar::ZoomEnd);
        const QImage before = chart->grab().toImage();
        QTest::mousePress(chart.get(), Qt::LeftButton, {}, QPoint(200, 120));
        QTest::mouseMove(chart.get(), QPoint(201, 300));
        QTest::mouseRelease(chart.get(), Qt::LeftButton, {}, QPoint(201, 300));
        QCOMPARE(zoom.count(), 0);
        QTest::mouseMove(chart.get(), QPoint(5, 5));  // off the plot: no cursor line
        QCOMPARE(chart->grab().toImage(), before);
    }

    void addLabelDrawsItsMarkAtOnce() {
        auto chart = shownChart();
        QVERIFY(chart);
        const QColor green(0, 255, 0);
        QCOMPARE(countOf(chart->picture(), green), 0);
        QCOMPARE(chart->AddLabel("1", 0x00FF00, 30, 34.0f), int16_t(0));
        QVERIFY(countOf(chart->picture(), green) > 10);
    }

    void valueTipOpensBesideThePointerAfterItsDelay() {
        auto chart = shownChart();
        QVERIFY(chart);
        auto* tip = chart->findChild<QLabel*>();
        QVERIFY(tip);
        const QPoint at(250, 100);
        QTest::mouseMove(chart.get(), at);
        QVERIFY(!tip->isVisible());
        QTRY_VERIFY(tip->isVisible());
        QVERIFY(tip->text().contains(QStringLiteral(" AU ")));
        QVERIFY(tip->text().count(QLatin1Char('\n')) == 2);
        QVERIFY(!tip->geometry().contains(at));
    }

    // Straight up out of the plot into a strip above the chart, as into the
    // tab bar of a window: the chart sees no move over its margin, only the
    // leave, and the line and the tip must go with it.
    void leavingTheChartTakesTheCursorLineAndTheTipAway() {
        QWidget window;
        window.resize(700, 450);
        auto* strip = new QWidget(&window);
        strip->setGeometry(0, 0, 700, 30);
        auto* chart = new Pelomar(&window);
        chart->setGeometry(0, 30, 700, 420);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        chart->setXEnd(120);
        pelomar::testing::fillSyntheticRun(*chart, 120);
        chart->Redraw();
        auto* tip = chart->findChild<QLabel*>();
        QVERIFY(tip);
        const QImage bare = chart->grab().toImage();

        QTest::mouseMove(&window, QPoint(250, 130));
        QVERIFY(chart->grab().toImage() != bare);  // the line, the tip still to come
        QTRY_VERIFY(tip->isVisible());

        QTest::mouseMove(&window, QPoint(250, 10));
        QVERIFY(!chart->underMouse());
        QVERIFY(!tip->isVisible());
        QCOMPARE(chart->grab().toImage(), bare);

        // A tip armed just before the pointer goes never opens.
        QTest::mouseMove(&window, QPoint(260, 130));
        QVERIFY(!tip->isVisible());
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(chart, &leave);
        QTest::qWait(500);
        QVERIFY(!tip->isVisible());
        QCOMPARE(chart->grab().toImage(), bare);
    }
};

QTEST_MAIN(PelomarChartTest)
#include "PelomarChartTest.moc"
