#include "document_fixture.h"
#include "model/render.h"

namespace pigmentaria::test {
namespace {

using UndoTest = DocumentTest;

TEST_F(UndoTest, NothingToUndoAtFirst) {
    EXPECT_EQ(Doc.UndoCaption(), "&Undo");
    EXPECT_FALSE(Doc.Undo().Enabled());
    EXPECT_FALSE(Doc.UndoLast());
}

TEST_F(UndoTest, PaintRestoresFormerColoursAndKeepsTheSelection) {
    Select({A, B, C});
    Doc.SetPaintColor(Yellow);
    Doc.PaintSelection();
    EXPECT_EQ(Colors(), (std::vector<TColor>{0, Yellow, Yellow, Yellow, Red}));
    EXPECT_EQ(Doc.UndoCaption(), "&Undo Paint");
    EXPECT_TRUE(Doc.Undo().Enabled());
    EXPECT_TRUE(Doc.Modified());
    EXPECT_TRUE(Doc.UndoLast());
    EXPECT_EQ(Colors(), (std::vector<TColor>{0, Red, Green, Blue, Red}));
    EXPECT_EQ(Doc.Selection().Size(), 3u);
    EXPECT_EQ(Doc.UndoCaption(), "&Undo");
    // Undo leaves the modified flag alone, re-renders and rebuilds the palette.
    EXPECT_TRUE(Doc.Modified());
    EXPECT_EQ(View.Rendered().GetPixel(7, 2), Green);
    EXPECT_EQ(PaintingPaletteIndex(Doc.PaintingPalette(), Green), 3);
}

TEST_F(UndoTest, DeletingNeighboursAndUndoingRestoresTheirOrder) {
    const auto before = Order();
    for (auto order : {std::vector<const TPaintShape*>{B, C}, std::vector<const TPaintShape*>{C, B},
                       std::vector<const TPaintShape*>{D, A, C}}) {
        Doc.DeselectAll();
        for (const TPaintShape* s : order)
            View.ClickSelect((s->Left + s->Right) / 2, (s->Top + s->Bottom) / 2, {true, false});
        Doc.DeleteSelection();
        EXPECT_EQ(Doc.Shapes().Count(), 5 - order.size());
        EXPECT_TRUE(Doc.Selection().Empty());
        EXPECT_EQ(Doc.UndoCaption(), "&Undo Delete");
        ASSERT_TRUE(Doc.UndoLast());
        EXPECT_EQ(Order(), before);
        // The links run both ways again.
        EXPECT_EQ(Doc.Shapes().Last(), D);
        EXPECT_EQ(D->Prev, C);
        EXPECT_EQ(C->Prev, B);
    }
    EXPECT_EQ(View.Rendered().GetPixel(12, 2), Blue);
}

TEST_F(UndoTest, DeletingOnlyTheFrameChangesNothingButCanBeUndone) {
    View.ClickSelect(0, 0, {});
    ASSERT_EQ(Doc.Selection().Shapes().front(), Frame);
    Doc.DeleteSelection();
    EXPECT_EQ(Doc.Shapes().Count(), 5u);
    EXPECT_EQ(Doc.UndoCaption(), "&Undo Delete");
    EXPECT_TRUE(Doc.UndoLast());
    EXPECT_EQ(Doc.Shapes().Count(), 5u);
}

TEST_F(UndoTest, DeletedShapesAreFreedWhenTheNextChangeTakesOver) {
    // Under the address sanitizer this shows the deleted shapes are owned and freed exactly once.
    Select({B});
    Doc.DeleteSelection();
    Select({A});
    Doc.SetPaintColor(Yellow);
    Doc.PaintSelection();
    EXPECT_EQ(Doc.UndoCaption(), "&Undo Paint");
    EXPECT_TRUE(Doc.UndoLast());
    EXPECT_EQ(Doc.Shapes().Count(), 4u);
}

TEST_F(UndoTest, SmoothingRestoresTheOutlineVertexForVertex) {
    // A shape with a long ragged outline.
    TShapeList list;
    list.Append(MakeFrameShape(40, 40));
    std::vector<TShapePoint> pts;
    for (int i = 0; i < 30; ++i)
        pts.push_back({i, (i * 7) % 5 + 2});
    for (int i = 29; i >= 0; --i)
        pts.push_back({i, 20 + (i * 3) % 4});
    list.Append(MakeShape(Green, pts));
    Doc.ReplaceShapes(std::move(list), 2);
    Doc.SelectAll();
    Doc.SmoothSelection();
    const TPaintShape& s = *Doc.Shapes().Last();
    EXPECT_LT(s.Points.size(), pts.size());
    // The frame shape is never smoothed.
    EXPECT_EQ(Doc.Shapes().First()->Points.size(), 4u);
    EXPECT_EQ(Doc.UndoCaption(), "&Undo Smooth");
    EXPECT_TRUE(Doc.UndoLast());
    EXPECT_EQ(s.Points, pts);
}

TEST_F(UndoTest, BrushstrokeAndReacquisition) {
    Doc.SetPaintColor(Yellow);
    EXPECT_TRUE(View.Brushstroke(7, 2));
    EXPECT_EQ(B->Color, Yellow);
    EXPECT_EQ(Doc.UndoCaption(), "&Undo Brushstroke");
    // Only the second of two changes can be undone.
    Select({A});
    Doc.ReacquireSelectedColors();
    EXPECT_EQ(A->Color, 0x000080u);
    EXPECT_EQ(Doc.UndoCaption(), "&Undo Color Acquisition");
    Doc.UndoLast();
    EXPECT_EQ(A->Color, Red);
    EXPECT_EQ(B->Color, Yellow);
    Doc.ReacquireAllColors();
    EXPECT_EQ(Colors(), (std::vector<TColor>{0, 0x000080, 0x008000, 0x800000, 0x000070}));
    EXPECT_EQ(Doc.UndoCaption(), "&Undo Color Acquisition");
    Doc.UndoLast();
    EXPECT_EQ(Colors(), (std::vector<TColor>{0, Red, Yellow, Blue, Red}));
    EXPECT_FALSE(View.Brushstroke(500, 500));
}

TEST_F(UndoTest, ReplaceColourAndReplacePalette) {
    Doc.SetPaintColor(Yellow);
    Doc.ReplaceColor(Red);
    EXPECT_EQ(Colors(), (std::vector<TColor>{0, Yellow, Green, Blue, Yellow}));
    EXPECT_EQ(Doc.UndoCaption(), "&Undo Replace Color");
    EXPECT_EQ(Doc.Undo().Entries().size(), 2u);
    Doc.UndoLast();
    EXPECT_EQ(Colors(), (std::vector<TColor>{0, Red, Green, Blue, Red}));
    // A colour no shape has: nothing changes, the undo step is still there.
    Doc.ReplaceColor(0x123456);
    EXPECT_EQ(Doc.UndoCaption(), "&Undo Replace Color");

    EXPECT_FALSE(Doc.ReplacePalette()); // no custom palette
    AddCustomColor(0x0000F0, "Dark red");
    AddCustomColor(0x101010, "Soot");
    EXPECT_TRUE(Doc.ReplacePalette());
    EXPECT_EQ(Doc.UndoCaption(), "&Undo Replace Palette");
    EXPECT_EQ(A->Color, 0x0000F0u);
    EXPECT_EQ(Frame->Color, 0x101010u);
    Doc.UndoLast();
    EXPECT_EQ(Colors(), (std::vector<TColor>{0, Red, Green, Blue, Red}));
}

TEST_F(UndoTest, UndoingAnImportBringsBackTheFormerPaintingWhole) {
    View.SetZoom(2.0);
    Select({A});
    TShapeList fresh;
    fresh.Append(MakeFrameShape(8, 8));
    fresh.Append(MakeShape(Green, Square(1, 1, 3, 3)));
    Doc.SetModified(true);
    Doc.ReplaceShapes(std::move(fresh), 7);
    EXPECT_EQ(Doc.UndoCaption(), "&Undo Import");
    EXPECT_EQ(View.Zoom(), 1.0);
    EXPECT_FALSE(Doc.Modified());
    EXPECT_TRUE(Doc.Selection().Empty());
    EXPECT_EQ(Doc.Shapes().PaintingWidth(), 8);
    EXPECT_EQ(Doc.TracerShapeCount(), 7);
    ASSERT_TRUE(Doc.UndoLast());
    EXPECT_EQ(Order(), (std::vector<const TPaintShape*>{Frame, A, B, C, D}));
    EXPECT_EQ(Doc.Shapes().PaintingWidth(), 20);
    EXPECT_EQ(Doc.UndoCaption(), "&Undo");
    EXPECT_EQ(PaletteCount(Doc.PaintingPalette()), 4);
}

TEST_F(UndoTest, RetraceAndItsUndo) {
    View.SetZoom(0.5);
    const TRaster24 atZoomOne = RenderPainting(Doc.Shapes(), 1.0);
    ASSERT_TRUE(View.Retrace(Progress));
    EXPECT_EQ(Doc.UndoCaption(), "&Undo Retrace Painting");
    EXPECT_EQ(View.Zoom(), 1.0);
    EXPECT_TRUE(Doc.Modified());
    // The rendered painting became the source picture, and the new shapes paint it again.
    EXPECT_EQ(Doc.SourcePicture(), atZoomOne);
    EXPECT_EQ(Doc.Shapes().PaintingWidth(), 20);
    EXPECT_GE(Doc.TracerShapeCount(), 5);
    EXPECT_NE(Doc.Shapes().First(), Frame);
    ASSERT_TRUE(Doc.UndoLast());
    EXPECT_EQ(Order(), (std::vector<const TPaintShape*>{Frame, A, B, C, D}));
    // Not in the outlines-only view.
    View.SetOutlinesOnly(true);
    EXPECT_FALSE(View.Retrace(Progress));
}

TEST_F(UndoTest, OpeningAPaintingDiscardsTheUndoState) {
    TTempDir dir;
    ASSERT_TRUE(Doc.SavePainting(dir / "p.kvp", ""));
    Select({A});
    Doc.DeleteSelection();
    ASSERT_TRUE(Doc.OpenPainting(dir / "p.kvp"));
    EXPECT_EQ(Doc.UndoCaption(), "&Undo");
    EXPECT_EQ(Doc.Shapes().Count(), 5u);
}

} // namespace
} // namespace pigmentaria::test
