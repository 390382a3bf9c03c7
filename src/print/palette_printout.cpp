#include "print/palette_printout.h"

#include "platform/text_parse.h"

#include <algorithm>

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

namespace pigmentaria {

std::string MlText(double ml) {
    return FormatFixed(ml, 1) + " ml";
}

namespace {

// A CSV field: quoted when it holds a comma, a quote or a line end.
std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

std::string Channels(TColor c) {
    return std::to_string(RedOf(c)) + "," + std::to_string(GreenOf(c)) + "," +
           std::to_string(BlueOf(c));
}

} // namespace

std::string RecipeSheetCsv(const TRecipeSheet& sheet) {
    std::string out = "number,name,red,green,blue,recipe,delta_e,area_percent,area_cm2,ml\n";
    for (const TPaintRecipeLine& p : sheet.Paints)
        out += std::to_string(p.Number) + "," + CsvField(p.Name) + "," + Channels(p.Color) + "," +
               CsvField(p.Recipe) + "," + FormatFixed(p.DeltaE, 2) + "," +
               FormatFixed(p.Percent, 2) + "," + FormatFixed(p.AreaCm2, 1) + "," +
               FormatFixed(p.MeasuredMl, 1) + "\n";
    out += "\ntube,red,green,blue,ml\n";
    for (const TTubeAmount& t : sheet.Tubes)
        out += CsvField(t.Name) + "," + Channels(t.Color) + "," + FormatFixed(t.Ml, 1) + "\n";
    return out;
}

void PrintRecipeSheet(IPrinter& printer, const TRecipeSheet& sheet) {
    const TPrinterMetrics m = printer.Metrics();
    const int w = m.PrintableWidth, h = m.PrintableHeight;
    const TPaletteSheetGeometry g = PaletteSheetGeometry(w, h);
    const int left = g.SwatchWidth, right = w - g.SwatchWidth / 2;
    const int textLeft = left + g.SwatchWidth + g.SwatchWidth / 2;
    printer.BeginDoc(PaintSheetTitle);
    TPageCanvas& canvas = printer.Canvas();
    TPageFont font = canvas.Font();
    font.Name = "Arial";
    font.Color = clBlack;
    auto text = [&](int x, int y, const std::string& s) {
        canvas.SetBrush({clWhite, TBrushStyle::Solid});
        canvas.SetFont(font);
        canvas.TextOut(x, y, s);
    };
    auto rightText = [&](int x, int y, const std::string& s) {
        canvas.SetFont(font);
        text(x - canvas.TextWidth(s), y, s);
    };
    canvas.SetFont(font);
    const int lineHeight = canvas.TextHeight("Ag");
    text(left, g.FirstLine / 2 - lineHeight, RecipeSheetHeading);
    text(left, g.FirstLine / 2,
         "Canvas " + FormatFixed(sheet.CanvasWidthCm, 1) + " x " +
             FormatFixed(sheet.CanvasHeightCm, 1) + " cm, " + FormatGeneral(sheet.CoverageM2PerL) +
             " m2 a litre, " + std::to_string(sheet.Coats) + " coats; up to " +
             std::to_string(sheet.MaxTubes) + " tubes a paint; amounts rounded up to 0.5 ml");
    text(left, g.FirstLine / 2 + lineHeight,
         "Mean dE of the recipes " + FormatFixed(sheet.MeanRecipeDeltaE, 1) +
             ", of the painting to the photo " + FormatFixed(sheet.PhotoDeltaE, 1) +
             (sheet.Mixable ? " (only mixable colours)" : ""));
    // Two lines a paint: its name and figures level with the swatch's top, the recipe below.
    const int step = std::max(g.LineStep, 2 * lineHeight + g.SwatchHeight / 2);
    int y = g.FirstLine;
    auto nextLine = [&]() {
        y += step;
        if (y > h) {
            printer.NewPage();
            y = g.FirstLine;
        }
    };
    for (const TPaintRecipeLine& p : sheet.Paints) {
        nextLine();
        canvas.SetBrush({p.Color, TBrushStyle::Solid});
        canvas.FillRect(left, y - g.SwatchHeight, left + g.SwatchWidth, y);
        const int top = y - g.SwatchHeight;
        text(textLeft, top, std::to_string(p.Number) + ": " + p.Name);
        text(textLeft, top + lineHeight, p.Recipe);
        rightText(right, top,
                  "dE " + FormatFixed(p.DeltaE, 1) + "   " + ShareText(p.Percent) + "   " +
                      MlText(p.MeasuredMl));
    }
    nextLine();
    text(left, y - g.SwatchHeight, "Tubes to buy");
    for (const TTubeAmount& t : sheet.Tubes) {
        nextLine();
        canvas.SetBrush({t.Color, TBrushStyle::Solid});
        canvas.FillRect(left, y - g.SwatchHeight, left + g.SwatchWidth, y);
        text(textLeft, y - g.SwatchHeight, t.Name);
        rightText(right, y - g.SwatchHeight, MlText(t.Ml));
    }
    printer.EndDoc();
}

} // namespace pigmentaria
