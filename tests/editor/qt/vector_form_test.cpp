#include "app/qt/progress_form.h"
#include "editor/qt/vector_form.h"
#include "editor/qt/zoom_form.h"
#include "image/qt/pg_image.h"

#include "../../app/qt/widget_test_util.h"
#include "test_util.h"

#include <QAction>
#include <QDropEvent>
#include <QLineEdit>
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
    VectorFormTest() : Form(&Dialogs), Progress(&Form), Zoom(&Form) {
        Form.Attach(&Progress, &Zoom);
        Form.SetSettingsFile(Dir / "kv.ini");
    }
    void Show() {
        Form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Form));
    }
    // A painting on disk, opened.
    void OpenGrid(const std::string& name, int w = 400, int h = 300, int cols = 4, int rows = 3) {
        test::WriteGridPainting(Dir / name, w, h, cols, rows);
        ASSERT_TRUE(Form.OpenFile(Q(Dir / name)));
    }
    test::TTempDir Dir;
    TScriptedDialogs Dialogs;
    TVectorForm Form;
    TProgressForm Progress;
    TZoomForm Zoom;
};

TEST_F(VectorFormTest, TheWindowAppliesTheEnablingRule) {
    Show();
    const auto& a = Form.Actions();
    EXPECT_EQ(Form.Title(), "Pigmentaria - (Untitled)");
    EXPECT_TRUE(a.OpenPainting->isEnabled());
    EXPECT_FALSE(a.Save->isEnabled());
    EXPECT_FALSE(a.SaveAs->isEnabled());
    EXPECT_FALSE(a.SelectAll->isEnabled());
    EXPECT_FALSE(a.ZoomButton->isEnabled());
    EXPECT_FALSE(a.Undo->isEnabled());
    // This build has no import dialog yet: its entries stay off.
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
    // Parts still to come stay disabled whatever the painting.
    EXPECT_FALSE(a.Print->isEnabled());
    EXPECT_FALSE(a.PaletteButton->isEnabled());
    a.SelectAll->trigger();
    EXPECT_TRUE(a.DeselectAll->isEnabled());
    EXPECT_FALSE(Form.SelectionMarks().isNull());
    a.DeselectAll->trigger();
    EXPECT_FALSE(a.DeselectAll->isEnabled());
    EXPECT_TRUE(Form.SelectionMarks().isNull());
    a.ViewOutlinesOnly->trigger();
    EXPECT_TRUE(Form.Model().OutlinesOnly());
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
    ASSERT_EQ(Form.Model().Selection().Size(), 1u);
    const TPaintShape* s = Form.Model().Selection().Shapes()[0];
    EXPECT_LE(s->Left, 150);
    EXPECT_GE(s->Right, 150);
    EXPECT_EQ(Form.Model().CurrentColor(), s->Color);
    EXPECT_TRUE(Form.Actions().DeselectAll->isEnabled());
    // The mark is drawn in red over the selected cell's outline.
    EXPECT_EQ(Form.SelectionMarks().pixel(s->Left, s->Top), qRgb(255, 0, 0));
}

TEST_F(VectorFormTest, AskToSaveCancelNoAndYes) {
    OpenGrid("a.kvp");
    // Unmodified: nothing to ask.
    EXPECT_TRUE(Form.AskToSave());
    EXPECT_TRUE(Dialogs.Questions.empty());
    Form.Model().Document().SetModified(true);
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
    EXPECT_FALSE(Form.Model().Modified());
    EXPECT_EQ(Form.Title(), "Pigmentaria - b.kvp");
    // Yes, then the save dialog cancelled: the changes are not thrown away.
    Form.Model().Document().SetModified(true);
    Dialogs.Answers = {TSaveAnswer::Yes};
    EXPECT_FALSE(Form.AskToSave());
    EXPECT_TRUE(Form.Model().Modified());
}

TEST_F(VectorFormTest, ASaveThatFailsLosesNothing) {
    OpenGrid("a.kvp");
    Form.Model().Document().SetModified(true);
    const std::string before = test::ReadText(Dir / "a.kvp");
    // A folder that cannot be written into: its "folder" is a file.
    Dialogs.Answers = {TSaveAnswer::Yes};
    Dialogs.SaveFiles = {Q(Dir / "a.kvp" / "b.kvp")};
    EXPECT_FALSE(Form.AskToSave());
    ASSERT_EQ(Dialogs.Errors.size(), 1u);
    EXPECT_TRUE(Form.Model().Modified());
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
    Form.Model().Document().SetModified(true);
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
    Form.Model().Document().SetModified(false);
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
    EXPECT_EQ(Form.Model().Settings().RecentFiles.Count(), 4);
    // A recent entry opens its painting.
    recent[3]->trigger();
    EXPECT_EQ(Form.Title(), "Pigmentaria - two.kvp");
}

