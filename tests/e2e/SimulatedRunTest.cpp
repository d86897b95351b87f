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
#include "qt/AppFakes.h"
#include "qt/ModalWindows.h"
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
        if (c.bytes.size() != 12) {  // a cut block never makes a point
            points.push_back({std::nanf(""), std::nanf("")});
            continue;
        }
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

QString scriptPath(const char* name) { return QStringLiteral(E2E_DIR "/") + QLatin1String(name); }

std::string readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
}

// Decimal text of the 32 stream bytes before `offset`, as the error dump has
// it (the ring starts with the stream, which stays far below its size).
std::string dumpBefore(const kado::Bytes& stream, size_t offset) {
    std::string out;
    for (size_t i = offset - 32; i < offset; ++i) out += " " + std::to_string(stream[i]);
    return out;
}

// The protocol-error lines of the error log: each "ERROR - " line and the
// dump line after it.
std::vector<std::string> protocolErrorLines(const std::string& log) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < log.size()) {
        const size_t end = log.find("\r\n", start);
        lines.push_back(log.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) break;
        start = end + 2;
    }
    std::vector<std::string> out;
    for (size_t i = 0; i + 1 < lines.size(); ++i) {
        if (lines[i].rfind("ERROR - ", 0) == 0) {
            out.push_back(lines[i]);
            out.push_back(lines[i + 1]);
        }
    }
    return out;
}

std::string readAll(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}


// The simulator playing a script into a pseudo-terminal, and the main window
// reading it as COM1 over the real serial adapter; every other COM port is a
// path that does not exist.
class SimulatedLine {
public:
    explicit SimulatedLine(const QString& script)
        : port_([this](int16_t n) {
              return n == 1 ? slavePath_ : std::string("/nonexistent/tavrin-com") + std::to_string(n);
          }),
          errorLog_(dir_.filePath(QStringLiteral("ChartErr.log")).toStdString()),
          app_(fakes_.services(port_, ui_, errorLog_, clock_)),
          window_(app_.window()) {
        sim_.start(QStringLiteral(KADO_SIM_PATH), {script, QStringLiteral("--speed"), QStringLiteral("40")});
        if (sim_.waitForReadyRead(10000)) slavePath_ = sim_.readLine().trimmed().toStdString();
        port_.setCommPort(1);
        port_.setInBufferSize(32000);
        window_.recorder().globals.LogOn = true;
        tavrin::test::keepSystemName();
        window_.show();
    }
    ~SimulatedLine() {
        sim_.terminate();
        sim_.waitForFinished(5000);
    }

    bool open() {
        if (slavePath_.rfind("/dev/pts/", 0) != 0) return false;
        port_.setPortOpen(true);
        return port_.PortOpen();
    }
    frmMain& window() { return window_; }
    pelomar::Pelomar& live() { return *window_.Chart[0]; }
    pelomar::Pelomar& log() { return *window_.Chart[5]; }
    const tavrin::test::FakeUi& ui() const { return ui_; }
    std::string errorLog() const { return readAll(dir_.filePath(QStringLiteral("ChartErr.log"))); }

private:
    QTemporaryDir dir_;
    QProcess sim_;
    std::string slavePath_;
    tavrin::QSerialPortAdapter port_;
    tavrin::test::FakeUi ui_;
    tavrin::ErrorLogAppender errorLog_;
    tavrin::SystemClock clock_;
    tavrin::test::AppFakes fakes_;
    TavrinApplication app_;
    frmMain& window_;
};

void checkPoints(pelomar::Pelomar& chart, const std::vector<StreamPoint>& stream,
                 const std::vector<int>& fromStream, const char* which) {
    QCOMPARE(chart.NumPoints(), static_cast<int32_t>(fromStream.size()));
    for (size_t i = 0; i < fromStream.size(); ++i) {
        const auto p = chart.PointAt(static_cast<int32_t>(i));
        const StreamPoint& s = stream[static_cast<size_t>(fromStream[i])];
        QVERIFY2(p.Y1 == s.uv && p.Y2 == s.cond,
                 qPrintable(QStringLiteral("%1 point %2").arg(QLatin1String(which)).arg(i)));
    }
}

template <size_t N>
void checkLabels(pelomar::Pelomar& chart, const ExpectedLabel (&expected)[N], const char* which) {
    QCOMPARE(chart.LabelCount(), static_cast<int32_t>(N));
    for (size_t i = 0; i < N; ++i) {
        const auto l = chart.LabelAt(static_cast<int32_t>(i));
        const ExpectedLabel& e = expected[i];
        const QString where = QStringLiteral("%1 label %2").arg(QLatin1String(which)).arg(i);
        QVERIFY2(l.Label == e.text, qPrintable(where + QStringLiteral(": ") + QString::fromStdString(l.Label)));
        QVERIFY2(l.Color == e.color && l.Offset == e.offset, qPrintable(where));
        QVERIFY2(std::abs(l.XPos - static_cast<float>(e.index) / 300.0f) < 1e-5f,
                 qPrintable(where + QStringLiteral(" at %1").arg(double(l.XPos))));
    }
}

std::vector<int> range(std::initializer_list<std::pair<int, int>> spans) {
    std::vector<int> out;
    for (const auto& [first, last] : spans)
        for (int i = first; i <= last; ++i) out.push_back(i);
    return out;
}

}  // namespace

