// The import dialog on the offscreen platform: its controls, menus and tool bar as the user finds
// them, and what its commands do to the working picture and the painting.
#include "app/qt/import_windows.h"
#include "app/qt/widget_test_util.h"
#include "convert/qt/color_reduction_form.h"
#include "convert/qt/modify_form.h"
#include "editor/document.h"
#include "editor/qt/zoom_form.h"
#include "image/filter_settings.h"
#include "image/image_test_util.h"
#include "image/metafile_fixtures.h"
#include "image/qt/pg_image.h"
#include "image/qt/qt_raster.h"
#include "platform/help_topics.h"
#include "platform/qt/progress_form.h"
#include "test_util.h"

#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <random>

namespace pigmentaria {
namespace {

const std::string Samples = PIGMENTARIA_SAMPLES;
constexpr TColor Blue = 0xFF0000;

// Mouse events on the viewer's viewport as a user's drag makes them.
void Drag(QWidget* viewport, QPoint from, QPoint to) {
    const auto send = [viewport](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
        QMouseEvent e(type, QPointF(at), viewport->mapToGlobal(QPointF(at)),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                      Qt::NoModifier);
        QApplication::sendEvent(viewport, &e);
    };
    send(QEvent::MouseButtonPress, from, Qt::LeftButton);
    if (from != to) {
        send(QEvent::MouseMove, (from + to) / 2, Qt::LeftButton);
        send(QEvent::MouseMove, to, Qt::LeftButton);
    }
    send(QEvent::MouseButtonRelease, to, Qt::NoButton);
}

struct TModifyFormTest : ::testing::Test {
    test::TTestCore Core;
    test::TScriptedDialogs& Messages = Core.Dialogs;
    TProgressForm& Progress = Core.Progress;
    TSettingsBlock& Settings = Core.Core.App.Settings();
    TPaintingDocument& Document = Core.Core.Document;
    TZoomForm Zoom;
    std::vector<int> HelpAsked;
    TModifyForm Form{ImportContext(Core.Context())};

