#include "model/render.h"
#include "model/shape.h"

#include <gtest/gtest.h>

#include <random>

namespace pigmentaria {
namespace {

using Pts = std::vector<TShapePoint>;

TEST(ShapeOutlineTest, ThinningKeepsEveryNthVertex) {
    auto s = MakeShape(1, {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}});
    ThinOutline(*s, 2);
    EXPECT_EQ(s->Points, (Pts{{0, 0}, {2, 0}, {4, 0}}));
    auto t = MakeShape(1, {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}});
    ThinOutline(*t, 3);
    EXPECT_EQ(t->Points, (Pts{{0, 0}, {3, 0}, {6, 0}}));
    auto u = MakeShape(1, {{0, 0}, {1, 0}});
    ThinOutline(*u, 1);
    EXPECT_EQ(u->Points.size(), 2u);
}

TEST(ShapeOutlineTest, CollinearRemovalKeepsCorners) {
    auto s = MakeShape(1, {{0, 0}, {1, 0}, {2, 0}, {2, 1}, {0, 1}});
    EXPECT_FALSE(RemoveCollinearVertices(*s));
    EXPECT_EQ(s->Points, (Pts{{0, 0}, {2, 0}, {2, 1}, {0, 1}}));
}

TEST(ShapeOutlineTest, LineOutAndBackIsReportedAsLine) {
    auto s = MakeShape(1, {{0, 0}, {1, 1}, {2, 2}, {1, 1}, {0, 0}});
    EXPECT_TRUE(RemoveCollinearVertices(*s));
    EXPECT_EQ(s->Points, (Pts{{0, 0}, {1, 1}, {0, 0}}));
}

TEST(ShapeOutlineTest, VerticalRunsAndShortOutlines) {
    auto s = MakeShape(1, {{0, 0}, {0, 1}, {0, 2}, {0, 3}, {1, 3}});
    EXPECT_FALSE(RemoveCollinearVertices(*s));
    EXPECT_EQ(s->Points, (Pts{{0, 0}, {0, 3}, {1, 3}}));
    auto two = MakeShape(1, {{0, 0}, {5, 5}});
    EXPECT_TRUE(RemoveCollinearVertices(*two));
    EXPECT_EQ(two->Points.size(), 2u);
    // Equal slopes are compared exactly, not through rounded quotients.
    auto near = MakeShape(1, {{0, 0}, {3, 1}, {300001, 100000}});
    EXPECT_FALSE(RemoveCollinearVertices(*near));
    EXPECT_EQ(near->Points.size(), 3u);
}

TEST(ShapeOutlineTest, SmoothingLeavesBoundsAlone) {
    auto s = MakeShape(1, {{0, 0}, {5, 0}, {10, 0}, {10, 5}, {10, 10}, {0, 10}, {-3, 4}});
    SmoothShape(*s);
    EXPECT_EQ(s->Points, (Pts{{0, 0}, {10, 0}, {10, 10}, {-3, 4}}));
    EXPECT_EQ(s->Left, -3);
}

TEST(ShapeListTest, CopyIsIndependentOfItsSource) {
    TShapeList list;
    list.Append(MakeFrameShape(10, 10));
    TPaintShape* s = list.Append(MakeShape(7, {{1, 1}, {4, 1}, {4, 4}}, 9));
    TShapePtr copy = CopyShape(*s);
    EXPECT_EQ(copy->Prev, s->Prev);
    list.UnlinkAndFree(s);
    EXPECT_EQ(copy->Points, (Pts{{1, 1}, {4, 1}, {4, 4}}));
    EXPECT_EQ(copy->AcquiredColor, 9u);
    EXPECT_EQ(list.Count(), 1u);
}

