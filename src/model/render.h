#pragma once
// Drawing shapes: the one routine every canvas uses, the rendering of the whole painting at a
// zoom, and the red outlines that mark the selection.
#include "model/shape.h"
#include "platform/canvas.h"
#include "platform/raster.h"

namespace pigmentaria {

// Draws one shape at a scale. `outlinesOnly` is the outlines-only view, which callers pass only
// for the view's own canvas and for metafiles: then the shape is white with a black outline in
// the canvas's pen width; otherwise pen and brush are both the shape's colour.
void DrawShape(TCanvas& canvas, const TPaintShape& shape, double scale, bool outlinesOnly = false);

// Draws every shape in list order.
void DrawShapes(TCanvas& canvas, const TShapeList& shapes, double scale, bool outlinesOnly = false);

// The rendered painting: trunc(W × zoom) × trunc(H × zoom), every shape drawn in list order.
TRaster24 RenderPainting(const TShapeList& shapes, double zoom, bool outlinesOnly = false);

// Size of the rendered painting at a zoom.
int RenderedSize(std::int32_t paintingSize, double zoom);

// Whether the frame shape shows anywhere: some pixel of the painting that no later shape covers,
// as the shapes are drawn at zoom 1. A list whose first shape is not the frame rectangle
// (0,0)-(W,0)-(W,H)-(0,H) counts as showing it.
bool FrameShowsThrough(const TShapeList& shapes);
// A cheap fingerprint of the shapes' outlines (not their colours): what FrameShowsThrough
// depends on, so that a caller can keep its answer while only colours change.
std::uint64_t OutlineFingerprint(const TShapeList& shapes);

// Draws the closed outline of every selected shape, in selection order, in red over a picture.
void MarkSelection(TCanvas& canvas, const TSelection& selection, double zoom);

} // namespace pigmentaria
