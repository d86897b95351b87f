#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "../support/RecordingUiServices.h"
#include "../support/Unprivileged.h"
#include "pelomar/Pelomar.h"

using pelomar::Pelomar;
using pelomar::test::RecordingUiServices;

class PelomarFilesTest : public QObject {
    Q_OBJECT

    // Each test writes into a fresh folder of its own.
    std::unique_ptr<QTemporaryDir> scratch_;
    std::string path(const char* name) const { return scratch_->filePath(name).toStdString(); }

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
    void init() { scratch_ = std::make_unique<QTemporaryDir>(); }
    void cleanup() { scratch_.reset(); }

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

    // Never opened so that the read could wait on a writer, and never read.
    void whatIsNoFileIsRefusedAtOnce() {
        const std::string pipe = path("pipe.chd");
        QFile::remove(QString::fromStdString(pipe));
        QCOMPARE(::mkfifo(pipe.c_str(), 0600), 0);
        const std::string folder = path("folder.chd");
        QVERIFY(QDir().mkpath(QString::fromStdString(folder)));
        for (const std::string& file : {pipe, folder}) {
            Pelomar chart;
            RecordingUiServices ui;
            chart.setUiServices(&ui);
            fill(chart, 3);
            QVERIFY(!chart.ReadFromFile(file));
            QCOMPARE(ui.boxes.size(), size_t{1});
            QCOMPARE(ui.boxes[0].prompt,
                     std::string("An error occurred while opening the Data File.  The file was NOT opened.\r"
                                 "Path/File access error"));
            QCOMPARE(chart.NumPoints(), 3);
            QCOMPARE(ui.busy, busyOnce);
        }
    }

    // 164 bytes that declare 2^20 labels: read as before (every label beyond
    // the file empty), and drawn without freezing the window.
    void fileDeclaringAMillionLabelsOpens() {
        QByteArray bytes(164, '\0');
        const char version[] = {'\xCD', '\xCC', '\x8C', '\x3F'};
        for (int i = 0; i < 4; ++i) bytes[i] = version[i];
        bytes[38] = '\x10';  // LabelCount 0x100000
        bytes[42] = '\x10';  // LabelUBound
        const std::string file = path("labels.chd");
        writeFile(file, bytes);
        Pelomar chart;
        chart.resize(600, 400);
        RecordingUiServices ui;
        chart.setUiServices(&ui);
        QVERIFY(chart.ReadFromFile(file));
        QVERIFY(ui.boxes.empty());
        QCOMPARE(chart.LabelCount(), 1 << 20);
        QCOMPARE(chart.NumPoints(), 0);
    }

    // Boolean members refuse a file the user may not write with False; the
    // members that return a number, with 75. The file keeps bytes and mode.
    void readOnlyTargetsStayReadOnly() {
        const QString dir = QString::fromStdString(path("readonly"));
        QVERIFY(QDir().mkpath(dir));
        QFile::setPermissions(dir, QFileDevice::Permissions(0x7777));
        const std::string backups = path("readonly/inst1");
        QVERIFY(QDir().mkpath(QString::fromStdString(backups)));
        QFile::setPermissions(QString::fromStdString(backups), QFileDevice::Permissions(0x7777));
        {
            Pelomar backup;
            fill(backup, 10);
            QCOMPARE(backup.BackUpLog2(backups, 1, 20000, 24), int16_t{0});
        }
        QFile::setPermissions(QString::fromStdString(backups + "/DLog1.bak"), QFileDevice::Permissions(0x7777));
        const std::string target = path("readonly/kept.chd");
        writeFile(target, "keep");
        QFile::setPermissions(QString::fromStdString(target),
                              QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
        std::string why;
        const int result = pelomar::test::runUnprivileged(
            dir.toStdString(),
            [&] {
                Pelomar chart;
                RecordingUiServices ui;
                chart.setUiServices(&ui);
                fill(chart, 5);
                int failures = 0;
                if (chart.SaveToFile(target)) failures |= 1;
                if (chart.SaveSelectedToFile(target)) failures |= 2;
                bool uv = true, cond = true, events = false;
                int16_t methodPos = 0;
                if (chart.ExportTextData(target, uv, cond, events, false, false, methodPos, 0, 0.005f, 5, 2) != 75) {
                    failures |= 4;
                }
                Pelomar rebuild;
                rebuild.setUiServices(&ui);
                if (rebuild.SaveLog2(backups, 1, target) != 75) failures |= 8;
                return failures;
            },
            why);
        if (result < 0) QSKIP(why.c_str());
        QCOMPARE(result, 0);
        QFile kept(QString::fromStdString(target));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("keep"));
        struct stat st {};
        QCOMPARE(::stat(target.c_str(), &st), 0);
        QCOMPARE(st.st_mode & 07777, 0444u);
    }