TEST(ShapeListTest, CloneSharesNothingWithTheList) {
    TShapeList list;
    list.Append(MakeFrameShape(10, 10));
    TPaintShape* a = list.Append(MakeShape(7, {{1, 1}, {4, 1}, {4, 4}}, 9));
    TPaintShape* b = list.Append(MakeShape(8, {{2, 2}, {5, 2}, {5, 5}}));
    const TShapePtr one = a->Clone();
    EXPECT_EQ(one->Prev, nullptr);
    EXPECT_EQ(one->Next, nullptr);
    EXPECT_EQ(one->Points, a->Points);
    EXPECT_EQ(one->AcquiredColor, 9u);

    TSelection selection;
    selection.Add(b);
    selection.Add(a);
    TShapeList copy = list.Clone();
    const TSelection copied = CloneSelection(selection, list, copy);
    ASSERT_EQ(copy.Count(), 3u);
    EXPECT_EQ(copy.Last()->Prev->Prev, copy.First());
    TPaintShape* ca = copy.First()->Next;
    TPaintShape* cb = ca->Next;
    EXPECT_EQ(copied.Shapes(), (std::vector<TPaintShape*>{cb, ca}));
    // Changing or freeing either side leaves the other as it was.
    ca->Color = 1;
    ca->Points.clear();
    EXPECT_EQ(a->Color, 7u);
    EXPECT_EQ(a->Points.size(), 3u);
    list.FreeAll();
    EXPECT_EQ(cb->Points, (Pts{{2, 2}, {5, 2}, {5, 5}}));
    // Shapes that are not in the list (no longer linked) are not carried over.
    TSelection stray;
    stray.Add(cb);
    EXPECT_TRUE(CloneSelection(stray, TShapeList(), copy).Empty());
}

TEST(ShapeListTest, UnlinkedNeighboursComeBackInOrder) {
    TShapeList list;
    TPaintShape* f = list.Append(MakeFrameShape(10, 10));
    TPaintShape* a = list.Append(MakeShape(1, {{0, 0}}));
    TPaintShape* b = list.Append(MakeShape(2, {{1, 1}}));
    TPaintShape* c = list.Append(MakeShape(3, {{2, 2}}));
    TShapePtr ua = list.Unlink(a);
    TShapePtr ub = list.Unlink(b);
    EXPECT_EQ(f->Next, c);
    EXPECT_EQ(c->Prev, f);
    list.Relink(std::move(ua));
    list.Relink(std::move(ub));
    std::vector<TColor> colors;
    for (const TPaintShape& s : list)
        colors.push_back(s.Color);
    EXPECT_EQ(colors, (std::vector<TColor>{0, 1, 2, 3}));
    EXPECT_EQ(list.Last(), c);
    // The last shape comes back as the last.
    TShapePtr uc = list.Unlink(c);
    EXPECT_EQ(list.Last(), b);
    list.Relink(std::move(uc));
    EXPECT_EQ(list.Last(), c);
    EXPECT_EQ(CountVertices(list.First()), 7u);
}

TEST(ShapeListTest, DetachedChainComesBackWhole) {
    TShapeList list;
    list.Append(MakeFrameShape(4, 3));
    list.Append(MakeShape(5, {{1, 1}}));
    TShapeChain old = list.Detach();
    EXPECT_TRUE(list.Empty());
    list.Append(MakeFrameShape(8, 8));
    list.Adopt(std::move(old));
    EXPECT_EQ(list.Count(), 2u);
    EXPECT_EQ(list.PaintingWidth(), 4);
    EXPECT_EQ(list.Last()->Color, 5u);
}

TEST(SelectionTest, EachShapeOnceInSelectionOrder) {
    TPaintShape a, b;
    TSelection sel;
    sel.Add(&b);
    sel.Add(&a);
    sel.Add(&b);
    EXPECT_EQ(sel.Shapes(), (std::vector<TPaintShape*>{&b, &a}));
    sel.Remove(&b);
    EXPECT_FALSE(sel.IsSelected(&b));
    EXPECT_TRUE(sel.IsSelected(&a));
}

