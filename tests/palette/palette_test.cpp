#include "model/render.h"
#include "palette/palette.h"
#include "test_util.h"

#include <gtest/gtest.h>

namespace pigmentaria {
namespace {

using test::ReadText;
using test::TTempDir;
using test::WriteText;

TEST(NamedPaletteTest, ColoursAreUniqueAndKeepTheirFirstName) {
    TNamedPalette p = NewPalette();
    AddPaletteColor(p, 255, "Red");
    AddPaletteColor(p, 65280, "Green");
    AddPaletteColor(p, 255, "Scarlet");
    EXPECT_EQ(PaletteCount(p), 2);
    EXPECT_EQ(PaletteNameAt(p, 1), "Red");
    EXPECT_TRUE(PaletteHasColor(p, 65280));
    EXPECT_FALSE(PaletteHasColor(p, 0));
}

TEST(NamedPaletteTest, PositionsOutOfRange) {
    TNamedPalette p;
    AddPaletteColor(p, 10, "a");
    AddPaletteColor(p, 20, "b");
    EXPECT_EQ(PaletteColorAt(p, 0), -1);
    EXPECT_EQ(PaletteColorAt(p, 3), -1);
    EXPECT_EQ(PaletteNameAt(p, 0), "");
    EXPECT_EQ(PaletteNameAt(p, 3), "");
    SetPaletteName(p, 3, "x");
    DeletePaletteColor(p, 3);
    EXPECT_EQ(PaletteCount(p), 2);
    DeletePaletteColor(p, 1);
    EXPECT_EQ(PaletteCount(p), 1);
    EXPECT_EQ(PaletteColorAt(p, 1), 20);
    // Positions follow the deletion.
    EXPECT_EQ(PaintingPaletteIndex(p, 20), 1);
    EXPECT_EQ(PaintingPaletteIndex(p, 10), 0);
    ClearPalette(p);
    EXPECT_EQ(PaletteCount(p), 0);
}

TEST(NamedPaletteTest, PaintingPaletteInOrderOfFirstUse) {
    TShapeList shapes;
    for (TColor c : {clRed, 0xFF0000u, clRed, 0x00FF00u})
        shapes.Append(MakeShape(c, {{0, 0}, {1, 0}, {1, 1}}));
    TNamedPalette p;
    AddPaletteColor(p, 0x123456, "stale");
    RebuildPaintingPalette(p, shapes);
    ASSERT_EQ(PaletteCount(p), 3);
    EXPECT_EQ(PaletteColorAt(p, 1), clRed);
    EXPECT_EQ(PaletteColorAt(p, 2), 0xFF0000);
    EXPECT_EQ(PaintingPaletteIndex(p, 0x00FF00), 3);
    EXPECT_EQ(PaletteCountCaption(p), "3 colors in palette.");
}

TEST(PaletteFileTest, SavedFileIsDescriptionThenColourCommaNameInCrLf) {
    TTempDir dir;
    TNamedPalette p;
    AddPaletteColor(p, 65280, "Green");
    AddPaletteColor(p, 255, "");
    AddPaletteColor(p, 0xFFFFFFFFu, "odd");
    SavePalette(p, dir / "a.KVL", "Windows 16 Color Palette");
    EXPECT_EQ(ReadText(dir / "a.KVL"),
              "Windows 16 Color Palette\r\n65280,Green\r\n255,\r\n-1,odd\r\n");
    TNamedPalette back;
    LoadPalette(back, dir / "a.KVL");
    ASSERT_EQ(PaletteCount(back), 3);
    EXPECT_EQ(PaletteColorAt(back, 3), 0xFFFFFFFF);
    EXPECT_EQ(ReadPaletteDescription(dir / "a.KVL"), "Windows 16 Color Palette");
}

TEST(PaletteFileTest, LoadingSplitsAtTheFirstCommaAcceptsLfAndCutsLongNames) {
    TTempDir dir;
    const std::string longName(230, 'n');
    WriteText(dir / "b.kvl", "Mixed\n16711680,Blue, deep\r\n255,Red\n  -5 ,x\n65280," + longName +
                                 "\n255,Again\n");
    TNamedPalette p;
    AddPaletteColor(p, 7, "kept");
    LoadPalette(p, dir / "b.kvl");
    ASSERT_EQ(PaletteCount(p), 5);
    EXPECT_EQ(PaletteNameAt(p, 2), "Blue, deep");
    EXPECT_EQ(PaletteColorAt(p, 2), 16711680);
    EXPECT_EQ(PaletteNameAt(p, 3), "Red"); // the later "Again" is dropped
    EXPECT_EQ(PaletteColorAt(p, 4), static_cast<std::int64_t>(static_cast<TColor>(-5)));
    EXPECT_EQ(PaletteNameAt(p, 5), std::string(200, 'n'));
}

TEST(PaletteFileTest, NamesAreCutByCharactersNotBytes) {
    TTempDir dir;
    std::string name;
    for (int i = 0; i < 210; ++i)
        name += "\xC3\xA9"; // é
    WriteText(dir / "u.kvl", "U\r\n1," + name + "\r\n");
    TNamedPalette p;
    LoadPalette(p, dir / "u.kvl");
    EXPECT_EQ(PaletteNameAt(p, 1).size(), 400u);
}

TEST(PaletteFileTest, BadColourEndsTheLoadKeepingWhatWasRead) {
    TTempDir dir;
    WriteText(dir / "c.kvl", "Bad\r\n1,one\r\n\r\n3,three\r\n");
    TNamedPalette p;
    EXPECT_THROW(LoadPalette(p, dir / "c.kvl"), EPaletteConvertError);
    EXPECT_EQ(PaletteCount(p), 1);
    WriteText(dir / "d.kvl", "Bad\r\n1,one\r\nno comma here\r\n");
    TNamedPalette q;
    EXPECT_THROW(LoadPalette(q, dir / "d.kvl"), EPaletteConvertError);
    WriteText(dir / "e.kvl", "Bad\r\n99999999999,big\r\n");
    EXPECT_THROW(LoadPalette(q, dir / "e.kvl"), EPaletteConvertError);
}

TEST(PaletteFileTest, MissingFileAndDescriptionOnly) {
    TTempDir dir;
    TNamedPalette p;
    AddPaletteColor(p, 1, "");
    LoadPalette(p, dir / "none.kvl");
    EXPECT_EQ(PaletteCount(p), 1);
    WriteText(dir / "only.kvl", "Only a description\r\n");
    TNamedPalette q;
    LoadPalette(q, dir / "only.kvl");
    EXPECT_EQ(PaletteCount(q), 0);
}

TEST(PaletteFileTest, FolderListsKvlFilesOfAnyCase) {
    TTempDir dir;
    const auto folder = dir / "deep" / "Palettes";
    EnsurePaletteFolder(folder);
    WriteText(folder / "b.KVL", "Second\r\n");
    WriteText(folder / "a.kvl", "First\r\n1,x\r\n");
    WriteText(folder / "c.txt", "Not a palette\r\n");
    const auto list = ListPaletteFiles(folder);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].Description, "First");
    EXPECT_EQ(list[1].Path, folder / "b.KVL");
}