    void SetUp() override {
        Form.SetCustomZoom(CustomZoomThrough(Zoom));
        Form.SetHelpHandler([this](int context) { HelpAsked.push_back(context); });
    }
    QAction* Item(QMenu* menu, const QString& plainCaption) {
        for (QAction* a : menu->actions())
            if (a->objectName() == plainCaption) return a;
        return nullptr;
    }
};

TEST_F(TModifyFormTest, ControlsStartAtTheirDefaultsAndRanges) {
    EXPECT_EQ(Form.windowTitle(), "Modifying Original Image");
    const struct {
        QSlider* Slider;
        const char* Name;
        int Min, Max, Tick, Value;
    } bars[] = {{Form.ColorDepth(), "Colors", 1, 255, 10, 90},
                {Form.SimplificationLevel(), "Speck Removal", 0, 4, 1, 0},
                {Form.AbstractionLevel(), "Abstraction Level", 1, 10, 1, 4}};
    for (const auto& b : bars) {
        EXPECT_EQ(b.Slider->accessibleName(), b.Name);
        EXPECT_EQ(b.Slider->minimum(), b.Min) << b.Name;
        EXPECT_EQ(b.Slider->maximum(), b.Max) << b.Name;
        EXPECT_EQ(b.Slider->tickInterval(), b.Tick) << b.Name;
        EXPECT_EQ(b.Slider->value(), b.Value) << b.Name;
    }
    EXPECT_EQ(Form.ColorDepth()->toolTip(),
              "Controls the extent to which colors are combined in the final painting.");
    EXPECT_TRUE(Form.OutlineMethodItem(0)->isChecked());
    EXPECT_EQ(Form.OutlineMethodItem(2)->text(), "Half-line");
    EXPECT_EQ(Form.OutlineMethod()->title(), "Outline Method");
    EXPECT_TRUE(Form.EliminateLines()->isChecked());
    EXPECT_EQ(Form.EliminateLines()->text(), "Eliminate Lines");
    EXPECT_EQ(Form.Preview()->text(), "Preview Color Reduction. . .");
    EXPECT_EQ(Form.ReduceIntoOriginal()->text(), "Reduce Into Original");
    // The end labels of the track bars.
    std::vector<QString> labels;
    for (QLabel* l : Form.AdvancedControls()->findChildren<QLabel*>())
        labels.push_back(l->text());
    for (const char* l : {"(more)", "(less)", "(none)", "(most)", "(more detail)", "(less jagged)"})
        EXPECT_NE(std::find(labels.begin(), labels.end(), QString(l)), labels.end()) << l;

    // The tool bar, its buttons known by their captions.
    EXPECT_EQ(Form.Enlarge()->accessibleName(), "Enlarge");
    EXPECT_EQ(Form.Reduce()->accessibleName(), "Reduce");
    EXPECT_EQ(Form.ZoomButton()->accessibleName(), "Zoom Menu");
    EXPECT_EQ(Form.ImportButton()->accessibleName(), "Import");
    EXPECT_EQ(Form.CancelButton()->accessibleName(), "Cancel");
    EXPECT_EQ(Form.AdvancedCheck()->text(), "Advanced");
    EXPECT_TRUE(Form.ZoomItem(4)->isChecked()); // "100%"

    // Menus, with the advanced ones hidden like the panel.
    std::vector<QString> menus;
    for (QAction* a : Form.MenuBar()->actions())
        menus.push_back(a->text());
    EXPECT_EQ(menus, (std::vector<QString>{"File", "&Edit", "Starting Points", "Advanced Effects",
                                           "Adjust Colors", "&Help"}));
    EXPECT_FALSE(Form.AdvancedCheck()->isChecked());
    EXPECT_TRUE(Form.AdvancedControls()->isHidden());
    EXPECT_FALSE(Form.AdvancedEffectsMenu()->menuAction()->isVisible());
    EXPECT_FALSE(Form.AdjustColorsMenu()->menuAction()->isVisible());
    EXPECT_EQ(Form.StyleAction(TPaintingStyle::PenBrushCombo)->text(), "Pen && Brush Combo");
    EXPECT_EQ(Form.FilterAction(TFilterKind::Contour)->text(), "Outline...");
    EXPECT_EQ(Form.ReOpenAction()->shortcut(), QKeySequence("Ctrl+R"));
    EXPECT_EQ(Form.PasteAction()->shortcut(), QKeySequence("Ctrl+V"));
    EXPECT_EQ(Form.CopyAction()->shortcut(), QKeySequence("Ctrl+C"));
}

TEST_F(TModifyFormTest, TheAdvancedCheckShowsThePanelAndTheMenusAndIsKept) {
    Form.AdvancedCheck()->setChecked(true);
    EXPECT_FALSE(Form.AdvancedControls()->isHidden());
    EXPECT_TRUE(Form.AdvancedEffectsMenu()->menuAction()->isVisible());
    EXPECT_TRUE(Form.AdjustColorsMenu()->menuAction()->isVisible());
    EXPECT_TRUE(Settings.AdvancedOptions);
    // The settings file brings it back in the next run.
    const TSettingsBlock read = DecodeSettings(EncodeSettings(Settings).data(), SettingsBlockSize);
    test::TTestCore next;
    next.Core.App.Settings() = read;
    TModifyForm again(ImportContext(next.Context()));
    EXPECT_TRUE(again.AdvancedCheck()->isChecked());
    EXPECT_FALSE(again.AdvancedControls()->isHidden());
    Form.AdvancedCheck()->setChecked(false);
    EXPECT_FALSE(Settings.AdvancedOptions);
    EXPECT_TRUE(Form.AdvancedControls()->isHidden());
}

TEST_F(TModifyFormTest, ZoomMenuAndTheEnlargeAndReduceButtons) {
    Form.SetPicture(test::Noisy(120, 80, 7));
    Form.ZoomItem(2)->trigger(); // "50%"
    EXPECT_EQ(Form.Session().ZoomFactor(), 0.5);
    EXPECT_EQ(Form.PGImage1()->ZoomFactor(), 0.5);
    EXPECT_TRUE(Form.ZoomItem(2)->isChecked());
    Form.Reduce()->click();
    EXPECT_EQ(Form.Session().ZoomFactor(), 0.25);
    EXPECT_TRUE(Form.ZoomItem(1)->isChecked());
    EXPECT_FALSE(Form.Reduce()->isEnabled());
    Form.ReduceClick(); // at 25 % nothing happens
    EXPECT_EQ(Form.Session().ZoomFactor(), 0.25);
    Form.ZoomItem(6)->trigger(); // "150%"
    Form.Enlarge()->click();
    EXPECT_EQ(Form.Session().ZoomFactor(), 1.75);
    EXPECT_TRUE(Form.ZoomItem(CustomZoomItem)->isChecked()); // no 175 % entry
    EXPECT_TRUE(Form.Reduce()->isEnabled());
    for (int i = 0; i < 20; ++i)
        Form.EnlargeClick();
    EXPECT_EQ(Form.Session().ZoomFactor(), 6.75); // no upper bound of its own

    // "Custom..." through the custom zoom dialog, answered "Ok" at 40 %.
    QTimer::singleShot(0, &Zoom, [this] {
        Zoom.PercentEdit()->setText("40");
        emit Zoom.PercentEdit()->textEdited("40");
        Zoom.OkButton()->click();
    });
    EXPECT_TRUE(Form.CustomZoomClick());
    EXPECT_DOUBLE_EQ(Form.Session().ZoomFactor(), 0.4);
    EXPECT_TRUE(Form.ZoomItem(CustomZoomItem)->isChecked());
}

TEST_F(TModifyFormTest, ADraggedSelectionIsClampedAndAClickClearsIt) {
    Form.SetPicture(test::Noisy(100, 60, 7));
    Form.resize(700, 500);
    Form.show();
    ASSERT_TRUE(test::WaitFor([&] { return Form.PGImage1()->DisplayReady(); }));
    QWidget* viewport = Form.PGImage1()->viewport();
    const QPoint inside = Form.PGImage1()->BoxToViewport(QPoint(20, 10));
    const QPoint beyond = Form.PGImage1()->BoxToViewport(QPoint(140, 90));
    Drag(viewport, inside, beyond);
    ASSERT_TRUE(Form.Session().Selection());
    EXPECT_EQ(*Form.Session().Selection(), (TCropRect{20, 10, 100, 60}));
    EXPECT_TRUE(Form.PGImage1()->Selection());
    EXPECT_EQ(Form.PGImage1()->SelectionRect(), (TViewRect{20, 10, 100, 60}));
    // A click without dragging is a selection one pixel wide: it clears the selection.
    Drag(viewport, Form.PGImage1()->BoxToViewport(QPoint(50, 30)),
         Form.PGImage1()->BoxToViewport(QPoint(50, 30)));
    EXPECT_FALSE(Form.Session().Selection());
    EXPECT_FALSE(Form.PGImage1()->Selection());
    Form.hide();
}

TEST_F(TModifyFormTest, ReOpenIsEnabledWithAFileAndBringsItBack) {
    Form.File1Click();
    EXPECT_FALSE(Form.ReOpenAction()->isEnabled());
    EXPECT_EQ(Form.ReOpenAction()->text(), "&Re-Open");
    Form.ReOpen1Click(); // no file: nothing happens
    EXPECT_FALSE(Form.HoldsPicture());

    const QString file = QString::fromStdString(Samples + "/coffee.png");
    ASSERT_TRUE(Form.LoadFile(file));
    Form.File1Click();
    EXPECT_TRUE(Form.ReOpenAction()->isEnabled());
    EXPECT_EQ(Form.ReOpenAction()->text(), "Re-Open " + file);
    const TRaster24 original = Form.Session().Picture().ToRaster24();

    Form.ApplyFilter(TFilterKind::Negative);
    Form.Session().SelectionMade({10, 10, 50, 50});
    Form.ZoomLevelClick(2);
    ASSERT_FALSE(Form.Session().Picture().ToRaster24() == original);
    Form.ReOpen1Click();
    EXPECT_EQ(Form.Session().Picture().ToRaster24(), original);
    EXPECT_EQ(Form.Session().ZoomFactor(), 1.0);
    EXPECT_FALSE(Form.Session().Selection());
    EXPECT_EQ(Form.PGImage1()->PixelGraphic()->ToRaster24(), original);
}

TEST_F(TModifyFormTest, PasteIsEnabledForImagesMetafilesAndDrawingsOnly) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    const auto offer = [&](const QString& format, const QByteArray& bytes) {
        auto* data = new QMimeData;
        data->setData(format, bytes);
        clipboard->setMimeData(data);
    };
    clipboard->setText("just words");
    Form.Edit1Click();
    EXPECT_FALSE(Form.PasteAction()->isEnabled());

