// The chart's file members as the recorder calls them: opening a 24-hour data
// file into a shown chart, and rebuilding a log file from 30 hours of backups
// beside the plain file work it cannot do without. Files live in a folder
// under $TMPDIR (default /tmp) that is removed at the end.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <malloc.h>
#include <unistd.h>

#include <QWidget>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchFolder.h"
#include "ShownChart.h"
#include "pelomar/Pelomar.h"

using tavrin::bench::BenchFolder;
using tavrin::bench::PaintCounter;

namespace {

constexpr int32_t kDayOfPoints = 432000;  // 24 h at 5 points a second

// A 24-hour run saved as a data file, with the recorder's marks and methods.
void writeDayFile(const std::string& file) {
    pelomar::Pelomar chart;
    chart.setXEnd(24 * 60);
    tavrin::bench::addRunPoints(chart, 0, kDayOfPoints);
    for (int i = 0; i < 100; ++i) chart.AddLabel(std::to_string(i), 0x00FF00, 30, static_cast<float>(i * 14));
    for (int i = 0; i < 20; ++i) chart.AddMethod("Step\r\n", static_cast<float>(i * 60));
    if (!chart.SaveToFile(file)) throw std::runtime_error("cannot write " + file);
}

// ReadFromFile as the member: the read, the stores and the redraw it does;
// then its repaint into the backing store.
void BM_ReadFromFile_24h(benchmark::State& state) {
    tavrin::bench::app();
    const BenchFolder folder;
    const std::string file = folder.file("day.chd");
    writeDayFile(file);
    pelomar::Pelomar chart;
    chart.resize(1600, 900);
    chart.show();
    PaintCounter counter(chart);
    counter.paintThrough();
    counter.paints = counter.pixels = 0;
    int64_t missed = 0;
    const bool repaint = state.range(0) != 0;
    for (auto _ : state) {
        if (!chart.ReadFromFile(file)) state.SkipWithError("read failed");
        if (repaint) missed += counter.paintThrough() ? 0 : 1;
    }
    if (!repaint) counter.paintThrough();
    if (chart.NumPoints() != kDayOfPoints) state.SkipWithError("wrong point count");
    if (repaint) tavrin::bench::reportPaints(state, counter, missed);
}
BENCHMARK(BM_ReadFromFile_24h)->ArgName("repaint")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// 30 hours of 20 s backup calls at 24 h a generation, as the recorder's
// backup chart makes them: 24 h in generation 1, 6 h in generation 2.
void writeBackups(const std::string& folder) {
    pelomar::Pelomar backup;
    int32_t next = 0;
    for (int call = 0; call < 30 * 180; ++call) {
        tavrin::bench::addRunPoints(backup, next, 100);
        next += 100;
        if (call % 90 == 0) backup.AddLabel("7", 0x00FF00, 60, static_cast<float>(call) / 3);
        if (backup.BackUpLog2(folder, 1, 20000, 24) != 0) throw std::runtime_error("backup failed");
    }
}

bool readAll(const std::string& path, std::vector<char>& out) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const off_t size = ::lseek(fd, 0, SEEK_END);
    out.resize(static_cast<size_t>(size));
    const bool ok = size >= 0 && ::pread(fd, out.data(), out.size(), 0) == size;
    ::close(fd);
    return ok;
}

// What any rebuild must do at least: read the two point files, write their
// bytes to a new file, flush it, rename it over the output and flush the
// folder.
bool plainCopy(const std::string& folder, const std::string& output) {
    std::vector<char> one, two;
    if (!readAll(folder + "/DLog1.bak", one) || !readAll(folder + "/DLog2.bak", two)) return false;
    const std::string tmp = output + ".new";
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    bool ok = ::write(fd, one.data(), one.size()) == static_cast<ssize_t>(one.size()) &&
              ::write(fd, two.data(), two.size()) == static_cast<ssize_t>(two.size()) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && std::rename(tmp.c_str(), output.c_str()) == 0;
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ok = ok && dir >= 0 && ::fsync(dir) == 0;
    if (dir >= 0) ::close(dir);
    return ok;
}

// member 0: the plain reading and writing; member 1: SaveLog2 as the member,
// on a hidden chart of a shown window as the recorder keeps it. fresh_heap 1
// hands the freed room back to the system before each call (untimed), as
// when a single Save Log comes long after the last one: in a loop the plain
// copy's two buffers are reused from the heap, while the rebuild's larger
// working set is handed back and faulted in again every time.
void BM_SaveLog2_30h(benchmark::State& state) {
    tavrin::bench::app();
    const BenchFolder folder;
    const std::string logs = folder.path().string();
    writeBackups(logs);
    const std::string output = folder.file("run.chl");
    QWidget window;
    window.resize(1600, 900);
    auto* chart = new pelomar::Pelomar(&window);
    chart->resize(1600, 900);
    chart->hide();
    window.show();
    for (auto _ : state) {
        if (state.range(1) != 0) {
            state.PauseTiming();
            malloc_trim(0);
            state.ResumeTiming();
        }
        const bool ok = state.range(0) == 0 ? plainCopy(logs, output) : chart->SaveLog2(logs, 1, output) == 0;
        if (!ok) state.SkipWithError("rebuild failed");
    }
}
BENCHMARK(BM_SaveLog2_30h)
    ->ArgNames({"member", "fresh_heap"})
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

}  // namespace