TEST(PaletteFileTest, FilesThatDoNotLoadAreLeftOutNamingFileAndLine) {
    TTempDir dir;
    WriteText(dir / "good.kvl", "Good\r\n255,Red\r\n");
    WriteText(dir / "typo.kvl", "Typo\r\n255,Red\r\nzzz,Blue\r\n");
    // A picture given the palette extension: binary bytes, a NUL in its first line.
    WriteText(dir / "picture.kvl", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    std::vector<std::string> problems;
    const auto list = ListPaletteFiles(dir.Path(), &problems);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].Description, "Good");
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0], (dir / "picture.kvl").string() +
                               " line 1: the description is not text: not a palette file");
    EXPECT_EQ(problems[1],
              (dir / "typo.kvl").string() + " line 3: 'zzz' is not a valid integer value");
    // Loading says the same, after the entries before the faulty line.
    TNamedPalette p;
    try {
        LoadPalette(p, dir / "typo.kvl");
        ADD_FAILURE() << "no error";
    } catch (const EPaletteConvertError& e) {
        EXPECT_EQ(e.what(), problems[1]);
    }
    EXPECT_EQ(PaletteCount(p), 1);
    // A long description is cut by characters for the list, an unreadable one replaced.
    std::string longText;
    for (int i = 0; i < 60; ++i)
        longText += "\xC3\xA9";
    const std::string listed = ListedPaletteDescription(longText);
    EXPECT_EQ(listed, longText.substr(0, 2 * (MaxListedDescriptionChars - 1)) + "\u2026");
    EXPECT_EQ(ListedPaletteDescription("Short"), "Short");
    EXPECT_EQ(ListedPaletteDescription("\x01\x02"), "(unreadable description)");
}

TEST(NamedPaletteTest, ACoveredFrameIsNoColourOfThePainting) {
    TShapeList shapes;
    shapes.Append(MakeFrameShape(20, 10));
    shapes.Append(MakeShape(clRed, {{0, 0}, {10, 0}, {10, 10}, {0, 10}}));
    shapes.Append(MakeShape(MakeColor(0, 0, 255), {{10, 0}, {20, 0}, {20, 10}, {10, 10}}));
    TNamedPalette p;
    RebuildPaintingPalette(p, shapes);
    ASSERT_EQ(PaletteCount(p), 2) << "the frame's black shows nowhere";
    EXPECT_EQ(PaletteColorAt(p, 1), clRed);
    // A strip of the frame showing between the shapes makes its colour the first one again.
    shapes.Last()->Points = {{12, 0}, {20, 0}, {20, 10}, {12, 10}};
    EXPECT_TRUE(FrameShowsThrough(shapes));
    RebuildPaintingPalette(p, shapes);
    ASSERT_EQ(PaletteCount(p), 3);
    EXPECT_EQ(PaletteColorAt(p, 1), clBlack);
}

