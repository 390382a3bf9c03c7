#pragma once
// The one open painting and everything that belongs to it: shapes and selection, undo, the
// painting and custom palettes, number labels, the modified flag, the current and paint colours,
// the tracer's running shape count, the print layout stored with the painting and the source
// picture for re-tracing. The editing commands live here as operations; every change is told to
// the observers (document_events.h). How the painting is shown (zoom, outlines-only, the
// rendering, and the tools that work in viewer pixels) is the view's (painting_view.h); settings
// and recent files are the application's (editor/app_state.h).
#include "convert/conversion.h"
#include "convert/template_pipeline.h"
#include "editor/document_events.h"
#include "editor/undo.h"
#include "model/painting_file.h"
#include "model/shape.h"
#include "palette/palette.h"
#include "platform/raster.h"
#include "platform/report.h"
#include "print/numbers.h"
#include "print/print_job.h"
#include "print/printer.h"
#include "print/template_job.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace pigmentaria {

// Modifier keys held during a click or a region drag.
struct TShiftState {
    bool Shift = false;
    bool Ctrl = false;
};

// What an opened painting hands back for the palette window and the print dialog to apply.
struct TOpenedPainting {
    std::string PaletteName;
    TPrintLayoutBlock Layout;
};

// A re-trace's work: the painting rendered at zoom 1 (made by the view), traced on a worker.
struct TRetraceInput {
    TRaster24 Rendered;
    bool EliminateLines = true;
    std::uint64_t Generation = 0;
};
struct TRetraceResult {
    // The rendering traced, which becomes the source picture.
    TRaster24 Source;
    TTraceResult Trace;
    std::uint64_t Generation = 0;
};
// "Re-Trace Painting" as work on a worker: traces the rendering with "Half-line" and step 2.
TRetraceResult Retrace(TRetraceInput input, IProgressSink& progress);

// What "Simplify For Printing" asks: the narrowest region on paper, the trace controls of the
// import, and the printer the painting's print layout is printed on.
struct TSimplifyRequest {
    double MinMm = DefaultTemplateMinMm;
    TConversionControls Controls = TemplateTraceControls();
    // None: a PDF sheet of the layout's paper, A4 when the layout names none.
    std::optional<TPrinterMetrics> Printer;
};
// The simplification's work: the painting rendered at zoom 1 and the picture its shapes take
// their acquired colours from (the source picture when it has the painting's size, else the
// rendering), cleaned up with the limits and traced with the controls on a worker.
struct TSimplifyInput {
    TRaster24 Rendered;
    TRaster24 Original;
    TConversionControls Controls;
    TCleanupSettings Limits;
    std::uint64_t Generation = 0;
};
struct TSimplifyResult {
    // The picture the shapes took their acquired colours from, which becomes the source picture.
    TRaster24 Source;
    TSimplifiedPainting Simplified;
    std::uint64_t Generation = 0;
};
// "Simplify For Printing" as work on a worker.
TSimplifyResult Simplify(TSimplifyInput input, IProgressSink& progress);

// What a template painting keeps beyond its shapes: what it was made for (its paints and tubes,
// for the paint sheet) and the outline scale its numbers are placed at when it prints.
struct TTemplateTraits {
    TTemplateRequest Request;
    int OutlineScale = TemplateOutlineScale;
};

// A template's numbers placed afresh after an edit, as work on a worker: for the print its
// layout block describes.
struct TTemplateNumbersInput {
    TShapeList Shapes;
    TNamedPalette Palette;
    TTemplateNumbering Numbering;
    std::uint64_t Generation = 0;
};
TNumberingResult PlaceTemplateNumbers(const TTemplateNumbersInput& input);

class TPaintingDocument {
public:
    explicit TPaintingDocument(IMessageSink& messages);
    TPaintingDocument(const TPaintingDocument&) = delete;
    TPaintingDocument& operator=(const TPaintingDocument&) = delete;

    void AddObserver(IDocumentObserver* observer) { Observers_.Add(observer); }
    void RemoveObserver(IDocumentObserver* observer) { Observers_.Remove(observer); }
    IMessageSink& Messages() { return Messages_; }

