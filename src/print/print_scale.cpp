#include "print/print_scale.h"

#include <algorithm>

namespace pigmentaria {

TPaintingPixelSize PaintingPixelSize(const TPrintLayout& layout, const TPlacementFrame& frame,
                                     int paintingWidth, int paintingHeight) {
    TPaintingPixelSize s;
    if (paintingWidth <= 0 || paintingHeight <= 0) return s;
    s.MmX = FrameWidthIn(layout, frame) * MmPerInch / paintingWidth;
    s.MmY = FrameHeightIn(layout, frame) * MmPerInch / paintingHeight;
    if (!s.Placed()) s = {};
    return s;
}

double MillimetresToPaintingPixels(const TPaintingPixelSize& size, double mm) {
    if (!size.Placed()) return 0;
    return mm / std::min(size.MmX, size.MmY);
}

TPrintLayout LayoutForPainting(const TPrinterMetrics& printer, int orientation,
                               TPrintSettings& settings, int paintingWidth, int paintingHeight) {
    TPrintLayout layout = ComputePrintLayout(printer, orientation, settings);
    if (!settings.Frame.Visible || settings.Frame.Width <= 0)
        settings.Frame = FirstPlacementFrame(layout, paintingWidth, paintingHeight);
    layout.ImageWidthIn = FrameWidthIn(layout, settings.Frame);
    layout.ImageHeightIn = FrameHeightIn(layout, settings.Frame);
    return layout;
}

TBlockPrint PrintOfBlock(const TPrintLayoutBlock& block, const TPrinterMetrics& printer,
                         int paintingWidth, int paintingHeight) {
    TBlockPrint p;
    ApplyPrintLayoutBlock(block, p.Settings, true);
    p.Layout = LayoutForPainting(printer, block.Orientation == 1 ? poLandscape : poPortrait,
                                 p.Settings, paintingWidth, paintingHeight);
    return p;
}

double MinimumDiameterPixels(const TPrintLayout& layout, const TPlacementFrame& frame,
                             int paintingWidth, int paintingHeight, double mm) {
    return MillimetresToPaintingPixels(
        PaintingPixelSize(layout, frame, paintingWidth, paintingHeight), mm);
}

} // namespace pigmentaria
