// The import part attached to the main window: pictures reach the import dialog from the picture
// dialog, a dropped file and the clipboard, and what the dialog imports becomes the untitled
// painting of the main window.
#include "app/qt/import_windows.h"
#include "editor/qt/vector_form.h"
#include "image/image_test_util.h"
#include "test_util.h"
#include "widget_test_util.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

namespace pigmentaria {
namespace {

struct ImportWindowsTest : ::testing::Test {
    test::TTestWindows App;
    test::TScriptedDialogs& Dialogs = App.Dialogs;
    TVectorForm& Form = App.Windows.VectorForm();
    TModifyForm& Dialog = App.Windows.Import().ModifyForm();

    // Presses "Import" in the dialog once it is up; records the zoom it came up with.
    void ImportWhenShown(double* zoomShown = nullptr) {
        auto* poll = new QTimer(&Dialog);
        QObject::connect(poll, &QTimer::timeout, &Dialog, [this, poll, zoomShown] {
            if (!Dialog.isVisible()) return;
            poll->stop();
            poll->deleteLater();
            if (zoomShown) *zoomShown = Dialog.Session().ZoomFactor();
            Dialog.ImportButton()->click();
        });
        poll->start(5);
    }

    // Presses "Create" in the New Template dialog once its preview has come.
    void CreateTemplateWhenShown() {
        TNewTemplateDialog& dialog = App.Windows.Import().NewTemplateDialog();
        test::WhenShown(&dialog, [&dialog] {
            test::WaitFor([&] { return dialog.HasCurrentTemplate(); }, 30000);
            for (QPushButton* b : dialog.findChildren<QPushButton*>())
                if (b->accessibleName() == "Create") b->click();
        });
    }
};

TEST_F(ImportWindowsTest, ThePartSwitchesTheImportEntriesOn) {
    EXPECT_TRUE(Form.Features().Import);
    EXPECT_TRUE(Form.Actions().ImportPicture->isEnabled());
    EXPECT_FALSE(Form.Actions().ReImport->isEnabled());
}

TEST_F(ImportWindowsTest, APictureOverTheLimitIsTakenAtTheZoomThatFitsAndBecomesThePainting) {
    test::TTempDir dir;
    const auto file = dir / "wide.bmp";
    TRaster24 r(3400, 1700);
    for (int y = 0; y < r.Height(); ++y)
        for (int x = 0; x < r.Width(); ++x)
            r.SetPixel(x, y, x < 1700 ? MakeColor(200, 30, 30) : MakeColor(20, 40, 220));
    TPixelGraphic p;
    p.AssignRaster24(r);
    p.SaveToFile(file.string());
    Dialogs.Pictures.push_back(QString::fromStdString(file.string()));
    double zoom = 0;
    ImportWhenShown(&zoom);
    Form.Actions().ImportPicture->trigger();
    // Not refused: 3400 + 1700 pixels at 5000 / 5100, and the user is told so.
    EXPECT_DOUBLE_EQ(zoom, 5000.0 / 5100.0);
    EXPECT_TRUE(Dialogs.Errors.empty());
    ASSERT_EQ(Dialogs.Warnings.size(), 1u);
    EXPECT_NE(Dialogs.Warnings[0].find("3400 x 1700"), std::string::npos);
    ASSERT_TRUE(Form.Document().HasPainting());
    // Each side is rounded down on its own.
    const int extent =
        Form.Document().Shapes().PaintingWidth() + Form.Document().Shapes().PaintingHeight();
    EXPECT_LE(extent, 5000);
    EXPECT_GE(extent, 4998);
    EXPECT_EQ(Form.Title(), "Pigmentaria - (Untitled)");
    EXPECT_TRUE(Form.Actions().ReImport->isEnabled());
}

TEST_F(ImportWindowsTest, ACorruptPictureChangesNothingInTheMainWindow) {
    test::TTempDir dir;
    test::WriteGridPainting(dir / "a.kvp", 100, 80, 2, 2);
    ASSERT_TRUE(Form.OpenFile(QString::fromStdString((dir / "a.kvp").string())));
    const std::size_t shapes = Form.Document().Shapes().Count();
    test::WriteText(dir / "broken.jpg", std::string("\xFF\xD8\xFF\xE0", 4) + std::string(64, 'x'));
    Form.OpenOrImport(QString::fromStdString((dir / "broken.jpg").string()));
    ASSERT_FALSE(Dialogs.Errors.empty());
    EXPECT_EQ(Dialogs.Errors.back().rfind("Error opening image", 0), 0u);
    EXPECT_FALSE(Dialog.isVisible());
    EXPECT_EQ(Form.Document().Shapes().Count(), shapes);
    EXPECT_EQ(Form.Title(), "Pigmentaria - a.kvp");
    EXPECT_FALSE(Form.Document().Modified());
}

TEST_F(ImportWindowsTest, ADrawingOnTheClipboardIsImported) {
    auto* data = new QMimeData;
    data->setData("image/svg+xml",
                  "<svg xmlns='http://www.w3.org/2000/svg' width='60' height='40'>"
                  "<rect x='0' y='0' width='30' height='40' fill='#00ff00'/></svg>");
    QGuiApplication::clipboard()->setMimeData(data);
    ASSERT_TRUE(test::WaitFor([&] { return Form.Actions().ImportClipboard->isEnabled(); }));
    ImportWhenShown();
    Form.Actions().ImportClipboard->trigger();
    ASSERT_TRUE(Form.Document().HasPainting());
    EXPECT_EQ(Form.Document().Shapes().PaintingWidth(), 60);
    EXPECT_EQ(Form.Document().Shapes().PaintingHeight(), 40);
    QGuiApplication::clipboard()->clear();
}

TEST_F(ImportWindowsTest, NewTemplateAndTheImportDialogsMakeTemplateReplaceThePaintingUntitled) {
    test::TTempDir dir;
    test::WriteGridPainting(dir / "a.kvp", 100, 80, 2, 2);
    ASSERT_TRUE(Form.OpenFile(QString::fromStdString((dir / "a.kvp").string())));
    const auto file = dir / "photo.bmp";
    test::PhotoLike(200, 150, 8).SaveToFile(file.string());

    // File > New Template...: the picture dialog, then the New Template dialog.
    Dialogs.Pictures.push_back(QString::fromStdString(file.string()));
    CreateTemplateWhenShown();
    ASSERT_TRUE(Form.Actions().NewTemplate->isEnabled());
    Form.Actions().NewTemplate->trigger();
    ASSERT_TRUE(Form.Document().Template());
    EXPECT_TRUE(Form.Document().Modified());
    EXPECT_EQ(Form.Title(), "Pigmentaria - (Untitled)");
    EXPECT_TRUE(Dialogs.Errors.empty());

    // The import dialog's "Make Template..." hands its picture on and closes once it is made.
    Form.Document().SetModified(false);
    ASSERT_TRUE(Form.OpenFile(QString::fromStdString((dir / "a.kvp").string())));
    ASSERT_FALSE(Form.Document().Template());
    CreateTemplateWhenShown();
    test::WhenShown(&Dialog, [this] { Dialog.MakeTemplateButton()->click(); });
    Form.OpenOrImport(QString::fromStdString(file.string()));
    EXPECT_FALSE(Dialog.isVisible());
    ASSERT_TRUE(Form.Document().Template());
    EXPECT_EQ(Form.Title(), "Pigmentaria - (Untitled)");

    // A picture that does not load is told as the import tells it, and no dialog shows.
    Form.Document().SetModified(false);
    test::WriteText(dir / "broken.jpg", std::string("\xFF\xD8\xFF\xE0", 4) + std::string(64, 'x'));
    Dialogs.Pictures.push_back(QString::fromStdString((dir / "broken.jpg").string()));
    Form.Actions().NewTemplate->trigger();
    ASSERT_FALSE(Dialogs.Errors.empty());
    EXPECT_EQ(Dialogs.Errors.back().rfind("Error opening image", 0), 0u);
    EXPECT_FALSE(App.Windows.Import().NewTemplateDialog().isVisible());
    EXPECT_TRUE(Form.Document().Template());
}

} // namespace
} // namespace pigmentaria
