#include "cli/qt/print_command.h"

#include "cli/commands.h"
#include "cli/palette_command.h"
#include "cli/print_options.h"
#include "cli/terminal.h"
#include "model/painting_file.h"
#include "print/numbers.h"
#include "print/palette_printout.h"
#include "print/preview.h"
#include "print/qt/preview_sheet.h"
#include "print/qt/qt_printer.h"

#include <QImage>

#include <cstdio>
#include <filesystem>
#include <stdexcept>

namespace pigmentaria::cli {

namespace {

std::string BaseName(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

const TPrintLayoutBlock* StoredLayout(const TPaintingForPrint& painting) {
    return painting.Layout ? &*painting.Layout : nullptr;
}

// What a print starts from before the painting's layout and the options: the command line prints
// numbers, on the locale's paper.
TPrintSetup CommandLineBase() {
    TPrintSetup base;
    base.Settings.PrintNumbers = true;
    base.Paper = {poPortrait, LocalePaperCode(), 0, 0};
    return base;
}

int PrintTemplate(const TPrintCommandArgs& a, const TPaintingLoader& load) {
    std::unique_ptr<TPaintingForPrint> painting = load(a.Painting);
    if (!painting || painting->Shapes.Empty())
        throw std::runtime_error(a.Painting + " holds no painting");

    // The stored layout first, the options over it.
    TPrintSetup setup = CommandLineBase();
    switch (MergePrintSetup(setup, StoredLayout(*painting), a.Options)) {
    case TPrintSetupProblem::None:
        break;
    case TPrintSetupProblem::OutlinesNeedAllShapes:
        throw std::runtime_error("--outlines prints all shapes, and the painting's layout prints "
                                 "only some; add --what all");
    case TPrintSetupProblem::NoPages:
        throw std::runtime_error("the stored layout has no pages; give --across and --down");
    }
    TPrintSettings& settings = setup.Settings;
    if (a.CurrentColor) painting->CurrentColor = *a.CurrentColor;

    // A PDF printer describes the sheets also when only preview sheets are written: nothing is
    // written to its file until a job starts.
    const std::string pdf = a.Output.empty() ? std::string("unused.pdf") : a.Output;
    std::unique_ptr<TQtPrinter> printer =
        TQtPrinter::Pdf(pdf, setup.Paper, a.Dpi.value_or(DefaultPrinterDpi));
    TPrintLayout layout = ComputePrintLayout(printer->Metrics(), setup.Paper.Orientation, settings);
    if (!settings.Frame.Visible || settings.Frame.Width <= 0)
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

    if (!a.Output.empty()) {
        PrintAllPages(*printer, settings, layout, pages, "Pigmentaria - " + BaseName(a.Painting));
        std::printf("%s: %d x %d pages, %s, %s, %s\n", a.Output.c_str(), settings.PagesAcross,
                    settings.PagesDown, PaperSizeText(layout).c_str(),
                    PrintSizeText(layout).c_str(), ImageSizeText(layout, settings.Frame).c_str());
    }
    if (!a.PreviewDir.empty()) {
        std::filesystem::create_directories(a.PreviewDir);
        for (int n = 1; n <= settings.PagesAcross * settings.PagesDown; ++n) {
            const TPagePosition at = PagePosition(n, settings.PagesAcross);
            const QImage sheet = RenderPreviewSheet(pages, layout, at.Row, at.Column);
            const std::string name =
                (std::filesystem::path(a.PreviewDir) / ("page-" + std::to_string(n) + ".png"))
                    .string();
            if (!sheet.save(QString::fromStdString(name), "PNG"))
                throw std::runtime_error("cannot write " + name);
        }
        std::printf("%s: %d preview sheets of %d x %d pixels\n", a.PreviewDir.c_str(),
                    settings.PagesAcross * settings.PagesDown, PreviewSheetSize(layout).Width,
                    PreviewSheetSize(layout).Height);
    }
    return 0;
}

int PrintPaletteSheet(const TPaletteCommandArgs& a, const TPaintingLoader& load) {
    // The names first: a palette file that is not there fails before the painting is read.
    TNamedPalette custom;
    if (a.Names) {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(*a.Names, ec))
            throw std::runtime_error("cannot read palette file " + *a.Names);
        LoadPalette(custom, *a.Names);
    }
    std::unique_ptr<TPaintingForPrint> painting = load(a.Painting);
    if (!painting) throw std::runtime_error(a.Painting + " holds no painting");
    // The sheet as the template would be printed: the stored paper, the options over it.
    TPrintSetup setup = CommandLineBase();
    MergePrintSetup(setup, StoredLayout(*painting), a.Paper);
    if (painting->Palette.Empty()) RebuildPaintingPalette(painting->Palette, painting->Shapes);
    std::unique_ptr<TQtPrinter> printer =
        TQtPrinter::Pdf(*a.Print, setup.Paper, a.Dpi.value_or(DefaultPrinterDpi));
    PrintPalette(*printer, painting->Palette, a.Names ? &custom : nullptr);
    std::printf("%s: %zu colours\n", a.Print->c_str(), painting->Palette.Count());
    return 0;
}

int RunPrint(const std::vector<std::string>& args) {
    return RunPrintCommand(args, LoadPaintingForPrint);
}

int RunPalette(const std::vector<std::string>& args) {
    const TPaletteCommandArgs a = ParsePaletteArgs(args);
    return a.Print ? PrintPaletteSheet(a, LoadPaintingForPrint) : ListOrSavePalette(a);
}

} // namespace

std::unique_ptr<TPaintingForPrint> LoadPaintingForPrint(const std::string& fileName) {
    TPaintingFileContents file = ReadPaintingFile(fileName);
    auto painting = std::make_unique<TPaintingForPrint>();
    painting->Shapes = std::move(file.Shapes);
    painting->Layout = file.Layout;
    RebuildPaintingPalette(painting->Palette, painting->Shapes);
    painting->PlaceNumbers = [](TPaintingForPrint& p) {
        TTerminalProgress progress;
        TTerminalMessages messages;
        p.Labels = PlaceNumbers(p.Shapes, p.Palette, progress, messages);
    };
    return painting;
}

int RunPrintCommand(const std::vector<std::string>& args, const TPaintingLoader& load) {
    return PrintTemplate(ParsePrintArgs(args), load);
}

int RunPaletteCommand(const std::vector<std::string>& args, const TPaintingLoader& load) {
    const TPaletteCommandArgs a = ParsePaletteArgs(args);
    if (!a.Print) throw EUsageError("no output given (--print PALETTE.pdf)");
    return PrintPaletteSheet(a, load);
}

const TCommand PrintCommand = {
    "print", "PAINTING.kvp -o TEMPLATE.pdf [options]  print the numbered template", PrintUsage,
    RunPrint};

const TCommand PaletteCommand = {
    "palette", "PAINTING.kvp [-o FILE.KVL | --print PALETTE.pdf]  list, save or print the colours",
    PaletteUsage, RunPalette};

} // namespace pigmentaria::cli