    clipboard->setImage(RasterToImage(test::Noisy(30, 20, 7).ToRaster24()));
    Form.Edit1Click();
    EXPECT_TRUE(Form.PasteAction()->isEnabled());
    Form.Session().SetZoomFactor(2.0);
    Form.PasteAction()->trigger();
    EXPECT_EQ(Form.Session().Picture().Width(), 30);
    EXPECT_EQ(Form.Session().Picture().ToRaster24(), test::Noisy(30, 20, 7).ToRaster24());
    EXPECT_EQ(Form.Session().ZoomFactor(), 1.0);

    using namespace metafile;
    const std::vector<std::uint8_t> wmf =
        test::TWmfBuilder()
            .Record(META_CREATEBRUSHINDIRECT, {0, test::Lo(Blue), test::Hi(Blue), 0})
            .Record(META_SELECTOBJECT, {0})
            .Record(META_RECTANGLE, {20, 20, 0, 0})
            .Finish(true, 64, 48);
    offer("image/x-wmf", QByteArray(reinterpret_cast<const char*>(wmf.data()),
                                    static_cast<qsizetype>(wmf.size())));
    Form.Edit1Click();
    EXPECT_TRUE(Form.PasteAction()->isEnabled());
    Form.Paste1Click();
    EXPECT_EQ(Form.Session().Picture().Width(), 64);
    EXPECT_EQ(Form.Session().Picture().Height(), 48);
    EXPECT_EQ(Form.Session().Picture().GetPixelColor(5, 5), Blue);

