// The filter dialogs on the offscreen platform: their controls as the models give them, the
// value labels and settings that follow the controls, and previews that keep up with a dragged
// slider without holding up the window.
#include "app/qt/widget_test_util.h"
#include "image/image_test_util.h"
#include "image/qt/filter_dialog.h"
#include "image/qt/qt_raster.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QRadioButton>
#include <QSlider>

#include <gtest/gtest.h>

#include <random>

namespace pigmentaria {
namespace {

TEST(FilterDialogFormTest, ControlsCaptionsAndValueLabelsFollowTheModel) {
    for (TFilterKind kind : AllFilterKinds) {
        const TFilterDialogModel& m = FilterDialogModel(kind);
        TFilterDialogForm form(kind);
        EXPECT_EQ(form.windowTitle().toStdString(), m.Caption);
        form.Prepare(test::Noisy(40, 30, 5), TFilterSettings{});
        for (std::size_t i = 0; i < 3; ++i) {
            QSlider* s = form.TrackBar(static_cast<int>(i));
            if (i >= m.TrackBars.size()) {
                EXPECT_EQ(s, nullptr);
                continue;
            }
            const TFilterTrackBar& t = m.TrackBars[i];
            ASSERT_NE(s, nullptr);
            EXPECT_EQ(s->accessibleName().toStdString(), t.Caption);
            EXPECT_EQ(s->minimum(), t.Minimum);
            EXPECT_EQ(s->maximum(), t.Maximum);
            EXPECT_EQ(s->tickInterval(), t.Tick);
            EXPECT_EQ(s->value(), t.Default) << m.Caption << " " << t.Caption;
            for (int k = 0; k < 3; ++k)
                EXPECT_EQ(form.ScaleLabel(static_cast<int>(i), k)->text().toStdString(),
                          t.ScaleLabels[static_cast<std::size_t>(k)]);
            // Moving the slider rewrites its value label.
            s->setValue(t.Maximum);
            EXPECT_EQ(form.ValueLabel(static_cast<int>(i))->text().toStdString(),
                      FilterValueLabel(kind, static_cast<int>(i), t.Maximum));
            s->setValue(t.Minimum);
            EXPECT_EQ(form.ValueLabel(static_cast<int>(i))->text().toStdString(), t.ScaleLabels[0]);
        }
        EXPECT_EQ(form.CheckBox() != nullptr, !m.CheckBox.empty());
        EXPECT_EQ(form.Radio(0) != nullptr, m.Radio.has_value());
    }
}

TEST(FilterDialogFormTest, TheControlsBecomeTheSettings) {
    TFilterDialogForm bcg(TFilterKind::BCG);
    TFilterSettings settings;
    bcg.Prepare(test::Noisy(20, 20, 5), settings);
    bcg.TrackBar(1)->setValue(100);
    bcg.TrackBar(2)->setValue(-100);
    bcg.TrackBar(0)->setValue(40);
    bcg.Radio(1)->setChecked(true);
    EXPECT_EQ(bcg.ValueLabel(1)->text(), "5.00");
    EXPECT_EQ(bcg.ValueLabel(2)->text(), "0.20");
    EXPECT_EQ(bcg.ValueLabel(0)->text(), "+40%");
    const TFilterSettings s = bcg.Confirmed();
    EXPECT_DOUBLE_EQ(s.Contrast, 5.0);
    EXPECT_DOUBLE_EQ(s.Gamma, 0.2);
    EXPECT_EQ(s.Brightness, 40);
    EXPECT_TRUE(s.BCGUseY);

    TFilterDialogForm gray(TFilterKind::GrayScale);
    gray.Prepare(test::Noisy(20, 20, 5), settings);
    EXPECT_TRUE(gray.CheckBox()->isChecked());
    EXPECT_EQ(gray.CheckBox()->text(), "RGB weighting");
    gray.CheckBox()->setChecked(false);
    EXPECT_FALSE(gray.Confirmed().GrayRGBWeighting);

    // A dialog opens on what was confirmed before.
    settings.Contour.StdDeviation = 0.6;
    settings.ContourWhiteBackground = false;
    TFilterDialogForm contour(TFilterKind::Contour);
    contour.Prepare(test::Noisy(20, 20, 5), settings);
    EXPECT_EQ(contour.TrackBar(0)->value(), 60);
    EXPECT_TRUE(contour.Radio(1)->isChecked());
    EXPECT_EQ(contour.Radio(0)->text(), "White");
}

TEST(FilterDialogFormTest, BothPreviewsAreComputedOffTheWindowsThread) {
    const TPixelGraphic picture = test::Noisy(400, 300, 5);
    TFilterDialogForm form(TFilterKind::Sharpen);
    form.Prepare(picture, TFilterSettings{});
    ASSERT_TRUE(test::WaitFor([&] { return form.PreviewsSettled(); }));
    const TFilterPreviewSource source = FilterPreviewSource(picture, TFilterKind::Sharpen);
    EXPECT_EQ(form.SourceImage(), RasterToImage(source.Shown));
    EXPECT_EQ(form.ResultImage(),
              RasterToImage(*FilterPreviewResult(source, TFilterKind::Sharpen, {})));
    EXPECT_FALSE(form.SourcePreview()->pixmap().isNull());
    EXPECT_FALSE(form.ResultPreview()->pixmap().isNull());
}

TEST(FilterDialogFormTest, ADraggedSliderStaysFluidAndEndsOnTheLastSettings) {
    const TPixelGraphic picture = test::Noisy(900, 700, 5);
    TFilterDialogForm form(TFilterKind::Blur);
    form.Prepare(picture, TFilterSettings{});
    ASSERT_TRUE(test::WaitFor([&] { return form.PreviewsSettled(); }));
    const int before = form.ResultsComputed();
    QElapsedTimer timer;
    qint64 longest = 0;
    // The radius dragged over its whole range, one position at a time, as fast as events come.
    for (int p = 50; p <= 500; p += 5) {
        timer.start();
        form.TrackBar(0)->setValue(p);
        QCoreApplication::processEvents();
        longest = std::max(longest, timer.elapsed());
    }
    form.TrackBar(1)->setValue(70);
    EXPECT_LT(longest, 50) << "a slider step waited for a preview";
    ASSERT_TRUE(test::WaitFor([&] { return form.PreviewsSettled(); }));
    // Far fewer computations than positions, and the one shown is of the last settings.
    EXPECT_LT(form.ResultsComputed() - before, 60);
    TFilterSettings last;
    last.BlurRadius = 5.0;
    last.BlurStrength = 70;
    const TFilterPreviewSource source = FilterPreviewSource(picture, TFilterKind::Blur);
    EXPECT_EQ(form.ResultImage(),
              RasterToImage(*FilterPreviewResult(source, TFilterKind::Blur, last)));
    EXPECT_DOUBLE_EQ(form.Confirmed().BlurRadius, 5.0);
}

TEST(FilterDialogFormTest, ReopeningDropsWhatAnEarlierShowingStillComputes) {
    TFilterDialogForm form(TFilterKind::HSV);
    form.Prepare(test::Noisy(800, 600, 1), TFilterSettings{});
    form.TrackBar(0)->setValue(90);
    const TPixelGraphic second = test::Noisy(60, 40, 2);
    form.Prepare(second, TFilterSettings{});
    ASSERT_TRUE(test::WaitFor([&] { return form.PreviewsSettled(); }));
    EXPECT_EQ(form.SourceImage().size(), QSize(60, 40));
    EXPECT_EQ(form.TrackBar(0)->value(), 0);
    EXPECT_EQ(form.ResultImage(),
              RasterToImage(*FilterPreviewResult(FilterPreviewSource(second, TFilterKind::HSV),
                                                 TFilterKind::HSV, {})));
}

} // namespace
} // namespace pigmentaria
