#include "editor/document.h"

#include "convert/tracer.h"
#include "editor/painting_export.h"
#include "model/render.h"
#include "palette/color_functions.h"

namespace pigmentaria {

TPaintingDocument::TPaintingDocument(IMessageSink& messages) : Messages_(messages) {}

void TPaintingDocument::SetZoom(double zoom) {
    if (!(zoom > 0)) return;
    Zoom_ = zoom;
    Render();
}

void TPaintingDocument::SetOutlinesOnly(bool on) {
    OutlinesOnly_ = on;
    Render();
}

void TPaintingDocument::Render() {
    Rendered_ = HasPainting() ? RenderPainting(Shapes_, Zoom_, OutlinesOnly_) : TRaster24();
    if (Observer_) Observer_->PaintingRendered();
}

void TPaintingDocument::SetPaintColor(TColor color) {
    PaintColor_ = color;
    if (Observer_) Observer_->PaintColorChanged();
}

std::string TPaintingDocument::PaintLabel() const {
    return PaintLabelText(PaintColor_, &CustomPalette_);
}

void TPaintingDocument::RebuildPalette() {
    RebuildPaintingPalette(PaintingPalette_, Shapes_);
    if (Observer_) Observer_->PaletteRebuilt();
}

void TPaintingDocument::NotifySelection() {
    if (Observer_) Observer_->SelectionChanged();
}

void TPaintingDocument::ClearPainting() {
    Selection_.Clear();
    Labels_.clear();
    // The print layout's placement frame belongs to the painting it was placed on.
    PrintLayout_.FrameTop = PrintLayout_.FrameLeft = 0;
    PrintLayout_.FrameWidth = PrintLayout_.FrameHeight = 0;
}

std::optional<TColor> TPaintingDocument::RenderedPixel(int x, int y) const {
    if (!Rendered_.Contains(x, y)) return std::nullopt;
    return Rendered_.GetPixel(x, y);
}

TPaintShape* TPaintingDocument::HitTest(int x, int y) const {
    return ShapeAtPixel(Shapes_, Rendered_, Zoom_, x, y);
}

// --- files

std::optional<TOpenedPainting> TPaintingDocument::OpenPainting(const std::filesystem::path& file) {
    TPaintingFileContents contents;
    try {
        contents = ReadPaintingFile(file);
    } catch (const EFileError& e) {
        Messages_.Error(e.what());
        return std::nullopt;
    }
    Undo_.Discard();
    ClearPainting();
    Shapes_ = std::move(contents.Shapes);
    PrintLayout_ = contents.Layout;
    Settings_.RecentFiles.Add(file.string());
    RebuildPalette();
    Render();
    NotifySelection();
    Modified_ = false;
    return TOpenedPainting{std::move(contents.PaletteName), contents.Layout};
}

bool TPaintingDocument::SavePainting(const std::filesystem::path& file,
                                     const std::string& paletteName) {
    // A metafile name saves the drawing itself, as the view shows it; it is not a painting file
    // the program could open again, so it stays out of the recent files.
    const bool metafile = MetafileFormatForName(file.string()) != TMetafileFormat::None;
    try {
        if (metafile)
            SavePaintingAsMetafile(file.string(), Shapes_, OutlinesOnly_);
        else
            WritePaintingFile(file, Shapes_, paletteName, PrintLayout_);
    } catch (const EFileError& e) {
        Messages_.Error(e.what());
        return false;
    }
    if (!metafile) Settings_.RecentFiles.Add(file.string());
    Modified_ = false;
    return true;
}

bool TPaintingDocument::ExportPainting(const std::filesystem::path& file) {
    if (!HasPainting()) return false;
    try {
        ExportRenderedPainting(Rendered_, file.string());
    } catch (const std::runtime_error& e) {
        Messages_.Error(e.what());
        return false;
    }
    return true;
}

// --- import

void TPaintingDocument::ReplaceShapes(TShapeList shapes, int tracedShapeCount,
                                      const std::string& undoCaption) {
    OutlinesOnly_ = false;
    if (HasPainting()) {
        // The former shapes are only set aside, so that undo brings them back whole.
        Undo_.SnapshotReplacedList(Shapes_.Detach(), undoCaption);
        Zoom_ = 1.0;
    }
    ClearPainting();
    Shapes_ = std::move(shapes);
    TracerShapeCount_ = tracedShapeCount;
    RebuildPalette();
    Render();
    NotifySelection();
    Modified_ = false;
}

// --- selection

void TPaintingDocument::ClickSelect(int x, int y, TShiftState shift) {
    if (const auto c = RenderedPixel(x, y)) CurrentColor_ = *c;
    if (!shift.Shift && !shift.Ctrl) Selection_.Clear();
    if (TPaintShape* s = HitTest(x, y)) {
        if (shift.Ctrl)
            Selection_.Remove(s);
        else
            Selection_.Add(s);
    }
    NotifySelection();
}

void TPaintingDocument::SelectRegion(int left, int top, int right, int bottom,
                                     bool currentColorOnly, TShiftState shift) {
    if (right > left && bottom > top) {
        if (!shift.Shift && !shift.Ctrl) Selection_.Clear();
        // The rectangle in painting pixels, each side truncated.
        const auto l = static_cast<std::int64_t>(left / Zoom_);
        const auto t = static_cast<std::int64_t>(top / Zoom_);
        const auto r = static_cast<std::int64_t>(right / Zoom_);
        const auto b = static_cast<std::int64_t>(bottom / Zoom_);
        auto inside = [&](const TPaintShape* s) {
            if (s->Left < l || s->Top < t || r < s->Right || b < s->Bottom) return false;
            return !currentColorOnly || (CurrentColor_ && s->Color == *CurrentColor_);
        };
        if (shift.Ctrl) {
            Selection_.RemoveIf(inside);
        } else {
            for (TPaintShape& s : Shapes_)
                if (inside(&s)) Selection_.Add(&s);
        }
    }
    NotifySelection();
}

void TPaintingDocument::SelectAllButton(TShiftState shift) {
    if (shift.Ctrl) {
        Selection_.Clear();
    } else {
        for (TPaintShape& s : Shapes_)
            Selection_.Add(&s);
    }
    NotifySelection();
}

void TPaintingDocument::SelectAll() {
    Selection_.Clear();
    for (TPaintShape& s : Shapes_)
        Selection_.Add(&s);
    NotifySelection();
}

void TPaintingDocument::DeselectAll() {
    Selection_.Clear();
    NotifySelection();
}

void TPaintingDocument::SelectCurrentColor(TShiftState shift) {
    if (!shift.Shift && !shift.Ctrl) Selection_.Clear();
    if (CurrentColor_) {
        const TColor c = *CurrentColor_;
        if (shift.Ctrl) {
            Selection_.RemoveIf([c](const TPaintShape* s) { return s->Color == c; });
        } else {
            for (TPaintShape& s : Shapes_)
                if (s.Color == c) Selection_.Add(&s);
        }
    }
    NotifySelection();
}

// --- tools and commands

void TPaintingDocument::Eyedropper(int x, int y) {
    if (const auto c = RenderedPixel(x, y)) SetPaintColor(*c);
}

bool TPaintingDocument::Brushstroke(int x, int y) {
    TPaintShape* s = HitTest(x, y);
    if (!s) return false;
    Modified_ = true;
    Undo_.SnapshotShape(*s, UndoBrushstroke);
    s->Color = PaintColor_;
    Render();
    RebuildPalette();
    return true;
}

void TPaintingDocument::PaintSelection() {
    Modified_ = true;
    Undo_.SnapshotSelected(Selection_, UndoPaint);
    for (TPaintShape* s : Selection_)
        s->Color = PaintColor_;
    Render();
    RebuildPalette();
}

void TPaintingDocument::DeleteSelection() {
    Modified_ = true;
    Undo_.SnapshotForDeletion(UndoDelete);
    for (TPaintShape* s : Selection_)
        if (!IsFrame(s)) Undo_.AddDeleted(Shapes_.Unlink(s));
    Selection_.Clear();
    Render();
    RebuildPalette();
    NotifySelection();
}

void TPaintingDocument::SmoothSelection() {
    Modified_ = true;
    Undo_.SnapshotSelected(Selection_, UndoSmooth);
    for (TPaintShape* s : Selection_)
        if (!IsFrame(s)) SmoothShape(*s);
    Render();
}

void TPaintingDocument::ReacquireSelectedColors() {
    Modified_ = true;
    Undo_.SnapshotSelected(Selection_, UndoColorAcquisition);
    for (TPaintShape* s : Selection_)
        s->Color = s->AcquiredColor;
    Render();
    RebuildPalette();
}

void TPaintingDocument::ReacquireAllColors() {
    Modified_ = true;
    Undo_.SnapshotAll(Shapes_, UndoColorAcquisition);
    for (TPaintShape& s : Shapes_)
        s.Color = s.AcquiredColor;
    Render();
    RebuildPalette();
}

bool TPaintingDocument::Retrace(IProgressSink& progress, bool eliminateLines) {
    if (!HasPainting() || OutlinesOnly_) return false;
    Modified_ = true;
    Zoom_ = 1.0;
    Render();
    Undo_.SnapshotReplacedList(Shapes_.Detach(), UndoRetrace);
    ClearPainting();
    // The rendered painting becomes the picture that later re-traces start from.
    SourcePicture_ = Rendered_;
    const TTraceSettings settings{TOutlineMethod::HalfLine, 2, eliminateLines};
    TracerShapeCount_ =
        TraceRegions(SourcePicture_, SourcePicture_, settings, Shapes_, progress, Messages_);
    RebuildPalette();
    Render();
    NotifySelection();
    return true;
}

void TPaintingDocument::ReplaceColor(TColor color) {
    Modified_ = true;
    Undo_.SnapshotColor(Shapes_, color, UndoReplaceColor);
    for (TPaintShape& s : Shapes_)
        if (s.Color == color) s.Color = PaintColor_;
    Render();
    RebuildPalette();
}

bool TPaintingDocument::ReplacePalette() {
    if (CustomPalette_.Empty()) return false;
    Modified_ = true;
    Undo_.SnapshotAll(Shapes_, UndoReplacePalette);
    for (TPaintShape& s : Shapes_)
        s.Color = NearestPaletteColor(s.Color, CustomPalette_);
    Render();
    RebuildPalette();
    return true;
}

bool TPaintingDocument::UndoLast() {
    if (!Undo_.Undo(Shapes_, Selection_)) return false;
    Render();
    RebuildPalette();
    NotifySelection();
    return true;
}

void TPaintingDocument::PlaceNumbers(IProgressSink& progress) {
    Labels_.clear();
    Labels_ = pigmentaria::PlaceNumbers(Shapes_, PaintingPalette_, progress, Messages_);
}

} // namespace pigmentaria
