#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <QtTest>

#include <chrono>
#include <condition_variable>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <thread>

#include "core/run/SerialPort.h"
#include "common/RuntimeError.h"
#include "common/RuntimeErrors.h"
#include "platform/QSerialPortAdapter.h"
#include "support/PseudoTerminal.h"

using tavrin::QSerialPortAdapter;

namespace {

// COM1 is the pseudo-terminal, every other port a path that does not exist.
QSerialPortAdapter::DeviceLookup onlyCom1(const std::string& path) {
    return [path](int16_t n) { return n == 1 ? path : std::string("/nonexistent/tavrin-tty") + std::to_string(n); };
}

int openError(QSerialPortAdapter& port) {
    try {
        port.setPortOpen(true);
    } catch (const pelomar::RuntimeError& e) {
        return e.number();
    }
    return 0;
}

std::vector<uint8_t> pattern(size_t n, unsigned seed) {
    std::vector<uint8_t> bytes(n);
    for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<uint8_t>((i * 131 + seed) & 0xFF);
    return bytes;
}

}  // namespace

class QSerialPortAdapterTest : public QObject {
    Q_OBJECT

private slots:
    void opensTheLineAt9600EightNoneOneRaw() {
        PseudoTerminal pty;
        QVERIFY(pty.ok());
        QSerialPortAdapter port(onlyCom1(pty.slavePath()));
        port.setCommPort(1);
        port.setInBufferSize(32000);
        port.setPortOpen(true);
        QVERIFY(port.PortOpen());
        QCOMPARE(port.OpenDevice(), pty.slavePath());

        termios t{};
        QCOMPARE(::tcgetattr(pty.slaveFd(), &t), 0);
        QCOMPARE(cfgetispeed(&t), speed_t(B9600));
        QCOMPARE(t.c_cflag & CSIZE, tcflag_t(CS8));
        QCOMPARE(t.c_cflag & (PARENB | CSTOPB), tcflag_t(0));
        QCOMPARE(t.c_lflag & (ICANON | ECHO | ISIG), tcflag_t(0));
        QCOMPARE(t.c_iflag & (ICRNL | IXON | ISTRIP), tcflag_t(0));

        port.setPortOpen(false);
        QVERIFY(!port.PortOpen());
        QCOMPARE(port.OpenDevice(), std::string());
    }

    // Every byte arrives once, in order, through receive events, whatever the
    // chunking; 0x0D, 0x11 and 0x96 pass untouched.
    void deliversEveryByteOnceInOrder() {
        PseudoTerminal pty;
        QVERIFY(pty.ok());
        QSerialPortAdapter port(onlyCom1(pty.slavePath()));
        port.setInBufferSize(32000);
        std::vector<uint8_t> received;
        int otherEvents = 0;
        port.setOnComm([&] {
            if (port.CommEvent() != tavrin::SerialPort::kEvReceive) {
                ++otherEvents;
                return;
            }
            QVERIFY(port.InBufferCount() > 0);
            const int32_t waiting = port.InBufferCount();
            const std::vector<uint8_t> bytes = port.Input();
            QCOMPARE(static_cast<int32_t>(bytes.size()), waiting);
            QCOMPARE(port.InBufferCount(), 0);
            received.insert(received.end(), bytes.begin(), bytes.end());
        });
        port.setPortOpen(true);

        std::vector<uint8_t> sent;
        for (unsigned chunk = 0; chunk < 40; ++chunk) {
            std::vector<uint8_t> bytes = pattern(1 + chunk * 97 % 1500, chunk);
            bytes.push_back(0x0D);
            bytes.push_back(0x11);
            bytes.push_back(0x96);
            QVERIFY(pty.write(bytes));
            sent.insert(sent.end(), bytes.begin(), bytes.end());
            QTRY_COMPARE(received.size(), sent.size());
        }
        QVERIFY(received == sent);
        QCOMPARE(otherEvents, 0);
    }

    // Bytes wait in the input buffer until the reader takes them; what finds
    // the buffer full is dropped and reported once, not silently.
    void fullInputBufferDropsTheRestAndReportsOverflowOnce() {
        PseudoTerminal pty;
        QVERIFY(pty.ok());
        QSerialPortAdapter port(onlyCom1(pty.slavePath()));
        port.setInBufferSize(100);
        int receiveEvents = 0;
        int overflowEvents = 0;
        port.setOnComm([&] {
            if (port.CommEvent() == tavrin::SerialPort::kEvReceive) ++receiveEvents;
            if (port.CommEvent() == QSerialPortAdapter::kEvReceiveOverflow) ++overflowEvents;
        });
        port.setPortOpen(true);

        const std::vector<uint8_t> first = pattern(99, 1);
        QVERIFY(pty.write(first));
        QTRY_COMPARE(port.InBufferCount(), 99);
        QCOMPARE(overflowEvents, 0);

        QVERIFY(pty.write(pattern(50, 2)));
        QTRY_COMPARE(overflowEvents, 1);
        QCOMPARE(port.InBufferCount(), 100);
        QVERIFY(pty.write(pattern(50, 3)));
        QTest::qWait(50);
        QCOMPARE(overflowEvents, 1);

        std::vector<uint8_t> expected = first;
        expected.push_back(pattern(50, 2).front());
        QVERIFY(port.Input() == expected);

        // Drained, the buffer takes bytes again and a new overflow is reported.
        QVERIFY(pty.write(pattern(101, 4)));
        QTRY_COMPARE(overflowEvents, 2);
        QCOMPARE(port.InBufferCount(), 100);
        QVERIFY(receiveEvents >= 2);
    }

