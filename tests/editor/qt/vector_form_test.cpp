#include "editor/qt/vector_form.h"
#include "editor/qt/zoom_form.h"
#include "editor/tool_cursors.h"
#include "image/qt/pg_image.h"
#include "platform/qt/progress_form.h"

#include "../../app/qt/widget_test_util.h"
#include "test_util.h"

#include <QAccessible>
#include <QAction>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include <gtest/gtest.h>

namespace pigmentaria {
namespace {

using test::TScriptedDialogs;
using test::WaitFor;

QString Q(const std::filesystem::path& p) {
    return QString::fromStdString(p.string());
}

struct VectorFormTest : ::testing::Test {
    void Show() {
        Form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Form));
    }
    // A painting on disk, opened.
    void OpenGrid(const std::string& name, int w = 400, int h = 300, int cols = 4, int rows = 3) {
        test::WriteGridPainting(Dir / name, w, h, cols, rows);
        ASSERT_TRUE(Form.OpenFile(Q(Dir / name)));
    }
    test::TTestWindows App;
    test::TTempDir& Dir = App.Dir;
    TScriptedDialogs& Dialogs = App.Dialogs;
    TVectorForm& Form = App.Windows.VectorForm();
    TProgressForm& Progress = App.Windows.ProgressForm();
    TZoomForm& Zoom = App.Windows.ZoomForm();
};

TEST_F(VectorFormTest, TheWindowAppliesTheEnablingRule) {
    Form.SetImportDialog(nullptr);
    // The shell switches the parts of this build on; here none is.
    Form.SetFeatures(TFeatureSet::None());
    Show();
    const auto& a = Form.Actions();
    EXPECT_EQ(Form.Title(), "Pigmentaria - (Untitled)");
    EXPECT_TRUE(a.OpenPainting->isEnabled());
    EXPECT_FALSE(a.Save->isEnabled());
    EXPECT_FALSE(a.SaveAs->isEnabled());
    EXPECT_FALSE(a.SelectAll->isEnabled());
    EXPECT_FALSE(a.ZoomButton->isEnabled());
    EXPECT_FALSE(a.Undo->isEnabled());
    // Without an import dialog its entries stay off.
    EXPECT_FALSE(a.ImportPicture->isEnabled());
    OpenGrid("grid.kvp");
    EXPECT_EQ(Form.Title(), "Pigmentaria - grid.kvp");
    EXPECT_TRUE(a.Save->isEnabled());
    EXPECT_TRUE(a.SaveAs->isEnabled());
    EXPECT_TRUE(a.SelectAll->isEnabled());
    EXPECT_TRUE(a.Retrace->isEnabled());
    EXPECT_TRUE(a.ZoomButton->isEnabled());
    EXPECT_TRUE(a.SelectionTool->isChecked());
    EXPECT_FALSE(a.DeselectAll->isEnabled());
    // Parts that are not switched on stay disabled whatever the painting.
    EXPECT_FALSE(a.Print->isEnabled());
    EXPECT_FALSE(a.PaletteButton->isEnabled());
    a.SelectAll->trigger();
    EXPECT_TRUE(a.DeselectAll->isEnabled());
    EXPECT_FALSE(Form.SelectionMarks().isNull());
    a.DeselectAll->trigger();
    EXPECT_FALSE(a.DeselectAll->isEnabled());
    EXPECT_TRUE(Form.SelectionMarks().isNull());
    a.ViewOutlinesOnly->trigger();
    EXPECT_TRUE(Form.View().OutlinesOnly());
    EXPECT_FALSE(a.Retrace->isEnabled());
    EXPECT_FALSE(a.SelectionTool->isEnabled());
}

TEST_F(VectorFormTest, AClickWithTheSelectionToolSelectsTheShapeUnderIt) {
    Show();
    OpenGrid("grid.kvp");
    TPGImage* v = Form.Viewer();
    ASSERT_TRUE(WaitFor([&] { return v->DisplayReady(); }));
    const QPoint at = v->BoxToViewport(QPoint(150, 50)); // the second cell of the first row
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at),
                      v->viewport()->mapToGlobal(QPointF(at)), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(v->viewport(), &press);
    ASSERT_EQ(Form.Document().Selection().Size(), 1u);
    const TPaintShape* s = Form.Document().Selection().Shapes()[0];
    EXPECT_LE(s->Left, 150);
    EXPECT_GE(s->Right, 150);
    EXPECT_EQ(Form.Document().CurrentColor(), s->Color);
    EXPECT_TRUE(Form.Actions().DeselectAll->isEnabled());
    // The mark is drawn in red over the selected cell's outline.
    EXPECT_EQ(Form.SelectionMarks().pixel(s->Left, s->Top), qRgb(255, 0, 0));
}

