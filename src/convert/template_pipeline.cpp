#include "convert/template_pipeline.h"

#include "palette/paint_mapping.h"

#include <stdexcept>

namespace pigmentaria {

TReducedPair ReduceForTemplate(const TRaster24& scaled, TCropRect crop,
                               const TTemplateOptions& options, IProgressSink& progress) {
    TReducedPair out;
    if (options.PaletteSize > 0) {
        TColorCountSettings count;
        count.Colors = options.PaletteSize;
        count.Seed = options.Seed;
        count.Threads = options.Threads;
        out =
            ReduceScaledPictureToCount(scaled, crop, count, options.SimplificationLevel, progress);
    } else {
        out = ReduceScaledPicture(scaled, crop, options.ColorDepth, options.SimplificationLevel,
                                  progress);
    }
    if (options.Paints && !options.Paints->Empty()) {
        TPaintMatcher matcher(*options.Paints);
        MapRasterToPaints(out.Reduced, matcher);
    }
    if (options.Cleanup.Active())
        CleanUpRegions(out.Reduced, out.Original, options.Cleanup, progress);
    return out;
}

TTracedPainting SimplifyForPrinting(const TRaster24& rendered, const TRaster24& original,
                                    const TTraceSettings& trace, const TCleanupSettings& limits,
                                    IProgressSink& progress, IMessageSink& messages) {
    if (original.Width() != rendered.Width() || original.Height() != rendered.Height())
        throw std::invalid_argument("original picture differs in size from the rendered painting");
    TRaster24 cleaned = rendered;
    CleanUpRegions(cleaned, original, limits, progress);
    TTracedPainting out;
    out.ShapeCount = TraceRegions(cleaned, original, trace, out.Shapes, progress, messages);
    return out;
}

} // namespace pigmentaria
