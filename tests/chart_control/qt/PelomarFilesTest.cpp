#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QtTest>

#include "../support/RecordingUiServices.h"
#include "pelomar/Pelomar.h"

using pelomar::Pelomar;
using pelomar::test::RecordingUiServices;

class PelomarFilesTest : public QObject {
    Q_OBJECT

    static std::string path(const char* name) { return QDir::current().absoluteFilePath(name).toStdString(); }

    static void writeFile(const std::string& file, const QByteArray& bytes) {
        QFile f(QString::fromStdString(file));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    static void fill(Pelomar& chart, int points) {
        for (int i = 0; i < points; ++i) chart.AddPoints(static_cast<float>(i), 1);
    }

    const std::vector<bool> busyOnce{true, false};

private slots:
    void olderVersionIsRefusedWithItsMessage() {
        const std::string file = path("old.chd");
        QByteArray bytes(164, '\0');
        bytes[0] = '\x01';
        writeFile(file, bytes);
        Pelomar chart;
        RecordingUiServices ui;
        chart.setUiServices(&ui);
        fill(chart, 2);
        QSignalSpy changes(&chart, &Pelomar::PropertyChanged);
        QVERIFY(!chart.ReadFromFile(file));
        QCOMPARE(ui.boxes.size(), size_t{1});
        QCOMPARE(ui.boxes[0].prompt,
                 std::string("This file was created by a previous version of Pelomar Recorder.\rCannot open file."));
        QCOMPARE(ui.boxes[0].buttons, 0);
        QCOMPARE(ui.boxes[0].title, std::string());
        QCOMPARE(chart.NumPoints(), 2);
        QCOMPARE(changes.count(), 0);  // no unzoom after a refusal
        QCOMPARE(ui.busy, busyOnce);
    }

    void unreadableFilesShowTheOpenError_data() {
        QTest::addColumn<QByteArray>("contents");  // empty: no file at all
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << QByteArray() << "File not found";
        QByteArray negative(164, '\0');
        negative[0] = '\xCD';
        negative[1] = '\xCC';
        negative[2] = '\x8C';
        negative[3] = '\x3F';
        negative[48] = '\xFF';
        negative[49] = '\xFF';
        negative[50] = '\xFF';
        negative[51] = '\xFF';
        QTest::newRow("negative point bound") << negative << "Subscript out of range";
    }

    void unreadableFilesShowTheOpenError() {
        QFETCH(QByteArray, contents);
        QFETCH(QString, reason);
        const std::string file = path("bad.chd");
        QFile::remove(QString::fromStdString(file));
        if (!contents.isEmpty()) writeFile(file, contents);
        Pelomar chart;
        RecordingUiServices ui;
        chart.setUiServices(&ui);
        fill(chart, 5);
        QVERIFY(!chart.ReadFromFile(file));
        QCOMPARE(ui.boxes.size(), size_t{1});
        QCOMPARE(ui.boxes[0].prompt, "An error occurred while opening the Data File.  The file was NOT opened.\r" +
                                         reason.toStdString());
        QCOMPARE(ui.boxes[0].title, std::string("FILE OPEN ERROR!"));
        QCOMPARE(chart.NumPoints(), 5);
        QCOMPARE(QFile::exists(QString::fromStdString(file)), !contents.isEmpty());
        QCOMPARE(ui.busy, busyOnce);
    }

    void readingAStripChartTakesTheStandardRanges() {
        const std::string file = path("run.chd");
        Pelomar saved;
        RecordingUiServices ui;
        saved.setUiServices(&ui);
        fill(saved, 900);  // 899 periods: 2.9967 min
        saved.setXEnd(60);
        saved.setY1End(5);
        QVERIFY(saved.SaveToFile(file));

        Pelomar chart;
        chart.setUiServices(&ui);
        QVERIFY(chart.ReadFromFile(file));
        QVERIFY(ui.boxes.empty());
        QCOMPARE(chart.NumPoints(), 900);
        QCOMPARE(chart.XStart(), 0.0f);
        QCOMPARE(chart.XEnd(), 3.0f);
        QCOMPARE(chart.Y1Start(), -0.2f);
        QCOMPARE(chart.Y1End(), 2.0f);
        QCOMPARE(chart.Y2End(), 500.0f);
        QCOMPARE(ui.busy, (std::vector<bool>{true, false, true, false}));
    }

    void backupChartLogsAndARebuildChartSavesTheLog() {
        const std::string folder = path("inst1");
        QVERIFY(QDir().mkpath(QString::fromStdString(folder)));
        RecordingUiServices ui;
        Pelomar backup;
        backup.setUiServices(&ui);
        for (int call = 0; call < 3; ++call) {
            fill(backup, 100);
            backup.AddLabel("S", 255, 60, static_cast<float>(call));
            QCOMPARE(backup.BackUpLog2(folder, 1, 20000, 24), int16_t{0});
        }
        QVERIFY(backup.IsLogFileExist2(folder));

        Pelomar rebuild;
        rebuild.setUiServices(&ui);
        const std::string log = path("run.chl");
        QCOMPARE(rebuild.SaveLog2(folder, 1, log), int16_t{0});
        QCOMPARE(rebuild.NumPoints(), 0);

        Pelomar opened;
        opened.setUiServices(&ui);
        QVERIFY(opened.ReadFromFile(log));
        QCOMPARE(opened.NumPoints(), 300);
        QVERIFY(ui.boxes.empty());

        backup.ClearLog2(folder, 1);
        QVERIFY(!backup.IsLogFileExist2(folder));
        QCOMPARE(rebuild.SaveLog2(folder, 1, path("none.chl")), int16_t{-17});
    }
};

QTEST_MAIN(PelomarFilesTest)
#include "PelomarFilesTest.moc"
