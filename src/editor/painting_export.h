#pragma once
// The ways a painting leaves the program other than as a painting file: as a Windows or enhanced
// metafile (saved, or the selected shapes for the clipboard), as an SVG drawing, and as a raster
// picture through the image library.
#include "model/shape.h"
#include "platform/raster.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pigmentaria {

enum class TMetafileFormat { None, Windows, Enhanced };

// The metafile format a file name asks for by its extension, compared without regard to case:
// ".wmf" and ".emf"; None for any other name.
TMetafileFormat MetafileFormatForName(std::string_view fileName);

// The painting at scale 1 in list order, in the painting's size (the frame shape's right and
// bottom). With `outlinesOnly` (the outlines-only view) every shape is white with a black outline.
std::vector<std::uint8_t> PaintingMetafile(const TShapeList& shapes, bool outlinesOnly,
                                           TMetafileFormat format);

// What "&Copy Selected Shape(s)" puts on the clipboard: the selected shapes only, in list order
// (not selection order), on a metafile of the painting's size.
std::vector<std::uint8_t> SelectedShapesMetafile(const TShapeList& shapes,
                                                 const TSelection& selection, bool outlinesOnly,
                                                 TMetafileFormat format);

// Writes the painting as the metafile its name's extension calls for. Throws EFileError when the
// file cannot be written (a former file is then left as it was), std::invalid_argument for a name
// that is not a metafile's.
void SavePaintingAsMetafile(const std::string& fileName, const TShapeList& shapes,
                            bool outlinesOnly);

// The painting as an SVG drawing of its size: every shape a path in list order, filled and
// outlined in its colour as the pen draws it, or white with a black outline in the outlines-only
// view.
std::string PaintingSvg(const TShapeList& shapes, bool outlinesOnly);

// "&Export Painting": the rendered painting (what the viewer shows, at its zoom) saved as a 24-bit
// picture through the image library, which picks the writer by the name's extension. A name
// without a writer (".wmf" and ".emf" among them: metafiles are saved as the painting instead)
// raises the library's EPGUnknownExtension; picture errors raise EPixelGraphic and file errors
// EFileError. Nothing is written unless the whole picture was encoded, and a former file stays as
// it was on any failure.
void ExportRenderedPainting(const TRaster24& rendered, const std::string& fileName);

} // namespace pigmentaria
