// Writes a painting as a picture: a metafile or SVG drawing of its shapes, or a raster picture of
// its rendering at a zoom through the image library.
#include "cli/commands.h"
#include "image/file_format.h"
#include "image/painting_export.h"
#include "image/pg_errors.h"
#include "model/painting_file.h"
#include "model/render.h"
#include "platform/file_io.h"
#include "platform/text_parse.h"

#include <cmath>
#include <cstdio>
#include <exception>
#include <optional>
#include <stdexcept>
#include <string>

namespace pigmentaria::cli {

namespace {

// Rendered pictures larger than this are refused rather than allocated.
constexpr double MaxRenderedSide = 32767;
constexpr double MaxRenderedPixels = double(1 << 27);

constexpr TOptionSpec Options[] = {{"-o", true}, {"--zoom", true}, {"--outlines", false}};

// "0.5", "2" or "50%".
double ParseZoom(const std::string& text) {
    const bool percent = !text.empty() && text.back() == '%';
    const std::optional<double> v = ParseReal(percent ? text.substr(0, text.size() - 1) : text);
    if (!v || !(*v > 0))
        throw EUsageError("invalid zoom \"" + text + "\" (a factor such as 0.5, or 50%)");
    return percent ? *v / 100.0 : *v;
}

int RunRender(const std::vector<std::string>& args) {
    const TArguments a = ParseArguments(args, Options);
    ExpectPositionals(a, {"painting file"});
    const std::string painting = a.Positionals[0];
    const std::string output = a.Value("-o").value_or("");
    if (output.empty()) throw EUsageError("no output file given (-o OUT.png)");
    const double zoom = a.Has("--zoom") ? ParseZoom(*a.Value("--zoom")) : 1.0;
    const bool outlinesOnly = a.Has("--outlines");
    const bool metafile = MetafileFormatForName(output) != TMetafileFormat::None;
    const bool svg = ExtensionOf(output) == "svg";
    // A picture format the library cannot write fails before the painting is read.
    if (!metafile && !svg && !PGFormats().FindWriter(ExtensionOf(output)))
        throw EPGUnknownExtension(msgUnknownExtension, ExtensionOf(output));

    const TPaintingFileContents contents = ReadPaintingFile(painting);
    const TShapeList& shapes = contents.Shapes;
    if (shapes.Empty()) throw std::runtime_error(painting + ": the painting has no shapes");
    // Metafiles and SVG hold the shapes themselves at scale 1; only pictures have a zoom.
    if (metafile || svg) {
        TPaintingWriteOptions drawing;
        drawing.OutlinesOnly = outlinesOnly;
        drawing.SvgAllowed = true;
        WritePainting(output, shapes, drawing);
    } else {
        const double w = std::floor(shapes.PaintingWidth() * zoom);
        const double h = std::floor(shapes.PaintingHeight() * zoom);
        if (w < 1 || h < 1) throw std::runtime_error("the zoom leaves no picture");
        if (w > MaxRenderedSide || h > MaxRenderedSide || w * h > MaxRenderedPixels)
            throw std::runtime_error("the zoom makes the picture too large");
        ExportRenderedPainting(RenderPainting(shapes, zoom, outlinesOnly), output);
    }
    return 0;
}

} // namespace

const TCommand RenderCommand = {
    "render", "PAINTING.kvp -o OUT.EXT [--zoom Z] [--outlines]  write the painting as a picture",
    "usage: pigmentaria-cli render PAINTING.kvp -o OUT.EXT [--zoom Z] [--outlines]\n"
    "Writes the painting as a picture. .wmf and .emf give a Windows or enhanced metafile and .svg\n"
    "an SVG drawing, all of the shapes at their own size; any other extension is a raster picture\n"
    "of the rendering at the zoom (a factor such as 0.5, or 50%), written by the picture\n"
    "library's writer for that extension. --outlines draws white shapes with black outlines.\n",
    RunRender};

} // namespace pigmentaria::cli
