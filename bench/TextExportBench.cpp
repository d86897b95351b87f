// Text export of a 24-hour chart at 5 points a second, written to a folder
// under $TMPDIR (default /tmp) that is removed at the end.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "BenchFolder.h"
#include "core/model/ChartModel.h"
#include "common/PosixFileSystem.h"
#include "common/Rounding.h"
#include "core/export/TextExport.h"

using namespace pelomar::core;

namespace {

constexpr int kDayOfPoints = 432000;

const ChartModel& dayChart() {
    static ChartModel m = [] {
        ChartModel c;
        for (int i = 0; i < kDayOfPoints; ++i)
            c.AddPoints(static_cast<float>(std::sin(i / 3000.0)), static_cast<float>(i % 700) / 7);
        for (int i = 0; i < 200; ++i) c.AddLabel(std::to_string(i), 255, 60, static_cast<float>(i) * 7);
        for (int i = 0; i < 50; ++i) c.AddMethod("Step " + std::to_string(i) + ": gradient to 100 % B\r\n", 0);
        std::string notes;
        for (int i = 0; i < 40; ++i) notes += "Column washed with buffer A and equilibrated before the run.\r\n";
        c.UpdateNotes(notes);
        return c;
    }();
    return m;
}

void exportRun(benchmark::State& state, float rate, int32_t rows) {
    PosixFileSystem fs;
    const ChartModel& m = dayChart();
    const tavrin::bench::BenchFolder folder;
    const std::string file = folder.file("day.txt");
    for (auto _ : state) {
        TextExportArgs a;
        a.ExpUV = a.ExpCond = a.ExpEvents = a.ExpNotes = a.ExpMethods = true;
        a.MethodPos = 2;
        a.ExpFromTime = 0;
        a.ExpToTime = m.GetDuration();
        a.ExpSamplingRate = rate;
        a.ExpNumPoints = rows;
        if (ExportTextData(m, fs, file, a, '.') != 0) state.SkipWithError("export failed");
    }
    state.counters["rows"] = rows;
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(std::filesystem::file_size(file)));
}

// The whole day at the highest dialog rate whose rows fit the grid (0.333
// a second), counted as the export dialog counts them.
void BM_ExportText_24h_AllData(benchmark::State& state) {
    const float rate = 0.333f;
    const double minutes = dayChart().GetDuration();
    exportRun(state, rate, toLong(minutes * rate * 60 + 0.5));
}
BENCHMARK(BM_ExportText_24h_AllData)->Unit(benchmark::kMillisecond);

// The most rows the grid takes, at the chart's own rate.
void BM_ExportText_24h_MaxRows(benchmark::State& state) { exportRun(state, 5, kMaxExportRows); }
BENCHMARK(BM_ExportText_24h_MaxRows)->Unit(benchmark::kMillisecond);

}  // namespace
