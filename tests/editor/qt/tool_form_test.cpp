// The palette window, its editor and "Save Palette": the list of palette files, picking and
// replacing colours on the swatches, replacing the palette, editing with Ok and Cancel.
#include "editor/qt/tool_controller.h"
#include "editor/qt/tool_form.h"
#include "editor/qt/vector_form.h"

#include "../../app/qt/widget_test_util.h"
#include "test_util.h"
#include "tool_test_util.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <gtest/gtest.h>

namespace pigmentaria {
namespace {

using test::WaitFor;

struct ToolFormTest : ::testing::Test {
    ToolFormTest() {
        App.Windows.Tools().SetDialogs(ToolDialogs);
        Palette.SetDialogs(ToolDialogs);
    }
    void OpenGrid() {
        test::WriteGridPainting(App.Dir / "grid.kvp", 400, 300, 4, 3);
        ASSERT_TRUE(Form.OpenFile(QString::fromStdString((App.Dir / "grid.kvp").string())));
    }
    // The swatch of a colour on a page: the first pixel of that colour.
    static QPoint Where(TSwatchView* v, TColor c) {
        const QImage& img = v->Picture();
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (v->ColorAt({x, y}) == c) return {x, y};
        return {-1, -1};
    }
    static void Click(TSwatchView* v, QPoint p) { QTest::mouseClick(v, Qt::LeftButton, {}, p); }
    std::filesystem::path UserFolder() { return App.Windows.App().PaletteFolder(); }

    test::TTestWindows App{std::filesystem::path(PIGMENTARIA_DATA_SOURCE)};
    test::TScriptedToolDialogs ToolDialogs;
    TVectorForm& Form = App.Windows.VectorForm();
    TToolForm& Palette = App.Windows.ToolForm();
    TPaintingDocument& Doc = Form.Document();
};

TEST_F(ToolFormTest, BundledPalettesComeFirstThenTheUsersOwnAndTheRememberedOneIsChosen) {
    std::filesystem::create_directories(UserFolder());
    TNamedPalette mine;
    AddPaletteColor(mine, 0x123456, "mine");
    SavePalette(mine, UserFolder() / "a_mine.kvl", "My Palette");
    SavePalette(mine, UserFolder() / "b_other.KVL", "Other");
    App.Windows.App().Settings().PalettePath = (UserFolder() / "a_mine.kvl").string();
    Palette.ListPalettes();
    QComboBox* list = Palette.PaletteList();
    ASSERT_EQ(list->count(), 6);
    EXPECT_EQ(list->itemText(0), "(new palette)");
    EXPECT_EQ(list->itemText(1), "Acrylic 24 Colors");
    EXPECT_EQ(list->itemText(2), "Basic 16 Colors");
    EXPECT_EQ(list->itemText(3), "Gray Scale");
    EXPECT_EQ(list->itemText(4), "My Palette");
    EXPECT_EQ(list->currentIndex(), 4);
    EXPECT_EQ(Doc.CustomPalette().Count(), 1u);
    // The bundled sets carry names for every colour.
    Palette.SelectPalette(2);
    EXPECT_EQ(Doc.CustomPalette().Count(), 16u);
    for (const TPaletteEntry& e : Doc.CustomPalette().Entries())
        EXPECT_FALSE(e.Name.empty());
    EXPECT_EQ(App.Windows.App().Settings().PalettePath, Palette.PalettePaths()[1].string());
    Palette.SelectPalette(1);
    EXPECT_EQ(Doc.CustomPalette().Count(), 24u);
    Palette.SelectPalette(0);
    EXPECT_TRUE(Doc.CustomPalette().Empty());
    EXPECT_TRUE(App.Windows.App().Settings().PalettePath.empty());
}

// A garbage file among the user's palettes: left out with one message naming it; a long
// description does not widen the window past the screen; the window is a window to a screen
// reader and its swatches say their colours.
TEST_F(ToolFormTest, AFileThatDoesNotLoadIsLeftOutAndNoDescriptionWidensTheWindow) {
    std::filesystem::create_directories(UserFolder());
    test::WriteText(UserFolder() / "garbage.kvl", std::string("\x7f"
                                                              "ELF\x02\x01\0\0\xff\xfe",
                                                              10));
    TNamedPalette mine;
    AddPaletteColor(mine, 0x123456, "mine");
    SavePalette(mine, UserFolder() / "long.kvl", std::string(3000, 'W'));
    App.Dialogs.Errors.clear();
    Palette.ListPalettes();
    ASSERT_EQ(App.Dialogs.Errors.size(), 1u);
    EXPECT_NE(App.Dialogs.Errors[0].find((UserFolder() / "garbage.kvl").string() + " line 1"),
              std::string::npos);
    QComboBox* list = Palette.PaletteList();
    EXPECT_EQ(list->count(), 5) << "new palette, three bundled, the long one";
    EXPECT_EQ(list->itemText(4).size(), static_cast<qsizetype>(MaxListedDescriptionChars));
    Palette.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Palette));
    EXPECT_LT(Palette.width(), 800);
    EXPECT_LT(list->sizeHint().width(), 600);

    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&Palette);
    ASSERT_TRUE(window);
    EXPECT_EQ(window->role(), QAccessible::Window);
    OpenGrid();
    QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(Palette.PaintingSwatches());
    ASSERT_TRUE(grid);
    ASSERT_EQ(grid->childCount(), static_cast<int>(Doc.PaintingPalette().Count()));
    QAccessibleInterface* second = grid->child(1);
    ASSERT_TRUE(second);
    const TColor c = Doc.PaintingPalette().Entries()[1].Color;
    EXPECT_EQ(second->text(QAccessible::Name).toStdString(),
              "2: red " + std::to_string(RedOf(c)) + ", green " + std::to_string(GreenOf(c)) +
                  ", blue " + std::to_string(BlueOf(c)));
    Palette.PickAction()->trigger();
    second->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(Doc.PaintColor(), c);
}

