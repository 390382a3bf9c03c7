// A user's whole session in the main window: a photo traced into a painting, shapes selected by
// click, Shift-click, Ctrl-click and region, painted with a colour picked in the palette window,
// a colour and then the palette replaced, three undos and a redo, smoothing, deleting,
// re-acquiring and re-tracing, an export, a save, and the painting opened again.
#include "convert/conversion.h"
#include "editor/qt/export_actions.h"
#include "editor/qt/tool_controller.h"
#include "editor/qt/tool_form.h"
#include "editor/qt/vector_form.h"
#include "image/pg_progress.h"

#include "../../app/qt/widget_test_util.h"
#include "test_util.h"
#include "tool_test_util.h"

#include <QAction>
#include <QComboBox>
#include <QImage>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace pigmentaria {
namespace {

using test::WaitFor;

struct TShapeState {
    TColor Color;
    std::vector<TShapePoint> Points;
    friend bool operator==(const TShapeState&, const TShapeState&) = default;
};

std::vector<TShapeState> State(const TPaintingDocument& doc) {
    std::vector<TShapeState> v;
    for (const TPaintShape& s : doc.Shapes())
        v.push_back({s.Color, s.Points});
    return v;
}

QPoint Where(TSwatchView* v, TColor c) {
    for (int y = 0; y < v->Picture().height(); ++y)
        for (int x = 0; x < v->Picture().width(); ++x)
            if (v->ColorAt({x, y}) == c) return {x, y};
    return {-1, -1};
}

// The middle of a shape's box that the hit test gives back as that shape.
std::optional<QPoint> Inside(TPaintingView& view, const TPaintShape* s) {
    for (int y = s->Top; y <= s->Bottom; ++y)
        for (int x = s->Left; x <= s->Right; ++x)
            if (view.ShapeAt(x, y) == s) return QPoint(x, y);
    return std::nullopt;
}

TEST(EditingSessionTest, FromPhotoToSavedPaintingAndBack) {
    test::TTestWindows app{std::filesystem::path(PIGMENTARIA_DATA_SOURCE)};
    test::TScriptedToolDialogs dialogs;
    TAppWindows& w = app.Windows;
    w.Tools().SetDialogs(dialogs);
    w.ToolForm().SetDialogs(dialogs);
    w.Export().SetDialogs(dialogs);
    TVectorForm& form = w.VectorForm();
    TPaintingDocument& doc = w.Document();
    TPaintingView& view = w.View();
    const auto& a = form.Actions();
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    ASSERT_TRUE(WaitFor([&] { return w.ToolForm().PaletteList()->count() > 1; }));

    // 1. The photo, traced behind the progress window as the import dialog does it.
    TNullProgress quiet;
    TConversionInput input{
        LoadPictureFile(std::string(PIGMENTARIA_SAMPLES) + "/coffee.png", quiet).Picture,
        0.5,
        std::nullopt,
        TConversionControls{},
        {}};
    TJobReport report;
    auto traced = w.Jobs().Run<TImportResult>(
        "Working...", true,
        [in = std::move(input)](IProgressSink& p) { return ReduceAndTrace(in, p); }, report);
    ASSERT_TRUE(traced);
    doc.AdoptImport(std::move(traced->Trace));
    form.BecomeUntitled();
    ASSERT_GT(doc.Shapes().Count(), 50u);
    ASSERT_TRUE(WaitFor([&] { return form.Viewer()->DisplayReady(); }));
    const auto imported = State(doc);

    // 2. Click, Shift-click, Ctrl-click, then a region added with Shift.
    std::vector<const TPaintShape*> picks;
    for (const TPaintShape* s = doc.Shapes().First()->Next; s && picks.size() < 3; s = s->Next)
        if (s->Right - s->Left > 3 && Inside(view, s)) picks.push_back(s);
    ASSERT_EQ(picks.size(), 3u);
    test::PressViewer(form.Viewer(), *Inside(view, picks[0]));
    test::PressViewer(form.Viewer(), *Inside(view, picks[1]), Qt::ShiftModifier);
    test::PressViewer(form.Viewer(), *Inside(view, picks[2]), Qt::ShiftModifier);
    EXPECT_EQ(doc.Selection().Size(), 3u);
    test::PressViewer(form.Viewer(), *Inside(view, picks[2]), Qt::ControlModifier);
    EXPECT_EQ(doc.Selection().Size(), 2u);
    a.RegionTool->trigger();
    form.Viewer()->SetSelection(true);
    form.Viewer()->SetSelectionRect({0, 0, 120, 80});
    w.Tools().RegionMade({true, false});
    const std::size_t selected = doc.Selection().Size();
    EXPECT_GT(selected, 2u);
    a.SelectionTool->trigger();

    // 3. A colour of the basic palette picked in the palette window, poured on the selection.
    a.PaletteButton->trigger();
    TToolForm& palette = w.ToolForm();
    ASSERT_TRUE(palette.isVisible());
    palette.SelectPalette(palette.PaletteList()->findText("Basic 16 Colors"));
    palette.Pages()->setCurrentIndex(1);
    const TColor fuchsia = MakeColor(255, 0, 255);
    QTest::mouseClick(palette.CustomSwatches(), Qt::LeftButton, {},
                      Where(palette.CustomSwatches(), fuchsia));
    ASSERT_EQ(doc.PaintColor(), fuchsia);
    a.PaintBucketButton->trigger();
    const auto painted = State(doc);
    EXPECT_EQ(doc.UndoCaption(), "&Undo Paint");

    // 4. One colour replaced on the painting page, then the whole palette.
    palette.Pages()->setCurrentIndex(0);
    palette.ReplaceAction()->trigger();
    const TPaintShape* some = picks[2];
    const TColor victim = some->Color;
    ASSERT_NE(victim, fuchsia);
    const QPoint swatch = Where(palette.PaintingSwatches(), victim);
    ASSERT_GE(swatch.x(), 0);
    QTest::mouseClick(palette.PaintingSwatches(), Qt::LeftButton, {}, swatch);
    EXPECT_EQ(doc.UndoCaption(), "&Undo Replace Color");
    EXPECT_EQ(some->Color, fuchsia);
    palette.ReplacePaletteAction()->trigger();
    EXPECT_EQ(doc.UndoCaption(), "&Undo Replace Palette");
    for (const TPaintShape& s : doc.Shapes())
        ASSERT_TRUE(doc.CustomPalette().Has(s.Color));

    // 5. Three undos back to the traced colours, one redo forward to the paint.
    a.Undo->trigger();
    a.Undo->trigger();
    a.Undo->trigger();
    EXPECT_EQ(State(doc), imported);
    // The first painting of the run replaced nothing, so there is no import to undo.
    EXPECT_EQ(a.Undo->text(), "&Undo");
    w.Tools().RedoAction()->trigger();
    EXPECT_EQ(State(doc), painted);
    EXPECT_EQ(w.Tools().RedoAction()->text(), "&Redo Replace Color");

    // 6. Smooth, delete, re-acquire, re-trace.
    a.Smooth->trigger();
    EXPECT_EQ(a.Undo->text(), "&Undo Smooth");
    const std::size_t before = doc.Shapes().Count();
    a.DeleteSelected->trigger();
    EXPECT_LT(doc.Shapes().Count(), before);
    a.ReacquireAll->trigger();
    EXPECT_EQ(a.Undo->text(), "&Undo Color Acquisition");
    ASSERT_TRUE(form.RetraceClick());
    EXPECT_EQ(a.Undo->text(), "&Undo Retrace Painting");
    ASSERT_TRUE(doc.HasPainting());

    // Export at the current zoom.
    const auto png = app.Dir / "session.png";
    dialogs.ExportFiles = {QString::fromStdString(png.string())};
    a.ExportPainting->trigger();
    EXPECT_EQ(QImage(QString::fromStdString(png.string())).width(), view.Rendered().Width());

    // 7. Saved, opened again: the same shapes.
    const auto saved = State(doc);
    const auto file = app.Dir / "session.kvp";
    app.Dialogs.SaveFiles.push_back(QString::fromStdString(file.string()));
    ASSERT_TRUE(form.SaveAsClick());
    EXPECT_FALSE(doc.Modified());
    ASSERT_TRUE(form.OpenFile(QString::fromStdString(file.string())));
    EXPECT_EQ(State(doc), saved);
    EXPECT_FALSE(doc.Undo().Enabled());
    EXPECT_FALSE(w.Tools().RedoAction()->isEnabled());
    EXPECT_TRUE(app.Dialogs.Errors.empty());
}

} // namespace
} // namespace pigmentaria
