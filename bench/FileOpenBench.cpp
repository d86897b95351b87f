// Opening a data file in the chart on screen: a 164-byte file that declares
// 2^20 labels (all empty, beyond its end), read and drawn.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "pelomar/Pelomar.h"

namespace {

QApplication& app() {
    static int argc = 1;
    static char name[] = "file_open_bench";
    static char* argv[] = {name, nullptr};
    static QApplication* a = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    return *a;
}

std::string declaredLabelsFile() {
    const char* tmp = std::getenv("TMPDIR");
    const std::filesystem::path file = std::filesystem::path(tmp != nullptr ? tmp : "/tmp") /
                                       ("tavrin-bench-" + std::to_string(::getpid()) + "-labels.chd");
    char bytes[164] = {};
    const unsigned char version[] = {0xCD, 0xCC, 0x8C, 0x3F};
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>(version[i]);
    bytes[38] = 0x10;  // LabelCount 2^20
    bytes[42] = 0x10;  // LabelUBound 2^20
    std::ofstream(file, std::ios::binary).write(bytes, sizeof bytes);
    return file.string();
}

void BM_OpenFileDeclaringAMillionLabels(benchmark::State& state) {
    app();
    const std::string file = declaredLabelsFile();
    pelomar::Pelomar chart;
    chart.resize(1600, 900);
    for (auto _ : state) {
        if (!chart.ReadFromFile(file)) state.SkipWithError("not read");
    }
    std::filesystem::remove(file);
}
BENCHMARK(BM_OpenFileDeclaringAMillionLabels)->Unit(benchmark::kMillisecond);

}  // namespace
