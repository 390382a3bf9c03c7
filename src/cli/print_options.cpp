#include "cli/print_options.h"

#include "cli/arguments.h"
#include "platform/text_parse.h"
#include "print/printer.h"

#include <algorithm>

namespace pigmentaria::cli {

namespace {

constexpr TOptionSpec Options[] = {
    {"-o", true},
    {"--preview", true},
    {"--across", true},
    {"--down", true},
    {"--overlap", true},
    {"--outlines", false},
    {"--fill", true},
    {"--what", true},
    {"--color", true},
    {"--line-weight", true},
    {"--outline-color", true},
    {"--numbers", false},
    {"--no-numbers", false},
    {"--marks", false},
    {"--no-marks", false},
    {"--page-numbers", false},
    {"--paper", true},
    {"--landscape", false},
    {"--portrait", false},
    {"--dpi", true},
    {"--frame", true},
    {"--simplify-mm", true},
    {"--min-mm", true},
    {"--central-labels", false},
};

double Inches(const std::string& text) {
    const auto v = ParseReal(text);
    if (!v || !(*v >= 0 && *v <= 100))
        throw EUsageError("--overlap takes inches from 0 to 100, not \"" + text + "\"");
    return *v;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Six hexadecimal digits, red first.
TColor HexColor(const std::string& text) {
    int rgb = 0;
    bool ok = text.size() == 6;
    for (std::size_t i = 0; ok && i < text.size(); ++i) {
        ok = HexDigit(text[i]) >= 0;
        rgb = rgb * 16 + std::max(HexDigit(text[i]), 0);
    }
    if (!ok) throw EUsageError("--color takes RRGGBB in hexadecimal, not \"" + text + "\"");
    return MakeColor(rgb >> 16, rgb >> 8, rgb);
}

// LEFT,TOP,WIDTH,HEIGHT with a positive size.
TPlacementFrame Frame(const std::string& text) {
    int v[4];
    std::size_t start = 0;
    for (int i = 0; i < 4; ++i) {
        const std::size_t comma = i < 3 ? text.find(',', start) : text.size();
        const auto n = comma == std::string::npos
                           ? std::nullopt
                           : ParseWhole(std::string_view(text).substr(start, comma - start));
        if (!n || *n < -1000000 || *n > 1000000)
            throw EUsageError("--frame takes LEFT,TOP,WIDTH,HEIGHT with a positive size, not \"" +
                              text + "\"");
        v[i] = static_cast<int>(*n);
        start = comma + 1;
    }
    if (v[2] <= 0 || v[3] <= 0)
        throw EUsageError("--frame takes LEFT,TOP,WIDTH,HEIGHT with a positive size, not \"" +
                          text + "\"");
    return {v[0], v[1], v[2], v[3], true};
}

} // namespace

double Millimetres(const std::string& option, const std::string& value) {
    const double v = RealValue(option, value);
    if (!(v >= 0.1 && v <= 100))
        throw EUsageError(option + " takes millimetres from 0.1 to 100, not \"" + value + "\"");
    return v;
}

TPaperChoice ParsePaper(const std::string& text) {
    const std::string t = ToLower(text);
    if (t == "letter") return {poPortrait, PaperLetter, 0, 0};
    if (t == "a4") return {poPortrait, PaperA4, 0, 0};
    if (t == "legal") return {poPortrait, PaperLegal, 0, 0};
    if (t == "a3") return {poPortrait, PaperA3, 0, 0};
    const std::size_t x = t.find('x');
    const bool mm = t.size() > 2 && t.compare(t.size() - 2, 2, "mm") == 0;
    const auto w = x == std::string::npos ? std::nullopt : ParseReal(t.substr(0, x));
    const auto h = x == std::string::npos || !mm
                       ? std::nullopt
                       : ParseReal(t.substr(x + 1, t.size() - 2 - (x + 1)));
    if (!w || !h || !(*w >= 25 && *w <= 2000 && *h >= 25 && *h <= 2000))
        throw EUsageError(
            "--paper takes letter, a4, a3, legal or WIDTHxHEIGHTmm from 25 to 2000 mm, "
            "not \"" +
            text + "\"");
    // Tenths of a millimetre, as the printer's user paper size counts them.
    return {poPortrait, PaperUser, static_cast<int>(*w * 10 + 0.5),
            static_cast<int>(*h * 10 + 0.5)};
}

TPrintCommandArgs ParsePrintArgs(const std::vector<std::string>& args) {
    const TArguments a = ParseArguments(args, Options);
    ExpectPositionals(a, {"painting file"});
    TPrintCommandArgs out;
    out.Painting = a.Positionals[0];
    TPrintOptions& p = out.Options;
    std::optional<double> minMm;
    for (const auto& [o, v] : a.Options) {
        if (o == "-o")
            out.Output = v;
        else if (o == "--preview")
            out.PreviewDir = v;
        else if (o == "--across")
            p.PagesAcross = WholeValue(o, v, 1, 99);
        else if (o == "--down")
            p.PagesDown = WholeValue(o, v, 1, 99);
        else if (o == "--overlap")
            p.Overlap = Inches(v);
        else if (o == "--outlines")
            p.OutlinesOnly = true;
        else if (o == "--fill") {
            const std::string f = ToLower(v);
            if (f == "gray" || f == "grey")
                p.FillWith = fwGray;
            else if (f == "color" || f == "colour")
                p.FillWith = fwColor;
            else if (f == "black")
                p.FillWith = fwBlack;
            else
                throw EUsageError("--fill takes gray, color or black, not \"" + v + "\"");
            p.OutlinesOnly = false;
        } else if (o == "--what") {
            const std::string w = ToLower(v);
            if (w == "all")
                p.WhatToPrint = wpAll;
            else if (w == "selected")
                p.WhatToPrint = wpSelected;
            else if (w == "color" || w == "colour")
                p.WhatToPrint = wpCurrentColor;
            else
                throw EUsageError("--what takes all, selected or color, not \"" + v + "\"");
        } else if (o == "--color")
            out.CurrentColor = HexColor(v);
        else if (o == "--line-weight")
            p.LineWeight = WholeValue(o, v, MinLineWeight, MaxLineWeight);
        else if (o == "--outline-color") {
            const std::string c = ToLower(v);
            if (c != "black" && c != "shape")
                throw EUsageError("--outline-color takes black or shape, not \"" + v + "\"");
            p.OutlinesBlack = c == "black";
        } else if (o == "--numbers" || o == "--no-numbers")
            p.PrintNumbers = o == "--numbers";
        else if (o == "--marks" || o == "--no-marks")
            p.RegistrationMarks = o == "--marks";
        else if (o == "--page-numbers")
            p.PageNumbers = true;
        else if (o == "--paper")
            p.Paper = ParsePaper(v);
        else if (o == "--landscape" || o == "--portrait")
            p.Orientation = o == "--landscape" ? poLandscape : poPortrait;
        else if (o == "--dpi")
            out.Dpi = WholeValue(o, v, 72, 2400);
        else if (o == "--frame")
            p.Frame = Frame(v);
        else if (o == "--simplify-mm")
            out.SimplifyMm = Millimetres(o, v);
        else if (o == "--min-mm")
            minMm = Millimetres(o, v);
        else if (o == "--central-labels")
            out.CentralLabels = true;
    }
    out.MinMm = minMm.value_or(out.SimplifyMm.value_or(DefaultTemplateMinMm));
    if (p.OutlinesOnly.value_or(false) && p.WhatToPrint.value_or(wpAll) != wpAll)
        throw EUsageError("--outlines prints all shapes; leave out --what");
    if (out.Output.empty() && out.PreviewDir.empty())
        throw EUsageError("no output given (-o TEMPLATE.pdf or --preview DIR)");
    return out;
}

} // namespace pigmentaria::cli