// Colour of each cell's top-left pixel, row by row, for a swatch drawing.
TEST(PaletteSwatchTest, SixteenColoursIn200By100) {
    TNamedPalette p;
    for (int i = 0; i < 16; ++i)
        AddPaletteColor(p, MakeColor(10 + i, 20, 30), "");
    TRaster24 bmp(200, 100);
    DrawPaletteSwatches(p, bmp, clWhite);
    // s = trunc(sqrt(20000 / 16)) = 35; 6 columns; cells 33 × 37; rows at 0, 37 and 74.
    for (int i = 0; i < 16; ++i) {
        const int x = (i % 6) * 33, y = (i / 6) * 37;
        EXPECT_EQ(bmp.GetPixel(x, y), MakeColor(10 + i, 20, 30)) << i;
    }
    EXPECT_EQ(bmp.GetPixel(32, 36), MakeColor(10, 20, 30));
    EXPECT_EQ(bmp.GetPixel(33, 0), MakeColor(11, 20, 30));
    // Right of the sixth column and after the sixteenth cell: the background.
    EXPECT_EQ(bmp.GetPixel(198, 0), clWhite);
    EXPECT_EQ(bmp.GetPixel(4 * 33, 80), clWhite);
    // The third row is cut at the bottom edge.
    EXPECT_EQ(bmp.GetPixel(0, 99), MakeColor(22, 20, 30));
}

// The arrow keys on 16 cells of 6 columns (rows 0-5, 6-11, 12-15).
TEST(PaletteSwatchTest, KeyboardStepsGoAlongRowsAndStraightUpAndDown) {
    const std::vector<TSwatchCell> cells = PaletteSwatchCells(16, 200, 100);
    ASSERT_EQ(cells.size(), 16u);
    using S = TSwatchStep;
    EXPECT_EQ(SwatchCellAfterStep(cells, 5, S::Next), 6); // on into the next row
    EXPECT_EQ(SwatchCellAfterStep(cells, 15, S::Next), 15);
    EXPECT_EQ(SwatchCellAfterStep(cells, 0, S::Previous), 0);
    EXPECT_EQ(SwatchCellAfterStep(cells, 2, S::Down), 8);
    EXPECT_EQ(SwatchCellAfterStep(cells, 8, S::Down), 14);
    EXPECT_EQ(SwatchCellAfterStep(cells, 14, S::Up), 8);
    EXPECT_EQ(SwatchCellAfterStep(cells, 3, S::Up), 3);
    // Below the short last row's end: its last cell.
    EXPECT_EQ(SwatchCellAfterStep(cells, 11, S::Down), 15);
    EXPECT_EQ(SwatchCellAfterStep(cells, 15, S::Down), 15);
    EXPECT_EQ(SwatchCellAfterStep(cells, 7, S::Last), 15);
    EXPECT_EQ(SwatchCellAfterStep(cells, 7, S::First), 0);
    // A cell that went with a smaller palette: the nearest that is left.
    EXPECT_EQ(SwatchCellAfterStep(cells, 40, S::Previous), 14);
    EXPECT_EQ(SwatchCellAfterStep({}, 3, S::Next), 0);
}

TEST(PaletteSwatchTest, BitmapSmallerThanThePaletteStillDraws) {
    TNamedPalette p;
    for (int i = 0; i < 30; ++i)
        AddPaletteColor(p, MakeColor(i, 1, 1), "");
    TRaster24 bmp(4, 3, clBlack);
    DrawPaletteSwatches(p, bmp, clWhite);
    // One-pixel cells, row by row, as many as fit.
    EXPECT_EQ(bmp.GetPixel(0, 0), MakeColor(0, 1, 1));
    EXPECT_EQ(bmp.GetPixel(3, 0), MakeColor(3, 1, 1));
    EXPECT_EQ(bmp.GetPixel(0, 1), MakeColor(4, 1, 1));
    EXPECT_EQ(bmp.GetPixel(3, 2), MakeColor(11, 1, 1));
    TRaster24 empty;
    DrawPaletteSwatches(p, empty, clWhite);
    // 60 entries in 10 × 10: s = 1, the naive cell width would be 0.
    TRaster24 ten(10, 10, clBlack);
    TNamedPalette many;
    for (int i = 0; i < 60; ++i)
        AddPaletteColor(many, MakeColor(i, 2, 2), "");
    DrawPaletteSwatches(many, ten, clWhite);
    EXPECT_EQ(ten.GetPixel(1, 0), MakeColor(1, 2, 2));
}

} // namespace
} // namespace pigmentaria
