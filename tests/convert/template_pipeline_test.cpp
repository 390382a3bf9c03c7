#include "convert/template_pipeline.h"

#include "convert/regions.h"
#include "model/render.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <stdexcept>

namespace pigmentaria {
namespace {

TRaster24 Speckled(int w, int h) {
    std::mt19937 rng(4);
    TRaster24 r(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int base = x < w / 2 ? 60 : 190;
            r.SetPixel(x, y,
                       MakeColor(base + static_cast<int>(rng() % 50),
                                 100 + static_cast<int>(rng() % 50), 255 - base));
        }
    return r;
}

TEST(TemplatePipelineTest, DefaultsAreTheImportsOwnReduction) {
    const TRaster24 picture = Speckled(40, 30);
    TNullProgress p;
    const TReducedPair a = ReduceForTemplate(picture, {2, 3, 30, 25}, {}, p);
    const TReducedPair b = ReduceScaledPicture(picture, {2, 3, 30, 25}, 90, 0, p);
    EXPECT_EQ(a.Reduced, b.Reduced);
    EXPECT_EQ(a.Original, b.Original);
}

TEST(TemplatePipelineTest, CountPaintsAndCleanUpTogether) {
    const TRaster24 picture = Speckled(80, 60);
    TNamedPalette paints;
    paints.Add(MakeColor(90, 120, 190), "Blue grey");
    paints.Add(MakeColor(210, 120, 60), "Ochre");
    paints.Add(MakeColor(30, 30, 30), "Black");
    TTemplateOptions o;
    o.PaletteSize = 8;
    o.Paints = &paints;
    o.Cleanup = {10, 4};
    TNullProgress p;
    const TReducedPair r = ReduceForTemplate(picture, {0, 0, 80, 60}, o, p);
    std::set<TColor> colours;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 80; ++x)
            colours.insert(r.Reduced.GetPixel(x, y));
    for (TColor c : colours)
        EXPECT_GT(paints.PositionOf(c), 0);
    const TRegionMap m = LabelRegions(r.Reduced);
    for (const TRegionRoom& room : MeasureRegions(m, RegionDistanceSquared(m))) {
        EXPECT_GE(room.Area, 10);
        EXPECT_GE(InscribedDiameter(room.MaxDistanceSquared), 4.0);
    }
    EXPECT_EQ(r.Original, picture);
}

TEST(TemplatePipelineTest, SimplifyingARenderingLeavesFewerWiderShapes) {
    // A painting traced from a speckled picture, simplified for a minimum of 5 pixels.
    const TRaster24 picture = Speckled(60, 40);
    TNullProgress p;
    TNullMessages m;
    const TReducedPair reduced = ReduceScaledPicture(picture, {0, 0, 60, 40}, 40, 0, p);
    TShapeList shapes;
    const int before =
        TraceRegions(reduced.Reduced, reduced.Original, {omOutline, 1, false}, shapes, p, m);
    const TRaster24 rendered = RenderPainting(shapes, 1.0);
    const TTracedPainting simple =
        SimplifyForPrinting(rendered, picture, {omOutline, 1, false}, {0, 5}, p, m);
    EXPECT_LT(simple.ShapeCount, before);
    EXPECT_EQ(simple.Shapes.PaintingWidth(), 60);
    EXPECT_EQ(simple.Shapes.PaintingHeight(), 40);
    // Every shape's colour is one of the rendering's; acquired colours come from the photo.
    std::set<TColor> rendered_colours;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x)
            rendered_colours.insert(rendered.GetPixel(x, y));
    for (const TPaintShape* s = simple.Shapes.First()->Next; s; s = s->Next)
        EXPECT_TRUE(rendered_colours.count(s->Color));
    EXPECT_THROW(SimplifyForPrinting(rendered, TRaster24(10, 10), {}, {0, 5}, p, m),
                 std::invalid_argument);
}

} // namespace
} // namespace pigmentaria
