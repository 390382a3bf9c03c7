#include "palette/color_numbering.h"
#include "palette/paint_mapping.h"
#include "print/numbers.h"

#include <gtest/gtest.h>

namespace pigmentaria {
namespace {

TNamedPalette Paints() {
    TNamedPalette p;
    p.Add(MakeColor(255, 255, 255), "Titanium White");
    p.Add(MakeColor(20, 20, 20), "Lamp Black");
    p.Add(MakeColor(200, 30, 40), "Cadmium Red");
    p.Add(MakeColor(30, 60, 170), "Ultramarine");
    p.Add(MakeColor(240, 200, 40), "Cadmium Yellow");
    return p;
}

TEST(PaintMappingTest, NearestPaintByCiede2000) {
    const TNamedPalette paints = Paints();
    TPaintMatcher m(paints);
    EXPECT_EQ(m.NearestPosition(MakeColor(250, 250, 245)), 1);
    EXPECT_EQ(m.NearestPosition(MakeColor(180, 40, 50)), 3);
    EXPECT_EQ(m.NearestPosition(MakeColor(40, 70, 200)), 4);
    EXPECT_EQ(m.NearestColor(MakeColor(230, 190, 60)), MakeColor(240, 200, 40));
    // Every answer is the paint with the smallest difference.
    for (int v = 0; v < 256; v += 51)
        for (int u = 0; u < 256; u += 85) {
            const TColor c = MakeColor(v, u, 255 - v);
            const int got = m.NearestPosition(c);
            for (int i = 1; i <= 5; ++i)
                EXPECT_LE(DeltaE2000(c, paints.At(got)->Color), DeltaE2000(c, paints.At(i)->Color));
        }
}

TEST(PaintMappingTest, DarkBlueGoesToBlackByEyeNotByChannels) {
    // By channel distance a dark navy is nearer the blue paint; seen, it is nearer black.
    TNamedPalette paints;
    paints.Add(MakeColor(0, 0, 0), "Black");
    paints.Add(MakeColor(0, 0, 120), "Navy");
    TPaintMatcher m(paints);
    const TColor c = MakeColor(40, 40, 60);
    EXPECT_EQ(m.NearestPosition(c), 1);
    EXPECT_LT(DeltaE2000(c, MakeColor(0, 0, 0)), DeltaE2000(c, MakeColor(0, 0, 120)));
}

TEST(PaintMappingTest, ShapesTakePaintsAndTheUsedPaintsKeepTheirNames) {
    const TNamedPalette paints = Paints();
    TShapeList shapes;
    shapes.Append(MakeFrameShape(10, 10)); // black: Lamp Black
    shapes.Append(MakeShape(MakeColor(190, 40, 40), {{0, 0}, {5, 0}, {5, 5}}));
    shapes.Append(MakeShape(MakeColor(40, 70, 200), {{0, 0}, {5, 0}, {5, 5}}));
    shapes.Append(MakeShape(MakeColor(30, 60, 170), {{0, 0}, {5, 0}, {5, 5}}));
    TPaintMatcher m(paints);
    EXPECT_EQ(MapShapesToPaints(shapes, m), 3); // the last shape is a paint already
    const TNamedPalette used = PaintsInUse(shapes, paints);
    ASSERT_EQ(used.Count(), 3u);
    EXPECT_EQ(used.At(1)->Name, "Lamp Black");
    EXPECT_EQ(used.At(2)->Name, "Cadmium Red");
    EXPECT_EQ(used.At(3)->Name, "Ultramarine");

    // Numbers by paint position: Cadmium Red is paint 3 although it is the painting's second.
    const TColorNumbering byPaint = NumberByPaintPosition(paints);
    EXPECT_EQ(byPaint(MakeColor(200, 30, 40)), 3);
    EXPECT_EQ(byPaint(MakeColor(1, 2, 3)), 0);
    TNamedPalette painting;
    RebuildPaintingPalette(painting, shapes);
    EXPECT_EQ(NumberByPaintingPalette(painting)(MakeColor(200, 30, 40)), 2);
    EXPECT_EQ(byPaint(MakeColor(30, 60, 170)), 4);
    EXPECT_EQ(NumberByPaintingPalette(painting)(MakeColor(30, 60, 170)), 3);
}

TEST(PaintMappingTest, NumberPlacementTakesTheNumbersItIsGiven) {
    TNamedPalette paints = Paints();
    TShapeList shapes;
    shapes.Append(MakeFrameShape(60, 60));
    shapes.Append(MakeShape(MakeColor(240, 200, 40), {{0, 0}, {59, 0}, {59, 59}, {0, 59}}));
    TNullProgress progress;
    TNullMessages messages;
    const auto labels = PlaceNumbers(shapes, NumberByPaintPosition(paints), progress, messages);
    ASSERT_FALSE(labels.empty());
    for (const TNumberLabel& l : labels)
        EXPECT_EQ(l.Text, "5");
}

TEST(PaintMappingTest, WithoutPaintsNothingChanges) {
    const TNamedPalette none;
    TPaintMatcher m(none);
    EXPECT_EQ(m.NearestPosition(MakeColor(1, 2, 3)), 0);
    EXPECT_EQ(m.NearestColor(MakeColor(1, 2, 3)), MakeColor(1, 2, 3));
    TRaster24 r(2, 2, MakeColor(9, 9, 9));
    const TRaster24 before = r;
    MapRasterToPaints(r, m);
    EXPECT_EQ(r, before);
}

} // namespace
} // namespace pigmentaria
