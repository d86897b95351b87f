// What reaches the window: the pixels of the window's backing store are
// compared with the chart's picture after appends, marks and overlays, so a
// rectangle left out of a repaint shows as a difference.
#include <QPaintEvent>
#include <QScreen>
#include <QWindow>
#include <QtTest>

#include "SyntheticRun.h"
#include "pelomar/Pelomar.h"

using pelomar::Pelomar;

namespace {

// Paint events of one widget and the region they covered.
class PaintLog : public QObject {
public:
    explicit PaintLog(QWidget& w) { w.installEventFilter(this); }
    int paints = 0;
    QRegion region;
    void reset() {
        paints = 0;
        region = QRegion();
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
            region += static_cast<QPaintEvent*>(event)->region();
        }
        return false;
    }
};

// Runs the pending repaints into the backing store.
void paintPending() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
    QCoreApplication::processEvents();
}

// What the window system was last given for the widget's area.
QImage onScreen(QWidget& w) {
    const QPixmap shot = w.screen()->grabWindow(w.window()->winId(), w.x(), w.y(), w.width(), w.height());
    return shot.toImage().convertToFormat(QImage::Format_RGB32);
}

// Pixels where two images of the same size differ.
int differences(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return -1;
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
    return n;
}

// The samples of a run with ups and downs between samples, so that every
// batch moves the traces.
void addJagged(Pelomar& chart, int from, int count) {
    for (int i = from; i < from + count; ++i)
        chart.AddPoints(static_cast<float>(0.1 + 1.7 * ((i * 37) % 11) / 10.0),
                        static_cast<float>(20 + 400 * ((i * 13) % 7) / 6.0));
}

}  // namespace

class PelomarRepaintTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Pelomar> shownChart(float xEnd, double minutes) {
        auto chart = std::make_unique<Pelomar>();
        chart->resize(640, 400);
        chart->show();
        if (!QTest::qWaitForWindowExposed(chart.get())) return nullptr;
        chart->setXEnd(xEnd);
        pelomar::testing::fillSyntheticRun(*chart, minutes);
        chart->Redraw();
        paintPending();
        return chart;
    }

