#pragma once
// The print preview's rules: which page is shown, how the buttons step through the grid, the page
// label, the zoom steps, and the size of the sheet a page is drawn on.
#include "print/print_layout.h"

#include <string>

namespace pigmentaria {

inline constexpr const char* PageLabelPattern = "   Page: %1   (Row %2  Col %3)";

class TPreviewPages {
public:
    TPreviewPages(int across, int down) : Across_(across), Down_(down) {}

    int Count() const { return Across_ > 0 && Down_ > 0 ? Across_ * Down_ : 0; }
    int Page() const { return Page_; }
    int Row() const;
    int Column() const;

    // Each returns true when the page changed (and must be drawn again).
    bool Next();
    bool Previous();
    bool DownOneRow();
    bool UpOneRow();

    // "   Page: 3   (Row 2  Col 1)", from PageLabelPattern
    std::string Label() const;

private:
    int Across_, Down_;
    int Page_ = 1;
};

// The zoom buttons: in by 0.1 while below 3; out by 0.1 only while the factor stays positive.
double PreviewZoomIn(double zoom);
double PreviewZoomOut(double zoom);
// The zoom menu's fixed factors, in menu order ("25%" … "250%").
inline constexpr double PreviewZoomSteps[] = {0.25, 0.5, 0.75, 1, 1.25, 1.5, 2, 2.25, 2.5};
inline constexpr double PreviewOpeningZoom = 0.5;

// A whole sheet of paper at screen resolution.
struct TSheetSize {
    int Width = 0, Height = 0;
};
TSheetSize PreviewSheetSize(const TPrintLayout& layout);

} // namespace pigmentaria
