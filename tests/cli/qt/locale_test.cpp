// Files and arguments read and written in a program that has adopted a German locale, as a Qt
// program does when its application object starts: numbers keep their full stop.
#include "cli/arguments.h"
#include "cli/filter_option.h"
#include "cli/palette_command.h"
#include "cli/print_options.h"
#include "convert/import_session.h"
#include "image/painting_export.h"
#include "image/pg_stream.h"
#include "image/pixel_graphic.h"
#include "locale_util.h"
#include "model/painting_file.h"
#include "palette/color_functions.h"
#include "palette/palette.h"
#include "platform/text_parse.h"
#include "print/print_layout.h"
#include "print/qt/qt_app.h"
#include "test_util.h"

#include <gtest/gtest.h>

#include <clocale>

namespace pigmentaria {
namespace {

class GermanLocale : public test::TGermanLocaleTest {
protected:
    void SetUp() override {
        // The application object adopts the user's locale first; the test's comes over it.
        EnsureQtGui();
        TGermanLocaleTest::SetUp();
    }
};

TShapeList Painting() {
    TShapeList list;
    list.Append(MakeFrameShape(60, 40));
    list.Append(MakeShape(MakeColor(255, 0, 0), {{5, 5}, {30, 5}, {30, 30}, {5, 30}}));
    list.Append(MakeShape(MakeColor(0, 0, 255), {{35, 5}, {55, 5}, {45, 35}}));
    return list;
}

TEST_F(GermanLocale, NumbersTypedWithAFullStopAreRead) {
    EXPECT_EQ(ParseReal("0.5"), 0.5);
    EXPECT_EQ(ParseReal("-1.25e1"), -12.5);
    EXPECT_FALSE(ParseReal("0,5"));
    EXPECT_EQ(ParseWhole("-42"), -42);
    // A window's text in the user's locale, with the locale's decimal point handed in.
    EXPECT_EQ(ParseReal("0,5", ','), 0.5);
}

TEST_F(GermanLocale, ArgumentsAreReadWithAFullStop) {
    EXPECT_EQ(cli::RealValue("--zoom", "0.25"), 0.25);
    TFilterSettings filters;
    EXPECT_EQ(cli::ParseFilterOption("sharpen:sigma=1.5,strength=62.5", filters),
              TFilterKind::Sharpen);
    EXPECT_EQ(filters.Sharpen.StdDeviation, 1.5);
    EXPECT_EQ(filters.Sharpen.Strength, 62.5);
    cli::ParseFilterOption("bcg:contrast=1.75,gamma=0.8", filters);
    EXPECT_EQ(filters.Contrast, 1.75);
    EXPECT_EQ(filters.Gamma, 0.8);

    const cli::TPrintCommandArgs print = cli::ParsePrintArgs(
        {"p.kvp", "-o", "t.pdf", "--overlap", "0.75", "--paper", "215.9x279.4mm"});
    EXPECT_EQ(print.Options.Overlap, 0.75);
    EXPECT_EQ(print.Options.Paper, (TPaperChoice{poPortrait, PaperUser, 2159, 2794}));
    const cli::TPaletteCommandArgs palette =
        cli::ParsePaletteArgs({"p.kvp", "--print", "s.pdf", "--paper", "148.5x210mm"});
    EXPECT_EQ(palette.Paper.Paper, (TPaperChoice{poPortrait, PaperUser, 1485, 2100}));
}

TEST_F(GermanLocale, TheLayoutsLabelsAndRaisedOverlapKeepAFullStop) {
    // Letter at 600 dpi with 0.3 inch of unprintable margin across and 0.4 down.
    TPrinterMetrics m;
    m.PhysicalWidth = 5100;
    m.PhysicalHeight = 6600;
    m.PhysicalOffsetX = 90;
    m.PhysicalOffsetY = 120;
    m.PrintableWidth = 4920;
    m.PrintableHeight = 6360;
    TPrintSettings settings;
    settings.PagesAcross = 2;
    settings.Overlap = 0.5;
    const TPrintLayout layout = ComputePrintLayout(m, poPortrait, settings);
    EXPECT_EQ(settings.Overlap, 0.9);
    EXPECT_EQ(FormatGeneral(settings.Overlap), "0.9");
    EXPECT_EQ(PaperSizeText(layout), "8.5\" x 11\"");
    EXPECT_EQ(PrintSizeText(layout), "Total Print Size: 16.1\" x 11\"");
    EXPECT_EQ(ImageSizeText(layout, {0, 0, 50, 30, true}).find(','), std::string::npos);
    // A window passes the user's decimal point.
    EXPECT_EQ(PaperSizeText(layout, ','), "8,5\" x 11\"");
}

TEST_F(GermanLocale, ThePaintLabelAndMessagesKeepAFullStop) {
    EXPECT_EQ(FormatTwoDecimals(342.857142), "342.86");
    EXPECT_EQ(FormatTwoDecimals(0.5), "0.5");
    EXPECT_EQ(PaintLabelText(MakeColor(30, 90, 60), nullptr),
              "RGB:(30, 90, 60)  HSV:(150, 0.67, 90)");
    EXPECT_EQ(PaintLabelText(MakeColor(30, 90, 60), nullptr, ','),
              "RGB:(30, 90, 60)  HSV:(150, 0,67, 90)");

    // A picture too large for a painting is converted smaller, and the user is told how much.
    TNullProgress progress;
    test::TRecordingMessages messages;
    TImportSession session(progress, messages);
    TPixelGraphic wide;
    wide.SetSize(6000, 4, ct24Bit);
    session.SetPicture(std::move(wide));
    ASSERT_EQ(messages.Warnings.size(), 1u);
    EXPECT_NE(messages.Warnings[0].find("converted at 83.3%"), std::string::npos)
        << messages.Warnings[0];
}

TEST_F(GermanLocale, FilesComeOutAsInTheCLocaleAndReadBack) {
    test::TTempDir dir;
    const TShapeList shapes = Painting();

    // The palette file.
    TNamedPalette palette;
    AddPaletteColor(palette, MakeColor(0, 255, 0), "Green");
    AddPaletteColor(palette, 0xFFFFFFFFu, "All bits, 1.5");
    SavePalette(palette, dir / "p.KVL", "Test 0.5");
    EXPECT_EQ(test::ReadText(dir / "p.KVL"), "Test 0.5\r\n65280,Green\r\n-1,All bits, 1.5\r\n");
    TNamedPalette back;
    LoadPalette(back, dir / "p.KVL");
    ASSERT_EQ(back.Count(), 2u);
    EXPECT_EQ(back.At(2)->Color, 0xFFFFFFFFu);
    EXPECT_EQ(back.At(2)->Name, "All bits, 1.5");

    // The painting file with its layout's overlap.
    TPrintLayoutBlock layout;
    layout.Overlap = 1.25;
    WritePaintingFile(dir / "p.kvp", shapes, "Test", layout);
    const TPaintingFileContents read = ReadPaintingFile(dir / "p.kvp");
    EXPECT_EQ(read.Layout.Overlap, 1.25);
    EXPECT_EQ(read.Shapes.Count(), shapes.Count());

    // The SVG drawing and a Netpbm picture's text header, the same bytes as in the C locale.
    const std::string svg = PaintingSvg(shapes, false);
    TPixelGraphic gray;
    gray.SetSize(3, 2, ct8Bit);
    gray.SetPaletteIdent(pGray256);
    gray.SetPixel(1, 1, 200);
    TMemoryStream pgm;
    gray.SaveToStreamAs(pgm, "pgm");
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(svg, PaintingSvg(shapes, false));
    TMemoryStream cPgm;
    gray.SaveToStreamAs(cPgm, "pgm");
    EXPECT_EQ(pgm.Data(), cPgm.Data());
    std::setlocale(LC_ALL, test::GermanLocale);
    EXPECT_NE(svg.find("translate(0.5 0.5)"), std::string::npos);
    pgm.Seek(0);
    TPixelGraphic pgmBack;
    pgmBack.LoadFromStreamAs(pgm, "pgm");
    EXPECT_EQ(pgmBack.GetPixelColor(1, 1), MakeColor(200, 200, 200));
}

} // namespace
} // namespace pigmentaria