// The hit test as first conceived: draw the candidates with their ordinals as colours on a white
// scratch picture and read the pixel back.
TPaintShape* ScratchRasterHitTest(const TShapeList& shapes, const TRaster24& picture, double z,
                                  int x, int y) {
    if (!picture.Contains(x, y)) return nullptr;
    const TColor c = picture.GetPixel(x, y);
    std::vector<TPaintShape*> candidates;
    for (TPaintShape* s = shapes.First(); s; s = s->Next)
        if (s->Color == c && ScaleCoord(s->Left, z) <= x && x <= ScaleCoord(s->Right, z) &&
            ScaleCoord(s->Top, z) <= y && y <= ScaleCoord(s->Bottom, z))
            candidates.push_back(s);
    TRaster24 scratch(picture.Width(), picture.Height(), clWhite);
    TRasterCanvas canvas(scratch);
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        TPaintShape copy = *candidates[i];
        copy.Color = static_cast<TColor>(i);
        DrawShape(canvas, copy, z);
    }
    const TColor d = scratch.GetPixel(x, y);
    return d < candidates.size() ? candidates[d] : nullptr;
}

TEST(HitTest, LaterOverlappingShapeOfTheSameColourWins) {
    TShapeList list;
    list.Append(MakeFrameShape(10, 10));
    TPaintShape* a = list.Append(MakeShape(5, {{0, 0}, {6, 0}, {6, 6}, {0, 6}}));
    TPaintShape* b = list.Append(MakeShape(5, {{3, 3}, {9, 3}, {9, 9}, {3, 9}}));
    const TRaster24 r = RenderPainting(list, 1.0);
    EXPECT_EQ(ShapeAtPixel(list, r, 1.0, 4, 4), b);
    EXPECT_EQ(ShapeAtPixel(list, r, 1.0, 1, 1), a);
    EXPECT_EQ(ShapeAtPixel(list, r, 1.0, 9, 0), list.First());
    EXPECT_EQ(ShapeAtPixel(list, r, 1.0, 10, 0), nullptr);
    EXPECT_EQ(ShapeAtPixel(list, r, 1.0, -1, 3), nullptr);
}

TEST(HitTest, PixelOfAColourNoShapeHasGivesNone) {
    TShapeList list;
    list.Append(MakeFrameShape(6, 6));
    list.Append(MakeShape(5, {{0, 0}, {3, 0}, {3, 3}, {0, 3}}));
    TRaster24 r = RenderPainting(list, 1.0);
    r.SetPixel(1, 1, 0x777777);
    EXPECT_EQ(ShapeAtPixel(list, r, 1.0, 1, 1), nullptr);
}

TEST(HitTest, EqualsTheScratchRasterMethodOnRandomPaintings) {
    std::mt19937 rng(20261207);
    const double zooms[] = {1.0, 2.0, 0.5, 1.7, 0.33, 3.25};
    for (int round = 0; round < 60; ++round) {
        const int w = 12 + static_cast<int>(rng() % 30), h = 10 + static_cast<int>(rng() % 25);
        TShapeList list;
        list.Append(MakeFrameShape(w, h));
        const int shapes = 1 + static_cast<int>(rng() % 25);
        for (int i = 0; i < shapes; ++i) {
            Pts pts;
            const int n = 1 + static_cast<int>(rng() % 9);
            for (int k = 0; k < n; ++k)
                pts.push_back(
                    {static_cast<int>(rng() % (w + 6)) - 3, static_cast<int>(rng() % (h + 6)) - 3});
            list.Append(MakeShape(static_cast<TColor>(rng() % 3) * 0x404040, std::move(pts)));
        }
        const double z = zooms[round % 6];
        // The picture is sometimes the painting itself, sometimes another one's rendering, so
        // that colours under the pixel need not belong to the covering shape.
        TRaster24 r = RenderPainting(list, z);
        if (round % 5 == 4)
            for (int y = 0; y < r.Height(); y += 3)
                r.SetPixel(y % std::max(1, r.Width()), y, 0x404040);
        for (int y = -1; y <= r.Height(); ++y)
            for (int x = -1; x <= r.Width(); ++x)
                ASSERT_EQ(ShapeAtPixel(list, r, z, x, y), ScratchRasterHitTest(list, r, z, x, y))
                    << "round " << round << " at " << x << "," << y;
    }
}

} // namespace
} // namespace pigmentaria
