// The template command with its PDF files: the numbered template across the pages the painting
// was made for, and the paint sheet.
#include "cli/template_command.h"
#include "cli/commands.h"
#include "print/page_render.h"
#include "print/palette_printout.h"
#include "print/qt/qt_printer.h"

#include <cstdio>
#include <filesystem>

namespace pigmentaria::cli {

namespace {

int RunTemplate(const std::vector<std::string>& args) {
    const TTemplateCommandArgs a = ParseTemplateArgs(args);
    const TTemplateFiles files = TemplateFileNames(a);
    const TTemplateResult t = MakeTemplateFiles(a, files);
    const TShapeList& shapes = t.Trace.Shapes;

    TPrintSettings settings;
    ApplyPrintLayoutBlock(t.Plan.Layout, settings, true);
    settings.PrintNumbers = true;
    const TPaperChoice paper = PaperOfBlock(t.Plan.Layout);
    std::unique_ptr<TQtPrinter> printer = TQtPrinter::Pdf(files.TemplatePdf, paper);
    TPrintLayout layout = ComputePrintLayout(printer->Metrics(), paper.Orientation, settings);
    TSelection none;
    TPrintSource source;
    source.Shapes = &shapes;
    source.Selection = &none;
    // The labels are the template's own: placed, and completed with central ones.
    source.Labels = &t.Labels;
    TPagePrinter pages(settings, layout, source);
    PrintAllPages(*printer, settings, layout, pages,
                  "Pigmentaria - " + std::filesystem::path(a.Picture).filename().string());
    std::printf("%s: %d x %d pages, %s, %s, %s\n", files.TemplatePdf.c_str(), settings.PagesAcross,
                settings.PagesDown, PaperSizeText(layout).c_str(), PrintSizeText(layout).c_str(),
                ImageSizeText(layout, settings.Frame).c_str());

    std::unique_ptr<TQtPrinter> sheet =
        TQtPrinter::Pdf(files.PalettePdf, {poPortrait, paper.PaperSize, 0, 0});
    if (t.Recipes)
        PrintRecipeSheet(*sheet, *t.Recipes);
    else
        PrintPaintShares(*sheet, t.Shares);
    double total = 0;
    for (const TPaintShare& s : t.Shares)
        total += s.Percent;
    std::printf("%s: %zu paints, %s in all\n", files.PalettePdf.c_str(), t.Shares.size(),
                ShareText(total).c_str());
    return 0;
}

} // namespace

const TCommand TemplateCommand = {
    "template", "PICTURE -o DIR [options]  make a paint-by-number template in one step",
    TemplateUsage, RunTemplate};

} // namespace pigmentaria::cli
