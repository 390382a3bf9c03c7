#include "bench_pictures.h"
#include "image/filters.h"

#include <benchmark/benchmark.h>

namespace pigmentaria {
namespace {

void BM_Sharpen5x5Photo2000x1500(benchmark::State& state) {
    const TRaster24 photo = bench::ScaleBilinear(bench::LoadSamplePng("coffee.png"), 2000, 1500);
    TConvFilter sharpen;
    sharpen.Sharpen(dsGaussian, true, 50, 1.0); // σ 1.0 gives a 5 × 5 kernel
    TRaster24 out;
    for (auto _ : state) {
        ApplyFilter(sharpen, photo, out);
        benchmark::DoNotOptimize(out.Row(0));
    }
    state.counters["kernel"] = sharpen.Width();
}
BENCHMARK(BM_Sharpen5x5Photo2000x1500)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace pigmentaria
