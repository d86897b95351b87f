#include <QtTest>

#include "fakes/FakeClock.h"
#include "fakes/FakeErrorLog.h"
#include "fakes/FakeUi.h"
#include "frmMain.h"
#include "qt/AppFakes.h"
#include "qt/ModalWindows.h"

using namespace tavrin::test;

// The axis frame in the main window, driven through its widgets.
class FrameScaleAxisTest : public QObject {
    Q_OBJECT

    FakeUi ui;
    FakeErrorLog errorLog;
    FakeClock clock;

    static void addMinutes(pelomar::Pelomar& chart, int minutes) {
        for (int i = 0; i < minutes * 300 + 1; ++i) chart.AddPoints(0.1f, 5.f);
    }

private slots:
    void startsWithTheCaptionsTheListsAndFullView() {
        AppFakes fakes;
        TavrinApplication app(fakes.services(fakes.port, ui, errorLog, clock));
        frmMain& w = app.window();
        FrameScaleAxis& f = *w.frameScaleAxis;
        QCOMPARE(f.FrameAxis[0]->title(), QStringLiteral("UV Axis"));
        QCOMPARE(f.FrameAxis[1]->title(), QStringLiteral("Time Axis"));
        QCOMPARE(f.FrameAxis[2]->title(), QStringLiteral("Conductivity Axis"));
        QCOMPARE(f.lblAxis[0]->text(), QStringLiteral("AUFS"));
        QCOMPARE(f.lblAxis[1]->text(), QStringLiteral("mSFS"));
        QCOMPARE(f.lblAxisMin[1]->text(), QStringLiteral("Axis Minimum"));
        QCOMPARE(f.cmdSet[0]->text(), QStringLiteral("Set"));
        QCOMPARE(f.optTimeAxis[0]->text(), QStringLiteral("Full View"));
        QCOMPARE(f.optTimeAxis[1]->text(), QStringLiteral("Window:"));
        QCOMPARE(f.lblWindow->text(), QStringLiteral("Minutes"));
        QVERIFY(f.optTimeAxis[0]->isChecked());
        QCOMPARE(f.txtChartTime->text(), QStringLiteral("10.0"));
        QVERIFY(!f.txtChartTime->isEnabled());
        QCOMPARE(f.cmbYAxis[0]->count(), 11);
        QCOMPARE(f.cmbYAxis[1]->itemText(9), QStringLiteral("0.5"));
        QCOMPARE(f.txtYAxisMin[0]->text(), QStringLiteral("-0.200"));
        QVERIFY(!f.cmdSet[0]->isEnabled());
        QCOMPARE(w.Chart[0]->Y1Start(), -0.2f);
    }

    void typedKeysAreFilteredAndEnterApplies() {
        AppFakes fakes;
        TavrinApplication app(fakes.services(fakes.port, ui, errorLog, clock));
        frmMain& w = app.window();
        QLineEdit* min = w.frameScaleAxis->txtYAxisMin[0];
        min->clear();
        const int beeps = ui.beeps;
        QTest::keyClicks(min, "-0.5x.-");
        QCOMPARE(min->text(), QStringLiteral("-0.5"));
        QCOMPARE(ui.beeps, beeps + 3);
        QVERIFY(w.frameScaleAxis->cmdSet[0]->isEnabled());
        QTest::keyClick(min, Qt::Key_Return);
        QCOMPARE(min->text(), QStringLiteral("-0.500"));
        QCOMPARE(w.Chart[0]->Y1Start(), -0.5f);
        QVERIFY(!w.frameScaleAxis->cmdSet[0]->isEnabled());
        QCOMPARE(min->selectedText(), min->text());

        QLineEdit* condMin = w.frameScaleAxis->txtYAxisMin[1];
        condMin->clear();
        QTest::keyClicks(condMin, "-3");
        QCOMPARE(condMin->text(), QStringLiteral("3"));
    }

    void pickingAFullScaleAppliesIt() {
        AppFakes fakes;
        TavrinApplication app(fakes.services(fakes.port, ui, errorLog, clock));
        frmMain& w = app.window();
        QComboBox* list = w.frameScaleAxis->cmbYAxis[0];
        list->setCurrentIndex(2);
        emit list->activated(2);
        QCOMPARE(w.frameScaleAxis->txtYAxisMin[0]->text(), QStringLiteral("-0.050"));
        QCOMPARE(w.Chart[0]->Y1End(), 0.5f);
    }

