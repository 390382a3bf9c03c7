#include "convert/import_session.h"
#include "editor/document.h"
#include "image/image_test_util.h"
#include "test_util.h"

#include <gtest/gtest.h>

namespace pigmentaria {
namespace {

using test::PhotoLike;

struct TSessionFixture : ::testing::Test {
    test::TRecordingProgress Progress;
    test::TRecordingMessages Messages;
    TImportSession Session{Progress, Messages};
};

using ImportSessionTest = TSessionFixture;

TEST_F(ImportSessionTest, DefaultsAndRanges) {
    EXPECT_EQ(Session.Controls, (TConversionControls{90, 0, TOutlineMethod::Outline, 4, true}));
    TConversionControls c{0, 9, static_cast<TOutlineMethod>(5), 0, false};
    c.Clamp();
    EXPECT_EQ(c, (TConversionControls{1, 4, TOutlineMethod::HalfLine, 1, false}));
    EXPECT_EQ(Session.Filters.Sharpen.StdDeviation, 0.75);
    EXPECT_EQ(Session.Filters.Smooth.StdDeviation, 1.3);
    EXPECT_EQ(Session.Filters.BlurRadius, 2.5);
    EXPECT_EQ(Session.Filters.Contour.Shape, dsRect);
}

TEST_F(ImportSessionTest, ZoomButtons) {
    Session.SetPicture(PhotoLike(10, 10));
    Session.Reduce();
    Session.Reduce();
    Session.Reduce();
    EXPECT_EQ(Session.ZoomFactor(), 0.25);
    Session.Reduce();
    EXPECT_EQ(Session.ZoomFactor(), 0.25);
    for (int i = 0; i < 40; ++i)
        Session.Enlarge();
    EXPECT_EQ(Session.ZoomFactor(), 10.25);
}

TEST_F(ImportSessionTest, SelectionRules) {
    Session.SetPicture(PhotoLike(50, 40));
    Session.SelectionMade({10, 10, 30, 25});
    EXPECT_EQ(Session.Selection(), (TCropRect{10, 10, 30, 25}));
    Session.SelectionMade({5, 5, 6, 20}); // a click: one pixel wide
    EXPECT_FALSE(Session.Selection());
    Session.SelectionMade({-4, 20, 90, 70});
    EXPECT_EQ(Session.Selection(), (TCropRect{0, 20, 50, 40}));
}

TEST_F(ImportSessionTest, HalfZoomGivesAPaintingOfHalfTheSize) {
    Session.SetPicture(PhotoLike(81, 61));
    Session.SetZoomFactor(0.5);
    TPaintingDocument document(Messages);
    document.AdoptImport(Session.ReduceAndTrace());
    EXPECT_EQ(document.Shapes().PaintingWidth(), 40);
    EXPECT_EQ(document.Shapes().PaintingHeight(), 30);
    EXPECT_FALSE(document.Modified());
    EXPECT_GT(document.PaintingPalette().Count(), 1u);
    const std::vector<std::string> expected = {"Performing Color Reduction...",
                                               "Tracing Picture..."};
    EXPECT_EQ(Progress.Messages, expected);
}

TEST_F(ImportSessionTest, SecondImportCanBeUndone) {
    TPaintingDocument document(Messages);
    Session.SetPicture(PhotoLike(30, 20));
    document.AdoptImport(Session.ReduceAndTrace());
    const std::size_t first = document.Shapes().Count();
    Session.SetPicture(PhotoLike(12, 9, 77));
    document.AdoptImport(Session.ReduceAndTrace());
    EXPECT_EQ(document.Shapes().PaintingWidth(), 12);
    EXPECT_EQ(document.UndoCaption(), "&Undo Import");
    document.UndoLast();
    EXPECT_EQ(document.Shapes().PaintingWidth(), 30);
    EXPECT_EQ(document.Shapes().Count(), first);
}

TEST_F(ImportSessionTest, ReductionCropsTheScaledSelection) {
    Session.SetPicture(PhotoLike(60, 60));
    Session.SetZoomFactor(2.0);
    Session.SelectionMade({10, 10, 20, 30});
    Session.ReduceColors();
    EXPECT_EQ(Session.Reduced().Width(), 20);
    EXPECT_EQ(Session.Reduced().Height(), 40);
    EXPECT_EQ(Session.Original().Width(), 20);
    // Every channel of the reduction is 0, 90 or 180.
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 20; ++x)
            for (int c : {RedOf(Session.Reduced().GetPixel(x, y)),
                          GreenOf(Session.Reduced().GetPixel(x, y))})
                ASSERT_TRUE(c == 0 || c == 90 || c == 180);
}

TEST_F(ImportSessionTest, LargePicturesAreConvertedSmallerAndTheUserIsTold) {
    Session.SetPicture(PhotoLike(4000, 3000));
    EXPECT_NEAR(Session.ZoomFactor(), 5000.0 / 7000.0, 1e-12);
    ASSERT_EQ(Messages.Warnings.size(), 1u);
    EXPECT_NE(Messages.Warnings[0].find("4000 x 3000"), std::string::npos);
    Session.SetZoomFactor(1000.0); // an explicit zoom far past what memory holds
    try {
        Session.ReduceColors();
        FAIL();
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("too large to convert"), std::string::npos);
    }
}

