#include "print/print_labels.h"

#include "model/render.h"
#include "palette/color_numbering.h"
#include "print/numbers.h"
#include "print/print_scale.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace pigmentaria {
namespace {

constexpr TColor Field = MakeColor(200, 200, 200), Square = MakeColor(200, 40, 40),
                 Small = MakeColor(40, 40, 200), Stripe = MakeColor(40, 160, 40);

std::vector<TShapePoint> Rect(int l, int t, int r, int b) {
    return {{l, t}, {r, t}, {r, b}, {l, b}};
}

// A painting of 200 x 120: a field, a square of 61 pixels, a box of 6 x 4 and a stripe one pixel
// wide (shapes drawn filled cover their outline). On one A4 page a painting pixel is 0.84 mm.
struct TFixture {
    TShapeList Shapes;
    TNamedPalette Palette;
    TPrintSettings Settings;
    TPrintLayout Layout;
    TFixture() {
        Shapes.Append(MakeFrameShape(200, 120));
        Shapes.Append(MakeShape(Field, Rect(0, 0, 200, 120)));
        Shapes.Append(MakeShape(Square, Rect(20, 20, 80, 80)));
        Shapes.Append(MakeShape(Small, Rect(150, 30, 155, 33)));
        Shapes.Append(MakeShape(Stripe, Rect(100, 10, 100, 110)));
        RebuildPaintingPalette(Palette, Shapes);
        Layout =
            LayoutForPainting(MetricsForPaper(PaperSizeOfCode(PaperA4), poPortrait, 600, 600, 0.25),
                              poPortrait, Settings, 200, 120);
    }
};

TColor ColorAtCentre(const TShapeList& shapes, const TPrintLabel& l) {
    const TRaster24 r = RenderPainting(shapes, 1.0);
    return r.GetPixel((l.Left + l.Right) / 2, (l.Top + l.Bottom) / 2);
}

TEST(PrintedLabelsTest, EveryRegionGetsOneLabelInsideIt) {
    const TFixture f;
    const TPrintedLabels printed(f.Shapes, f.Layout, f.Settings.Frame);
    ASSERT_EQ(printed.RegionCount(), 4u);
    const auto labels = printed.CompleteLabels({}, NumberByPaintingPalette(f.Palette));
    ASSERT_EQ(labels.size(), 4u);
    std::map<TColor, int> seen;
    for (const TPrintLabel& l : labels) {
        const TColor c = ColorAtCentre(f.Shapes, l);
        ++seen[c];
        EXPECT_EQ(l.Text, std::to_string(PaintingPaletteIndex(f.Palette, c)));
        if (c != Stripe) {
            EXPECT_GE(printed.RegionHolding(l), 0) << l.Text;
        }
    }
    EXPECT_EQ(seen.size(), 4u);
    // The square's number sits at its middle, at a size people read.
    for (const TPrintLabel& l : labels)
        if (ColorAtCentre(f.Shapes, l) == Square) {
            EXPECT_NEAR((l.Left + l.Right) / 2.0, 50, 1.5);
            EXPECT_NEAR((l.Top + l.Bottom) / 2.0, 50, 1.5);
            EXPECT_GE(printed.DrawnSize(l), LegibleLabelSize);
        }
}

TEST(PrintedLabelsTest, PlacedLabelsThatFitStayAndOthersMakeWay) {
    const TFixture f;
    const TPrintedLabels printed(f.Shapes, f.Layout, f.Settings.Frame);
    TNullProgress progress;
    TNullMessages messages;
    const auto placed = PlaceNumbers(f.Shapes, f.Palette, progress, messages);
    const auto labels = printed.CompleteLabels(placed, NumberByPaintingPalette(f.Palette));
    for (const TPrintLabel& l : placed)
        if (printed.RegionHolding(l) >= 0 && printed.DrawnSize(l) >= LegibleLabelSize) {
            EXPECT_NE(std::find(labels.begin(), labels.end(), l), labels.end());
        }
    // A label across the square's edge fits no region: it goes, and the square still has one.
    std::vector<TPrintLabel> wrong = {{"2", 70, 45, 90, 55}};
    ASSERT_LT(printed.RegionHolding(wrong[0]), 0);
    const auto fixed = printed.CompleteLabels(wrong, NumberByPaintingPalette(f.Palette));
    EXPECT_EQ(std::find(fixed.begin(), fixed.end(), wrong[0]), fixed.end());
    int inSquare = 0;
    for (const TPrintLabel& l : fixed)
        inSquare += ColorAtCentre(f.Shapes, l) == Square && printed.RegionHolding(l) >= 0;
    EXPECT_EQ(inSquare, 1);
}

TEST(PrintedLabelsTest, FontSizeFollowsThePageRenderer) {
    const TFixture f;
    const TPrintedLabels printed(f.Shapes, f.Layout, f.Settings.Frame);
    // A box far wider than one digit at 12 points: the renderer draws 11.
    EXPECT_EQ(printed.DrawnSize({"7", 20, 20, 80, 80}), 11);
    // A box two pixels wide (under 2 mm) fits nothing legible: the smallest size, 3.
    EXPECT_EQ(printed.DrawnSize({"17", 40, 40, 42, 42}), 3);
    // Wider boxes never print smaller numbers.
    int last = 0;
    for (int w = 1; w < 40; ++w) {
        const int s = printed.DrawnSize({"12", 30, 30, 30 + w, 40});
        EXPECT_GE(s, last);
        last = s;
    }
}

TEST(PrintedLabelsTest, ReportNamesTheNarrowRegionsAndSmallNumbers) {
    const TFixture f;
    const TPrintedLabels printed(f.Shapes, f.Layout, f.Settings.Frame);
    const auto labels = printed.CompleteLabels({}, NumberByPaintingPalette(f.Palette));
    const double mm = std::min(PaintingPixelSize(f.Layout, f.Settings.Frame, 200, 120).MmX,
                               PaintingPixelSize(f.Layout, f.Settings.Frame, 200, 120).MmY);
    const TLegibilityReport r = printed.Report(labels, 2.5);
    EXPECT_EQ(r.Regions, 4);
    EXPECT_EQ(r.Labels, 4);
    // The stripe is one pixel wide; the small box holds four.
    EXPECT_NEAR(r.SmallestDiameterMm, mm, 1e-9);
    EXPECT_EQ(r.RegionsUnderMinimum, 1);
    EXPECT_EQ(printed.Report(labels, 4 * mm + 0.01).RegionsUnderMinimum, 2);
    // A digit at 6 points is 1.2 mm wide: it fits everywhere but in the 0.84 mm stripe.
    EXPECT_EQ(r.RegionsWithoutLegibleNumber, 1);
    EXPECT_LE(r.RegionsWithoutFittingNumber, 1);
    EXPECT_LT(r.SmallestNumberPt, LegibleLabelSize);
    // Without labels nothing is numbered.
    const TLegibilityReport bare = printed.Report({}, 2.5);
    EXPECT_EQ(bare.RegionsWithoutFittingNumber, 4);
    EXPECT_EQ(bare.SmallestNumberPt, 0);
}

TEST(PrintedLabelsTest, WhereTheFrameShowsBetweenShapesThereIsNothingToNumber) {
    // The field leaves a gap of 20 x 40 at the right where the black frame shows; a black shape
    // of the frame's colour elsewhere is a region like any other.
    TShapeList shapes;
    shapes.Append(MakeFrameShape(200, 120));
    shapes.Append(MakeShape(Field, Rect(0, 0, 179, 120)));
    shapes.Append(MakeShape(Square, Rect(20, 20, 80, 80)));
    shapes.Append(MakeShape(clBlack, Rect(100, 20, 150, 80)));
    TNamedPalette palette;
    RebuildPaintingPalette(palette, shapes);
    TPrintSettings settings;
    const TPrintLayout layout =
        LayoutForPainting(MetricsForPaper(PaperSizeOfCode(PaperA4), poPortrait, 600, 600, 0.25),
                          poPortrait, settings, 200, 120);
    const TPrintedLabels printed(shapes, layout, settings.Frame);
    ASSERT_EQ(printed.RegionCount(), 4u);
    int gaps = 0;
    for (std::uint32_t r = 0; r < 4; ++r)
        gaps += printed.FrameGap(r);
    EXPECT_EQ(gaps, 1);
    TNullProgress progress;
    TNullMessages messages;
    const auto placed = PlaceNumbers(shapes, palette, progress, messages);
    const auto labels = printed.CompleteLabels(placed, NumberByPaintingPalette(palette));
    std::map<TColor, int> seen;
    for (const TPrintLabel& l : labels) {
        const std::int64_t r = printed.RegionHolding(l);
        ASSERT_GE(r, 0);
        EXPECT_FALSE(printed.FrameGap(static_cast<std::uint32_t>(r)));
        ++seen[ColorAtCentre(shapes, l)];
        EXPECT_LT((l.Left + l.Right) / 2, 180) << "no number in the gap";
    }
    EXPECT_EQ(seen.size(), 3u);
    EXPECT_GE(seen[clBlack], 1) << "the black shape is numbered";
    const TLegibilityReport rep = printed.Report(labels, 2.5);
    EXPECT_EQ(rep.Regions, 3);
    EXPECT_EQ(rep.FrameGaps, 1);
    EXPECT_EQ(rep.RegionsWithoutFittingNumber, 0);
}

} // namespace
} // namespace pigmentaria
