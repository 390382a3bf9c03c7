#include "print/print_dialog.h"

#include "print_fakes.h"

#include <gtest/gtest.h>

#include <cmath>

namespace pigmentaria {
namespace {

using test::LetterAt600;

// Letter at 600 dpi whose unprintable margins add up to 0.3 inch across and 0.4 inch down.
TPrinterMetrics UnevenMargins() {
    TPrinterMetrics m = LetterAt600();
    m.PhysicalOffsetX = 90;
    m.PhysicalOffsetY = 120;
    m.PrintableWidth = 5100 - 180;
    m.PrintableHeight = 6600 - 240;
    return m;
}

// A dialog on letter paper with half-inch margins, for a painting of 400 × 300.
TPrintDialogState Dialog(int paintingWidth = 400, int paintingHeight = 300) {
    TPrintDialogState d;
    d.SetPrinter(LetterAt600(0.25), poPortrait);
    d.SetPaintingSize(paintingWidth, paintingHeight);
    EXPECT_FALSE(d.Show());
    return d;
}

TEST(PrintDialogEdits, TextsAreReadTrimmedAndRefusedWhenNotNumbers) {
    EXPECT_EQ(ReadPageEdit(" 3 "), 3);
    EXPECT_EQ(ReadPageEdit("0"), 0);
    EXPECT_FALSE(ReadPageEdit(""));
    EXPECT_FALSE(ReadPageEdit("x"));
    EXPECT_FALSE(ReadPageEdit("100"));
    EXPECT_EQ(ReadOverlapEdit(" 1.25"), 1.25);
    EXPECT_EQ(ReadOverlapEdit("0,5", ','), 0.5);
    EXPECT_EQ(ReadOverlapEdit("0.5", ','), 0.5);
    EXPECT_FALSE(ReadOverlapEdit("."));
    EXPECT_FALSE(ReadOverlapEdit(""));
    EXPECT_FALSE(ReadOverlapEdit("5000"));
    EXPECT_EQ(OverlapEditText(0.9), "0.9");
    EXPECT_EQ(OverlapEditText(0.9, ','), "0,9");
    EXPECT_NE(NotANumberMessage("abc").find("'abc'"), std::string::npos);
}

TEST(PrintDialogLayout, AnEditThatIsNotANumberLeavesTheLayoutAsItWas) {
    TPrintDialogState d = Dialog();
    EXPECT_TRUE(d.EditPagesAcross("2"));
    EXPECT_FALSE(d.Recompute());
    const TPrintLayout before = d.Layout();
    EXPECT_EQ(before.PagesAcross, 2);

    EXPECT_TRUE(d.EditPagesDown(""));
    const std::optional<std::string> problem = d.Recompute();
    ASSERT_TRUE(problem);
    EXPECT_EQ(*problem, NotANumberMessage(""));
    EXPECT_EQ(d.Layout().PagesDown, before.PagesDown);
    EXPECT_EQ(d.Layout().TotalWidth, before.TotalWidth);
    EXPECT_EQ(d.Settings().PagesDown, 1);

    // Fixed, the edit's value is taken.
    d.EditPagesDown("3");
    EXPECT_FALSE(d.Recompute());
    EXPECT_EQ(d.Layout().PagesDown, 3);
    EXPECT_EQ(d.Layout().TotalHeight, 3 * 6600 - 2 * d.Layout().OverlapY);
}

TEST(PrintDialogLayout, ARaisedOverlapIsWrittenBackIntoItsEdit) {
    TPrintDialogState d;
    d.SetPrinter(UnevenMargins(), poPortrait);
    d.SetPaintingSize(100, 100);
    d.EditOverlap("0.5");
    EXPECT_FALSE(d.Show());
    EXPECT_EQ(d.Texts().Overlap, "0.9");
    EXPECT_DOUBLE_EQ(d.Settings().Overlap, 0.9);
    EXPECT_DOUBLE_EQ(d.Layout().OverlapIn, 0.9);
    EXPECT_EQ(d.Block({}).Overlap, 0.9);

    // An overlap large enough stays as typed.
    d.EditOverlap("1.25");
    EXPECT_FALSE(d.Recompute());
    EXPECT_EQ(d.Texts().Overlap, "1.25");

    // The window's decimal point is written back.
    TPrintDialogState comma;
    comma.SetDecimalPoint(',');
    comma.SetPrinter(UnevenMargins(), poPortrait);
    comma.EditOverlap("0,2");
    EXPECT_FALSE(comma.Recompute());
    EXPECT_EQ(comma.Texts().Overlap, "0,9");
    EXPECT_EQ(comma.PrintSizeLabel(), "Total Print Size: 8,5\" x 11\"");
}

TEST(PrintDialogChanges, EveryKeptChoiceIsAChangeOfThePaintingOnceAndTheNumbersAreNot) {
    TPrintDialogState d = Dialog();
    const TPrintLayoutBlock start = d.Block({});
    EXPECT_TRUE(d.SetRegistrationMarks(false));
    EXPECT_FALSE(d.SetRegistrationMarks(false));
    EXPECT_TRUE(d.SetOutlinesBlack(false));
    EXPECT_FALSE(d.SetOutlinesBlack(false));
    EXPECT_TRUE(d.SetLineWeight(4));
    EXPECT_FALSE(d.SetLineWeight(4));
    EXPECT_TRUE(d.SetOutlinesOnly(false));
    EXPECT_TRUE(d.SetFillWith(fwBlack));
    EXPECT_FALSE(d.SetFillWith(fwBlack));
    EXPECT_FALSE(d.SetFillWith(7));
    EXPECT_TRUE(d.SetWhatToPrint(wpCurrentColor));
    EXPECT_FALSE(d.SetWhatToPrint(wpCurrentColor));
    EXPECT_TRUE(d.EditPagesAcross("2"));
    EXPECT_FALSE(d.EditPagesAcross("2"));
    EXPECT_TRUE(d.EditOverlap("1.5"));

    const TPrintLayoutBlock changed = d.Block({});
    EXPECT_FALSE(changed.RegistrationMarks);
    EXPECT_FALSE(changed.OutlinesInBlack);
    EXPECT_EQ(changed.LineWeight, 4);
    EXPECT_FALSE(changed.OutlinesOnly);
    EXPECT_EQ(changed.FillWith, fwBlack);
    EXPECT_EQ(changed.WhatToPrint, wpCurrentColor);
    // The edits are kept as they read, before the layout follows them.
    EXPECT_EQ(changed.PagesAcross, 2);
    EXPECT_EQ(changed.Overlap, 1.5);
    EXPECT_FALSE(changed == start);

    // Numbers and page numbers are the dialog's own: the block does not change with them.
    d.SetPrintNumbers(true);
    d.SetPageNumbers(true);
    EXPECT_TRUE(d.Block({}) == changed);
    EXPECT_TRUE(d.Settings().PrintNumbers);
    EXPECT_TRUE(d.Settings().PageNumbers);
}

TEST(PrintDialogChanges, WhatToPrintRulesTheOutlineAndFillControls) {
    TPrintDialogState d = Dialog();
    TPrintControlsEnabled e = d.Enabled();
    EXPECT_TRUE(e.OutlinesOnly && e.OutlinesBlack && e.LineWeight);
    EXPECT_FALSE(e.FillWith);

    EXPECT_TRUE(d.SetWhatToPrint(wpSelected));
    EXPECT_FALSE(d.Settings().OutlinesOnly);
    e = d.Enabled();
    EXPECT_FALSE(e.OutlinesOnly);
    EXPECT_FALSE(e.OutlinesBlack);
    EXPECT_FALSE(e.LineWeight);
    EXPECT_TRUE(e.FillWith);
    // Outlines only cannot come back while only some shapes print.
    EXPECT_FALSE(d.SetOutlinesOnly(true));
    EXPECT_FALSE(d.Settings().OutlinesOnly);

    EXPECT_TRUE(d.SetWhatToPrint(wpAll));
    e = d.Enabled();
    EXPECT_TRUE(e.OutlinesOnly);
    EXPECT_TRUE(e.FillWith); // still filling until the user goes back
    EXPECT_TRUE(d.SetOutlinesOnly(true));
    e = d.Enabled();
    EXPECT_TRUE(e.OutlinesBlack && e.LineWeight);
    EXPECT_FALSE(e.FillWith);
}

TEST(PrintDialogShowing, AHiddenFrameIsPlacedAfreshAndAShownOneKept) {
    TPrintDialogState d = Dialog(400, 300);
    const TPlacementFrame first = d.Frame();
    EXPECT_TRUE(first.Visible);
    EXPECT_EQ(first, FirstPlacementFrame(d.Layout(), 400, 300));
    EXPECT_EQ(d.Handle(), SizeHandleAt(first));
    EXPECT_EQ(d.ImageSizeLabel(), ImageSizeText(d.Layout(), first));

    d.FrameMouseDown({90, 90});
    EXPECT_TRUE(d.FrameMouseMove({80, 95}));
    d.FrameMouseUp();
    const TPlacementFrame moved = d.Frame();
    EXPECT_FALSE(d.Show());
    EXPECT_EQ(d.Frame(), moved);

    // A new painting: the next showing places a frame for its proportions.
    d.HideFrame();
    d.SetPaintingSize(300, 600);
    EXPECT_FALSE(d.Show());
    EXPECT_EQ(d.Frame(), FirstPlacementFrame(d.Layout(), 300, 600));

    // "Change..." places it afresh too, also over a shown frame.
    d.FrameMouseDown({90, 90});
    d.FrameMouseMove({60, 60});
    d.FrameMouseUp();
    d.SetPrinter(MetricsForPaper(PaperSizeOfCode(PaperLetter), poLandscape, 600, 600, 0.25),
                 poLandscape);
    EXPECT_FALSE(d.PrinterChanged());
    EXPECT_EQ(d.OrientationLabel(), "Landscape");
    EXPECT_EQ(d.Frame(), FirstPlacementFrame(d.Layout(), 300, 600));
}

TEST(PrintDialogShowing, EachShowingNumbersThePaintingAtMostOnce) {
    TPrintDialogState d = Dialog();
    EXPECT_FALSE(d.NumbersWanted());
    d.SetPrintNumbers(true);
    EXPECT_TRUE(d.NumbersWanted());
    d.MarkNumbersAdded();
    EXPECT_FALSE(d.NumbersWanted());
    EXPECT_FALSE(d.Show());
    EXPECT_TRUE(d.NumbersWanted());
    // A painting traced again while the dialog shows has lost its numbers: placed again, the
    // frame where it was.
    d.MarkNumbersAdded();
    const TPlacementFrame frame = d.Frame();
    d.ForgetNumbers();
    EXPECT_TRUE(d.NumbersWanted());
    EXPECT_EQ(d.Frame(), frame);
}

TEST(PrintDialogFrame, DraggingKeepsTenPixelsInsideThePanelOnEverySide) {
    TPrintDialogState d = Dialog();
    const TPlacementFrame f = d.Frame();
    d.FrameMouseDown({f.Left + 5, f.Top + 5});
    EXPECT_TRUE(d.Dragging());
    EXPECT_TRUE(d.FrameMouseMove({-5000, -5000}));
    EXPECT_EQ(d.Frame().Left + d.Frame().Width, 10);
    EXPECT_EQ(d.Frame().Top + d.Frame().Height, 10);
    EXPECT_EQ(d.Frame().Width, f.Width);
    EXPECT_EQ(d.Frame().Height, f.Height);
    EXPECT_EQ(d.Handle(), SizeHandleAt(d.Frame()));
    // Held at the edge: further pulling moves nothing.
    EXPECT_FALSE(d.FrameMouseMove({-6000, -6000}));
    EXPECT_TRUE(d.FrameMouseMove({5000, 5000}));
    EXPECT_EQ(d.Frame().Left, SamplePanelWidth - 10);
    EXPECT_EQ(d.Frame().Top, SamplePanelHeight - 10);
    d.FrameMouseUp();
    EXPECT_FALSE(d.Dragging());
    EXPECT_FALSE(d.FrameMouseMove({0, 0}));
}

TEST(PrintDialogFrame, SizingNeverChangesTheProportionsAndStaysInThePanel) {
    for (const auto& [w, h] : {std::pair{400, 300}, std::pair{300, 700}, std::pair{1000, 97}}) {
        TPrintDialogState d = Dialog(w, h);
        const double ratio = static_cast<double>(h) / w;
        TPoint mouse = d.Handle();
        d.HandleMouseDown(mouse);
        EXPECT_TRUE(d.Sizing());
        for (const TPoint step : {TPoint{-30, -7}, TPoint{15, 40}, TPoint{400, 3}, TPoint{-2, -900},
                                  TPoint{900, 900}}) {
            mouse = {mouse.X + step.X, mouse.Y + step.Y};
            d.HandleMouseMove(mouse);
            const TPlacementFrame& f = d.Frame();
            // Truncation costs at most one pixel of the side that follows the other.
            EXPECT_LE(std::fabs(f.Height - f.Width * ratio), std::max(1.0, ratio) + 1e-9)
                << w << "x" << h << " " << f.Width << "x" << f.Height;
            EXPECT_LE(d.Handle().X, SamplePanelWidth - 10);
            EXPECT_LE(d.Handle().Y, SamplePanelHeight - 10);
            EXPECT_GE(d.Handle().X, f.Left);
            EXPECT_GE(d.Handle().Y, f.Top);
            // The frame never runs past the handle that sizes it.
            EXPECT_LE(f.Left + f.Width - 7, d.Handle().X);
            EXPECT_LE(f.Top + f.Height - 7, d.Handle().Y);
        }
        d.HandleMouseUp();
        EXPECT_FALSE(d.Sizing());
        EXPECT_EQ(d.Handle(), SizeHandleAt(d.Frame()));
        EXPECT_EQ(d.ImageSizeLabel(), ImageSizeText(d.Layout(), d.Frame()));
    }
}

TEST(PrintDialogBlock, AReadBlockBringsItsSettingsFrameAndOverlapAndKeepsTheNumbers) {
    TPrintDialogState d = Dialog();
    d.SetPrintNumbers(true);
    TPrintLayoutBlock b;
    b.PagesAcross = 3;
    b.PagesDown = 2;
    b.Overlap = 1.5;
    b.WhatToPrint = wpSelected;
    b.OutlinesOnly = true; // contradicts the choice: filling wins
    b.LineWeight = 5;
    b.FillWith = fwColor;
    b.FrameLeft = 20;
    b.FrameTop = 30;
    b.FrameWidth = 100;
    b.FrameHeight = 75;
    d.ApplyBlock(b);
    EXPECT_EQ(d.Texts(), (TPrintEditTexts{"3", "2", "1.5"}));
    EXPECT_FALSE(d.Settings().OutlinesOnly);
    EXPECT_EQ(d.Frame(), (TPlacementFrame{20, 30, 100, 75, true}));
    EXPECT_EQ(d.Handle(), (TPoint{113, 98}));
    EXPECT_TRUE(d.Settings().PrintNumbers);
    EXPECT_FALSE(d.Show());
    EXPECT_EQ(d.Layout().PagesAcross, 3);
    EXPECT_EQ(d.Frame(), (TPlacementFrame{20, 30, 100, 75, true}));

    // Written back, with the printer's paper, it is the same block.
    TPrintLayoutBlock expected = b;
    expected.OutlinesOnly = false;
    expected.PaperSize = PaperA4;
    expected.Orientation = 1;
    EXPECT_TRUE(d.Block({1, PaperA4, 0, 0}) == expected);

    // A hidden frame is written as zeros.
    d.HideFrame();
    const TPrintLayoutBlock hidden = d.Block({});
    EXPECT_EQ(hidden.FrameWidth, 0);
    EXPECT_EQ(hidden.FrameLeft, 0);
}

TEST(PrintDialogBlock, NoPagesLeaveNothingToPrint) {
    TPrintDialogState d = Dialog();
    EXPECT_TRUE(d.HasPages());
    d.EditPagesDown("0");
    EXPECT_FALSE(d.HasPages());
    EXPECT_FALSE(d.Recompute());
    EXPECT_EQ(d.Layout().PagesDown, 0);
    d.EditPagesDown("1");
    EXPECT_TRUE(d.HasPages());
}

} // namespace
} // namespace pigmentaria
