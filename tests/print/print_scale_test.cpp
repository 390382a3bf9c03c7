#include "print/print_scale.h"

#include <gtest/gtest.h>

namespace pigmentaria {
namespace {

TPrinterMetrics A4At600() {
    return MetricsForPaper(PaperSizeOfCode(PaperA4), poPortrait, 600, 600, 0.25);
}

TEST(PrintScaleTest, MillimetresToPixelsOnATwoByTwoGrid) {
    TPrintSettings settings;
    settings.PagesAcross = 2;
    settings.PagesDown = 2;
    const TPrintLayout layout = LayoutForPainting(A4At600(), poPortrait, settings, 600, 400);
    // By hand: A4 at 600 dpi is 4961 x 7016 printer pixels; the overlap stays at 1 inch (the
    // half-inch margins plus half an inch), so the grid is 2 x 4961 - 600 = 9322 wide and
    // 2 x 7016 - 600 = 13432 high, and the sample draws 177 pixels per 13432 printer pixels.
    ASSERT_EQ(layout.TotalWidth, 9322);
    ASSERT_EQ(layout.TotalHeight, 13432);
    // The first frame is 80 % of the grid's drawn width in the painting's proportions:
    // 9322 x 177 / 13432 x 0.8 = 98.3 -> 98 wide, and 65 high.
    ASSERT_TRUE(settings.Frame.Visible);
    ASSERT_EQ(settings.Frame.Width, 98);
    ASSERT_EQ(settings.Frame.Height, 65);
    const double inchesPerSamplePixel = 13432.0 / (177.0 * 600.0);
    const double mmX = 98 * inchesPerSamplePixel * 25.4 / 600;
    const double mmY = 65 * inchesPerSamplePixel * 25.4 / 400;
    const TPaintingPixelSize size = PaintingPixelSize(layout, settings.Frame, 600, 400);
    EXPECT_NEAR(size.MmX, mmX, 1e-12);
    EXPECT_NEAR(size.MmY, mmY, 1e-12);
    // Down the page the pixels come out smaller (65 is truncated more than 98): that axis counts.
    ASSERT_LT(mmY, mmX);
    EXPECT_NEAR(MillimetresToPaintingPixels(size, 2.5), 2.5 / mmY, 1e-12);
    EXPECT_NEAR(MillimetresToPaintingPixels(size, 2.5), 4.789, 1e-3);
}

TEST(PrintScaleTest, MorePagesGiveMorePixelsForTheSameLength) {
    TPrintSettings one, four;
    four.PagesAcross = four.PagesDown = 2;
    const TPrintLayout l1 = LayoutForPainting(A4At600(), poPortrait, one, 600, 400);
    const TPrintLayout l4 = LayoutForPainting(A4At600(), poPortrait, four, 600, 400);
    const double px1 = MillimetresToPaintingPixels(PaintingPixelSize(l1, one.Frame, 600, 400), 2.5);
    const double px4 =
        MillimetresToPaintingPixels(PaintingPixelSize(l4, four.Frame, 600, 400), 2.5);
    EXPECT_GT(px1, 1.8 * px4);
    EXPECT_LT(px1, 2.2 * px4);
}

TEST(PrintScaleTest, AShownFrameIsKeptAndNoFrameMeansNoSize) {
    TPrintSettings settings;
    settings.Frame = {20, 30, 50, 25, true};
    const TPrintLayout layout = LayoutForPainting(A4At600(), poPortrait, settings, 200, 100);
    EXPECT_EQ(settings.Frame, (TPlacementFrame{20, 30, 50, 25, true}));
    EXPECT_NEAR(layout.ImageWidthIn, 50 / layout.SampleScaleX, 1e-12);
    EXPECT_FALSE(PaintingPixelSize(layout, {0, 0, 0, 0, true}, 200, 100).Placed());
    EXPECT_EQ(MillimetresToPaintingPixels({}, 2.5), 0.0);
}

} // namespace
} // namespace pigmentaria