TEST(ToolFormAlone, AnEmptyPaletteFolderListsOnlyNewPalette) {
    test::TTestCore core;
    test::TScriptedToolDialogs dialogs;
    TToolForm form(core.Context(), dialogs, {});
    form.ListPalettes();
    EXPECT_EQ(form.PaletteList()->count(), 1);
    EXPECT_EQ(form.PaletteList()->currentIndex(), 0);
    EXPECT_TRUE(core.Core.Document.CustomPalette().Empty());
    // The folder is made for the user's palettes.
    EXPECT_TRUE(std::filesystem::is_directory(core.Core.App.PaletteFolder()));
    // Replacing with no palette chosen does nothing.
    form.ReplacePaletteAction()->trigger();
    EXPECT_FALSE(core.Core.Document.Undo().Enabled());
}

TEST_F(ToolFormTest, SwatchesPickReplaceAndTheCaptionCountsColours) {
    Palette.ListPalettes();
    OpenGrid();
    Palette.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Palette));
    EXPECT_EQ(Palette.windowTitle(),
              QString::fromStdString(PaletteCountCaption(Doc.PaintingPalette())));
    EXPECT_FALSE(Palette.PickAction()->isChecked());
    EXPECT_FALSE(Palette.ReplaceAction()->isChecked());
    const TColor c = Doc.Shapes().First()->Next->Next->Color;
    const QPoint at = Where(Palette.PaintingSwatches(), c);
    ASSERT_GE(at.x(), 0);
    Click(Palette.PaintingSwatches(), at);
    EXPECT_EQ(Doc.PaintColor(), c);
    // Replace mode: that colour of the painting takes the paint colour.
    Palette.SelectPalette(2);
    Palette.Pages()->setCurrentIndex(1);
    const QPoint red = Where(Palette.CustomSwatches(), MakeColor(255, 0, 0));
    ASSERT_GE(red.x(), 0);
    Click(Palette.CustomSwatches(), red);
    EXPECT_EQ(Doc.PaintColor(), MakeColor(255, 0, 0));
    EXPECT_NE(Form.findChild<QObject*>("PaintLabel")->property("text").toString().indexOf("Red"),
              -1);
    Palette.Pages()->setCurrentIndex(0);
    Palette.ReplaceAction()->trigger();
    EXPECT_TRUE(Palette.ReplaceAction()->isChecked());
    EXPECT_FALSE(Palette.PickAction()->isChecked());
    Click(Palette.PaintingSwatches(), Where(Palette.PaintingSwatches(), c));
    EXPECT_EQ(Doc.UndoCaption(), "&Undo Replace Color");
    EXPECT_EQ(Doc.Shapes().First()->Next->Next->Color, MakeColor(255, 0, 0));
    // The whole painting to the basic sixteen.
    Palette.ReplacePaletteAction()->trigger();
    EXPECT_EQ(Doc.UndoCaption(), "&Undo Replace Palette");
    for (const TPaintShape& s : Doc.Shapes())
        EXPECT_TRUE(Doc.CustomPalette().Has(s.Color));
    // The palette button shows the window.
    Palette.hide();
    Form.Actions().PaletteButton->trigger();
    EXPECT_TRUE(Palette.isVisible());
}

