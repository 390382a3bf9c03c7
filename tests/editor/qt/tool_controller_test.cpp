// The editing tools in the main window: the viewer presses of each tool, the region tools'
// rubber band with Shift and Ctrl, the commands, the colour dialog, the status bar and redo.
#include "editor/qt/tool_controller.h"
#include "editor/qt/vector_form.h"
#include "image/qt/pg_image.h"

#include "../../app/qt/widget_test_util.h"
#include "test_util.h"
#include "tool_test_util.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

namespace pigmentaria {
namespace {

using test::WaitFor;

struct ToolControllerTest : ::testing::Test {
    ToolControllerTest() { App.Windows.Tools().SetDialogs(ToolDialogs); }
    void ShowGrid() {
        Form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Form));
        test::WriteGridPainting(App.Dir / "grid.kvp", 400, 300, 4, 3);
        ASSERT_TRUE(Form.OpenFile(QString::fromStdString((App.Dir / "grid.kvp").string())));
        ASSERT_TRUE(WaitFor([&] { return Form.Viewer()->DisplayReady(); }));
    }
    // The grid's cell at column i, row j (100 × 100 each).
    const TPaintShape* Cell(int i, int j) {
        const TPaintShape* s = Doc.Shapes().First()->Next;
        for (int k = 0; k < j * 4 + i; ++k)
            s = s->Next;
        return s;
    }
    // The rubber band the viewer reports, in pixels of the rendered painting.
    void Region(int l, int t, int r, int b, TShiftState shift = {}) {
        Form.Viewer()->SetSelection(true);
        Form.Viewer()->SetSelectionRect({l, t, r, b});
        App.Windows.Tools().RegionMade(shift);
    }
    QLabel* PaintLabel() { return Form.findChild<QLabel*>("PaintLabel"); }

    test::TTestWindows App;
    test::TScriptedToolDialogs ToolDialogs;
    TVectorForm& Form = App.Windows.VectorForm();
    TPaintingDocument& Doc = Form.Document();
    const TVectorForm::TActions& A = Form.Actions();
};

TEST_F(ToolControllerTest, EyedropperAndBrushstrokeWorkOnThePressedShape) {
    ShowGrid();
    A.EyedropperTool->trigger();
    EXPECT_TRUE(A.EyedropperTool->isChecked());
    EXPECT_FALSE(A.SelectionTool->isChecked());
    test::PressViewer(Form.Viewer(), {250, 150});
    EXPECT_EQ(Doc.PaintColor(), Cell(2, 1)->Color);
    EXPECT_TRUE(Doc.Selection().Empty());

    A.BrushstrokeTool->trigger();
    EXPECT_TRUE(A.BrushstrokeTool->isChecked());
    test::PressViewer(Form.Viewer(), {50, 50});
    EXPECT_EQ(Cell(0, 0)->Color, Cell(2, 1)->Color);
    EXPECT_EQ(A.Undo->text(), "&Undo Brushstroke");
    EXPECT_TRUE(Doc.Modified());
    // A press on the frame's border paints the frame, which is a shape like any other.
    const TColor before = Cell(1, 0)->Color;
    A.SelectionTool->trigger();
    test::PressViewer(Form.Viewer(), {150, 50});
    EXPECT_EQ(Cell(1, 0)->Color, before);
    EXPECT_EQ(Doc.Selection().Size(), 1u);
}

TEST_F(ToolControllerTest, RegionSelectionFollowsShiftAndCtrlAndNeedsTheWholeBox) {
    ShowGrid();
    A.SelectRegion->trigger();
    EXPECT_TRUE(A.RegionTool->isChecked());
    EXPECT_EQ(Form.Viewer()->ActionMode(), amCreateSelection);
    // Cell (0,0) spans 1..99: a band ending at 99 (its last pixel) holds it.
    Region(0, 0, 100, 100);
    ASSERT_EQ(Doc.Selection().Size(), 1u);
    EXPECT_EQ(Doc.Selection().Shapes()[0], Cell(0, 0));
    EXPECT_FALSE(Form.Viewer()->Selection());
    // One pixel short on the right: nothing is inside; the selection is cleared first.
    Region(0, 0, 99, 100);
    EXPECT_TRUE(Doc.Selection().Empty());
    Region(0, 0, 100, 100);
    Region(100, 0, 200, 100, {true, false});
    EXPECT_EQ(Doc.Selection().Size(), 2u);
    Region(0, 0, 200, 100, {false, true});
    EXPECT_TRUE(Doc.Selection().Empty());
    // A band of no width changes nothing.
    Region(0, 0, 200, 200);
    const std::size_t n = Doc.Selection().Size();
    Region(10, 10, 10, 300);
    EXPECT_EQ(Doc.Selection().Size(), n);

    // Restricted to the current colour: only cells of that colour.
    A.SelectionTool->trigger();
    test::PressViewer(Form.Viewer(), {150, 150});
    A.SelectColorInRegion->trigger();
    EXPECT_TRUE(A.ColorInRegionTool->isChecked());
    Region(0, 0, 400, 300);
    ASSERT_EQ(Doc.Selection().Size(), 1u);
    EXPECT_EQ(Doc.Selection().Shapes()[0], Cell(1, 1));
}

