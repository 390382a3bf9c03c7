#include "print/page_render.h"

#include "print_fakes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace pigmentaria {
namespace {

using test::LetterAt600;
using test::TRecordingPageCanvas;
using test::TRecordingPrinter;

const TColor Blue = MakeColor(0, 0, 255);
const TColor Green = MakeColor(0, 160, 0);
const TColor Silver = MakeColor(192, 192, 192);

std::vector<TShapePoint> Box(int l, int t, int r, int b) {
    return {{l, t}, {r, t}, {r, b}, {l, b}};
}

// A painting, the settings and a layout, put together the way the print dialog holds them.
struct TFixture {
    TShapeList Shapes;
    TSelection Selection;
    std::vector<TPrintLabel> Labels;
    int Numberings = 0;
    TPrintSource Source;
    TPrintSettings Settings;
    TPrintLayout Layout;

    TFixture() {
        Source.Shapes = &Shapes;
        Source.Selection = &Selection;
        Source.Labels = &Labels;
        Source.PlaceNumbers = [this] { ++Numberings; };
    }
    void Lay(const TPrinterMetrics& m, int across, int down) {
        Settings.PagesAcross = across;
        Settings.PagesDown = down;
        Layout = ComputePrintLayout(m, poPortrait, Settings);
    }
    // The frame over the whole grid's width from its left edge: with a grid 16 inches wide (two
    // letter sheets across, an inch shared) the sample is 11.0625 pixels an inch and a frame of
    // 177 pixels is 16 inches.
    void FrameFromGridCorner(int width, int height) {
        Settings.Frame = {SampleImageLeft + Layout.SampleOriginX,
                          SampleImageTop + Layout.SampleOriginY, width, height, true};
    }
};

TEST(PageRender, OnePageWithTheFrameOverTheSheetPrintsAtTheFramesSize) {
    TFixture f;
    f.Shapes.Append(MakeFrameShape(1360, 1770));
    f.Lay(LetterAt600(), 1, 1);
    // A letter sheet drawn in the sample: 136 × 177 pixels at 177 / 6600 a printer pixel.
    f.FrameFromGridCorner(136, 177);
    TPagePrinter pages(f.Settings, f.Layout, f.Source);
    TRecordingPageCanvas canvas;
    pages.PrintPage(canvas, true, 1, 1);
    ASSERT_EQ(canvas.Polygons.size(), 1u);
    const std::vector<TPoint>& p = canvas.Polygons[0].Points;
    EXPECT_EQ(p[0], (TPoint{0, 0}));
    // 136 sample pixels are 136 × 6600 / 177 printer pixels.
    EXPECT_NEAR(p[2].X, 136 * 6600 / 177.0, 1.0);
    EXPECT_NEAR(p[2].Y, 6600, 1.0);
}

TEST(PageRender, AVertexEightInchesAcrossPrintsOnBothPagesOfTwo) {
    TFixture f;
    f.Shapes.Append(MakeFrameShape(1600, 1100)); // 100 painting pixels an inch
    f.Shapes.Append(MakeShape(Blue, Box(800, 100, 900, 200)));
    f.Lay(LetterAt600(), 2, 1);
    f.FrameFromGridCorner(177, 110);
    TPagePrinter pages(f.Settings, f.Layout, f.Source);
    TRecordingPageCanvas one, two;
    pages.PrintPage(one, true, 1, 1);
    pages.PrintPage(two, true, 1, 2);
    ASSERT_EQ(one.Polygons.size(), 2u);
    ASSERT_EQ(two.Polygons.size(), 2u);
    EXPECT_EQ(one.Polygons[1].Points[0].X, 4800); // 8 inches
    EXPECT_EQ(two.Polygons[1].Points[0].X, 300);  // 8 - 7.5 inches
    EXPECT_EQ(one.Polygons[1].Points[0].Y, two.Polygons[1].Points[0].Y);
}

// The centre of each registration cross drawn on a page, in drawing order.
std::vector<TPoint> Crosses(const TRecordingPageCanvas& c) {
    std::vector<TPoint> centres;
    for (std::size_t i = 0; i + 1 < c.Lines.size(); i += 2)
        centres.push_back({c.Lines[i + 1].From.X, c.Lines[i].From.Y});
    return centres;
}

TEST(PageRender, SheetsLineUpByTheirRegistrationCrosses) {
    TFixture f;
    f.Shapes.Append(MakeFrameShape(1600, 2100));
    // Vertices near the border between the columns and between the rows of a 2 × 2 grid.
    f.Shapes.Append(MakeShape(Blue, {{777, 1013}, {803, 1013}, {803, 1049}, {777, 1049}}));
    f.Lay(LetterAt600(0.25), 2, 2);
    ASSERT_EQ(f.Settings.Overlap, 1.0);
    f.FrameFromGridCorner(160, 210);
    TPagePrinter pages(f.Settings, f.Layout, f.Source);
    TRecordingPageCanvas page[2][2];
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 2; ++c)
            pages.PrintPage(page[r][c], true, r + 1, c + 1);
    // Crosses: 0 near corner, 1 right neighbour's, 2 lower neighbour's, 3 diagonal's.
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 2; ++c)
            ASSERT_EQ(Crosses(page[r][c]).size(), 4u);
    const TPoint first = Crosses(page[0][0])[0];
    // A quarter inch inside the printable corner.
    EXPECT_EQ(first, (TPoint{150, 150}));

    const auto relative = [&](int r, int c, int vertex, int cross) {
        const TPoint v = page[r][c].Polygons[1].Points[vertex];
        const TPoint x = Crosses(page[r][c])[cross];
        return TPoint{v.X - x.X, v.Y - x.Y};
    };
    for (int v = 0; v < 4; ++v) {
        // Page 1's right-hand cross lies on page 2's first; page 1's lower one on page 3's first;
        // the diagonal one on page 4's first.
        const TPoint a = relative(0, 0, v, 1), b = relative(0, 1, v, 0);
        EXPECT_LE(std::abs(a.X - b.X), 1) << v;
        EXPECT_LE(std::abs(a.Y - b.Y), 1) << v;
        const TPoint c = relative(0, 0, v, 2), d = relative(1, 0, v, 0);
        EXPECT_LE(std::abs(c.X - d.X), 1) << v;
        EXPECT_LE(std::abs(c.Y - d.Y), 1) << v;
        const TPoint e = relative(0, 0, v, 3), g = relative(1, 1, v, 0);
        EXPECT_LE(std::abs(e.X - g.X), 1) << v;
        EXPECT_LE(std::abs(e.Y - g.Y), 1) << v;
    }
    // Each cross is an inch long in each direction, in a black hairline.
    const auto& l = page[0][0].Lines;
    EXPECT_EQ(l[0].To.X - l[0].From.X, 600);
    EXPECT_EQ(l[1].To.Y - l[1].From.Y, 600);
    EXPECT_EQ(l[0].Pen, (TPen{clBlack, 1, TPenStyle::Solid}));
}

