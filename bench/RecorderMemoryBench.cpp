// Resident memory of the recorder's main window in its working state: a
// 30-hour run decoded from the instrument's blocks into the live chart, four
// 24-hour files opened in the chart tabs through the Open command, and the
// recorder tab shown. Reports VmRSS and VmHWM of the process.
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDialog>
#include <QEventLoop>
#include <QTabBar>
#include <QTimer>
#include <fstream>
#include <memory>
#include <string>

#include "BenchFolder.h"
#include "ShownChart.h"
#include "TavrinApplication.h"
#include "fakes/Blocks.h"
#include "fakes/FakeBusyCursor.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeErrorLog.h"
#include "fakes/FakeFileDialog.h"
#include "fakes/FakeHelp.h"
#include "fakes/FakeSettingsStore.h"
#include "core/registry/PosixRecorderFileSystem.h"
#include "ui/QtPrinterDialog.h"
#include "fakes/FakeSerialPort.h"
#include "fakes/FakeUi.h"
#include "frmMain.h"
#include "pelomar/Pelomar.h"
#include "qt/ModalWindows.h"

using tavrin::bench::BenchFolder;
using namespace tavrin::test;

namespace {

constexpr int32_t kPointsPerHour = 18000;
constexpr int kSettleMs = 1000;

// A /proc/self/status field in MB.
double statusMegabytes(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field + ":", 0) == 0) return std::stod(line.substr(field.size() + 1)) / 1024.0;
    return -1;
}

// Writes the 24-hour file in a child process, so that building it leaves
// nothing in this process's heap.
bool writeDayFileApart(const std::string& folder, const std::string& file) {
    const pid_t child = ::fork();
    if (child < 0) return false;
    if (child == 0) {
        // The child ends without clean-up: Qt's runtime files go in the
        // parent's folder.
        qputenv("XDG_RUNTIME_DIR", folder.c_str());
        tavrin::bench::app();
        pelomar::Pelomar chart;
        tavrin::bench::addRunPoints(chart, 0, 24 * kPointsPerHour);
        for (int i = 0; i < 100; ++i) chart.AddLabel(std::to_string(i), 0x00FF00, 30, static_cast<float>(i * 14));
        ::_exit(chart.SaveToFile(file) ? 0 : 1);
    }
    int status = 0;
    return ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The main window as the program builds it, over a port the benchmark feeds
// and fakes of the dialogs; no settings, no program folder.
struct Recorder {
    FakeUi ui;
    FakeErrorLog errorLog;
    FakeClock clock;
    FakeFileDialog files;
    FakeBusyCursor busy;
    FakeSerialPort port;
    FakeSerialPort probe;
    FakeSettingsStore settings;
    FakeHelp help;
    tavrin::PosixRecorderFileSystem folders;
    // The program's own printer choice: what it holds before a print counts.
    tavrin::QtPrinterDialog printer;
    // The About box is never opened here.
    QDialog about;
    std::unique_ptr<TavrinApplication> app;

    Recorder() {
        app = std::make_unique<TavrinApplication>(TavrinApplication::Services{
            port, ui, errorLog, clock, settings, probe, help, folders, files, printer, busy, about});
    }
    frmMain& window() { return app->window(); }

    // Bytes arrive at the port, then one decoder tick runs, as the window's
    // tick does every 700 ms.
    void receiveAndTick(const Bytes& bytes) {
        port.receive(bytes);
        app->recorder().decoder.TimerProcess_Timer();
    }

    // A run of `points` samples at 5 a second, 3 or 4 a tick, with an event
    // mark every half hour; backup logging off.
    void run(int32_t points) {
        app->recorder().globals.LogOn = false;
        receiveAndTick(point());  // the decoder finds the stream
        receiveAndTick(cat({fblock(), runStatus(1)}));
        Bytes batch;
        for (int32_t i = 0; i < points;) {
            batch.clear();
            for (const int32_t end = std::min(points, i + (i % 7 < 3 ? 3 : 4)); i < end; ++i) {
                const double t = i / 300.0;
                const Bytes p = tavrin::test::point('V', static_cast<float>(0.5 + 0.4 * std::sin(t / 7)),
                                                    static_cast<float>(50 + 40 * std::cos(t / 11)));
                batch.insert(batch.end(), p.begin(), p.end());
                if (i % 9000 == 4500) {
                    const Bytes e = ev(2);
                    batch.insert(batch.end(), e.begin(), e.end());
                }
            }
            receiveAndTick(batch);
        }
    }

    // File > Open with the file dialog answering `path`.
    bool open(const std::string& path) {
        files.answer = path;
        const int before = window().TabChart->count();
        window().menuItem(QStringLiteral("mnuOpenData"))->trigger();
        return window().TabChart->count() >= before && ui.boxes.empty();
    }
};

void BM_RecorderMemory(benchmark::State& state) {
    const BenchFolder folder;
    const std::string file = folder.file("day.chd");
    if (!writeDayFileApart(folder.path().string(), file)) {
        state.SkipWithError("cannot write the 24-hour file");
        return;
    }
    for (auto _ : state) {
        tavrin::bench::app();
        state.counters["app_MB"] = statusMegabytes("VmRSS");
        Recorder recorder;
        frmMain& window = recorder.window();
        window.resize(1600, 900);
        keepSystemName();  // the first activation asks for it
        window.show();
        pelomar::Pelomar& live = *window.Chart[frmMain::kLiveChart];
        tavrin::bench::PaintCounter(live).paintThrough();
        state.counters["empty_MB"] = statusMegabytes("VmRSS");

        recorder.run(30 * kPointsPerHour);
        tavrin::bench::PaintCounter(live).paintThrough();
        state.counters["live_MB"] = statusMegabytes("VmRSS");

        for (int k = 0; k < 4; ++k)
            if (!recorder.open(file)) state.SkipWithError("cannot open the 24-hour file");
        window.TabChart->setCurrentIndex(0);
        tavrin::bench::PaintCounter(live).paintThrough();
        // The charts hand freed room back once reading has settled.
        QEventLoop settle;
        QTimer::singleShot(kSettleMs, &settle, &QEventLoop::quit);
        settle.exec();
        state.counters["rss_MB"] = statusMegabytes("VmRSS");
        state.counters["peak_MB"] = statusMegabytes("VmHWM");
        state.counters["live_points"] = live.NumPoints();
        int opened = 0;
        for (int k = 1; k <= 4; ++k) opened += window.Chart[static_cast<size_t>(k)]->NumPoints() == 24 * kPointsPerHour;
        state.counters["files_open"] = opened;
        if (!live.isVisible() || opened != 4) state.SkipWithError("not the working state");
    }
}
BENCHMARK(BM_RecorderMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
