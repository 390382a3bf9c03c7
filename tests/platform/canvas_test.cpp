#include "platform/canvas.h"
#include "test_util.h"

#include <gtest/gtest.h>

namespace pigmentaria {
namespace {

using test::CoverageText;
using Rows = std::vector<std::string>;

constexpr TColor Bg = 0xFFFFFF;
constexpr TColor Ink = 0x123456;

TRasterCanvas InkCanvas(TRaster24& r, bool pen, bool brush) {
    TRasterCanvas c(r);
    c.SetPen({Ink, 1, pen ? TPenStyle::Solid : TPenStyle::Clear});
    c.SetBrush({Ink, brush ? TBrushStyle::Solid : TBrushStyle::Clear});
    return c;
}

TEST(RasterTest, PixelsReadAsBlueGreenRedColourValues) {
    TRaster24 r(3, 2);
    r.SetPixel(1, 1, MakeColor(10, 20, 30));
    const std::uint8_t* p = r.Row(1) + 3;
    EXPECT_EQ(p[0], 30); // blue first
    EXPECT_EQ(p[1], 20);
    EXPECT_EQ(p[2], 10);
    EXPECT_EQ(r.GetPixel(1, 1), 30u * 65536 + 20 * 256 + 10);
    EXPECT_EQ(r.Stride(), 12u); // 9 bytes padded to 4
}

TEST(CanvasFillTest, SquareFillLeavesRightAndBottomEdges) {
    TRaster24 r(6, 6, Bg);
    TRasterCanvas c = InkCanvas(r, false, true);
    c.Polygon({{0, 0}, {4, 0}, {4, 4}, {0, 4}});
    EXPECT_EQ(CoverageText(r, Bg),
              (Rows{"####..", "####..", "####..", "####..", "......", "......"}));
}

TEST(CanvasFillTest, PenAddsTheClosingEdges) {
    TRaster24 r(6, 6, Bg);
    TRasterCanvas c = InkCanvas(r, true, true);
    c.Polygon({{0, 0}, {4, 0}, {4, 4}, {0, 4}});
    EXPECT_EQ(CoverageText(r, Bg),
              (Rows{"#####.", "#####.", "#####.", "#####.", "#####.", "......"}));
}

TEST(CanvasFillTest, TriangleInteriorByHand) {
    TRaster24 r(5, 5, Bg);
    TRasterCanvas c = InkCanvas(r, false, true);
    c.Polygon({{0, 0}, {4, 0}, {0, 4}});
    EXPECT_EQ(CoverageText(r, Bg), (Rows{"####.", "###..", "##...", "#....", "....."}));
}

TEST(CanvasFillTest, AlternateRuleLeavesDoublyCoveredPartEmpty) {
    // A pentagram-like self-overlap: two squares drawn as one outline overlap in the middle.
    TRaster24 r(8, 4, Bg);
    TRasterCanvas c = InkCanvas(r, false, true);
    c.Polygon({{0, 0}, {5, 0}, {5, 4}, {3, 4}, {3, 0}, {8, 0}, {8, 4}, {0, 4}});
    EXPECT_EQ(CoverageText(r, Bg), (Rows{"###..###", "###..###", "###..###", "###..###"}));
}

TEST(CanvasFillTest, PolygonsReachingOutsideAreClipped) {
    TRaster24 r(4, 3, Bg);
    TRasterCanvas c = InkCanvas(r, true, true);
    c.Polygon({{-100000, -100000}, {100000, -100000}, {100000, 100000}, {-100000, 100000}});
    EXPECT_EQ(CoverageText(r, Bg), (Rows{"####", "####", "####"}));
    TRaster24 r2(4, 3, Bg);
    TRasterCanvas c2 = InkCanvas(r2, true, true);
    c2.Polygon({{10, 10}, {20, 10}, {20, 20}});
    EXPECT_EQ(CoverageText(r2, Bg), (Rows{"....", "....", "...."}));
}

TEST(CanvasLineTest, LastPixelIsNotDrawn) {
    TRaster24 r(6, 1, Bg);
    TRasterCanvas c = InkCanvas(r, true, false);
    c.MoveTo(0, 0);
    c.LineTo(4, 0);
    EXPECT_EQ(CoverageText(r, Bg), (Rows{"####.."}));
}

// At x = 1 and x = 3 the line passes exactly half-way between two rows: the upper one lights.
TEST(CanvasLineTest, SlopedLineLightsTheUpperPixelOfATie) {
    TRaster24 r(5, 3, Bg);
    TRasterCanvas c = InkCanvas(r, true, false);
    c.MoveTo(0, 0);
    c.LineTo(4, 2);
    EXPECT_EQ(CoverageText(r, Bg), (Rows{"##...", "..##.", "....."}));
    // Drawn the other way the same pixels light, but for the two ends.
    TRaster24 back(5, 3, Bg);
    TRasterCanvas cb = InkCanvas(back, true, false);
    cb.MoveTo(4, 2);
    cb.LineTo(0, 0);
    EXPECT_EQ(CoverageText(back, Bg), (Rows{".#...", "..##.", "....#"}));
}

// One pixel a row; at y = 1 and y = 3 the line passes half-way between two columns: the left
// one lights.
TEST(CanvasLineTest, SteepLineStepsAlongYAndLightsTheLeftPixelOfATie) {
    TRaster24 r(3, 5, Bg);
    TRasterCanvas c = InkCanvas(r, true, false);
    c.MoveTo(0, 0);
    c.LineTo(2, 4);
    EXPECT_EQ(CoverageText(r, Bg), (Rows{"#..", "#..", ".#.", ".#.", "..."}));
}

// Whatever the direction, a line half-way between two pixels lights the upper one (mostly
// horizontal lines) or the left one (mostly vertical lines).
TEST(CanvasLineTest, TiesGoUpOrLeftInEveryDirection) {
    for (int sx : {-1, 1})
        for (int sy : {-1, 1})
            for (bool steep : {false, true}) {
                const TPoint a{8, 8};
                const TPoint b =
                    steep ? TPoint{8 + 2 * sx, 8 + 4 * sy} : TPoint{8 + 4 * sx, 8 + 2 * sy};
                TRaster24 r(17, 17, Bg);
                TRasterCanvas c = InkCanvas(r, true, false);
                c.MoveTo(a.X, a.Y);
                c.LineTo(b.X, b.Y);
                // One step along the major axis the line is half a pixel off the minor one.
                const int x = steep ? 8 : 8 + sx, y = steep ? 8 + sy : 8;
                SCOPED_TRACE(testing::Message() << "to " << b.X << "," << b.Y);
                if (steep) {
                    EXPECT_EQ(r.GetPixel(std::min(x, x + sx), y), Ink);
                    EXPECT_EQ(r.GetPixel(std::max(x, x + sx), y), Bg);
                } else {
                    EXPECT_EQ(r.GetPixel(x, std::min(y, y + sy)), Ink);
                    EXPECT_EQ(r.GetPixel(x, std::max(y, y + sy)), Bg);
                }
            }
}

TEST(CanvasLineTest, CoverageTestAgreesWithDrawing) {
    const TPoint ends[][2] = {{{0, 0}, {7, 3}}, {{6, 1}, {-1, 5}}, {{3, 7}, {2, -2}},
                              {{1, 1}, {6, 6}}, {{5, 0}, {0, 5}},  {{2, 2}, {2, 2}}};
    for (const auto& e : ends) {
        TRaster24 r(8, 8, Bg);
        TRasterCanvas c = InkCanvas(r, true, false);
        c.MoveTo(e[0].X, e[0].Y);
        c.LineTo(e[1].X, e[1].Y);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                EXPECT_EQ(r.GetPixel(x, y) == Ink, gdi::LineCoversPixel(e[0], e[1], x, y))
                    << x << "," << y;
    }
}

TEST(CanvasPolygonTest, SinglePointLightsItsPixel) {
    TRaster24 r(3, 3, Bg);
    TRasterCanvas c = InkCanvas(r, true, true);
    c.Polygon({{1, 2}});
    EXPECT_EQ(CoverageText(r, Bg), (Rows{"...", "...", ".#."}));
    TRaster24 r2(3, 3, Bg);
    TRasterCanvas c2 = InkCanvas(r2, false, true);
    c2.Polygon({{2, 0}, {2, 0}});
    EXPECT_EQ(CoverageText(r2, Bg), (Rows{"..#", "...", "..."}));
}

TEST(CanvasPolygonTest, LineOutAndBackLightsEveryPixelOnIt) {
    TRaster24 r(5, 2, Bg);
    TRasterCanvas c = InkCanvas(r, true, true);
    c.Polygon({{0, 1}, {3, 1}, {1, 1}});
    EXPECT_EQ(CoverageText(r, Bg), (Rows{".....", "####."}));
}

TEST(CanvasRectTest, RectangleWithAndWithoutPen) {
    TRaster24 r(5, 5, Bg);
    TRasterCanvas c(r);
    c.SetPen({0x0000FF, 1, TPenStyle::Solid});
    c.SetBrush({0x00FF00, TBrushStyle::Solid});
    c.Rectangle(0, 0, 4, 4);
    EXPECT_EQ(r.GetPixel(0, 0), 0x0000FFu);
    EXPECT_EQ(r.GetPixel(3, 3), 0x0000FFu);
    EXPECT_EQ(r.GetPixel(1, 1), 0x00FF00u);
    EXPECT_EQ(r.GetPixel(4, 4), Bg);

    TRaster24 r2(5, 5, Bg);
    TRasterCanvas c2 = InkCanvas(r2, false, true);
    c2.Rectangle(0, 0, 4, 4);
    EXPECT_EQ(CoverageText(r2, Bg), (Rows{"###..", "###..", "###..", ".....", "....."}));
    TRaster24 r3(5, 5, Bg);
    TRasterCanvas c3 = InkCanvas(r3, false, true);
    c3.FillRect(1, 1, 4, 3);
    EXPECT_EQ(CoverageText(r3, Bg), (Rows{".....", ".###.", ".###.", ".....", "....."}));
}

TEST(CanvasFloodTest, FillsOnlyTheFourConnectedAreaOfTheSurfaceColour) {
    TRaster24 r = test::RasterFromText({"..#..", ".#.#.", "#...#", ".#.#.", "..#.."},
                                       {{'.', Bg}, {'#', Ink}});
    TRasterCanvas c(r);
    c.SetBrush({0x00FF00, TBrushStyle::Solid});
    c.FloodFill(2, 2, Bg);
    EXPECT_EQ(CoverageText(r, Bg), (Rows{"..#..", ".###.", "#####", ".###.", "..#.."}));
    EXPECT_EQ(r.GetPixel(0, 0), Bg); // corners only touch diagonally
    c.FloodFill(0, 0, Ink);          // wrong surface colour: nothing happens
    EXPECT_EQ(r.GetPixel(0, 0), Bg);
}

TEST(CanvasFloodTest, LargeSnakeNeedsNoRecursion) {
    const int n = 600;
    TRaster24 r(n, n, Bg);
    TRasterCanvas c(r);
    for (int y = 1; y < n; y += 2)
        c.FillRect(y % 4 == 1 ? 0 : 1, y, y % 4 == 1 ? n - 1 : n, y + 1, Ink);
    c.SetBrush({0x00FF00, TBrushStyle::Solid});
    c.FloodFill(0, 0, Bg);
    int white = 0;
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x)
            white += r.GetPixel(x, y) == Bg;
    EXPECT_EQ(white, 0);
}

} // namespace
} // namespace pigmentaria