    // Every member that saves writes through a link to the file it names,
    // keeping that file's mode; a link into a missing folder fails as that
    // folder does.
    void savesThroughALinkKeepTheLink() {
        const QString root = QString::fromStdString(path("linked"));
        QVERIFY(QDir(root).removeRecursively());
        QVERIFY(QDir().mkpath(root + "/links"));
        QVERIFY(QDir().mkpath(root + "/real"));
        const std::string backups = path("linked/inst1");
        QVERIFY(QDir().mkpath(QString::fromStdString(backups)));
        {
            Pelomar backup;
            fill(backup, 10);
            QCOMPARE(backup.BackUpLog2(backups, 1, 20000, 24), int16_t{0});
        }
        RecordingUiServices ui;
        Pelomar chart;
        chart.setUiServices(&ui);
        fill(chart, 5);
        auto exportTo = [&](const std::string& target) {
            bool uv = true, cond = true, events = false;
            int16_t methodPos = 0;
            return static_cast<int>(chart.ExportTextData(target, uv, cond, events, false, false, methodPos, 0, 0.005f, 5, 2));
        };
        auto rebuildTo = [&](const std::string& target) {
            Pelomar rebuild;
            rebuild.setUiServices(&ui);
            return static_cast<int>(rebuild.SaveLog2(backups, 1, target));
        };
        const std::vector<std::pair<const char*, std::function<int(const std::string&)>>> members = {
            {"SaveToFile", [&](const std::string& t) { return chart.SaveToFile(t) ? 0 : 1; }},
            {"SaveSelectedToFile", [&](const std::string& t) { return chart.SaveSelectedToFile(t) ? 0 : 1; }},
            {"ExportTextData", exportTo},
            {"SaveLog2", rebuildTo},
        };
        for (const auto& [member, save] : members) {
            const std::string name = member;
            const std::string link = path(("linked/links/" + name).c_str());
            const std::string real = path(("linked/real/" + name).c_str());
            writeFile(real, "old");
            QVERIFY(QFile::setPermissions(QString::fromStdString(real), QFileDevice::Permissions(0x6640)));
            QCOMPARE(::symlink(("../real/" + name).c_str(), link.c_str()), 0);
            QCOMPARE(save(link), 0);
            QVERIFY2(QFileInfo(QString::fromStdString(link)).isSymLink(), member);
            QFile written(QString::fromStdString(real));
            QVERIFY(written.open(QIODevice::ReadOnly));
            QVERIFY2(written.size() > 3, member);
            struct stat st {};
            QCOMPARE(::stat(real.c_str(), &st), 0);
            QCOMPARE(st.st_mode & 07777, 0640u);

            const std::string dangling = path(("linked/links/dangling-" + name).c_str());
            QCOMPARE(::symlink(("../none/" + name).c_str(), dangling.c_str()), 0);
            QCOMPARE(save(dangling), save(path(("linked/none/" + name).c_str())));
            QVERIFY2(QFileInfo(QString::fromStdString(dangling)).isSymLink(), member);
        }
        QVERIFY(!QDir(root + "/none").exists());
        QCOMPARE(QDir(root + "/links").entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 8);
        QCOMPARE(QDir(root + "/real").entryList(QDir::Files | QDir::Hidden).size(), 4);
    }

    void backupIntoAMissingFolderIsPathNotFound() {
        Pelomar backup;
        fill(backup, 3);
        QCOMPARE(backup.BackUpLog2(path("no-such-folder"), 1, 20000, 24), int16_t{76});
        QCOMPARE(backup.NumPoints(), 3);
        QVERIFY(!QDir(QString::fromStdString(path("no-such-folder"))).exists());
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

    // Once reading has settled the chart lets the file's empty room go; what
    // it saves, before and after an append, stays byte for byte as what a
    // chart saves straight after reading.
    void aReadChartSavesTheSameBytesOnceReadingHasSettled() {
        const std::string file = path("room.chd");
        Pelomar written;
        fill(written, 900);  // declares room for 30002 points
        written.AddPoints(-0.0f, std::numeric_limits<float>::quiet_NaN());
        QVERIFY(written.SaveToFile(file));

        const auto saved = [&](Pelomar& chart) {
            const std::string target = path("saved.chd");
            if (!chart.SaveToFile(target)) return QByteArray();
            QFile f(QString::fromStdString(target));
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };
        Pelomar fresh;
        QVERIFY(fresh.ReadFromFile(file));
        const QByteArray straight = saved(fresh);
        QVERIFY(straight.size() > 30002 * 8);

        Pelomar settled;
        QVERIFY(settled.ReadFromFile(file));
        QTest::qWait(800);  // the release follows reading by 500 ms
        QCOMPARE(saved(settled), straight);
        fresh.AddPoints(3, 4);
        settled.AddPoints(3, 4);
        QCOMPARE(saved(settled), saved(fresh));
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
