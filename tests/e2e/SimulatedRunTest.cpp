#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <bit>
#include <cmath>
#include <fstream>
#include <sstream>
#include <vector>

#include "Player.h"
#include "Script.h"
#include "fakes/FakeUi.h"
#include "frmMain.h"
#include "platform/ErrorLogAppender.h"
#include "platform/QSerialPortAdapter.h"
#include "platform/SystemClock.h"

namespace {

constexpr int32_t kCyan = 0xFFFF00;
constexpr int32_t kGreen = 0xFF00;

struct StreamPoint {
    float uv;
    float cond;
};

// The points of a script as the simulator sends them, in order.
std::vector<StreamPoint> streamPoints(const std::string& script) {
    std::vector<StreamPoint> points;
    for (const kado::Chunk& c : kado::render(kado::parseScript(script))) {
        if (!c.paced) continue;
        auto at = [&](size_t i) {
            return std::bit_cast<float>(uint32_t(c.bytes[i]) << 24 | uint32_t(c.bytes[i + 1]) << 16 |
                                        uint32_t(c.bytes[i + 2]) << 8 | uint32_t(c.bytes[i + 3]));
        };
        points.push_back({at(2), at(8)});
    }
    return points;
}

struct ExpectedLabel {
    const char* text;
    int32_t color;
    int16_t offset;
    int index;  // minutes = index / 300
};

std::string readAll(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

class SimulatedRunTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QProcess sim_;
    std::string slavePath_;
    std::string script_;

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        QFile f(QStringLiteral(E2E_SCRIPT));
        QVERIFY(f.open(QIODevice::ReadOnly));
        script_ = f.readAll().toStdString();
    }

    void cleanup() {
        if (sim_.state() != QProcess::NotRunning) {
            sim_.terminate();
            QVERIFY(sim_.waitForFinished(5000));
        }
    }

