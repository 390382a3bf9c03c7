// The template path's stages on photo-sized pictures: colours by count (k-means in CIELAB) on a
// 12-megapixel photo, region clean-up on a 2000 × 1500 photo reduced to 24 colours, and the
// central labels and legibility report of a painting printed on one A4 page.
#include "bench_pictures.h"
#include "convert/color_count.h"
#include "convert/region_cleanup.h"
#include "convert/regions.h"
#include "convert/template_pipeline.h"
#include "convert/tracer.h"
#include "image/pixel_graphic.h"
#include "palette/color_science.h"
#include "print/numbers.h"
#include "print/print_labels.h"
#include "print/print_scale.h"
#include "print/template_job.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace pigmentaria {
namespace {

using bench::LoadSamplePng;
using bench::ScaleBilinear;
using bench::TileMirrored;

// A 4000 × 3000 photo: the sample upscaled to 2000 × 1500, tiled mirrored, so that detail stays
// photo-like.
const TRaster24& Photo12Mp() {
    static const TRaster24 photo =
        TileMirrored(ScaleBilinear(LoadSamplePng("coffee.png"), 2000, 1500), 4000, 3000);
    return photo;
}

void BM_FitColors24(benchmark::State& state) {
    const TRaster24& photo = Photo12Mp();
    TColorCountSettings s;
    for (auto _ : state)
        benchmark::DoNotOptimize(FitColorPalette(photo, s));
}
BENCHMARK(BM_FitColors24)->Unit(benchmark::kMillisecond);

// Fitting plus every pixel given its colour, with 1 and 2 workers.
void BM_ReduceToCount24_12Mp(benchmark::State& state) {
    const TRaster24& photo = Photo12Mp();
    TColorCountSettings s;
    s.Threads = static_cast<int>(state.range(0));
    TNullProgress progress;
    for (auto _ : state) {
        TReducedPair r = ReduceScaledPictureToCount(photo, {0, 0, photo.Width(), photo.Height()}, s,
                                                    0, progress);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_ReduceToCount24_12Mp)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

struct TReducedPhoto {
    TRaster24 Original, Reduced;
    explicit TReducedPhoto(const char* name) {
        Original = ScaleBilinear(LoadSamplePng(name), 2000, 1500);
        TColorCountSettings s;
        ApplyColorPalette(FitColorPalette(Original, s), Original, Reduced);
    }
};

// Clean-up for a minimum area only, and for a minimum width as on a 2.5 mm print of the photo on
// one A4 page (2000 pixels over 168 mm: 30 pixels).
void BM_CleanUp2000x1500(benchmark::State& state) {
    static const TReducedPhoto photo("astronaut.png");
    TCleanupSettings s;
    if (state.range(0) == 0)
        s.MinArea = 700;
    else
        s.MinDiameter = static_cast<double>(state.range(0));
    TNullProgress progress;
    std::uint32_t before = 0, after = 0;
    for (auto _ : state) {
        state.PauseTiming();
        TRaster24 work = photo.Reduced;
        state.ResumeTiming();
        const TCleanupResult r = CleanUpRegions(work, photo.Original, s, progress);
        before = r.RegionsBefore;
        after = r.RegionsAfter;
    }
    state.counters["regions_before"] = before;
    state.counters["regions_after"] = after;
}
BENCHMARK(BM_CleanUp2000x1500)->Arg(0)->Arg(10)->Arg(30)->Unit(benchmark::kMillisecond);

void BM_RegionDistance2000x1500(benchmark::State& state) {
    static const TReducedPhoto photo("astronaut.png");
    const TRegionMap map = LabelRegions(photo.Reduced);
    for (auto _ : state)
        benchmark::DoNotOptimize(RegionDistanceSquared(map));
    state.counters["regions"] = map.Count;
}
BENCHMARK(BM_RegionDistance2000x1500)->Unit(benchmark::kMillisecond);

// Central labels and the legibility report of the cleaned-up coffee photo at its own size.
void BM_PrintedLabelsA4(benchmark::State& state) {
    static const TReducedPhoto* photo = [] {
        auto* p = new TReducedPhoto("coffee.png");
        p->Original = ScaleBilinear(LoadSamplePng("coffee.png"), 600, 400);
        TColorCountSettings s;
        ApplyColorPalette(FitColorPalette(p->Original, s), p->Original, p->Reduced);
        TNullProgress progress;
        CleanUpRegions(p->Reduced, p->Original, {0, 9.0}, progress);
        return p;
    }();
    TShapeList shapes;
    TNullProgress progress;
    TNullMessages messages;
    TraceRegions(photo->Reduced, photo->Original, {TOutlineMethod::Outline, 4, true}, shapes,
                 progress, messages);
    TNamedPalette palette;
    RebuildPaintingPalette(palette, shapes);
    const std::vector<TNumberLabel> placed = PlaceNumbers(shapes, palette, progress, messages);
    TPrintSettings settings;
    const TPrintLayout layout =
        LayoutForPainting(MetricsForPaper(PaperSizeOfCode(PaperA4), poPortrait, 600, 600, 0.25),
                          poPortrait, settings, 600, 400);
    std::size_t labels = 0;
    for (auto _ : state) {
        const TPrintedLabels printed(shapes, layout, settings.Frame);
        const auto all = printed.CompleteLabels(placed, NumberByPaintingPalette(palette));
        benchmark::DoNotOptimize(printed.Report(all, 2.5));
        labels = all.size();
    }
    state.counters["labels"] = static_cast<double>(labels);
}
BENCHMARK(BM_PrintedLabelsA4)->Unit(benchmark::kMillisecond);

// A whole template, picture in memory to the numbered painting, its report and shares, on one
// A4 page: the photo at 10 and at 50 megapixels (3:2), tiled from the sample upscaled.
void BM_MakeTemplate(benchmark::State& state) {
    const double megapixels = static_cast<double>(state.range(0));
    const int w = static_cast<int>(std::lround(std::sqrt(megapixels * 1e6 * 1.5)));
    const int h = w * 2 / 3;
    TPixelGraphic picture;
    picture.AssignRaster24(
        TileMirrored(ScaleBilinear(LoadSamplePng("coffee.png"), 2400, 1600), w, h));
    TNullProgress progress;
    std::size_t cells = 0;
    for (auto _ : state) {
        const TTemplateResult t = MakeTemplate(picture, TTemplateRequest{}, progress);
        cells = static_cast<std::size_t>(t.Report.Regions);
    }
    state.counters["cells"] = static_cast<double>(cells);
}
BENCHMARK(BM_MakeTemplate)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond)->UseRealTime();

// The smoothing of a reduction-sized picture's grain before its colours are reduced.
void BM_SmoothKeepingEdgesA4(benchmark::State& state) {
    const TRaster24 photo = ScaleBilinear(LoadSamplePng("coffee.png"), 1180, 787);
    for (auto _ : state)
        benchmark::DoNotOptimize(
            SmoothKeepingEdges(photo, TemplateGrainPixels, TemplateEdgeColorDistance));
}
BENCHMARK(BM_SmoothKeepingEdgesA4)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DeltaE2000(benchmark::State& state) {
    const TLab a{50, 2.6772, -79.7751}, b{50, 0, -82.7485};
    for (auto _ : state)
        benchmark::DoNotOptimize(DeltaE2000(a, b));
}
BENCHMARK(BM_DeltaE2000);

} // namespace
} // namespace pigmentaria
