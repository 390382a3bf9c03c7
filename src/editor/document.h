#pragma once
// The one open painting and everything the program keeps about it: shapes and selection, undo,
// the painting and custom palettes, number labels, the modified flag, the view's zoom and
// outlines-only flag, the current and paint colours, the tracer's running shape count, the print
// layout stored with the painting, the source picture for re-tracing, and the settings block.
// The editing commands live here as operations; the window shows what they report.
#include "editor/settings.h"
#include "editor/undo.h"
#include "model/painting_file.h"
#include "model/shape.h"
#include "palette/palette.h"
#include "platform/raster.h"
#include "platform/report.h"
#include "print/numbers.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace pigmentaria {

// What the window does when the document changes. Every method has an empty default.
class IDocumentObserver {
public:
    virtual ~IDocumentObserver() = default;
    // The rendered painting was rebuilt: show it.
    virtual void PaintingRendered() {}
    // The painting palette was rebuilt: redraw its swatches and caption.
    virtual void PaletteRebuilt() {}
    // The selection changed: repaint the viewer's marks and run the enabling rule.
    virtual void SelectionChanged() {}
    // The paint colour changed: update the swatch and the paint label.
    virtual void PaintColorChanged() {}
};

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

class TPaintingDocument {
public:
    explicit TPaintingDocument(IMessageSink& messages);

    void SetObserver(IDocumentObserver* observer) { Observer_ = observer; }
    IMessageSink& Messages() { return Messages_; }

    // --- state
    const TShapeList& Shapes() const { return Shapes_; }
    const TSelection& Selection() const { return Selection_; }
    const TUndoState& Undo() const { return Undo_; }
    const std::string& UndoCaption() const { return Undo_.Caption(); }
    const TNamedPalette& PaintingPalette() const { return PaintingPalette_; }
    TNamedPalette& CustomPalette() { return CustomPalette_; }
    const TNamedPalette& CustomPalette() const { return CustomPalette_; }
    const std::vector<TNumberLabel>& NumberLabels() const { return Labels_; }
    bool Modified() const { return Modified_; }
    void SetModified(bool modified) { Modified_ = modified; }
    bool HasPainting() const { return !Shapes_.Empty(); }
    double Zoom() const { return Zoom_; }
    bool OutlinesOnly() const { return OutlinesOnly_; }
    std::optional<TColor> CurrentColor() const { return CurrentColor_; }
    TColor PaintColor() const { return PaintColor_; }
    int TracerShapeCount() const { return TracerShapeCount_; }
    TPrintLayoutBlock& PrintLayout() { return PrintLayout_; }
    const TRaster24& SourcePicture() const { return SourcePicture_; }
    bool HasSourcePicture() const { return !SourcePicture_.Empty(); }
    void SetSourcePicture(TRaster24 picture) { SourcePicture_ = std::move(picture); }
    // The painting at the current zoom, as the viewer shows it and the tools read it.
    const TRaster24& Rendered() const { return Rendered_; }
    TSettingsBlock& Settings() { return Settings_; }
    const TSettingsBlock& Settings() const { return Settings_; }

    // --- view
    void SetZoom(double zoom);
    void SetOutlinesOnly(bool on);
    // Rebuilds the rendered painting and tells the observer.
    void Render();
    void SetPaintColor(TColor color);
    // The status bar's paint label for the paint colour.
    std::string PaintLabel() const;

    // --- files
    // Reads a painting file. On success the undo state is discarded, the shapes replaced, the
    // palette rebuilt, the painting rendered and marked unmodified, and the file added to the
    // recent files; on failure the message goes to the message sink and nothing changes.
    std::optional<TOpenedPainting> OpenPainting(const std::filesystem::path& file);
    // Writes the painting file with the print layout held here; false (message reported) on
    // failure, which leaves any former file as it was. A name ending in ".wmf" or ".emf" (any
    // case) writes the painting as that metafile instead, in the outlines-only view when it is
    // on, and leaves the recent files alone. Either way a save clears the modified flag.
    bool SavePainting(const std::filesystem::path& file, const std::string& paletteName);
    // "&Export Painting": the rendered painting, at the current zoom and as the view shows it,
    // saved through the image library by the name's extension. False (message reported) without a
    // painting, for a name no picture writer takes (".wmf", ".emf": nothing is written) or when
    // writing fails; the painting is unchanged either way.
    bool ExportPainting(const std::filesystem::path& file);

    // --- a new painting from the import
    // Takes over a freshly traced shape list: the outlines-only view goes off; when a painting
    // exists its shapes are set aside under `undoCaption` and the zoom returns to 1; the palette is
    // rebuilt, the painting rendered and marked unmodified.
    void ReplaceShapes(TShapeList shapes, int tracedShapeCount,
                       const std::string& undoCaption = UndoImport);

    // --- selection (viewer coordinates are pixels of the rendered painting)
    // Selection tool: the current colour becomes the pixel's; the shape under it is added, or
    // removed with Ctrl; without Shift or Ctrl the selection is cleared first.
    void ClickSelect(int x, int y, TShiftState shift);
    // Every shape whose bounds lie inside the rectangle (and, when restricted, of the current
    // colour) is added, or removed with Ctrl.
    void SelectRegion(int left, int top, int right, int bottom, bool currentColorOnly,
                      TShiftState shift);
    // The tool button: every shape added, or every shape removed with Ctrl.
    void SelectAllButton(TShiftState shift);
    // "Select &All": the selection becomes every shape.
    void SelectAll();
    void DeselectAll();
    void SelectCurrentColor(TShiftState shift);

    // --- tools and commands
    // Eyedropper: the paint colour becomes the rendered pixel's colour.
    void Eyedropper(int x, int y);
    // Brushstroke: the shape under the pixel takes the paint colour. False when none is there.
    bool Brushstroke(int x, int y);
    void PaintSelection();
    void DeleteSelection();
    void SmoothSelection();
    void ReacquireSelectedColors();
    void ReacquireAllColors();
    // Re-traces the rendered painting at zoom 1 with "Half-line" and step 2. Not available in the
    // outlines-only view (false).
    bool Retrace(IProgressSink& progress, bool eliminateLines = true);
    // Every shape of colour `color` takes the paint colour.
    void ReplaceColor(TColor color);
    // Every shape takes its nearest colour of the custom palette; nothing without one.
    bool ReplacePalette();
    // Puts back the last change; false when there was none.
    bool UndoLast();

    // --- numbers
    void PlaceNumbers(IProgressSink& progress);

private:
    void RebuildPalette();
    void NotifySelection();
    TPaintShape* HitTest(int x, int y) const;
    std::optional<TColor> RenderedPixel(int x, int y) const;
    // The selected shapes that the editor may change in shape (all but the frame shape).
    bool IsFrame(const TPaintShape* s) const { return s == Shapes_.First(); }
    void ClearPainting();

    IMessageSink& Messages_;
    IDocumentObserver* Observer_ = nullptr;
    TShapeList Shapes_;
    TSelection Selection_;
    TUndoState Undo_;
    TNamedPalette PaintingPalette_;
    TNamedPalette CustomPalette_;
    std::vector<TNumberLabel> Labels_;
    bool Modified_ = false;
    double Zoom_ = 1.0;
    bool OutlinesOnly_ = false;
    std::optional<TColor> CurrentColor_;
    TColor PaintColor_ = clBlack;
    int TracerShapeCount_ = 0;
    TPrintLayoutBlock PrintLayout_;
    TRaster24 SourcePicture_;
    TRaster24 Rendered_;
    TSettingsBlock Settings_;
};

} // namespace pigmentaria