    offer("image/svg+xml", "<svg xmlns='http://www.w3.org/2000/svg' width='50' height='40'>"
                           "<rect x='0' y='0' width='25' height='40' fill='#ff0000'/></svg>");
    Form.Edit1Click();
    EXPECT_TRUE(Form.PasteAction()->isEnabled());
    Form.Paste1Click();
    EXPECT_EQ(Form.Session().Picture().Width(), 50);
    EXPECT_EQ(Form.Session().Picture().Height(), 40);
    EXPECT_EQ(Form.Session().Picture().GetPixelColor(5, 20), clRed);
    EXPECT_EQ(Form.Session().Picture().GetPixelColor(45, 20), clWhite);

    // A broken metafile says why and leaves the picture.
    offer("image/x-emf", QByteArray(40, 'x'));
    Form.Paste1Click();
    ASSERT_EQ(Messages.Errors.size(), 1u);
    EXPECT_EQ(Messages.Errors[0], "Invalid Metafile");
    EXPECT_EQ(Form.Session().Picture().Width(), 50);
    clipboard->clear();
}

TEST_F(TModifyFormTest, CopyPutsTheWorkingPictureAtItsShownSize) {
    Form.SetPicture(test::Noisy(80, 60, 7));
    Form.ZoomLevelClick(2); // 50 %
    Form.Edit1Click();
    EXPECT_TRUE(Form.CopyAction()->isEnabled());
    Form.CopyAction()->trigger();
    const QImage copied = QGuiApplication::clipboard()->image();
    EXPECT_EQ(copied.size(), QSize(40, 30));
    QGuiApplication::clipboard()->clear();
}

TEST_F(TModifyFormTest, FiftyPercentThenImportGivesAHalfSizePainting) {
    ASSERT_TRUE(Form.LoadFile(QString::fromStdString(Samples + "/coffee.png")));
    Form.ZoomItem(2)->trigger(); // "50%"
    Form.ImportButton()->click();
    EXPECT_TRUE(Form.Imported());
    ASSERT_TRUE(Document.HasPainting());
    EXPECT_EQ(Document.Shapes().PaintingWidth(), 300);
    EXPECT_EQ(Document.Shapes().PaintingHeight(), 200);
    EXPECT_FALSE(Document.Modified());
    EXPECT_EQ(Document.UndoCaption(), "&Undo"); // nothing to undo before the first painting
    // The progress window showed the three steps and is gone again.
    EXPECT_FALSE(Progress.isVisible());
    // A second import keeps the first painting for undo.
    Form.Session().Controls.ColorDepth = 200;
    Form.Import1Click();
    EXPECT_EQ(Document.UndoCaption(), UndoImport);
    EXPECT_EQ(Form.Session().Reduced().Width(), 300);
    EXPECT_TRUE(Messages.Errors.empty());
}

TEST_F(TModifyFormTest, CancelAfterFilteringKeepsTheFilteredPictureForReImport) {
    Form.SetPicture(test::Noisy(60, 40, 7));
    const TRaster24 before = Form.Session().Picture().ToRaster24();
    Form.ApplyFilter(TFilterKind::Negative);
    Form.CancelButton()->click();
    EXPECT_FALSE(Form.Imported());
    EXPECT_FALSE(Document.HasPainting());
    ASSERT_TRUE(Form.HoldsPicture());
    const TRaster24 after = Form.Session().Picture().ToRaster24();
    EXPECT_EQ(after.GetPixel(3, 4), 0xFFFFFFu - before.GetPixel(3, 4));
    // "&Re-Import..." shows the dialog again on that picture.
    QTimer::singleShot(0, &Form, [this] {
        EXPECT_TRUE(Form.isVisible());
        EXPECT_EQ(Form.PGImage1()->PixelGraphicRaw()->ToRaster24(),
                  Form.Session().Picture().ToRaster24());
        Form.Cancel1Click();
    });
    EXPECT_FALSE(Form.ExecuteAgain());
    EXPECT_EQ(Form.Session().Picture().ToRaster24(), after);
}

TEST_F(TModifyFormTest, AnImportCancelledInTheProgressWindowLeavesThePainting) {
    Form.SetPicture(test::Noisy(60, 40, 7));
    Form.Import1Click();
    ASSERT_TRUE(Document.HasPainting());
    const std::size_t shapes = Document.Shapes().Count();
    Form.SetPicture(test::Noisy(1600, 1200, 9));
    // The user presses Cancel as soon as the progress window is up.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (Progress.isVisible() && Progress.CancelButton()->isVisible()) {
            Progress.CancelButton()->click();
            poll.stop();
        }
    });
    poll.start(1);
    Form.Import1Click();
    EXPECT_EQ(Document.Shapes().Count(), shapes);
    EXPECT_EQ(Document.UndoCaption(), "&Undo");
    EXPECT_TRUE(Messages.Errors.empty());
}

