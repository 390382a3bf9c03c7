#include "bench_pictures.h"
#include "convert/tracer.h"
#include "model/render.h"

#include <benchmark/benchmark.h>

namespace pigmentaria {
namespace {

// Upscaled: smooth like a large photo of little detail.
const TRaster24& QuantisedPhoto() {
    static const TRaster24 photo = [] {
        TRaster24 r = bench::ScaleBilinear(bench::LoadSamplePng("coffee.png"), 2000, 1500);
        bench::Quantize(r, 90);
        return r;
    }();
    return photo;
}

// Tiled at the original scale: as busy as a sharp photo of that size.
const TRaster24& QuantisedBusyPhoto() {
    static const TRaster24 photo = [] {
        TRaster24 r = bench::TileMirrored(bench::LoadSamplePng("astronaut.png"), 2000, 1500);
        bench::Quantize(r, 90);
        return r;
    }();
    return photo;
}

void BM_TracePhoto2000x1500(benchmark::State& state) {
    const TRaster24& photo = state.range(0) ? QuantisedBusyPhoto() : QuantisedPhoto();
    TNullProgress progress;
    TNullMessages messages;
    std::size_t shapes = 0, points = 0;
    for (auto _ : state) {
        TShapeList list;
        TraceRegions(photo, photo, {TOutlineMethod::Outline, 4, false}, list, progress, messages);
        shapes = list.Count();
        points = CountVertices(list.First());
        benchmark::DoNotOptimize(list.First());
    }
    state.counters["shapes"] = static_cast<double>(shapes);
    state.counters["points"] = static_cast<double>(points);
}
BENCHMARK(BM_TracePhoto2000x1500)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_RenderPhoto2000x1500(benchmark::State& state) {
    const TRaster24& photo = state.range(0) ? QuantisedBusyPhoto() : QuantisedPhoto();
    TShapeList list;
    TNullProgress progress;
    TNullMessages messages;
    TraceRegions(photo, photo, {TOutlineMethod::Outline, 4, false}, list, progress, messages);
    for (auto _ : state) {
        TRaster24 r = RenderPainting(list, 1.0);
        benchmark::DoNotOptimize(r.Row(0));
    }
}
BENCHMARK(BM_RenderPhoto2000x1500)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace pigmentaria

namespace pigmentaria {
namespace {

// How closely a painting traced with "Inline" at vertex step 1 draws back its source picture:
// reported as the share of equal pixels on real photos quantised with step 90.
void BM_InlineFidelity(benchmark::State& state) {
    const char* names[] = {"coffee.png", "astronaut.png"};
    TRaster24 photo = bench::LoadSamplePng(names[state.range(0)]);
    bench::Quantize(photo, 90);
    TNullProgress progress;
    TNullMessages messages;
    double share = 0;
    for (auto _ : state) {
        TShapeList list;
        TraceRegions(photo, photo, {TOutlineMethod::Inline, 1, false}, list, progress, messages);
        const TRaster24 back = RenderPainting(list, 1.0);
        long equal = 0;
        for (int y = 0; y < photo.Height(); ++y)
            for (int x = 0; x < photo.Width(); ++x)
                equal += back.GetPixel(x, y) == photo.GetPixel(x, y);
        share = 100.0 * static_cast<double>(equal) / (photo.Width() * photo.Height());
    }
    state.counters["equal_percent"] = share;
}
BENCHMARK(BM_InlineFidelity)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace pigmentaria