// Assistive technology toggles a tool button; the keyboard presses it or types the tool's key.
// Each way chooses that tool, and exactly one tool is checked afterwards.
TEST_F(VectorFormTest, EveryWayOfChoosingAToolChoosesItAndLeavesOneChecked) {
    Show();
    OpenGrid("grid.kvp");
    const auto& a = Form.Actions();
    const std::vector<QAction*> tools = {a.SelectionTool, a.BrushstrokeTool, a.EyedropperTool,
                                         a.RegionTool, a.ColorInRegionTool};
    const auto checked = [&] {
        int n = 0;
        for (QAction* t : tools)
            n += t->isChecked() ? 1 : 0;
        return n;
    };
    const auto button = [&](QAction* t) {
        for (QToolButton* b : Form.findChildren<QToolButton*>())
            if (b->defaultAction() == t) return b;
        return static_cast<QToolButton*>(nullptr);
    };
    QToolButton* brush = button(a.BrushstrokeTool);
    ASSERT_TRUE(brush);
    QAccessibleInterface* access = QAccessible::queryAccessibleInterface(brush);
    ASSERT_TRUE(access && access->actionInterface());
    EXPECT_EQ(access->text(QAccessible::Name),
              "Paint individual shapes with the Brushstroke tool.");
    const QStringList actions = access->actionInterface()->actionNames();
    ASSERT_FALSE(actions.isEmpty());
    access->actionInterface()->doAction(actions.front());
    EXPECT_TRUE(WaitFor([&] { return Form.ToolMode() == tmBrushstroke; }))
        << actions.join(',').toStdString();
    EXPECT_TRUE(a.BrushstrokeTool->isChecked());
    EXPECT_EQ(checked(), 1);
    // Toggling the chosen tool again does not leave none chosen.
    access->actionInterface()->doAction(actions.front());
    QTest::qWait(50);
    EXPECT_EQ(Form.ToolMode(), tmBrushstroke);
    EXPECT_TRUE(brush->isChecked());
    EXPECT_EQ(checked(), 1);

    QToolButton* eyedropper = button(a.EyedropperTool);
    ASSERT_TRUE(eyedropper);
    EXPECT_EQ(eyedropper->focusPolicy() & Qt::TabFocus, Qt::TabFocus);
    eyedropper->setFocus();
    QTest::keyClick(eyedropper, Qt::Key_Space);
    EXPECT_EQ(Form.ToolMode(), tmEyedropper);
    EXPECT_EQ(checked(), 1);

    QTest::keyClick(&Form, Qt::Key_C);
    EXPECT_EQ(Form.ToolMode(), tmRegion);
    EXPECT_TRUE(Form.RegionCurrentColorOnly());
    EXPECT_TRUE(a.ColorInRegionTool->isChecked());
    EXPECT_EQ(checked(), 1);
    // The same actions are the Tools menu's entries; the zoom levels sit in the Special menu.
    EXPECT_TRUE(Form.ToolsMenu()->actions().contains(a.SelectionTool));
    EXPECT_TRUE(Form.SpecialMenu()->actions().contains(Form.ZoomMenu()->menuAction()));
    a.SelectionTool->trigger();
    EXPECT_EQ(Form.ToolMode(), tmSelection);
    EXPECT_EQ(checked(), 1);
    // The status bar's swatches say their colour.
    Form.Document().SetPaintColor(MakeColor(200, 30, 40));
    const QLabel* paint = Form.findChild<QLabel*>("PaintSwatch");
    ASSERT_TRUE(paint);
    EXPECT_EQ(paint->accessibleName(), "Paint color: red 200, green 30, blue 40");
}

TEST_F(VectorFormTest, AskToSaveCancelNoAndYes) {
    OpenGrid("a.kvp");
    // Unmodified: nothing to ask.
    EXPECT_TRUE(Form.AskToSave());
    EXPECT_TRUE(Dialogs.Questions.empty());
    Form.Document().SetModified(true);
    Dialogs.Answers = {TSaveAnswer::Cancel};
    EXPECT_FALSE(Form.AskToSave());
    ASSERT_EQ(Dialogs.Questions.size(), 1u);
    EXPECT_EQ(Dialogs.Questions[0], "Save changes to a.kvp?");
    Dialogs.Answers = {TSaveAnswer::No};
    EXPECT_TRUE(Form.AskToSave());
    // Yes saves under the name chosen, then goes on.
    Dialogs.Answers = {TSaveAnswer::Yes};
    Dialogs.SaveFiles = {Q(Dir / "b.kvp")};
    EXPECT_TRUE(Form.AskToSave());
    EXPECT_TRUE(std::filesystem::exists(Dir / "b.kvp"));
    EXPECT_FALSE(Form.Document().Modified());
    EXPECT_EQ(Form.Title(), "Pigmentaria - b.kvp");
    // Yes, then the save dialog cancelled: the changes are not thrown away.
    Form.Document().SetModified(true);
    Dialogs.Answers = {TSaveAnswer::Yes};
    EXPECT_FALSE(Form.AskToSave());
    EXPECT_TRUE(Form.Document().Modified());
}