TEST(PageRender, ThePreviewSheetHoldsTheWholePaperAtScreenResolution) {
    TFixture f;
    f.Shapes.Append(MakeFrameShape(1600, 1100));
    f.Shapes.Append(MakeShape(Blue, Box(800, 100, 900, 200)));
    f.Lay(LetterAt600(0.25), 2, 1);
    f.FrameFromGridCorner(177, 110);
    TPagePrinter pages(f.Settings, f.Layout, f.Source);
    TRecordingPageCanvas printer, sheet;
    pages.PrintPage(printer, true, 1, 1);
    pages.PrintPage(sheet, false, 1, 1);
    // 8 inches from the paper's corner: 4800 - 150 on the printer, 768 on a 96 dpi sheet.
    EXPECT_EQ(printer.Polygons[1].Points[0].X, 4650);
    EXPECT_EQ(sheet.Polygons[1].Points[0].X, 768);
    EXPECT_EQ(Crosses(sheet)[0], (TPoint{48, 48})); // half an inch from the paper's corner
}

TEST(PageRender, OutlinesOnlyDrawsEveryShapeWhiteInTheOutlineColour) {
    TFixture f;
    f.Shapes.Append(MakeFrameShape(1600, 1100));
    f.Shapes.Append(MakeShape(Blue, Box(100, 100, 200, 200)));
    f.Shapes.Append(MakeShape(Green, Box(300, 100, 400, 200)));
    f.Lay(LetterAt600(), 2, 1);
    f.FrameFromGridCorner(177, 110);
    f.Settings.LineWeight = 3;
    TPagePrinter pages(f.Settings, f.Layout, f.Source);
    TRecordingPageCanvas black;
    pages.PrintPage(black, true, 1, 1);
    ASSERT_EQ(black.Polygons.size(), 3u);
    for (const auto& p : black.Polygons) {
        EXPECT_EQ(p.Pen, (TPen{clBlack, 18, TPenStyle::Solid}));
        EXPECT_EQ(p.Brush, (TBrush{clWhite, TBrushStyle::Solid}));
    }
    f.Settings.OutlinesBlack = false;
    TRecordingPageCanvas coloured;
    pages.PrintPage(coloured, true, 1, 1);
    EXPECT_EQ(coloured.Polygons[1].Pen.Color, Blue);
    EXPECT_EQ(coloured.Polygons[2].Pen.Color, Green);
}