    // --- state
    const TShapeList& Shapes() const { return Shapes_; }
    const TSelection& Selection() const { return Selection_; }
    const TUndoState& Undo() const { return Undo_; }
    const std::string& UndoCaption() const { return Undo_.Caption(); }
    // "&Redo" with the name of the change to redo ("&Redo Paint"), plain "&Redo" without one.
    std::string RedoCaption() const { return Undo_.RedoCaption(); }
    const TNamedPalette& PaintingPalette() const { return PaintingPalette_; }
    const TNamedPalette& CustomPalette() const { return CustomPalette_; }
    const std::vector<TNumberLabel>& NumberLabels() const { return Labels_; }
    bool Modified() const { return Modified_; }
    bool HasPainting() const { return !Shapes_.Empty(); }
    std::optional<TColor> CurrentColor() const { return CurrentColor_; }
    TColor PaintColor() const { return PaintColor_; }
    int TracerShapeCount() const { return TracerShapeCount_; }
    const TPrintLayoutBlock& PrintLayout() const { return PrintLayout_; }
    const TRaster24& SourcePicture() const { return SourcePicture_; }
    // Set while the painting is a template the New Template dialog made.
    const std::optional<TTemplateTraits>& Template() const { return Template_; }
    bool HasSourcePicture() const { return !SourcePicture_.Empty(); }
    // Counts every change of the shapes: work started on a copy taken at one generation is
    // adopted only while the painting is still at it.
    std::uint64_t Generation() const { return Generation_; }

    // --- setters; each tells the observers when the value changes
    void SetModified(bool modified);
    void SetCustomPalette(TNamedPalette palette);
    // The print dialog's settings as they are saved with the painting.
    void SetPrintLayout(const TPrintLayoutBlock& layout);
    void SetSourcePicture(TRaster24 picture);
    void SetPaintColor(TColor color);
    void SetCurrentColor(std::optional<TColor> color);
    // The status bar's paint label for the paint colour.
    std::string PaintLabel() const;
    // For a template mixed from tubes, the palette window's line for one of its paints: its
    // number and recipe ("Paint 5: 2 Titanium White + 1 Ultramarine Blue, ΔE 1.3"); empty for
    // other paintings and for a colour that is none of its paints.
    std::string PaintRecipeLine(TColor color) const;

    // --- files
    // Reads a painting file. On success the undo state is discarded, the shapes replaced, the
    // palette rebuilt and the painting marked unmodified; on failure the message goes to the
    // message sink and nothing changes. (TAppState::OpenPainting adds it to the recent files.)
    std::optional<TOpenedPainting> OpenPainting(const std::filesystem::path& file);
    // Writes the painting under the name (WritePainting): the painting file with the print
    // layout held here, or for a name ending in ".wmf", ".emf" or ".svg" (any case) that drawing,
    // in the outlines-only view when `outlinesOnly`. False (message reported) on failure, which
    // leaves any former file as it was. A save clears the modified flag.
    bool SavePainting(const std::filesystem::path& file, const std::string& paletteName,
                      bool outlinesOnly = false);

    // --- a new painting
    // Takes over a freshly traced shape list: when a painting exists its shapes are set aside
    // under `undoCaption`; the palette is rebuilt and the painting marked unmodified. Observers
    // hear PaintingReplaced (the view goes back to 100%, outlines-only off) and ShapesChanged.
    void ReplaceShapes(TShapeList shapes, int tracedShapeCount,
                       const std::string& undoCaption = UndoImport);
    // "Import Now": the traced painting with an "&Undo Import" snapshot; the tracer's messages
    // are shown.
    void AdoptImport(TTraceResult traced);
    // "Create" of the New Template dialog: the template becomes the painting with an "&Undo
    // Import" snapshot, with its print layout and its numbers, marked modified.
    void AdoptTemplate(TTemplateResult made);
    // "Re-Trace Painting": the re-traced painting with an "&Undo Retrace Painting" snapshot, its
    // rendering as the source picture, marked modified. False (nothing changes) when the
    // painting changed since the rendering was taken.
    bool AdoptRetrace(TRetraceResult retraced);

    // --- simplify for printing
    // The work for a print of the painting's print layout: the minimum diameter in painting
    // pixels is the request's millimetres where the layout's placement frame (or the first
    // placement) puts the painting on its pages; regions narrower are merged away and necks cut.
    // None without a painting or without a placement on paper (no pages across or down).
    std::optional<TSimplifyInput> SimplifyInput(const TSimplifyRequest& request) const;
    // The simplified painting with an "&Undo Simplify" snapshot, the picture it took its colours
    // from as the source picture, marked modified; the selection and labels go, the print layout
    // (placement frame included) stays, since the painting keeps its size. False (nothing
    // changes) when the painting changed since the input was taken.
    bool AdoptSimplify(TSimplifyResult simplified);
    // Both here and now; false when not offered or refused.
    bool SimplifyForPrinting(const TSimplifyRequest& request, IProgressSink& progress);