TEST_F(VectorFormTest, ASaveThatFailsLosesNothing) {
    OpenGrid("a.kvp");
    Form.Document().SetModified(true);
    const std::string before = test::ReadText(Dir / "a.kvp");
    // A folder that cannot be written into: its "folder" is a file.
    Dialogs.Answers = {TSaveAnswer::Yes};
    Dialogs.SaveFiles = {Q(Dir / "a.kvp" / "b.kvp")};
    EXPECT_FALSE(Form.AskToSave());
    ASSERT_EQ(Dialogs.Errors.size(), 1u);
    EXPECT_TRUE(Form.Document().Modified());
    EXPECT_EQ(Form.Title(), "Pigmentaria - a.kvp");
    EXPECT_EQ(test::ReadText(Dir / "a.kvp"), before);
    // So closing is refused too.
    Show();
    Dialogs.Answers = {TSaveAnswer::Yes};
    Dialogs.SaveFiles = {Q(Dir / "a.kvp" / "b.kvp")};
    EXPECT_FALSE(Form.close());
    EXPECT_TRUE(Form.isVisible());
}

TEST_F(VectorFormTest, ClosingAndLogoutAlwaysAskAboutUnsavedWork) {
    Show();
    OpenGrid("a.kvp");
    Form.Document().SetModified(true);
    Dialogs.Answers = {TSaveAnswer::Cancel};
    EXPECT_FALSE(Form.close());
    EXPECT_TRUE(Form.isVisible());
    EXPECT_EQ(Dialogs.Questions.size(), 1u);
    // A session that cannot ask is not allowed to end; one that can asks.
    EXPECT_FALSE(Form.CommitData(false));
    Dialogs.Answers = {TSaveAnswer::Cancel};
    EXPECT_FALSE(Form.CommitData(true));
    Dialogs.Answers = {TSaveAnswer::No};
    EXPECT_TRUE(Form.CommitData(true));
    Dialogs.Answers = {TSaveAnswer::No};
    EXPECT_TRUE(Form.close());
    // Closing wrote the settings file.
    EXPECT_EQ(std::filesystem::file_size(Dir / "kv.ini"), 2360u);
    Form.Document().SetModified(false);
    EXPECT_TRUE(Form.CommitData(false));
}

TEST_F(VectorFormTest, RecentFilesKeepTheirOrderWhenOpenedAgain) {
    OpenGrid("one.kvp");
    OpenGrid("two.kvp");
    const auto& recent = Form.Actions().Recent;
    EXPECT_EQ(recent[0]->text(), "&1 " + Q(Dir / "two.kvp"));
    EXPECT_EQ(recent[1]->text(), "&2 " + Q(Dir / "one.kvp"));
    EXPECT_FALSE(recent[2]->isVisible());
    ASSERT_TRUE(Form.OpenFile(Q(Dir / "one.kvp")));
    EXPECT_EQ(recent[0]->text(), "&1 " + Q(Dir / "two.kvp"));
    for (const char* n : {"three.kvp", "four.kvp", "five.kvp"})
        OpenGrid(n);
    EXPECT_EQ(recent[0]->text(), "&1 " + Q(Dir / "five.kvp"));
    EXPECT_EQ(recent[3]->text(), "&4 " + Q(Dir / "two.kvp"));
    EXPECT_EQ(Form.App().Settings().RecentFiles.Count(), 4);
    // A recent entry opens its painting.
    recent[3]->trigger();
    EXPECT_EQ(Form.Title(), "Pigmentaria - two.kvp");
}

