#pragma once
// The print dialog without its window: what the edits accept and how they are read, the check
// boxes and radio buttons with their enable rules, which changes are changes of the painting (so
// that closing asks to save it), the layout recomputed for the printer, the placement frame
// dragged and sized over the sample, and the flag that numbers the painting once per showing.
#include "platform/raster.h"
#include "print/print_layout.h"
#include "print/print_settings.h"
#include "print/printer.h"

#include <optional>
#include <string>
#include <string_view>

namespace pigmentaria {

// The page edits take up to two characters.
inline constexpr int PageEditMaxLength = 2;
// A page edit's text, trimmed, as a count of 0 to 99; none when it is not one.
std::optional<int> ReadPageEdit(std::string_view text);
// The overlap edit's text, trimmed, in inches (a full stop or the window's decimal point); none
// when it is not a number below 1000.
std::optional<double> ReadOverlapEdit(std::string_view text, char decimalPoint = '.');
// What the overlap edit shows for a value: the general form with up to 15 digits.
std::string OverlapEditText(double inches, char decimalPoint = '.');
// The message for an edit whose text is not a number.
std::string NotANumberMessage(std::string_view text);

// What the three edits hold.
struct TPrintEditTexts {
    std::string PagesAcross = "1";
    std::string PagesDown = "1";
    std::string Overlap = "1";
    friend bool operator==(const TPrintEditTexts&, const TPrintEditTexts&) = default;
};

// The hint of the frame and of its size handle.
inline constexpr const char* FrameHint = "Drag the green box to place the image.";
inline constexpr const char* SizeHandleHint = "Click and drag to size the image.";
// The size handle is a square of this many pixels.
inline constexpr int SizeHandleSize = 10;

class TPrintDialogState {
public:
    // --- what the layout is computed for
    void SetPrinter(const TPrinterMetrics& metrics, int orientation);
    void SetScreenDpi(int dpiX, int dpiY);
    // The painting's width and height (its frame shape's right and bottom).
    void SetPaintingSize(int width, int height);
    // The decimal point of the window's labels and overlap edit.
    void SetDecimalPoint(char point) { DecimalPoint_ = point; }

    const TPrintSettings& Settings() const { return Settings_; }
    const TPrintLayout& Layout() const { return Layout_; }
    const TPrintEditTexts& Texts() const { return Texts_; }
    const TPrinterMetrics& Printer() const { return Printer_; }
    int Orientation() const { return Orientation_; }

    // --- the dialog's life
    // Showing the dialog: the numbers flag and both drags cleared, the layout recomputed, a
    // hidden frame placed afresh for the painting, the handle at the frame's corner. Returns an
    // edit's problem, if any.
    std::optional<std::string> Show();
    // Recomputes the layout from the three edits, as when one of them loses the focus and before
    // printing. An edit that is not a number leaves settings and layout as they were and comes
    // back as the message. An overlap raised to cover the unprintable margins is written into
    // its edit.
    std::optional<std::string> Recompute();
    // After the printer setup ("Change..."), whatever its answer: the layout recomputed and the
    // frame placed afresh. Always a change of the painting.
    std::optional<std::string> PrinterChanged();
    // A new painting: the next showing places a frame for its proportions.
    void HideFrame();

    // --- the layout block kept with the painting
    // A block read with a painting: its settings and overlap, its frame (shown when its width is
    // not 0). The numbers and page-number choices are the dialog's own and stay.
    void ApplyBlock(const TPrintLayoutBlock& block);
    // The block to keep with the painting: the edits as they read now, the choices, the frame
    // while it is shown, and the printer's paper.
    TPrintLayoutBlock Block(const TPaperChoice& paper) const;

    // --- the edits: true when the text changed, which is a change of the painting. A text that
    // reads as a number is taken at once; the layout follows on Recompute.
    bool EditPagesAcross(std::string text);
    bool EditPagesDown(std::string text);
    bool EditOverlap(std::string text);

    // --- the choices: true when the value changed, a change of the painting
    bool SetRegistrationMarks(bool on);
    // "Print Outlines Only" (true) or "Fill Shapes With. . ." (false); outlines only needs all
    // shapes to be printed, and is refused otherwise.
    bool SetOutlinesOnly(bool on);
    bool SetOutlinesBlack(bool on);
    bool SetLineWeight(int position);
    bool SetFillWith(int fill);
    // A choice other than all shapes always fills.
    bool SetWhatToPrint(int code);
    // "#'s?" and "Print Page Numbers" are not kept with the painting: no change of it.
    void SetPrintNumbers(bool on) { Settings_.PrintNumbers = on; }
    void SetPageNumbers(bool on) { Settings_.PageNumbers = on; }
    TPrintControlsEnabled Enabled() const { return PrintControlsEnabled(Settings_); }
    // Print and Preview need a page.
    bool HasPages() const { return Settings_.PagesAcross > 0 && Settings_.PagesDown > 0; }

    // --- the placement frame and its size handle, in the sample panel's pixels
    const TPlacementFrame& Frame() const { return Settings_.Frame; }
    TPoint Handle() const { return Handle_; }
    bool Dragging() const { return Dragging_; }
    bool Sizing() const { return Sizing_; }
    void FrameMouseDown(TPoint at);
    // True when the frame moved: a change of the painting.
    bool FrameMouseMove(TPoint at);
    void FrameMouseUp() { Dragging_ = false; }
    void HandleMouseDown(TPoint at);
    // True when the frame's size changed: a change of the painting.
    bool HandleMouseMove(TPoint at);
    // Ends sizing; the handle goes back to the frame's corner.
    void HandleMouseUp();

    // --- the labels
    std::string PrinterSheetLabel() const { return PaperSizeText(Layout_, DecimalPoint_); }
    std::string OrientationLabel() const { return OrientationText(Layout_); }
    std::string PrintSizeLabel() const { return PrintSizeText(Layout_, DecimalPoint_); }
    std::string ImageSizeLabel() const {
        return ImageSizeText(Layout_, Settings_.Frame, DecimalPoint_);
    }

    // --- numbers, placed at most once per showing
    bool NumbersAdded() const { return NumbersAdded_; }
    void MarkNumbersAdded() { NumbersAdded_ = true; }
    // The painting lost its numbers (traced again while the dialog shows): printing places
    // them again.
    void ForgetNumbers() { NumbersAdded_ = false; }
    // Numbers are asked for and this showing has not placed them yet.
    bool NumbersWanted() const { return Settings_.PrintNumbers && !NumbersAdded_; }

private:
    void PlaceFrameAfresh();
    void FrameChanged();

    TPrinterMetrics Printer_ =
        MetricsForPaper(PaperSizeOfCode(PaperLetter), poPortrait, 600, 600, 0.25);
    int Orientation_ = poPortrait;
    int ScreenDpiX_ = DefaultScreenDpi, ScreenDpiY_ = DefaultScreenDpi;
    int PaintingWidth_ = 0, PaintingHeight_ = 0;
    char DecimalPoint_ = '.';

    TPrintSettings Settings_;
    TPrintLayout Layout_;
    TPrintEditTexts Texts_;
    TPoint Handle_{0, 0};
    bool Dragging_ = false, Sizing_ = false;
    TPoint Mouse_{0, 0};
    bool NumbersAdded_ = false;
};

} // namespace pigmentaria
