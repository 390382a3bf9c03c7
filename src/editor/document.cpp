#include "editor/document.h"

#include "image/painting_export.h"
#include "model/render.h"
#include "model/shape_merge.h"
#include "palette/color_functions.h"
#include "platform/text_parse.h"
#include "print/print_scale.h"

#include <utility>

namespace pigmentaria {

TRetraceResult Retrace(TRetraceInput input, IProgressSink& progress) {
    TRetraceResult out;
    out.Trace = RetraceRendering(input.Rendered, input.EliminateLines, progress);
    out.Source = std::move(input.Rendered);
    out.Generation = input.Generation;
    return out;
}

TSimplifyResult Simplify(TSimplifyInput input, IProgressSink& progress) {
    TSimplifyResult out;
    out.Simplified =
        SimplifyForPrinting(input.Rendered, input.Original, input.Controls, input.Limits, progress);
    out.Source = std::move(input.Original);
    out.Generation = input.Generation;
    return out;
}

TPaintingDocument::TPaintingDocument(IMessageSink& messages) : Messages_(messages) {}

// --- setters

void TPaintingDocument::SetModified(bool modified) {
    if (Modified_ == modified) return;
    Modified_ = modified;
    Notify(TDocumentEvent::ModifiedChanged);
}

void TPaintingDocument::SetCustomPalette(TNamedPalette palette) {
    CustomPalette_ = std::move(palette);
    Notify(TDocumentEvent::CustomPaletteChanged);
}

void TPaintingDocument::SetPrintLayout(const TPrintLayoutBlock& layout) {
    if (PrintLayout_ == layout) return;
    PrintLayout_ = layout;
    Notify(TDocumentEvent::PrintLayoutChanged);
}

void TPaintingDocument::SetSourcePicture(TRaster24 picture) {
    SourcePicture_ = std::move(picture);
    Notify(TDocumentEvent::SourcePictureChanged);
}

void TPaintingDocument::SetPaintColor(TColor color) {
    if (PaintColor_ == color) return;
    PaintColor_ = color;
    Notify(TDocumentEvent::PaintColorChanged);
}

void TPaintingDocument::SetCurrentColor(std::optional<TColor> color) {
    if (CurrentColor_ == color) return;
    CurrentColor_ = color;
    Notify(TDocumentEvent::CurrentColorChanged);
}

std::string TPaintingDocument::PaintLabel() const {
    return PaintLabelText(PaintColor_, &CustomPalette_);
}

// --- telling the observers

void TPaintingDocument::NotifyFlags(const TStamp& before) {
    if (Modified_ != before.Modified) Notify(TDocumentEvent::ModifiedChanged);
    if (Undo_.Caption() != before.Caption || Undo_.RedoCaption() != before.RedoCaption)
        Notify(TDocumentEvent::UndoCaptionChanged);
}

void TPaintingDocument::ShapesEdited(const TStamp& before, bool colorsChanged) {
    ++Generation_;
    Notify(TDocumentEvent::ShapesChanged);
    if (colorsChanged) RebuildPalette();
    NotifyFlags(before);
}

void TPaintingDocument::RebuildPalette() {
    const std::uint64_t outline = OutlineFingerprint(Shapes_);
    if (!FrameShows_ || outline != FrameOutline_) {
        FrameShows_ = FrameShowsThrough(Shapes_);
        FrameOutline_ = outline;
    }
    RebuildPaintingPalette(PaintingPalette_, Shapes_, *FrameShows_);
    Notify(TDocumentEvent::PaletteRebuilt);
}

void TPaintingDocument::ClearPainting() {
    Selection_.Clear();
    const bool hadLabels = !Labels_.empty();
    Labels_.clear();
    // The print layout's placement frame belongs to the painting it was placed on.
    TPrintLayoutBlock layout = PrintLayout_;
    layout.FrameTop = layout.FrameLeft = 0;
    layout.FrameWidth = layout.FrameHeight = 0;
    if (hadLabels) Notify(TDocumentEvent::LabelsChanged);
    SetPrintLayout(layout);
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
    const TStamp before = Stamp();
    Undo_.Discard();
    ClearPainting();
    Shapes_ = std::move(contents.Shapes);
    Modified_ = false;
    SetPrintLayout(contents.Layout);
    ShapesEdited(before, true);
    Notify(TDocumentEvent::SelectionChanged);
    ForgetTemplate();
    return TOpenedPainting{std::move(contents.PaletteName), contents.Layout};
}

bool TPaintingDocument::SavePainting(const std::filesystem::path& file,
                                     const std::string& paletteName, bool outlinesOnly) {
    TPaintingWriteOptions options;
    options.OutlinesOnly = outlinesOnly;
    // Linux users expect a drawing they can open anywhere under ".svg".
    options.SvgAllowed = true;
    options.PaletteName = paletteName;
    options.Layout = PrintLayout_;
    try {
        WritePainting(file, Shapes_, options);
    } catch (const EFileError& e) {
        Messages_.Error(e.what());
        return false;
    }
    SetModified(false);
    return true;
}

// --- a new painting

void TPaintingDocument::ReplaceShapes(TShapeList shapes, int tracedShapeCount,
                                      const std::string& undoCaption) {
    const TStamp before = Stamp();
    // The former shapes are only set aside, so that undo brings them back whole.
    if (HasPainting()) Undo_.SnapshotReplacedList(Shapes_.Detach(), undoCaption);
    ClearPainting();
    Shapes_ = std::move(shapes);
    TracerShapeCount_ = tracedShapeCount;
    Modified_ = false;
    Notify(TDocumentEvent::PaintingReplaced);
    ShapesEdited(before, true);
    Notify(TDocumentEvent::SelectionChanged);
    ForgetTemplate();
}

void TPaintingDocument::ForgetTemplate() {
    if (!Template_) return;
    Template_.reset();
    Notify(TDocumentEvent::TemplateChanged);
}

void TPaintingDocument::AdoptImport(TTraceResult traced) {
    ReplayMessages(traced.Messages, Messages_);
    ReplaceShapes(std::move(traced.Shapes), traced.ShapeCount, UndoImport);
}

void TPaintingDocument::AdoptTemplate(TTemplateResult made) {
    ReplayMessages(made.Trace.Messages, Messages_);
    ReplaceShapes(std::move(made.Trace.Shapes), made.Trace.ShapeCount, UndoImport);
    const TStamp before = Stamp();
    SetPrintLayout(made.Plan.Layout);
    Labels_ = std::move(made.Labels);
    Notify(TDocumentEvent::LabelsChanged);
    // Made, not read from a file: nothing of it is saved yet.
    Modified_ = true;
    NotifyFlags(before);
    Template_ = TTemplateTraits{std::move(made.Request), made.Plan.Scale};
    Notify(TDocumentEvent::TemplateChanged);
}

bool TPaintingDocument::AdoptRetrace(TRetraceResult retraced) {
    if (retraced.Generation != Generation_ || !HasPainting()) return false;
    ReplayMessages(retraced.Trace.Messages, Messages_);
    const TStamp before = Stamp();
    Undo_.SnapshotReplacedList(Shapes_.Detach(), UndoRetrace);
    ClearPainting();
    Shapes_ = std::move(retraced.Trace.Shapes);
    TracerShapeCount_ = retraced.Trace.ShapeCount;
    Modified_ = true;
    // The rendered painting becomes the picture that later re-traces start from.
    SetSourcePicture(std::move(retraced.Source));
    Notify(TDocumentEvent::PaintingReplaced);
    ShapesEdited(before, true);
    Notify(TDocumentEvent::SelectionChanged);
    // Traced afresh, its outlines are no longer the template's shared ones.
    ForgetTemplate();
    return true;
}

// --- simplify for printing

std::optional<TSimplifyInput>
TPaintingDocument::SimplifyInput(const TSimplifyRequest& request) const {
    if (!HasPainting()) return std::nullopt;
    const int w = Shapes_.PaintingWidth(), h = Shapes_.PaintingHeight();
    const TPrinterMetrics printer =
        request.Printer ? *request.Printer : PdfSheetMetrics(PaperOfBlock(PrintLayout_));
    const TBlockPrint print = PrintOfBlock(PrintLayout_, printer, w, h);
    if (print.Settings.PagesAcross < 1 || print.Settings.PagesDown < 1) return std::nullopt;
    TSimplifyInput input;
    input.Limits.MinDiameter =
        MinimumDiameterPixels(print.Layout, print.Settings.Frame, w, h, request.MinMm);
    if (!(input.Limits.MinDiameter > 0)) return std::nullopt;
    input.Limits.CutNecks = input.Limits.MinDiameter >= MinNeckDiameter;
    input.Rendered = RenderPainting(Shapes_, 1.0);
    input.Original = SourcePicture_.Width() == input.Rendered.Width() &&
                             SourcePicture_.Height() == input.Rendered.Height()
                         ? SourcePicture_
                         : input.Rendered;
    input.Controls = request.Controls;
    input.Generation = Generation_;
    return input;
}

bool TPaintingDocument::AdoptSimplify(TSimplifyResult simplified) {
    if (simplified.Generation != Generation_ || !HasPainting()) return false;
    TTraceResult& trace = simplified.Simplified.Trace;
    ReplayMessages(trace.Messages, Messages_);
    const TStamp before = Stamp();
    Undo_.SnapshotReplacedList(Shapes_.Detach(), UndoSimplify);
    Selection_.Clear();
    if (!Labels_.empty()) {
        Labels_.clear();
        Notify(TDocumentEvent::LabelsChanged);
    }
    Shapes_ = std::move(trace.Shapes);
    TracerShapeCount_ = trace.ShapeCount;
    Modified_ = true;
    SetSourcePicture(std::move(simplified.Source));
    Notify(TDocumentEvent::PaintingReplaced);
    ShapesEdited(before, true);
    Notify(TDocumentEvent::SelectionChanged);
    return true;
}

bool TPaintingDocument::SimplifyForPrinting(const TSimplifyRequest& request,
                                            IProgressSink& progress) {
    std::optional<TSimplifyInput> input = SimplifyInput(request);
    if (!input) return false;
    return AdoptSimplify(Simplify(std::move(*input), progress));
}

// --- selection

void TPaintingDocument::SelectShape(TPaintShape* shape, TShiftState shift) {
    if (!shift.Shift && !shift.Ctrl) Selection_.Clear();
    if (shape) {
        if (shift.Ctrl)
            Selection_.Remove(shape);
        else
            Selection_.Add(shape);
    }
    Notify(TDocumentEvent::SelectionChanged);
}

void TPaintingDocument::SelectInBounds(std::int64_t l, std::int64_t t, std::int64_t r,
                                       std::int64_t b, bool currentColorOnly, TShiftState shift) {
    if (!shift.Shift && !shift.Ctrl) Selection_.Clear();
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
    Notify(TDocumentEvent::SelectionChanged);
}

void TPaintingDocument::SelectAllButton(TShiftState shift) {
    if (shift.Ctrl) {
        Selection_.Clear();
    } else {
        for (TPaintShape& s : Shapes_)
            Selection_.Add(&s);
    }
    Notify(TDocumentEvent::SelectionChanged);
}

void TPaintingDocument::SelectAll() {
    Selection_.Clear();
    for (TPaintShape& s : Shapes_)
        Selection_.Add(&s);
    Notify(TDocumentEvent::SelectionChanged);
}

void TPaintingDocument::DeselectAll() {
    Selection_.Clear();
    Notify(TDocumentEvent::SelectionChanged);
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
    Notify(TDocumentEvent::SelectionChanged);
}

// --- commands

void TPaintingDocument::PaintShape(TPaintShape& shape) {
    const TStamp before = Stamp();
    Modified_ = true;
    Undo_.SnapshotShape(shape, UndoBrushstroke, TSnapshotOf::Color);
    shape.Color = PaintColor_;
    ShapesEdited(before, true);
}

void TPaintingDocument::PaintSelection() {
    const TStamp before = Stamp();
    Modified_ = true;
    Undo_.SnapshotSelected(Selection_, UndoPaint, TSnapshotOf::Color);
    for (TPaintShape* s : Selection_)
        s->Color = PaintColor_;
    ShapesEdited(before, true);
}

void TPaintingDocument::DeleteSelection() {
    const TStamp before = Stamp();
    Modified_ = true;
    Undo_.SnapshotForDeletion(UndoDelete);
    for (TPaintShape* s : Selection_)
        if (!IsFrame(s)) Undo_.AddDeleted(Shapes_.Unlink(s));
    Selection_.Clear();
    ShapesEdited(before, true);
    Notify(TDocumentEvent::SelectionChanged);
}

void TPaintingDocument::SmoothSelection() {
    const TStamp before = Stamp();
    Modified_ = true;
    Undo_.SnapshotSelected(Selection_, UndoSmooth);
    for (TPaintShape* s : Selection_)
        if (!IsFrame(s)) SmoothShape(*s);
    ShapesEdited(before, false);
}

void TPaintingDocument::ReacquireSelectedColors() {
    const TStamp before = Stamp();
    Modified_ = true;
    Undo_.SnapshotSelected(Selection_, UndoColorAcquisition, TSnapshotOf::Color);
    for (TPaintShape* s : Selection_)
        s->Color = s->AcquiredColor;
    ShapesEdited(before, true);
}

void TPaintingDocument::ReacquireAllColors() {
    const TStamp before = Stamp();
    Modified_ = true;
    Undo_.SnapshotAll(Shapes_, UndoColorAcquisition, TSnapshotOf::Color);
    for (TPaintShape& s : Shapes_)
        s.Color = s.AcquiredColor;
    ShapesEdited(before, true);
}

void TPaintingDocument::ReplaceColor(TColor color) {
    const TStamp before = Stamp();
    Modified_ = true;
    Undo_.SnapshotColor(Shapes_, color, UndoReplaceColor, TSnapshotOf::Color);
    for (TPaintShape& s : Shapes_)
        if (s.Color == color) s.Color = PaintColor_;
    ShapesEdited(before, true);
}

bool TPaintingDocument::ReplacePalette() {
    if (CustomPalette_.Empty()) return false;
    const TStamp before = Stamp();
    Modified_ = true;
    Undo_.SnapshotAll(Shapes_, UndoReplacePalette, TSnapshotOf::Color);
    for (TPaintShape& s : Shapes_)
        s.Color = NearestPaletteColor(s.Color, CustomPalette_);
    ShapesEdited(before, true);
    return true;
}

bool TPaintingDocument::MergeCell(TPaintShape& cell) {
    const std::optional<TShapeMerge> plan = PlanCellMerge(Shapes_, cell);
    if (!plan) return false;
    const TStamp before = Stamp();
    Modified_ = true;
    Undo_.SnapshotArrangement(Shapes_, UndoMergeCell);
    Undo_.SaveBeforeChange(*plan->Kept);
    TShapePtr removed = ApplyMerge(Shapes_, *plan);
    const bool wasSelected = Selection_.IsSelected(removed.get());
    Selection_.Remove(removed.get());
    Undo_.AddRemoved(std::move(removed));
    ShapesEdited(before, true);
    if (wasSelected) Notify(TDocumentEvent::SelectionChanged);
    return true;
}

bool TPaintingDocument::MergeTouchingShapesOfOneColour() {
    const TStamp before = Stamp();
    bool begun = false;
    std::vector<TShapePtr> removed =
        pigmentaria::MergeTouchingShapesOfOneColour(Shapes_, [&](const TShapeMerge& m) {
            // The step starts at the first merge, while the list is still as it was.
            if (!begun) Undo_.SnapshotArrangement(Shapes_, UndoMergeShapes);
            begun = true;
            Undo_.SaveBeforeChange(*m.Kept);
        });
    if (removed.empty()) return false;
    Modified_ = true;
    bool selectionChanged = false;
    for (TShapePtr& s : removed) {
        if (Selection_.IsSelected(s.get())) {
            Selection_.Remove(s.get());
            selectionChanged = true;
        }
        Undo_.AddRemoved(std::move(s));
    }
    ShapesEdited(before, true);
    if (selectionChanged) Notify(TDocumentEvent::SelectionChanged);
    return true;
}

bool TPaintingDocument::UndoLast() {
    const TStamp before = Stamp();
    if (!Undo_.Undo(Shapes_, Selection_)) return false;
    ShapesEdited(before, true);
    Notify(TDocumentEvent::SelectionChanged);
    return true;
}

bool TPaintingDocument::RedoLast() {
    const TStamp before = Stamp();
    if (!Undo_.Redo(Shapes_, Selection_)) return false;
    Modified_ = true;
    ShapesEdited(before, true);
    Notify(TDocumentEvent::SelectionChanged);
    return true;
}

void TPaintingDocument::SetUndoDepth(std::size_t steps) {
    const TStamp before = Stamp();
    Undo_.SetDepth(steps);
    NotifyFlags(before);
}

// --- numbers

TNumberingInput TPaintingDocument::NumberingInput() const {
    return {Shapes_.Clone(), PaintingPalette_, Generation_};
}

bool TPaintingDocument::AdoptLabels(TNumberingResult result) {
    if (result.Generation != Generation_) return false;
    ReplayMessages(result.Messages, Messages_);
    Labels_ = std::move(result.Labels);
    Notify(TDocumentEvent::LabelsChanged);
    return true;
}

void TPaintingDocument::PlaceNumbers(IProgressSink& progress) {
    TNumberingResult result;
    TCollectedMessages messages;
    result.Labels = pigmentaria::PlaceNumbers(Shapes_, PaintingPalette_, progress, messages);
    result.Messages = messages.Take();
    result.Generation = Generation_;
    AdoptLabels(std::move(result));
}

std::string TPaintingDocument::PaintRecipeLine(TColor color) const {
    if (!Template_ || !Template_->Request.Tubes || !PaintingPalette_.Has(color)) return {};
    const int number = NumberByPaintingPalette(PaintingPalette_)(color);
    if (number <= 0) return {};
    const TMixTable& tubes = *Template_->Request.Tubes;
    const TRecipe recipe = tubes.Best(color);
    return "Paint " + std::to_string(number) + ": " + RecipeText(recipe, tubes.Tubes()) +
           ", \u0394E " + FormatFixed(recipe.DeltaE, 1);
}

std::optional<TTemplateNumbersInput> TPaintingDocument::TemplateNumbersInput() const {
    if (!Template_ || !HasPainting()) return std::nullopt;
    const TPrintGeometry print =
        PdfPrintOfBlock(PrintLayout_, Shapes_.PaintingWidth(), Shapes_.PaintingHeight());
    return TTemplateNumbersInput{Shapes_.Clone(),
                                 PaintingPalette_,
                                 {Template_->OutlineScale, print.Layout, print.Settings.Frame},
                                 Generation_};
}

TNumberingResult PlaceTemplateNumbers(const TTemplateNumbersInput& input) {
    return {
        PlaceTemplateNumbers(input.Shapes, input.Palette, input.Numbering), {}, input.Generation};
}

TPrintSnapshot TPaintingDocument::PrintSnapshot() const {
    TPrintSnapshot snapshot;
    snapshot.Shapes = Shapes_.Clone();
    snapshot.Selection = CloneSelection(Selection_, Shapes_, snapshot.Shapes);
    snapshot.CurrentColor = CurrentColor_.value_or(static_cast<TColor>(-1));
    snapshot.Labels = Labels_;
    snapshot.Palette = PaintingPalette_;
    snapshot.Generation = Generation_;
    return snapshot;
}

} // namespace pigmentaria
