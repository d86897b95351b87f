#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <cstring>
#include <unistd.h>

#include "core/registry/PosixRecorderFileSystem.h"
#include "dialogs/frmDataRecovery.h"
#include "fakes/FakeFileDialog.h"
#include "fakes/FakeUi.h"
#include "frmMain.h"
#include "qt/AppFakes.h"
#include "platform/ErrorLogAppender.h"
#include "platform/QSerialPortAdapter.h"
#include "platform/RunningCopies.h"
#include "platform/SettingsFile.h"
#include "platform/SystemClock.h"
#include "qt/ModalWindows.h"

namespace {

struct Point {
    float uv = 0;
    float cond = 0;
    bool operator==(const Point& o) const {
        return std::memcmp(&uv, &o.uv, sizeof uv) == 0 && std::memcmp(&cond, &o.cond, sizeof cond) == 0;
    }
};

// The points of a backup data log: two little-endian Singles each.
std::vector<Point> backupPoints(const QString& file) {
    QFile f(file);
    std::vector<Point> points;
    if (!f.open(QIODevice::ReadOnly)) return points;
    const QByteArray bytes = f.readAll();
    for (qsizetype i = 0; i + 8 <= bytes.size(); i += 8) {
        Point p;
        std::memcpy(&p.uv, bytes.constData() + i, 4);
        std::memcpy(&p.cond, bytes.constData() + i + 4, 4);
        points.push_back(p);
    }
    return points;
}

std::vector<Point> chartPoints(const pelomar::Pelomar& chart) {
    std::vector<Point> points;
    for (int32_t i = 0; i < chart.NumPoints(); ++i) points.push_back({chart.PointAt(i).Y1, chart.PointAt(i).Y2});
    return points;
}

// The instrument simulator playing its default run again and again into a
// pseudo-terminal.
class Instrument {
public:
    Instrument() {
        sim_.start(QStringLiteral(KADO_SIM_PATH), {QStringLiteral("--loop")});
        if (sim_.waitForReadyRead(10000)) slave_ = sim_.readLine().trimmed().toStdString();
    }
    ~Instrument() {
        sim_.terminate();
        sim_.waitForFinished(5000);
    }
    const std::string& slave() const { return slave_; }

private:
    QProcess sim_;
    std::string slave_;
};

}  // namespace

// The program as a user meets it after a crash: a real copy records from the
// simulator with Log ON and is killed; the next copy offers the run, recovers
// it into a log file, and that file holds every point the backups held.
class CrashRecoveryTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString data() const { return dir.filePath(QStringLiteral("data")); }
    QString program() const { return data() + QStringLiteral("/tavrin-ms"); }
    QString settingsFile() const { return dir.filePath(QStringLiteral("config/tavrin-ms/settings.ini")); }

    // This process as the next copy, over the same folders and settings.
    struct NextCopy {
        tavrin::QSerialPortAdapter port;
        tavrin::QSerialPortAdapter probe;
        tavrin::test::FakeUi ui;
        tavrin::ErrorLogAppender errorLog;
        tavrin::SystemClock clock;
        tavrin::SettingsFile settings;
        tavrin::PosixRecorderFileSystem files;
        tavrin::test::FakeFileDialog fileDialog;
        tavrin::test::AppFakes fakes;
        tavrin::RunningCopies copies;
        std::unique_ptr<TavrinApplication> app;

        NextCopy(const CrashRecoveryTest& t, const std::string& slave)
            : port(deviceFor(slave)), probe(deviceFor(slave)),
              errorLog(t.program().toStdString() + "/ChartErr.log"), settings(t.settingsFile().toStdString()),
              copies(t.program().toStdString() + "/running.lock") {
            TavrinApplication::Services s{port,       ui,    errorLog,   clock,         settings,    probe,
                                          fakes.help, files, fileDialog, fakes.printer, fakes.cursor, fakes.about};
            s.programFolder = t.program().toStdString();
            s.otherCopyWasRunning = copies.otherCopyWasRunning();
            s.logInfoSettings = tavrin::InstanceRegistry::ReadLogInfo(settings);
            s.copyNumber = static_cast<uint32_t>(::getpid());
            app = std::make_unique<TavrinApplication>(s);
        }
        static std::function<std::string(int16_t)> deviceFor(const std::string& slave) {
            return [slave](int16_t n) {
                return n == 1 ? slave : std::string("/nonexistent/tavrin-com") + std::to_string(n);
            };
        }
    };

