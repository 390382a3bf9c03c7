#include "print/print_layout.h"

#include "print_fakes.h"

#include <gtest/gtest.h>

namespace pigmentaria {
namespace {

using test::LetterAt600;

TPrintSettings Grid(int across, int down, double overlap = 1.0) {
    TPrintSettings s;
    s.PagesAcross = across;
    s.PagesDown = down;
    s.Overlap = overlap;
    return s;
}

TEST(PrintSettings, DefaultsAreThoseOfAFreshDialog) {
    const TPrintSettings s;
    EXPECT_EQ(s.PagesAcross, 1);
    EXPECT_EQ(s.PagesDown, 1);
    EXPECT_EQ(s.Overlap, 1.0);
    EXPECT_TRUE(s.RegistrationMarks);
    EXPECT_TRUE(s.OutlinesOnly);
    EXPECT_TRUE(s.OutlinesBlack);
    EXPECT_EQ(s.LineWeight, 1);
    EXPECT_EQ(s.FillWith, fwGray);
    EXPECT_FALSE(s.PrintNumbers);
    EXPECT_EQ(s.WhatToPrint, wpAll);
    EXPECT_FALSE(s.PageNumbers);
    EXPECT_FALSE(s.Frame.Visible);
}

TEST(PrintSettings, ChoosingSelectedOrColourFillsAndAllShapesReenablesOutlines) {
    TPrintSettings s;
    SetWhatToPrint(s, wpSelected);
    EXPECT_FALSE(s.OutlinesOnly);
    TPrintControlsEnabled e = PrintControlsEnabled(s);
    EXPECT_FALSE(e.OutlinesOnly);
    EXPECT_TRUE(e.FillWith);
    EXPECT_FALSE(e.OutlinesBlack);
    EXPECT_FALSE(e.LineWeight);

    SetWhatToPrint(s, wpAll);
    e = PrintControlsEnabled(s);
    EXPECT_TRUE(e.OutlinesOnly);
    EXPECT_FALSE(s.OutlinesOnly); // the radio buttons keep their state
    s.OutlinesOnly = true;
    e = PrintControlsEnabled(s);
    EXPECT_TRUE(e.OutlinesBlack);
    EXPECT_TRUE(e.LineWeight);
    EXPECT_FALSE(e.FillWith);
}

TEST(PrintSettings, LineWeightsAtSixHundredDpi) {
    EXPECT_EQ(LineWeightPenWidth(1, 600), 1);
    EXPECT_EQ(LineWeightPenWidth(2, 600), 9);
    EXPECT_EQ(LineWeightPenWidth(3, 600), 18);
    EXPECT_EQ(LineWeightPenWidth(4, 600), 37);
    EXPECT_EQ(LineWeightPenWidth(5, 600), 56);
    EXPECT_EQ(LineWeightPenWidth(6, 600), 75);
    EXPECT_EQ(LineWeightPenWidth(2, 50), 1); // never thinner than a device pixel
    EXPECT_EQ(LineWeightHint(1), "Hairline");
    EXPECT_EQ(LineWeightHint(2), "1/64\"");
    EXPECT_EQ(LineWeightHint(6), "1/8\"");
}

TEST(PrintLayoutBlock, RoundTripsTheSettingsAndHidesAnUnshownFrame) {
    TPrintSettings s = Grid(3, 2, 1.25);
    s.RegistrationMarks = false;
    s.OutlinesOnly = false;
    s.OutlinesBlack = false;
    s.LineWeight = 4;
    s.FillWith = fwBlack;
    s.Frame = {20, 30, 100, 80, true};
    const TPaperChoice paper{1, PaperUser, 2000, 3000};
    const TPrintLayoutBlock b = MakePrintLayoutBlock(s, paper);
    EXPECT_EQ(b.FrameLeft, 20);
    EXPECT_EQ(b.FrameTop, 30);
    EXPECT_EQ(PaperOfBlock(b), paper);

    TPrintSettings back;
    back.Overlap = 2.0;
    ApplyPrintLayoutBlock(b, back);
    EXPECT_EQ(back.Overlap, 2.0); // the dialog keeps its own overlap
    ApplyPrintLayoutBlock(b, back, true);
    EXPECT_EQ(back, s);

    s.Frame.Visible = false;
    const TPrintLayoutBlock hidden = MakePrintLayoutBlock(s, paper);
    EXPECT_EQ(hidden.FrameLeft, 0);
    EXPECT_EQ(hidden.FrameWidth, 0);
    ApplyPrintLayoutBlock(hidden, back);
    EXPECT_FALSE(back.Frame.Visible);
}

TEST(PrintLayoutBlock, ValuesOutOfRangeAreBroughtIntoIt) {
    TPrintLayoutBlock b;
    b.WhatToPrint = 7;
    b.FillWith = -1;
    b.LineWeight = 40;
    b.PagesAcross = 1000000;
    b.PagesDown = -5;
    b.Overlap = 1e300;
    TPrintSettings s;
    ApplyPrintLayoutBlock(b, s, true);
    EXPECT_EQ(s.WhatToPrint, wpAll);
    EXPECT_EQ(s.FillWith, fwGray);
    EXPECT_EQ(s.LineWeight, 6);
    EXPECT_EQ(s.PagesAcross, 99);
    EXPECT_EQ(s.PagesDown, 0);
    EXPECT_EQ(s.Overlap, 1.0);

    b = {};
    b.WhatToPrint = wpSelected;
    b.OutlinesOnly = 1; // contradicts the choice, which always fills
    ApplyPrintLayoutBlock(b, s);
    EXPECT_FALSE(s.OutlinesOnly);
}

TEST(PrintLayout, LetterTwoAcrossWithAnInchOfOverlap) {
    TPrintSettings s = Grid(2, 1);
    const TPrintLayout l = ComputePrintLayout(LetterAt600(), poPortrait, s);
    EXPECT_EQ(l.PhysicalWidth, 5100);
    EXPECT_EQ(l.PhysicalHeight, 6600);
    EXPECT_EQ(l.OverlapX, 600);
    EXPECT_EQ(l.OverlapY, 600);
    EXPECT_EQ(l.TotalWidth, 9600);
    EXPECT_EQ(l.TotalHeight, 6600);
    EXPECT_DOUBLE_EQ(l.SampleScale, 177.0 / 9600);
    EXPECT_DOUBLE_EQ(l.SampleScaleX, 177.0 / 16);
    EXPECT_EQ(l.SampleOriginX, 0);
    EXPECT_EQ(l.SampleOriginY, 28); // (177 - 121) / 2
    EXPECT_EQ(PaperSizeText(l), "8.5\" x 11\"");
    EXPECT_EQ(PrintSizeText(l), "Total Print Size: 16\" x 11\"");
    EXPECT_EQ(OrientationText(l), "Portrait");
    EXPECT_EQ(s.Overlap, 1.0);
}

TEST(PrintLayout, OverlapIsRaisedToCoverEachAxisMarginsPlusHalfAnInch) {
    TPrinterMetrics m = LetterAt600();
    m.PrintableWidth = 5100 - 180;  // 0.3 inch unprintable across
    m.PrintableHeight = 6600 - 240; // 0.4 inch down
    m.PhysicalOffsetX = 90;
    m.PhysicalOffsetY = 120;
    TPrintSettings s = Grid(2, 2, 0.5);
    const TPrintLayout l = ComputePrintLayout(m, poPortrait, s);
    EXPECT_EQ(FormatGeneral(s.Overlap), "0.9");
    EXPECT_EQ(l.OverlapX, 540);
    EXPECT_EQ(l.OverlapY, 540);

    TPrintSettings wide = Grid(1, 1, 2.5);
    ComputePrintLayout(m, poPortrait, wide);
    EXPECT_EQ(wide.Overlap, 2.5); // a larger overlap stays
}

TEST(PrintLayout, NumbersAreWrittenInGeneralFormat) {
    EXPECT_EQ(FormatGeneral(8.5), "8.5");
    EXPECT_EQ(FormatGeneral(11), "11");
    EXPECT_EQ(FormatGeneral(0.1 + 0.2), "0.3");
    EXPECT_EQ(InchText(8.2666), "8.26\"");
}

TEST(PrintLayout, ATallGridIsScaledByItsHeightAndCentredAcross) {
    TPrintSettings s = Grid(1, 3);
    const TPrintLayout l = ComputePrintLayout(LetterAt600(), poPortrait, s);
    EXPECT_EQ(l.TotalHeight, 3 * 6600 - 2 * 600);
    EXPECT_DOUBLE_EQ(l.SampleScale, 177.0 / 18600);
    EXPECT_EQ(l.SampleOriginY, 0);
    EXPECT_EQ(l.SampleOriginX, (177 - 48) / 2); // 5100 scaled is 48.5
}

TEST(PrintLayout, NoPagesMakeAnEmptySampleWithoutDividingByZero) {
    TPrintSettings s = Grid(0, 0);
    s.Frame = {10, 10, 50, 50, true};
    const TPrintLayout l = ComputePrintLayout(LetterAt600(), poPortrait, s);
    const TRaster24 sample = DrawPrintSample(l);
    for (int y = 0; y < SampleSize; y += 16)
        for (int x = 0; x < SampleSize; x += 16)
            EXPECT_EQ(sample.GetPixel(x, y), MakeColor(240, 240, 240));
}

TEST(PrintSample, LaterPagesAreDrawnOverEarlierOnes) {
    TPrintSettings s = Grid(2, 1);
    const TPrintLayout l = ComputePrintLayout(LetterAt600(0.25), poPortrait, s);
    const TRaster24 sample = DrawPrintSample(l);
    const TColor silver = MakeColor(192, 192, 192);
    const int y = 28 + 60;                       // a row through the middle of both sheets
    EXPECT_EQ(sample.GetPixel(0, y), clBlack);   // page 1's left edge
    EXPECT_EQ(sample.GetPixel(1, y), silver);    // its left margin
    EXPECT_EQ(sample.GetPixel(10, y), clWhite);  // its printable area
    EXPECT_EQ(sample.GetPixel(82, y), clBlack);  // page 2's left edge, over page 1's white
    EXPECT_EQ(sample.GetPixel(83, y), silver);   // page 2's margin
    EXPECT_EQ(sample.GetPixel(100, y), clWhite); // page 2's printable area
    EXPECT_EQ(sample.GetPixel(100, 5), MakeColor(240, 240, 240)); // above the grid
}

TEST(PlacementFrame, FirstPlacementIsEightyPerCentOfTheGridWidthCentred) {
    TPrintSettings s = Grid(2, 1);
    const TPrintLayout l = ComputePrintLayout(LetterAt600(), poPortrait, s);
    const TPlacementFrame f = FirstPlacementFrame(l, 400, 300);
    EXPECT_TRUE(f.Visible);
    EXPECT_EQ(f.Width, 141);  // 0.8 × 177
    EXPECT_EQ(f.Height, 106); // with the painting's proportions
    EXPECT_EQ(f.Left, (SamplePanelWidth - 141) / 2);
    EXPECT_EQ(f.Top, (SamplePanelHeight - 106) / 2);
    EXPECT_EQ(SizeHandleAt(f), (TPoint{f.Left + 141 - 7, f.Top + 106 - 7}));
    EXPECT_EQ(ImageSizeText(l, f), "Image Size: 12.74\" x 9.58\"");
}

TEST(PlacementFrame, DraggingKeepsTenPixelsInsideThePanel) {
    TPrintSettings s = Grid(2, 1);
    const TPrintLayout l = ComputePrintLayout(LetterAt600(), poPortrait, s);
    // A tall painting in a wide grid: the frame runs past the panel's bottom.
    const TPlacementFrame tall = FirstPlacementFrame(l, 100, 400);
    EXPECT_GT(tall.Top + tall.Height, SamplePanelHeight);
    TPlacementFrame f = DragFrame(tall, 0, -1000);
    EXPECT_EQ(f.Top + f.Height, 10);
    f = DragFrame(tall, 0, 1000);
    EXPECT_EQ(f.Top, SamplePanelHeight - 10);
    f = DragFrame(tall, -1000, 0);
    EXPECT_EQ(f.Left + f.Width, 10);
    f = DragFrame(tall, 1000, 0);
    EXPECT_EQ(f.Left, SamplePanelWidth - 10);
    f = DragFrame(tall, 3, -4);
    EXPECT_EQ(f.Left, tall.Left + 3);
    EXPECT_EQ(f.Top, tall.Top - 4);
}

TEST(PlacementFrame, SizingKeepsThePaintingsProportions) {
    TPrintSettings s = Grid(1, 1);
    const TPrintLayout l = ComputePrintLayout(LetterAt600(), poPortrait, s);
    const TPlacementFrame first = FirstPlacementFrame(l, 400, 300);
    for (const TPoint move : {TPoint{-30, 5}, TPoint{10, -40}, TPoint{-200, -200}, TPoint{60, 0}}) {
        TPoint handle = SizeHandleAt(first);
        const TPlacementFrame f = SizeFrame(first, handle, move.X, move.Y, 400, 300);
        EXPECT_EQ(f.Left, first.Left);
        EXPECT_EQ(f.Top, first.Top);
        EXPECT_LE(handle.X, SamplePanelWidth - 10);
        EXPECT_LE(handle.Y, SamplePanelHeight - 10);
        EXPECT_GE(handle.X, first.Left);
        // Within one truncated pixel of 4:3.
        EXPECT_NEAR(f.Height, f.Width * 0.75, 1.0) << move.X << "," << move.Y;
    }
    // Taking the handle without moving it leaves the frame as it was.
    TPoint handle = SizeHandleAt(first);
    const TPlacementFrame same = SizeFrame(first, handle, 0, 0, 400, 300);
    EXPECT_NEAR(same.Width, first.Width, 1);
    EXPECT_NEAR(same.Height, first.Height, 1);
}

} // namespace
} // namespace pigmentaria
