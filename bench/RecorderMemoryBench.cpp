// Resident memory of the recorder's charts in their working state: the live
// chart shown with a 30-hour run, four 24-hour files open in hidden tabs and
// the two charts of the backup log, all in one shown main window composed as
// the recorder composes it. Reports VmRSS and VmHWM of the process.
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QEventLoop>
#include <QMainWindow>
#include <QTimer>
#include <array>
#include <fstream>
#include <string>

#include "BenchFolder.h"
#include "ShownChart.h"
#include "pelomar/Pelomar.h"

using tavrin::bench::BenchFolder;

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
        QMainWindow window;
        auto* central = new QWidget(&window);
        window.setCentralWidget(central);
        std::array<pelomar::Pelomar*, 7> charts{};
        for (size_t i = 0; i < charts.size(); ++i) {
            charts[i] = new pelomar::Pelomar(central);
            charts[i]->setGeometry(0, 0, 1600, 900);
            if (i != 0) charts[i]->hide();
        }
        window.resize(1600, 900);
        window.show();
        tavrin::bench::PaintCounter(*charts[0]).paintThrough();
        state.counters["empty_MB"] = statusMegabytes("VmRSS");

        // The live run: 30 hours in 700 ms batches, the view widened as the
        // run reaches its edge.
        pelomar::Pelomar& live = *charts[0];
        live.setXEnd(60);
        live.Redraw();
        for (int32_t next = 0; next < 30 * kPointsPerHour; next += 4) {
            tavrin::bench::addRunPoints(live, next, 4);
            if (!live.LastPointInScale()) {
                live.setXEnd(live.XEnd() * 2);
                live.Redraw();
            } else if (next % 4000 == 0) {
                live.DrawNewPoints();
            }
        }
        live.DrawNewPoints();
        state.counters["live_MB"] = statusMegabytes("VmRSS");
        for (size_t i = 1; i <= 4; ++i)
            if (!charts[i]->ReadFromFile(file)) state.SkipWithError("cannot read the 24-hour file");
        tavrin::bench::PaintCounter(live).paintThrough();
        // The charts hand freed room back once reading has settled.
        QEventLoop settle;
        QTimer::singleShot(kSettleMs, &settle, &QEventLoop::quit);
        settle.exec();
        state.counters["rss_MB"] = statusMegabytes("VmRSS");
        state.counters["peak_MB"] = statusMegabytes("VmHWM");
        state.counters["live_points"] = live.NumPoints();
    }
}
BENCHMARK(BM_RecorderMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