TEST_F(ImportSessionTest, ControlOnlyStylesSetTheTableValues) {
    Session.SetPicture(PhotoLike(20, 20));
    const TRaster24 before = Session.Picture().ToRaster24();
    const struct {
        TPaintingStyle Style;
        TConversionControls Controls;
    } table[] = {{TPaintingStyle::SimplePainting, {100, 0, TOutlineMethod::Outline, 2, true}},
                 {TPaintingStyle::StylistPainting, {100, 0, TOutlineMethod::Outline, 8, true}},
                 {TPaintingStyle::ComplexPainting, {50, 0, TOutlineMethod::Outline, 1, true}},
                 {TPaintingStyle::Neon, {225, 0, TOutlineMethod::Outline, 2, true}},
                 {TPaintingStyle::NeonStylist, {225, 0, TOutlineMethod::Outline, 8, true}}};
    for (const auto& row : table) {
        Session.Controls = {7, 3, TOutlineMethod::HalfLine, 9, false};
        Session.ApplyStyle(row.Style);
        Session.ApplyStyle(row.Style);
        EXPECT_EQ(Session.Controls, row.Controls) << StyleCaption(row.Style);
    }
    EXPECT_EQ(Session.Picture().ToRaster24(), before);
}

TEST_F(ImportSessionTest, PenAndInkLeavesAGreyPicture) {
    Session.SetPicture(PhotoLike(40, 30));
    Session.ApplyStyle(TPaintingStyle::PenInk);
    EXPECT_EQ(Session.Controls, (TConversionControls{225, 0, TOutlineMethod::Inline, 3, false}));
    const TRaster24 r = Session.Picture().ToRaster24();
    for (int y = 0; y < r.Height(); ++y)
        for (int x = 0; x < r.Width(); ++x) {
            const TColor c = r.GetPixel(x, y);
            ASSERT_TRUE(RedOf(c) == GreenOf(c) && GreenOf(c) == BlueOf(c));
        }
    Session.ReduceColors();
    for (int y = 0; y < r.Height(); ++y)
        for (int x = 0; x < r.Width(); ++x) {
            const int v = RedOf(Session.Reduced().GetPixel(x, y));
            ASSERT_TRUE(v == 0 || v == 225);
        }
}

TEST_F(ImportSessionTest, PenAndBrushComboLeavesBlackAndMidGrey) {
    Session.SetPicture(PhotoLike(40, 30));
    Session.ApplyStyle(TPaintingStyle::PenBrushCombo);
    EXPECT_EQ(Session.Controls, (TConversionControls{128, 0, TOutlineMethod::Inline, 3, false}));
    const TRaster24 r = Session.Picture().ToRaster24();
    for (int y = 0; y < r.Height(); ++y)
        for (int x = 0; x < r.Width(); ++x) {
            const TColor c = r.GetPixel(x, y);
            ASSERT_TRUE(c == 0 || c == MakeColor(128, 128, 128)) << std::hex << c;
        }
    EXPECT_EQ(Session.ZoomFactor(), 1.0);
}

TEST_F(ImportSessionTest, InkBrushOnASelectionCropsTheWorkingPicture) {
    Session.SetPicture(PhotoLike(40, 30));
    Session.SelectionMade({5, 6, 25, 16});
    Session.ApplyStyle(TPaintingStyle::InkBrush);
    EXPECT_EQ(Session.Picture().Width(), 20);
    EXPECT_EQ(Session.Picture().Height(), 10);
    EXPECT_FALSE(Session.Selection());
    EXPECT_EQ(Session.Controls, (TConversionControls{128, 0, TOutlineMethod::Outline, 8, true}));
}

TEST(StyleCaptionTest, BothAmpersandSpellingsAreAccepted) {
    EXPECT_EQ(StyleFromCaption("Pen && Brush Combo"), TPaintingStyle::PenBrushCombo);
    EXPECT_EQ(StyleFromCaption("pen & ink stylist"), TPaintingStyle::PenInkStylist);
    EXPECT_EQ(StyleFromCaption("Neon"), TPaintingStyle::Neon);
    EXPECT_FALSE(StyleFromCaption("Neon Light"));
    EXPECT_STREQ(StyleCaption(TPaintingStyle::PenInk), "Pen && Ink");
}

TEST(PictureFilterTest, PointFilterOnAPalettePictureChangesOnlyThePalette) {
    TPixelGraphic p;
    p.SetSize(4, 2, ct8Bit);
    p.SetPalette({MakeColor(10, 20, 30), MakeColor(200, 100, 0)});
    p.SetPixel(1, 1, 1);
    TNegativeFilter neg;
    TPixelGraphic copy;
    copy.SetSize(1, 1, ct8Bit);
    ApplyFilter(neg, p, copy);
    EXPECT_EQ(copy.ColorType(), ct8Bit);
    EXPECT_EQ(copy.GetPixel(1, 1), 1u);
    EXPECT_EQ(copy.PaletteColor(1), MakeColor(55, 155, 255));
    ApplyFilter(neg, p, p); // in place
    EXPECT_EQ(p.PaletteColor(0), MakeColor(245, 235, 225));
    EXPECT_EQ(p.GetPixel(1, 1), 1u);
    TConvFilter conv;
    EXPECT_THROW(ApplyFilter(conv, p, p), EPGFilter);
}

TEST(PictureFilterTest, ConvolutionIntoAPalettePictureMapsToItsPalette) {
    TPixelGraphic src = PhotoLike(16, 8);
    TPixelGraphic dst;
    dst.SetSize(1, 1, ct8Bit);
    dst.SetPaletteIdent(pSpecial252);
    dst.Dither = false;
    TConvFilter identity;
    ApplyFilter(identity, src, dst);
    EXPECT_EQ(dst.Width(), 16);
    EXPECT_EQ(dst.ColorType(), ct8Bit);
    const TColor c = src.GetPixelColor(3, 3);
    EXPECT_EQ(dst.GetPixel(3, 3), dst.NearestPaletteIndex(c));
}

} // namespace
} // namespace pigmentaria
