#pragma once
// How big a painting pixel is on paper for a print layout: the placement frame gives the
// painting's printed size, so lengths on paper (a brush's width, a number's height) can be turned
// into painting pixels before the painting is cleaned up for that print.
#include "print/print_layout.h"
#include "print/print_settings.h"
#include "print/printer.h"

namespace pigmentaria {

constexpr double MmPerInch = 25.4;

struct TPaintingPixelSize {
    // Millimetres one painting pixel covers on paper, across and down; 0 without a placement.
    double MmX = 0, MmY = 0;
    bool Placed() const { return MmX > 0 && MmY > 0; }
};

// Where the frame puts a painting of W × H on the page grid of the layout.
TPaintingPixelSize PaintingPixelSize(const TPrintLayout& layout, const TPlacementFrame& frame,
                                     int paintingWidth, int paintingHeight);

// A length on paper in painting pixels, measured along the axis whose pixels are smaller, so
// that the length holds both ways. 0 without a placement.
double MillimetresToPaintingPixels(const TPaintingPixelSize& size, double mm);

// The layout a print of the painting gets: computed for the printer and settings, with the
// placement frame set up as the print dialog first places it when the settings have none shown.
// The settings take the raised overlap and the frame.
TPrintLayout LayoutForPainting(const TPrinterMetrics& printer, int orientation,
                               TPrintSettings& settings, int paintingWidth, int paintingHeight);

// The print a stored layout block describes on a printer: its pages across and down, overlap and
// placement frame (the first placement when the block shows none), for a painting of W × H.
struct TBlockPrint {
    TPrintSettings Settings;
    TPrintLayout Layout;
};
TBlockPrint PrintOfBlock(const TPrintLayoutBlock& block, const TPrinterMetrics& printer,
                         int paintingWidth, int paintingHeight);

// The clean-up minimum for a print: the diameter, in painting pixels, of a circle `mm` wide on
// paper where the placement puts the painting; 0 without a placement.
double MinimumDiameterPixels(const TPrintLayout& layout, const TPlacementFrame& frame,
                             int paintingWidth, int paintingHeight, double mm);

} // namespace pigmentaria
