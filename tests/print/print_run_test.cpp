#include "print/print_run.h"

#include "print/palette_printout.h"
#include "print_fakes.h"
#include "test_util.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace pigmentaria {
namespace {

using test::LetterAt600;
using test::TRecordingPrinter;
using test::TRecordingProgress;

const TColor Red = MakeColor(255, 0, 0);

// A painting of 200 × 100 with a red square, ready to print 2 × 1 with numbers.
TPrintRunInput Input(bool numbersAdded) {
    TPrintRunInput in;
    in.Painting = std::make_unique<TPrintSnapshot>();
    TPrintSnapshot& p = *in.Painting;
    p.Shapes.Append(MakeFrameShape(200, 100));
    p.Shapes.Append(MakeShape(Red, {{20, 20}, {80, 20}, {80, 80}, {20, 80}}));
    RebuildPaintingPalette(p.Palette, p.Shapes);
    p.Generation = 7;
    if (numbersAdded) p.Labels = {{"9", 1, 1, 5, 5}};
    in.Settings.PagesAcross = 2;
    in.Settings.PrintNumbers = true;
    in.Layout = ComputePrintLayout(LetterAt600(), poPortrait, in.Settings);
    in.Settings.Frame = FirstPlacementFrame(in.Layout, 200, 100);
    in.NumbersAdded = numbersAdded;
    in.Title = "Pigmentaria - a.kvp";
    return in;
}

TEST(PrintRun, NumbersTheCopyWhenThisShowingHasNotAndHandsTheLabelsBack) {
    TRecordingPrinter printer(LetterAt600());
    TRecordingProgress progress;
    const TPrintRunResult r = PrintRun(Input(false), printer, progress);
    EXPECT_EQ(progress.Messages,
              (std::vector<std::string>{PlacingNumbersMessage, PrintingMessage}));
    ASSERT_TRUE(r.Numbering);
    EXPECT_EQ(r.Numbering->Generation, 7u);
    ASSERT_FALSE(r.Numbering->Labels.empty());
    EXPECT_EQ(printer.Titles, std::vector<std::string>{"Pigmentaria - a.kvp"});
    EXPECT_EQ(printer.Ended, 1);
    EXPECT_EQ(printer.Canvas().Page, 2);
    // The labels printed are those handed back.
    std::size_t drawn = 0;
    for (const auto& t : printer.Canvas().Texts)
        for (const TNumberLabel& l : r.Numbering->Labels)
            if (t.Text == l.Text) ++drawn;
    EXPECT_GT(drawn, 0u);
    EXPECT_EQ(r.Layout.PagesAcross, 2);
}

TEST(PrintRun, AShowingThatNumberedAlreadyPrintsTheLabelsItHas) {
    TRecordingPrinter printer(LetterAt600());
    TRecordingProgress progress;
    const TPrintRunResult r = PrintRun(Input(true), printer, progress);
    EXPECT_EQ(progress.Messages, std::vector<std::string>{PrintingMessage});
    EXPECT_FALSE(r.Numbering);
    bool nine = false;
    for (const auto& t : printer.Canvas().Texts)
        nine = nine || t.Text == "9";
    EXPECT_TRUE(nine);
}

TEST(PrintRun, StoppedOrFailingTheJobIsAbandonedAndNothingHandedBack) {
    {
        TRecordingPrinter printer(LetterAt600());
        TRecordingProgress progress;
        progress.AbortAt = 1;
        EXPECT_THROW(PrintRun(Input(true), printer, progress), EAborted);
        EXPECT_EQ(printer.Begun, 1);
        EXPECT_EQ(printer.Aborted, 1);
        EXPECT_EQ(printer.Ended, 0);
    }
    // A printer whose second sheet fails.
    struct TFailingPrinter final : IPrinter {
        TRecordingPrinter Inner{LetterAt600()};
        int Aborted = 0, Ended = 0;
        std::string Name() const override { return "failing"; }
        TPrinterMetrics Metrics() const override { return Inner.Metrics(); }
        TPaperChoice Paper() const override { return Inner.Paper(); }
        void ApplyPaper(const TPaperChoice& p) override { Inner.ApplyPaper(p); }
        void BeginDoc(const std::string& t) override { Inner.BeginDoc(t); }
        void NewPage() override { throw std::runtime_error("out of paper"); }
        void EndDoc() override { ++Ended; }
        void AbortDoc() override { ++Aborted; }
        TPageCanvas& Canvas() override { return Inner.Canvas(); }
    } failing;
    TRecordingProgress progress;
    EXPECT_THROW(PrintRun(Input(false), failing, progress), std::runtime_error);
    EXPECT_EQ(failing.Aborted, 1);
    EXPECT_EQ(failing.Ended, 0);
    EXPECT_EQ(progress.Finishes, progress.Starts);
}

TEST(PalettePrintRun, ThePaletteCountsItsColoursAndIsAbandonedWhenStopped) {
    std::vector<TColor> colors;
    for (int i = 0; i < 30; ++i)
        colors.push_back(MakeColor(i, 0, 0));
    TRecordingPrinter printer(LetterAt600());
    TRecordingProgress progress;
    PrintPalette(printer, colors, {}, progress);
    EXPECT_EQ(progress.Messages, std::vector<std::string>{PaletteJobMessage});
    EXPECT_EQ(progress.Max, 30);
    EXPECT_EQ(progress.Positions.back(), 30);
    EXPECT_EQ(printer.Ended, 1);

    TRecordingPrinter stopped(LetterAt600());
    TRecordingProgress stop;
    stop.AbortAt = 5;
    EXPECT_THROW(PrintPalette(stopped, colors, {}, stop), EAborted);
    EXPECT_EQ(stopped.Aborted, 1);
    EXPECT_EQ(stopped.Ended, 0);
    EXPECT_EQ(stopped.Canvas().Rects.size(), 6u);
}

} // namespace
} // namespace pigmentaria
