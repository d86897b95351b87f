#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <thread>

namespace {

// The instrument's pace is 5 points a second; the line here runs 150 times
// faster, about 9 000 bytes a second, so the 10 000-byte ring fills within
// one decoder tick.
constexpr int kSpeed = 150;
constexpr double kPointsPerSecond = 5.0 * kSpeed;
constexpr int kBackupSeconds = 20;
constexpr qint64 kBytesPerPoint = 8;

int countLines(const QByteArray& log, const QByteArray& text) { return static_cast<int>(log.count(text)); }

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A killed program cannot remove the serial port's lock file itself.
void removeLockOf(qint64 pid, const QString& device) {
    const QString name = QStringLiteral("LCK..") + device.mid(5).replace(QLatin1Char('/'), QLatin1Char('_'));
    for (const QString folder : {QStringLiteral("/run/lock/"), QStringLiteral("/var/lock/")}) {
        const QString lock = folder + name;
        if (readAll(lock).trimmed().split('\n').value(0).trimmed() == QByteArray::number(pid)) QFile::remove(lock);
    }
}

}  // namespace

// The real program reading a line faster than its decoder tick, and a stall
// of its event loop longer than the ring takes to fill: the backup log keeps
// the pace of the stream and the error log does not fill with losses.
class FastLineTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString data() const { return dir.filePath(QStringLiteral("data")); }

private slots:
    void theBackupKeepsThePaceOfAFastLineAcrossAStall() {
        QProcess sim;
        sim.start(QStringLiteral(KADO_SIM_PATH),
                  {QStringLiteral("--loop"), QStringLiteral("--speed"), QString::number(kSpeed),
                   QStringLiteral(E2E_DIR "/fast-line.kado")});
        QVERIFY(sim.waitForReadyRead(10000));
        const QString slave = QString::fromLatin1(sim.readLine().trimmed());
        QVERIFY(slave.startsWith(QStringLiteral("/dev/pts/")));

        QProcess app;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), data());
        env.insert(QStringLiteral("TAVRIN_COM1"), slave);
        for (int n = 2; n <= 10; ++n)
            env.insert(QStringLiteral("TAVRIN_COM%1").arg(n), dir.filePath(QStringLiteral("no-port-%1").arg(n)));
        app.setProcessEnvironment(env);
        app.start(QStringLiteral(TAVRIN_MS_PATH), {});
        QVERIFY(app.waitForStarted());
        const auto pid = static_cast<pid_t>(app.processId());
        const QString backup = data() + QStringLiteral("/tavrin-ms/Log/%1/DLog1.bak").arg(pid);
        const QString errorLog = data() + QStringLiteral("/tavrin-ms/ChartErr.log");
        auto size = [&] { return QFileInfo(backup).size(); };
        // The size after the next backup tick, or -1.
        auto nextBackup = [&](qint64 after) {
            QDeadlineTimer deadline((kBackupSeconds + 10) * 1000);
            while (size() <= after && !deadline.hasExpired()) QTest::qWait(100);
            return size() > after ? size() : qint64{-1};
        };

        QTRY_VERIFY_WITH_TIMEOUT(size() > 0, 40000);
        // The event loop held for 3 s: about 27 000 bytes wait for it.
        ::kill(pid, SIGSTOP);
        std::this_thread::sleep_for(std::chrono::seconds(3));
        ::kill(pid, SIGCONT);
        const qint64 afterStall = nextBackup(size());
        QVERIFY(afterStall > 0);
        const QByteArray logAfterStall = readAll(errorLog);
        const qint64 last = nextBackup(afterStall);
        QVERIFY(last > 0);

        // One backup interval of a steady line, less a tenth for the
        // timers' slack.
        const double points = static_cast<double>(last - afterStall) / kBytesPerPoint;
        QVERIFY2(points > 0.9 * kPointsPerSecond * kBackupSeconds, qPrintable(QString::number(points)));

        const QByteArray log = readAll(errorLog);
        QVERIFY2(countLines(log, "ERROR - Receive ring full") + countLines(log, "ERROR - Receive buffer overflow") <= 1,
                 log.constData());
        // Nothing is logged once the line runs steady again.
        QCOMPARE(log, logAfterStall);

        app.kill();
        QVERIFY(app.waitForFinished(10000));
        removeLockOf(pid, slave);
        sim.terminate();
        sim.waitForFinished(5000);
    }
};

QTEST_MAIN(FastLineTest)
#include "FastLineTest.moc"
