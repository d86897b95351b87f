// The chart on a screen of the scale the program runs at (QT_SCALE_FACTOR,
// run at 1, 1.25, 1.5 and 2): what reaches the window at device resolution
// is drawn at that resolution, its thin lines keep one width, every device
// pixel the chart is given is painted, and at scale 1 the pictures are the
// kept ones pixel for pixel.
#include <QtTest>

#include "HiDpiCharts.h"
#include "SyntheticRun.h"
#include "pelomar/Pelomar.h"

using namespace pelomar::testing;
using pelomar::Pelomar;

namespace {

QString figures(const BlockMeasure& m) {
    return QStringLiteral("%1 of %2 (%3%)").arg(m.uniform).arg(m.inked).arg(100 * m.share(), 0, 'f', 1);
}

// Samples of a slow run: a UV wave and a conductivity wave.
void addWaves(Pelomar& chart, int from, int count) {
    for (int i = from; i < from + count; ++i)
        chart.AddPoints(static_cast<float>(0.9 + 0.8 * std::sin(i / 40.0)),
                        static_cast<float>(250 + 200 * std::cos(i / 70.0)));
}

void reexpose(QWidget& window) {
    const QSize size = window.size();
    window.resize(size + QSize(1, 1));
    paintPending();
    window.resize(size);
    paintPending();
}

}  // namespace

class PelomarHiDpiTest : public QObject {
    Q_OBJECT

private slots:
    void thePictureHoldsEveryDevicePixelOfTheChart() {
        Stage stage(QSize(641, 523), QPoint(3, 7));
        QVERIFY(stage.show());
        stage.chart->Redraw();
        paintPending();
        const QImage& picture = stage.chart->picture();
        QCOMPARE(picture.devicePixelRatio(), stage.chart->devicePixelRatioF());
        const QRect device = deviceRect(*stage.chart);
        QVERIFY2(picture.width() >= device.width() && picture.height() >= device.height(),
                 qPrintable(QStringLiteral("%1x%2 for %3x%4")
                                .arg(picture.width())
                                .arg(picture.height())
                                .arg(device.width())
                                .arg(device.height())));
    }

    // A picture of logical size blown up to the device scores 100 %.
    void isNotABlownUpPicture() {
        const double ratio = qApp->devicePixelRatio();
        for (const char* name : {"run", "lines"}) {
            const GoldenChart& g = *std::find_if(goldenCharts().begin(), goldenCharts().end(),
                                                 [&](const GoldenChart& c) { return qstrcmp(c.name, name) == 0; });
            Stage stage(g.size);
            QVERIFY(stage.show());
            g.fill(*stage.chart);
            paintPending();
            const BlockMeasure m = uniformFootprints(stage.pixels(), ratio, 0xFFFFFF);
            qInfo("%s at %.2f: uniform footprints %s", name, ratio, qPrintable(figures(m)));
            QVERIFY(m.inked > 1000);
            QVERIFY2(m.share() < 0.75, qPrintable(figures(m)));
        }
    }

    void thinLinesAreOneWidthAlongTheirLength_data() {
        QTest::addColumn<QPoint>("at");
        QTest::newRow("at the window's corner") << QPoint(0, 0);
        QTest::newRow("between device pixels") << QPoint(3, 7);
    }
    void thinLinesAreOneWidthAlongTheirLength() {
        QFETCH(QPoint, at);
        Stage stage(QSize(800, 520), at);
        QVERIFY(stage.show());
        fillLineChart(*stage.chart);
        paintPending();
        const LineFigures f = measureLineChart(stage.pixels());
        const int want = thinLineWidth(stage.chart->devicePixelRatioF());
        qInfo("line widths at %.2f: %s", stage.chart->devicePixelRatioF(), qPrintable(f.text()));
        QVERIFY2(f.allOf(want), qPrintable(QStringLiteral("want %1 px: %2").arg(want).arg(f.text())));
    }

    // The window is painted in a colour the chart never uses before the
    // chart shows; whatever of it is left inside the chart's device pixels
    // was claimed by the chart and not painted.
    void paintsEveryDevicePixelItClaims_data() {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<int>("width");
        QTest::newRow("at the corner") << QPoint(0, 0) << 640;
        QTest::newRow("offset, odd width") << QPoint(3, 7) << 641;
        QTest::newRow("offset by a half") << QPoint(1, 1) << 643;
    }
    void paintsEveryDevicePixelItClaims() {
        QFETCH(QPoint, at);
        QFETCH(int, width);
        Stage stage(QSize(width, 540), at);
        stage.chart->hide();
        QVERIFY(stage.show());
        stage.chart->setXEnd(30);
        fillSyntheticRun(*stage.chart, 20);
        QStringList seams;
        for (int height = 500; height <= 540; ++height) {
            stage.chart->hide();
            stage.chart->resize(width, height);
            stage.window.update();
            paintPending();
            stage.chart->show();
            // Its picture is drawn at its first paint.
            QTRY_VERIFY(!stage.chart->picture().isNull());
            paintPending();
            const QRect device = deviceRect(*stage.chart);
            const int left = sentinelPixels(windowPixels(stage.window), device, 0xFF00FF);
            if (left) seams << QStringLiteral("height %1: %2 px").arg(height).arg(left);
        }
        QVERIFY2(seams.isEmpty(), qPrintable(seams.join(QStringLiteral("; "))));
    }

