#include "convert/template_pipeline.h"

#include "palette/paint_mapping.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

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
        out = ReduceScaledPictureToCount(scaled, crop, count, c.SimplificationLevel, progress);
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
