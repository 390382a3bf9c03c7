#include "editor/painting_view.h"

#include "image/painting_export.h"
#include "model/render.h"

#include <cmath>
#include <stdexcept>

namespace pigmentaria {

TPaintingView::TPaintingView(TPaintingDocument& document) : Doc_(document) {
    Doc_.AddObserver(this);
    if (Doc_.HasPainting()) Rendered_ = RenderPainting(Doc_.Shapes(), Zoom_, OutlinesOnly_);
}

TPaintingView::~TPaintingView() {
    Doc_.RemoveObserver(this);
}

void TPaintingView::DocumentChanged(TDocumentEvent event) {
    switch (event) {
    case TDocumentEvent::PaintingReplaced:
        // A new painting is shown whole: the outlines-only view goes off, and when a painting
        // was shown before the zoom returns to 100%.
        if (OutlinesOnly_ || TemplateView_) {
            OutlinesOnly_ = TemplateView_ = false;
            Notify(TDocumentEvent::ViewModeChanged);
        }
        if (!Rendered_.Empty() && Zoom_ != 1.0) {
            Zoom_ = 1.0;
            Notify(TDocumentEvent::ZoomChanged);
        }
        break;
    case TDocumentEvent::ShapesChanged:
        Render();
        break;
    default:
        break;
    }
}

void TPaintingView::SetZoom(double zoom) {
    if (!(zoom > 0) || !std::isfinite(zoom)) return;
    const bool changed = zoom != Zoom_;
    Zoom_ = zoom;
    if (changed) Notify(TDocumentEvent::ZoomChanged);
    Render();
}

void TPaintingView::SetOutlinesOnly(bool on) {
    const bool changed = on != OutlinesOnly_;
    OutlinesOnly_ = on;
    if (changed) Notify(TDocumentEvent::ViewModeChanged);
    Render();
}

void TPaintingView::SetTemplateView(bool on) {
    const bool changed = on != TemplateView_;
    TemplateView_ = on;
    if (changed) Notify(TDocumentEvent::ViewModeChanged);
    Render();
}

void TPaintingView::Render() {
    Rendered_ = Doc_.HasPainting()
                    ? RenderPainting(Doc_.Shapes(), Zoom_, OutlinesOnly_ || TemplateView_)
                    : TRaster24();
    Notify(TDocumentEvent::PaintingRendered);
}

std::optional<TColor> TPaintingView::PixelColor(int x, int y) const {
    if (!Rendered_.Contains(x, y)) return std::nullopt;
    if (TemplateView_) {
        // The cell's own colour, not the white it shows in.
        if (const TPaintShape* s = ShapeAt(x, y)) return s->Color;
        return std::nullopt;
    }
    return Rendered_.GetPixel(x, y);
}

TPaintShape* TPaintingView::ShapeAt(int x, int y) const {
    if (TemplateView_) {
        // Every cell is white here: the topmost shape drawn over the pixel is the one seen.
        if (!Rendered_.Contains(x, y)) return nullptr;
        // The pointer's colour swatch asks on every move: the bounds rule most shapes out.
        for (TPaintShape* s = Doc_.Shapes().Last(); s && s != Doc_.Shapes().First(); s = s->Prev) {
            if (ScaleCoord(s->Left, Zoom_) > x || x > ScaleCoord(s->Right, Zoom_) ||
                ScaleCoord(s->Top, Zoom_) > y || y > ScaleCoord(s->Bottom, Zoom_))
                continue;
            if (ShapeCoversPixel(*s, Zoom_, x, y)) return s;
        }
        return nullptr;
    }
    return ShapeAtPixel(Doc_.Shapes(), Rendered_, Zoom_, x, y);
}

void TPaintingView::ClickSelect(int x, int y, TShiftState shift) {
    if (const auto c = PixelColor(x, y)) Doc_.SetCurrentColor(*c);
    Doc_.SelectShape(ShapeAt(x, y), shift);
}

void TPaintingView::SelectRegion(int left, int top, int right, int bottom, bool currentColorOnly,
                                 TShiftState shift) {
    if (right <= left || bottom <= top) return;
    // The rectangle in painting pixels, each side truncated.
    Doc_.SelectInBounds(static_cast<std::int64_t>(left / Zoom_),
                        static_cast<std::int64_t>(top / Zoom_),
                        static_cast<std::int64_t>(right / Zoom_),
                        static_cast<std::int64_t>(bottom / Zoom_), currentColorOnly, shift);
}

void TPaintingView::Eyedropper(int x, int y) {
    if (const auto c = PixelColor(x, y)) Doc_.SetPaintColor(*c);
}

bool TPaintingView::Brushstroke(int x, int y) {
    TPaintShape* s = ShapeAt(x, y);
    if (!s) return false;
    Doc_.PaintShape(*s);
    return true;
}

bool TPaintingView::MergeCellAt(int x, int y) {
    TPaintShape* s = ShapeAt(x, y);
    return s && Doc_.MergeCell(*s);
}

std::optional<TRetraceInput> TPaintingView::RetraceInput(bool eliminateLines) const {
    if (!Doc_.HasPainting() || OutlinesOnly_) return std::nullopt;
    TRetraceInput input;
    input.Rendered = Zoom_ == 1.0 ? Rendered_ : RenderPainting(Doc_.Shapes(), 1.0);
    input.EliminateLines = eliminateLines;
    input.Generation = Doc_.Generation();
    return input;
}

bool TPaintingView::Retrace(IProgressSink& progress, bool eliminateLines) {
    std::optional<TRetraceInput> input = RetraceInput(eliminateLines);
    if (!input) return false;
    return Doc_.AdoptRetrace(pigmentaria::Retrace(std::move(*input), progress));
}

bool TPaintingView::ExportPainting(const std::filesystem::path& file) {
    if (!Doc_.HasPainting()) return false;
    try {
        ExportRenderedPainting(Rendered_, file.string());
    } catch (const std::runtime_error& e) {
        Doc_.Messages().Error(e.what());
        return false;
    }
    return true;
}

} // namespace pigmentaria
