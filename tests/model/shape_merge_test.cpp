// Merging shapes that share their outlines: what a pocket between two merged shapes holds stays
// on top, and a border that stays keeps its vertices.
#include "model/shape_merge.h"

#include "model/render.h"

#include <gtest/gtest.h>

namespace pigmentaria {
namespace {

constexpr TColor Grey = 0x808080, Teal = 0x808000, Orange = 0x0080FF;

// A U opening to the right and the bar that closes it, both grey, around an orange square in the
// pocket between them. The square is drawn first: no shape's hole holds it, so nothing covers it.
TShapeList PocketPainting() {
    TShapeList list;
    list.Append(MakeFrameShape(120, 100));
    list.Append(MakeShape(Orange, {{20, 20}, {80, 20}, {80, 80}, {20, 80}}));
    list.Append(MakeShape(
        Grey, {{0, 0}, {80, 0}, {80, 20}, {20, 20}, {20, 80}, {80, 80}, {80, 100}, {0, 100}}));
    list.Append(MakeShape(Grey, {{80, 0}, {120, 0}, {120, 100}, {80, 100}, {80, 80}, {80, 20}}));
    return list;
}

TEST(ShapeMergeTest, WhatThePocketBetweenTwoMergedShapesHoldsIsDrawnAfterThem) {
    TShapeList shapes = PocketPainting();
    const TRaster24 before = RenderPainting(shapes, 1.0);
    TPaintShape* square = shapes.First()->Next;
    TPaintShape* u = square->Next;
    const std::vector<TShapePtr> removed = MergeTouchingShapesOfOneColour(shapes);
    ASSERT_EQ(removed.size(), 1u);
    ASSERT_EQ(shapes.Count(), 3u);
    // The U stays, drawn first, around both; the bar's two edges on the U's side are gone, the
    // outer corners where the bar met the U stay.
    EXPECT_EQ(shapes.First()->Next, u);
    EXPECT_EQ(u->Next, square);
    const std::vector<TShapePoint> around = {{0, 0},     {80, 0},   {120, 0},
                                             {120, 100}, {80, 100}, {0, 100}};
    EXPECT_EQ(u->Points, around);
    EXPECT_EQ(u->Right, 120);
    // Both shapes were grey and the square still shows whole.
    const TRaster24 after = RenderPainting(shapes, 1.0);
    for (int y = 21; y < 80; ++y)
        for (int x = 21; x < 80; ++x)
            ASSERT_EQ(after.GetPixel(x, y), Orange) << x << "," << y;
    EXPECT_EQ(after.GetPixel(100, 50), Grey);
    EXPECT_EQ(before.GetPixel(100, 50), Grey);
    // Nothing else touches in one colour.
    EXPECT_TRUE(MergeTouchingShapesOfOneColour(shapes).empty());
}

TEST(ShapeMergeTest, ACellJoinsTheNeighbourItSharesTheLongestBorderWith) {
    TShapeList shapes = PocketPainting();
    TPaintShape* square = shapes.First()->Next;
    TPaintShape* u = square->Next;
    TPaintShape* bar = u->Next;
    u->Color = Teal;
    // The square's border is 180 long with the U and 60 with the bar; the bar's is 40 with the
    // U, and 60 with the square.
    const std::vector<TShapeNeighbour> near = ShapeNeighbours(shapes, *square);
    ASSERT_EQ(near.size(), 2u);
    EXPECT_EQ(near[0].Shape, u);
    EXPECT_DOUBLE_EQ(near[0].BorderLength, 180);
    EXPECT_DOUBLE_EQ(near[1].BorderLength, 60);
    const auto barMerge = PlanCellMerge(shapes, *bar);
    ASSERT_TRUE(barMerge);
    EXPECT_EQ(barMerge->Removed, bar);
    EXPECT_EQ(barMerge->Kept, square);
    // The frame is never merged, nor is a cell whose only neighbour is the frame.
    EXPECT_FALSE(PlanCellMerge(shapes, *shapes.First()));
    TShapeList alone;
    alone.Append(MakeFrameShape(10, 10));
    TPaintShape* island = alone.Append(MakeShape(Grey, {{2, 2}, {8, 2}, {8, 8}, {2, 8}}));
    EXPECT_FALSE(MergeCell(alone, *island));
    EXPECT_EQ(alone.Count(), 2u);
}

} // namespace
} // namespace pigmentaria