// From the keyboard alone: Tab reaches the tool buttons and the swatches; the arrow keys walk the
// cells and Space picks the one the frame is on, as a click would.
TEST_F(ToolFormTest, TheKeyboardReachesTheButtonsAndPicksASwatch) {
    Palette.ListPalettes();
    OpenGrid();
    Palette.show();
    Palette.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Palette));
    TSwatchView* grid = Palette.PaintingSwatches();
    QWidget* pick =
        Palette.findChild<QToolBar*>("PaletteTools")->widgetForAction(Palette.PickAction());
    pick->setFocus();
    QTest::keyClick(pick, Qt::Key_Space);
    EXPECT_TRUE(Palette.PickAction()->isChecked());
    for (int i = 0; i < 8 && !grid->hasFocus(); ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_TRUE(grid->hasFocus());
    const std::vector<TSwatchCell> cells =
        PaletteSwatchCells(Doc.PaintingPalette().Count(), grid->width(), grid->height());
    QTest::keyClick(grid, Qt::Key_Home);
    QTest::keyClick(grid, Qt::Key_Down);
    QTest::keyClick(grid, Qt::Key_Right);
    const int cell = SwatchCellAfterStep(cells, SwatchCellAfterStep(cells, 0, TSwatchStep::Down),
                                         TSwatchStep::Next);
    ASSERT_EQ(grid->CurrentCell(), cell);
    QTest::keyClick(grid, Qt::Key_Space);
    EXPECT_EQ(Doc.PaintColor(), Doc.PaintingPalette().Entries()[cell].Color);
    // The frame marks the cell on the screen and to assistive technology.
    const QImage shown = grid->grab().toImage();
    const QRect r = grid->CellRect(cell);
    EXPECT_EQ(shown.pixel(r.left() + 1, r.top() + r.height() / 2), qRgb(0, 0, 0));
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(grid);
    ASSERT_NE(list->focusChild(), nullptr);
    EXPECT_EQ(list->focusChild()->text(QAccessible::Name), grid->CellText(cell));
}

