// Turns a picture into a painting file, with the import dialog's controls, styles and filters as
// options taken in the order given (a control after a style overrides it, as in the dialog). All
// options are read before the picture is: the conversion then runs them in order.
#include "cli/commands.h"
#include "cli/filter_option.h"
#include "cli/terminal.h"
#include "convert/import_session.h"
#include "editor/document.h"
#include "model/render.h"
#include "platform/text_parse.h"

#include <chrono>
#include <cstdio>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace pigmentaria::cli {

namespace {

constexpr const char* Usage =
    "usage: pigmentaria-cli convert PICTURE -o PAINTING.kvp [--style NAME] [--colors STEP]\n"
    "         [--specks LEVEL] [--outline outline|inline|half-line] [--abstraction N]\n"
    "         [--keep-lines] [--zoom F] [--crop LEFT,TOP,RIGHT,BOTTOM]\n"
    "         [--filter NAME[:SETTING=VALUE,...]]... [--png RENDER.png]\n"
    "styles: \"Simple Painting\", \"Stylist Painting\", \"Complex Painting\", \"Neon\",\n"
    "        \"Neon Stylist\", \"Pen && Ink\", \"Pen && Ink Stylist\", \"Ink Brush\",\n"
    "        \"Pen && Brush Combo\"\n"
    "filters: smooth, sharpen, detail (sigma, strength, shape, distance), blur (radius,\n"
    "        strength), contour (sigma, strength, background=white|black), negative,\n"
    "        grayscale (weighting=on|off), bcg (brightness, contrast, gamma, apply=rgb|y),\n"
    "        rgb (r,g,b), cmy (c,m,y), ycbcr (y,cb,cr), hls (h,l,s), hsv (h,s,v)\n";

constexpr TOptionSpec Options[] = {
    {"-o", true},       {"--png", true},     {"--style", true},       {"--colors", true},
    {"--specks", true}, {"--outline", true}, {"--abstraction", true}, {"--keep-lines", false},
    {"--zoom", true},   {"--crop", true},    {"--filter", true},
};

double PositiveValue(const std::string& option, const std::string& value) {
    const double v = RealValue(option, value);
    if (!(v > 0)) throw EUsageError(option + " takes a number above 0, not \"" + value + "\"");
    return v;
}

TCropRect ParseCrop(const std::string& value) {
    int v[4];
    std::size_t start = 0;
    for (int i = 0; i < 4; ++i) {
        const std::size_t comma = i < 3 ? value.find(',', start) : value.size();
        if (comma == std::string::npos)
            throw EUsageError("--crop takes LEFT,TOP,RIGHT,BOTTOM, not \"" + value + "\"");
        v[i] = WholeValue("--crop", value.substr(start, comma - start), 0, 1 << 30);
        start = comma + 1;
    }
    if (v[2] <= v[0] || v[3] <= v[1])
        throw EUsageError("--crop: RIGHT and BOTTOM must lie beyond LEFT and TOP");
    return {v[0], v[1], v[2], v[3]};
}

TOutlineMethod ParseOutline(const std::string& value) {
    if (value == "outline") return TOutlineMethod::Outline;
    if (value == "inline") return TOutlineMethod::Inline;
    if (value == "half-line") return TOutlineMethod::HalfLine;
    throw EUsageError("--outline takes outline, inline or half-line, not \"" + value + "\"");
}

using TStep = std::function<void(TImportSession&)>;

int RunConvert(const std::vector<std::string>& args) {
    const TArguments a = ParseArguments(args, Options);
    ExpectPositionals(a, {"picture file"});
    std::string output, render;
    // What the options do, in order, once the picture is loaded.
    std::vector<TStep> steps;
    // The filter dialogs' settings as the options leave them, step by step.
    TFilterSettings filters;
    for (const auto& [option, value] : a.Options) {
        if (option == "-o") {
            output = value;
        } else if (option == "--png") {
            render = value;
        } else if (option == "--style") {
            const auto style = StyleFromCaption(value);
            if (!style) throw EUsageError("unknown style \"" + value + "\"");
            steps.push_back([s = *style](TImportSession& session) { session.ApplyStyle(s); });
        } else if (option == "--colors") {
            const int v = WholeValue(option, value, 1, 255);
            steps.push_back([v](TImportSession& s) { s.Controls.ColorDepth = v; });
        } else if (option == "--specks") {
            const int v = WholeValue(option, value, 0, 4);
            steps.push_back([v](TImportSession& s) { s.Controls.SimplificationLevel = v; });
        } else if (option == "--outline") {
            const auto v = ParseOutline(value);
            steps.push_back([v](TImportSession& s) { s.Controls.OutlineMethod = v; });
        } else if (option == "--abstraction") {
            const int v = WholeValue(option, value, 1, 10);
            steps.push_back([v](TImportSession& s) { s.Controls.AbstractionLevel = v; });
        } else if (option == "--keep-lines") {
            steps.push_back([](TImportSession& s) { s.Controls.EliminateLines = false; });
        } else if (option == "--zoom") {
            const double v = PositiveValue(option, value);
            steps.push_back([v](TImportSession& s) { s.SetZoomFactor(v); });
        } else if (option == "--crop") {
            const TCropRect r = ParseCrop(value);
            steps.push_back([r](TImportSession& s) { s.SelectionMade(r); });
        } else if (option == "--filter") {
            TFilterKind kind;
            try {
                kind = ParseFilterOption(value, filters);
            } catch (const std::invalid_argument& e) {
                throw EUsageError(e.what());
            }
            steps.push_back([kind, settings = filters](TImportSession& s) {
                s.Filters = settings;
                s.ApplyFilter(kind);
            });
        }
    }
    if (output.empty()) throw EUsageError("no painting file given (-o PAINTING.kvp)");

    const auto started = std::chrono::steady_clock::now();
    TCountingMessages messages;
    TTerminalProgress progress;
    TImportSession session(progress, messages);
    session.LoadPicture(a.Positionals[0]);
    for (const TStep& step : steps)
        step(session);
    TPaintingDocument document(messages);
    document.AdoptImport(session.ReduceAndTrace());
    if (!document.SavePainting(output, "")) return 1;
    if (!render.empty()) {
        TPixelGraphic rendered;
        rendered.Messages = &messages;
        rendered.AssignRaster24(RenderPainting(document.Shapes(), 1.0));
        rendered.SaveToFile(render);
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("%s: %d x %d, %zu shapes (%d traced), %zu points, %zu colours, %s s\n",
                output.c_str(), document.Shapes().PaintingWidth(),
                document.Shapes().PaintingHeight(), document.Shapes().Count(),
                document.TracerShapeCount(), CountVertices(document.Shapes().First()),
                document.PaintingPalette().Count(), FormatFixed(seconds, 2).c_str());
    return 0;
}

} // namespace

const TCommand ConvertCommand = {
    "convert", "PICTURE -o PAINTING.kvp [options]  turn a picture into a painting", Usage,
    RunConvert};

} // namespace pigmentaria::cli
