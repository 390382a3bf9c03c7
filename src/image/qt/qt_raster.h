#pragma once
// Pictures and rasters as the toolkit's images and back, for drawing them in a window and for
// the clipboard.
#include "image/pixel_graphic.h"
#include "platform/raster.h"

#include <QImage>

namespace pigmentaria {

// 32-bit RGB images of the raster's or picture's size (null for an empty one).
QImage RasterToImage(const TRaster24& raster);
QImage PictureToImage(const TPixelGraphic& picture);
// Any image as a 24-bit raster; transparent pixels are laid over white.
TRaster24 ImageToRaster(const QImage& image);

} // namespace pigmentaria
