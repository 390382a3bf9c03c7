#pragma once
// What printing reads from the current printer, and the printer itself: a device that takes a
// job of pages drawn on its page canvas.
#include "print/page_canvas.h"
#include "print/print_settings.h"

#include <string>

namespace pigmentaria {

enum TOrientation : int { poPortrait = 0, poLandscape = 1 };

// Windows paper-size codes for the sizes the program names.
constexpr int PaperLetter = 1;
constexpr int PaperLegal = 5;
constexpr int PaperA3 = 8;
constexpr int PaperA4 = 9;
constexpr int PaperUser = 256;

// What a PDF sheet cannot print: the same margin as a desktop printer leaves, so that a printed
// PDF loses nothing at the edges.
constexpr double PdfMarginIn = 0.25;
constexpr int DefaultPrinterDpi = 600;

// Device measures of the printer in its current orientation, in printer pixels.
struct TPrinterMetrics {
    int DpiX = 600, DpiY = 600;
    int PhysicalWidth = 0, PhysicalHeight = 0;
    int PrintableWidth = 0, PrintableHeight = 0;
    int PhysicalOffsetX = 0, PhysicalOffsetY = 0;
    friend bool operator==(const TPrinterMetrics&, const TPrinterMetrics&) = default;
};

// Portrait paper width and length in tenths of a millimetre for a paper code; 0 × 0 for a code
// the program does not know (user sizes come with their own).
struct TPaperTenthsMm {
    int Width = 0, Length = 0;
};
TPaperTenthsMm PaperSizeOfCode(int code);

// The metrics of a sheet of paper (portrait size in tenths of a millimetre) printed at a
// resolution with the same unprintable margin, in inches, on every side.
TPrinterMetrics MetricsForPaper(TPaperTenthsMm paper, int orientation, int dpiX, int dpiY,
                                double marginIn);

// The metrics of a PDF sheet of the paper (a user size from its width and length) at `dpi`, with
// the PDF margin; a paper code the program does not know takes `fallbackCode`.
TPrinterMetrics PdfSheetMetrics(const TPaperChoice& paper, int fallbackCode = PaperA4,
                                int dpi = DefaultPrinterDpi);

class IPrinter {
public:
    virtual ~IPrinter() = default;
    virtual std::string Name() const = 0;
    virtual TPrinterMetrics Metrics() const = 0;
    // Orientation, paper code and user size, as the painting file records them.
    virtual TPaperChoice Paper() const = 0;
    // Applies a stored orientation and paper (the user size only with code 256).
    virtual void ApplyPaper(const TPaperChoice& paper) = 0;

    // A print job: pages are drawn on Canvas() between BeginDoc and EndDoc, NewPage before every
    // page but the first.
    virtual void BeginDoc(const std::string& title) = 0;
    virtual void NewPage() = 0;
    virtual void EndDoc() = 0;
    // Gives up a job after BeginDoc (the user stopped it, or drawing failed). A printer that
    // cannot cancel what it was sent ends the job.
    virtual void AbortDoc() { EndDoc(); }
    virtual TPageCanvas& Canvas() = 0;
};

} // namespace pigmentaria