private slots:
    void aKilledRunIsRecoveredWithEveryBackedUpPoint() {
        Instrument instrument;
        QVERIFY(instrument.slave().rfind("/dev/pts/", 0) == 0);

        // The first copy, a real program, records with Log ON (the default)
        // and is killed after its second backup tick.
        QProcess first;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), data());
        env.insert(QStringLiteral("TAVRIN_COM1"), QString::fromStdString(instrument.slave()));
        // Every other COM named too, so the program reaches none of this machine's ports.
        for (int n = 2; n <= 10; ++n)
            env.insert(QStringLiteral("TAVRIN_COM%1").arg(n), QStringLiteral("/nonexistent/tavrin-com%1").arg(n));
        first.setProcessEnvironment(env);
        first.start(QStringLiteral(TAVRIN_MS_PATH), {});
        QVERIFY(first.waitForStarted());
        const QString folder = program() + QStringLiteral("/Log/") + QString::number(first.processId());
        const QString backup = folder + QStringLiteral("/DLog1.bak");
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(backup).size() > 0, 40000);
        const qint64 afterFirstTick = QFileInfo(backup).size();
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(backup).size() > afterFirstTick, 40000);
        ::kill(static_cast<pid_t>(first.processId()), SIGKILL);
        QVERIFY(first.waitForFinished(10000));
        const std::vector<Point> backedUp = backupPoints(backup);
        QVERIFY(backedUp.size() > 100);

        // The next copy offers the run; Recover saves it as a log file.
        NextCopy next(*this, instrument.slave());
        const QString saved = dir.filePath(QStringLiteral("recovered.chl"));
        next.fileDialog.answer = saved.toStdString();
        next.ui.answer = tavrin::UiServices::Answer::Yes;
        frmMain& w = next.app->window();
        QVERIFY(w.Form_Load());
        QStringList offered;
        tavrin::test::onModal([&](QWidget* modal) {
            auto* recovery = qobject_cast<frmDataRecovery*>(modal);
            if (recovery == nullptr) return;
            for (int i = 0; i < recovery->lstLogFiles->count(); ++i) offered << recovery->lstLogFiles->item(i)->text();
            if (recovery->lstLogFiles->count() > 0) recovery->lstLogFiles->item(0)->setCheckState(Qt::Checked);
            recovery->cmdRecoverButton->click();
            recovery->cmdDoneButton->click();
        });
        tavrin::test::keepSystemName();
        w.show();
        QTRY_VERIFY_WITH_TIMEOUT(w.windowTitle().startsWith(QStringLiteral("Tavrin MS - System: ")), 20000);
        QCOMPARE(offered.size(), 1);
        QVERIFY(offered[0].startsWith(QStringLiteral("  Default")));
        QVERIFY(QFileInfo(saved).size() > 0);
        // The recovered folder went with Done; this copy has its own.
        QVERIFY(!QFileInfo::exists(folder));

        // The log file holds every backed-up point, in order, and reads back
        // into a file tab the same.
        pelomar::Pelomar read;
        QVERIFY(read.ReadFromFile(saved.toStdString()));
        QVERIFY(chartPoints(read) == backedUp);
        w.commands.OpenChartFile(saved.toStdString());
        QCOMPARE(w.TabChart->tabText(1), QStringLiteral("recovered"));
        QVERIFY(chartPoints(*w.Chart[1]) == backedUp);
        QCOMPARE(w.TabChart->currentIndex(), 1);

        next.ui.answer = tavrin::UiServices::Answer::Yes;
        w.commands.endProgram = [] {};
        w.close();
    }

    // At exit, Yes to the Save Log question saves the log from the backups
    // that are on disk at that moment, before they are removed.
    void theExitSavesTheLogBeforeTheBackupsGo() {
        Instrument instrument;
        QVERIFY(instrument.slave().rfind("/dev/pts/", 0) == 0);
        NextCopy copy(*this, instrument.slave());
        frmMain& w = copy.app->window();
        QVERIFY(w.Form_Load());
        tavrin::test::keepSystemName();
        w.show();
        QTRY_VERIFY(w.recorder().globals.InstanceNumber != 0);
        const QString folder = QString::fromStdString(w.recorder().globals.LogPath);
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(folder + QStringLiteral("DLog1.bak")).size() > 0, 40000);
        QVERIFY(w.mnuSaveLog->isEnabled());

        const QString saved = dir.filePath(QStringLiteral("at-exit.chl"));
        copy.fileDialog.answer = saved.toStdString();
        bool ended = false;
        w.commands.endProgram = [&] { ended = true; };
        const std::vector<Point> before = backupPoints(folder + QStringLiteral("DLog1.bak"));
        copy.ui.boxes.clear();
        copy.ui.answer = tavrin::UiServices::Answer::Yes;
        QVERIFY(w.close());
        QVERIFY(ended);
        QCOMPARE(copy.ui.boxes.at(0).text, std::string("Do you want to save the LOG file before exiting "));
        QCOMPARE(copy.fileDialog.shown.size(), size_t{1});
        QCOMPARE(copy.fileDialog.shown[0].DialogTitle, std::string("Save Log File As..."));
        pelomar::Pelomar read;
        QVERIFY(read.ReadFromFile(saved.toStdString()));
        const std::vector<Point> inFile = chartPoints(read);
        // Every point on disk when the question came is in the file, in order.
        QVERIFY(inFile.size() >= before.size());
        QVERIFY(std::equal(before.begin(), before.end(), inFile.begin()));
        QVERIFY(!QFileInfo::exists(folder));
    }
};

QTEST_MAIN(CrashRecoveryTest)
#include "CrashRecoveryTest.moc"