class SimulatedRunTest : public QObject {
    Q_OBJECT

private slots:
    // A run with status blocks: every point, label and method in its place on
    // the live chart and on the log chart.
    void scriptedRunReachesTheLiveAndTheLogChart() {
        const QString script = scriptPath("simulated-run.kado");
        const std::vector<StreamPoint> stream = streamPoints(readFile(script));
        QCOMPARE(stream.size(), size_t(355));
        SimulatedLine line(script);
        QVERIFY(line.open());
        QTRY_COMPARE_WITH_TIMEOUT(line.log().NumPoints(), 355 - 39, 60000);
        QTRY_COMPARE_WITH_TIMEOUT(line.log().MethodCount(), 1, 10000);

        // Live: 20..230 (230 labels the pause), 270..330 (330 labels the end).
        checkPoints(line.live(), stream, range({{20, 230}, {270, 330}}), "live");
        // Log: every point but the 39 after the pause label.
        checkPoints(line.log(), stream, range({{0, 230}, {270, 354}}), "log");
        QVERIFY(!line.window().recorder().run.Recording());

        // Live labels stand at the time of the point they came with, log
        // labels at the log point before it.
        const ExpectedLabel liveLabels[] = {
            {"S", kCyan, 50, 0},   {"1", kGreen, 10, 100}, {"H", kCyan, 20, 150},
            {"C", kCyan, 20, 180}, {"P", kCyan, 30, 210},  {"E", kCyan, 40, 271},
        };
        const ExpectedLabel logLabels[] = {
            {"S", kCyan, 50, 19},  {"1", kGreen, 10, 119}, {"H", kCyan, 20, 169},
            {"C", kCyan, 20, 199}, {"P", kCyan, 30, 229},  {"E", kCyan, 40, 290},
        };
        checkLabels(line.live(), liveLabels, "live");
        checkLabels(line.log(), logLabels, "log");

        // The method came within the wait after the end: on both charts, at
        // the end's time live and at the log time of its arrival.
        const std::string tail = "\r\nTest method\r\nline two\r\n";
        for (pelomar::Pelomar* chart : {&line.live(), &line.log()}) {
            QCOMPARE(chart->MethodCount(), 1);
            const std::string m = chart->MethodAt(0).Method;
            QVERIFY2(m.size() > tail.size() && m.compare(m.size() - tail.size(), tail.size(), tail) == 0, m.c_str());
            QVERIFY(m.find("\r\n") == m.size() - tail.size());  // the date is one line
        }
        QVERIFY(std::abs(line.live().MethodAt(0).XPos - 271.0f / 300.0f) < 1e-5f);
        QVERIFY(std::abs(line.log().MethodAt(0).XPos - 295.0f / 300.0f) < 1e-5f);
        QVERIFY(!line.window().recorder().run.WaitingForMethod());

        QVERIFY(line.ui().boxes.empty());
        const std::string errors = line.errorLog();
        QVERIFY2(errors.find("ERROR") == std::string::npos, errors.c_str());
    }

    // Noise, an unknown type and a cut block: each is logged once with its
    // byte and dump, the decoder realigns on the next point, and only the
    // point whose block was cut is lost.
    void faultyLineIsLoggedAndRealigned() {
        const QString script = scriptPath("faulty-run.kado");
        const std::string text = readFile(script);
        const std::vector<StreamPoint> stream = streamPoints(text);
        QCOMPARE(stream.size(), size_t(170));
        const kado::Bytes bytes = kado::flatten(kado::render(kado::parseScript(text)));
        SimulatedLine line(script);
        QVERIFY(line.open());
        QTRY_COMPARE_WITH_TIMEOUT(line.log().NumPoints(), 169, 60000);

        checkPoints(line.live(), stream, range({{20, 129}, {131, 161}}), "live");
        checkPoints(line.log(), stream, range({{0, 129}, {131, 169}}), "log");
        const ExpectedLabel liveLabels[] = {{"S", kCyan, 50, 0}, {"E", kCyan, 40, 140}};
        const ExpectedLabel logLabels[] = {{"S", kCyan, 50, 19}, {"E", kCyan, 40, 159}};
        checkLabels(line.live(), liveLabels, "live");
        checkLabels(line.log(), logLabels, "log");

        // Offsets in the stream: 20 points, two 'E' blocks, 50 points, then
        // the noise; 30 points later the 'X' block; 30 more and the cut
        // point, whose conductivity payload follows the eaten sync and type.
        const size_t garbage = 20 * 12 + 2 * 3 + 50 * 12;
        const size_t unknown = garbage + 16 + 30 * 12;
        const size_t cut = unknown + 6 + 30 * 12;
        // The cut UV block takes the conductivity block's sync and type as its
        // last payload bytes; the next block check then meets its payload.
        const size_t cutOffending = cut + 6;
        const std::vector<std::string> expected = {
            "ERROR - Lost Sync.Sub PeekDataBlock; Sync Byte Expected; Actual Byte Received: " +
                std::to_string(bytes[garbage]),
            dumpBefore(bytes, garbage),
            "ERROR - Unknown data type.Sub PeekDataBlock; Data Type Byte Expected; Actual Byte Received: 88",
            dumpBefore(bytes, unknown + 1),
            "ERROR - Lost Sync.Sub PeekDataBlock; Sync Byte Expected; Actual Byte Received: " +
                std::to_string(bytes[cutOffending]),
            dumpBefore(bytes, cutOffending),
        };
        const std::vector<std::string> logged = protocolErrorLines(line.errorLog());
        QCOMPARE(logged.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i) QCOMPARE(logged[i], expected[i]);
        QVERIFY(line.ui().boxes.empty());
    }
};

QTEST_MAIN(SimulatedRunTest)
#include "SimulatedRunTest.moc"
