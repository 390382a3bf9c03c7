#pragma once
// The main window's one door to the painting: the document, its view state (zoom, outlines-only,
// the rendered picture) and the program's settings. Everything the window asks of them goes
// through here, so that the window follows when those objects are regrouped.
#include "convert/tracer.h"
#include "editor/document.h"
#include "model/render.h"

#include <filesystem>
#include <optional>
#include <string>

namespace pigmentaria {

class TEditorModel {
public:
    explicit TEditorModel(IMessageSink& messages) : Doc_(messages) {}

    TPaintingDocument& Document() { return Doc_; }
    const TPaintingDocument& Document() const { return Doc_; }
    void SetObserver(IDocumentObserver* observer) { Doc_.SetObserver(observer); }

    // ---- State
    bool HasPainting() const { return Doc_.HasPainting(); }
    // The painting's size: the frame shape's right and bottom.
    int PaintingWidth() const { return HasPainting() ? Doc_.Shapes().First()->Right : 0; }
    int PaintingHeight() const { return HasPainting() ? Doc_.Shapes().First()->Bottom : 0; }
    bool Modified() const { return Doc_.Modified(); }
    const std::string& UndoCaption() const { return Doc_.UndoCaption(); }
    bool SelectionEmpty() const { return Doc_.Selection().Empty(); }
    const TSelection& Selection() const { return Doc_.Selection(); }
    bool HoldsSourcePicture() const { return Doc_.HasSourcePicture(); }
    std::optional<TColor> CurrentColor() const { return Doc_.CurrentColor(); }
    TColor PaintColor() const { return Doc_.PaintColor(); }
    std::string PaintLabel() const { return Doc_.PaintLabel(); }
    TSettingsBlock& Settings() { return Doc_.Settings(); }

    // ---- View
    double Zoom() const { return Doc_.Zoom(); }
    void SetZoom(double zoom) { Doc_.SetZoom(zoom); }
    bool OutlinesOnly() const { return Doc_.OutlinesOnly(); }
    void SetOutlinesOnly(bool on) { Doc_.SetOutlinesOnly(on); }
    const TRaster24& Rendered() const { return Doc_.Rendered(); }

    // ---- Files
    std::optional<TOpenedPainting> Open(const std::filesystem::path& file) {
        return Doc_.OpenPainting(file);
    }
    bool Save(const std::filesystem::path& file, const std::string& paletteName) {
        return Doc_.SavePainting(file, paletteName);
    }

    // ---- Selection and undo
    void ClickSelect(int x, int y, TShiftState shift) { Doc_.ClickSelect(x, y, shift); }
    void SelectAll() { Doc_.SelectAll(); }
    void SelectAllButton(TShiftState shift) { Doc_.SelectAllButton(shift); }
    void DeselectAll() { Doc_.DeselectAll(); }
    bool Undo() { return Doc_.UndoLast(); }

    // ---- Re-trace as a job a worker can run: the input is made here, the tracing needs only it,
    // and the result is applied here again; a job given up applies nothing.
    struct TRetraceInput {
        TRaster24 Picture;
        TTraceSettings Settings{TOutlineMethod::HalfLine, 2, true};
    };
    struct TRetraceResult {
        TRaster24 Picture;
        TShapeList Shapes;
        int ShapeCount = 0;
    };
    // None in the outlines-only view or without a painting.
    std::optional<TRetraceInput> PrepareRetrace() const {
        if (!HasPainting() || OutlinesOnly()) return std::nullopt;
        return TRetraceInput{RenderPainting(Doc_.Shapes(), 1.0, false),
                             {TOutlineMethod::HalfLine, 2, true}};
    }
    static TRetraceResult RunRetrace(TRetraceInput input, IProgressSink& progress,
                                     IMessageSink& messages) {
        TRetraceResult r;
        r.ShapeCount = TraceRegions(input.Picture, input.Picture, input.Settings, r.Shapes,
                                    progress, messages);
        r.Picture = std::move(input.Picture);
        return r;
    }
    // The traced shapes replace the painting under "&Undo Retrace Painting"; the rendering they
    // came from becomes the source picture; the painting is modified.
    void ApplyRetrace(TRetraceResult result) {
        Doc_.SetSourcePicture(std::move(result.Picture));
        Doc_.ReplaceShapes(std::move(result.Shapes), result.ShapeCount, UndoRetrace);
        Doc_.SetModified(true);
    }

private:
    TPaintingDocument Doc_;
};

} // namespace pigmentaria
