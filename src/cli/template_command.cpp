#include "cli/template_command.h"

#include "cli/arguments.h"
#include "cli/print_options.h"
#include "cli/terminal.h"
#include "convert/color_count.h"
#include "image/painting_export.h"
#include "image/pg_progress.h"
#include "model/render.h"
#include "palette/tube_set.h"
#include "platform/file_io.h"
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
    {"--tubes", true},
    {"--max-tubes", true},
    {"--mixable", false},
    {"--canvas-cm", true},
    {"--coats", true},
    {"--coverage", true},
};

int PaperCode(const std::string& value) {
    const std::string v = ToLower(value);
    if (v == "a4") return PaperA4;
    if (v == "letter") return PaperLetter;
    if (v == "legal") return PaperLegal;
    if (v == "a3") return PaperA3;
    throw EUsageError("--paper takes a4, letter, a3 or legal, not \"" + value + "\"");
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

// WxH in centimetres, each above 0 and at most 1000.
void ParseCanvas(const std::string& value, TTemplateRequest& request) {
    const std::size_t x = ToLower(value).find('x');
    const auto w = x == std::string::npos ? std::nullopt : ParseReal(value.substr(0, x));
    const auto h = x == std::string::npos ? std::nullopt : ParseReal(value.substr(x + 1));
    if (!w || !h || !(*w > 0) || !(*h > 0) || *w > 1000 || *h > 1000)
        throw EUsageError("--canvas-cm takes WIDTHxHEIGHT in centimetres, such as 40x30, not \"" +
                          value + "\"");
    request.CanvasWidthCm = *w;
    request.CanvasHeightCm = *h;
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
        else if (o == "--tubes")
            out.TubesFile = v;
        else if (o == "--max-tubes")
            out.MaxTubes = WholeValue(o, v, 1, MaxRecipeTubesLimit);
        else if (o == "--mixable")
            r.Mixable = true;
        else if (o == "--canvas-cm")
            ParseCanvas(v, r);
        else if (o == "--coats")
            r.Coats = WholeValue(o, v, 1, 20);
        else if (o == "--coverage") {
            r.CoverageM2PerL = RealValue(o, v);
            if (!(r.CoverageM2PerL > 0) || r.CoverageM2PerL > 1000)
                throw EUsageError("--coverage takes square metres a litre above 0 and up to 1000, "
                                  "not \"" +
                                  v + "\"");
        }
    }
    if (!out.TubesFile)
        for (const char* o : {"--max-tubes", "--mixable", "--canvas-cm", "--coats", "--coverage"})
            if (a.Has(o)) throw EUsageError(std::string(o) + " goes with --tubes FILE");
    if (r.Mixable && out.PaintsFile)
        throw EUsageError("--mixable and --paints both choose the colours: give one of them");
    if (out.OutputDir.empty()) throw EUsageError("no folder given (-o DIR)");
    if (r.NumberByPaint && !out.PaintsFile)
        throw EUsageError("--number-by-paint numbers by the paints of --paints FILE.KVL");
    return out;
}

TTemplateFiles TemplateFileNames(const TTemplateCommandArgs& args) {
    const std::filesystem::path dir = args.OutputDir;
    const std::string name = std::filesystem::path(args.Picture).stem().string();
    auto file = [&](const std::string& suffix) { return (dir / (name + suffix)).string(); };
    return {file(".kvp"),          file("-template.pdf"), file("-palette.pdf"),
            file("-template.svg"), file("-painting.png"), file("-paints.csv")};
}

TTemplateResult MakeTemplateFiles(const TTemplateCommandArgs& args, const TTemplateFiles& files) {
    TTemplateRequest request = args.Request;
    if (args.PaintsFile) request.Paints = LoadPaintsFile(*args.PaintsFile);
    if (args.TubesFile)
        request.Tubes =
            std::make_shared<const TMixTable>(LoadTubeSet(*args.TubesFile), args.MaxTubes);
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
    ReplaceFileContents(files.Svg, TemplateSvg(shapes, t.Labels, *t.Printed));
    ExportRenderedPainting(RenderPainting(shapes, 1.0), files.Png);

    if (t.Recipes) {
        const TRecipeSheet& sheet = *t.Recipes;
        ReplaceFileContents(files.PaintsCsv, RecipeSheetCsv(sheet));
        double ml = 0;
        for (const TTubeAmount& tube : sheet.Tubes)
            ml += tube.Ml;
        std::printf("%s: %zu paints from %zu of %zu tubes, mean dE of the recipes %s, of the "
                    "painting to the photo %s; %s of paint on %s x %s cm\n",
                    files.PaintsCsv.c_str(), sheet.Paints.size(), sheet.Tubes.size(),
                    request.Tubes->Tubes().Tubes.size(),
                    FormatFixed(sheet.MeanRecipeDeltaE, 2).c_str(),
                    FormatFixed(sheet.PhotoDeltaE, 2).c_str(), MlText(ml).c_str(),
                    FormatFixed(sheet.CanvasWidthCm, 1).c_str(),
                    FormatFixed(sheet.CanvasHeightCm, 1).c_str());
    }
    std::printf("%s: %d x %d (%s of the picture), %zu shapes, %zu colours\n",
                files.Painting.c_str(), shapes.PaintingWidth(), shapes.PaintingHeight(),
                (FormatFixed(100 * t.Plan.Zoom, 1) + " %").c_str(), shapes.Count(),
                t.Shares.size());
    std::printf("%s\n", LegibilityReportText(t.Report, request.MinMm).c_str());
    std::printf("%s: %zu numbers\n%s\n", files.Svg.c_str(), t.Labels.size(), files.Png.c_str());
    return t;
}

} // namespace pigmentaria::cli
