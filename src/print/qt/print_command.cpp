#include "print/qt/print_command.h"

#include "platform/text_parse.h"

#include "print/preview.h"
#include "print/qt/preview_sheet.h"
#include "print/qt/qt_printer.h"

#include <QImage>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace pigmentaria {

namespace {

[[noreturn]] void Usage(const std::string& why, const char* usage) {
    throw std::runtime_error(why + "\nusage: pigmentaria-cli " + usage);
}

int ParseInt(const std::string& text, int lo, int hi, const std::string& what, const char* usage) {
    const auto v = ParseWhole(text);
    if (!v || *v < lo || *v > hi)
        Usage(what + " must be a whole number from " + std::to_string(lo) + " to " +
                  std::to_string(hi) + ", not \"" + text + "\"",
              usage);
    return static_cast<int>(*v);
}

double ParseInches(const std::string& text, const char* usage) {
    const auto v = ParseReal(text);
    if (!v || !(*v >= 0 && *v <= 100))
        Usage("overlap must be inches from 0 to 100, not \"" + text + "\"", usage);
    return *v;
}

// letter, a4, legal, or WxHmm (millimetres, decimals allowed).
TPaperChoice ParsePaper(const std::string& text, TPaperChoice paper, const char* usage) {
    const std::string t = ToLower(text);
    paper.UserPaperWidth = paper.UserPaperLength = 0;
    if (t == "letter") {
        paper.PaperSize = PaperLetter;
    } else if (t == "a4") {
        paper.PaperSize = PaperA4;
    } else if (t == "legal") {
        paper.PaperSize = PaperLegal;
    } else {
        double w = 0, h = 0;
        char tail[8] = {};
        if (std::sscanf(t.c_str(), "%lfx%lf%7s", &w, &h, tail) != 3 || std::string(tail) != "mm" ||
            !(w >= 25 && w <= 2000 && h >= 25 && h <= 2000))
            Usage("paper must be letter, a4, legal or WIDTHxHEIGHTmm from 25 to 2000 mm, not \"" +
                      text + "\"",
                  usage);
        paper.PaperSize = PaperUser;
        paper.UserPaperWidth = static_cast<int>(w * 10 + 0.5);
        paper.UserPaperLength = static_cast<int>(h * 10 + 0.5);
    }
    return paper;
}

struct TArgs {
    explicit TArgs(const std::vector<std::string>& a, const char* usage) : A(a), Usage_(usage) {}
    bool More() const { return I < A.size(); }
    const std::string& Next() { return A[I++]; }
    const std::string& Value(const std::string& option) {
        if (I >= A.size()) Usage(option + " needs a value", Usage_);
        return A[I++];
    }
    const std::vector<std::string>& A;
    const char* Usage_;
    std::size_t I = 0;
};

std::string BaseName(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

} // namespace

std::vector<TColor> ColorsInOrderOfUse(const TShapeList& shapes) {
    std::vector<TColor> colors;
    for (const TPaintShape& s : shapes)
        if (std::find(colors.begin(), colors.end(), s.Color) == colors.end())
            colors.push_back(s.Color);
    return colors;
}

std::vector<TNamedColor> ReadPaletteNames(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read palette file " + fileName);
    std::vector<TNamedColor> names;
    std::string line;
    std::getline(in, line); // the description
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        const std::size_t comma = line.find(',');
        const std::string number = line.substr(0, comma);
        std::size_t used = 0;
        long long value = 0;
        try {
            value = std::stoll(number, &used);
        } catch (const std::exception&) {
            used = 0;
        }
        if (used == 0 || used != number.size())
            throw std::runtime_error("\"" + number + "\" is not a colour in " + fileName);
        TNamedColor c{static_cast<TColor>(value),
                      comma == std::string::npos ? "" : line.substr(comma + 1, 200)};
        const bool present = std::any_of(names.begin(), names.end(),
                                         [&](const TNamedColor& n) { return n.Color == c.Color; });
        if (!present) names.push_back(c);
    }
    return names;
}