TEST_F(TModifyFormTest, ACorruptPictureSaysSoAndChangesNothing) {
    Form.SetPicture(test::Noisy(40, 30, 7));
    test::TTempDir dir;
    const auto file = dir.Path() / "broken.png";
    test::WriteText(file, std::string("\x89PNG\r\n\x1a\n", 8) + std::string(200, '\0'));
    EXPECT_FALSE(Form.LoadFile(QString::fromStdString(file.string())));
    ASSERT_EQ(Messages.Errors.size(), 1u);
    EXPECT_EQ(Messages.Errors[0].rfind("Error opening image", 0), 0u);
    EXPECT_GT(Messages.Errors[0].size(), std::string("Error opening image").size() + 2);
    EXPECT_EQ(Form.Session().Picture().Width(), 40);
    EXPECT_TRUE(Form.Session().FileName().empty());
    EXPECT_FALSE(Form.ExecuteOnFile(QString::fromStdString(file.string())));
    EXPECT_FALSE(Form.isVisible());
}

TEST_F(TModifyFormTest, ALargePictureOpensAtTheLargestZoomThatFitsAndSaysSo) {
    Form.SetPicture(test::Noisy(4000, 1500, 7));
    EXPECT_DOUBLE_EQ(Form.Session().ZoomFactor(), 5000.0 / 5500.0);
    EXPECT_DOUBLE_EQ(Form.PGImage1()->ZoomFactor(), 5000.0 / 5500.0);
    EXPECT_TRUE(Form.ZoomItem(CustomZoomItem)->isChecked());
    ASSERT_EQ(Messages.Warnings.size(), 1u);
    EXPECT_NE(Messages.Warnings[0].find("4000 x 1500"), std::string::npos);
}