TEST_F(VectorFormTest, ACorruptOrForeignFileLeavesThePaintingUntouched) {
    OpenGrid("good.kvp");
    Form.Actions().SelectAll->trigger();
    Form.Model().Document().SetModified(true);
    const TPaintShape* first = Form.Model().Document().Shapes().First();
    const std::size_t shapes = Form.Model().Selection().Size();
    const std::string undo = Form.Model().UndoCaption();
    const auto recent = Form.Model().Settings().RecentFiles.Paths();
    // Cut short in a shape record, a foreign file, and one that is not there.
    const std::string good = test::ReadText(Dir / "good.kvp");
    test::WriteText(Dir / "short.kvp", good.substr(0, good.size() - 7));
    test::WriteText(Dir / "foreign.kvp", "GIF89a not a painting at all");
    for (const char* name : {"short.kvp", "foreign.kvp", "missing.kvp"}) {
        Dialogs.Errors.clear();
        EXPECT_FALSE(Form.OpenFile(Q(Dir / name))) << name;
        ASSERT_EQ(Dialogs.Errors.size(), 1u) << name;
        EXPECT_EQ(Form.Model().Document().Shapes().First(), first);
        EXPECT_EQ(Form.Model().Selection().Size(), shapes);
        EXPECT_EQ(Form.Title(), "Pigmentaria - good.kvp");
        EXPECT_TRUE(Form.Model().Modified());
        EXPECT_EQ(Form.Model().UndoCaption(), undo);
        EXPECT_EQ(Form.Model().Settings().RecentFiles.Paths(), recent);
    }
    EXPECT_EQ(Dialogs.Errors.back().empty(), false);
    // The foreign file is named by the painting reader's own message.
    Dialogs.Errors.clear();
    Form.OpenFile(Q(Dir / "foreign.kvp"));
    EXPECT_EQ(Dialogs.Errors.at(0), NotAPaintingMessage);
}

TEST_F(VectorFormTest, APictureIsRefusedUntilThereIsAnImportDialog) {
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
    EXPECT_EQ(Form.Model().PaintingWidth(), 200);
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
    EXPECT_EQ(Form.Model().Rendered().Width(), 2400);
    EXPECT_EQ(Form.Viewer()->PicBoxWidth(), 2400);
    z[0]->trigger();
    EXPECT_EQ(Form.Model().Rendered().Width(), 300);
    EXPECT_EQ(Form.Model().Rendered().Height(), 75);
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
    EXPECT_DOUBLE_EQ(Form.Model().Zoom(), 0.375);
    EXPECT_TRUE(Form.Actions().CustomZoom->isChecked());
    EXPECT_EQ(Form.Model().Rendered().Width(), 150);
    // Cancel changes nothing.
    Form.SetZoomLevel(1.0);
    QTimer::singleShot(0, [&] { Zoom.CancelButton()->click(); });
    EXPECT_FALSE(Form.CustomZoomClick());
    EXPECT_DOUBLE_EQ(Form.Model().Zoom(), 1.0);
    EXPECT_TRUE(Form.Actions().ZoomLevel[3]->isChecked());
}

TEST_F(VectorFormTest, CancellingARetraceLeavesThePaintingExactlyAsItWas) {
    Show();
    OpenGrid("big.kvp", 1500, 1000, 60, 40);
    const TPaintShape* first = Form.Model().Document().Shapes().First();
    const std::size_t vertices = CountVertices(first);
    const std::string undo = Form.Model().UndoCaption();
    bool shownWhileRunning = false;
    QTimer::singleShot(0, [&] {
        shownWhileRunning = Progress.isVisible() && Progress.CancelButton()->isVisible();
        Progress.CancelButton()->click();
    });
    EXPECT_FALSE(Form.RetraceClick());
    EXPECT_TRUE(shownWhileRunning);
    EXPECT_FALSE(Progress.isVisible());
    EXPECT_EQ(Form.Model().Document().Shapes().First(), first);
    EXPECT_EQ(CountVertices(Form.Model().Document().Shapes().First()), vertices);
    EXPECT_EQ(Form.Model().UndoCaption(), undo);
    EXPECT_FALSE(Form.Model().Modified());
    EXPECT_TRUE(Dialogs.Errors.empty());
    // Left to run, the re-trace replaces the painting and can be undone.
    EXPECT_TRUE(Form.RetraceClick());
    EXPECT_EQ(Form.Model().UndoCaption(), UndoRetrace);
    EXPECT_TRUE(Form.Model().Modified());
    EXPECT_TRUE(Form.Actions().Undo->isEnabled());
}

TEST_F(VectorFormTest, SettingsFileShortOrForeignGivesDefaultsAndOneNotice) {
    test::WriteText(Dir / "kv.ini", "short");
    Show();
    EXPECT_EQ(Dialogs.Warnings.size() + Dialogs.Errors.size(), 1u);
    // No usable place stored: a first window of a sensible size.
    EXPECT_GE(Form.width(), 640);
    EXPECT_GE(Form.height(), 480);
    EXPECT_EQ(Form.Model().Settings().RecentFiles.Count(), 0);
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
    EXPECT_EQ(report.Messages.Warnings, std::vector<std::string>{"careful"});
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
