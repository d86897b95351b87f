#include <QTemporaryDir>
#include <QtTest>
#include <fstream>
#include <sstream>

#include "fakes/Blocks.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeErrorLog.h"
#include "fakes/FakeSerialPort.h"
#include "fakes/FakeUi.h"
#include "frmMain.h"
#include "qt/AppFakes.h"
#include "qt/ModalWindows.h"
#include "platform/ErrorLogAppender.h"
#include "platform/SystemClock.h"

using namespace tavrin::test;

class FrmMainTest : public QObject {
    Q_OBJECT

    FakeSerialPort port;
    FakeUi ui;
    FakeErrorLog errorLog;
    FakeClock clock;

    // The decoder tick, as TimerProcess would run it.
    static void tick(frmMain& w) { w.recorder().decoder.TimerProcess_Timer(); }

private slots:
    void loadsWithSevenChartsAndNoLink() {
        AppFakes fakes;
        TavrinApplication app(fakes.services(port, ui, errorLog, clock));
        frmMain& w = app.window();
        tavrin::test::keepSystemName();
        w.show();
        QVERIFY(w.Chart[0]->isVisible());
        for (int i = 1; i < frmMain::kCharts; ++i) QVERIFY(!w.Chart[static_cast<size_t>(i)]->isVisible());
        QCOMPARE(w.ShapeReciveLed->FillColor(), 0);
        QVERIFY(!w.mnuStart->isEnabled());
        QVERIFY(!w.mnuStop->isEnabled());
        QVERIFY(!w.cmdRecord->isEnabled());
        QVERIFY(w.TimerProcess.isActive());
        QVERIFY(!w.TimerCheckComData.isActive());
    }

    void liveChartIsDrawnAtTheSizeTheWindowGivesIt() {
        AppFakes fakes;
        TavrinApplication app(fakes.services(port, ui, errorLog, clock));
        frmMain& w = app.window();
        tavrin::test::keepSystemName();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.resize(900, 640);
        QTRY_COMPARE(w.Chart[0]->picture().size(), w.Chart[0]->size());
        QVERIFY(w.Chart[0]->width() > 600);
    }

    void streamReachesTheLiveAndLogCharts() {
        AppFakes fakes;
        TavrinApplication app(fakes.services(port, ui, errorLog, clock));
        frmMain& w = app.window();
        w.recorder().globals.LogOn = true;
        port.receive(repeat(point(), 3));
        tick(w);
        QCOMPARE(w.ShapeReciveLed->FillColor(), 0xFF00);
        QVERIFY(w.mnuStart->isEnabled());
        QVERIFY(w.TimerCheckComData.isActive());

        w.mnuStart->trigger();
        QVERIFY(w.recorder().run.Recording());
        QVERIFY(w.cmdRecord->isChecked());
        QVERIFY(!w.mnuStart->isEnabled());
        port.receive(cat({runStatus(1), point('V', 0.25f, 3.f), ev(2), point('V', 0.5f, 4.f)}));
        tick(w);
        QCOMPARE(w.Chart[0]->NumPoints(), 5);
        QCOMPARE(w.Chart[5]->NumPoints(), 5);

        w.cmdStop->trigger();
        QVERIFY(!w.recorder().run.Recording());
        QVERIFY(w.cmdStop->isChecked());
        QVERIFY(w.mnuStart->isEnabled());
    }

    // The tick that ends a run leaves the live chart as a full redraw would
    // draw it: the trace up to the last point and the end mark.
    void theTickThatEndsARunDrawsItsLastPoints() {
        AppFakes fakes;
        TavrinApplication app(fakes.services(port, ui, errorLog, clock));
        frmMain& w = app.window();
        tavrin::test::keepSystemName();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        // A rising trace, so that every point left undrawn shows.
        const auto ramp = [](int from, int count) {
            Bytes out;
            for (int i = from; i < from + count; ++i) {
                const Bytes p = point('V', 0.005f * static_cast<float>(i), static_cast<float>(i));
                out.insert(out.end(), p.begin(), p.end());
            }
            return out;
        };
        port.receive(point());
        tick(w);
        port.receive(cat({runStatus(1), ramp(0, 150)}));
        tick(w);
        QVERIFY(w.recorder().run.Recording());
        port.receive(cat({ramp(150, 60), runStatus(0), ramp(210, 5)}));
        tick(w);
        QVERIFY(!w.recorder().run.Recording());

        pelomar::Pelomar& live = *w.Chart[0];
        QCOMPARE(live.NumPoints(), 211);
        QCOMPARE(live.LabelAt(live.LabelCount() - 1).Label, std::string("E"));
        const QImage drawn = live.picture();
        live.Redraw();
        QCOMPARE(drawn, live.picture());
    }

    void aWindowWithoutAPortStillLoads() {
        AppFakes fakes;
        TavrinApplication app(fakes.services(fakes.port, ui, errorLog, clock));
        frmMain& w = app.window();
        tick(w);
        QCOMPARE(w.Chart[0]->NumPoints(), 0);
        int16_t code = -13;
        w.HandelError(code);
        QVERIFY(!errorLog.entries.empty());
    }

    void errorLogAppendsWholeEntries() {
        QTemporaryDir dir;
        const std::string path = dir.filePath(QStringLiteral("ChartErr.log")).toStdString();
        tavrin::ErrorLogAppender log(path);
        QVERIFY(log.append("a\r\nb\r\n"));
        QVERIFY(log.append("c\r\n"));
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        QCOMPARE(text.str(), std::string("a\r\nb\r\nc\r\n"));
    }

    void errorLogReportsAFailedWrite() {
        tavrin::ErrorLogAppender missingFolder("/nonexistent-folder/ChartErr.log");
        QVERIFY(!missingFolder.append("x\r\n"));
        tavrin::ErrorLogAppender full("/dev/full");
        QVERIFY(!full.append("x\r\n"));
    }

    void clockTextIsOneLineWithSeconds() {
        const QString now = QString::fromStdString(tavrin::SystemClock().nowText());
        QVERIFY(!now.contains(QLatin1Char('\n')) && !now.contains(QLatin1Char('\r')));
        QVERIFY(now.contains(QRegularExpression(QStringLiteral("\\d:\\d\\d:\\d\\d"))));
    }

    void defaultErrorLogLivesInTheDataFolder() {
        const QString data = qEnvironmentVariable("XDG_DATA_HOME");
        QVERIFY(!data.isEmpty());
        QCOMPARE(QString::fromStdString(tavrin::ErrorLogAppender::defaultPath()),
                 data + QStringLiteral("/tavrin-ms/ChartErr.log"));
    }
};

QTEST_MAIN(FrmMainTest)
#include "FrmMainTest.moc"
