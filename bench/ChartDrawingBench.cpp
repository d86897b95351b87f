// The chart on screen, timed through to its window's backing store: a full
// redraw of a 30-hour run and the drawing of 700 ms batches of live points,
// on a screen of scale 1 and of scale 2 (the picture then holds four times
// the pixels).
#include <benchmark/benchmark.h>

#include <vector>

#include "ShownChart.h"
#include "pelomar/Pelomar.h"

using tavrin::bench::PaintCounter;

namespace {

constexpr int32_t kPointsPerHour = 18000;

// A shown 1600 x 900 chart holding `points` samples, whose view leaves
// `spareMinutes` after them, on a screen of display scale `scale`.
std::unique_ptr<pelomar::Pelomar> shownChart(int32_t points, int spareMinutes, int scale = 1) {
    tavrin::bench::app();
    auto chart = std::make_unique<pelomar::Pelomar>();
    chart->setScreen(tavrin::bench::screenOfScale(scale));
    chart->resize(1600, 900);
    chart->setXEnd(static_cast<float>(points / 300 + spareMinutes));
    tavrin::bench::addRunPoints(*chart, 0, points);
    chart->show();
    chart->Redraw();
    PaintCounter(*chart).paintThrough();
    return chart;
}

void BM_FullRedrawToScreen(benchmark::State& state) {
    auto chart = shownChart(static_cast<int32_t>(state.range(0)), 60, static_cast<int>(state.range(1)));
    if (chart->devicePixelRatioF() != static_cast<double>(state.range(1))) state.SkipWithError("no screen of that scale");
    PaintCounter counter(*chart);
    int64_t missed = 0;
    for (auto _ : state) {
        chart->Redraw();
        missed += counter.paintThrough() ? 0 : 1;
    }
    tavrin::bench::reportPaints(state, counter, missed);
}
BENCHMARK(BM_FullRedrawToScreen)
    ->ArgNames({"points", "scale"})
    ->ArgsProduct({{30 * kPointsPerHour}, {1, 2}})
    ->Unit(benchmark::kMillisecond);

// The picture alone, without the repaint, for comparison.
void BM_FullRedrawPicture(benchmark::State& state) {
    auto chart = shownChart(static_cast<int32_t>(state.range(0)), 60);
    for (auto _ : state) {
        chart->Redraw();
        benchmark::DoNotOptimize(chart->picture().constBits());
    }
    PaintCounter(*chart).paintThrough();
}
BENCHMARK(BM_FullRedrawPicture)->ArgName("points")->Arg(30 * kPointsPerHour)->Unit(benchmark::kMillisecond);

// One decoder batch of the live run: 700 ms at 5 points a second, 4 points,
// added, drawn and painted. The view leaves room for every iteration.
// painted_px counts logical pixels; at scale 2 each is four device pixels.
constexpr int kBatchIterations = 3000;

void BM_AppendBatchToScreen(benchmark::State& state) {
    const auto points = static_cast<int32_t>(state.range(0));
    const auto scale = static_cast<int>(state.range(1));
    auto chart = shownChart(points, kBatchIterations * 4 / 300 + 60, scale);
    if (chart->devicePixelRatioF() != scale) state.SkipWithError("no screen of that scale");
    // The samples are made beforehand: the decoder hands them over as they are.
    std::vector<tavrin::bench::RunSample> samples;
    for (int32_t i = 0; i < kBatchIterations * 4; ++i) samples.push_back(tavrin::bench::runSample(points + i));
    PaintCounter counter(*chart);
    size_t next = 0;
    int64_t missed = 0;
    for (auto _ : state) {
        for (const size_t end = next + 4; next < end; ++next) chart->AddPoints(samples[next].uv, samples[next].conductivity);
        chart->DrawNewPoints();
        missed += counter.paintThrough() ? 0 : 1;
    }
    tavrin::bench::reportPaints(state, counter, missed);
}
BENCHMARK(BM_AppendBatchToScreen)
    ->ArgNames({"points", "scale"})
    ->ArgsProduct({{1 * kPointsPerHour, 10 * kPointsPerHour, 30 * kPointsPerHour}, {1, 2}})
    ->Iterations(kBatchIterations)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
