#include "print/palette_printout.h"

#include "print_fakes.h"

#include <gtest/gtest.h>

namespace pigmentaria {
namespace {

using test::TRecordingPrinter;

// 11 inches at 600 dpi, the whole sheet printable.
TPrinterMetrics Letter() {
    return test::LetterAt600();
}

TEST(PalettePrintout, GeometryOfALetterSheetAt600Dpi) {
    const TPaletteSheetGeometry g = PaletteSheetGeometry(5100, 6600);
    EXPECT_EQ(g.SwatchWidth, 318);
    EXPECT_EQ(g.SwatchHeight, 220);
    EXPECT_EQ(g.SwatchLeft, 1700);
    EXPECT_EQ(g.LineStep, 330);
    EXPECT_EQ(g.FirstLine, 600);
}

TEST(PalettePrintout, SwatchesRunDownTheSheetAndContinueOnTheNext) {
    std::vector<TColor> palette;
    for (int i = 0; i < 25; ++i)
        palette.push_back(MakeColor(i * 10, 0, 0));
    TRecordingPrinter printer(Letter());
    PrintPalette(printer, palette, {});
    EXPECT_EQ(printer.Titles, std::vector<std::string>{"Pigmentaria Palette"});
    EXPECT_EQ(printer.Ended, 1);
    const auto& rects = printer.Canvas().Rects;
    const auto& texts = printer.Canvas().Texts;
    ASSERT_EQ(rects.size(), 25u);
    ASSERT_EQ(texts.size(), 25u);
    // The first swatch's bottom is one step below H div 11.
    EXPECT_EQ(rects[0].Bottom, 930);
    EXPECT_EQ(rects[0].Top, 710);
    EXPECT_EQ(rects[0].Left, 1700);
    EXPECT_EQ(rects[0].Right, 2018);
    EXPECT_EQ(rects[0].Brush.Color, palette[0]);
    // 600 + 18 × 330 = 6540 still fits; the 19th step would pass 6600.
    EXPECT_EQ(rects[17].Bottom, 6540);
    EXPECT_EQ(rects[17].Page, 1);
    EXPECT_EQ(rects[18].Page, 2);
    EXPECT_EQ(rects[18].Bottom, 600);
    EXPECT_EQ(rects[19].Bottom, 930);
    // Numbers continue across sheets; text half a swatch right of it, top at its middle.
    EXPECT_EQ(texts[18].Text, "19: RGB(180, 0, 0)");
    EXPECT_EQ(texts[0].X, 1700 + 318 + 159);
    EXPECT_EQ(texts[0].Y, 930 - 110);
    EXPECT_EQ(texts[0].Font.Name, "Arial");
    EXPECT_EQ(texts[0].Font.Color, clBlack);
    EXPECT_EQ(texts[0].Brush, (TBrush{clWhite, TBrushStyle::Solid}));
}

TEST(PalettePrintout, NamesComeFromTheCustomPaletteElseRgbValues) {
    const std::vector<TNamedColor> custom = {{MakeColor(255, 0, 0), "Cadmium Red"},
                                             {MakeColor(0, 255, 0), ""},
                                             {MakeColor(255, 0, 0), "Other"}};
    EXPECT_EQ(PaletteColorName(MakeColor(255, 0, 0), custom), "Cadmium Red");
    EXPECT_EQ(PaletteColorName(MakeColor(0, 255, 0), custom), "RGB(0, 255, 0)");
    EXPECT_EQ(PaletteColorName(MakeColor(1, 2, 3), custom), "RGB(1, 2, 3)");
    EXPECT_EQ(PaletteColorName(MakeColor(255, 0, 0), {}), "RGB(255, 0, 0)");

    TRecordingPrinter printer(Letter());
    PrintPalette(printer, {MakeColor(0, 255, 0), MakeColor(255, 0, 0)}, custom);
    ASSERT_EQ(printer.Canvas().Texts.size(), 2u);
    EXPECT_EQ(printer.Canvas().Texts[0].Text, "1: RGB(0, 255, 0)");
    EXPECT_EQ(printer.Canvas().Texts[1].Text, "2: Cadmium Red");
}

TEST(PalettePrintout, TheProgramsPalettesPrintInOrderNamedFromTheCustomPalette) {
    TNamedPalette painting;
    RebuildPaintingPalette(painting, [] {
        TShapeList shapes;
        shapes.Append(MakeFrameShape(10, 10));
        shapes.Append(MakeShape(MakeColor(0, 0, 255), {{1, 1}, {5, 1}, {5, 5}}));
        shapes.Append(MakeShape(MakeColor(255, 0, 0), {{2, 2}, {6, 2}, {6, 6}}));
        return shapes;
    }());
    TNamedPalette custom;
    AddPaletteColor(custom, MakeColor(255, 0, 0), "Cadmium Red");
    TRecordingPrinter named(Letter());
    PrintPalette(named, painting, &custom);
    ASSERT_EQ(named.Canvas().Texts.size(), 3u);
    EXPECT_EQ(named.Canvas().Texts[0].Text, "1: RGB(0, 0, 0)");
    EXPECT_EQ(named.Canvas().Texts[1].Text, "2: RGB(0, 0, 255)");
    EXPECT_EQ(named.Canvas().Texts[2].Text, "3: Cadmium Red");
    EXPECT_EQ(named.Canvas().Rects[1].Brush.Color, MakeColor(0, 0, 255));
    TRecordingPrinter plain(Letter());
    PrintPalette(plain, painting, nullptr);
    EXPECT_EQ(plain.Canvas().Texts[2].Text, "3: RGB(255, 0, 0)");
}

TEST(PalettePrintout, AnEmptyPalettePrintsAnEmptyDocument) {
    TRecordingPrinter printer(Letter());
    PrintPalette(printer, {}, {});
    EXPECT_EQ(printer.Begun, 1);
    EXPECT_EQ(printer.Ended, 1);
    EXPECT_TRUE(printer.Canvas().Rects.empty());
    EXPECT_TRUE(printer.Canvas().Texts.empty());
}

} // namespace
} // namespace pigmentaria
