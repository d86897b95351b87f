#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include "core/registry/PosixRecorderFileSystem.h"
#include "dialogs/frmDataRecovery.h"
#include "dialogs/frmLogName.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeErrorLog.h"
#include "fakes/FakeSerialPort.h"
#include "fakes/FakeUi.h"
#include "frmMain.h"
#include "qt/AppFakes.h"
#include "dialogs/frmSetup.h"
#include "platform/SettingsFile.h"
#include "qt/ModalWindows.h"

using namespace tavrin::test;

// The first activation and the shut-down of the window over real folders and
// a real settings file in a temporary folder.
class FirstActivationTest : public QObject {
    Q_OBJECT

    FakeSerialPort port;
    FakeUi ui;
    FakeErrorLog errorLog;
    FakeClock clock;
    tavrin::PosixRecorderFileSystem files;
    AppFakes fakes;

    TavrinApplication::Services services(tavrin::SettingsFile& settings, const QTemporaryDir& dir, uint32_t copy) {
        TavrinApplication::Services s{port,        ui,    errorLog,         clock,         settings,    fakes.probe,
                                      fakes.help,  files, fakes.fileDialog, fakes.printer, fakes.cursor, fakes.about};
        s.programFolder = dir.filePath(QStringLiteral("program")).toStdString();
        s.copyNumber = copy;
        s.logInfoSettings = tavrin::InstanceRegistry::ReadLogInfo(settings);
        return s;
    }

    static QStringList backups(const QString& folder) {
        return QDir(folder).entryList({QStringLiteral("*.bak")}, QDir::Files);
    }

    // A copy that registers, backs up a few points and ends without its
    // shut-down, as a crash leaves it; returns its folder.
    QString crashedRun(tavrin::SettingsFile& settings, const QTemporaryDir& dir) {
        TavrinApplication app(services(settings, dir, 111));
        frmMain& w = app.window();
        if (!w.Form_Load()) return {};
        keepSystemName();
        w.show();
        if (!QTest::qWaitFor([&] { return w.recorder().globals.InstanceNumber != 0; })) return {};
        for (int i = 0; i < 30; ++i) w.Chart[frmMain::kLogChart]->AddPoints(0.01f * i, 2.0f);
        w.recorder().globals.LogOn = true;
        w.logging().TimerSaveLog_Timer();
        const QString folder = QString::fromStdString(w.recorder().globals.LogPath);
        if (backups(folder).isEmpty()) return {};
        return folder;
    }

private slots:
    void leftoverLogsAreOfferedThenTheNameIsAskedAndTheCommandLineOpened() {
        QTemporaryDir dir;
        tavrin::SettingsFile settings(dir.filePath(QStringLiteral("settings.ini")).toStdString());
        const QString leftover = crashedRun(settings, dir);
        QVERIFY(!leftover.isEmpty());

        TavrinApplication::Services s = services(settings, dir, 222);
        s.commandLine = "/data/runs/run one.chd";
        TavrinApplication app(s);
        frmMain& w = app.window();
        std::vector<std::string> saved;
        std::vector<std::string> opened;
        w.commands.mnuSaveLog_Click = [&] {
            saved.push_back(w.recorder().globals.LogPath);
            w.recorder().globals.LogSaved = true;
        };
        w.commands.OpenChartFile = [&](const std::string& name) { opened.push_back(name); };
        QVERIFY(w.Form_Load());
        QStringList order;
        QString listed;
        onModal([&](QWidget* modal) {
                auto* recovery = qobject_cast<frmDataRecovery*>(modal);
            QVERIFY(recovery != nullptr);
            order << QStringLiteral("recovery");
            QCOMPARE(recovery->lstLogFiles->count(), 1);
            listed = recovery->lstLogFiles->item(0)->text();
            recovery->lstLogFiles->item(0)->setCheckState(Qt::Checked);
            recovery->cmdRecoverButton->click();
            recovery->cmdDoneButton->click();
            onModal([&](QWidget* next) {
                auto* name = qobject_cast<frmLogName*>(next);
                QVERIFY(name != nullptr);
                order << QStringLiteral("name");
                name->txtLogFileName->setText(QStringLiteral("Bench 2"));
                name->cmdOKButton->click();
            });
        });
        w.show();
        QTRY_COMPARE(order, QStringList({QStringLiteral("recovery"), QStringLiteral("name")}));
        QTRY_COMPARE(opened.size(), size_t{1});
        QCOMPARE(opened[0], std::string("/data/runs/run one.chd"));
        QVERIFY(listed.contains(QStringLiteral("Default")));
        QCOMPARE(saved.size(), size_t{1});
        QCOMPARE(QDir(QString::fromStdString(saved[0])).absolutePath(), QDir(leftover).absolutePath());
        QCOMPARE(ui.beeps, 1);
        QCOMPARE(w.windowTitle(), QStringLiteral("Tavrin MS - System: Bench 2"));
        // The recovered folder is gone; this copy has its own.
        QVERIFY(!QFileInfo::exists(leftover));
        QVERIFY(QFileInfo::exists(QString::fromStdString(w.recorder().globals.LogPath)));
    }

