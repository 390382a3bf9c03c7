// The picture open and save dialogs and the open-preview window on the offscreen platform.
#include "app/qt/widget_test_util.h"
#include "image/qt/pg_dialogs.h"
#include "test_util.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTimer>

#include <gtest/gtest.h>

namespace pigmentaria {
namespace {

const QString Samples = PIGMENTARIA_SAMPLES;

TEST(PGOpenDialogTest, FileTypesComeFromTheRegistry) {
    TPGOpenDialog dialog;
    QTimer::singleShot(0, &dialog, [&] { dialog.reject(); });
    EXPECT_TRUE(dialog.Execute(Samples).isEmpty());
    const QStringList filters = dialog.nameFilters();
    ASSERT_GE(filters.size(), 3);
    EXPECT_TRUE(filters.front().startsWith("Image files (*.bmp"));
    EXPECT_EQ(filters.back(), "All files (*.*)");
    EXPECT_TRUE(filters.contains("JPG - JPEG (JFIF compliant) (*.jpg)") ||
                filters.filter("(*.jpg)").size() == 1);
    EXPECT_TRUE(dialog.testOption(QFileDialog::DontUseNativeDialog));
    EXPECT_EQ(dialog.Options(), DefaultPGDialogOptions);
}

TEST(PGOpenDialogTest, OnlyTheFileSelectedWhenTheSelectionSettlesIsLoaded) {
    TPGOpenDialog dialog;
    int shown = 0;
    QObject::connect(&dialog, &TPGOpenDialog::PreviewShown, [&](const QString&) { ++shown; });
    dialog.SelectionChanged(Samples + "/coffee.png");
    dialog.SelectionChanged(Samples + "/astronaut.png");
    dialog.SelectionChanged(Samples + "/rocket.jpg");
    EXPECT_TRUE(dialog.InfoLines().empty()); // nothing before the delay
    ASSERT_TRUE(test::WaitFor([&] { return shown > 0 && !dialog.PreviewBusy(); }));
    EXPECT_EQ(dialog.PreviewLoadsStarted(), 1);
    EXPECT_EQ(dialog.SettledFile(), Samples + "/rocket.jpg");
    EXPECT_EQ(dialog.PreviewFile(), Samples + "/rocket.jpg");
    const QImage& preview = dialog.PreviewBox()->Image();
    EXPECT_EQ(preview.width(), PictureDialogPreviewBox.Width);
    EXPECT_EQ(preview.height(), 427 * PictureDialogPreviewBox.Width / 640);
    ASSERT_GE(dialog.InfoLines().size(), 2u);
    EXPECT_EQ(dialog.InfoLines()[1], "640 x 427, 16.7M colors, 24 bit");
    EXPECT_TRUE(dialog.InfoBox()->text().contains("640 x 427"));

    // A file no reader knows: no information and no preview.
    dialog.SelectionChanged(Samples + "/LICENSES.md");
    EXPECT_TRUE(dialog.PreviewBox()->Image().isNull());
    ASSERT_TRUE(test::WaitFor([&] { return !dialog.PreviewBusy(); }));
    EXPECT_TRUE(dialog.InfoLines().empty());
    EXPECT_TRUE(dialog.InfoBox()->text().isEmpty());
    EXPECT_TRUE(dialog.PreviewBox()->Image().isNull());
    EXPECT_EQ(dialog.PreviewLoadsStarted(), 1);
}

TEST(PGOpenDialogTest, OptionsKeepShareAwareAndSayWhyOnce) {
    test::TRecordingMessages messages;
    TPGOpenDialog dialog(nullptr, &messages);
    dialog.SetOptions(ofHideReadOnly);
    EXPECT_EQ(dialog.Options(), ofHideReadOnly | ofShareAware);
    EXPECT_EQ(messages.Warnings, std::vector<std::string>{ShareAwareMessage});
    dialog.SetOptions(ofHideReadOnly | ofShareAware);
    EXPECT_EQ(messages.Warnings.size(), 1u);
}

TEST(PGSaveDialogTest, ATypeChangeRewritesTheExtensionAndTheNameGetsOne) {
    test::TTempDir dir;
    TPGSaveDialog dialog;
    QString chosen;
    QTimer::singleShot(0, &dialog, [&] {
        const QStringList filters = dialog.nameFilters();
        const QString png = filters.filter("(*.png)").value(0);
        const QString bmp = filters.filter("(*.bmp)").value(0);
        ASSERT_FALSE(png.isEmpty());
        dialog.SetTypedName("holiday.jpg");
        dialog.selectNameFilter(png);
        dialog.TypeChanged(png);
        EXPECT_EQ(dialog.TypedName(), "holiday.png");
        dialog.SetTypedName("holiday");
        dialog.selectNameFilter(bmp);
        dialog.TypeChanged(bmp);
        EXPECT_EQ(dialog.TypedName(), "holiday.bmp");
        dialog.SetTypedName(QString::fromStdString((dir.Path() / "trip.bmp").string()));
        dialog.selectNameFilter(png);
        dialog.TypeChanged(png);
        EXPECT_EQ(dialog.TypedName(), "trip.png");
        dialog.SetTypedName("trip");
        static_cast<QDialog&>(dialog).accept();
    });
    chosen = dialog.Execute(QString::fromStdString(dir.Path().string()));
    EXPECT_EQ(chosen, QString::fromStdString((dir.Path() / "trip.png").string()));
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_FALSE(dialog.nameFilters().filter("(*.pcx)").size());
}

TEST(OpenPreviewFormTest, ShowsBesideTheDialogAndFollowsTheSelection) {
    TOpenPreviewForm form;
    EXPECT_EQ(form.windowTitle(), "Preview");
    form.ShowBeside();
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(form.ImageShown());
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(form.frameGeometry().right(), screen.right());
    EXPECT_LE(std::abs(form.frameGeometry().center().y() - screen.center().y()), 1);

    form.SelectionChanged(Samples + "/rocket.jpg");
    EXPECT_EQ(form.DimensionsText()->text(), "640 x 427");
    EXPECT_FALSE(form.DescriptionText()->text().isEmpty());
    ASSERT_TRUE(test::WaitFor([&] { return form.ImageShown() && !form.Busy(); }));
    // Grown by the picture, the window is still whole at the screen's right edge.
    ASSERT_TRUE(test::WaitFor([&] { return form.frameGeometry().right() == screen.right(); }));
    EXPECT_GE(form.frameGeometry().left(), screen.left());
    EXPECT_GT(form.Image()->width(), 0);

    form.SelectionChanged(Samples + "/LICENSES.md");
    EXPECT_FALSE(form.ImageShown());
    EXPECT_TRUE(form.DimensionsText()->text().isEmpty());
    EXPECT_TRUE(form.DescriptionText()->text().isEmpty());
    form.hide();
}

} // namespace
} // namespace pigmentaria
