// One tick of the lighting preview for each effect code: the overlays of every key computed
// (all 104 keys change on the animated effects). The window's timer allows 50 ms per tick.

#include "lighting/core/preview_engine.h"

#include <benchmark/benchmark.h>

namespace {

using namespace kovrel::lighting;

void PreviewTick(benchmark::State& state) {
    const int effect = static_cast<int>(state.range(0));
    const bool multicolour = state.range(1) != 0;
    int n = 0;
    PreviewEngine engine([&n](int bound) { return (n++ * 7919) % bound; });
    const PreviewInput input{effect, 255, multicolour, Rgb{200, 100, 50}, true};
    std::size_t painted = 0;
    for (auto _ : state) {
        const auto& overlays = engine.Tick(input);
        painted = overlays.size();
        benchmark::DoNotOptimize(overlays.data());
    }
    state.counters["overlays"] = static_cast<double>(painted);
}

} // namespace

// Arguments: effect code, multicolour (0 or 1).
BENCHMARK(PreviewTick)
    ->ArgsProduct({benchmark::CreateDenseRange(1, 20, 1), {0, 1}})
    ->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