    // The simulator streams a scripted run through a pseudo-terminal into the
    // main window over the real serial adapter; the live chart and the log
    // chart end up with every point, label and method in its place.
    void scriptedRunReachesTheLiveAndTheLogChart() {
        sim_.start(QStringLiteral(KADO_SIM_PATH),
                   {QStringLiteral(E2E_SCRIPT), QStringLiteral("--speed"), QStringLiteral("40")});
        QVERIFY(sim_.waitForReadyRead(10000));
        slavePath_ = sim_.readLine().trimmed().toStdString();
        QVERIFY(slavePath_.rfind("/dev/pts/", 0) == 0);

        // Every COM port but COM1 is a path that does not exist.
        const std::string slave = slavePath_;
        tavrin::QSerialPortAdapter port([slave](int16_t n) {
            return n == 1 ? slave : std::string("/nonexistent/tavrin-com") + std::to_string(n);
        });
        port.setCommPort(1);
        port.setInBufferSize(32000);
        tavrin::test::FakeUi ui;
        const QString logPath = dir_.filePath(QStringLiteral("ChartErr.log"));
        tavrin::ErrorLogAppender errorLog(logPath.toStdString());
        tavrin::SystemClock clock;
        frmMain w(frmMain::Services{&port, ui, errorLog, clock});
        w.recorder().globals.LogOn = true;
        w.show();
        port.setPortOpen(true);

        const std::vector<StreamPoint> stream = streamPoints(script_);
        QCOMPARE(stream.size(), size_t(355));
        pelomar::Pelomar& live = *w.Chart[0];
        pelomar::Pelomar& log = *w.Chart[5];
        QTRY_COMPARE_WITH_TIMEOUT(log.NumPoints(), 355 - 39, 60000);
        QTRY_COMPARE_WITH_TIMEOUT(log.MethodCount(), 1, 10000);

        // Live chart: stream points 20..230 (230 labels the pause), then
        // 270..330 (330 labels the end); nothing while paused or stopped.
        std::vector<int> liveStream;
        for (int i = 20; i <= 230; ++i) liveStream.push_back(i);
        for (int i = 270; i <= 330; ++i) liveStream.push_back(i);
        QCOMPARE(live.NumPoints(), static_cast<int32_t>(liveStream.size()));
        for (size_t i = 0; i < liveStream.size(); ++i) {
            const auto p = live.PointAt(static_cast<int32_t>(i));
            const StreamPoint& s = stream[static_cast<size_t>(liveStream[i])];
            QVERIFY2(p.Y1 == s.uv && p.Y2 == s.cond, qPrintable(QStringLiteral("live point %1").arg(i)));
        }
        QVERIFY(!w.recorder().run.Recording);

        // Log chart: every point but the 39 after the pause label.
        std::vector<int> logStream;
        for (int i = 0; i <= 230; ++i) logStream.push_back(i);
        for (int i = 270; i < 355; ++i) logStream.push_back(i);
        QCOMPARE(log.NumPoints(), static_cast<int32_t>(logStream.size()));
        for (size_t i = 0; i < logStream.size(); ++i) {
            const auto p = log.PointAt(static_cast<int32_t>(i));
            const StreamPoint& s = stream[static_cast<size_t>(logStream[i])];
            QVERIFY2(p.Y1 == s.uv && p.Y2 == s.cond, qPrintable(QStringLiteral("log point %1").arg(i)));
        }

        // Live labels stand at the time of the point they came with; log
        // labels at the log point before it.
        const ExpectedLabel liveLabels[] = {
            {"S", kCyan, 50, 0}, {"1", kGreen, 10, 100}, {"H", kCyan, 20, 150},
            {"C", kCyan, 20, 180}, {"P", kCyan, 30, 210}, {"E", kCyan, 40, 271},
        };
        const ExpectedLabel logLabels[] = {
            {"S", kCyan, 50, 19}, {"1", kGreen, 10, 119}, {"H", kCyan, 20, 169},
            {"C", kCyan, 20, 199}, {"P", kCyan, 30, 229}, {"E", kCyan, 40, 290},
        };
        auto checkLabels = [](pelomar::Pelomar& chart, const ExpectedLabel(&expected)[6], const char* which) {
            QCOMPARE(chart.LabelCount(), 6);
            for (int i = 0; i < 6; ++i) {
                const auto l = chart.LabelAt(i);
                const ExpectedLabel& e = expected[i];
                const QString where = QStringLiteral("%1 label %2").arg(QLatin1String(which)).arg(i);
                QVERIFY2(l.Label == e.text, qPrintable(where + QStringLiteral(": ") + QString::fromStdString(l.Label)));
                QVERIFY2(l.Color == e.color && l.Offset == e.offset, qPrintable(where));
                QVERIFY2(std::abs(l.XPos - static_cast<float>(e.index) / 300.0f) < 1e-5f,
                         qPrintable(where + QStringLiteral(" at %1").arg(double(l.XPos))));
            }
        };
        checkLabels(live, liveLabels, "live");
        checkLabels(log, logLabels, "log");

        // The method came within the wait after the end: on both charts, at
        // the end label's time live and at the log time of its arrival.
        const std::string tail = "\r\nTest method\r\nline two\r\n";
        for (pelomar::Pelomar* chart : {&live, &log}) {
            QCOMPARE(chart->MethodCount(), 1);
            const std::string m = chart->MethodAt(0).Method;
            QVERIFY2(m.size() > tail.size() && m.compare(m.size() - tail.size(), tail.size(), tail) == 0, m.c_str());
            QVERIFY(m.find("\r\n") == m.size() - tail.size());  // the date is one line
        }
        QVERIFY(std::abs(live.MethodAt(0).XPos - 271.0f / 300.0f) < 1e-5f);
        QVERIFY(std::abs(log.MethodAt(0).XPos - 295.0f / 300.0f) < 1e-5f);
        QVERIFY(!w.recorder().run.WaitingForMethod);

        // A clean line: no box, and nothing but a failed first hunt logged.
        QVERIFY(ui.boxes.empty());
        const std::string errors = readAll(logPath);
        QVERIFY2(errors.find("ERROR") == std::string::npos, errors.c_str());
    }
};

QTEST_MAIN(SimulatedRunTest)
#include "SimulatedRunTest.moc"
