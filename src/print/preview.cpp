#include "print/preview.h"

#include "platform/text_parse.h"
#include "print/page_render.h"

namespace pigmentaria {

int TPreviewPages::Row() const {
    return PagePosition(Page_, Across_).Row;
}

int TPreviewPages::Column() const {
    return PagePosition(Page_, Across_).Column;
}

bool TPreviewPages::Next() {
    if (Page_ >= Count()) return false;
    ++Page_;
    return true;
}

bool TPreviewPages::Previous() {
    if (Page_ <= 1) return false;
    --Page_;
    return true;
}

bool TPreviewPages::DownOneRow() {
    if (Across_ * (Down_ - 1) < Page_) return false;
    Page_ += Across_;
    return true;
}

bool TPreviewPages::UpOneRow() {
    if (Page_ <= Across_) return false;
    Page_ -= Across_;
    return true;
}

std::string TPreviewPages::Label() const {
    return FillParts(PageLabelPattern,
                     {std::to_string(Page_), std::to_string(Row()), std::to_string(Column())});
}

double PreviewZoomIn(double zoom) {
    return zoom < 3 ? zoom + 0.1 : zoom;
}

double PreviewZoomOut(double zoom) {
    // A factor of 0 or below would show nothing and invert the scroll range.
    return zoom - 0.1 > 1e-9 ? zoom - 0.1 : zoom;
}

TSheetSize PreviewSheetSize(const TPrintLayout& layout) {
    return {static_cast<int>(layout.ScreenDpiX * layout.PaperWidthIn),
            static_cast<int>(layout.ScreenDpiY * layout.PaperHeightIn)};
}

} // namespace pigmentaria