private slots:
    void appendsReachTheScreenPixelForPixel_data() {
        QTest::addColumn<float>("xEnd");
        QTest::addColumn<double>("minutes");
        QTest::addColumn<int>("batch");
        // Wide view: a few pixels per batch; narrow view: markers on every
        // vertex; a view the run reaches: the extension vertex at its edge.
        QTest::newRow("wide view") << 120.0f << 30.0 << 4;
        QTest::newRow("markers") << 0.2f << 0.05 << 2;
        QTest::newRow("up to the right edge") << 2.0f << 1.9 << 4;
    }
    void appendsReachTheScreenPixelForPixel() {
        QFETCH(float, xEnd);
        QFETCH(double, minutes);
        QFETCH(int, batch);
        auto chart = shownChart(xEnd, minutes);
        QVERIFY(chart);
        QCOMPARE(differences(onScreen(*chart), chart->picture()), 0);
        int next = chart->NumPoints();
        const QImage before = chart->picture();
        for (int round = 0; round < 12; ++round) {
            addJagged(*chart, next, batch);
            next += batch;
            chart->DrawNewPoints();
            paintPending();
            QCOMPARE(differences(onScreen(*chart), chart->picture()), 0);
        }
        QVERIFY(chart->picture() != before);
    }

    void anAppendRepaintsOnlyAroundTheNewPoints() {
        auto chart = shownChart(120, 30);
        QVERIFY(chart);
        PaintLog log(*chart);
        addJagged(*chart, chart->NumPoints(), 4);
        chart->DrawNewPoints();
        paintPending();
        QCOMPARE(log.paints, 1);
        const QRect r = log.region.boundingRect();
        QVERIFY2(r.width() < 20, qPrintable(QString::number(r.width())));
        QVERIFY(r.height() < chart->height());

        // No new point: nothing drawn, nothing repainted.
        log.reset();
        chart->DrawNewPoints();
        paintPending();
        QCOMPARE(log.paints, 0);

        // A full redraw repaints the whole chart.
        chart->Redraw();
        paintPending();
        QCOMPARE(log.region.boundingRect(), chart->rect());
    }

    void aMarkReachesTheScreenInItsOwnRectangle() {
        auto chart = shownChart(120, 60);
        QVERIFY(chart);
        PaintLog log(*chart);
        // Offsets at, inside and above the frame: the circle and its text
        // lie in the margin in the last case.
        const int16_t offsets[] = {0, 30, 200, 250};
        float at = 5;
        for (const int16_t offset : offsets) {
            log.reset();
            QCOMPARE(chart->AddLabel("12", 0x00FF00, offset, at), int16_t(0));
            paintPending();
            QCOMPARE(differences(onScreen(*chart), chart->picture()), 0);
            QVERIFY(log.region.boundingRect().width() < 60);
            at += 20;
        }
    }

    void overlaysRepaintWhereTheyWereAndAre() {
        auto chart = shownChart(120, 60);
        QVERIFY(chart);
        PaintLog log(*chart);
        const QImage picture = chart->picture();

        QTest::mouseMove(chart.get(), QPoint(300, 200));
        paintPending();
        const int withLine = differences(onScreen(*chart), picture);
        QVERIFY(withLine > 0);
        QVERIFY(log.region.boundingRect().width() < 10);

        log.reset();
        QTest::mouseMove(chart.get(), QPoint(320, 200));
        paintPending();
        QVERIFY(differences(onScreen(*chart), picture) > 0);
        QVERIFY(log.region.boundingRect().width() < 40);
        QVERIFY(log.region.rectCount() >= 2 || log.region.boundingRect().width() >= 20);

        // Off the plot: the line goes and the screen is the picture again.
        QTest::mouseMove(chart.get(), QPoint(3, 3));
        paintPending();
        QCOMPARE(differences(onScreen(*chart), picture), 0);

        // A band dragged and given up: only its outline was repainted, and
        // the picture is back once it is gone.
        log.reset();
        QTest::mousePress(chart.get(), Qt::LeftButton, {}, QPoint(200, 120));
        QTest::mouseMove(chart.get(), QPoint(300, 200));
        paintPending();
        QVERIFY(differences(onScreen(*chart), picture) > 0);
        QVERIFY(!log.region.contains(QRect(230, 150, 40, 30)));  // the band's inside
        QTest::mouseMove(chart.get(), QPoint(201, 300));
        QTest::mouseRelease(chart.get(), Qt::LeftButton, {}, QPoint(201, 300));
        QTest::mouseMove(chart.get(), QPoint(3, 3));
        paintPending();
        QCOMPARE(chart->picture(), picture);
        QCOMPARE(differences(onScreen(*chart), picture), 0);
    }

    void aHiddenChartOfAWindowLetsItsPictureGo() {
        QWidget window;
        window.resize(700, 450);
        auto* shown = new Pelomar(&window);
        auto* other = new Pelomar(&window);
        for (Pelomar* c : {shown, other}) {
            c->setGeometry(10, 10, 640, 400);
            c->setXEnd(120);
            pelomar::testing::fillSyntheticRun(*c, 60);
        }
        other->hide();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        shown->Redraw();
        other->Redraw();
        paintPending();
        QCOMPARE(shown->picture().size(), shown->size());
        QVERIFY(other->picture().isNull());
        // Appends and marks on the hidden chart wait for its next picture.
        other->AddPoints(1, 1);
        other->DrawNewPoints();
        QCOMPARE(other->AddLabel("S", 0xFFFF00, 50, 2), int16_t(0));
        QVERIFY(other->picture().isNull());

        // The tab switch: one hides, the other shows and gets its picture.
        shown->hide();
        other->show();
        paintPending();
        QVERIFY(shown->picture().isNull());
        QCOMPARE(other->picture().size(), other->size());
        QCOMPARE(differences(onScreen(*other), other->picture()), 0);
        other->Redraw();
        const QImage redrawn = other->picture();
        paintPending();
        QCOMPARE(differences(onScreen(*other), redrawn), 0);
    }

    void aChartLargerThanItsPictureFillsTheRestWithItsBackground() {
        auto chart = shownChart(120, 10);
        QVERIFY(chart);
        const QSize old = chart->picture().size();
        chart->resize(old.width() + 40, old.height() + 30);  // no redraw until asked
        paintPending();
        const QImage screen = onScreen(*chart);
        QCOMPARE(screen.copy(QRect(QPoint(0, 0), old)), chart->picture().copy(QRect(QPoint(0, 0), old)));
        const QRgb back = chart->picture().pixel(0, 0);  // the cleared corner
        QCOMPARE(screen.pixel(old.width() + 20, 10), back);
        QCOMPARE(screen.pixel(5, old.height() + 15), back);
    }
};

QTEST_MAIN(PelomarRepaintTest)
#include "PelomarRepaintTest.moc"