TEST_F(ToolFormTest, EditorCancelRestoresTheFileAndOkSavesIt) {
    std::filesystem::create_directories(UserFolder());
    TNamedPalette p;
    AddPaletteColor(p, 0x0000FF, "red");
    AddPaletteColor(p, 0x00FF00, "green");
    AddPaletteColor(p, 0xFF0000, "blue");
    const auto file = UserFolder() / "rgb.kvl";
    SavePalette(p, file, "RGB");
    Palette.ListPalettes();
    const int rgb = Palette.PaletteList()->findText("RGB");
    Palette.SelectPalette(rgb);
    const std::string before = test::ReadText(file);
    TPaletteEditor* editor = Palette.Editor();
    QTimer::singleShot(0, [&] {
        EXPECT_EQ(editor->PaletteName()->text(), "RGB");
        EXPECT_EQ(editor->Grid()->rowCount(), 3);
        editor->Grid()->setCurrentCell(0, 1);
        editor->DeleteColorClick();
        editor->DeleteColorClick();
        EXPECT_EQ(editor->Grid()->rowCount(), 1);
        editor->CancelClick();
    });
    Palette.EditPaletteClick();
    EXPECT_EQ(Doc.CustomPalette().Count(), 3u);
    EXPECT_EQ(test::ReadText(file), before);

    QTimer::singleShot(0, [&] {
        // A colour already there adds no row; a new one does.
        ToolDialogs.Colors = {TColor(0x00FF00), TColor(0x808080)};
        editor->NewColorClick();
        EXPECT_EQ(editor->Grid()->rowCount(), 3);
        editor->NewColorClick();
        EXPECT_EQ(editor->Grid()->rowCount(), 4);
        editor->Grid()->item(3, 1)->setText("grey");
        editor->PaletteName()->setText("RGB and grey");
        editor->OkClick();
    });
    Palette.EditPaletteClick();
    TNamedPalette saved;
    LoadPalette(saved, file);
    ASSERT_EQ(saved.Count(), 4u);
    EXPECT_EQ(PaletteNameAt(saved, 4), "grey");
    EXPECT_EQ(ReadPaletteDescription(file), "RGB and grey");
    EXPECT_EQ(Palette.PaletteList()->itemText(rgb), "RGB and grey");

    // A new palette: its file is chosen first and it joins the list.
    Palette.SelectPalette(0);
    ToolDialogs.PaletteFiles = {QString::fromStdString((UserFolder() / "new.kvl").string())};
    QTimer::singleShot(0, [&] {
        ToolDialogs.Colors = {TColor(0x0000FF)};
        editor->NewColorClick();
        editor->PaletteName()->setText("Fresh");
        editor->OkClick();
    });
    Palette.EditPaletteClick();
    EXPECT_EQ(Palette.PaletteList()->currentText(), "Fresh");
    EXPECT_EQ(ReadPaletteDescription(UserFolder() / "new.kvl"), "Fresh");
}

TEST_F(ToolFormTest, SavePaletteWritesThePaintingsColoursUnderTheDescription) {
    Palette.ListPalettes();
    OpenGrid();
    EXPECT_TRUE(Form.Actions().SavePalette->isEnabled());
    const auto file = App.Dir / "painting.kvl";
    // Cancel in the name window writes nothing.
    ToolDialogs.Descriptions = {std::nullopt, QString("From the grid")};
    ToolDialogs.PaletteFiles = {QString::fromStdString(file.string())};
    Form.Actions().SavePalette->trigger();
    EXPECT_FALSE(std::filesystem::exists(file));
    Form.Actions().SavePalette->trigger();
    ASSERT_EQ(ToolDialogs.DescriptionPresets.size(), 2u);
    EXPECT_EQ(ToolDialogs.DescriptionPresets[0], Palette.PaletteList()->currentText());
    TNamedPalette saved;
    LoadPalette(saved, file);
    EXPECT_EQ(ReadPaletteDescription(file), "From the grid");
    ASSERT_EQ(saved.Count(), Doc.PaintingPalette().Count());
    for (std::size_t i = 0; i < saved.Count(); ++i)
        EXPECT_EQ(saved.Entries()[i].Color, Doc.PaintingPalette().Entries()[i].Color);
}

} // namespace
} // namespace pigmentaria