TEST(PageRender, FilledShapesFollowTheWhatToPrintChoice) {
    TFixture f;
    f.Shapes.Append(MakeFrameShape(1600, 1100));
    TPaintShape* blue = f.Shapes.Append(MakeShape(Blue, Box(100, 100, 200, 200)));
    f.Shapes.Append(MakeShape(Green, Box(300, 100, 400, 200)));
    f.Lay(LetterAt600(), 2, 1);
    f.FrameFromGridCorner(177, 110);
    f.Settings.OutlinesOnly = false;
    TPagePrinter pages(f.Settings, f.Layout, f.Source);
    const auto fills = [&] {
        TRecordingPageCanvas c;
        pages.PrintPage(c, true, 1, 1);
        std::vector<TColor> out;
        for (const auto& p : c.Polygons) {
            EXPECT_EQ(p.Pen.Style, TPenStyle::Clear);
            out.push_back(p.Brush.Color);
        }
        return out;
    };
    EXPECT_EQ(fills(), (std::vector<TColor>{Silver, Silver, Silver}));
    f.Settings.FillWith = fwColor;
    EXPECT_EQ(fills(), (std::vector<TColor>{clBlack, Blue, Green}));
    f.Settings.FillWith = fwBlack;
    SetWhatToPrint(f.Settings, wpCurrentColor);
    f.Source.CurrentColor = Green;
    EXPECT_EQ(fills(), (std::vector<TColor>{clWhite, clWhite, clBlack}));
    SetWhatToPrint(f.Settings, wpSelected);
    EXPECT_EQ(fills(), (std::vector<TColor>{clWhite, clWhite, clWhite})); // nothing selected
    f.Selection.Add(blue);
    EXPECT_EQ(fills(), (std::vector<TColor>{clWhite, clBlack, clWhite}));
}

TEST(PageRender, AShapeOnOneDevicePointIsSkippedAndAThinOneDrawn) {
    TFixture f;
    f.Shapes.Append(MakeFrameShape(1600, 1100));
    // At 96 dpi a painting pixel is 0.96 device pixels: a 1 × 0 shape may land on one point.
    f.Shapes.Append(MakeShape(Blue, {{500, 500}, {500, 500}, {500, 500}}));
    f.Shapes.Append(MakeShape(Green, {{600, 500}, {600, 520}, {600, 500}}));
    f.Shapes.Append(MakeShape(Blue, {}));
    f.Lay(LetterAt600(), 2, 1);
    f.FrameFromGridCorner(177, 110);
    TPagePrinter pages(f.Settings, f.Layout, f.Source);
    TRecordingPageCanvas c;
    pages.PrintPage(c, false, 1, 1);
    ASSERT_EQ(c.Polygons.size(), 2u);
    EXPECT_EQ(c.Polygons[1].Points.size(), 3u);
    EXPECT_EQ(c.Polygons[1].Points[0].X, c.Polygons[1].Points[1].X);
}

TEST(PageRender, LabelsAreSizedToTheirBoxAndCentred) {
    // With the recording metrics a character is as wide as the font's size: "12" is 2 × size.
    TRecordingPageCanvas c;
    c.SetFont({"Arial", 9, false, true});
    EXPECT_EQ(FitLabelFontSize(c, "12", 24), 11); // fits at 12
    EXPECT_EQ(FitLabelFontSize(c, "12", 20), 9);  // fits at 10
    EXPECT_EQ(FitLabelFontSize(c, "12", 10), 4);  // fits at 5
    EXPECT_EQ(FitLabelFontSize(c, "12", 8), 3);   // fits at 4
    EXPECT_EQ(FitLabelFontSize(c, "12", 6), 3);   // fits only at 3
    EXPECT_EQ(FitLabelFontSize(c, "12", 1), 3);   // fits nowhere

    TFixture f;
    f.Shapes.Append(MakeFrameShape(1600, 1600));
    f.Shapes.Append(MakeShape(Blue, Box(100, 100, 200, 200)));
    f.Lay(LetterAt600(), 2, 1);
    f.FrameFromGridCorner(177, 177);
    f.Settings.PrintNumbers = true;
    // Painting pixels are 6 printer pixels: boxes 30 and 2 printer pixels wide.
    f.Labels = {{"7", 10, 20, 15, 30}, {"12", 40, 40, 41, 41}};
    TPagePrinter pages(f.Settings, f.Layout, f.Source);
    TRecordingPageCanvas page;
    pages.PrintPage(page, true, 1, 1);
    ASSERT_EQ(page.Texts.size(), 2u);
    const test::TDrawnText& seven = page.Texts[0];
    EXPECT_EQ(seven.Font.Size, 11);
    EXPECT_TRUE(seven.Font.Italic);
    EXPECT_FALSE(seven.Font.Bold);
    EXPECT_EQ(seven.Brush.Style, TBrushStyle::Clear);
    EXPECT_EQ(seven.X, 60 + 15 - 11 / 2);
    EXPECT_EQ(seven.Y, 120 + 30 - 22 / 2);
    EXPECT_EQ(page.Texts[1].Font.Size, 3);
    EXPECT_EQ(seven.Font.Color, clBlack);

    // Without black outlines the numbers take the colour of the last outline drawn.
    f.Settings.OutlinesBlack = false;
    TRecordingPageCanvas coloured;
    pages.PrintPage(coloured, true, 1, 1);
    EXPECT_EQ(coloured.Texts[0].Font.Color, Blue);
}

