#include "convert/tracer.h"
#include "model/render.h"
#include "test_util.h"

#include <gtest/gtest.h>

namespace pigmentaria {
namespace {

using Pts = std::vector<TShapePoint>;
using test::RasterFromText;

constexpr TColor A = 0x0000C0, B = 0x00C000, C = 0xC00000;
const std::map<char, TColor> Palette = {{'a', A}, {'b', B}, {'c', C}, {'w', 0xFFFFFE}};

struct TTraced {
    TShapeList Shapes;
    int Count = 0;
    test::TRecordingMessages Messages;
    test::TRecordingProgress Progress;
    std::vector<TPaintShape*> List() {
        std::vector<TPaintShape*> v;
        for (TPaintShape& s : Shapes)
            v.push_back(&s);
        return v;
    }
};

std::unique_ptr<TTraced> Trace(const TRaster24& r, TTraceSettings settings) {
    auto t = std::make_unique<TTraced>();
    t->Count = TraceRegions(r, r, settings, t->Shapes, t->Progress, t->Messages);
    return t;
}

TEST(TracerTest, OneColourPictureGivesFrameAndOneShape) {
    const TRaster24 r = RasterFromText({"aaaa", "aaaa", "aaaa"}, Palette);
    auto t = Trace(r, {TOutlineMethod::Inline, 1, false});
    auto shapes = t->List();
    ASSERT_EQ(shapes.size(), 2u);
    EXPECT_EQ(t->Count, 2);
    EXPECT_EQ(shapes[0]->Points, (Pts{{0, 0}, {4, 0}, {4, 3}, {0, 3}}));
    EXPECT_EQ(shapes[0]->Color, 0u);
    EXPECT_EQ(shapes[1]->Color, A);
    EXPECT_EQ(shapes[1]->Points, (Pts{{0, 0}, {3, 0}, {3, 2}, {0, 2}, {0, 1}}));
    EXPECT_EQ(RenderPainting(t->Shapes, 1.0), r);
}

TEST(TracerTest, VerticesOfEachOutlineMethod) {
    const TRaster24 r = RasterFromText({"aa", "aa"}, Palette);
    const Pts expected[3] = {{{1, -1}, {2, 1}, {0, 2}, {-1, 0}},
                             {{0, 0}, {1, 0}, {1, 1}, {0, 1}},
                             {{0, 0}, {1, 0}, {0, 2}, {-1, 0}}};
    for (int method = 0; method < 3; ++method) {
        auto t = Trace(r, {OutlineMethodFromIndex(method), 1, false});
        auto shapes = t->List();
        ASSERT_EQ(shapes.size(), 2u);
        EXPECT_EQ(shapes[1]->Points, expected[method]) << "method " << method;
    }
    auto outline = Trace(r, {TOutlineMethod::Outline, 1, false});
    const TPaintShape& s = *outline->List()[1];
    EXPECT_EQ((std::vector<int>{s.Left, s.Top, s.Right, s.Bottom}),
              (std::vector<int>{-1, -1, 2, 2}));
}

TEST(TracerTest, EnclosedPixelBecomesALaterShape) {
    const TRaster24 r = RasterFromText({"aaa", "aba", "aaa"}, Palette);
    auto t = Trace(r, {TOutlineMethod::Inline, 1, false});
    auto shapes = t->List();
    ASSERT_EQ(shapes.size(), 3u);
    EXPECT_EQ(shapes[1]->Color, A);
    EXPECT_EQ(shapes[1]->Points, (Pts{{0, 0}, {2, 0}, {2, 2}, {0, 2}, {0, 1}}));
    EXPECT_EQ(shapes[2]->Color, B);
    EXPECT_EQ(shapes[2]->Points, (Pts{{1, 1}}));
    EXPECT_EQ(RenderPainting(t->Shapes, 1.0), r);
}

TEST(TracerTest, PixelsTouchingAtACornerAreSeparateShapes) {
    const TRaster24 r = RasterFromText({"ab", "ba"}, Palette);
    auto t = Trace(r, {TOutlineMethod::Outline, 1, false});
    auto shapes = t->List();
    ASSERT_EQ(shapes.size(), 5u);
    EXPECT_EQ(shapes[1]->Color, A);
    EXPECT_EQ(shapes[4]->Color, A);
    // A one-pixel region's vertex is the pixel itself, for every method.
    EXPECT_EQ(shapes[1]->Points, (Pts{{0, 0}}));
    EXPECT_EQ(shapes[4]->Points, (Pts{{1, 1}}));
    EXPECT_EQ(shapes[4]->Left, 1);
    EXPECT_EQ(shapes[4]->Bottom, 1);
}

TEST(TracerTest, DiagonalStepNeedsAFlankingPixelOfTheColour) {
    // The staircase is one 4-connected region; the outline cuts its corners.
    const TRaster24 r = RasterFromText({"abb", "aab", "baa"}, Palette);
    auto t = Trace(r, {TOutlineMethod::Inline, 1, false});
    auto shapes = t->List();
    ASSERT_EQ(shapes[1]->Color, A);
    EXPECT_EQ(shapes[1]->Points, (Pts{{0, 0}, {2, 2}, {1, 2}, {0, 1}}));
}

TEST(TracerTest, UntracedMarkColourIsNeverTraced) {
    const TRaster24 r = RasterFromText({"awa", "aaa"}, Palette);
    auto t = Trace(r, {TOutlineMethod::Inline, 1, false});
    auto shapes = t->List();
    ASSERT_EQ(shapes.size(), 2u);
    // A lone pixel of that colour not enclosed by anything stays uncovered.
    const TRaster24 lone = RasterFromText({"aw", "bb"}, Palette);
    auto u = Trace(lone, {TOutlineMethod::Inline, 1, false});
    for (TPaintShape* s : u->List())
        EXPECT_NE(s->Color, 0xFFFFFEu);
}

TEST(TracerTest, VertexStepKeepsEveryNthVertexOfTheTrace) {
    const TRaster24 r = RasterFromText({"bbbbbb", "baaaab", "baaaab", "bbaabb", "bbbbbb"}, Palette);
    TShapeList scratch;
    test::TRecordingProgress progress;
    test::TRecordingMessages messages;
    TRegionTracer tracer(r, r, {TOutlineMethod::Outline, 3, false}, progress, messages);
    TPaintShape raw;
    tracer.FollowBoundary(1, 1, raw);
    Pts thinned;
    for (std::size_t i = 0; i < raw.Points.size(); i += 3)
        thinned.push_back(raw.Points[i]);
    auto t = Trace(r, {TOutlineMethod::Outline, 3, false});
    auto shapes = t->List();
    ASSERT_EQ(shapes.size(), 3u);
    TPaintShape expected;
    expected.Points = thinned;
    RemoveCollinearVertices(expected);
    EXPECT_EQ(shapes[2]->Points, expected.Points);
    EXPECT_EQ(raw.Points.size(), 8u); // one vertex for each of the eight boundary pixels
}

TEST(TracerTest, LineShapesAreDroppedOnlyWhenAsked) {
    const TRaster24 r = RasterFromText({"bbbbb", "baaab", "bbbbb"}, Palette);
    auto kept = Trace(r, {TOutlineMethod::Inline, 1, false});
    auto shapes = kept->List();
    ASSERT_EQ(shapes.size(), 3u);
    EXPECT_EQ(shapes[2]->Points, (Pts{{1, 1}, {2, 1}}));
    auto dropped = Trace(r, {TOutlineMethod::Inline, 1, true});
    EXPECT_EQ(dropped->List().size(), 2u);
    EXPECT_EQ(dropped->Count, 3); // still counted
    // Traced with "Outline" the same line has width and stays.
    auto outline = Trace(r, {TOutlineMethod::Outline, 1, true});
    EXPECT_EQ(outline->List().size(), 3u);
    // A single pixel counts as a line too.
    const TRaster24 dot = RasterFromText({"bbb", "bab", "bbb"}, Palette);
    EXPECT_EQ(Trace(dot, {TOutlineMethod::Outline, 1, true})->List().size(), 2u);
}

TEST(TracerTest, ProgressRunsOverEveryRow) {
    const TRaster24 r = RasterFromText({"ab", "ba", "aa", "bb"}, Palette);
    auto t = Trace(r, {TOutlineMethod::Inline, 1, false});
    EXPECT_EQ(t->Progress.Messages, (std::vector<std::string>{"Tracing Picture..."}));
    EXPECT_EQ(t->Progress.Min, 0);
    EXPECT_EQ(t->Progress.Max, 4);
    EXPECT_EQ(t->Progress.Positions, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(t->Progress.Finishes, 1);
}

TEST(TracerTest, AcquiredColourIsTheIntegerAverageOverThePixelPath) {
    const TRaster24 src = RasterFromText({"aa", "bb"}, Palette);
    TRaster24 orig(2, 2);
    orig.SetPixel(0, 0, MakeColor(10, 0, 255));
    orig.SetPixel(1, 0, MakeColor(13, 1, 0));
    TShapeList shapes;
    test::TRecordingProgress p;
    test::TRecordingMessages m;
    TraceRegions(src, orig, {TOutlineMethod::Inline, 1, false}, shapes, p, m);
    // Path (0,0), (1,0): red (10 + 13) / 2 = 11, green 0, blue 127.
    EXPECT_EQ(shapes.First()->Next->AcquiredColor, MakeColor(11, 0, 127));
}

TEST(TracerTest, HugeBoundaryIsReportedOnceAndTracedWhole) {
    // Two combs of teeth two pixels wide, each with a boundary far beyond the old step limit.
    const int w = 802, h = 172;
    TRaster24 r(w, h, B);
    for (int comb = 0; comb < 2; ++comb) {
        const int top = comb * 86;
        for (int x = 0; x < w; ++x)
            r.SetPixel(x, top, A);
        for (int x = 0; x + 1 < w; x += 4)
            for (int y = top; y < top + 84; ++y) {
                r.SetPixel(x, y, A);
                r.SetPixel(x + 1, y, A);
            }
    }
    auto t = Trace(r, {TOutlineMethod::Inline, 1, false});
    EXPECT_EQ(t->Messages.Errors, (std::vector<std::string>{"Hoo a biggie"}));
    EXPECT_EQ(RenderPainting(t->Shapes, 1.0), r);
}

TEST(TracerTest, OnePixelSpikesLoseTheirTipsInInlineRendering) {
    // Collinear removal drops the tip of a spike that runs out and back along one line, so a
    // one-pixel-wide tooth traced with "Inline" is not drawn back.
    const TRaster24 r = RasterFromText({"aaaaa", "ababa", "ababa", "bbbbb"}, Palette);
    auto t = Trace(r, {TOutlineMethod::Inline, 1, false});
    const TRaster24 back = RenderPainting(t->Shapes, 1.0);
    EXPECT_EQ(back.GetPixel(2, 0), A);
    EXPECT_NE(back.GetPixel(2, 2), A);
}

TEST(TracerTest, InlineRenderingReproducesBlobs) {
    // Nested and touching regions of three colours, traced and drawn back.
    const TRaster24 r =
        RasterFromText({"aaaaaaaaaa", "abbbbbbbba", "abccccccba", "abcaaaacba", "abcabbacba",
                        "abcaaaacba", "abccccccba", "abbbbbbbba", "aaaaaaaaaa"},
                       Palette);
    auto t = Trace(r, {TOutlineMethod::Inline, 1, false});
    EXPECT_EQ(RenderPainting(t->Shapes, 1.0), r);
}

} // namespace
} // namespace pigmentaria