    void noRecoveryWindowWhileAnotherCopyRuns() {
        QTemporaryDir dir;
        tavrin::SettingsFile settings(dir.filePath(QStringLiteral("settings.ini")).toStdString());
        const QString leftover = crashedRun(settings, dir);
        QVERIFY(!leftover.isEmpty());
        TavrinApplication::Services s = services(settings, dir, 333);
        s.otherCopyWasRunning = true;
        TavrinApplication app(s);
        frmMain& w = app.window();
        bool recoveryShown = false;
        w.commands.showDataRecovery = [&](const std::vector<std::string>&) { recoveryShown = true; };
        // With another copy running the port is chosen in the setup window.
        onModal([](QWidget* modal) {
            if (auto* setup = qobject_cast<frmSetup*>(modal)) setup->cmdOk->click();
        });
        QVERIFY(w.Form_Load());
        keepSystemName();
        w.show();
        QTRY_COMPARE(w.windowTitle(), QStringLiteral("Tavrin MS - System: Default"));
        QVERIFY(!recoveryShown);
        QVERIFY(!backups(leftover).isEmpty());
    }

    // Yes to the Save Log question runs Save Log while the backups are still
    // on disk; they go only afterwards.
    void shutDownOffersSaveLogBeforeTheBackupsAreRemoved() {
        QTemporaryDir dir;
        tavrin::SettingsFile settings(dir.filePath(QStringLiteral("settings.ini")).toStdString());
        TavrinApplication app(services(settings, dir, 444));
        frmMain& w = app.window();
        QVERIFY(w.Form_Load());
        keepSystemName();
        w.show();
        QTRY_VERIFY(w.recorder().globals.InstanceNumber != 0);
        for (int i = 0; i < 30; ++i) w.Chart[frmMain::kLogChart]->AddPoints(0.01f * i, 2.0f);
        w.logging().TimerSaveLog_Timer();
        QVERIFY(w.mnuSaveLog->isEnabled());
        const QString folder = QString::fromStdString(w.recorder().globals.LogPath);
        bool backupsThere = false;
        w.commands.mnuSaveLog_Click = [&] {
            backupsThere = !backups(folder).isEmpty();
        };
        bool ended = false;
        w.commands.endProgram = [&] { ended = true; };
        ui.boxes.clear();
        ui.answer = tavrin::UiServices::Answer::Yes;
        QVERIFY(w.close());
        QVERIFY(ended);
        QVERIFY(backupsThere);
        QCOMPARE(ui.boxes.at(0).text, std::string("Do you want to save the LOG file before exiting "));
        QCOMPARE(ui.boxes.at(0).buttons, tavrin::UiServices::Buttons::YesNo);
        QVERIFY(!QFileInfo::exists(folder));
    }
};

QTEST_MAIN(FirstActivationTest)
#include "FirstActivationTest.moc"
