#include "image/painting_export.h"

#include "image/file_format.h"
#include "image/pg_stream.h"
#include "image/pixel_graphic.h"
#include "model/metafile_canvas.h"
#include "model/render.h"
#include "platform/file_io.h"
#include "platform/text_parse.h"

#include <cstdio>
#include <stdexcept>

namespace pigmentaria {

namespace {

std::vector<std::uint8_t> Bytes(const TMetafileCanvas& canvas, TMetafileFormat format) {
    switch (format) {
    case TMetafileFormat::Windows:
        return canvas.WindowsMetafile();
    case TMetafileFormat::Enhanced:
        return canvas.EnhancedMetafile();
    case TMetafileFormat::None:
        break;
    }
    throw std::invalid_argument("not a metafile format");
}

void AppendColor(std::string& out, TColor c) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02x%02x%02x", RedOf(c), GreenOf(c), BlueOf(c));
    out += buf;
}

} // namespace

TMetafileFormat MetafileFormatForName(std::string_view fileName) {
    const std::size_t slash = fileName.find_last_of('/');
    const std::size_t dot = fileName.find_last_of('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return TMetafileFormat::None;
    const std::string ext = ToUpper(std::string(fileName.substr(dot)));
    if (ext == ".WMF") return TMetafileFormat::Windows;
    if (ext == ".EMF") return TMetafileFormat::Enhanced;
    return TMetafileFormat::None;
}

std::vector<std::uint8_t> PaintingMetafile(const TShapeList& shapes, bool outlinesOnly,
                                           TMetafileFormat format) {
    TMetafileCanvas canvas(shapes.PaintingWidth(), shapes.PaintingHeight());
    DrawShapes(canvas, shapes, 1.0, outlinesOnly);
    return Bytes(canvas, format);
}

std::vector<std::uint8_t> SelectedShapesMetafile(const TShapeList& shapes,
                                                 const TSelection& selection, bool outlinesOnly,
                                                 TMetafileFormat format) {
    TMetafileCanvas canvas(shapes.PaintingWidth(), shapes.PaintingHeight());
    for (const TPaintShape& s : shapes)
        if (selection.IsSelected(&s)) DrawShape(canvas, s, 1.0, outlinesOnly);
    return Bytes(canvas, format);
}

TPaintingFileKind PaintingFileKindForName(std::string_view fileName, bool svgAllowed) {
    switch (MetafileFormatForName(fileName)) {
    case TMetafileFormat::Windows:
        return TPaintingFileKind::WindowsMetafile;
    case TMetafileFormat::Enhanced:
        return TPaintingFileKind::EnhancedMetafile;
    case TMetafileFormat::None:
        break;
    }
    if (svgAllowed && ExtensionOf(std::string(fileName)) == "svg") return TPaintingFileKind::Svg;
    return TPaintingFileKind::Painting;
}

TPaintingFileKind WritePainting(const std::filesystem::path& file, const TShapeList& shapes,
                                const TPaintingWriteOptions& options) {
    const TPaintingFileKind kind = PaintingFileKindForName(file.string(), options.SvgAllowed);
    switch (kind) {
    case TPaintingFileKind::Painting:
        WritePaintingFile(file, shapes, options.PaletteName, options.Layout);
        break;
    case TPaintingFileKind::WindowsMetafile:
    case TPaintingFileKind::EnhancedMetafile:
        SavePaintingAsMetafile(file.string(), shapes, options.OutlinesOnly);
        break;
    case TPaintingFileKind::Svg:
        ReplaceFileContents(file, PaintingSvg(shapes, options.OutlinesOnly));
        break;
    }
    return kind;
}

void SavePaintingAsMetafile(const std::string& fileName, const TShapeList& shapes,
                            bool outlinesOnly) {
    const TMetafileFormat format = MetafileFormatForName(fileName);
    if (format == TMetafileFormat::None)
        throw std::invalid_argument("not a metafile name: " + fileName);
    ReplaceFileContents(fileName, PaintingMetafile(shapes, outlinesOnly, format));
}

void AppendSvgPathData(std::string& out, const std::vector<TShapePoint>& points, bool closed) {
    out += 'M';
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (i == 1) out += " L";
        out += ' ';
        out += std::to_string(points[i].X);
        out += ' ';
        out += std::to_string(points[i].Y);
    }
    if (closed) out += " Z";
}

std::string PaintingSvg(const TShapeList& shapes, bool outlinesOnly) {
    const int w = shapes.PaintingWidth(), h = shapes.PaintingHeight();
    std::string out;
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
           std::to_string(w) + "\" height=\"" + std::to_string(h) + "\" viewBox=\"0 0 " +
           std::to_string(w) + " " + std::to_string(h) + "\">\n";
    // Vertices are pixel positions: the path runs through pixel centres, and the one-pixel
    // stroke covers the outline pixels the pen paints on a raster.
    out += "<g transform=\"translate(0.5 0.5)\" fill-rule=\"evenodd\" stroke-width=\"1\" "
           "stroke-linejoin=\"round\" stroke-linecap=\"square\">\n";
    for (const TPaintShape& s : shapes) {
        if (s.Points.empty()) continue;
        out += "<path d=\"";
        AppendSvgPathData(out, s.Points, true);
        out += "\" fill=\"";
        AppendColor(out, outlinesOnly ? clWhite : s.Color);
        out += "\" stroke=\"";
        AppendColor(out, outlinesOnly ? clBlack : s.Color);
        out += "\"/>\n";
    }
    out += "</g>\n</svg>\n";
    return out;
}

void ExportRenderedPainting(const TRaster24& rendered, const std::string& fileName) {
    TPixelGraphic picture;
    picture.AssignRaster24(rendered);
    // Encoded in memory first: a writer that fails half-way leaves no broken file behind.
    TMemoryStream encoded;
    picture.SaveToStreamAs(encoded, ExtensionOf(fileName));
    ReplaceFileContents(fileName, encoded.Data());
}

} // namespace pigmentaria
