// The chart on screen: a full redraw of a 30-hour run and the drawing of one
// 700 ms batch of live points at its end.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cmath>

#include "pelomar/Pelomar.h"

namespace {

QApplication& app() {
    static int argc = 1;
    static char name[] = "chart_drawing_bench";
    static char* argv[] = {name, nullptr};
    static QApplication* a = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    return *a;
}

// `points` samples at 5 a second in a 1600 x 900 chart whose view holds them.
std::unique_ptr<pelomar::Pelomar> chartOf(int32_t points) {
    app();
    auto chart = std::make_unique<pelomar::Pelomar>();
    chart->resize(1600, 900);
    chart->setXEnd(static_cast<float>(points / 300 + 60));
    for (int32_t i = 0; i < points; ++i) {
        const double t = i / 300.0;
        chart->AddPoints(static_cast<float>(0.5 + 0.4 * std::sin(t / 7)),
                         static_cast<float>(50 + 40 * std::cos(t / 11)));
    }
    return chart;
}

void BM_FullRedraw(benchmark::State& state) {
    auto chart = chartOf(static_cast<int32_t>(state.range(0)));
    for (auto _ : state) chart->Redraw();
}
BENCHMARK(BM_FullRedraw)->Arg(540000)->Unit(benchmark::kMillisecond);

// One TimerProcess batch: 700 ms at 5 points a second, 4 points at most.
void BM_DrawNewPointsBatch(benchmark::State& state) {
    auto chart = chartOf(static_cast<int32_t>(state.range(0)));
    chart->Redraw();
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 0; i < 4; ++i) chart->AddPoints(0.5f, 50);
        state.ResumeTiming();
        chart->DrawNewPoints();
    }
}
BENCHMARK(BM_DrawNewPointsBatch)->Arg(18000)->Arg(540000)->Unit(benchmark::kMicrosecond);

}  // namespace
