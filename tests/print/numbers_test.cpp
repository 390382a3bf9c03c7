#include "convert/tracer.h"
#include "model/render.h"
#include "platform/canvas.h"
#include "print/numbers.h"
#include "test_util.h"

#include <gtest/gtest.h>

#include <random>

namespace pigmentaria {
namespace {

using test::TRecordingMessages;
using test::TRecordingProgress;

// The placement exactly as the rules read, with nothing skipped: the whole list searched for each
// region, the surface flood fill, and every third pixel of each shape's search window visited.
std::vector<TNumberLabel> ReferencePlacement(const TShapeList& shapes, const TNamedPalette& palette,
                                             IMessageSink& messages) {
    std::vector<TNumberLabel> labels;
    TRaster24 r = RenderPainting(shapes, 2.0);
    TRasterCanvas canvas(r);
    auto marked = [&](int x, int y) { return r.Contains(x, y) && r.GetPixel(x, y) == 1u; };
    auto label = [&](int l, int t, int rr, int b, TColor c) {
        TNumberLabel n{std::to_string(PaintingPaletteIndex(palette, c)), l / 2, t / 2, rr / 2,
                       b / 2};
        if (n.Left == n.Right) n.Right = n.Left + 2;
        if (n.Top == n.Bottom) n.Bottom = n.Top + 2;
        labels.push_back(n);
    };
    for (int y = 0; y < r.Height() - 2; ++y)
        for (int x = 0; x < r.Width() - 2; ++x) {
            const TColor b = r.GetPixel(x, y);
            if (b == 0xFFFFFE) continue;
            const TPaintShape* s = ShapeAtPixel(shapes, r, 2.0, x, y);
            if (!s) {
                messages.Error("Error Finding Polygon at " + std::to_string(x) + "," +
                               std::to_string(y));
                return labels;
            }
            canvas.SetBrush({1, TBrushStyle::Solid});
            canvas.FloodFill(x, y, b);
            int bl = x, bt = y, br = x, bb = y;
            for (int sy = s->Top; sy <= 2 * s->Bottom; sy += 3)
                for (int sx = s->Left; sx <= 2 * s->Right; sx += 3) {
                    if (!marked(sx, sy)) continue;
                    int ex = sx, ey = sy;
                    for (;;) {
                        bool ok = true;
                        for (int k = sy; k <= ey && ok; k += 2)
                            ok = marked(ex + 2, k);
                        for (int k = sx; k <= ex && ok; k += 2)
                            ok = marked(k, ey + 2);
                        if (!ok) break;
                        ex += 2;
                        ey += 2;
                    }
                    if (ex - sx > br - bl) {
                        bl = sx, bt = sy, br = ex, bb = ey;
                        if (ex - sx > 25) {
                            label(bl, bt, br, bb, b);
                            sy = ey;
                        }
                    }
                    sx = ex;
                }
            canvas.SetBrush({0xFFFFFE, TBrushStyle::Solid});
            canvas.FloodFill(x, y, 1);
            label(bl, bt, br, bb, b);
        }
    return labels;
}

TShapeList TracedBlobs(int w, int h, unsigned seed, TOutlineMethod method, int step,
                       TColor extra = 0) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> u(0, 1);
    const double fx = 0.05 + 0.2 * u(rng), fy = 0.05 + 0.2 * u(rng), ph = 6 * u(rng);
    TRaster24 pic(w, h);
    const TColor colors[] = {0x0000B4, 0x00B400, 0xB40000, 0xB4B4B4, 0x5A5A00, extra};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const double v =
                std::sin(x * fx + ph) + std::cos(y * fy) + std::sin((x + 2 * y) * 0.11);
            int k = static_cast<int>((v + 3) * 1.2) % (extra ? 6 : 5);
            if (u(rng) < 0.02) k = static_cast<int>(u(rng) * 5);
            pic.SetPixel(x, y, colors[k]);
        }
    TShapeList shapes;
    TNullProgress progress;
    TNullMessages messages;
    TraceRegions(pic, pic, {method, step, true}, shapes, progress, messages);
    return shapes;
}