TEST(PageRender, NumbersArePlacedOncePerShowingOfTheDialog) {
    TFixture f;
    f.Shapes.Append(MakeFrameShape(1600, 1100));
    f.Lay(LetterAt600(), 2, 2);
    f.FrameFromGridCorner(177, 110);
    TPagePrinter pages(f.Settings, f.Layout, f.Source);
    TRecordingPrinter printer(LetterAt600());
    PrintAllPages(printer, f.Settings, f.Layout, pages, "Pigmentaria - x.kvp");
    EXPECT_EQ(f.Numberings, 0); // numbers not asked for
    f.Settings.PrintNumbers = true;
    PrintAllPages(printer, f.Settings, f.Layout, pages, "Pigmentaria - x.kvp");
    TRecordingPageCanvas sheet;
    pages.PrintPage(sheet, false, 2, 2);
    EXPECT_EQ(f.Numberings, 1);
    pages.DialogShown();
    pages.PrintPage(sheet, false, 1, 1);
    EXPECT_EQ(f.Numberings, 2);
}

TEST(PageRender, AllPagesArePrintedRowByRowInOneJob) {
    TFixture f;
    f.Shapes.Append(MakeFrameShape(1600, 1100));
    f.Lay(LetterAt600(0.25), 2, 3);
    f.FrameFromGridCorner(60, 40);
    f.Settings.PageNumbers = true;
    TPagePrinter pages(f.Settings, f.Layout, f.Source);
    TRecordingPrinter printer(LetterAt600(0.25));
    PrintAllPages(printer, f.Settings, f.Layout, pages, "Pigmentaria - (Untitled)");
    EXPECT_EQ(printer.Titles, std::vector<std::string>{"Pigmentaria - (Untitled)"});
    EXPECT_EQ(printer.Ended, 1);
    const auto& texts = printer.Canvas().Texts;
    ASSERT_EQ(texts.size(), 6u);
    for (int n = 1; n <= 6; ++n) {
        EXPECT_EQ(texts[n - 1].Page, n);
        EXPECT_EQ(texts[n - 1].Text, "Page: " + std::to_string(n));
        EXPECT_EQ(texts[n - 1].X, 150);
        EXPECT_EQ(texts[n - 1].Y, 150);
        EXPECT_EQ(texts[n - 1].Font, (TPageFont{"Arial", 9, true, true, clBlack}));
    }
    EXPECT_EQ(PagePosition(5, 2), (TPagePosition{3, 1}));
    EXPECT_EQ(PageNumber(3, 1, 2), 5);

    // On the preview sheet the page number sits at the same place on the paper.
    TRecordingPageCanvas sheet;
    pages.PrintPage(sheet, false, 3, 1);
    EXPECT_EQ(sheet.Texts.back().Text, "Page: 5");
    EXPECT_EQ(sheet.Texts.back().X, 48);
}

TEST(PageRender, AFrameWithoutSizeDrawsOnlyTheMarks) {
    TFixture f;
    f.Shapes.Append(MakeFrameShape(1600, 1100));
    f.Lay(LetterAt600(), 1, 1);
    f.Settings.Frame = {10, 10, 0, 0, true};
    f.Settings.PrintNumbers = true;
    f.Labels = {{"1", 0, 0, 10, 10}};
    TPagePrinter pages(f.Settings, f.Layout, f.Source);
    TRecordingPageCanvas c;
    pages.PrintPage(c, true, 1, 1);
    EXPECT_TRUE(c.Polygons.empty());
    EXPECT_TRUE(c.Texts.empty());
    EXPECT_EQ(c.Lines.size(), 8u);
}

} // namespace
} // namespace pigmentaria
