// Merging the cells of a real template: the painting after a merge looks as if the cell were
// painted in its neighbour's colour, undo brings back the very shapes, and after a region is
// painted its neighbour's colour the border between them goes.
#include "editor/document.h"
#include "image/pixel_graphic.h"
#include "model/render.h"
#include "model/shape_merge.h"
#include "print/template_job.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <vector>

namespace pigmentaria {
namespace {

// A template of 160 × 120: a blue left half and a yellow right half, and on the line between them
// a thin red ring around a green disc. The disc lies in the ring's hole; the ring's inner border
// is longer than its border with either half; the halves share two stretches of border, with the
// ring between them in the pocket they close around it.
const TTemplateResult& RingTemplate() {
    static const TTemplateResult t = [] {
        TRaster24 r(160, 120);
        for (int y = 0; y < 120; ++y)
            for (int x = 0; x < 160; ++x) {
                const double d = std::hypot(x + 0.5 - 80, y + 0.5 - 60);
                TColor c = x < 80 ? MakeColor(40, 60, 200) : MakeColor(230, 210, 40);
                if (d < 12)
                    c = MakeColor(40, 170, 60);
                else if (d < 18)
                    c = MakeColor(210, 40, 40);
                r.SetPixel(x, y, c);
            }
        TPixelGraphic picture;
        picture.AssignRaster24(r);
        TTemplateRequest request;
        request.PaletteSize = 4;
        request.MinMm = 1;
        TNullProgress progress;
        return MakeTemplate(picture, request, progress);
    }();
    return t;
}

// Each shape drawn in a colour of its own: which shape shows at every pixel.
TRaster24 IdRaster(const TShapeList& shapes) {
    TShapeList ids = shapes.Clone();
    TColor id = 1;
    for (TPaintShape& s : ids)
        s.Color = id++;
    return RenderPainting(ids, 1.0);
}

// The shape of the painting at a point of the picture the template was made of.
TPaintShape* At(const TPaintingDocument& doc, int x, int y) {
    const TRaster24 r = RenderPainting(doc.Shapes(), 1.0);
    return ShapeAtPixel(doc.Shapes(), r, 1.0, x * TemplateOutlineScale + 2,
                        y * TemplateOutlineScale + 2);
}

struct TShapeRecord {
    const TPaintShape* Address;
    TColor Color, Acquired;
    std::vector<TShapePoint> Points;
    std::int32_t Left, Top, Right, Bottom;
    friend bool operator==(const TShapeRecord&, const TShapeRecord&) = default;
};

std::vector<TShapeRecord> Records(const TShapeList& shapes) {
    std::vector<TShapeRecord> out;
    for (const TPaintShape& s : shapes)
        out.push_back({&s, s.Color, s.AcquiredColor, s.Points, s.Left, s.Top, s.Right, s.Bottom});
    return out;
}

struct MergeTest : ::testing::Test {
    MergeTest() : Doc(Messages) {
        const TTemplateResult& t = RingTemplate();
        Doc.ReplaceShapes(t.Trace.Shapes.Clone(), t.Trace.ShapeCount);
        Doc.SetUndoDepth(EditorUndoDepth);
    }
    TNullMessages Messages;
    TPaintingDocument Doc;
};

TEST_F(MergeTest, AMergedCellLooksPaintedInItsNeighboursColourAndUndoBringsItBack) {
    enum TWay { CellGoes, CellTakesTheColour, OutlineAroundBoth };
    struct TCase {
        const char* Name;
        int CellX, CellY, NeighbourX, NeighbourY;
        TWay Way;
    } cases[] = {
        {"the disc in the ring's hole", 80, 60, 80 + 15, 60, CellGoes},
        {"the ring around the disc", 80 + 15, 60, 80, 60, CellTakesTheColour},
        {"the left half beside the right", 20, 60, 140, 60, OutlineAroundBoth},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TPaintShape* cell = At(Doc, c.CellX, c.CellY);
        const TPaintShape* neighbour = At(Doc, c.NeighbourX, c.NeighbourY);
        ASSERT_TRUE(cell && neighbour && cell != neighbour);
        ASSERT_NE(cell->Color, neighbour->Color);
        const std::optional<TShapeMerge> plan = PlanCellMerge(Doc.Shapes(), *cell);
        ASSERT_TRUE(plan);
        EXPECT_EQ(plan->Color, neighbour->Color);
        EXPECT_EQ(plan->Outline.has_value(), c.Way == OutlineAroundBoth);
        EXPECT_EQ(plan->Kept == cell, c.Way == CellTakesTheColour);

        const std::vector<TShapeRecord> before = Records(Doc.Shapes());
        const TRaster24 drawn = RenderPainting(Doc.Shapes(), 1.0);
        // The painting as it looks with the cell painted in the neighbour's colour.
        TShapeList repainted = Doc.Shapes().Clone();
        for (TPaintShape& s : repainted)
            if (s.Points == cell->Points) s.Color = neighbour->Color;
        const TRaster24 expected = RenderPainting(repainted, 1.0);
        ASSERT_FALSE(expected == drawn);

        ASSERT_TRUE(Doc.MergeCell(*cell));
        EXPECT_EQ(Doc.UndoCaption(), "&Undo Merge Cell");
        EXPECT_TRUE(Doc.Modified());
        EXPECT_EQ(Doc.Shapes().Count(), before.size() - 1);
        // Pixel for pixel: a border pen is drawn by whichever shape comes later, so merging could
        // move a one-pixel line along the cell's border where a shape drawn between the cell and
        // its neighbour meets it; nothing here is drawn between them.
        EXPECT_TRUE(RenderPainting(Doc.Shapes(), 1.0) == expected);

        ASSERT_TRUE(Doc.UndoLast());
        EXPECT_EQ(Records(Doc.Shapes()), before);
        EXPECT_TRUE(RenderPainting(Doc.Shapes(), 1.0) == drawn);
        ASSERT_TRUE(Doc.RedoLast());
        EXPECT_TRUE(RenderPainting(Doc.Shapes(), 1.0) == expected);
        ASSERT_TRUE(Doc.UndoLast());
        EXPECT_EQ(Records(Doc.Shapes()), before);
    }
    // The frame is never merged.
    EXPECT_FALSE(Doc.MergeCell(*Doc.Shapes().First()));
    EXPECT_EQ(Doc.Shapes().Count(), RingTemplate().Trace.Shapes.Count());
}

TEST_F(MergeTest, UndoWalksBackThroughAMergeAndTheDeletionBeforeIt) {
    const std::vector<TShapeRecord> original = Records(Doc.Shapes());
    TPaintShape* disc = At(Doc, 80, 60);
    TPaintShape* ring = At(Doc, 95, 60);
    Doc.SelectShape(disc, {});
    Doc.DeleteSelection();
    // With its hole empty, the ring joins one of the halves, and the selected ring leaves the
    // selection when it goes.
    Doc.SelectShape(ring, {});
    ASSERT_TRUE(Doc.MergeCell(*ring));
    EXPECT_TRUE(Doc.Selection().Empty());
    EXPECT_EQ(Doc.Shapes().Count(), original.size() - 2);
    ASSERT_TRUE(Doc.UndoLast());
    ASSERT_TRUE(Doc.UndoLast());
    EXPECT_EQ(Records(Doc.Shapes()), original);
}

// Two shapes of the painting drawn side by side in one colour: a pixel of one beside a pixel of
// the other.
bool TwoOfOneColourTouch(const TShapeList& shapes) {
    const TRaster24 ids = IdRaster(shapes);
    std::vector<TColor> colors;
    for (const TPaintShape& s : shapes)
        colors.push_back(s.Color);
    for (int y = 0; y + 1 < ids.Height(); ++y)
        for (int x = 0; x + 1 < ids.Width(); ++x) {
            const TColor a = ids.GetPixel(x, y);
            for (const TColor b : {ids.GetPixel(x + 1, y), ids.GetPixel(x, y + 1)})
                if (a != b && a != 1 && b != 1 && colors[a - 1] == colors[b - 1]) return true;
        }
    return false;
}

TEST_F(MergeTest, PaintedInItsNeighboursColourARegionLosesTheBorderBetweenThem) {
    TPaintShape* left = At(Doc, 20, 60);
    const TPaintShape* right = At(Doc, 140, 60);
    const TPaintShape* ring = At(Doc, 95, 60);
    const std::size_t count = Doc.Shapes().Count();
    EXPECT_FALSE(Doc.MergeTouchingShapesOfOneColour());
    EXPECT_FALSE(TwoOfOneColourTouch(Doc.Shapes()));

    Doc.SetPaintColor(right->Color);
    Doc.PaintShape(*left);
    const std::vector<TShapeRecord> painted = Records(Doc.Shapes());
    const TRaster24 drawn = RenderPainting(Doc.Shapes(), 1.0);
    ASSERT_TRUE(TwoOfOneColourTouch(Doc.Shapes()));
    ASSERT_TRUE(Doc.MergeTouchingShapesOfOneColour());
    EXPECT_EQ(Doc.UndoCaption(), "&Undo Merge Shapes");
    EXPECT_EQ(Doc.Shapes().Count(), count - 1);
    EXPECT_FALSE(TwoOfOneColourTouch(Doc.Shapes()));
    EXPECT_TRUE(RenderPainting(Doc.Shapes(), 1.0) == drawn);
    // The ring, in the pocket the halves closed around it, is still drawn on top.
    EXPECT_EQ(At(Doc, 95, 60), ring);
    // One step undoes it.
    ASSERT_TRUE(Doc.UndoLast());
    EXPECT_EQ(Records(Doc.Shapes()), painted);
    EXPECT_EQ(Doc.UndoCaption(), "&Undo Brushstroke");
}

} // namespace
} // namespace pigmentaria
