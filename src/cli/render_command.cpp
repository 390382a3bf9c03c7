// Writes a painting as a picture: a metafile or SVG drawing of its shapes, or a raster picture of
// its rendering at a zoom through the image library.
#include "cli/painting_commands.h"
#include "editor/painting_export.h"
#include "image/file_format.h"
#include "model/painting_file.h"
#include "model/render.h"
#include "platform/file_io.h"
#include "platform/text_parse.h"

#include <cmath>
#include <cstdio>
#include <exception>
#include <optional>
#include <string>

namespace pigmentaria::cli {

namespace {

// Rendered pictures larger than this are refused rather than allocated.
constexpr double MaxRenderedSide = 32767;
constexpr double MaxRenderedPixels = double(1 << 27);

int Fail(const std::string& text) {
    std::fprintf(stderr, "pigmentaria-cli render: %s\n", text.c_str());
    return 1;
}

// "0.5", "2" or "50%".
std::optional<double> ParseZoom(const std::string& text) {
    const bool percent = !text.empty() && text.back() == '%';
    const std::optional<double> v = ParseReal(percent ? text.substr(0, text.size() - 1) : text);
    if (!v || !(*v > 0)) return std::nullopt;
    return percent ? *v / 100.0 : *v;
}

} // namespace

int RunRender(int argc, char** argv) {
    std::string painting, output;
    double zoom = 1.0;
    bool outlinesOnly = false;
    for (int i = 0; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--outlines") {
            outlinesOnly = true;
        } else if (a == "-o" || a == "--zoom") {
            if (i + 1 >= argc) return Fail("missing value after \"" + a + "\"");
            const std::string value = argv[++i];
            if (a == "-o") {
                output = value;
            } else if (const auto z = ParseZoom(value)) {
                zoom = *z;
            } else {
                return Fail("invalid zoom \"" + value + "\" (a factor such as 0.5, or 50%)");
            }
        } else if (a.size() > 1 && a[0] == '-') {
            return Fail("unknown option \"" + a + "\"");
        } else if (painting.empty()) {
            painting = a;
        } else {
            return Fail("more than one painting given");
        }
    }
    if (painting.empty()) return Fail("no painting file given");
    if (output.empty()) return Fail("no output file given (-o OUT.png)");

    try {
        const TPaintingFileContents contents = ReadPaintingFile(painting);
        const TShapeList& shapes = contents.Shapes;
        if (shapes.Empty()) return Fail(painting + ": the painting has no shapes");
        // Metafiles and SVG hold the shapes themselves at scale 1; only pictures have a zoom.
        TPaintingWriteOptions drawing;
        drawing.OutlinesOnly = outlinesOnly;
        drawing.SvgAllowed = true;
        if (PaintingFileKindForName(output, true) != TPaintingFileKind::Painting) {
            WritePainting(output, shapes, drawing);
        } else {
            const double w = std::floor(shapes.PaintingWidth() * zoom);
            const double h = std::floor(shapes.PaintingHeight() * zoom);
            if (w < 1 || h < 1) return Fail("the zoom leaves no picture");
            if (w > MaxRenderedSide || h > MaxRenderedSide || w * h > MaxRenderedPixels)
                return Fail("the zoom makes the picture too large");
            ExportRenderedPainting(RenderPainting(shapes, zoom, outlinesOnly), output);
        }
    } catch (const std::exception& e) {
        return Fail(e.what());
    }
    return 0;
}

} // namespace pigmentaria::cli
