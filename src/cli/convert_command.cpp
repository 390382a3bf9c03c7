// Turns a picture into a painting file, with the import dialog's controls, styles and filters as
// options taken in the order given (a control after a style overrides it, as in the dialog).
#include "cli/convert_command.h"

#include "cli/painting_args.h"
#include "cli/terminal.h"
#include "convert/import_session.h"
#include "editor/document.h"
#include "model/render.h"
#include "platform/text_parse.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>

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

int ParseInt(const std::string& option, const std::string& value, int lo, int hi) {
    const auto v = ParseWhole(value);
    if (!v || *v < lo || *v > hi)
        throw std::invalid_argument(option + " takes a whole number from " + std::to_string(lo) +
                                    " to " + std::to_string(hi));
    return static_cast<int>(*v);
}

double ParseDouble(const std::string& option, const std::string& value) {
    const auto v = ParseReal(value);
    if (!v || !(*v > 0)) throw std::invalid_argument(option + " takes a number above 0");
    return *v;
}

TCropRect ParseCrop(const std::string& value) {
    int v[4];
    std::size_t start = 0;
    for (int i = 0; i < 4; ++i) {
        const std::size_t comma = i < 3 ? value.find(',', start) : value.size();
        if (comma == std::string::npos)
            throw std::invalid_argument("--crop takes LEFT,TOP,RIGHT,BOTTOM");
        v[i] = ParseInt("--crop", value.substr(start, comma - start), 0, 1 << 30);
        start = comma + 1;
    }
    if (v[2] <= v[0] || v[3] <= v[1])
        throw std::invalid_argument("--crop: RIGHT and BOTTOM must lie beyond LEFT and TOP");
    return {v[0], v[1], v[2], v[3]};
}

TOutlineMethod ParseOutline(const std::string& value) {
    if (value == "outline") return TOutlineMethod::Outline;
    if (value == "inline") return TOutlineMethod::Inline;
    if (value == "half-line") return TOutlineMethod::HalfLine;
    throw std::invalid_argument("--outline takes outline, inline or half-line");
}

} // namespace

int RunConvert(int argc, char** argv) {
    if (argc < 1 || !std::strcmp(argv[0], "--help")) {
        std::fputs(Usage, argc < 1 ? stderr : stdout);
        return argc < 1 ? 2 : 0;
    }
    const auto started = std::chrono::steady_clock::now();
    const std::string picture = argv[0];
    TCountingMessages messages;
    TTerminalProgress progress;
    TImportSession session(progress, messages);
    std::string output, render;

    try {
        session.LoadPicture(picture);
        for (int i = 1; i < argc; ++i) {
            const std::string option = argv[i];
            const bool takesValue = option != "--keep-lines";
            if (takesValue && i + 1 >= argc) throw std::invalid_argument(option + " needs a value");
            const std::string value = takesValue ? argv[++i] : "";
            TConversionControls& c = session.Controls;
            if (option == "-o")
                output = value;
            else if (option == "--png")
                render = value;
            else if (option == "--style") {
                const auto style = StyleFromCaption(value);
                if (!style) throw std::invalid_argument("unknown style \"" + value + "\"");
                session.ApplyStyle(*style);
            } else if (option == "--colors")
                c.ColorDepth = ParseInt(option, value, 1, 255);
            else if (option == "--specks")
                c.SimplificationLevel = ParseInt(option, value, 0, 4);
            else if (option == "--outline")
                c.OutlineMethod = ParseOutline(value);
            else if (option == "--abstraction")
                c.AbstractionLevel = ParseInt(option, value, 1, 10);
            else if (option == "--keep-lines")
                c.EliminateLines = false;
            else if (option == "--zoom")
                session.SetZoomFactor(ParseDouble(option, value));
            else if (option == "--crop")
                session.SelectionMade(ParseCrop(value));
            else if (option == "--filter")
                session.ApplyFilter(ParseFilterOption(value, session.Filters));
            else
                throw std::invalid_argument("unknown option " + option);
        }
        if (output.empty()) throw std::invalid_argument("no painting file given (-o PAINTING.kvp)");

        TPaintingDocument document(messages);
        session.ImportInto(document);
        if (!document.SavePainting(output, "")) return 1;
        if (!render.empty()) {
            TPixelGraphic rendered;
            rendered.Messages = &messages;
            rendered.AssignRaster24(RenderPainting(document.Shapes(), 1.0));
            rendered.SaveToFile(render);
        }
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        std::printf("%s: %d x %d, %zu shapes (%d traced), %zu points, %zu colours, %.2f s\n",
                    output.c_str(), document.Shapes().PaintingWidth(),
                    document.Shapes().PaintingHeight(), document.Shapes().Count(),
                    document.TracerShapeCount(), CountVertices(document.Shapes().First()),
                    document.PaintingPalette().Count(), seconds);
        return 0;
    } catch (const std::invalid_argument& e) {
        std::fprintf(stderr, "pigmentaria-cli convert: %s\n", e.what());
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "pigmentaria-cli convert: %s\n", e.what());
        return 1;
    }
}

} // namespace pigmentaria::cli
