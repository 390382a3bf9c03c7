#pragma once
// The ways a painting leaves the program: written under a file name (the painting file, or a
// Windows or enhanced metafile, or an SVG drawing), the selected shapes as a metafile for the
// clipboard, and the rendering as a raster picture through the image library.
#include "model/painting_file.h"
#include "model/shape.h"
#include "platform/raster.h"

#include <cstdint>
#include <filesystem>
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

// What a file name is written as: ".wmf" and ".emf" a metafile, ".svg" an SVG drawing where the
// caller allows it, any other name the painting file. Extensions are compared without regard to
// case.
enum class TPaintingFileKind { Painting, WindowsMetafile, EnhancedMetafile, Svg };
TPaintingFileKind PaintingFileKindForName(std::string_view fileName, bool svgAllowed);

struct TPaintingWriteOptions {
    // Drawings (metafile, SVG): every shape white with a black outline, as the outlines-only view.
    bool OutlinesOnly = false;
    // Whether ".svg" names an SVG drawing (the render command) or is a painting file's name.
    bool SvgAllowed = false;
    // The painting file's palette name and print layout.
    std::string PaletteName;
    TPrintLayoutBlock Layout;
};

// "Write this painting under this file name", for the save commands and the render command:
// writes the painting as its name asks (PaintingFileKindForName) and returns what was written.
// Throws EFileError when the file cannot be written; a former file is then left as it was.
TPaintingFileKind WritePainting(const std::filesystem::path& file, const TShapeList& shapes,
                                const TPaintingWriteOptions& options);

// Writes the painting as the metafile its name's extension calls for. Throws EFileError when the
// file cannot be written (a former file is then left as it was), std::invalid_argument for a name
// that is not a metafile's.
void SavePaintingAsMetafile(const std::string& fileName, const TShapeList& shapes,
                            bool outlinesOnly);

// An SVG path's data through the points, as every SVG the program writes draws a shape or a
// border: "M x y L x y x y ...", closed with " Z".
void AppendSvgPathData(std::string& out, const std::vector<TShapePoint>& points, bool closed);

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
