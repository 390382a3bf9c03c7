#pragma once
// How the main window shows the painting: the zoom, the outlines-only view and the rendered
// picture, kept up to date with the document; and the tools that work in viewer pixels (pixels of
// the rendered picture): the selection tool, region selection, eyedropper, brushstroke, and
// re-trace's rendering at zoom 1. The main window owns one view on its document.
#include "editor/document.h"
#include "editor/document_events.h"
#include "platform/raster.h"
#include "platform/report.h"

#include <filesystem>
#include <optional>

namespace pigmentaria {

class TPaintingView final : private IDocumentObserver {
public:
    explicit TPaintingView(TPaintingDocument& document);
    ~TPaintingView() override;
    TPaintingView(const TPaintingView&) = delete;
    TPaintingView& operator=(const TPaintingView&) = delete;

    // Observers hear ZoomChanged, ViewModeChanged and PaintingRendered.
    void AddObserver(IDocumentObserver* observer) { Observers_.Add(observer); }
    void RemoveObserver(IDocumentObserver* observer) { Observers_.Remove(observer); }

    TPaintingDocument& Document() { return Doc_; }
    const TPaintingDocument& Document() const { return Doc_; }

    double Zoom() const { return Zoom_; }
    // Factors of 0 or less (or not a number) are ignored.
    void SetZoom(double zoom);
    bool OutlinesOnly() const { return OutlinesOnly_; }
    void SetOutlinesOnly(bool on);
    // "View Template": the painting as its template prints, white cells in black outlines; the
    // main window draws the numbers over it. The tools still find the cell under a pixel.
    bool TemplateView() const { return TemplateView_; }
    void SetTemplateView(bool on);

    // The painting at the current zoom, as the viewer shows it and the tools read it; empty
    // without a painting.
    const TRaster24& Rendered() const { return Rendered_; }
    // Rebuilds the rendered painting and tells the observers.
    void Render();
    // The rendered pixel's colour (the colour-under-cursor swatch); none outside the picture.
    std::optional<TColor> PixelColor(int x, int y) const;
    // The shape whose painted area covers the rendered pixel, or none.
    TPaintShape* ShapeAt(int x, int y) const;

    // Selection tool: the current colour becomes the pixel's; the shape under it is added, or
    // removed with Ctrl; without Shift or Ctrl the selection is cleared first.
    void ClickSelect(int x, int y, TShiftState shift);
    // The finished rubber band, in viewer pixels: nothing when it has no width or height;
    // otherwise the shapes inside the rectangle divided by the zoom (each side truncated).
    void SelectRegion(int left, int top, int right, int bottom, bool currentColorOnly,
                      TShiftState shift);
    // Eyedropper: the paint colour becomes the rendered pixel's colour.
    void Eyedropper(int x, int y);
    // Brushstroke: the shape under the pixel takes the paint colour. False when none is there.
    bool Brushstroke(int x, int y);
    // Merge tool: the shape under the pixel joins its neighbour. False when nothing merged.
    bool MergeCellAt(int x, int y);

    // What "Re-Trace Painting" traces: the painting rendered at zoom 1. None without a painting
    // or in the outlines-only view, where re-tracing is not offered.
    std::optional<TRetraceInput> RetraceInput(bool eliminateLines = true) const;
    // Re-traces here and now (Retrace, then the document adopts it; the view then shows the new
    // painting at zoom 1). False when not offered.
    bool Retrace(IProgressSink& progress, bool eliminateLines = true);

    // "&Export Painting": the rendered painting, at the current zoom and as the view shows it,
    // saved through the image library by the name's extension. False (message reported to the
    // document's sink) without a painting, for a name no picture writer takes (".wmf", ".emf":
    // nothing is written) or when writing fails; the painting is unchanged either way.
    bool ExportPainting(const std::filesystem::path& file);

private:
    void DocumentChanged(TDocumentEvent event) override;
    void Notify(TDocumentEvent event) { Observers_.Notify(event); }

    TPaintingDocument& Doc_;
    TObserverList Observers_;
    double Zoom_ = 1.0;
    bool OutlinesOnly_ = false;
    bool TemplateView_ = false;
    TRaster24 Rendered_;
};

} // namespace pigmentaria
