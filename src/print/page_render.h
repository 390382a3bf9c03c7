#pragma once
// Drawing one page of the page grid: the part of the painting the placement frame puts there,
// its number labels, the registration crosses and the page number; and printing every page.
#include "model/shape.h"
#include "platform/report.h"
#include "print/numbers.h"
#include "print/page_canvas.h"
#include "print/print_layout.h"
#include "print/print_settings.h"
#include "print/printer.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace pigmentaria {

// One number label: the colour's number and the box it is centred in, in painting pixels.
// A number label as number placement makes it.
using TPrintLabel = TNumberLabel;

// What page drawing reads from the painting, at the time of drawing.
struct TPrintSource {
    const TShapeList* Shapes = nullptr;
    const TSelection* Selection = nullptr;
    TColor CurrentColor = clBlack;
    // The painting's number labels; read after numbering has run.
    const std::vector<TPrintLabel>* Labels = nullptr;
    // The command that numbers the painting, refilling *Labels.
    std::function<void()> PlaceNumbers;
};

// Where a page goes on a device: its resolution and the shift from the paper's corner to the
// device's origin.
struct TPageDevice {
    int DpiX = 0, DpiY = 0;
    int ShiftX = 0, ShiftY = 0;
    bool Printer = false;
};
// The printer draws from its printable corner at printer resolution; every other canvas (the
// preview sheet) holds the whole paper at screen resolution.
TPageDevice PageDeviceFor(const TPrintLayout& layout, bool printer);

// Page n of the grid in printing order (row by row, left to right), 1-based.
struct TPagePosition {
    int Row = 1, Column = 1;
    friend bool operator==(const TPagePosition&, const TPagePosition&) = default;
};
TPagePosition PagePosition(int page, int across);
int PageNumber(int row, int column, int across);

// The font size a label is drawn at: the largest of 12 … 3 whose text fits the box's width,
// 4 when that is 4 or less or none fits, then one smaller.
int FitLabelFontSize(TPageCanvas& canvas, const std::string& text, int boxWidth);

// Pages of one showing of the print dialog: the numbers are placed at most once per showing,
// however many pages and previews are drawn.
class TPagePrinter {
public:
    TPagePrinter(const TPrintSettings& settings, const TPrintLayout& layout,
                 const TPrintSource& source)
        : Settings_(&settings), Layout_(&layout), Source_(&source) {}

    // The dialog was shown again: the next page numbers the painting anew.
    void DialogShown() { NumbersAdded_ = false; }
    bool NumbersAdded() const { return NumbersAdded_; }
    // The first step of every page: numbers the painting when the settings ask for numbers and
    // this showing has not numbered it yet.
    void AddNumbersIfAsked();

    void PrintPage(TPageCanvas& canvas, bool onPrinter, int row, int column);

private:
    void DrawShapes(TPageCanvas& canvas, const TPageDevice& device, int row, int column);
    void DrawLabels(TPageCanvas& canvas, const TPageDevice& device, int row, int column);
    void DrawMarks(TPageCanvas& canvas, const TPageDevice& device);
    void DrawPageNumber(TPageCanvas& canvas, const TPageDevice& device, int row, int column);
    // Painting pixels to device pixels on the page at (row, column).
    TPoint Map(const TPageDevice& device, double px, double py, int row, int column) const;

    const TPrintSettings* Settings_;
    const TPrintLayout* Layout_;
    const TPrintSource* Source_;
    bool NumbersAdded_ = false;
    // The colour outlines were last drawn in: numbers take it on (black outlines give black).
    TColor PenColor_ = clBlack;
    // Placement of the painting on the page grid, from the frame.
    double UnitsX_ = 0, UnitsY_ = 0, LeftIn_ = 0, TopIn_ = 0;
    std::vector<TPoint> Points_;
};

inline constexpr const char* PrintingMessage = "Printing...";

// "Print": recomputes `layout` for the printer (the page printer draws with it), then prints
// every page, row by row, in one job with the given title. With a progress sink the numbers are
// placed first (when asked), then the bar counts the pages; asked to stop, the job is abandoned
// after the page being drawn and EAborted thrown.
void PrintAllPages(IPrinter& printer, TPrintSettings& settings, TPrintLayout& layout,
                   TPagePrinter& pages, const std::string& title);
void PrintAllPages(IPrinter& printer, TPrintSettings& settings, TPrintLayout& layout,
                   TPagePrinter& pages, const std::string& title, IProgressSink& progress);

} // namespace pigmentaria
