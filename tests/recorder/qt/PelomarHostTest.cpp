#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>
#include <QtTest>

#include "../../chart_control/support/RecordingUiServices.h"
#include "ui/PelomarHost.h"

// The host over a chart control, through the members the recorder, the
// backup tick and the dialogs call (the tab slots' and the rebuild's are
// driven in the chart tabs' test).
class PelomarHostTest : public QObject {
    Q_OBJECT

private slots:
    void recorderMembersReachTheControl() {
        pelomar::Pelomar chart;
        tavrin::PelomarHost host(chart);
        tavrin::RecorderChart& live = host;
        for (int i = 0; i < 30; ++i) QCOMPARE(live.AddPoints(0.5f, 3.0f), int16_t{0});
        QCOMPARE(chart.NumPoints(), 30);
        QCOMPARE(chart.PointAt(29).Y2, 3.0f);
        QCOMPARE(live.AddLabel("S", 0xFFFF00, 50, 0.05f), int16_t{0});
        QCOMPARE(chart.LabelCount(), 1);
        QCOMPARE(chart.LabelAt(0).Label, std::string("S"));
        QCOMPARE(chart.LabelAt(0).Color, 0xFFFF00);
        QCOMPARE(chart.LabelAt(0).Offset, int16_t{50});
        QCOMPARE(live.AddMethod("Gradient", 0.05f), int16_t{0});
        QCOMPARE(chart.MethodCount(), 1);
        QCOMPARE(chart.MethodAt(0).Method, std::string("Gradient"));
        QCOMPARE(live.GetDuration(), chart.GetDuration());
        live.setXStart(0);
        live.setXEnd(10);
        QCOMPARE(live.XStart(), 0.0f);
        QCOMPARE(live.XEnd(), 10.0f);
        QVERIFY(live.LastPointInScale());
        live.setXEnd(0.01f);
        QVERIFY(!live.LastPointInScale());
        live.Redraw();
        live.DrawNewPoints();

        tavrin::DialogChart& dialog = host;
        QCOMPARE(dialog.GetAllMethods(), chart.GetAllMethods());
        QVERIFY(dialog.GetAllMethods().find("Gradient") != std::string::npos);
    }

    void backupMembersWriteFindAndClearTheLog() {
        QTemporaryDir dir;
        const std::string logPath = dir.filePath(QStringLiteral("A1")).toStdString() + "/";
        QVERIFY(QDir().mkpath(QString::fromStdString(logPath)));
        pelomar::Pelomar chart;
        pelomar::test::RecordingUiServices ui;
        chart.setUiServices(&ui);
        tavrin::PelomarHost host(chart);
        for (int i = 0; i < 50; ++i) chart.AddPoints(0.2f, 3);
        tavrin::RecorderChart& log = host;
        tavrin::BackupLogChart& backup = host;
        QVERIFY(!log.IsLogFileExist2(logPath));
        QCOMPARE(backup.BackUpLog2(logPath, 1, 20000, 24), int16_t{0});
        QVERIFY(log.IsLogFileExist2(logPath));
        log.ClearLog2(logPath, 1);
        QVERIFY(!log.IsLogFileExist2(logPath));
    }

    void dialogMembersExportAndPrint() {
        QTemporaryDir dir;
        pelomar::Pelomar chart;
        chart.setControlFolder(dir.filePath(QStringLiteral("control")).toStdString());
        for (int i = 0; i < 600; ++i) chart.AddPoints(0.1f, 2.0f);
        tavrin::PelomarHost host(chart);
        tavrin::DialogChart& dialog = host;
        dialog.setGraphTitle("run");
        QCOMPARE(dialog.GraphTitle(), std::string("run"));
        dialog.UpdateNotes("notes");
        QCOMPARE(dialog.GetNotes(), std::string("notes"));

        const QString exported = dir.filePath(QStringLiteral("run.txt"));
        QCOMPARE(dialog.ExportTextData(exported.toStdString(), true, true, true, true, true, 0, 0, 2, 1, 120),
                 int16_t{0});
        QFile file(exported);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("notes"));

        QPrinter probe;
        if (!probe.printerName().isEmpty()) QSKIP("a system printer is set up here");
        // Options beyond the three trace bits are ignored.
        dialog.PrintGraph(true, false, false, 8 | 1);
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("control/Report.pdf"))));
    }
};

QTEST_MAIN(PelomarHostTest)
#include "PelomarHostTest.moc"