TEST_F(ToolControllerTest, CommandsChangeTheSelectionAndRedoWalksBack) {
    ShowGrid();
    A.SelectAll->trigger();
    ToolDialogs.Colors.push_back(TColor(0x00FF00));
    A.ColorDialogButton->trigger();
    ASSERT_EQ(ToolDialogs.ColorAsked.size(), 1u);
    EXPECT_EQ(Doc.PaintColor(), 0x00FF00u);
    A.PaintBucketButton->trigger();
    EXPECT_EQ(Cell(3, 2)->Color, 0x00FF00u);
    A.SmoothButton->trigger();
    EXPECT_EQ(A.Undo->text(), "&Undo Smooth");
    A.ReacquireSelected->trigger();
    EXPECT_EQ(Cell(3, 2)->Color, Cell(3, 2)->AcquiredColor);
    A.DeleteSelected->trigger();
    EXPECT_EQ(Doc.Shapes().Count(), 1u);

    QAction* redo = App.Windows.Tools().RedoAction();
    EXPECT_FALSE(redo->isEnabled());
    EXPECT_TRUE(redo->shortcuts().contains(QKeySequence("Ctrl+Y")));
    EXPECT_TRUE(redo->shortcuts().contains(QKeySequence("Ctrl+Shift+Z")));
    // It sits right below Undo.
    const auto entries = Form.EditMenu()->actions();
    EXPECT_EQ(entries.indexOf(redo), entries.indexOf(A.Undo) + 1);
    A.Undo->trigger();
    EXPECT_EQ(Doc.Shapes().Count(), 13u);
    EXPECT_EQ(A.Undo->text(), "&Undo Color Acquisition");
    EXPECT_EQ(redo->text(), "&Redo Delete");
    A.Undo->trigger();
    A.Undo->trigger();
    EXPECT_EQ(Cell(3, 2)->Color, 0x00FF00u);
    redo->trigger();
    EXPECT_EQ(A.Undo->text(), "&Undo Smooth");
    EXPECT_EQ(redo->text(), "&Redo Color Acquisition");
    // A new change drops what was left to redo.
    A.ReacquireAll->trigger();
    EXPECT_FALSE(redo->isEnabled());
    EXPECT_EQ(redo->text(), "&Redo");

    // Cancel in the colour dialog keeps the paint colour.
    ToolDialogs.Colors.push_back(std::nullopt);
    A.ColorDialogButton->trigger();
    EXPECT_EQ(Doc.PaintColor(), 0x00FF00u);
}

TEST_F(ToolControllerTest, OutlinesOnlyDisablesThePixelTools) {
    ShowGrid();
    A.BrushstrokeTool->trigger();
    A.ViewOutlinesOnly->trigger();
    EXPECT_FALSE(A.EyedropperTool->isEnabled());
    EXPECT_FALSE(A.SelectionTool->isEnabled());
    EXPECT_FALSE(A.BrushstrokeTool->isEnabled());
    EXPECT_TRUE(A.RegionTool->isEnabled());
    // A press in the outlines view paints nothing, even with the brushstroke still chosen.
    const TColor before = Cell(0, 0)->Color;
    test::PressViewer(Form.Viewer(), {50, 50});
    EXPECT_EQ(Cell(0, 0)->Color, before);
    EXPECT_FALSE(Doc.Undo().Enabled());
}

TEST_F(ToolControllerTest, ThePaintLabelDescribesBlackAndPureRed) {
    ShowGrid();
    EXPECT_EQ(PaintLabel()->text(), "RGB:(0, 0, 0)  HSV:(n/a, 0, 0)");
    ToolDialogs.Colors.push_back(MakeColor(255, 0, 0));
    A.ColorDialogButton->trigger();
    EXPECT_EQ(PaintLabel()->text(), "RGB:(255, 0, 0)  HSV:(0, 1, 255)");
    EXPECT_EQ(Form.findChild<QLabel*>("PaintSwatch")->styleSheet().contains("#ff0000"), true);
}

TEST_F(ToolControllerTest, DeletingOnlyTheFrameLeavesThePaintingButOffersUndo) {
    ShowGrid();
    test::PressViewer(Form.Viewer(), {0, 0});
    ASSERT_EQ(Doc.Selection().Size(), 1u);
    ASSERT_EQ(Doc.Selection().Shapes()[0], Doc.Shapes().First());
    A.DeleteSelected->trigger();
    EXPECT_EQ(Doc.Shapes().Count(), 13u);
    EXPECT_EQ(A.Undo->text(), "&Undo Delete");
    EXPECT_TRUE(A.Undo->isEnabled());
}

