// Data file, log rebuild and backup call on the real file system, each in a
// folder of its own under $TMPDIR (default /tmp), removed when it ends.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchFolder.h"
#include "core/files/BackupLog.h"
#include "core/model/ChartModel.h"
#include "core/files/DataFile.h"
#include "core/files/LogRebuild.h"
#include "common/PosixFileSystem.h"
#include "common/SafeFile.h"

using namespace pelomar::core;

namespace {

void fill(ChartModel& m, int points) {
    for (int i = 0; i < points; ++i) m.AddPoints(static_cast<float>(i % 1000) / 500, static_cast<float>(i % 700));
    for (int i = 0; i < 100; ++i) m.AddLabel("S", 255, 60, static_cast<float>(i));
    for (int i = 0; i < 20; ++i) m.AddMethod("Step\r\n", static_cast<float>(i));
}

constexpr int kDayOfPoints = 432000;  // 24 h at 5 points a second

void BM_SaveToFile_24h(benchmark::State& state) {
    PosixFileSystem fs;
    ChartModel m;
    fill(m, kDayOfPoints);
    const tavrin::bench::BenchFolder folder;
    const std::string file = folder.file("day.chd");
    for (auto _ : state) {
        if (replaceFile(fs, file, chartFile(m).pieces()) != 0) state.SkipWithError("save failed");
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(std::filesystem::file_size(file)));
}
BENCHMARK(BM_SaveToFile_24h)->Unit(benchmark::kMillisecond);

void BM_ReadFromFile_24h(benchmark::State& state) {
    PosixFileSystem fs;
    ChartModel source;
    fill(source, kDayOfPoints);
    const tavrin::bench::BenchFolder folder;
    const std::string file = folder.file("day.chd");
    replaceFile(fs, file, chartFileBytes(source));
    ChartModel m;
    for (auto _ : state) {
        DataFileContent c;
        if (readDataFile(fs, file, c).status != ReadStatus::Read) state.SkipWithError("read failed");
        commitDataFile(m, std::move(c));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(std::filesystem::file_size(file)));
}
BENCHMARK(BM_ReadFromFile_24h)->Unit(benchmark::kMillisecond);

void BM_SaveLog2_30h(benchmark::State& state) {
    PosixFileSystem fs;
    const tavrin::bench::BenchFolder bench;
    const std::filesystem::path dir = bench.path();
    const std::string folder = dir.string();
    {
        // 30 hours of 20 s calls at 24 h a generation: 24 h in generation 1, 6 in 2.
        ChartModel backup;
        BackupLog log(fs);
        for (int call = 0; call < 30 * 180; ++call) {
            for (int i = 0; i < 100; ++i) backup.AddPoints(static_cast<float>(i) / 100, static_cast<float>(call));
            if (call % 90 == 0) backup.AddLabel("7", 255, 60, static_cast<float>(call) / 3);
            if (log.BackUpLog2(backup, folder, 1, 20000, 24) != 0) {
                state.SkipWithError("backup failed");
                return;
            }
        }
    }
    ChartModel m;
    const std::string file = (dir / "run.chl").string();
    for (auto _ : state) {
        const int16_t r = rebuildLog(m, fs, folder, file, [&](const std::string& name, int64_t records) {
            return replaceFile(fs, name, chartFile(m, records).pieces()) == 0;
        });
        if (r != 0) state.SkipWithError("rebuild failed");
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(std::filesystem::file_size(file)));
}
BENCHMARK(BM_SaveLog2_30h)->Unit(benchmark::kMillisecond);

void BM_BackUpLog2_20s(benchmark::State& state) {
    PosixFileSystem fs;
    const tavrin::bench::BenchFolder bench;
    const std::string folder = bench.path().string();
    ChartModel m;
    BackupLog log(fs);
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 0; i < 100; ++i) m.AddPoints(static_cast<float>(i), 1);  // 20 s at 5 a second
        m.AddLabel("S", 255, 60, 1);
        state.ResumeTiming();
        if (log.BackUpLog2(m, folder, 1, 20000, 24) != 0) state.SkipWithError("backup failed");
    }
}
BENCHMARK(BM_BackUpLog2_20s)->Unit(benchmark::kMicrosecond);

}  // namespace