TEST(NumberPlacementTest, MatchesThePlainReadingOnTracedPaintings) {
    int compared = 0;
    for (unsigned seed = 1; seed <= 6; ++seed) {
        for (TOutlineMethod method :
             {TOutlineMethod::Outline, TOutlineMethod::Inline, TOutlineMethod::HalfLine}) {
            const int step = 1 + static_cast<int>(seed % 4);
            // One painting per seed carries shapes of the marker colour itself.
            const TShapeList shapes =
                TracedBlobs(70 + 7 * seed, 50 + 3 * seed, seed, method, step, seed == 3 ? 1 : 0);
            TNamedPalette palette;
            RebuildPaintingPalette(palette, shapes);
            TRecordingMessages m1, m2;
            TRecordingProgress progress;
            const auto ours = PlaceNumbers(shapes, palette, progress, m1);
            const auto reference = ReferencePlacement(shapes, palette, m2);
            EXPECT_EQ(ours, reference)
                << "seed " << seed << " method " << OutlineMethodIndex(method);
            EXPECT_EQ(m1.Errors, m2.Errors);
            compared += static_cast<int>(ours.size());
        }
    }
    EXPECT_GT(compared, 500);
}

TEST(NumberPlacementTest, RectangleGetsItsColoursNumber) {
    TShapeList shapes;
    shapes.Append(MakeFrameShape(120, 120));
    shapes.Append(MakeShape(0x00FF00, {{10, 10}, {110, 10}, {110, 110}, {10, 110}}));
    TNamedPalette palette;
    RebuildPaintingPalette(palette, shapes);
    TRecordingMessages messages;
    TRecordingProgress progress;
    const auto labels = PlaceNumbers(shapes, palette, progress, messages);
    EXPECT_TRUE(messages.Errors.empty());
    int inside = 0;
    for (const TNumberLabel& l : labels) {
        if (l.Text == "2") {
            ++inside;
            EXPECT_GE(l.Left, 10);
            EXPECT_GE(l.Top, 10);
            EXPECT_LE(l.Right, 110);
            EXPECT_LE(l.Bottom, 110);
        } else {
            EXPECT_EQ(l.Text, "1");
            // The frame's border ring around the rectangle.
            EXPECT_TRUE(l.Left < 10 || l.Top < 10 || l.Right > 110 || l.Bottom > 110);
        }
    }
    EXPECT_GE(inside, 1);
    // The rectangle's biggest square runs across most of it.
    const auto best = std::max_element(labels.begin(), labels.end(), [](auto& a, auto& b) {
        return a.Right - a.Left < b.Right - b.Left;
    });
    EXPECT_EQ(best->Text, "2");
    EXPECT_GE(best->Right - best->Left, 90);
    EXPECT_EQ(progress.Max, 240);
    EXPECT_EQ(progress.Positions.back(), 238);
    EXPECT_EQ(progress.Finishes, 1);
}

TEST(NumberPlacementTest, TinyRegionsGetATwoPixelBoxAndUnknownColoursZero) {
    TShapeList shapes;
    shapes.Append(MakeFrameShape(12, 12));
    shapes.Append(MakeShape(0x0000FF, {{5, 5}})); // one pixel at scale 2
    TNamedPalette palette;                        // no colours at all: every number is 0
    TRecordingMessages messages;
    TRecordingProgress progress;
    const auto labels = PlaceNumbers(shapes, palette, progress, messages);
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_EQ(labels[1], (TNumberLabel{"0", 5, 5, 7, 7}));
    EXPECT_EQ(labels[0].Text, "0");
    // Placing twice gives the same labels.
    EXPECT_EQ(PlaceNumbers(shapes, palette, progress, messages), labels);
}

TEST(NumberPlacementTest, UnexplainedPixelStopsWithTheLabelsSoFar) {
    TShapeList shapes;
    shapes.Append(MakeFrameShape(20, 20));
    auto s = MakeShape(0x00FF00, {{4, 4}, {16, 4}, {16, 16}, {4, 16}});
    // Bounds that no longer hold the outline, as a hand-edited painting might have.
    s->Left = s->Right = 30;
    shapes.Append(std::move(s));
    TNamedPalette palette;
    RebuildPaintingPalette(palette, shapes);
    TRecordingMessages messages;
    TRecordingProgress progress;
    const auto labels = PlaceNumbers(shapes, palette, progress, messages);
    ASSERT_EQ(messages.Errors, std::vector<std::string>{"Error Finding Polygon at 8,8"});
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_EQ(labels[0].Text, "1");
    EXPECT_EQ(progress.Finishes, 1);
}

TEST(NumberPlacementTest, EmptyPaintingHasNoLabels) {
    TRecordingMessages messages;
    TRecordingProgress progress;
    EXPECT_TRUE(PlaceNumbers(TShapeList(), TNamedPalette(), progress, messages).empty());
    EXPECT_EQ(progress.Starts, 0);
}

} // namespace
} // namespace pigmentaria