TEST_F(TModifyFormTest, StylesSetTheControlsAndThePictureStylesRunBehindTheProgressWindow) {
    Form.SetPicture(test::Noisy(64, 48, 7));
    Form.StyleAction(TPaintingStyle::ComplexPainting)->trigger();
    EXPECT_EQ(Form.ColorDepth()->value(), 50);
    EXPECT_EQ(Form.AbstractionLevel()->value(), 1);
    EXPECT_TRUE(Form.EliminateLines()->isChecked());
    Form.StyleAction(TPaintingStyle::PenInk)->trigger();
    EXPECT_EQ(Form.ColorDepth()->value(), 225);
    EXPECT_TRUE(Form.OutlineMethodItem(1)->isChecked());
    EXPECT_EQ(Form.AbstractionLevel()->value(), 3);
    EXPECT_FALSE(Form.EliminateLines()->isChecked());
    // The same as the session's own style on the same picture.
    test::TRecordingProgress progress;
    test::TRecordingMessages messages;
    TImportSession reference(progress, messages);
    reference.SetPicture(test::Noisy(64, 48, 7));
    reference.ApplyStyle(TPaintingStyle::ComplexPainting);
    reference.ApplyStyle(TPaintingStyle::PenInk);
    EXPECT_EQ(Form.Session().Picture().ToRaster24(), reference.Picture().ToRaster24());
    EXPECT_EQ(Form.PGImage1()->PixelGraphic()->ToRaster24(), reference.Picture().ToRaster24());
    // Controls the user moves are the session's.
    Form.SimplificationLevel()->setValue(3);
    Form.OutlineMethodItem(2)->setChecked(true);
    EXPECT_EQ(Form.Session().Controls.SimplificationLevel, 3);
    EXPECT_EQ(Form.Session().Controls.OutlineMethod, TOutlineMethod::HalfLine);
}

