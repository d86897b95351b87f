#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "platform/QSerialPortAdapter.h"

using tavrin::QSerialPortAdapter;

namespace {

const char* const kScript =
    "letters U C\npoints 40\npen on\nstatus run\nletters V D\npoints 200\nevent 2\n"
    "garbage 5\npoints 100\nstatus end\nmethod M1\\r\\nline 2\npoints 10\n";

QByteArray runToFile(const QString& script, const QString& out, const QStringList& extra = {}) {
    QProcess sim;
    sim.start(QStringLiteral(KADO_SIM_PATH), QStringList{script, QStringLiteral("-o"), out} + extra);
    if (!sim.waitForFinished(30000) || sim.exitCode() != 0) return {};
    QFile f(out);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class KadoSimProcessTest : public QObject {
    Q_OBJECT

private slots:
    // Through a pseudo-terminal the reader gets exactly the bytes the same
    // script writes to a file, although it opens the line after the start.
    void pseudoTerminalCarriesTheWholeStream() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString script = dir.filePath(QStringLiteral("run.kado"));
        QFile f(script);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(kScript);
        f.close();
        const QByteArray expected = runToFile(script, dir.filePath(QStringLiteral("out.bin")));
        QCOMPARE(expected.size(), 350 * 12 + 4 * 3 + 5 + 13);  // points, four status blocks, noise, method

        QProcess sim;
        sim.start(QStringLiteral(KADO_SIM_PATH), {script, QStringLiteral("--speed"), QStringLiteral("50")});
        QVERIFY(sim.waitForReadyRead(10000));
        const std::string path = sim.readLine().trimmed().toStdString();
        QVERIFY(path.rfind("/dev/pts/", 0) == 0);
        QTest::qWait(300);  // the simulator must wait for its reader

        QSerialPortAdapter port([path](int16_t) { return path; });
        port.setInBufferSize(32000);
        QByteArray received;
        port.setOnComm([&] {
            if (port.CommEvent() != tavrin::SerialPort::kEvReceive) return;
            const auto bytes = port.Input();
            received.append(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
        });
        port.setPortOpen(true);
        QTRY_COMPARE_WITH_TIMEOUT(received.size(), expected.size(), 30000);
        QCOMPARE(received, expected);

        sim.terminate();
        QVERIFY(sim.waitForFinished(5000));
        QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
        QCOMPARE(sim.exitCode(), 0);
    }

    void replayGivesTheFileBack() {
        QTemporaryDir dir;
        const QString raw = dir.filePath(QStringLiteral("raw.bin"));
        QFile f(raw);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QByteArray bytes;
        for (int i = 0; i < 1000; ++i) bytes.append(static_cast<char>(i * 7));
        f.write(bytes);
        f.close();
        QProcess sim;
        const QString out = dir.filePath(QStringLiteral("out.bin"));
        sim.start(QStringLiteral(KADO_SIM_PATH), {QStringLiteral("--replay"), raw, QStringLiteral("-o"), out});
        QVERIFY(sim.waitForFinished(10000));
        QCOMPARE(sim.exitCode(), 0);
        QFile o(out);
        QVERIFY(o.open(QIODevice::ReadOnly));
        QCOMPARE(o.readAll(), bytes);
    }

    void badScriptIsRefusedWithItsLine() {
        QTemporaryDir dir;
        const QString script = dir.filePath(QStringLiteral("bad.kado"));
        QFile f(script);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("points 3\nevent twelve\n");
        f.close();
        QProcess sim;
        sim.start(QStringLiteral(KADO_SIM_PATH), {script});
        QVERIFY(sim.waitForFinished(10000));
        QCOMPARE(sim.exitCode(), 1);
        QVERIFY(sim.readAllStandardOutput().isEmpty());
        QVERIFY(sim.readAllStandardError().contains("line 2"));
    }
};

QTEST_GUILESS_MAIN(KadoSimProcessTest)
#include "KadoSimProcessTest.moc"
