#include "convert/conversion.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <unistd.h>

namespace pigmentaria {

void TConversionControls::Clamp() {
    ColorDepth = std::clamp(ColorDepth, 1, 255);
    SimplificationLevel = std::clamp(SimplificationLevel, 0, 4);
    OutlineMethod = OutlineMethodFromIndex(OutlineMethodIndex(OutlineMethod));
    AbstractionLevel = std::clamp(AbstractionLevel, 1, 10);
}

void CheckConversionMemory(int width, int height) {
    // The scaled picture, its copy, the reduced and original rasters, the tracer's marks and the
    // shapes take some 24 bytes a painting pixel at the worst.
    const double needed = 24.0 * width * height;
    const long pages = sysconf(_SC_AVPHYS_PAGES), pageSize = sysconf(_SC_PAGESIZE);
    const double available =
        pages > 0 && pageSize > 0 ? 0.8 * static_cast<double>(pages) * pageSize : 8e9;
    if (needed > available) {
        char text[256];
        std::snprintf(text, sizeof text,
                      "The painting would be %d x %d pixels, too large to convert in the memory "
                      "available; choose a smaller zoom.",
                      width, height);
        throw std::runtime_error(text);
    }
}

TReducedPair ReducePicture(const TPixelGraphic& picture, double zoom,
                           const std::optional<TCropRect>& selection, TConversionControls controls,
                           IProgressSink& progress) {
    controls.Clamp();
    const int w = picture.Width(), h = picture.Height();
    const int sw = ScaleCoord(w, zoom), sh = ScaleCoord(h, zoom);
    const TCropRect crop = ScaledCropRect(w, h, zoom, selection);
    if (sw <= 0 || sh <= 0 || crop.Width() <= 0 || crop.Height() <= 0)
        throw std::runtime_error("Nothing to convert: the picture is empty at this zoom.");
    CheckConversionMemory(sw, sh);
    TRaster24 scaled;
    if (sw == w && sh == h) {
        scaled = picture.ToRaster24();
    } else {
        TPixelGraphic resized;
        resized.StretchMode = smPrecise;
        resized.SetSize(sw, sh, ct24Bit);
        resized.StretchFromWhole(picture);
        scaled = resized.ToRaster24();
    }
    return ReduceScaledPicture(scaled, crop, controls.ColorDepth, controls.SimplificationLevel,
                               progress);
}

TTraceResult TraceReduction(const TRaster24& reduced, const TRaster24& original,
                            const TConversionControls& controls, IProgressSink& progress) {
    TConversionControls c = controls;
    c.Clamp();
    TTraceResult out;
    TCollectedMessages messages;
    out.ShapeCount =
        TraceRegions(reduced, original, {c.OutlineMethod, c.AbstractionLevel, c.EliminateLines},
                     out.Shapes, progress, messages);
    out.Messages = messages.Take();
    return out;
}

TImportResult ReduceAndTrace(const TConversionInput& input, IProgressSink& progress) {
    TImportResult out;
    out.Reduction =
        ReducePicture(input.Picture, input.Zoom, input.Selection, input.Controls, progress);
    out.Trace =
        TraceReduction(out.Reduction.Reduced, out.Reduction.Original, input.Controls, progress);
    return out;
}

TTraceResult RetraceRendering(const TRaster24& rendered, bool eliminateLines,
                              IProgressSink& progress) {
    TTraceResult out;
    TCollectedMessages messages;
    out.ShapeCount = TraceRegions(rendered, rendered,
                                  {TOutlineMethod::HalfLine, RetraceVertexStep, eliminateLines},
                                  out.Shapes, progress, messages);
    out.Messages = messages.Take();
    return out;
}

} // namespace pigmentaria
