#include "convert/shared_borders.h"

#include "model/render.h"
#include "test_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

namespace pigmentaria {
namespace {

const TColor Field = MakeColor(200, 200, 200), Red = MakeColor(200, 0, 0),
             Blue = MakeColor(0, 0, 200), Green = MakeColor(0, 160, 0);

// A field with a disc (a loop border), a band across the bottom meeting a block at T-junctions,
// and two squares of one colour touching at a corner inside the band (a saddle).
TRaster24 Fixture() {
    TRaster24 r(80, 60);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 80; ++x) {
            TColor c = Field;
            if (std::hypot(x - 25.5, y - 20.5) < 12) c = Red;
            if (y >= 40) c = Blue;
            if (y >= 30 && x >= 50) c = Green;
            if ((x >= 10 && x < 14 && y >= 46 && y < 50) ||
                (x >= 14 && x < 18 && y >= 50 && y < 54))
                c = Red;
            r.SetPixel(x, y, c);
        }
    return r;
}

TEST(SharedBordersTest, EveryBorderSeparatesTwoRegionsAndEveryOutlineIsClosedFromThem) {
    const TRaster24 picture = Fixture();
    const TRegionMap map = LabelRegions(picture);
    const TBorderGraph g = BuildBorderGraph(map);
    ASSERT_EQ(g.Outlines.size(), map.Count);
    int loops = 0;
    std::map<std::uint32_t, int> used;
    for (std::uint32_t b = 0; b < g.Borders.size(); ++b) {
        const TBorder& border = g.Borders[b];
        EXPECT_NE(border.Left, border.Right);
        loops += border.Loop;
        // The sides are the regions of the pixels on either side of the first crack.
        const TShapePoint a = border.Corners[0], c = border.Corners[1];
        if (a.Y == c.Y) {
            const int x = std::min(a.X, c.X);
            const std::uint32_t below = a.Y < map.Height ? map.At(x, a.Y) : OutsideRegion;
            const std::uint32_t above = a.Y > 0 ? map.At(x, a.Y - 1) : OutsideRegion;
            EXPECT_EQ(c.X > a.X ? border.Right : border.Left, below);
            EXPECT_EQ(c.X > a.X ? border.Left : border.Right, above);
        }
    }
    EXPECT_EQ(loops, 1) << "the disc touches nothing but the field";
    for (std::uint32_t r = 0; r < map.Count; ++r) {
        const auto& uses = g.Outlines[r];
        ASSERT_FALSE(uses.empty());
        for (std::size_t i = 0; i < uses.size(); ++i) {
            const TBorder& b = g.Borders[uses[i].Border];
            // Clockwise on screen: the region is on the right of every border it walks.
            EXPECT_EQ(uses[i].Reversed ? b.Left : b.Right, r);
            const TBorder& next = g.Borders[uses[(i + 1) % uses.size()].Border];
            const TShapePoint end = uses[i].Reversed ? b.Corners.front() : b.Corners.back();
            const TShapePoint start =
                uses[(i + 1) % uses.size()].Reversed ? next.Corners.back() : next.Corners.front();
            EXPECT_EQ(end, start) << "region " << r << " use " << i;
            ++used[uses[i].Border];
        }
    }
    // A border not on the picture's edge lies on the outer outline of one side or both (the
    // field's hole round the disc is the disc's outline only).
    for (std::uint32_t b = 0; b < g.Borders.size(); ++b)
        EXPECT_GE(used[b], 1) << b;
}

TEST(SharedBordersTest, TheTracedPaintingHasNoGapNoOverlapAndSmoothOutlines) {
    const TRaster24 picture = Fixture();
    TBorderSmoothing smoothing;
    smoothing.PixelMm = 0.2;
    smoothing.Scale = 4;
    TNullProgress progress;
    const TTraceResult t = TraceSharedBorders(picture, picture, smoothing, progress);
    const TShapeList& shapes = t.Shapes;
    EXPECT_EQ(shapes.PaintingWidth(), 320);
    EXPECT_EQ(shapes.PaintingHeight(), 240);
    const TRegionMap map = LabelRegions(picture);
    EXPECT_EQ(t.ShapeCount, static_cast<int>(map.Count) + 1);

    // Drawn at its own size every pixel is a region's colour (the black frame never shows), and
    // each region of the picture comes back as one cell of its colour, little moved; the two
    // squares that touch at a corner print as one cell joined there.
    const TRaster24 drawn = RenderPainting(shapes, 1.0);
    const TRegionMap cells = LabelRegions(drawn);
    EXPECT_EQ(cells.Count, map.Count - 1);
    int moved = 0;
    for (int y = 0; y < drawn.Height(); ++y)
        for (int x = 0; x < drawn.Width(); ++x) {
            ASSERT_NE(drawn.GetPixel(x, y), clBlack) << x << "," << y;
            moved += drawn.GetPixel(x, y) != picture.GetPixel(x / 4, y / 4);
        }
    EXPECT_LT(moved, drawn.Width() * drawn.Height() / 20);

    // The disc's outline is round: every vertex within 0.5 mm on paper of the circle (ten fine
    // pixels at 0.2 mm a region pixel), and no sharp turn.
    const TPaintShape* disc = nullptr;
    for (const TPaintShape& s : shapes)
        if (s.Color == Red && s.Top < 100) disc = &s;
    ASSERT_NE(disc, nullptr);
    const std::size_t n = disc->Points.size();
    ASSERT_GT(n, 12u);
    for (std::size_t i = 0; i < n; ++i) {
        const TShapePoint a = disc->Points[i], b = disc->Points[(i + 1) % n],
                          c = disc->Points[(i + 2) % n];
        EXPECT_NEAR(std::hypot(a.X - 26 * 4, a.Y - 21 * 4), 12 * 4, 10.0);
        const double turn = std::atan2(double(c.Y - b.Y), double(c.X - b.X)) -
                            std::atan2(double(b.Y - a.Y), double(b.X - a.X));
        EXPECT_LT(std::abs(std::remainder(turn, 2 * M_PI)), 0.6) << i;
    }
}

TEST(SharedBordersTest, RoundingACornerKeepsTheBorderNearThePixelsItFollows) {
    // The green block's top-left corner is a right angle in the middle of one border; rounded
    // hard, the curve would cut it by more than a millimetre.
    const TRaster24 picture = Fixture();
    const TBorderGraph g = BuildBorderGraph(LabelRegions(picture));
    TBorderSmoothing smoothing;
    smoothing.RoundMm = 3.0;
    auto farthest = [&](double limitMm) {
        smoothing.MaxShiftMm = limitMm;
        const std::vector<std::vector<TShapePoint>> fitted = FitBorders(g, smoothing);
        double worst = 0;
        for (std::size_t b = 0; b < g.Borders.size(); ++b) {
            const std::vector<TShapePoint>& raw = g.Borders[b].Corners;
            for (const TShapePoint& p : fitted[b]) {
                double best = 1e9;
                for (std::size_t i = 0; i + 1 < raw.size(); ++i) {
                    // Raw segments are axis-aligned, one region pixel long.
                    const double ax = raw[i].X * 4.0, ay = raw[i].Y * 4.0;
                    const double bx = raw[i + 1].X * 4.0, by = raw[i + 1].Y * 4.0;
                    const double x = std::clamp(double(p.X), std::min(ax, bx), std::max(ax, bx));
                    const double y = std::clamp(double(p.Y), std::min(ay, by), std::max(ay, by));
                    best = std::min(best, std::hypot(p.X - x, p.Y - y));
                }
                worst = std::max(worst, best);
            }
        }
        return worst * smoothing.PixelMm / 4;
    };
    EXPECT_GT(farthest(0), 0.6);
    // Within the limit, give or take the fine grid's rounding and fitting.
    EXPECT_LE(farthest(0.4), 0.4 + 0.06);
}

} // namespace
} // namespace pigmentaria
