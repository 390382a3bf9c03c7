#include "print/legibility_text.h"

#include "print/numbers.h"
#include "print/print_dialog.h"
#include "print/print_scale.h"
#include "test_util.h"

#include <gtest/gtest.h>

#include <regex>

namespace pigmentaria {
namespace {

std::vector<TShapePoint> Rect(int l, int t, int r, int b) {
    return {{l, t}, {r, t}, {r, b}, {l, b}};
}

// A painting of 200 x 120: a field, a square and a box 6 x 4 pixels.
TShapeList Painting() {
    TShapeList shapes;
    shapes.Append(MakeFrameShape(200, 120));
    shapes.Append(MakeShape(MakeColor(200, 200, 200), Rect(0, 0, 200, 120)));
    shapes.Append(MakeShape(MakeColor(200, 40, 40), Rect(20, 20, 80, 80)));
    shapes.Append(MakeShape(MakeColor(40, 40, 200), Rect(150, 30, 155, 33)));
    return shapes;
}

TPrintLayout Layout(const TPrintSettings& settings, int across) {
    TPrintSettings s = settings;
    s.PagesAcross = across;
    s.PagesDown = across;
    return ComputePrintLayout(MetricsForPaper(PaperSizeOfCode(PaperA4), poPortrait, 600, 600, 0.25),
                              poPortrait, s);
}

TEST(LegibilityText, TheReportFollowsTheDialogsLayout) {
    const TShapeList shapes = Painting();
    TPrintSettings settings;
    const TPrintedLabels one(
        shapes,
        LayoutForPainting(MetricsForPaper(PaperSizeOfCode(PaperA4), poPortrait, 600, 600, 0.25),
                          poPortrait, settings, 200, 120),
        settings.Frame);
    const std::vector<TPrintLabel> labels =
        one.CompleteLabels({}, NumberByPaintingPalette([&] {
                               TNamedPalette p;
                               RebuildPaintingPalette(p, shapes);
                               return p;
                           }()));
    // One page, no frame placed: the first frame for the painting, as the dialog shows it.
    const TLegibilityReport small =
        PrintLegibility(shapes, Layout(settings, 1), settings, labels, 2.5);
    EXPECT_EQ(small.Regions, 3);
    EXPECT_EQ(small.RegionsUnderMinimum, 0);
    EXPECT_EQ(small.Labels, 3);
    // The box is 6 x 4 pixels: about 0.84 mm a pixel on one page, 3.4 mm across at most.
    EXPECT_GT(small.SmallestDiameterMm, 2.5);
    EXPECT_LT(small.SmallestDiameterMm, 4.0);
    EXPECT_LT(PrintLegibility(shapes, Layout(settings, 1), settings, labels, 5).RegionsUnderMinimum,
              small.Regions);
    EXPECT_EQ(PrintLegibility(shapes, Layout(settings, 1), settings, labels, 5).RegionsUnderMinimum,
              1);
    // Two pages across and down print every region twice as wide.
    const TLegibilityReport big = PrintLegibility(shapes, Layout(settings, 2), settings, {}, 2.5);
    EXPECT_NEAR(big.SmallestDiameterMm, 2 * small.SmallestDiameterMm, 0.3);
    EXPECT_EQ(big.Labels, 0);
    EXPECT_EQ(big.RegionsWithoutFittingNumber, 3);
}

TEST(LegibilityText, LinesAndTheOneLineReport) {
    TLegibilityReport r;
    r.Regions = 120;
    r.SmallestDiameterMm = 0.854;
    r.RegionsUnderMinimum = 14;
    r.Labels = 130;
    r.SmallestNumberPt = 4;
    r.RegionsWithoutFittingNumber = 3;
    r.RegionsWithoutLegibleNumber = 9;
    EXPECT_EQ(LegibilityReportText(r, 2.5),
              "legibility: 120 regions; the narrowest 0.85 mm across; 14 under 2.5 mm; the "
              "smallest number 4 pt; 3 regions with no number that fits");
    const std::vector<std::string> lines = LegibilityReportLines(r, 2.5);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "Narrowest region: 0.85 mm across");
    EXPECT_EQ(lines[1], "Regions under 2.5 mm: 14 of 120");
    EXPECT_EQ(lines[2], "Smallest number: 4 pt");
    EXPECT_EQ(lines[3], "Regions without a number that fits: 3 (under 6 pt: 9)");
    EXPECT_FALSE(LegibleEnough(r));
    r.Labels = 0;
    EXPECT_EQ(LegibilityReportLines(r, 3)[2], "Smallest number: no numbers are printed");
    EXPECT_EQ(LegibilityReportLines(r, 3)[1], "Regions under 3 mm: 14 of 120");
    // The window's decimal point.
    EXPECT_EQ(LegibilityReportLines(r, 2.5, ',')[0], "Narrowest region: 0,85 mm across");
    EXPECT_EQ(LegibilityReportLines(r, 2.5, ',')[1], "Regions under 2,5 mm: 14 of 120");
    r.RegionsUnderMinimum = 0;
    r.RegionsWithoutLegibleNumber = 0;
    EXPECT_TRUE(LegibleEnough(r));
}

TEST(LegibilityText, TheDialogsReportOnAWorkerPlacesTheNumbersPrintingWould) {
    auto shapes = std::make_shared<const TShapeList>(Painting());
    TPrintDialogState dialog;
    dialog.SetPrinter(MetricsForPaper(PaperSizeOfCode(PaperA4), poPortrait, 600, 600, 0.25),
                      poPortrait);
    dialog.SetPaintingSize(200, 120);
    ASSERT_FALSE(dialog.Show());
    TDialogLegibilityInput in;
    in.Shapes = shapes;
    RebuildPaintingPalette(in.Palette, *shapes);
    in.Layout = dialog.Layout();
    in.Settings = dialog.Settings();
    in.Generation = 5;
    TNullProgress quiet;

    // Without numbers nothing is placed and the report says so.
    in.Settings.PrintNumbers = false;
    const TDialogLegibility bare = DialogLegibility(in, quiet);
    EXPECT_EQ(bare.Generation, 5u);
    EXPECT_FALSE(bare.PlacedLabels);
    EXPECT_EQ(bare.Report.Labels, 0);
    EXPECT_EQ(bare.Report.Regions, 3);
    EXPECT_EQ(bare.Lines, LegibilityReportLines(bare.Report, 2.5));
    ASSERT_EQ(bare.Lines.size(), 3u);
    EXPECT_EQ(bare.Lines[2], "Numbers are not printed (\"#'s?\" is unchecked)");
    EXPECT_EQ(bare.Report.RegionsWithoutFittingNumber, 0) << "no region misses a number";
    EXPECT_EQ(bare.Legible, bare.Report.RegionsUnderMinimum == 0);

    // With numbers and none placed yet: placed here as printing places them, kept for the next
    // report; given, they are used as they are.
    in.Settings.PrintNumbers = true;
    test::TRecordingProgress progress;
    const TDialogLegibility placed = DialogLegibility(in, progress);
    TNullMessages messages;
    const std::vector<TPrintLabel> expected = PlaceNumbers(*shapes, in.Palette, quiet, messages);
    ASSERT_TRUE(placed.PlacedLabels);
    EXPECT_EQ(*placed.PlacedLabels, expected);
    EXPECT_EQ(placed.Report.Labels, static_cast<int>(expected.size()));
    EXPECT_EQ(progress.Messages, std::vector<std::string>{PlacingNumbersMessage});
    in.Labels = std::vector<TPrintLabel>{expected.front()};
    in.DecimalPoint = ',';
    const TDialogLegibility given = DialogLegibility(in, quiet);
    EXPECT_EQ(given.Lines, LegibilityReportLines(given.Report, 2.5, ','));
    EXPECT_FALSE(given.PlacedLabels);
    EXPECT_EQ(given.Report.Labels, 1);
    EXPECT_GT(given.Report.RegionsWithoutFittingNumber, placed.Report.RegionsWithoutFittingNumber);

    // Stopped while placing, it throws.
    in.Labels.reset();
    test::TRecordingProgress stop;
    stop.AbortAt = 0;
    EXPECT_THROW(DialogLegibility(in, stop), EAborted);
}

TEST(LegibilityText, TheDialogsWorkerMeasuresAPaintingOnceForEveryLayout) {
    auto shapes = std::make_shared<const TShapeList>(Painting());
    TDialogLegibilityInput in;
    in.Shapes = shapes;
    in.Generation = 3;
    in.Cache = std::make_shared<TDialogLegibilityCache>();
    TNullProgress quiet;
    TNullMessages messages;
    TNamedPalette palette;
    RebuildPaintingPalette(palette, *shapes);
    in.Settings.PrintNumbers = true;
    in.Labels = PlaceNumbers(*shapes, palette, quiet, messages);
    for (const int across : {1, 2, 3, 1}) {
        SCOPED_TRACE(across);
        in.Layout = Layout(in.Settings, across);
        const TDialogLegibility r = DialogLegibility(in, quiet);
        const TLegibilityReport alone =
            PrintLegibility(*shapes, in.Layout, in.Settings, *in.Labels, in.MinDiameterMm);
        EXPECT_EQ(r.Report.SmallestNumberPt, alone.SmallestNumberPt);
        EXPECT_EQ(r.Report.RegionsWithoutFittingNumber, alone.RegionsWithoutFittingNumber);
        EXPECT_EQ(r.Report.RegionsWithoutLegibleNumber, alone.RegionsWithoutLegibleNumber);
        EXPECT_EQ(r.Report.Regions, alone.Regions);
        EXPECT_DOUBLE_EQ(r.Report.SmallestDiameterMm, alone.SmallestDiameterMm);
        EXPECT_EQ(r.Report.RegionsUnderMinimum, alone.RegionsUnderMinimum);
        EXPECT_EQ(in.Cache->Generation, 3u);
        ASSERT_TRUE(in.Cache->Measured);
    }
    // Another generation is measured afresh: here a painting without the small box.
    auto fewer = std::make_shared<TShapeList>();
    fewer->Append(MakeFrameShape(200, 120));
    fewer->Append(MakeShape(MakeColor(200, 200, 200), Rect(0, 0, 200, 120)));
    fewer->Append(MakeShape(MakeColor(200, 40, 40), Rect(20, 20, 80, 80)));
    in.Shapes = fewer;
    in.Generation = 4;
    in.Settings.PrintNumbers = false;
    EXPECT_EQ(DialogLegibility(in, quiet).Report.Regions, 2);
    EXPECT_EQ(in.Cache->Generation, 4u);
}

TEST(LegibilityText, TheDialogsReportIsMadeAgainOnlyWhenWhatDecidesItChanged) {
    TDialogLegibilityInput a;
    a.Shapes = std::make_shared<const TShapeList>(Painting());
    TPrintDialogState dialog;
    dialog.SetPaintingSize(200, 120);
    ASSERT_FALSE(dialog.Show());
    a.Layout = dialog.Layout();
    a.Settings = dialog.Settings();
    a.Settings.PrintNumbers = true;
    const TDialogLegibilityKey key = DialogLegibilityKey(a);
    TDialogLegibilityInput b = a;
    b.Settings.FillWith = a.Settings.FillWith == 0 ? 1 : 0;
    b.Settings.RegistrationMarks = !a.Settings.RegistrationMarks;
    b.Labels = std::vector<TPrintLabel>{};
    EXPECT_EQ(DialogLegibilityKey(b), key)
        << "fills and marks do not change a region's size; the numbers are the generation's";
    const auto differs = [&](auto change) {
        TDialogLegibilityInput c = a;
        change(c);
        return !(DialogLegibilityKey(c) == key);
    };
    EXPECT_TRUE(differs([](auto& c) { c.Generation = 1; }));
    EXPECT_TRUE(differs([](auto& c) { c.Settings.PrintNumbers = false; }));
    EXPECT_TRUE(differs([](auto& c) { c.MinDiameterMm = 3; }));
    EXPECT_TRUE(differs([](auto& c) { c.Settings.Frame.Width -= 10; }));
    EXPECT_TRUE(differs([&](auto& c) {
        ASSERT_TRUE(dialog.EditPagesAcross("2"));
        ASSERT_FALSE(dialog.Recompute());
        c.Layout = dialog.Layout();
    }));
}

} // namespace
} // namespace pigmentaria
