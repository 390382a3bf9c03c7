// The print and palette commands' printing through the Qt printer: pages, preview sheets, the
// stored layout under the options, and the palette sheet named from a palette file.
#include "cli/qt/print_command.h"
#include "print/qt/qt_printer.h"
#include "print/qt/qt_test_util.h"

#include <QImage>

#include <gtest/gtest.h>

namespace pigmentaria::cli {
namespace {

using test::PdfPages;
using test::ReadAll;
using TTempDir = test::TQtTempDir;
namespace fs = std::filesystem;

const TColor Blue = MakeColor(0, 0, 255);
const TColor Red = MakeColor(255, 0, 0);

// A painting of 400 × 300 with a blue square and a red band, numbered by a placement that counts
// its runs.
std::unique_ptr<TPaintingForPrint> TestPainting(int* numberings = nullptr) {
    auto p = std::make_unique<TPaintingForPrint>();
    p->Shapes.Append(MakeFrameShape(400, 300));
    p->Shapes.Append(MakeShape(Blue, {{50, 50}, {150, 50}, {150, 150}, {50, 150}}));
    p->Shapes.Append(MakeShape(Red, {{200, 100}, {380, 100}, {380, 160}, {200, 160}}));
    p->PlaceNumbers = [numberings](TPaintingForPrint& q) {
        if (numberings) ++*numberings;
        q.Labels = {{"2", 60, 60, 140, 140}, {"3", 210, 110, 370, 150}};
    };
    return p;
}

TPaintingLoader Loader(std::unique_ptr<TPaintingForPrint>& painting) {
    return [&painting](const std::string&) { return std::move(painting); };
}

TEST(QtPrintCommand, PrintsEveryPageToAPdfAndPlacesNumbersOnce) {
    const TTempDir dir("print");
    int numberings = 0;
    auto painting = TestPainting(&numberings);
    const std::string out = (dir / "t.pdf").string();
    ASSERT_EQ(RunPrintCommand({"t.kvp", "-o", out, "--across", "2", "--down", "2", "--paper",
                               "letter", "--page-numbers", "--preview", (dir / "sheets").string()},
                              Loader(painting)),
              0);
    EXPECT_EQ(ReadAll(out).substr(0, 5), "%PDF-");
    EXPECT_EQ(PdfPages(out), 4);
    EXPECT_EQ(numberings, 1);
    for (int n = 1; n <= 4; ++n) {
        QImage sheet;
        ASSERT_TRUE(sheet.load(QString::fromStdString(
            (dir / "sheets" / ("page-" + std::to_string(n) + ".png")).string())));
        EXPECT_EQ(sheet.width(), 816);
    }
}

TEST(QtPrintCommand, TheStoredLayoutHoldsUnlessAnOptionOverridesIt) {
    const TTempDir dir("stored");
    auto painting = TestPainting();
    TPrintSettings stored;
    stored.PagesAcross = 3;
    stored.PagesDown = 1;
    painting->Layout = MakePrintLayoutBlock(stored, {poLandscape, PaperA4, 0, 0});
    const std::string out = (dir / "a.pdf").string();
    ASSERT_EQ(RunPrintCommand({"a.kvp", "-o", out}, Loader(painting)), 0);
    EXPECT_EQ(PdfPages(out), 3);

    painting = TestPainting();
    painting->Layout = MakePrintLayoutBlock(stored, {poLandscape, PaperA4, 0, 0});
    ASSERT_EQ(RunPrintCommand({"a.kvp", "-o", out, "--across", "1"}, Loader(painting)), 0);
    EXPECT_EQ(PdfPages(out), 1);
}

TEST(QtPrintCommand, BadOptionsAreRefusedWithTheUsage) {
    auto painting = TestPainting();
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"a.kvp", "-o", "x.pdf", "--across", "0"},
          {"a.kvp", "-o", "x.pdf", "--paper", "tabloid"},
          {"a.kvp", "-o", "x.pdf", "--frame", "1,2,3"},
          {"a.kvp", "-o", "x.pdf", "--line-weight", "7"},
          {"a.kvp", "-o", "x.pdf", "--outlines", "--what", "selected"},
          {"a.kvp"}}) {
        painting = TestPainting();
        EXPECT_THROW(RunPrintCommand(args, Loader(painting)), std::runtime_error) << args.back();
    }
}

TEST(QtPaletteCommand, PrintsThePaletteWithNamesFromAPaletteFile) {
    const TTempDir dir("palette");
    {
        std::ofstream kvl(dir / "names.KVL", std::ios::binary);
        kvl << "Test Colours\r\n" << Blue << ",Ultramarine, deep\r\n255,\r\n";
    }
    TNamedPalette names;
    LoadPalette(names, dir / "names.KVL");
    ASSERT_EQ(names.Count(), 2u);
    EXPECT_EQ(names.At(1)->Color, Blue);
    EXPECT_EQ(names.At(1)->Name, "Ultramarine, deep");
    EXPECT_EQ(names.At(2)->Name, "");

    auto painting = TestPainting();
    TNamedPalette inUse;
    RebuildPaintingPalette(inUse, painting->Shapes);
    std::vector<TColor> colors;
    for (const TPaletteEntry& e : inUse.Entries())
        colors.push_back(e.Color);
    EXPECT_EQ(colors, (std::vector<TColor>{clBlack, Blue, Red}));
    const std::string out = (dir / "p.pdf").string();
    ASSERT_EQ(RunPaletteCommand({"a.kvp", "--print", out, "--names", (dir / "names.KVL").string(),
                                 "--paper", "a4"},
                                Loader(painting)),
              0);
    EXPECT_EQ(PdfPages(out), 1);
}

} // namespace
} // namespace pigmentaria::cli
