// The print dialog's legibility report and "Simplify For Printing..." in the program's windows:
// the report follows the layout without the dialog waiting for it, the simplification makes
// every region hold the minimum and is undone from the main window's Edit menu, and Cancel
// leaves the painting as it was.
#include "app/qt/app_windows.h"
#include "app/qt/widget_test_util.h"
#include "convert/import_session.h"
#include "editor/qt/print_actions.h"
#include "editor/qt/vector_form.h"
#include "image/image_test_util.h"
#include "model/render.h"
#include "platform/qt/progress_form.h"
#include "platform/qt/window_text.h"
#include "print/legibility_text.h"
#include "test_util.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace pigmentaria {
namespace {

using test::WhenShown;

using test::PhotoLike;

// Every shape by its contents, in order.
struct TShapeState {
    TColor Color, Acquired;
    std::vector<TShapePoint> Points;
    friend bool operator==(const TShapeState&, const TShapeState&) = default;
};
std::vector<TShapeState> StateOf(const TShapeList& shapes) {
    std::vector<TShapeState> out;
    for (const TPaintShape* s = shapes.First(); s; s = s->Next)
        out.push_back({s->Color, s->AcquiredColor, s->Points});
    return out;
}

void SetEdit(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
}

class PrintLegibilityTest : public ::testing::Test {
protected:
    PrintLegibilityTest() {
        TNullProgress progress;
        TNullMessages messages;
        TImportSession session(progress, messages);
        session.SetPicture(PhotoLike(320, 240));
        Doc.AdoptImport(session.ReduceAndTrace());
    }
    ~PrintLegibilityTest() override { Form().hide(); }

    TPrintForm& Form() { return Print.PrintForm(); }
    // The dialog as "&Print..." shows it, without its own loop: the test is the user.
    void Open() {
        Print.PrepareDialog();
        Form().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Form()));
    }
    bool WaitForReport() {
        return test::WaitFor([this] { return Print.ReportCurrent(); }, 30000);
    }
    std::vector<std::string> ShownLines() {
        std::vector<std::string> lines;
        // The lines shown; a report of fewer lines leaves the last labels empty and hidden.
        for (int i = 0; i < TPrintForm::LegibilityLineCount; ++i)
            if (!Form().LegibilityLine(i)->text().isEmpty())
                lines.push_back(Form().LegibilityLine(i)->text().toStdString());
        return lines;
    }
    // The report as the dialog's layout gives it, made here.
    TLegibilityReport Expected() {
        const TPrintDialogState& s = Form().State();
        return PrintLegibility(Doc.Shapes(), s.Layout(), s.Settings(), {}, 2.5);
    }

    test::TTestWindows App;
    TPaintingDocument& Doc = App.Windows.Document();
    TPrintActions& Print = App.Windows.Print();
};

TEST_F(PrintLegibilityTest, TheReportFollowsThePagesAcrossWithoutTheDialogWaiting) {
    Open();
    EXPECT_FALSE(Print.ReportCurrent()) << "asked once the dialog's events are told";
    ASSERT_TRUE(WaitForReport());
    ASSERT_TRUE(Print.ShownReport());
    const TLegibilityReport one = *Print.ShownReport();
    const TLegibilityReport expected = Expected();
    EXPECT_EQ(one.Regions, expected.Regions);
    EXPECT_EQ(one.RegionsUnderMinimum, expected.RegionsUnderMinimum);
    EXPECT_DOUBLE_EQ(one.SmallestDiameterMm, expected.SmallestDiameterMm);
    EXPECT_EQ(ShownLines(), LegibilityReportLines(one, 2.5, WindowDecimalPoint()));
    EXPECT_GT(one.RegionsUnderMinimum, 0);
    for (int i = 0; i < TPrintForm::LegibilityLineCount; ++i)
        EXPECT_TRUE(Form().LegibilityLine(i)->isEnabled());

    // Two pages across print the painting larger; until the new report is there, the old one
    // shows greyed.
    SetEdit(Form().PagesAcross(), "2");
    EXPECT_FALSE(Print.ReportCurrent());
    QTest::qWait(0);
    if (!Print.ReportCurrent()) {
        EXPECT_EQ(ShownLines(), LegibilityReportLines(one, 2.5, WindowDecimalPoint()));
        EXPECT_FALSE(Form().LegibilityLine(0)->isEnabled());
    }
    ASSERT_TRUE(WaitForReport());
    const TLegibilityReport two = *Print.ShownReport();
    EXPECT_GT(two.SmallestDiameterMm, one.SmallestDiameterMm);
    EXPECT_LT(two.RegionsUnderMinimum, one.RegionsUnderMinimum);
    EXPECT_DOUBLE_EQ(two.SmallestDiameterMm, Expected().SmallestDiameterMm);
    EXPECT_EQ(ShownLines(), LegibilityReportLines(two, 2.5, WindowDecimalPoint()));
    EXPECT_TRUE(Form().LegibilityLine(0)->isEnabled());

    // Numbers asked for: the report measures those printing would place.
    Form().PrintNumbers()->click();
    ASSERT_TRUE(WaitForReport());
    EXPECT_GT(Print.ShownReport()->Labels, 0);
    EXPECT_GT(Print.ShownReport()->SmallestNumberPt, 0);

    // Back to one page without numbers: the first report again.
    Form().PrintNumbers()->click();
    SetEdit(Form().PagesAcross(), "1");
    ASSERT_TRUE(WaitForReport());
    EXPECT_EQ(ShownLines(), LegibilityReportLines(one, 2.5, WindowDecimalPoint()));

    // No pages: nothing to measure.
    SetEdit(Form().PagesAcross(), "0");
    QTest::qWait(0);
    EXPECT_EQ(Form().LegibilityLine(0)->text(), "No pages to print");
    EXPECT_FALSE(Form().LegibilityLine(1)->isVisible());
}

