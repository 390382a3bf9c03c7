#include "convert/template_pipeline.h"

#include "palette/paint_mapping.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <thread>
#include <vector>

namespace pigmentaria {

void TTemplateControls::Clamp() {
    PaletteSize = std::clamp(PaletteSize, 0, MaxColorCount);
    MinRegionPixels = std::max(MinRegionPixels, 0);
    if (!(MinWidthPixels > 0)) MinWidthPixels = 0;
}

TConversionControls TemplateTraceControls(TConversionControls controls) {
    controls.OutlineMethod = TOutlineMethod::Outline;
    controls.AbstractionLevel = 1;
    controls.EliminateLines = true;
    return controls;
}

TCleanupSettings TemplateCleanup(const TTemplateControls& controls) {
    TCleanupSettings s;
    s.MinArea = controls.MinRegionPixels;
    s.MinDiameter = controls.MinWidthPixels > 0 ? controls.MinWidthPixels : 0;
    s.CutNecks = s.MinDiameter >= MinNeckDiameter;
    // The square is odd, centred on a pixel, and no wider than the regions kept.
    const int neck =
        static_cast<int>(std::lround(std::min(controls.NeckWidthPixels, s.MinDiameter)));
    s.NeckDiameter = std::max(MinNeckDiameter, neck % 2 ? neck : neck - 1);
    return s;
}

TRaster24 SmoothKeepingEdges(const TRaster24& picture, double sigma, double colorSigma) {
    const int w = picture.Width(), h = picture.Height();
    TRaster24 out(w, h);
    if (w == 0 || h == 0 || !(sigma > 0) || !(colorSigma > 0)) return picture;
    const int radius = std::max(1, static_cast<int>(std::ceil(2 * sigma)));
    const std::ptrdiff_t stride = h > 1 ? picture.Row(1) - picture.Row(0) : 0;
    struct TTap {
        int Dx, Dy;
        std::ptrdiff_t Offset;
        float Weight;
    };
    std::vector<TTap> taps;
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx)
            if (dx * dx + dy * dy <= radius * radius)
                taps.push_back(
                    {dx, dy, dy * stride + 3 * dx,
                     static_cast<float>(std::exp(-(dx * dx + dy * dy) / (2 * sigma * sigma)))});
    // The colour weight by squared RGB distance, in steps of 16.
    std::vector<float> range(3 * 255 * 255 / 16 + 1);
    for (std::size_t i = 0; i < range.size(); ++i)
        range[i] = static_cast<float>(std::exp(-double(i) * 16 / (2 * colorSigma * colorSigma)));
    auto work = [&](int from, int to) {
        for (int y = from; y < to; ++y) {
            const std::uint8_t* c = picture.Row(y);
            std::uint8_t* o = out.Row(y);
            const bool rowInside = y >= radius && y + radius < h;
            for (int x = 0; x < w; ++x, c += 3, o += 3) {
                const bool inside = rowInside && x >= radius && x + radius < w;
                float sb = 0, sg = 0, sr = 0, sw = 0;
                for (const TTap& t : taps) {
                    if (!inside) {
                        const int nx = x + t.Dx, ny = y + t.Dy;
                        if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
                    }
                    const std::uint8_t* p = c + t.Offset;
                    const int db = p[0] - c[0], dg = p[1] - c[1], dr = p[2] - c[2];
                    const float wt = t.Weight * range[(db * db + dg * dg + dr * dr) >> 4];
                    sb += wt * p[0];
                    sg += wt * p[1];
                    sr += wt * p[2];
                    sw += wt;
                }
                o[0] = static_cast<std::uint8_t>(sb / sw + 0.5f);
                o[1] = static_cast<std::uint8_t>(sg / sw + 0.5f);
                o[2] = static_cast<std::uint8_t>(sr / sw + 0.5f);
            }
        }
    };
    const int threads =
        std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, std::max(1, h / 16));
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t)
        workers.emplace_back(work, h * t / threads, h * (t + 1) / threads);
    for (std::thread& worker : workers)
        worker.join();
    return out;
}

TReducedPair ReduceForTemplate(const TRaster24& scaled, TCropRect crop,
                               const TConversionControls& controls,
                               const TTemplateControls& templateControls, IProgressSink& progress) {
    TConversionControls c = controls;
    c.Clamp();
    TTemplateControls t = templateControls;
    t.Clamp();
    TReducedPair out;
    if (t.PaletteSize > 0) {
        TColorCountSettings count;
        count.Colors = t.PaletteSize;
        // Every worker the machine has: the colours are the same for any number.
        count.Threads = 0;
        if (t.GrainPixels > 0) {
            // The colours are fitted and given on the picture with its grain smoothed away, so
            // that the borders follow the photo's edges and not its noise; the shapes still take
            // their colours from the picture as it is.
            TReducedPair plain = ReduceScaledPicture(scaled, crop, 1, 0, progress);
            const TRaster24 smoothed =
                SmoothKeepingEdges(plain.Original, t.GrainPixels, TemplateEdgeColorDistance);
            out = ReduceScaledPictureToCount(smoothed, {0, 0, smoothed.Width(), smoothed.Height()},
                                             count, c.SimplificationLevel, progress);
            out.Original = std::move(plain.Original);
        } else {
            out = ReduceScaledPictureToCount(scaled, crop, count, c.SimplificationLevel, progress);
        }
    } else {
        out = ReduceScaledPicture(scaled, crop, c.ColorDepth, c.SimplificationLevel, progress);
    }
    if (!t.Paints.Empty()) {
        TPaintMatcher matcher(t.Paints);
        MapRasterToPaints(out.Reduced, matcher);
    }
    if (t.Mixtures) MapRasterToMixtures(out.Reduced, *t.Mixtures);
    const TCleanupSettings cleanup = TemplateCleanup(t);
    if (cleanup.Active()) CleanUpRegions(out.Reduced, out.Original, cleanup, progress);
    return out;
}

TSimplifiedPainting SimplifyForPrinting(const TRaster24& rendered, const TRaster24& original,
                                        const TConversionControls& controls,
                                        const TCleanupSettings& limits, IProgressSink& progress) {
    if (original.Width() != rendered.Width() || original.Height() != rendered.Height())
        throw std::invalid_argument("original picture differs in size from the rendered painting");
    TRaster24 cleaned = rendered;
    TSimplifiedPainting out;
    out.Cleanup = CleanUpRegions(cleaned, original, limits, progress);
    out.Trace = TraceReduction(cleaned, original, controls, progress);
    return out;
}

} // namespace pigmentaria
