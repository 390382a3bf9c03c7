#include "cli/template_command.h"

#include "cli/arguments.h"
#include "cli/print_options.h"
#include "cli/terminal.h"
#include "convert/color_count.h"
#include "editor/painting_export.h"
#include "image/pg_progress.h"
#include "model/render.h"
#include "platform/text_parse.h"
#include "print/template_svg.h"

#include <cstdio>
#include <filesystem>
#include <stdexcept>

namespace pigmentaria::cli {

namespace {

constexpr TOptionSpec Options[] = {
    {"-o", true},
    {"--paper", true},
    {"--pages", true},
    {"--palette-size", true},
    {"--min-mm", true},
    {"--paints", true},
    {"--number-by-paint", false},
};

int PaperCode(const std::string& value) {
    const std::string v = ToLower(value);
    if (v == "a4") return PaperA4;
    if (v == "letter") return PaperLetter;
    if (v == "legal") return PaperLegal;
    throw EUsageError("--paper takes a4, letter or legal, not \"" + value + "\"");
}

// AxD: pages across and down, 1 to 99 each.
void ParsePages(const std::string& value, TTemplateRequest& request) {
    const std::size_t x = ToLower(value).find('x');
    const auto across = x == std::string::npos ? std::nullopt : ParseWhole(value.substr(0, x));
    const auto down = x == std::string::npos ? std::nullopt : ParseWhole(value.substr(x + 1));
    if (!across || !down || *across < 1 || *across > 99 || *down < 1 || *down > 99)
        throw EUsageError("--pages takes ACROSSxDOWN from 1 to 99 each, not \"" + value + "\"");
    request.PagesAcross = static_cast<int>(*across);
    request.PagesDown = static_cast<int>(*down);
}

} // namespace

TTemplateCommandArgs ParseTemplateArgs(const std::vector<std::string>& args) {
    const TArguments a = ParseArguments(args, Options);
    ExpectPositionals(a, {"picture file"});
    TTemplateCommandArgs out;
    out.Picture = a.Positionals[0];
    TTemplateRequest& r = out.Request;
    for (const auto& [o, v] : a.Options) {
        if (o == "-o")
            out.OutputDir = v;
        else if (o == "--paper")
            r.PaperCode = PaperCode(v);
        else if (o == "--pages")
            ParsePages(v, r);
        else if (o == "--palette-size")
            r.PaletteSize = WholeValue(o, v, 1, MaxColorCount);
        else if (o == "--min-mm")
            r.MinMm = Millimetres(o, v);
        else if (o == "--paints")
            out.PaintsFile = v;
        else if (o == "--number-by-paint")
            r.NumberByPaint = true;
    }
    if (out.OutputDir.empty()) throw EUsageError("no folder given (-o DIR)");
    if (r.NumberByPaint && !out.PaintsFile)
        throw EUsageError("--number-by-paint numbers by the paints of --paints FILE.KVL");
    return out;
}

TTemplateFiles TemplateFileNames(const TTemplateCommandArgs& args) {
    const std::filesystem::path dir = args.OutputDir;
    const std::string name = std::filesystem::path(args.Picture).stem().string();
    auto file = [&](const std::string& suffix) { return (dir / (name + suffix)).string(); };
    return {file(".kvp"), file("-template.pdf"), file("-palette.pdf"), file("-template.svg"),
            file("-painting.png")};
}

TNamedPalette LoadPaintsFile(const std::string& file) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec))
        throw std::runtime_error("cannot read palette file " + file);
    TNamedPalette paints;
    LoadPalette(paints, file);
    if (paints.Empty()) throw std::runtime_error(file + " holds no paints");
    return paints;
}

TTemplateResult MakeTemplateFiles(const TTemplateCommandArgs& args, const TTemplateFiles& files) {
    TTemplateRequest request = args.Request;
    if (args.PaintsFile) request.Paints = LoadPaintsFile(*args.PaintsFile);
    TTerminalProgress progress;
    TTerminalMessages messages;
    TLoadedPicture loaded = LoadPictureFile(args.Picture, progress);
    ReplayMessages(loaded.Messages, messages);
    TTemplateResult t = MakeTemplate(loaded.Picture, request, progress);
    ReplayMessages(t.Trace.Messages, messages);

    std::filesystem::create_directories(args.OutputDir);
    const TShapeList& shapes = t.Trace.Shapes;
    TPaintingWriteOptions options;
    options.Layout = t.Plan.Layout;
    WritePainting(files.Painting, shapes, options);
    const TPrintGeometry print =
        PdfPrintOfBlock(t.Plan.Layout, shapes.PaintingWidth(), shapes.PaintingHeight());
    const TPrintedLabels printed(shapes, print.Layout, print.Settings.Frame);
    ReplaceFileContents(files.Svg, TemplateSvg(shapes, t.Labels, printed));
    ExportRenderedPainting(RenderPainting(shapes, 1.0), files.Png);

    std::printf("%s: %d x %d (%s of the picture), %zu shapes, %zu colours\n",
                files.Painting.c_str(), shapes.PaintingWidth(), shapes.PaintingHeight(),
                (FormatFixed(100 * t.Plan.Zoom, 1) + " %").c_str(), shapes.Count(),
                t.Shares.size());
    std::printf("%s\n", LegibilityReportText(t.Report, request.MinMm).c_str());
    std::printf("%s: %zu numbers\n%s\n", files.Svg.c_str(), t.Labels.size(), files.Png.c_str());
    return t;
}

} // namespace pigmentaria::cli
