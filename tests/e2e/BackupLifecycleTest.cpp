#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

#include "core/registry/PosixRecorderFileSystem.h"
#include "fakes/FakeFileDialog.h"
#include "fakes/FakeUi.h"
#include "frmMain.h"
#include "qt/AppFakes.h"
#include "qt/ModalWindows.h"
#include "platform/ErrorLogAppender.h"
#include "platform/QSerialPortAdapter.h"
#include "platform/SettingsFile.h"
#include "platform/SystemClock.h"

// The simulator into COM1 over a pseudo-terminal, the program in-process
// with its settings and program folder in a temporary folder: the backup
// tick writes into this copy's own folder, and a normal shut-down removes
// the folder and the registration again.
class BackupLifecycleTest : public QObject {
    Q_OBJECT

private slots:
    void backupLogsLiveInThisCopysFolderUntilShutDown() {
        QTemporaryDir dir;
        const std::string program = dir.filePath(QStringLiteral("tavrin-ms")).toStdString();
        QProcess sim;
        sim.start(QStringLiteral(KADO_SIM_PATH),
                  {QStringLiteral(E2E_DIR "/simulated-run.kado"), QStringLiteral("--speed"), QStringLiteral("40")});
        QVERIFY(sim.waitForReadyRead(10000));
        const std::string slave = sim.readLine().trimmed().toStdString();
        QVERIFY(slave.rfind("/dev/pts/", 0) == 0);

        const auto deviceFor = [&](int16_t n) {
            return n == 1 ? slave : std::string("/nonexistent/tavrin-com") + std::to_string(n);
        };
        tavrin::QSerialPortAdapter port(deviceFor);
        tavrin::QSerialPortAdapter probe(deviceFor);
        tavrin::test::FakeUi ui;
        tavrin::ErrorLogAppender errorLog(program + "/ChartErr.log");
        tavrin::SystemClock clock;
        tavrin::SettingsFile settings(dir.filePath(QStringLiteral("settings.ini")).toStdString());
        tavrin::PosixRecorderFileSystem files;
        tavrin::test::FakeFileDialog fileDialog;
        const QString saved = dir.filePath(QStringLiteral("run.chl"));
        fileDialog.answer = saved.toStdString();
        tavrin::test::AppFakes fakes;
        TavrinApplication::Services services{port,       ui,         errorLog,      clock,       settings, probe,
                                             fakes.help, files,      fileDialog,    fakes.printer, fakes.cursor, fakes.about};
        services.programFolder = program;
        services.copyNumber = static_cast<uint32_t>(::getpid());

        TavrinApplication app(services);
        frmMain& w = app.window();
        bool ended = false;
        w.commands.endProgram = [&] { ended = true; };
        QVERIFY(w.Form_Load());
        QVERIFY(port.PortOpen());
        tavrin::test::keepSystemName();
        w.show();
        QTRY_COMPARE(w.recorder().globals.InstanceNumber, int16_t(1));
        const QString own = QString::fromStdString(program + "/Log/" + std::to_string(::getpid()));
        QCOMPARE(QString::fromStdString(w.recorder().globals.LogPath), own + QLatin1Char('/'));
        QCOMPARE(w.windowTitle(), QStringLiteral("Tavrin MS - System: Default"));
        QVERIFY(w.TimerCheckComData.isActive());

        // Logging is on by default; once the stream is aligned the backup
        // timer runs, and its tick writes the log chart out.
        QTRY_VERIFY_WITH_TIMEOUT(w.Chart[5]->NumPoints() > 50, 30000);
        QVERIFY(w.TimerSaveLog.isActive());
        w.logging().TimerSaveLog_Timer();
        QCOMPARE(w.Chart[5]->NumPoints(), 0);
        QVERIFY(QFileInfo(own + QStringLiteral("/DLog1.bak")).size() > 0);
        QVERIFY(QFileInfo::exists(own + QStringLiteral("/ELog1.bak")));
        QVERIFY(w.mnuSaveLog->isEnabled());
        QCOMPARE(QString::fromStdString(settings.GetSetting("LogInfo", "1", "")).section(QLatin1Char('|'), 3),
                 QString::number(::getpid()));

        // Yes to both questions: the log is saved from the backups before
        // they go, and the recorded run is left.
        ui.answer = tavrin::UiServices::Answer::Yes;
        QVERIFY(w.close());
        QVERIFY(ended);
        QCOMPARE(fileDialog.shown.size(), size_t(1));
        QCOMPARE(QString::fromStdString(fileDialog.shown[0].DialogTitle), QStringLiteral("Save Log File As..."));
        QVERIFY(QFileInfo(saved).size() > 0);
        QVERIFY(w.recorder().globals.LogSaved);
        QVERIFY(!QFileInfo::exists(own));
        QCOMPARE(settings.GetSetting("LogInfo", "1", "gone"), std::string("gone"));
        QCOMPARE(settings.GetSetting("Options", "ComPortNumber", "none"), std::string("1"));
        sim.terminate();
        sim.waitForFinished(5000);
    }
};

QTEST_MAIN(BackupLifecycleTest)
#include "BackupLifecycleTest.moc"
