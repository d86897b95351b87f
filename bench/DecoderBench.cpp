// Decoder throughput on a long recorded run: blocks decoded per second,
// from receive events through the charts' stores, for growing stream lengths
// (the fitted complexity shows it is linear in the length).
#include <benchmark/benchmark.h>

#include <memory>

#include "fakes/RecorderRig.h"

namespace {

using namespace tavrin::test;

struct RecordedRun {
    Bytes bytes;
    int64_t blocks = 0;
};

// A run as the instrument streams it: status, points, event marks, a hold
// and its continue, and method texts.
RecordedRun recordRun(int64_t points) {
    RecordedRun r;
    auto add = [&](const Bytes& b) {
        r.bytes.insert(r.bytes.end(), b.begin(), b.end());
        ++r.blocks;
    };
    add(fblock());
    add(runStatus(1));
    for (int64_t i = 0; i < points; ++i) {
        const float t = static_cast<float>(i) / 300.0f;
        add(uv('V', 0.1f + 0.01f * t));
        add(cond('C', 5.0f + t));
        if (i % 300 == 150) add(ev(2));
        if (i % 3000 == 1000) add(hold(1));
        if (i % 3000 == 1100) add(hold(2));
        if (i % 3000 == 2000) add(method("Step: gradient 0-100% B over 10 min"));
    }
    add(runStatus(0));
    return r;
}

void BM_DecodeRecordedRun(benchmark::State& state) {
    const RecordedRun run = recordRun(state.range(0));
    constexpr size_t kChunk = 600;  // well under a ring's worth per tick
    for (auto _ : state) {
        state.PauseTiming();
        auto rig = std::make_unique<RecorderRig>();
        rig->globals().LogOn = true;
        rig->align();
        state.ResumeTiming();
        for (size_t at = 0; at < run.bytes.size(); at += kChunk) {
            const size_t end = std::min(run.bytes.size(), at + kChunk);
            rig->receive(Bytes(run.bytes.begin() + static_cast<long>(at),
                               run.bytes.begin() + static_cast<long>(end)));
            rig->tick();
        }
        rig->tick();
        benchmark::DoNotOptimize(rig->live.points());
        state.PauseTiming();
        rig.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * run.blocks);
    state.SetComplexityN(run.blocks);
}
BENCHMARK(BM_DecodeRecordedRun)
    ->RangeMultiplier(4)
    ->Range(1 << 12, 1 << 20)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace
