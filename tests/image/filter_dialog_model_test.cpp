#include "image/filter_dialog_model.h"
#include "image/image_test_util.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace pigmentaria {
namespace {

TRaster24 Crop(const TRaster24& in, int left, int top, int w, int h) {
    TRaster24 out(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            out.SetPixel(x, y, in.GetPixel(left + x, top + y));
    return out;
}

TEST(FilterDialogModelTest, TheDefaultPositionsAreTheDefaultSettings) {
    const TFilterSettings defaults;
    for (TFilterKind kind : AllFilterKinds) {
        const TFilterDialogModel& m = FilterDialogModel(kind);
        EXPECT_EQ(m.Kind, kind);
        EXPECT_LE(m.TrackBars.size(), 3u);
        const TFilterControls c = ControlsFromSettings(kind, defaults);
        for (std::size_t i = 0; i < m.TrackBars.size(); ++i) {
            const TFilterTrackBar& t = m.TrackBars[i];
            EXPECT_EQ(c.Positions[i], t.Default) << m.Caption << " " << t.Caption;
            EXPECT_LT(t.Minimum, t.Maximum);
            EXPECT_EQ((t.Maximum - t.Minimum) % t.Tick, 0) << m.Caption << " " << t.Caption;
            // The scale labels read like the value labels at both ends and in the middle.
            EXPECT_EQ(t.ScaleLabels[0], FilterValueLabel(kind, static_cast<int>(i), t.Minimum));
            EXPECT_EQ(t.ScaleLabels[2], FilterValueLabel(kind, static_cast<int>(i), t.Maximum));
            EXPECT_EQ(t.ScaleLabels[1],
                      FilterValueLabel(kind, static_cast<int>(i), (t.Minimum + t.Maximum) / 2))
                << m.Caption << " " << t.Caption;
        }
        // Confirming a dialog opened on the defaults keeps the defaults.
        TFilterSettings s;
        SettingsFromControls(kind, c, s);
        EXPECT_EQ(ControlsFromSettings(kind, s), c);
        EXPECT_EQ(s.Contrast, defaults.Contrast);
        EXPECT_EQ(s.Sharpen.StdDeviation, defaults.Sharpen.StdDeviation);
        EXPECT_EQ(s.BlurRadius, defaults.BlurRadius);
    }
}

TEST(FilterDialogModelTest, CaptionsAndControlsOfTheDialogs) {
    EXPECT_EQ(FilterDialogModel(TFilterKind::BCG).Caption, "Brightness, Contrast, Gamma Filter");
    EXPECT_EQ(FilterDialogModel(TFilterKind::BCG).Radio->Title, "Apply on");
    EXPECT_EQ(FilterDialogModel(TFilterKind::GrayScale).CheckBox, "RGB weighting");
    EXPECT_TRUE(ControlsFromSettings(TFilterKind::GrayScale, {}).Checked);
    EXPECT_EQ(FilterDialogModel(TFilterKind::Contour).Radio->First, "White");
    EXPECT_EQ(FilterDialogModel(TFilterKind::Contour).TrackBars[1].ScaleLabels[2], "1000%");
    EXPECT_TRUE(FilterDialogModel(TFilterKind::Negative).TrackBars.empty());
    EXPECT_EQ(FilterDialogModel(TFilterKind::HLS).TrackBars[0].Minimum, -180);
    EXPECT_EQ(FilterDialogModel(TFilterKind::HLS).TrackBars[0].Tick, 15);
    EXPECT_EQ(FilterDialogModel(TFilterKind::Smooth).TrackBars[0].Default, 130);
    EXPECT_EQ(FilterDialogModel(TFilterKind::Detail).TrackBars[1].Default, 75);
}

TEST(FilterDialogModelTest, PositionsMapToTheSettingsTheFiltersUse) {
    TFilterSettings s;
    TFilterControls c;
    c.Positions = {-30, 100, -100};
    c.Radio = 1;
    SettingsFromControls(TFilterKind::BCG, c, s);
    EXPECT_EQ(s.Brightness, -30);
    EXPECT_DOUBLE_EQ(s.Contrast, 5.0);
    EXPECT_DOUBLE_EQ(s.Gamma, 0.2);
    EXPECT_TRUE(s.BCGUseY);
    EXPECT_EQ(FilterValueLabel(TFilterKind::BCG, 1, 100), "5.00");
    EXPECT_EQ(FilterValueLabel(TFilterKind::BCG, 2, 50), "2.24");
    EXPECT_EQ(FilterValueLabel(TFilterKind::BCG, 0, -30), "-30%");
    // The other dialogs' settings stay.
    EXPECT_EQ(s.Sharpen.Strength, 50);

    c = {};
    c.Positions = {95, 40, 0};
    SettingsFromControls(TFilterKind::Sharpen, c, s);
    EXPECT_DOUBLE_EQ(s.Sharpen.StdDeviation, 0.95);
    EXPECT_EQ(s.Sharpen.Strength, 40);
    EXPECT_EQ(FilterValueLabel(TFilterKind::Sharpen, 0, 95), "0.95");
    EXPECT_EQ(FilterValueLabel(TFilterKind::Sharpen, 1, 40), "40%");

    c.Positions = {300, 60, 0};
    SettingsFromControls(TFilterKind::Blur, c, s);
    EXPECT_DOUBLE_EQ(s.BlurRadius, 3.0);
    c.Positions = {70, 400, 0};
    c.Radio = 1;
    SettingsFromControls(TFilterKind::Contour, c, s);
    EXPECT_EQ(s.Contour.Strength, 400);
    EXPECT_FALSE(s.ContourWhiteBackground);
    EXPECT_EQ(s.Contour.Shape, dsRect);

    c.Positions = {-45, 20, -5};
    SettingsFromControls(TFilterKind::HSV, c, s);
    EXPECT_EQ(s.HSV[0], -45);
    EXPECT_EQ(FilterValueLabel(TFilterKind::HSV, 0, -45), "-45\u00b0");
    EXPECT_EQ(FilterValueLabel(TFilterKind::HSV, 1, 20), "+20%");
    EXPECT_EQ(FilterValueLabel(TFilterKind::RGB, 2, 0), "\u00b10%");

    // A dialog built from the positions filters as the settings say: +100% red saturates red.
    c.Positions = {100, 0, 0};
    SettingsFromControls(TFilterKind::RGB, c, s);
    const auto f = MakeFilter(TFilterKind::RGB, s);
    EXPECT_EQ(f->FilterColor(MakeColor(10, 20, 30)), MakeColor(255, 20, 30));
}

TEST(FilterDialogModelTest, SettingsOutsideATrackBarAreHeldToIt) {
    TFilterSettings s;
    s.Sharpen.StdDeviation = 2.0; // the command line allows more than the dialog shows
    s.Sharpen.Strength = 5;
    s.Contrast = 9.0;
    s.RGB[1] = 250;
    s.BlurRadius = std::nan("");
    EXPECT_EQ(ControlsFromSettings(TFilterKind::Sharpen, s).Positions[0], 130);
    EXPECT_EQ(ControlsFromSettings(TFilterKind::Sharpen, s).Positions[1], 10);
    EXPECT_EQ(ControlsFromSettings(TFilterKind::BCG, s).Positions[1], 100);
    EXPECT_EQ(ControlsFromSettings(TFilterKind::RGB, s).Positions[1], 100);
    EXPECT_EQ(ControlsFromSettings(TFilterKind::Blur, s).Positions[0], 250);
}

TEST(FilterDialogModelTest, ColourPreviewsShowTheWholePictureShrunk) {
    const TPixelGraphic picture = test::Noisy(400, 100, 11);
    const TFilterPreviewSource src = FilterPreviewSource(picture, TFilterKind::HLS);
    EXPECT_EQ(src.Shown.Width(), 160);
    EXPECT_EQ(src.Shown.Height(), 40);
    EXPECT_EQ(src.Input, src.Shown);
    // A small picture is shown as it is.
    const TPixelGraphic small = test::Noisy(30, 20, 11);
    EXPECT_EQ(FilterPreviewSource(small, TFilterKind::RGB).Shown, small.ToRaster24());
    TFilterSettings s;
    s.HLS[0] = 90;
    const auto result = FilterPreviewResult(src, TFilterKind::HLS, s);
    ASSERT_TRUE(result);
    TRaster24 expected;
    auto f = MakeFilter(TFilterKind::HLS, s);
    ApplyFilter(*f, src.Shown, expected);
    EXPECT_EQ(*result, expected);
}

TEST(FilterDialogModelTest, ConvolutionPreviewsAreTheFilteredPicturesCentre) {
    const TPixelGraphic picture = test::Noisy(300, 200, 11);
    TFilterSettings s;
    s.BlurRadius = 5.0;
    for (TFilterKind kind : {TFilterKind::Sharpen, TFilterKind::Blur, TFilterKind::Contour}) {
        const TFilterPreviewSource src = FilterPreviewSource(picture, kind);
        ASSERT_EQ(src.Shown.Width(), 160);
        ASSERT_EQ(src.Shown.Height(), 120);
        const int left = (300 - 160) / 2, top = (200 - 120) / 2;
        EXPECT_EQ(src.Shown, Crop(picture.ToRaster24(), left, top, 160, 120));
        // The preview equals the same part of the whole picture filtered, edges included.
        TRaster24 whole;
        auto f = MakeFilter(kind, s);
        ApplyFilter(*f, picture.ToRaster24(), whole);
        const auto result = FilterPreviewResult(src, kind, s);
        ASSERT_TRUE(result);
        EXPECT_EQ(*result, Crop(whole, left, top, 160, 120)) << FilterName(kind);
    }
    // A picture smaller than the box is previewed whole, without a margin.
    const TFilterPreviewSource tiny =
        FilterPreviewSource(test::Noisy(20, 10, 11), TFilterKind::Smooth);
    EXPECT_EQ(tiny.Shown.Width(), 20);
    EXPECT_EQ(tiny.MarginLeft, 0);
}

TEST(FilterDialogModelTest, AnAbandonedPreviewGivesNothing) {
    const TFilterPreviewSource src =
        FilterPreviewSource(test::Noisy(300, 200, 11), TFilterKind::Smooth);
    std::atomic<bool> abandon{true};
    EXPECT_FALSE(FilterPreviewResult(src, TFilterKind::Smooth, {}, &abandon));
    abandon = false;
    EXPECT_TRUE(FilterPreviewResult(src, TFilterKind::Smooth, {}, &abandon));
    // An empty working picture previews as nothing to show.
    const auto empty = FilterPreviewResult(FilterPreviewSource(TPixelGraphic(), TFilterKind::RGB),
                                           TFilterKind::RGB, {});
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->Empty());
}

} // namespace
} // namespace pigmentaria
