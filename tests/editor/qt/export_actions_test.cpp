// Export and the clipboard from the main window: the export dialog's writer types, the picture
// at the current zoom, refused names, the selected shapes as drawings, the painting as a bitmap,
// and Save As writing a metafile or an SVG drawing.
#include "editor/qt/export_actions.h"
#include "editor/qt/vector_form.h"
#include "image/painting_export.h"

#include "../../app/qt/widget_test_util.h"
#include "test_util.h"
#include "tool_test_util.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include <gtest/gtest.h>

namespace pigmentaria {
namespace {

struct ExportActionsTest : ::testing::Test {
    ExportActionsTest() {
        App.Windows.Export().SetDialogs(ToolDialogs);
        test::WriteGridPainting(App.Dir / "grid.kvp", 400, 300, 4, 3);
        EXPECT_TRUE(Form.OpenFile(Q(App.Dir / "grid.kvp")));
    }
    static QString Q(const std::filesystem::path& p) { return QString::fromStdString(p.string()); }
    test::TTestWindows App;
    test::TScriptedToolDialogs ToolDialogs;
    TVectorForm& Form = App.Windows.VectorForm();
    TPaintingDocument& Doc = Form.Document();
};

TEST_F(ExportActionsTest, ExportWritesTheRenderingAtTheZoomAndRefusesMetafileNames) {
    ASSERT_TRUE(Form.Actions().ExportPainting->isEnabled());
    Form.SetZoomLevel(0.5);
    const auto png = App.Dir / "half.png";
    ToolDialogs.ExportFiles = {Q(png)};
    ASSERT_TRUE(App.Windows.Export().ExportPaintingClick());
    EXPECT_TRUE(ToolDialogs.ExportFilters.join(" ").contains("*.png"));
    EXPECT_FALSE(ToolDialogs.ExportFilters.join(" ").contains("*.wmf"));
    QImage written(Q(png));
    EXPECT_EQ(written.width(), 200);
    EXPECT_EQ(written.height(), 150);
    // ".wmf" has no picture writer: nothing is written, the painting stays as it was.
    const auto wmf = App.Dir / "refused.wmf";
    ToolDialogs.ExportFiles = {Q(wmf)};
    EXPECT_FALSE(App.Windows.Export().ExportPaintingClick());
    EXPECT_FALSE(std::filesystem::exists(wmf));
    EXPECT_EQ(App.Dialogs.Errors.size(), 1u);
    EXPECT_FALSE(Doc.Modified());
    // Cancel writes nothing either.
    EXPECT_FALSE(App.Windows.Export().ExportPaintingClick());
}

TEST_F(ExportActionsTest, CopySelectedPutsOnlyTheSelectedShapesAsDrawings) {
    EXPECT_FALSE(Form.Actions().CopySelected->isEnabled());
    Doc.SelectShape(Doc.Shapes().First()->Next, {});
    Doc.SelectShape(Doc.Shapes().Last(), {true, false});
    ASSERT_TRUE(Form.Actions().CopySelected->isEnabled());
    Form.Actions().CopySelected->trigger();
    const QMimeData* clip = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(clip);
    const QByteArray emf = clip->data(TExportActions::EmfMime);
    const QByteArray wmf = clip->data(TExportActions::WmfMime);
    const QString svg = QString::fromUtf8(clip->data(TExportActions::SvgMime));
    const auto expected =
        SelectedShapesMetafile(Doc.Shapes(), Doc.Selection(), false, TMetafileFormat::Enhanced);
    EXPECT_EQ(emf, QByteArray(reinterpret_cast<const char*>(expected.data()),
                              static_cast<qsizetype>(expected.size())));
    EXPECT_FALSE(wmf.isEmpty());
    EXPECT_EQ(svg.count("<path"), 2);
    EXPECT_TRUE(svg.contains("width=\"400\""));
    // The whole painting's metafile holds every shape: it is longer.
    EXPECT_GT(PaintingMetafile(Doc.Shapes(), false, TMetafileFormat::Enhanced).size(),
              static_cast<std::size_t>(emf.size()));
}

TEST_F(ExportActionsTest, CopyBitmapIsWhatTheViewerShows) {
    Form.SetZoomLevel(0.5);
    Form.Actions().CopyBitmap->trigger();
    const QImage image = QGuiApplication::clipboard()->image();
    ASSERT_EQ(image.size(), QSize(200, 150));
    const TColor c = Form.View().Rendered().GetPixel(60, 60);
    EXPECT_EQ(image.pixel(60, 60), qRgb(RedOf(c), GreenOf(c), BlueOf(c)));
}

TEST_F(ExportActionsTest, SaveAsWritesMetafilesAndSvgByTheirNames) {
    for (const char* name : {"a.EMF", "a.wmf", "a.svg"}) {
        App.Dialogs.SaveFiles.push_back(Q(App.Dir / name));
        ASSERT_TRUE(Form.SaveAsClick());
    }
    EXPECT_EQ(test::ReadText(App.Dir / "a.svg").rfind("<?xml", 0), 0u);
    // Not painting files: the magic of a painting file is not there.
    const std::string painting = test::ReadText(App.Dir / "grid.kvp");
    EXPECT_NE(test::ReadText(App.Dir / "a.EMF").substr(0, 8), painting.substr(0, 8));
}

} // namespace
} // namespace pigmentaria
