#include "model/render.h"
#include "test_util.h"

#include <gtest/gtest.h>

namespace pigmentaria {
namespace {

TEST(RenderTest, SizeIsTruncatedProductOfZoom) {
    TShapeList list;
    list.Append(MakeFrameShape(10, 10));
    const TRaster24 r = RenderPainting(list, 0.25);
    EXPECT_EQ(r.Width(), 2);
    EXPECT_EQ(r.Height(), 2);
    EXPECT_TRUE(RenderPainting(TShapeList(), 1.0).Empty());
}

TEST(RenderTest, FrameAloneRendersBlack) {
    TShapeList list;
    list.Append(MakeFrameShape(7, 5));
    const TRaster24 r = RenderPainting(list, 1.0);
    EXPECT_EQ(r, TRaster24(7, 5, clBlack));
}

TEST(RenderTest, OutlinesOnlyViewDrawsWhiteShapesWithBlackEdges) {
    TShapeList list;
    list.Append(MakeFrameShape(6, 6));
    list.Append(MakeShape(0x00FF00, {{1, 1}, {4, 1}, {4, 4}, {1, 4}}));
    const TRaster24 view = RenderPainting(list, 1.0, true);
    EXPECT_EQ(view.GetPixel(2, 2), clWhite);
    EXPECT_EQ(view.GetPixel(1, 1), clBlack);
    EXPECT_EQ(view.GetPixel(4, 2), clBlack);
    const TRaster24 filled = RenderPainting(list, 1.0, false);
    EXPECT_EQ(filled.GetPixel(2, 2), 0x00FF00u);
    EXPECT_EQ(filled.GetPixel(4, 4), 0x00FF00u);
}

TEST(RenderTest, ZoomTruncatesEachVertex) {
    TShapeList list;
    list.Append(MakeFrameShape(10, 10));
    list.Append(MakeShape(0xFF, {{3, 3}, {7, 3}, {7, 7}, {3, 7}}));
    // At 1.5 the square spans trunc(4.5) = 4 to trunc(10.5) = 10.
    const TRaster24 r = RenderPainting(list, 1.5);
    EXPECT_EQ(r.Width(), 15);
    EXPECT_EQ(r.GetPixel(4, 4), 0xFFu);
    EXPECT_EQ(r.GetPixel(10, 10), 0xFFu);
    EXPECT_EQ(r.GetPixel(3, 4), 0u);
    EXPECT_EQ(r.GetPixel(11, 10), 0u);
}

TEST(RenderTest, SelectionIsMarkedInRedWithoutFilling) {
    TShapeList list;
    list.Append(MakeFrameShape(8, 8));
    TPaintShape* s = list.Append(MakeShape(0x00FF00, {{1, 1}, {5, 1}, {5, 5}, {1, 5}}));
    TRaster24 r = RenderPainting(list, 1.0);
    TSelection sel;
    sel.Add(s);
    TRasterCanvas canvas(r);
    MarkSelection(canvas, sel, 1.0);
    EXPECT_EQ(r.GetPixel(1, 1), clRed);
    EXPECT_EQ(r.GetPixel(5, 5), clRed);
    EXPECT_EQ(r.GetPixel(1, 3), clRed);
    EXPECT_EQ(r.GetPixel(3, 3), 0x00FF00u);
}

} // namespace
} // namespace pigmentaria