TEST_F(PrintLegibilityTest, SimplifyMakesEveryRegionHoldTheMinimumAndUndoRestoresTheShapes) {
    Open();
    ASSERT_TRUE(WaitForReport());
    const TLegibilityReport before = *Print.ShownReport();
    ASSERT_GT(before.RegionsUnderMinimum, 0);
    const std::vector<TShapeState> shapes = StateOf(Doc.Shapes());
    const TRaster24 picture = RenderPainting(Doc.Shapes(), 1.0);
    ASSERT_TRUE(Form().SimplifyButton()->isEnabled());
    const TPlacementFrame frame = Form().State().Frame();
    // A painting pixel is about half a millimetre: the minimum is wide enough for the clean-up
    // to cut the necks that tracing would leave as crumbs, so none stays under it.
    const std::optional<TSimplifyInput> input = Doc.SimplifyInput(TSimplifyRequest{});
    ASSERT_TRUE(input);
    ASSERT_TRUE(input->Limits.CutNecks);

    QTest::mouseClick(Form().SimplifyButton(), Qt::LeftButton);
    EXPECT_FALSE(App.Windows.ProgressForm().isVisible());
    EXPECT_EQ(Doc.UndoCaption(), "&Undo Simplify");
    QAction* undo = App.Windows.VectorForm().Actions().Undo;
    EXPECT_EQ(undo->text(), "&Undo Simplify");
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_NE(StateOf(Doc.Shapes()), shapes);
    EXPECT_EQ(Form().State().Frame(), frame) << "the painting kept its size and its placement";
    EXPECT_TRUE(Form().ImageSizer()->isVisible());
    ASSERT_TRUE(WaitForReport());
    const TLegibilityReport after = *Print.ShownReport();
    EXPECT_EQ(after.RegionsUnderMinimum, 0);
    EXPECT_GE(after.SmallestDiameterMm, 2.5);
    EXPECT_LT(after.Regions, before.Regions);
    EXPECT_EQ(ShownLines(), LegibilityReportLines(after, 2.5, WindowDecimalPoint()));

    undo->trigger();
    EXPECT_EQ(StateOf(Doc.Shapes()), shapes);
    EXPECT_EQ(RenderPainting(Doc.Shapes(), 1.0), picture);
    ASSERT_TRUE(WaitForReport());
    EXPECT_EQ(Print.ShownReport()->RegionsUnderMinimum, before.RegionsUnderMinimum);
    EXPECT_EQ(ShownLines(), LegibilityReportLines(before, 2.5, WindowDecimalPoint()));
}

TEST_F(PrintLegibilityTest, CancellingTheSimplificationLeavesThePaintingAsItWas) {
    Open();
    ASSERT_TRUE(WaitForReport());
    const std::vector<TShapeState> shapes = StateOf(Doc.Shapes());
    const std::string caption = Doc.UndoCaption();
    const bool modified = Doc.Modified();
    TProgressForm& progress = App.Windows.ProgressForm();
    WhenShown(&progress, [&] { progress.CancelButton()->click(); });
    EXPECT_FALSE(Print.SimplifyClick());
    EXPECT_EQ(StateOf(Doc.Shapes()), shapes);
    EXPECT_EQ(Doc.UndoCaption(), caption);
    EXPECT_EQ(Doc.Modified(), modified);
    EXPECT_TRUE(App.Dialogs.Errors.empty());
}

TEST_F(PrintLegibilityTest, TheNewControlsHaveNamesAndSimplifyNeedsAPainting) {
    Open();
    ASSERT_TRUE(WaitForReport());
    EXPECT_EQ(Form().LegibilityGroup()->accessibleName(), "Legibility");
    EXPECT_EQ(Form().LegibilityGroup()->title(), "Legibility");
    EXPECT_EQ(Form().SimplifyButton()->accessibleName(), "Simplify For Printing...");
    EXPECT_EQ(Form().SimplifyButton()->text(), "&Simplify For Printing...");
    // Every line shown (a report without numbers has fewer lines; the rest are hidden).
    for (QLabel* l : Form().LegibilityGroup()->findChildren<QLabel*>()) {
        if (l->isHidden()) continue;
        EXPECT_FALSE(l->accessibleName().isEmpty()) << l->objectName().toStdString();
        EXPECT_EQ(l->accessibleName(), l->text());
    }
    for (QWidget* w : Form().LegibilityGroup()->findChildren<QWidget*>())
        if (!w->isHidden())
            EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
    EXPECT_TRUE(Form().SimplifyButton()->isEnabled());

    // Without a painting there is nothing to simplify or measure.
    Doc.ReplaceShapes(TShapeList{}, 0);
    QTest::qWait(0);
    EXPECT_FALSE(Form().SimplifyButton()->isEnabled());
    EXPECT_EQ(Form().LegibilityLine(0)->text(), "No painting");
    EXPECT_FALSE(Print.SimplifyClick());
}

} // namespace
} // namespace pigmentaria
