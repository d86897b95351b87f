// Writes the pictures of the main window and the recovery window:
// tavrin_screenshots MAIN.png RECOVERY.png [MINIMUM.png]. Run under a display (xvfb-run).
// A first copy records from the simulator and ends without its shut-down;
// the next copy offers its run, recovers it into a log file, opens a data
// file and that log in two file tabs and records a run in the live tab.
#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

#include "../chart_control/qt/SyntheticRun.h"
#include "core/registry/PosixRecorderFileSystem.h"
#include "dialogs/frmDataRecovery.h"
#include "dialogs/frmLogName.h"
#include "fakes/FakeFileDialog.h"
#include "fakes/FakeUi.h"
#include "frmMain.h"
#include "qt/AppFakes.h"
#include "platform/ErrorLogAppender.h"
#include "platform/QSerialPortAdapter.h"
#include "platform/SettingsFile.h"
#include "platform/SystemClock.h"
#include "qt/ModalWindows.h"

namespace {

struct Copy {
    tavrin::QSerialPortAdapter port;
    tavrin::QSerialPortAdapter probe;
    tavrin::test::FakeUi ui;
    tavrin::ErrorLogAppender errorLog;
    tavrin::SystemClock clock;
    tavrin::SettingsFile settings;
    tavrin::PosixRecorderFileSystem files;
    tavrin::test::FakeFileDialog fileDialog;
    tavrin::test::AppFakes fakes;
    std::unique_ptr<TavrinApplication> app;

    Copy(const QTemporaryDir& dir, const std::string& slave, uint32_t number)
        : port(deviceFor(slave)), probe(deviceFor(slave)),
          errorLog(dir.filePath(QStringLiteral("program/ChartErr.log")).toStdString()),
          settings(dir.filePath(QStringLiteral("settings.ini")).toStdString()) {
        TavrinApplication::Services s{port,       ui,    errorLog,   clock,         settings,    probe,
                                      fakes.help, files, fileDialog, fakes.printer, fakes.cursor, fakes.about};
        s.programFolder = dir.filePath(QStringLiteral("program")).toStdString();
        s.logInfoSettings = tavrin::InstanceRegistry::ReadLogInfo(settings);
        s.copyNumber = number;
        app = std::make_unique<TavrinApplication>(s);
    }
    static std::function<std::string(int16_t)> deviceFor(const std::string& slave) {
        return [slave](int16_t n) { return n == 1 ? slave : std::string("/nonexistent/tavrin-com") + std::to_string(n); };
    }
};

bool waitFor(const std::function<bool()>& done, int ms) { return QTest::qWaitFor(done, ms); }

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc < 3) return 2;
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath(QStringLiteral("program")));
    QProcess sim;
    sim.start(QStringLiteral(KADO_SIM_PATH), {QStringLiteral("--loop"), QStringLiteral("--speed"), QStringLiteral("40")});
    if (!sim.waitForReadyRead(10000)) return 1;
    const std::string slave = sim.readLine().trimmed().toStdString();

    // A data file of an earlier run.
    const QString dataFile = dir.filePath(QStringLiteral("Desalting 0312.chd"));
    {
        pelomar::Pelomar chart;
        pelomar::testing::fillSyntheticRun(chart, 40);
        pelomar::testing::addRunMarks(chart);
        if (!chart.SaveToFile(dataFile.toStdString())) return 1;
    }

    // The copy that ends without its shut-down, named "Bench 2".
    {
        Copy crashed(dir, slave, 4101);
        frmMain& w = crashed.app->window();
        if (!w.Form_Load()) return 1;
        tavrin::test::onModal([](QWidget* modal) {
            if (auto* name = qobject_cast<frmLogName*>(modal)) {
                name->txtLogFileName->setText(QStringLiteral("Bench 2"));
                name->cmdOKButton->click();
            }
        });
        w.show();
        if (!waitFor([&] { return w.Chart[frmMain::kLogChart]->NumPoints() > 3000; }, 60000)) return 1;
        w.logging().TimerSaveLog_Timer();
        crashed.app.reset();
    }

    Copy copy(dir, slave, 4102);
    frmMain& w = copy.app->window();
    const QString logFile = dir.filePath(QStringLiteral("Bench 2 recovered.chl"));
    copy.fileDialog.answer = logFile.toStdString();
    copy.ui.answer = tavrin::UiServices::Answer::Yes;
    if (!w.Form_Load()) return 1;
    bool recoveryShot = false;
    tavrin::test::onModal([&](QWidget* modal) {
        auto* recovery = qobject_cast<frmDataRecovery*>(modal);
        if (recovery == nullptr) return;
        QTest::qWait(300);
        recoveryShot = recovery->grab().save(QString::fromLocal8Bit(argv[2]));
        if (recovery->lstLogFiles->count() > 0) recovery->lstLogFiles->item(0)->setCheckState(Qt::Checked);
        recovery->cmdRecoverButton->click();
        recovery->cmdDoneButton->click();
    });
    tavrin::test::keepSystemName();
    w.show();
    w.resize(900, 640);
    if (!waitFor([&] { return w.windowTitle().startsWith(QStringLiteral("Tavrin MS - System: ")); }, 30000)) return 1;
    w.commands.OpenChartFile(dataFile.toStdString());
    w.commands.OpenChartFile(logFile.toStdString());
    w.TabChart->setCurrentIndex(0);
    w.mnuStart_Click();
    QTest::qWait(15000);
    const bool mainShot = w.grab().save(QString::fromLocal8Bit(argv[1]));
    w.mnuStop_Click();
    // Optionally the window at its minimum size, after the run.
    if (argc > 3) {
        w.resize(10, 10);
        QTest::qWait(500);
        w.grab().save(QString::fromLocal8Bit(argv[3]));
    }
    w.commands.endProgram = [] {};
    copy.ui.answer = tavrin::UiServices::Answer::No;
    copy.app.reset();
    sim.terminate();
    sim.waitForFinished(5000);
    return recoveryShot && mainShot ? 0 : 1;
}
