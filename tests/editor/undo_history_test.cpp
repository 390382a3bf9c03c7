// The undo history the desktop program keeps: many steps down, redo back up, a new change
// dropping the steps to redo, and the one-step behaviour the document starts with.
#include "document_fixture.h"

#include <algorithm>

namespace pigmentaria::test {
namespace {

class TEventLog final : public IDocumentObserver {
public:
    explicit TEventLog(TPaintingDocument& doc) : Doc_(doc) { Doc_.AddObserver(this); }
    ~TEventLog() override { Doc_.RemoveObserver(this); }
    void DocumentChanged(TDocumentEvent event) override { Events_.push_back(event); }
    bool Saw(TDocumentEvent e) const {
        return std::find(Events_.begin(), Events_.end(), e) != Events_.end();
    }

private:
    TPaintingDocument& Doc_;
    std::vector<TDocumentEvent> Events_;
};

class UndoHistoryTest : public DocumentTest {
protected:
    UndoHistoryTest() { Doc.SetUndoDepth(EditorUndoDepth); }

    void Paint(std::initializer_list<const TPaintShape*> shapes, TColor color) {
        Select(shapes);
        Doc.SetPaintColor(color);
        Doc.PaintSelection();
    }
    std::vector<std::vector<TShapePoint>> Outlines() const {
        std::vector<std::vector<TShapePoint>> v;
        for (const TPaintShape& s : Doc.Shapes())
            v.push_back(s.Points);
        return v;
    }
};

TEST_F(UndoHistoryTest, CaptionsWalkDownTheHistoryAndRedoWalksBackUp) {
    const auto colors0 = Colors();
    Paint({A}, Yellow);
    const auto colors1 = Colors();
    Select({B, C});
    Doc.DeleteSelection();
    const auto order2 = Order();
    Select({D});
    Doc.SmoothSelection();
    const auto outlines3 = Outlines();

    EXPECT_EQ(Doc.UndoCaption(), "&Undo Smooth");
    EXPECT_EQ(Doc.RedoCaption(), "&Redo");
    EXPECT_FALSE(Doc.RedoLast());

    ASSERT_TRUE(Doc.UndoLast());
    EXPECT_EQ(Doc.UndoCaption(), "&Undo Delete");
    EXPECT_EQ(Doc.RedoCaption(), "&Redo Smooth");
    ASSERT_TRUE(Doc.UndoLast());
    EXPECT_EQ(Doc.UndoCaption(), "&Undo Paint");
    EXPECT_EQ(Doc.Shapes().Count(), 5u);
    ASSERT_TRUE(Doc.UndoLast());
    EXPECT_EQ(Doc.UndoCaption(), "&Undo");
    EXPECT_FALSE(Doc.Undo().Enabled());
    EXPECT_FALSE(Doc.UndoLast());
    EXPECT_EQ(Colors(), colors0);
    EXPECT_EQ(Doc.RedoCaption(), "&Redo Paint");

    ASSERT_TRUE(Doc.RedoLast());
    EXPECT_EQ(Colors(), colors1);
    ASSERT_TRUE(Doc.RedoLast());
    EXPECT_EQ(Order(), order2);
    ASSERT_TRUE(Doc.RedoLast());
    EXPECT_EQ(Outlines(), outlines3);
    EXPECT_EQ(Doc.UndoCaption(), "&Undo Smooth");
    EXPECT_EQ(Doc.RedoCaption(), "&Redo");
    // The rendering follows every step.
    // B is gone: the frame shows through.
    EXPECT_EQ(View.Rendered().GetPixel(7, 2), Frame->Color);
    EXPECT_EQ(View.Rendered().GetPixel(2, 2), Yellow);
}

TEST_F(UndoHistoryTest, ANewChangeDropsTheStepsToRedo) {
    Paint({A}, Yellow);
    Paint({B}, Yellow);
    ASSERT_TRUE(Doc.UndoLast());
    EXPECT_EQ(Doc.RedoCaption(), "&Redo Paint");
    Select({C});
    Doc.DeleteSelection();
    EXPECT_EQ(Doc.RedoCaption(), "&Redo");
    EXPECT_FALSE(Doc.RedoLast());
    EXPECT_EQ(Doc.UndoCaption(), "&Undo Delete");
    ASSERT_TRUE(Doc.UndoLast());
    EXPECT_EQ(Doc.UndoCaption(), "&Undo Paint");
    ASSERT_TRUE(Doc.UndoLast());
    EXPECT_EQ(Colors(), (std::vector<TColor>{0, Red, Green, Blue, Red}));
}

TEST_F(UndoHistoryTest, DeletedShapesComeBackAtTheirPlaceThroughSeveralSteps) {
    const auto before = Order();
    // Neighbours deleted one after the other, then their other neighbour.
    Select({B});
    Doc.DeleteSelection();
    Select({C});
    Doc.DeleteSelection();
    Select({A, D});
    Doc.DeleteSelection();
    EXPECT_EQ(Doc.Shapes().Count(), 1u);
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(Doc.UndoLast());
    EXPECT_EQ(Order(), before);
    EXPECT_EQ(Doc.Shapes().Last(), D);
    EXPECT_EQ(D->Prev, C);
    EXPECT_EQ(C->Prev, B);
    EXPECT_EQ(B->Prev, A);
    // Redo deletes them again, undo brings them back again: the same records every time.
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(Doc.RedoLast());
    EXPECT_EQ(Doc.Shapes().Count(), 1u);
    EXPECT_EQ(Doc.Shapes().Last(), Frame);
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(Doc.UndoLast());
    EXPECT_EQ(Order(), before);
}

TEST_F(UndoHistoryTest, RedoingADeletionTakesTheShapesOutOfTheSelection) {
    Select({A, B});
    Doc.DeleteSelection();
    ASSERT_TRUE(Doc.UndoLast());
    Select({A, C});
    ASSERT_TRUE(Doc.RedoLast());
    ASSERT_EQ(Doc.Selection().Size(), 1u);
    EXPECT_EQ(Doc.Selection().Shapes().front(), C);
}

TEST_F(UndoHistoryTest, ImportsAndRetracesSwapWholePaintingsBothWays) {
    Paint({A}, Yellow);
    const auto first = Order();
    TShapeList other;
    other.Append(MakeFrameShape(30, 30));
    other.Append(MakeShape(Green, Square(2, 2, 20, 20)));
    Doc.ReplaceShapes(std::move(other), 2);
    const auto second = Order();
    Paint({Doc.Shapes().First()->Next}, Blue);
    EXPECT_EQ(Doc.UndoCaption(), "&Undo Paint");
    ASSERT_TRUE(Doc.UndoLast());
    ASSERT_TRUE(Doc.UndoLast());
    EXPECT_EQ(Order(), first);
    EXPECT_EQ(Doc.Shapes().PaintingWidth(), 20);
    ASSERT_TRUE(Doc.UndoLast());
    EXPECT_EQ(Colors(), (std::vector<TColor>{0, Red, Green, Blue, Red}));
    ASSERT_TRUE(Doc.RedoLast());
    ASSERT_TRUE(Doc.RedoLast());
    EXPECT_EQ(Order(), second);
    EXPECT_TRUE(Doc.Selection().Empty());
    ASSERT_TRUE(Doc.RedoLast());
    EXPECT_EQ(Doc.Shapes().First()->Next->Color, Blue);
}

TEST_F(UndoHistoryTest, ColourStepsAndOutlineStepsInterleave) {
    Select({A, D});
    Doc.SmoothSelection();
    const auto smoothed = Outlines();
    Paint({A}, Yellow);
    Doc.ReacquireAllColors();
    AddCustomColor(Blue, "blue");
    ASSERT_TRUE(Doc.ReplacePalette());
    EXPECT_EQ(Colors(), (std::vector<TColor>{Blue, Blue, Blue, Blue, Blue}));
    ASSERT_TRUE(Doc.UndoLast());
    EXPECT_EQ(Colors(), (std::vector<TColor>{0, 0x000080, 0x008000, 0x800000, 0x000070}));
    ASSERT_TRUE(Doc.UndoLast());
    EXPECT_EQ(Colors(), (std::vector<TColor>{0, Yellow, Green, Blue, Red}));
    EXPECT_EQ(Outlines(), smoothed);
    ASSERT_TRUE(Doc.UndoLast());
    ASSERT_TRUE(Doc.UndoLast());
    EXPECT_EQ(A->Points, Square(1, 1, 4, 4));
    EXPECT_EQ(Colors(), (std::vector<TColor>{0, Red, Green, Blue, Red}));
}

TEST_F(UndoHistoryTest, TheHistoryKeepsItsDepthAndFreesTheOldestFirst) {
    Select({A});
    for (std::size_t i = 0; i < EditorUndoDepth + 10; ++i) {
        Doc.SetPaintColor(static_cast<TColor>(i + 1));
        Doc.PaintSelection();
    }
    EXPECT_EQ(Doc.Undo().UndoSteps(), EditorUndoDepth);
    while (Doc.UndoLast()) {
    }
    // The oldest ten are gone: A keeps the colour of the tenth paint.
    EXPECT_EQ(A->Color, 10u);
    EXPECT_EQ(Doc.Undo().RedoSteps(), EditorUndoDepth);
    // Shrinking to one step keeps the newest.
    while (Doc.RedoLast()) {
    }
    Doc.SetUndoDepth(1);
    EXPECT_EQ(Doc.Undo().UndoSteps(), 1u);
    ASSERT_TRUE(Doc.UndoLast());
    EXPECT_EQ(A->Color, EditorUndoDepth + 9);
}

TEST_F(UndoHistoryTest, RedoMarksThePaintingModifiedAndTellsTheCaptions) {
    Paint({A}, Yellow);
    ASSERT_TRUE(Doc.UndoLast());
    Doc.SetModified(false);
    TEventLog log(Doc);
    ASSERT_TRUE(Doc.RedoLast());
    EXPECT_TRUE(Doc.Modified());
    EXPECT_TRUE(log.Saw(TDocumentEvent::UndoCaptionChanged));
    EXPECT_TRUE(log.Saw(TDocumentEvent::ShapesChanged));
}

TEST_F(UndoHistoryTest, OpeningAPaintingForgetsBothDirections) {
    TTempDir dir;
    const auto file = dir / "p.kvp";
    ASSERT_TRUE(Doc.SavePainting(file, ""));
    Paint({A}, Yellow);
    Paint({B}, Yellow);
    ASSERT_TRUE(Doc.UndoLast());
    ASSERT_TRUE(Doc.OpenPainting(file));
    EXPECT_FALSE(Doc.Undo().Enabled());
    EXPECT_FALSE(Doc.Undo().RedoEnabled());
    EXPECT_EQ(Doc.RedoCaption(), "&Redo");
}

TEST(UndoCaptions, RedoCaptionNamesTheSameChange) {
    EXPECT_EQ(RedoCaptionFor(UndoBrushstroke), "&Redo Brushstroke");
    EXPECT_EQ(RedoCaptionFor(UndoRetrace), "&Redo Retrace Painting");
    EXPECT_EQ(RedoCaptionFor(UndoCaption), "&Redo");
    EXPECT_EQ(RedoCaptionFor("Something else"), "&Redo");
}

} // namespace
} // namespace pigmentaria::test
