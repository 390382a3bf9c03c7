#include "print/palette_printout.h"

#include "platform/text_parse.h"

namespace pigmentaria {

TPaletteSheetGeometry PaletteSheetGeometry(int pageWidth, int pageHeight) {
    TPaletteSheetGeometry g;
    g.SwatchWidth = pageWidth / 16;
    g.SwatchHeight = pageHeight / 30;
    g.SwatchLeft = pageWidth / 3;
    g.LineStep = g.SwatchHeight + g.SwatchHeight / 2;
    g.FirstLine = pageHeight / 11;
    return g;
}

std::string PaletteColorName(TColor color, const std::vector<TNamedColor>& customPalette) {
    for (const TNamedColor& e : customPalette)
        if (e.Color == color) {
            if (!e.Name.empty()) return e.Name;
            break;
        }
    return "RGB(" + std::to_string(RedOf(color)) + ", " + std::to_string(GreenOf(color)) + ", " +
           std::to_string(BlueOf(color)) + ")";
}

void PrintPalette(IPrinter& printer, const std::vector<TColor>& paintingPalette,
                  const std::vector<TNamedColor>& customPalette) {
    TNullProgress progress;
    PrintPalette(printer, paintingPalette, customPalette, progress);
}

void PrintPalette(IPrinter& printer, const std::vector<TColor>& paintingPalette,
                  const std::vector<TNamedColor>& customPalette, IProgressSink& progress) {
    const TPrinterMetrics m = printer.Metrics();
    const int h = m.PrintableHeight;
    const TPaletteSheetGeometry g = PaletteSheetGeometry(m.PrintableWidth, h);
    TProgressRun run(progress, PaletteJobMessage, 0, static_cast<int>(paintingPalette.size()));
    printer.BeginDoc(PaletteJobTitle);
    try {
        TPageCanvas& canvas = printer.Canvas();
        int y = g.FirstLine;
        int counter = 0;
        for (const TColor color : paintingPalette) {
            y += g.LineStep;
            if (y > h) {
                printer.NewPage();
                y = g.FirstLine;
            }
            canvas.SetBrush({color, TBrushStyle::Solid});
            canvas.FillRect(g.SwatchLeft, y - g.SwatchHeight, g.SwatchLeft + g.SwatchWidth, y);
            ++counter;
            canvas.SetBrush({clWhite, TBrushStyle::Solid});
            TPageFont font = canvas.Font();
            font.Name = "Arial";
            font.Color = clBlack;
            canvas.SetFont(font);
            canvas.TextOut(g.SwatchLeft + g.SwatchWidth + g.SwatchWidth / 2, y - g.SwatchHeight / 2,
                           std::to_string(counter) + ": " + PaletteColorName(color, customPalette));
            run.Step(counter);
        }
    } catch (...) {
        // Nothing half-printed is left behind under the job's name.
        printer.AbortDoc();
        throw;
    }
    printer.EndDoc();
}

namespace {

void PaletteColors(const TNamedPalette& paintingPalette, const TNamedPalette* customPalette,
                   std::vector<TColor>& colors, std::vector<TNamedColor>& names) {
    for (const TPaletteEntry& e : paintingPalette.Entries())
        colors.push_back(e.Color);
    if (customPalette)
        for (const TPaletteEntry& e : customPalette->Entries())
            names.push_back({e.Color, e.Name});
}

} // namespace

void PrintPalette(IPrinter& printer, const TNamedPalette& paintingPalette,
                  const TNamedPalette* customPalette) {
    TNullProgress progress;
    PrintPalette(printer, paintingPalette, customPalette, progress);
}

void PrintPalette(IPrinter& printer, const TNamedPalette& paintingPalette,
                  const TNamedPalette* customPalette, IProgressSink& progress) {
    std::vector<TColor> colors;
    std::vector<TNamedColor> names;
    PaletteColors(paintingPalette, customPalette, colors, names);
    PrintPalette(printer, colors, names, progress);
}

std::string ShareText(double percent) {
    return FormatFixed(percent, 1) + " %";
}

void PrintPaintShares(IPrinter& printer, const std::vector<TPaintShare>& shares) {
    const TPrinterMetrics m = printer.Metrics();
    const int w = m.PrintableWidth, h = m.PrintableHeight;
    const TPaletteSheetGeometry g = PaletteSheetGeometry(w, h);
    // The shares end a swatch's width from the right edge.
    const int shareRight = w - g.SwatchWidth;
    printer.BeginDoc(PaintSheetTitle);
    TPageCanvas& canvas = printer.Canvas();
    TPageFont font = canvas.Font();
    font.Name = "Arial";
    font.Color = clBlack;
    canvas.SetBrush({clWhite, TBrushStyle::Solid});
    canvas.SetFont(font);
    canvas.TextOut(g.SwatchWidth, g.FirstLine / 2, PaintSheetHeading);
    int y = g.FirstLine;
    for (const TPaintShare& share : shares) {
        y += g.LineStep;
        if (y > h) {
            printer.NewPage();
            y = g.FirstLine;
        }
        canvas.SetBrush({share.Color, TBrushStyle::Solid});
        canvas.FillRect(g.SwatchLeft, y - g.SwatchHeight, g.SwatchLeft + g.SwatchWidth, y);
        canvas.SetBrush({clWhite, TBrushStyle::Solid});
        canvas.SetFont(font);
        const int textY = y - g.SwatchHeight / 2;
        canvas.TextOut(g.SwatchLeft + g.SwatchWidth + g.SwatchWidth / 2, textY,
                       std::to_string(share.Number) + ": " + share.Name);
        const std::string percent = ShareText(share.Percent);
        canvas.TextOut(shareRight - canvas.TextWidth(percent), textY, percent);
    }
    printer.EndDoc();
}

} // namespace pigmentaria