    // A typed full scale is applied as typed, not completed from the list,
    // and keeps the typed minimum; only a pick sets the minimum.
    void enterOnATypedFullScaleAppliesItAsTyped() {
        AppFakes fakes;
        TavrinApplication app(fakes.services(fakes.port, ui, errorLog, clock));
        frmMain& w = app.window();
        keepSystemName();
        w.show();
        QTRY_VERIFY(QApplication::activeModalWidget() == nullptr && w.windowTitle().contains(QStringLiteral("- System:")));
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        FrameScaleAxis& f = *w.frameScaleAxis;
        struct Row {
            const char* typed;
            float applied;
        };
        for (const Row& r : {Row{"50", 50.f}, Row{"20", 20.f}, Row{"10", 10.f}, Row{"5", 5.f}}) {
            f.txtYAxisMin[1]->setText(QStringLiteral("1.0"));
            QLineEdit* entry = f.cmbYAxis[1]->lineEdit();
            entry->setFocus();
            entry->clear();
            QTest::keyClicks(entry, r.typed);
            QCOMPARE(entry->text(), QString::fromLatin1(r.typed));
            QTest::keyClick(entry, Qt::Key_Return);
            QCOMPARE(w.Chart[0]->Y2End(), r.applied);
            QCOMPARE(w.Chart[0]->Y2Start(), 1.f);
            QCOMPARE(f.txtYAxisMin[1]->text(), QStringLiteral("1.0"));
        }
        QLineEdit* uv = f.cmbYAxis[0]->lineEdit();
        uv->setFocus();
        uv->clear();
        QTest::keyClicks(uv, "0.5");
        QTest::keyClick(uv, Qt::Key_Return);
        QCOMPARE(w.Chart[0]->Y1End(), 0.5f);
        QCOMPARE(w.Chart[0]->Y1Start(), -0.2f);
    }

    void aWindowScrollsAlongTheRun() {
        AppFakes fakes;
        TavrinApplication app(fakes.services(fakes.port, ui, errorLog, clock));
        frmMain& w = app.window();
        addMinutes(*w.Chart[0], 30);
        w.frameScaleAxis->optTimeAxis[1]->click();
        QCOMPARE(w.Chart[0]->XEnd(), 10.f);
        tavrin::SlotScrollBar& bar = *w.ScrollChart[0];
        QVERIFY(bar.isEnabled());
        QCOMPARE(bar.Max(), 20);
        QCOMPARE(bar.pageStep(), 10);
        bar.setValue(7);
        QCOMPARE(w.Chart[0]->XStart(), 7.f);
        QCOMPARE(w.Chart[0]->XEnd(), 17.f);
        QVERIFY(!bar.trySetValue(21));
        QCOMPARE(bar.value(), 7);

        w.frameScaleAxis->optTimeAxis[0]->click();
        QCOMPARE(w.Chart[0]->XStart(), 0.f);
        QCOMPARE(w.Chart[0]->XEnd(), 30.f);
        QVERIFY(!bar.isEnabled());
    }

    void theBarMaximumMayGoBelowZero() {
        tavrin::SlotScrollBar bar;
        bar.setMax(-9);
        QVERIFY(bar.trySetValue(-9));
        QVERIFY(!bar.trySetValue(1));
        bar.setMax(5);
        QCOMPARE(bar.value(), 0);
    }

    void aZoomAndItsUnzoomAreFollowed() {
        AppFakes fakes;
        TavrinApplication app(fakes.services(fakes.port, ui, errorLog, clock));
        frmMain& w = app.window();
        addMinutes(*w.Chart[0], 30);
        emit w.Chart[0]->ZoomEnd(4.6f, 7.1f, 0.0125f, 0.5f, 1.25f, 20.04f);
        FrameScaleAxis& f = *w.frameScaleAxis;
        QVERIFY(f.optTimeAxis[1]->isChecked());
        QCOMPARE(f.cmbYAxis[0]->currentText(), QStringLiteral("0.500"));
        QCOMPARE(f.txtChartTime->text(), QStringLiteral("2.5"));
        QVERIFY(w.axisView().ChartZoomed[0]);
        float from = 0, to = 0;
        w.GetZoomedTime(from, to);
        QCOMPARE(from, 4.6f);

        w.Chart[0]->Unzoom();
        QVERIFY(f.optTimeAxis[0]->isChecked());
        QCOMPARE(f.txtChartTime->text(), QStringLiteral("10.0"));
        QVERIFY(!w.axisView().ChartZoomed[0]);
    }
};

QTEST_MAIN(FrameScaleAxisTest)
#include "FrameScaleAxisTest.moc"