int RunPrintCommand(const std::vector<std::string>& args, const TPaintingLoader& load) {
    const char* usage = PrintUsage;
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::printf("usage: pigmentaria-cli %s\n", usage);
        return 0;
    }
    TArgs a(args, usage);
    std::string input, output, previewDir;
    std::optional<int> across, down, lineWeight, fill, what, dpi;
    std::optional<double> overlap;
    std::optional<bool> outlinesOnly, outlinesBlack, marks, numbers, pageNumbers;
    std::optional<TColor> current;
    std::optional<std::string> paperText;
    std::optional<int> orientation;
    std::optional<TPlacementFrame> frame;
    while (a.More()) {
        const std::string o = a.Next();
        if (o == "-o")
            output = a.Value(o);
        else if (o == "--preview")
            previewDir = a.Value(o);
        else if (o == "--across")
            across = ParseInt(a.Value(o), 1, 99, "pages across", usage);
        else if (o == "--down")
            down = ParseInt(a.Value(o), 1, 99, "pages down", usage);
        else if (o == "--overlap")
            overlap = ParseInches(a.Value(o), usage);
        else if (o == "--outlines")
            outlinesOnly = true;
        else if (o == "--fill") {
            const std::string v = ToLower(a.Value(o));
            if (v == "gray" || v == "grey")
                fill = fwGray;
            else if (v == "color" || v == "colour")
                fill = fwColor;
            else if (v == "black")
                fill = fwBlack;
            else
                Usage("--fill takes gray, color or black", usage);
            outlinesOnly = false;
        } else if (o == "--what") {
            const std::string v = ToLower(a.Value(o));
            if (v == "all")
                what = wpAll;
            else if (v == "selected")
                what = wpSelected;
            else if (v == "color" || v == "colour")
                what = wpCurrentColor;
            else
                Usage("--what takes all, selected or color", usage);
        } else if (o == "--color") {
            const std::string v = a.Value(o);
            char* end = nullptr;
            const long rgb = std::strtol(v.c_str(), &end, 16);
            if (v.size() != 6 || *end != '\0' || rgb < 0)
                Usage("--color takes RRGGBB in hexadecimal", usage);
            current = MakeColor(rgb >> 16, rgb >> 8, rgb);
        } else if (o == "--line-weight")
            lineWeight = ParseInt(a.Value(o), MinLineWeight, MaxLineWeight, "line weight", usage);
        else if (o == "--outline-color") {
            const std::string v = ToLower(a.Value(o));
            if (v != "black" && v != "shape") Usage("--outline-color takes black or shape", usage);
            outlinesBlack = v == "black";
        } else if (o == "--numbers")
            numbers = true;
        else if (o == "--no-numbers")
            numbers = false;
        else if (o == "--marks")
            marks = true;
        else if (o == "--no-marks")
            marks = false;
        else if (o == "--page-numbers")
            pageNumbers = true;
        else if (o == "--paper")
            paperText = a.Value(o);
        else if (o == "--landscape")
            orientation = poLandscape;
        else if (o == "--portrait")
            orientation = poPortrait;
        else if (o == "--dpi")
            dpi = ParseInt(a.Value(o), 72, 2400, "dpi", usage);
        else if (o == "--frame") {
            const std::string v = a.Value(o);
            TPlacementFrame f;
            char extra = 0;
            if (std::sscanf(v.c_str(), "%d,%d,%d,%d%c", &f.Left, &f.Top, &f.Width, &f.Height,
                            &extra) != 4 ||
                f.Width <= 0 || f.Height <= 0)
                Usage("--frame takes LEFT,TOP,WIDTH,HEIGHT with a positive size", usage);
            f.Visible = true;
            frame = f;
        } else if (!o.empty() && o[0] == '-')
            Usage("unknown option " + o, usage);
        else if (input.empty())
            input = o;
        else
            Usage("more than one painting given", usage);
    }
    if (input.empty()) Usage("no painting given", usage);
    if (output.empty() && previewDir.empty()) Usage("no output given (-o or --preview)", usage);

    std::unique_ptr<TPaintingForPrint> painting = load(input);
    if (!painting || painting->Shapes.Empty())
        throw std::runtime_error(input + " holds no painting");

    // The stored layout first, the options over it.
    TPrintSettings settings;
    settings.PrintNumbers = true;
    TPaperChoice paper{poPortrait, LocalePaperCode(), 0, 0};
    if (painting->Layout) {
        ApplyPrintLayoutBlock(*painting->Layout, settings, true);
        const TPaperChoice stored = PaperOfBlock(*painting->Layout);
        paper.Orientation = stored.Orientation;
        if (stored.PaperSize != 0) paper = stored;
    }
    if (across) settings.PagesAcross = *across;
    if (down) settings.PagesDown = *down;
    if (overlap) settings.Overlap = *overlap;
    if (what) SetWhatToPrint(settings, *what);
    if (outlinesOnly) {
        if (*outlinesOnly && settings.WhatToPrint != wpAll)
            Usage("--outlines prints all shapes; leave out --what", usage);
        settings.OutlinesOnly = *outlinesOnly;
    }
    if (fill) settings.FillWith = *fill;
    if (lineWeight) settings.LineWeight = *lineWeight;
    if (outlinesBlack) settings.OutlinesBlack = *outlinesBlack;
    if (numbers) settings.PrintNumbers = *numbers;
    if (marks) settings.RegistrationMarks = *marks;
    if (pageNumbers) settings.PageNumbers = *pageNumbers;
    if (paperText) paper = ParsePaper(*paperText, paper, usage);
    if (orientation) paper.Orientation = *orientation;
    if (current) painting->CurrentColor = *current;
    if (settings.PagesAcross <= 0 || settings.PagesDown <= 0)
        throw std::runtime_error("the stored layout has no pages; give --across and --down");

    // A PDF printer describes the sheets also when only preview sheets are written: nothing is
    // written to its file until a job starts.
    const std::string pdf = output.empty() ? std::string("unused.pdf") : output;
    std::unique_ptr<TQtPrinter> printer =
        TQtPrinter::Pdf(pdf, paper, dpi.value_or(DefaultPrinterDpi));
    TPrintLayout layout = ComputePrintLayout(printer->Metrics(), paper.Orientation, settings);
    if (frame)
        settings.Frame = *frame;
    else if (!settings.Frame.Visible || settings.Frame.Width <= 0)
        settings.Frame = FirstPlacementFrame(layout, painting->Shapes.PaintingWidth(),
                                             painting->Shapes.PaintingHeight());
    layout.ImageWidthIn = FrameWidthIn(layout, settings.Frame);
    layout.ImageHeightIn = FrameHeightIn(layout, settings.Frame);

    TPrintSource source;
    source.Shapes = &painting->Shapes;
    source.Selection = &painting->Selection;
    source.CurrentColor = painting->CurrentColor;
    source.Labels = &painting->Labels;
    TPaintingForPrint* p = painting.get();
    if (painting->PlaceNumbers) source.PlaceNumbers = [p] { p->PlaceNumbers(*p); };
    TPagePrinter pages(settings, layout, source);

    if (!output.empty()) {
        PrintAllPages(*printer, settings, layout, pages, "Pigmentaria - " + BaseName(input));
        std::printf("%s: %d x %d pages, %s, %s, %s\n", output.c_str(), settings.PagesAcross,
                    settings.PagesDown, PaperSizeText(layout).c_str(),
                    PrintSizeText(layout).c_str(), ImageSizeText(layout, settings.Frame).c_str());
    }
    if (!previewDir.empty()) {
        std::filesystem::create_directories(previewDir);
        for (int n = 1; n <= settings.PagesAcross * settings.PagesDown; ++n) {
            const TPagePosition at = PagePosition(n, settings.PagesAcross);
            const QImage sheet = RenderPreviewSheet(pages, layout, at.Row, at.Column);
            const std::string name =
                (std::filesystem::path(previewDir) / ("page-" + std::to_string(n) + ".png"))
                    .string();
            if (!sheet.save(QString::fromStdString(name), "PNG"))
                throw std::runtime_error("cannot write " + name);
        }
        std::printf("%s: %d preview sheets of %d x %d pixels\n", previewDir.c_str(),
                    settings.PagesAcross * settings.PagesDown, PreviewSheetSize(layout).Width,
                    PreviewSheetSize(layout).Height);
    }
    return 0;
}

