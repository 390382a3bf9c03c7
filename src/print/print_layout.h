#pragma once
// The page-grid layout: printer pixels, inches and the pixels of the print dialog's sample, and
// the placement frame the user drags over the sample.
#include "platform/raster.h"
#include "platform/text_parse.h"
#include "print/print_settings.h"
#include "print/printer.h"

#include <string>

namespace pigmentaria {

// The sample is a square of this many pixels inside the panel that also holds the placement
// frame; the frame's stored position is in the panel's coordinates.
constexpr int SampleSize = 177;
constexpr int SampleImageLeft = 4;
constexpr int SampleImageTop = 4;
constexpr int SamplePanelWidth = SampleSize + 2 * SampleImageLeft;
constexpr int SamplePanelHeight = SampleSize + 2 * SampleImageTop;
// Screen resolution assumed where no screen is asked (the command line's preview sheets).
constexpr int DefaultScreenDpi = 96;

struct TPrintLayout {
    int PrinterDpiX = 0, PrinterDpiY = 0;
    int ScreenDpiX = DefaultScreenDpi, ScreenDpiY = DefaultScreenDpi;
    int PhysicalWidth = 0, PhysicalHeight = 0;
    int PrintableWidth = 0, PrintableHeight = 0;
    int PhysicalOffsetX = 0, PhysicalOffsetY = 0;
    double PaperWidthIn = 0, PaperHeightIn = 0;
    double PrintableWidthIn = 0, PrintableHeightIn = 0;
    double OffsetXIn = 0, OffsetYIn = 0;
    double OverlapIn = 0;
    int OverlapX = 0, OverlapY = 0;
    int TotalWidth = 0, TotalHeight = 0;
    double SampleScale = 0;
    double SampleScaleX = 0, SampleScaleY = 0;
    int SampleOriginX = 0, SampleOriginY = 0;
    double ImageWidthIn = 0, ImageHeightIn = 0;
    int Orientation = poPortrait;
    int PagesAcross = 0, PagesDown = 0;
    friend bool operator==(const TPrintLayout&, const TPrintLayout&) = default;
};

// Recomputes the layout for a printer and the settings. The overlap is raised to cover each
// axis's unprintable margins plus half an inch, and the raised value is written back into the
// settings as the dialog's edit shows it.
TPrintLayout ComputePrintLayout(const TPrinterMetrics& printer, int orientation,
                                TPrintSettings& settings, int screenDpiX = DefaultScreenDpi,
                                int screenDpiY = DefaultScreenDpi);

// The dialog writes numbers as FormatGeneral does, up to 15 significant digits. Its labels use a
// full stop unless given the decimal point of the user's locale, as a window does.
// Inches truncated to hundredths with an inch mark: 8.5".
std::string InchText(double inches, char decimalPoint = '.');
// 8.5" x 11"
std::string PaperSizeText(const TPrintLayout& layout, char decimalPoint = '.');
// Portrait / Landscape
std::string OrientationText(const TPrintLayout& layout);
// The patterns of the two size lines, for the window to translate.
inline constexpr const char* PrintSizePattern = "Total Print Size: %1 x %2";
inline constexpr const char* ImageSizePattern = "Image Size: %1 x %2";
// Total Print Size: 16" x 11"
std::string PrintSizeText(const TPrintLayout& layout, char decimalPoint = '.');
// Image Size: 6.4" x 4.8"
std::string ImageSizeText(const TPrintLayout& layout, const TPlacementFrame& frame,
                          char decimalPoint = '.');

// The frame's size in inches on the page grid.
double FrameWidthIn(const TPrintLayout& layout, const TPlacementFrame& frame);
double FrameHeightIn(const TPrintLayout& layout, const TPlacementFrame& frame);

// The sample: the page grid in grey sheets with white printable areas on the button face.
TRaster24 DrawPrintSample(const TPrintLayout& layout);

// The frame as first placed for a painting: 80 per cent of the grid's drawn width with the
// painting's proportions, centred in the panel.
TPlacementFrame FirstPlacementFrame(const TPrintLayout& layout, int paintingWidth,
                                    int paintingHeight, int panelWidth = SamplePanelWidth,
                                    int panelHeight = SamplePanelHeight);

// Where the frame's size handle sits: its bottom-right corner less 7.
TPoint SizeHandleAt(const TPlacementFrame& frame);

// Dragging: the frame moved by the mouse's movement, then held so that at least 10 pixels stay
// inside the panel.
TPlacementFrame DragFrame(TPlacementFrame frame, int dx, int dy, int panelWidth = SamplePanelWidth,
                          int panelHeight = SamplePanelHeight);

// Sizing: the handle moved by the mouse's movement and clamped, the frame sized to it and put
// back into the painting's proportions within the box the handle spans; the handle keeps its 7
// pixels inside the corner. Returns the frame; `handle` is moved in place.
TPlacementFrame SizeFrame(TPlacementFrame frame, TPoint& handle, int dx, int dy, int paintingWidth,
                          int paintingHeight, int panelWidth = SamplePanelWidth,
                          int panelHeight = SamplePanelHeight);

} // namespace pigmentaria