TEST_F(TModifyFormTest, PreviewShowsTheReductionAndReduceIntoOriginalAdoptsIt) {
    Form.SetPicture(test::Noisy(90, 70, 7));
    Form.Session().SelectionMade({10, 10, 70, 50});
    Form.ColorDepth()->setValue(128);
    bool shown = false;
    // The reduction runs behind the progress window first; then the window comes up.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        TColorReductionForm& f = Form.ColorReductionForm();
        if (!f.isVisible()) return;
        poll.stop();
        shown = true;
        EXPECT_EQ(f.windowTitle(), "Color Reduction");
        EXPECT_EQ(f.PGImage1()->ZoomFactor(), 1.0);
        EXPECT_EQ(f.PGImage1()->PixelGraphic()->ToRaster24(), Form.Session().Reduced());
        f.reject();
    });
    poll.start(5);
    Form.Preview()->click();
    EXPECT_TRUE(shown);
    EXPECT_EQ(Form.Session().Reduced().Width(), 60);
    Form.ReduceIntoOriginal()->click();
    EXPECT_EQ(Form.Session().Picture().Width(), 60);
    EXPECT_EQ(Form.Session().Picture().Height(), 40);
    EXPECT_FALSE(Form.Session().Selection());
    EXPECT_FALSE(Form.PGImage1()->Selection());
    EXPECT_EQ(Form.PGImage1()->PixelGraphic()->Width(), 60);
}

TEST_F(TModifyFormTest, SaveAsWritesThePictureAtItsShownSize) {
    Form.SetPicture(test::Noisy(80, 60, 7));
    Form.ZoomLevelClick(2);
    test::TTempDir dir;
    const auto file = dir.Path() / "half.bmp";
    ASSERT_TRUE(Form.SavePictureAs(QString::fromStdString(file.string())));
    TPixelGraphic read;
    read.LoadFromFile(file.string());
    EXPECT_EQ(read.Width(), 40);
    EXPECT_EQ(read.Height(), 30);
    EXPECT_EQ(read.ToRaster24(), Form.Session().ShownPicture().ToRaster24());
}

TEST_F(TModifyFormTest, MakeTemplateHandsThePictureAndClosesTheDialogWhenATemplateWasMade) {
    QToolButton* plain = Form.MakeTemplateButton();
    EXPECT_EQ(plain->text(), "Make Template...");
    EXPECT_EQ(plain->accessibleName(), "Make Template...");
    EXPECT_EQ(plain->parentWidget(), Form.ToolBar1());
    Form.SetPicture(test::Noisy(40, 30, 7));
    EXPECT_FALSE(plain->isEnabled()); // the program makes no templates

    std::vector<std::shared_ptr<const TPixelGraphic>> handed;
    bool made = false;
    TImportContext context = ImportContext(Core.Context());
    context.MakeTemplate = [&](std::shared_ptr<const TPixelGraphic> picture) {
        handed.push_back(std::move(picture));
        return made;
    };
    TModifyForm form(std::move(context));
    EXPECT_FALSE(form.MakeTemplateButton()->isEnabled());
    form.SetPicture(test::Noisy(60, 40, 7));
    ASSERT_TRUE(form.MakeTemplateButton()->isEnabled());
    // Declined, then made: the dialog closes only once a template was made.
    QTimer::singleShot(0, &form, [&] {
        form.MakeTemplateButton()->click();
        EXPECT_TRUE(form.isVisible());
        made = true;
        form.MakeTemplateButton()->click();
    });
    EXPECT_FALSE(form.ExecuteAgain());
    EXPECT_FALSE(form.isVisible());
    ASSERT_EQ(handed.size(), 2u);
    EXPECT_EQ(handed[1]->ToRaster24(), test::Noisy(60, 40, 7).ToRaster24());
    EXPECT_FALSE(Document.HasPainting());
}

TEST_F(TModifyFormTest, HelpEntriesAskForTheirTopics) {
    Item(Form.HelpMenu(), "Importing Your First Picture")->trigger();
    Item(Form.HelpMenu(), "Quick Reference")->trigger();
    EXPECT_EQ(HelpAsked, (std::vector<int>{HelpImportingFirstPicture, HelpImportQuickReference}));
    EXPECT_EQ(HelpAsked, (std::vector<int>{2234, 3466}));
}

} // namespace
} // namespace pigmentaria