    // --- selection (the view turns viewer pixels into shapes and painting pixels)
    // Selection tool, once the hit test found `shape` (or none): without Shift or Ctrl the
    // selection is cleared first; the shape is added, or removed with Ctrl.
    void SelectShape(TPaintShape* shape, TShiftState shift);
    // Every shape whose bounds lie inside the rectangle of painting pixels (and, when
    // restricted, of the current colour) is added, or removed with Ctrl.
    void SelectInBounds(std::int64_t left, std::int64_t top, std::int64_t right,
                        std::int64_t bottom, bool currentColorOnly, TShiftState shift);
    // The tool button: every shape added, or every shape removed with Ctrl.
    void SelectAllButton(TShiftState shift);
    // "Select &All": the selection becomes every shape.
    void SelectAll();
    void DeselectAll();
    void SelectCurrentColor(TShiftState shift);

    // --- commands
    // Brushstroke on the shape the view found: it takes the paint colour.
    void PaintShape(TPaintShape& shape);
    void PaintSelection();
    void DeleteSelection();
    void SmoothSelection();
    void ReacquireSelectedColors();
    void ReacquireAllColors();
    // Every shape of colour `color` takes the paint colour.
    void ReplaceColor(TColor color);
    // Every shape takes its nearest colour of the custom palette; nothing without one.
    bool ReplacePalette();
    // The merge tool on the shape the view found: the cell joins the neighbour it shares the
    // longest border with, in the neighbour's colour (model/shape_merge.h), under "&Undo Merge
    // Cell". False (nothing changes) for the frame or a cell with no neighbour but the frame.
    bool MergeCell(TPaintShape& cell);
    // "Merge Touching Shapes of One Colour", under "&Undo Merge Shapes": false when no two
    // shapes of one colour touch.
    bool MergeTouchingShapesOfOneColour();
    // Puts back the last change; false when there was none.
    bool UndoLast();
    // Makes the last undone change again (the painting is marked modified); false when there
    // was none. Any new change drops the changes to redo.
    bool RedoLast();
    // How many changes can be undone one after the other: 1 (the default) keeps only the last;
    // the desktop program keeps EditorUndoDepth.
    void SetUndoDepth(std::size_t steps);

    // --- numbers
    // Copies for number placement on a worker.
    TNumberingInput NumberingInput() const;
    // The labels of a placement (its message shown); false (nothing changes) when the painting
    // changed since the copy was taken.
    bool AdoptLabels(TNumberingResult result);
    // Places the numbers here and now.
    void PlaceNumbers(IProgressSink& progress);
    // Copies for placing a template's numbers on a worker; none for another painting.
    std::optional<TTemplateNumbersInput> TemplateNumbersInput() const;
    // A copy of what printing reads, for printing on a worker.
    TPrintSnapshot PrintSnapshot() const;

private:
    struct TStamp {
        bool Modified;
        std::string Caption;
        std::string RedoCaption;
    };
    TStamp Stamp() const { return {Modified_, Undo_.Caption(), Undo_.RedoCaption()}; }
    void Notify(TDocumentEvent event) { Observers_.Notify(event); }
    // Tells what changed in the modified flag and the undo or redo caption since the stamp.
    void NotifyFlags(const TStamp& before);
    // After a change to the shapes: ShapesChanged, the palette rebuilt when colours changed,
    // then the flags.
    void ShapesEdited(const TStamp& before, bool colorsChanged);
    void RebuildPalette();
    // Empties the selection and the labels and hides the print layout's placement frame,
    // telling what changed.
    void ClearPainting();
    // Another painting takes the template's place.
    void ForgetTemplate();
    bool IsFrame(const TPaintShape* s) const { return s == Shapes_.First(); }

    IMessageSink& Messages_;
    TObserverList Observers_;
    TShapeList Shapes_;
    TSelection Selection_;
    TUndoState Undo_;
    TNamedPalette PaintingPalette_;
    // Whether the frame shows between the shapes, for the outlines it was measured on: edits
    // of colours alone keep it.
    std::optional<bool> FrameShows_;
    std::uint64_t FrameOutline_ = 0;
    TNamedPalette CustomPalette_;
    std::vector<TNumberLabel> Labels_;
    bool Modified_ = false;
    std::optional<TColor> CurrentColor_;
    TColor PaintColor_ = clBlack;
    int TracerShapeCount_ = 0;
    TPrintLayoutBlock PrintLayout_;
    TRaster24 SourcePicture_;
    std::optional<TTemplateTraits> Template_;
    std::uint64_t Generation_ = 0;
};

} // namespace pigmentaria
