#include "print/printer.h"

#include <utility>

namespace pigmentaria {

TPaperTenthsMm PaperSizeOfCode(int code) {
    switch (code) {
    case PaperLetter:
        return {2159, 2794};
    case PaperLegal:
        return {2159, 3556};
    case PaperA4:
        return {2100, 2970};
    case PaperA3:
        return {2970, 4200};
    default:
        return {};
    }
}

TPrinterMetrics MetricsForPaper(TPaperTenthsMm paper, int orientation, int dpiX, int dpiY,
                                double marginIn) {
    if (orientation == poLandscape) std::swap(paper.Width, paper.Length);
    TPrinterMetrics m;
    m.DpiX = dpiX;
    m.DpiY = dpiY;
    // Tenths of a millimetre to device pixels, rounded: letter at 600 dpi is exactly 5100 × 6600.
    m.PhysicalWidth = static_cast<int>(paper.Width * dpiX / 254.0 + 0.5);
    m.PhysicalHeight = static_cast<int>(paper.Length * dpiY / 254.0 + 0.5);
    m.PhysicalOffsetX = static_cast<int>(marginIn * dpiX + 0.5);
    m.PhysicalOffsetY = static_cast<int>(marginIn * dpiY + 0.5);
    m.PrintableWidth = m.PhysicalWidth - 2 * m.PhysicalOffsetX;
    m.PrintableHeight = m.PhysicalHeight - 2 * m.PhysicalOffsetY;
    return m;
}

TPrinterMetrics PdfSheetMetrics(const TPaperChoice& paper, int fallbackCode, int dpi) {
    TPaperTenthsMm size = PaperSizeOfCode(paper.PaperSize);
    if (paper.PaperSize == PaperUser && paper.UserPaperWidth > 0 && paper.UserPaperLength > 0)
        size = {paper.UserPaperWidth, paper.UserPaperLength};
    if (size.Width <= 0 || size.Length <= 0) size = PaperSizeOfCode(fallbackCode);
    return MetricsForPaper(size, paper.Orientation, dpi, dpi, PdfMarginIn);
}

} // namespace pigmentaria