int RunPaletteCommand(const std::vector<std::string>& args, const TPaintingLoader& load) {
    const char* usage = PaletteUsage;
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::printf("usage: pigmentaria-cli %s\n", usage);
        return 0;
    }
    TArgs a(args, usage);
    std::string input, output, names;
    std::optional<int> dpi;
    TPaperChoice paper{poPortrait, LocalePaperCode(), 0, 0};
    bool paperGiven = false;
    while (a.More()) {
        const std::string o = a.Next();
        if (o == "--print")
            output = a.Value(o);
        else if (o == "--names")
            names = a.Value(o);
        else if (o == "--paper")
            paper = ParsePaper(a.Value(o), paper, usage), paperGiven = true;
        else if (o == "--landscape")
            paper.Orientation = poLandscape;
        else if (o == "--dpi")
            dpi = ParseInt(a.Value(o), 72, 2400, "dpi", usage);
        else if (!o.empty() && o[0] == '-')
            Usage("unknown option " + o, usage);
        else if (input.empty())
            input = o;
        else
            Usage("more than one painting given", usage);
    }
    if (input.empty()) Usage("no painting given", usage);
    if (output.empty()) Usage("no output given (--print)", usage);
    std::unique_ptr<TPaintingForPrint> painting = load(input);
    if (!painting) throw std::runtime_error(input + " holds no painting");
    if (!paperGiven && painting->Layout && painting->Layout->PaperSize != 0)
        paper = PaperOfBlock(*painting->Layout);
    const std::vector<TColor> palette =
        painting->Palette.empty() ? ColorsInOrderOfUse(painting->Shapes) : painting->Palette;
    const std::vector<TNamedColor> custom =
        names.empty() ? std::vector<TNamedColor>{} : ReadPaletteNames(names);
    std::unique_ptr<TQtPrinter> printer =
        TQtPrinter::Pdf(output, paper, dpi.value_or(DefaultPrinterDpi));
    PrintPalette(*printer, palette, custom);
    std::printf("%s: %zu colours\n", output.c_str(), palette.size());
    return 0;
}

} // namespace pigmentaria