    // Live points drawn a batch at a time reach the window as their full
    // redraw does, at device resolution.
    void appendsReachTheWindowAsAFullRedrawDrawsThem() {
        Stage stage(QSize(640, 400));
        QVERIFY(stage.show());
        Pelomar& chart = *stage.chart;
        chart.setXEnd(2);
        addWaves(chart, 0, 300);
        chart.Redraw();
        paintPending();
        int next = chart.NumPoints();
        for (int round = 0; round < 12; ++round) {
            addWaves(chart, next, 4);
            next += 4;
            chart.DrawNewPoints();
            paintPending();
        }
        const QImage live = stage.pixels();
        QImage picture = chart.picture().copy(QRect(QPoint(0, 0), live.size())).convertToFormat(live.format());
        picture.setDevicePixelRatio(1);
        QCOMPARE(live, picture);
        chart.Redraw();
        paintPending();
        QCOMPARE(stage.pixels(), live);
    }

    // The printer has no display scale: the report comes out as at scale 1.
    void thePrintedReportIsTheSameAtEveryScale() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QImage page = printedReportPage(dir.path());
        QVERIFY(!page.isNull());
        const QImage kept = QImage(QStringLiteral(TAVRIN_TEST_DATA "/pictures/report-page1.png"))
                                .convertToFormat(QImage::Format_RGB32);
        QCOMPARE(page, kept);
    }

    // Run on two screens, of scale 1 and 2: the chart moved from one to the
    // other is drawn anew at the other's resolution, and back again as it was.
    void drawnAnewOnAScreenOfAnotherScale() {
        QScreen* one = nullptr;
        QScreen* two = nullptr;
        for (QScreen* s : qApp->screens()) (s->devicePixelRatio() == 1 ? one : two) = s;
        QVERIFY2(one && two && two->devicePixelRatio() == 2, "wants screens of scale 1 and 2");
        Stage stage(QSize(800, 520));
        stage.window.setScreen(one);
        QVERIFY(stage.show());
        fillLineChart(*stage.chart);
        paintPending();
        const QImage before = stage.pixels();
        QCOMPARE(stage.chart->picture().devicePixelRatio(), 1.0);

        stage.window.setScreen(two);
        // The screen change alone draws it anew, before any paint.
        QCOMPARE(stage.chart->picture().devicePixelRatio(), 2.0);
        QCOMPARE(stage.chart->picture().size(), QSize(1600, 1040));
        // A window system gives the window a backing store of its new device
        // size; the offscreen one does at the next resize.
        reexpose(stage.window);
        const QImage shown = stage.pixels();
        QCOMPARE(shown.size(), QSize(1600, 1040));
        const BlockMeasure blocks = uniformFootprints(shown, 2, 0xFFFFFF);
        QVERIFY2(blocks.inked > 1000 && blocks.share() < 0.75, qPrintable(figures(blocks)));
        QVERIFY2(measureLineChart(shown).allOf(2), qPrintable(measureLineChart(shown).text()));

        stage.window.setScreen(one);
        QCOMPARE(stage.chart->picture().devicePixelRatio(), 1.0);
        reexpose(stage.window);
        QCOMPARE(stage.pixels(), before);
    }

    // Run at scale 1 only: the pictures of tests/data/pictures, kept from
    // before the chart drew at device resolution.
    void atScaleOneThePicturesAreTheKeptOnes() {
        QCOMPARE(qApp->devicePixelRatio(), 1.0);
        for (const GoldenChart& g : goldenCharts()) {
            Stage stage(g.size, QPoint(0, 0), g.designTime);
            QVERIFY(stage.show());
            g.fill(*stage.chart);
            paintPending();
            const QString file = QStringLiteral(TAVRIN_TEST_DATA "/pictures/") + QLatin1String(g.name) + ".png";
            const QImage kept = QImage(file).convertToFormat(QImage::Format_RGB32);
            QVERIFY2(!kept.isNull(), qPrintable(file));
            QCOMPARE(stage.chart->picture().convertToFormat(QImage::Format_RGB32), kept);
            QCOMPARE(stage.pixels(), kept);
        }
    }
};

QTEST_MAIN(PelomarHiDpiTest)
#include "PelomarHiDpiTest.moc"