TEST_F(VectorFormTest, ACorruptOrForeignFileLeavesThePaintingUntouched) {
    OpenGrid("good.kvp");
    Form.Actions().SelectAll->trigger();
    Form.Document().SetModified(true);
    const TPaintShape* first = Form.Document().Shapes().First();
    const std::size_t shapes = Form.Document().Selection().Size();
    const std::string undo = Form.Document().UndoCaption();
    const auto recent = Form.App().Settings().RecentFiles.Paths();
    // Cut short in a shape record, a foreign file, and one that is not there.
    const std::string good = test::ReadText(Dir / "good.kvp");
    test::WriteText(Dir / "short.kvp", good.substr(0, good.size() - 7));
    test::WriteText(Dir / "foreign.kvp", "GIF89a not a painting at all");
    for (const char* name : {"short.kvp", "foreign.kvp", "missing.kvp"}) {
        Dialogs.Errors.clear();
        EXPECT_FALSE(Form.OpenFile(Q(Dir / name))) << name;
        ASSERT_EQ(Dialogs.Errors.size(), 1u) << name;
        EXPECT_EQ(Form.Document().Shapes().First(), first);
        EXPECT_EQ(Form.Document().Selection().Size(), shapes);
        EXPECT_EQ(Form.Title(), "Pigmentaria - good.kvp");
        EXPECT_TRUE(Form.Document().Modified());
        EXPECT_EQ(Form.Document().UndoCaption(), undo);
        EXPECT_EQ(Form.App().Settings().RecentFiles.Paths(), recent);
    }
    EXPECT_EQ(Dialogs.Errors.back().empty(), false);
    // The foreign file is named by the painting reader's own message.
    Dialogs.Errors.clear();
    Form.OpenFile(Q(Dir / "foreign.kvp"));
    EXPECT_EQ(Dialogs.Errors.at(0), NotAPaintingMessage);
}

TEST_F(VectorFormTest, APictureIsRefusedUntilThereIsAnImportDialog) {
    Form.SetImportDialog(nullptr);
    OpenGrid("a.kvp");
    test::WriteText(Dir / "photo.png", "\x89PNG\r\n\x1a\n");
    Form.OpenOrImport(Q(Dir / "photo.png"));
    ASSERT_FALSE(Dialogs.Errors.empty());
    EXPECT_NE(Dialogs.Errors.back().find("photo.png"), std::string::npos);
    EXPECT_EQ(Form.Title(), "Pigmentaria - a.kvp");
}

TEST_F(VectorFormTest, AFileDroppedOnTheWindowIsOpened) {
    Show();
    test::WriteGridPainting(Dir / "dropped.kvp", 200, 100, 2, 2);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(Q(Dir / "dropped.kvp"))});
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&Form, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&Form, &drop);
    ASSERT_TRUE(WaitFor([&] { return Form.Title() == "Pigmentaria - dropped.kvp"; }, 2000));
    EXPECT_EQ(Form.Document().Shapes().PaintingWidth(), 200);
    // Something that is no file at all is refused with a message.
    Form.OpenOrImport(Q(Dir / "nothing-here.kvp"));
    EXPECT_EQ(Dialogs.Errors.size(), 1u);
    EXPECT_EQ(Form.Title(), "Pigmentaria - dropped.kvp");
}

TEST_F(VectorFormTest, ZoomMenuOffersLevelsBelow2500AndRerendersOnChoice) {
    Show();
    OpenGrid("wide.kvp", 1200, 300);
    Form.UpdateZoomMenu();
    const auto& z = Form.Actions().ZoomLevel;
    EXPECT_TRUE(z[6]->isEnabled());  // 200 %: 2,400
    EXPECT_FALSE(z[7]->isEnabled()); // 225 %: 2,700
    EXPECT_FALSE(z[8]->isEnabled());
    EXPECT_TRUE(Form.Actions().CustomZoom->isEnabled());
    EXPECT_TRUE(z[3]->isChecked());
    z[6]->trigger();
    EXPECT_TRUE(z[6]->isChecked());
    EXPECT_FALSE(z[3]->isChecked());
    EXPECT_EQ(Form.View().Rendered().Width(), 2400);
    EXPECT_EQ(Form.Viewer()->PicBoxWidth(), 2400);
    z[0]->trigger();
    EXPECT_EQ(Form.View().Rendered().Width(), 300);
    EXPECT_EQ(Form.View().Rendered().Height(), 75);
}