    void openErrors_data() {
        QTest::addColumn<int>("portNumber");
        QTest::addColumn<int>("error");
        QTest::newRow("missing device") << 2 << 8002;
        QTest::newRow("beyond COM10") << 11 << 8002;
    }

    void openErrors() {
        QFETCH(int, portNumber);
        QFETCH(int, error);
        PseudoTerminal pty;
        QSerialPortAdapter port(onlyCom1(pty.slavePath()));
        port.setCommPort(static_cast<int16_t>(portNumber));
        QCOMPARE(openError(port), error);
        QVERIFY(!port.PortOpen());
    }

    void portHeldElsewhereIsInUse() {
        PseudoTerminal pty;
        QVERIFY(pty.ok());
        QSerialPortAdapter holder(onlyCom1(pty.slavePath()));
        holder.setPortOpen(true);
        QSerialPortAdapter second(onlyCom1(pty.slavePath()));
        QCOMPARE(openError(second), 8005);
        QVERIFY(!second.PortOpen());

        QCOMPARE(openError(holder), 8005);  // already open
        QVERIFY(holder.PortOpen());
        try {
            holder.setCommPort(2);
            QFAIL("changing the port of an open port must fail");
        } catch (const pelomar::RuntimeError& e) {
            QCOMPARE(e.number(), 8005);
        }
        QCOMPARE(holder.CommPort(), int16_t(1));

        holder.setPortOpen(false);
        QCOMPARE(openError(second), 0);
    }

    // A device this user may not read (not in the "dialout" group) is told
    // apart from one that another program holds.
    void portThisUserMayNotOpenIsPermissionDenied() {
        PseudoTerminal pty;
        QVERIFY(pty.ok());
        QCOMPARE(::chmod(pty.slavePath().c_str(), 0), 0);
        QSerialPortAdapter port(onlyCom1(pty.slavePath()));
        // Root may open anything: the opening runs as an ordinary user.
        const bool root = ::geteuid() == 0;
        if (root) QCOMPARE(::seteuid(65534), 0);
        const int error = openError(port);
        if (root) QCOMPARE(::seteuid(0), 0);
        QCOMPARE(error, 70);
        QCOMPARE(QString::fromStdString(pelomar::core::errorText(error)), QStringLiteral("Permission denied"));
        QVERIFY(!port.PortOpen());
        QCOMPARE(port.OpenDevice(), std::string());
    }

    // The opening never waits for the other end: a FIFO that nobody writes
    // to, which a blocking open would wait on, fails at once as no serial
    // port.
    void openingNeverWaitsForTheDevice() {
        const QString fifo = QDir::temp().filePath(QStringLiteral("no-writer.fifo"));
        QCOMPARE(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
        std::mutex mutex;
        std::condition_variable done;
        bool finished = false;
        bool rescued = false;
        // Frees a blocked opening, so that the fault fails the test instead of hanging it.
        std::thread watchdog([&] {
            std::unique_lock lock(mutex);
            if (done.wait_for(lock, std::chrono::seconds(5), [&] { return finished; })) return;
            rescued = true;
            const int fd = ::open(fifo.toLocal8Bit().constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) ::close(fd);
        });
        QSerialPortAdapter port(onlyCom1(fifo.toStdString()));
        const int error = openError(port);
        {
            std::lock_guard lock(mutex);
            finished = true;
        }
        done.notify_one();
        watchdog.join();
        QVERIFY(!rescued);
        QCOMPARE(error, 8002);
        QVERIFY(!port.PortOpen());
        QFile::remove(fifo);
    }

    void closedPortCanBeReopened() {
        PseudoTerminal pty;
        QVERIFY(pty.ok());
        QSerialPortAdapter port(onlyCom1(pty.slavePath()));
        std::vector<uint8_t> received;
        port.setOnComm([&] {
            const auto bytes = port.Input();
            received.insert(received.end(), bytes.begin(), bytes.end());
        });
        port.setPortOpen(true);
        port.setPortOpen(false);
        port.setPortOpen(true);
        QVERIFY(pty.write({0x96, 'U', 1, 2, 3, 4}));
        QTRY_COMPARE(received.size(), size_t(6));
    }

    // A line that goes away is reported once as a device I/O error and the
    // port closes instead of spinning on the failure.
    void hangUpIsReportedOnceAndClosesThePort() {
        PseudoTerminal pty;
        QVERIFY(pty.ok());
        QSerialPortAdapter port(onlyCom1(pty.slavePath()));
        int failures = 0;
        port.setOnComm([&] {
            if (port.CommEvent() == QSerialPortAdapter::kEvDeviceIoError) ++failures;
            if (port.CommEvent() == tavrin::SerialPort::kEvReceive) port.Input();
        });
        port.setPortOpen(true);
        pty.closeSlave();
        pty.closeMaster();
        QTRY_COMPARE(failures, 1);
        QTRY_VERIFY(!port.PortOpen());
        QTest::qWait(50);
        QCOMPARE(failures, 1);
    }

    // A handler that throws or opens a nested event loop must not break the
    // port: the next bytes still arrive and each handler sees its own code.
    void handlerFaultsDoNotEscape() {
        PseudoTerminal pty;
        QVERIFY(pty.ok());
        QSerialPortAdapter port(onlyCom1(pty.slavePath()));
        int calls = 0;
        port.setOnComm([&] {
            ++calls;
            port.Input();
            throw std::runtime_error("handler fault");
        });
        port.setPortOpen(true);
        QVERIFY(pty.write({1, 2, 3}));
        QTRY_COMPARE(calls, 1);
        QVERIFY(pty.write({4}));
        QTRY_COMPARE(calls, 2);
    }
};

QTEST_GUILESS_MAIN(QSerialPortAdapterTest)
#include "QSerialPortAdapterTest.moc"