TEST_F(ToolControllerTest, SelectColorButtonFollowsShiftAndCtrl) {
    ShowGrid();
    // Cell (0, 0) is black like the frame; cell (1, 1) has a colour of its own.
    test::PressViewer(Form.Viewer(), {150, 150});
    Doc.DeselectAll();
    A.SelectCurrentColor->trigger();
    ASSERT_EQ(Doc.Selection().Size(), 1u);
    QTest::keyPress(&Form, Qt::Key_Control, Qt::ControlModifier);
    A.SelectColorButton->trigger();
    QTest::keyRelease(&Form, Qt::Key_Control);
    EXPECT_TRUE(Doc.Selection().Empty());
}

// The red marks follow the selection without the painting being rendered again.
class TRenderCount final : public IDocumentObserver {
public:
    void DocumentChanged(TDocumentEvent e) override {
        Renders += e == TDocumentEvent::PaintingRendered;
    }
    int Renders = 0;
};

TEST_F(ToolControllerTest, SelectionMarksRepaintWithoutRenderingThePainting) {
    ShowGrid();
    TRenderCount count;
    Form.View().AddObserver(&count);
    test::PressViewer(Form.Viewer(), {150, 150});
    const TPaintShape* s = Cell(1, 1);
    EXPECT_EQ(Form.SelectionMarks().pixel(s->Left, s->Top), qRgb(255, 0, 0));
    Region(0, 0, 400, 300, {true, false});
    A.SelectAll->trigger();
    A.DeselectAll->trigger();
    EXPECT_TRUE(Form.SelectionMarks().isNull());
    EXPECT_EQ(count.Renders, 0);
    // A change of colour does render.
    A.SelectAll->trigger();
    A.PaintBucketButton->trigger();
    EXPECT_EQ(count.Renders, 1);
    Form.View().RemoveObserver(&count);
}

TEST_F(ToolControllerTest, TheMergeToolMergesTheClickedCellAndItsMenuEntryChoosesIt) {
    Form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Form));
    // Two cells side by side, sharing their border.
    const TColor red = MakeColor(200, 40, 40), blue = MakeColor(40, 40, 200);
    TShapeList shapes;
    shapes.Append(MakeFrameShape(200, 100));
    shapes.Append(MakeShape(red, {{0, 0}, {100, 0}, {100, 100}, {0, 100}}));
    shapes.Append(MakeShape(blue, {{100, 0}, {200, 0}, {200, 100}, {100, 100}}));
    WritePaintingFile(App.Dir / "two.kvp", shapes, "", TPrintLayoutBlock{});
    ASSERT_TRUE(Form.OpenFile(QString::fromStdString((App.Dir / "two.kvp").string())));
    ASSERT_TRUE(WaitFor([&] { return Form.Viewer()->DisplayReady(); }));

    const QString hint = "Merge a cell into its neighbour.";
    EXPECT_EQ(A.MergeTool->toolTip(), hint);
    const QToolBar* bar = Form.findChild<QToolBar*>("ToolBar1");
    ASSERT_TRUE(bar && bar->widgetForAction(A.MergeTool));
    EXPECT_EQ(bar->widgetForAction(A.MergeTool)->accessibleName(), hint);
    // The two entries close the Special menu.
    const QList<QAction*> special = Form.SpecialMenu()->actions();
    ASSERT_GE(special.size(), 2);
    EXPECT_EQ(special[special.size() - 2], A.MergeCell);
    EXPECT_EQ(A.MergeCell->text(), "Merge Cell");
    EXPECT_EQ(special.back(), A.MergeTouching);
    EXPECT_EQ(A.MergeTouching->text(), "Merge Touching Shapes of One Colour");
    EXPECT_TRUE(A.MergeTool->isEnabled());
    EXPECT_TRUE(A.MergeTouching->isEnabled());

    A.MergeCell->trigger();
    EXPECT_EQ(Form.ToolMode(), tmMerge);
    EXPECT_TRUE(A.MergeTool->isChecked());
    EXPECT_TRUE(A.MergeCell->isChecked());
    test::PressViewer(Form.Viewer(), {50, 50});
    ASSERT_EQ(Doc.Shapes().Count(), 2u);
    EXPECT_EQ(Doc.Shapes().Last()->Color, blue);
    EXPECT_EQ(A.Undo->text(), "&Undo Merge Cell");
    EXPECT_TRUE(WaitFor([&] { return Form.View().Rendered().GetPixel(50, 50) == blue; }));
    A.BrushstrokeTool->trigger();
    EXPECT_FALSE(A.MergeCell->isChecked());
    EXPECT_FALSE(A.MergeTool->isChecked());

    // Painted in its neighbour's colour, the cell merges with it from the menu.
    Doc.UndoLast();
    Doc.SetPaintColor(blue);
    test::PressViewer(Form.Viewer(), {50, 50});
    A.MergeTouching->trigger();
    EXPECT_EQ(Doc.Shapes().Count(), 2u);
    EXPECT_EQ(A.Undo->text(), "&Undo Merge Shapes");
}

} // namespace
} // namespace pigmentaria