// The usual desktop keys: Ctrl+plus and Ctrl+minus step through the levels the painting allows;
// Ctrl+S saves in place once the painting has a name and asks for one before.
TEST_F(VectorFormTest, KeysZoomByLevelsAndCtrlSSavesOrAsksForAName) {
    Show();
    Form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Form));
    const auto& a = Form.Actions();
    EXPECT_TRUE(a.SaveAs->shortcuts().contains(QKeySequence("Ctrl+S")));
    OpenGrid("wide.kvp", 1200, 300);
    QTest::keyClick(&Form, Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(Form.View().Zoom(), 1.25);
    EXPECT_TRUE(a.ZoomLevel[4]->isChecked());
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(&Form, Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(Form.View().Zoom(), 2.0); // 225 % would be 2,700 wide
    QTest::keyClick(&Form, Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(Form.View().Zoom(), 1.5);
    EXPECT_EQ(a.Save->shortcut(), QKeySequence("Ctrl+S"));
    EXPECT_EQ(a.SaveAs->shortcuts(), QList<QKeySequence>{QKeySequence("Ctrl+Shift+S")});
}

TEST_F(VectorFormTest, CustomZoomFieldsFollowTheUserAndOkSetsTheZoom) {
    Show();
    OpenGrid("a.kvp", 400, 300);
    // The dialog's own rules, typed as the user types.
    Zoom.Fill(300, 400, 1.0, 400, 300);
    EXPECT_EQ(Zoom.PercentEdit()->text(), "100");
    Zoom.PercentEdit()->clear();
    QTest::keyClicks(Zoom.PercentEdit(), "50");
    EXPECT_EQ(Zoom.WidthEdit()->text(), "200");
    EXPECT_EQ(Zoom.HeightEdit()->text(), "150");
    EXPECT_TRUE(Zoom.OkButton()->isEnabled());
    Zoom.PercentEdit()->clear();
    QTest::keyClicks(Zoom.PercentEdit(), "1");
    EXPECT_FALSE(Zoom.OkButton()->isEnabled());
    Zoom.HeightEdit()->clear();
    QTest::keyClicks(Zoom.HeightEdit(), "2500");
    EXPECT_EQ(Zoom.PercentEdit()->text(), "833.3333");
    EXPECT_FALSE(Zoom.OkButton()->isEnabled());
    Zoom.WidthEdit()->clear();
    QTest::keyClicks(Zoom.WidthEdit(), "abc");
    EXPECT_FALSE(Zoom.OkButton()->isEnabled());

    // Through the menu: Ok sets the zoom and checks "Custom...".
    QTimer::singleShot(0, [&] {
        Zoom.PercentEdit()->clear();
        QTest::keyClicks(Zoom.PercentEdit(), "37.5");
        Zoom.OkButton()->click();
    });
    EXPECT_TRUE(Form.CustomZoomClick());
    EXPECT_DOUBLE_EQ(Form.View().Zoom(), 0.375);
    EXPECT_TRUE(Form.Actions().CustomZoom->isChecked());
    EXPECT_EQ(Form.View().Rendered().Width(), 150);
    // Cancel changes nothing.
    Form.SetZoomLevel(1.0);
    QTimer::singleShot(0, [&] { Zoom.CancelButton()->click(); });
    EXPECT_FALSE(Form.CustomZoomClick());
    EXPECT_DOUBLE_EQ(Form.View().Zoom(), 1.0);
    EXPECT_TRUE(Form.Actions().ZoomLevel[3]->isChecked());
}

TEST_F(VectorFormTest, CancellingARetraceLeavesThePaintingExactlyAsItWas) {
    Show();
    OpenGrid("big.kvp", 1500, 1000, 60, 40);
    const TPaintShape* first = Form.Document().Shapes().First();
    const std::size_t vertices = CountVertices(first);
    const std::string undo = Form.Document().UndoCaption();
    bool shownWhileRunning = false;
    QTimer::singleShot(0, [&] {
        shownWhileRunning = Progress.isVisible() && Progress.CancelButton()->isVisible();
        Progress.CancelButton()->click();
    });
    EXPECT_FALSE(Form.RetraceClick());
    EXPECT_TRUE(shownWhileRunning);
    EXPECT_FALSE(Progress.isVisible());
    EXPECT_EQ(Form.Document().Shapes().First(), first);
    EXPECT_EQ(CountVertices(Form.Document().Shapes().First()), vertices);
    EXPECT_EQ(Form.Document().UndoCaption(), undo);
    EXPECT_FALSE(Form.Document().Modified());
    EXPECT_TRUE(Dialogs.Errors.empty());
    // Left to run, the re-trace replaces the painting and can be undone.
    EXPECT_TRUE(Form.RetraceClick());
    EXPECT_EQ(Form.Document().UndoCaption(), UndoRetrace);
    EXPECT_TRUE(Form.Document().Modified());
    EXPECT_TRUE(Form.Actions().Undo->isEnabled());
}

TEST_F(VectorFormTest, SettingsFileShortOrForeignGivesDefaultsAndOneNotice) {
    test::WriteText(Dir / "kv.ini", "short");
    Show();
    EXPECT_EQ(Dialogs.Warnings.size() + Dialogs.Errors.size(), 1u);
    // No usable place stored: a first window of a sensible size.
    EXPECT_GE(Form.width(), 640);
    EXPECT_GE(Form.height(), 480);
    EXPECT_EQ(Form.App().Settings().RecentFiles.Count(), 0);
}

// What another window does to the painting (the palette window's paint colour, a tool's edit, an
// undo) reaches the main window through the document's events, with no call on the window.
TEST_F(VectorFormTest, TheWindowFollowsEveryChangeToldByTheDocument) {
    Show();
    OpenGrid("a.kvp");
    TPaintingDocument& doc = Form.Document();
    const auto& a = Form.Actions();
    auto* label = Form.findChild<QLabel*>("PaintLabel");
    auto* paint = Form.findChild<QLabel*>("PaintSwatch");
    ASSERT_TRUE(label && paint);
    doc.SetPaintColor(MakeColor(30, 90, 60));
    EXPECT_EQ(label->text(), "RGB:(30, 90, 60)  HSV:(150, 0.67, 90)");
    EXPECT_TRUE(paint->styleSheet().contains("#1e5a3c"));

    doc.SelectAll();
    EXPECT_TRUE(a.DeselectAll->isEnabled());
    EXPECT_FALSE(Form.SelectionMarks().isNull());
    EXPECT_FALSE(Form.isWindowModified());
    // An edit: the shapes go, undo is armed under its caption, the painting is modified and shown
    // again without them.
    TPGImage* v = Form.Viewer();
    const TColor cell = Form.View().Rendered().GetPixel(150, 50);
    doc.DeleteSelection();
    EXPECT_TRUE(a.Undo->isEnabled());
    EXPECT_NE(doc.UndoCaption(), UndoCaption);
    EXPECT_EQ(a.Undo->text().toStdString(), doc.UndoCaption());
    EXPECT_TRUE(Form.isWindowModified());
    EXPECT_FALSE(a.DeselectAll->isEnabled());
    EXPECT_TRUE(Form.SelectionMarks().isNull());
    const TColor gone = Form.View().Rendered().GetPixel(150, 50);
    EXPECT_NE(gone, cell);
    ASSERT_TRUE(WaitFor([&] { return v->DisplayReady(); }));
    EXPECT_EQ(v->PixelGraphic()->GetPixelColor(150, 50), gone);
    // Undo from the menu puts the painting back on screen.
    a.Undo->trigger();
    EXPECT_FALSE(a.Undo->isEnabled());
    ASSERT_TRUE(WaitFor([&] { return v->DisplayReady(); }));
    EXPECT_EQ(v->PixelGraphic()->GetPixelColor(150, 50), cell);
    // The flag told by the document is the window's too.
    doc.SetModified(false);
    EXPECT_FALSE(Form.isWindowModified());
}

TEST_F(VectorFormTest, AZoomSetOnTheViewChecksItsEntryAndANewPaintingGoesBackTo100) {
    Show();
    OpenGrid("a.kvp", 400, 300);
    const auto& z = Form.Actions().ZoomLevel;
    Form.View().SetZoom(0.5);
    EXPECT_TRUE(z[1]->isChecked());
    EXPECT_EQ(Form.Viewer()->PicBoxWidth(), 200);
    Form.View().SetZoom(0.4);
    EXPECT_TRUE(Form.Actions().CustomZoom->isChecked());
    EXPECT_EQ(Form.Viewer()->PicBoxWidth(), 160);
    Form.SetZoomLevel(2.0);
    EXPECT_TRUE(z[6]->isChecked());
    EXPECT_DOUBLE_EQ(Form.View().Zoom(), 2.0);
    // A re-traced painting is a new painting: shown at 100%.
    ASSERT_TRUE(Form.RetraceClick());
    EXPECT_DOUBLE_EQ(Form.View().Zoom(), 1.0);
    EXPECT_TRUE(z[3]->isChecked());
    EXPECT_EQ(Form.View().Rendered().Width(), 400);
    EXPECT_EQ(Form.Viewer()->PicBoxWidth(), 400);
}

// Restores the program's locale after a test that sets the user's language.
struct TDefaultLocale {
    TDefaultLocale() : Old(QLocale()) {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    }
    ~TDefaultLocale() { QLocale::setDefault(Old); }
    QLocale Old;
};

TEST_F(VectorFormTest, DecimalsOnScreenUseTheUsersDecimalPoint) {
    TDefaultLocale german;
    Show();
    OpenGrid("a.kvp", 400, 300);
    Form.Document().SetPaintColor(MakeColor(30, 90, 60));
    EXPECT_EQ(Form.findChild<QLabel*>("PaintLabel")->text(),
              "RGB:(30, 90, 60)  HSV:(150, 0,67, 90)");
    Zoom.Fill(300, 400, 0.375, 400, 300);
    EXPECT_EQ(Zoom.PercentEdit()->text(), "37,5");
    Zoom.HeightEdit()->clear();
    QTest::keyClicks(Zoom.HeightEdit(), "100");
    EXPECT_EQ(Zoom.PercentEdit()->text(), "33,3333");
    // Typed either way, the number reads.
    for (const char* typed : {"12,5", "12.5"}) {
        Zoom.PercentEdit()->clear();
        QTest::keyClicks(Zoom.PercentEdit(), typed);
        EXPECT_EQ(Zoom.WidthEdit()->text(), "50") << typed;
        EXPECT_EQ(Zoom.EnteredZoom(), 0.125) << typed;
    }
    // The file saved keeps its full stop whatever the screen shows: it reads back the same.
    Dialogs.SaveFiles = {Q(Dir / "b.kvp")};
    ASSERT_TRUE(Form.SaveAsClick());
    EXPECT_EQ(ReadPaintingFile(Dir / "b.kvp").Shapes.PaintingWidth(), 400);
}

TEST_F(VectorFormTest, AMetafileSavedInTheOutlinesViewIsOutlinesAndNoRecentFile) {
    OpenGrid("a.kvp");
    Dialogs.SaveFiles = {Q(Dir / "filled.wmf")};
    ASSERT_TRUE(Form.SaveAsClick());
    Form.Actions().ViewOutlinesOnly->trigger();
    ASSERT_TRUE(Form.View().OutlinesOnly());
    Dialogs.SaveFiles = {Q(Dir / "outlines.wmf")};
    ASSERT_TRUE(Form.SaveAsClick());
    EXPECT_NE(test::ReadText(Dir / "filled.wmf"), test::ReadText(Dir / "outlines.wmf"));
    // A metafile cannot be opened again: the recent files keep the painting only.
    EXPECT_EQ(Form.App().RecentFiles().Paths(), std::vector<std::string>{(Dir / "a.kvp").string()});
    EXPECT_EQ(Form.Actions().Recent[0]->text(), "&1 " + Q(Dir / "a.kvp"));
    EXPECT_FALSE(Form.Actions().Recent[1]->isVisible());
}

TEST_F(VectorFormTest, APartSwitchesOnItsOwnEntriesOnly) {
    // A main window of its own, with none of the parts the shell attaches.
    test::TTestCore core;
    TVectorForm Form(core.Context());
    test::WriteGridPainting(Dir / "a.kvp", 400, 300, 4, 3);
    ASSERT_TRUE(Form.OpenFile(Q(Dir / "a.kvp")));
    const auto& a = Form.Actions();
    EXPECT_FALSE(a.Print->isEnabled());
    EXPECT_FALSE(a.PrintPalette->isEnabled());
    Form.EnableFeature(&TFeatureSet::Print);
    EXPECT_TRUE(Form.Features().Print);
    EXPECT_TRUE(a.Print->isEnabled());
    EXPECT_TRUE(a.PrintPalette->isEnabled());
    EXPECT_FALSE(a.PaletteButton->isEnabled());
    EXPECT_FALSE(a.SavePalette->isEnabled());
    EXPECT_FALSE(a.ExportPainting->isEnabled());
}

// An import dialog as the import's part will plug in: a picture accepted by it becomes an
// untitled painting in the main window.
class TFakeImport final : public IImportDialog {
public:
    explicit TFakeImport(TPaintingDocument& doc) : Doc(doc) {}
    bool Available() const override { return true; }
    bool ExecuteOnFile(const QString& file) override {
        Files.push_back(file);
        Doc.ReplaceShapes(test::GridPainting(120, 80, 2, 2), 5);
        Held = true;
        return true;
    }
    bool ExecuteOnPicture(std::unique_ptr<TPixelGraphic>) override { return false; }
    bool ExecuteAgain() override { return ExecuteOnFile("again"); }
    bool HoldsPicture() const override { return Held; }
    TPaintingDocument& Doc;
    QStringList Files;
    bool Held = false;
};

TEST_F(VectorFormTest, AnImportDialogTakesPicturesAndItsPaintingIsUntitled) {
    Show();
    OpenGrid("a.kvp");
    TFakeImport import(Form.Document());
    Form.SetImportDialog(&import);
    const auto& a = Form.Actions();
    EXPECT_TRUE(a.ImportPicture->isEnabled());
    EXPECT_FALSE(a.ReImport->isEnabled());
    test::WriteText(Dir / "photo.png", "\x89PNG\r\n\x1a\n");
    Dialogs.Pictures = {Q(Dir / "photo.png")};
    a.ImportPicture->trigger();
    EXPECT_EQ(import.Files, QStringList{Q(Dir / "photo.png")});
    EXPECT_EQ(Form.Title(), "Pigmentaria - (Untitled)");
    EXPECT_TRUE(Form.PaintingFile().isEmpty());
    EXPECT_EQ(Form.View().Rendered().Width(), 120);
    EXPECT_FALSE(a.Save->isEnabled());
    EXPECT_TRUE(a.ReImport->isEnabled());
    // Without the dialog the entries go off again.
    Form.SetImportDialog(nullptr);
    EXPECT_FALSE(a.ImportPicture->isEnabled());
    EXPECT_FALSE(a.ReImport->isEnabled());
}

TEST(JobRunnerTest, ResultsAndMessagesComeBackAndTheWorkerIsNotTheWindowsThread) {
    TProgressForm form;
    TJobRunner runner(form);
    TJobReport report;
    QThread* worker = nullptr;
    std::function<int(TJobContext&)> job = [&](TJobContext& c) {
        worker = QThread::currentThread();
        c.Progress.Start("Counting...", 0, 2000);
        for (int i = 0; i <= 2000; ++i) {
            c.Progress.Position(i);
            if (i % 100 == 0) QThread::usleep(2000);
        }
        c.Messages.Warning("careful");
        return 42;
    };
    const auto result = runner.Run<int>("Working...", false, job, report);
    ASSERT_TRUE(result);
    EXPECT_EQ(*result, 42);
    EXPECT_EQ(report.Status, TJobStatus::Done);
    EXPECT_EQ(report.Messages,
              (std::vector<TWorkMessage>{{TWorkMessage::TKind::Warning, "careful"}}));
    EXPECT_NE(worker, QThread::currentThread());
    // 2,001 positions reached the window only a few times.
    EXPECT_GE(runner.PositionsShown(), 1);
    EXPECT_LT(runner.PositionsShown(), 30);
    EXPECT_FALSE(form.isVisible());
    // A failing job reports its failure; the window is hidden all the same.
    std::function<int(TJobContext&)> bad = [](TJobContext&) -> int {
        throw std::runtime_error("broken");
    };
    EXPECT_FALSE(runner.Run<int>("Working...", false, bad, report));
    EXPECT_EQ(report.Status, TJobStatus::Failed);
    EXPECT_EQ(report.Failure, "broken");
    EXPECT_FALSE(form.isVisible());
}

TEST(JobRunnerTest, CancelAsksTheJobToStopAndStopsOneThatDoesNotListen) {
    TProgressForm form;
    TJobRunner runner(form);
    TJobReport report;
    int reportsAfterCancel = 0;
    bool cancelSeen = false;
    // The job asks the window to cancel from inside (as a click would) and then keeps going.
    std::function<int(TJobContext&)> deaf = [&](TJobContext& c) {
        c.Progress.Start("Counting...", 0, 1000);
        for (int i = 0;; ++i) {
            if (i == 10)
                QMetaObject::invokeMethod(
                    &form, [&] { form.CancelButton()->click(); }, Qt::BlockingQueuedConnection);
            if (c.Progress.Position(i)) {
                cancelSeen = true;
                ++reportsAfterCancel;
            }
        }
        return 1;
    };
    EXPECT_FALSE(runner.Run<int>("Working...", true, deaf, report));
    EXPECT_EQ(report.Status, TJobStatus::Cancelled);
    EXPECT_TRUE(cancelSeen);
    EXPECT_EQ(reportsAfterCancel, 1);
    // A job that listens ends by itself; its result is not taken.
    std::function<int(TJobContext&)> polite = [&](TJobContext& c) {
        c.Progress.Start("Counting...", 0, 1000);
        QMetaObject::invokeMethod(
            &form, [&] { form.CancelButton()->click(); }, Qt::BlockingQueuedConnection);
        for (int i = 0; i < 1000; ++i)
            if (c.Progress.Position(i)) return -1;
        return 2;
    };
    EXPECT_FALSE(runner.Run<int>("Working...", true, polite, report));
    EXPECT_EQ(report.Status, TJobStatus::Cancelled);
}

} // namespace
} // namespace pigmentaria
