#pragma once
// Text on a raster of ours through the toolkit's fonts, on any thread: the page canvas of a
// template preview drawn on the worker.
#include "platform/raster.h"
#include "print/page_canvas.h"

#include <functional>

namespace pigmentaria {

// Draws on the raster's own pixels through a page canvas at `dotsPerInch` (points become pixels
// at that resolution).
void DrawOnRaster(TRaster24& raster, double dotsPerInch,
                  const std::function<void(TPageCanvas&)>& draw);

} // namespace pigmentaria
