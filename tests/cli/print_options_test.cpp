// The print and palette commands' arguments, read into the print options before any painting is.
#include "cli/arguments.h"
#include "cli/palette_command.h"
#include "cli/print_options.h"
#include "print/printer.h"

#include <gtest/gtest.h>

namespace pigmentaria::cli {
namespace {

using TArgs = std::vector<std::string>;

TEST(PrintArgs, EveryOptionLandsInThePrintOptions) {
    const TPrintCommandArgs a = ParsePrintArgs({"p.kvp",       "-o",
                                                "t.pdf",       "--across",
                                                "2",           "--down",
                                                "3",           "--overlap",
                                                "0.75",        "--fill",
                                                "Colour",      "--what",
                                                "color",       "--color",
                                                "ff8000",      "--line-weight",
                                                "5",           "--outline-color",
                                                "shape",       "--no-numbers",
                                                "--no-marks",  "--page-numbers",
                                                "--paper",     "A4",
                                                "--landscape", "--dpi",
                                                "300",         "--frame",
                                                "4,-5,60,40",  "--preview",
                                                "sheets"});
    EXPECT_EQ(a.Painting, "p.kvp");
    EXPECT_EQ(a.Output, "t.pdf");
    EXPECT_EQ(a.PreviewDir, "sheets");
    const TPrintOptions& o = a.Options;
    EXPECT_EQ(o.PagesAcross, 2);
    EXPECT_EQ(o.PagesDown, 3);
    EXPECT_EQ(o.Overlap, 0.75);
    EXPECT_EQ(o.FillWith, fwColor);
    EXPECT_EQ(o.OutlinesOnly, false);
    EXPECT_EQ(o.WhatToPrint, wpCurrentColor);
    EXPECT_EQ(a.CurrentColor, MakeColor(255, 128, 0));
    EXPECT_EQ(o.LineWeight, 5);
    EXPECT_EQ(o.OutlinesBlack, false);
    EXPECT_EQ(o.PrintNumbers, false);
    EXPECT_EQ(o.RegistrationMarks, false);
    EXPECT_EQ(o.PageNumbers, true);
    EXPECT_EQ(o.Paper, (TPaperChoice{poPortrait, PaperA4, 0, 0}));
    EXPECT_EQ(o.Orientation, poLandscape);
    EXPECT_EQ(a.Dpi, 300);
    EXPECT_EQ(o.Frame, (TPlacementFrame{4, -5, 60, 40, true}));

    // Nothing given: nothing overrides the stored layout.
    const TPrintCommandArgs bare = ParsePrintArgs({"p.kvp", "-o", "t.pdf"});
    EXPECT_FALSE(bare.Options.PagesAcross || bare.Options.Overlap || bare.Options.OutlinesOnly ||
                 bare.Options.Paper || bare.Options.Orientation || bare.Options.Frame ||
                 bare.CurrentColor || bare.Dpi);
}

TEST(PrintArgs, TheLastOfOutlinesAndFillWins) {
    EXPECT_EQ(ParsePrintArgs({"p.kvp", "-o", "t.pdf", "--fill", "black", "--outlines"})
                  .Options.OutlinesOnly,
              true);
    EXPECT_EQ(ParsePrintArgs({"p.kvp", "-o", "t.pdf", "--outlines", "--fill", "black"})
                  .Options.OutlinesOnly,
              false);
}

TEST(PrintArgs, MistakesAreRefusedBeforeAnythingIsRead) {
    for (const TArgs& args :
         std::vector<TArgs>{{"p.kvp"},
                            {"-o", "t.pdf"},
                            {"p.kvp", "q.kvp", "-o", "t.pdf"},
                            {"p.kvp", "-o", "t.pdf", "--across", "0"},
                            {"p.kvp", "-o", "t.pdf", "--down", "100"},
                            {"p.kvp", "-o", "t.pdf", "--overlap", "-1"},
                            {"p.kvp", "-o", "t.pdf", "--overlap", "0,5"},
                            {"p.kvp", "-o", "t.pdf", "--fill", "red"},
                            {"p.kvp", "-o", "t.pdf", "--what", "some"},
                            {"p.kvp", "-o", "t.pdf", "--color", "12345"},
                            {"p.kvp", "-o", "t.pdf", "--color", "12345g"},
                            {"p.kvp", "-o", "t.pdf", "--color", "-12345"},
                            {"p.kvp", "-o", "t.pdf", "--line-weight", "7"},
                            {"p.kvp", "-o", "t.pdf", "--outline-color", "red"},
                            {"p.kvp", "-o", "t.pdf", "--dpi", "50"},
                            {"p.kvp", "-o", "t.pdf", "--frame", "1,2,3"},
                            {"p.kvp", "-o", "t.pdf", "--frame", "1,2,0,4"},
                            {"p.kvp", "-o", "t.pdf", "--frame", "1,2,3,4,5"},
                            {"p.kvp", "-o", "t.pdf", "--outlines", "--what", "selected"},
                            {"p.kvp", "-o", "t.pdf", "--what", "selected", "--outlines"},
                            {"p.kvp", "-o", "t.pdf", "--paper"}})
        EXPECT_THROW(ParsePrintArgs(args), EUsageError) << ::testing::PrintToString(args);
    EXPECT_NO_THROW(ParsePrintArgs({"p.kvp", "--preview", "dir"}));
    EXPECT_NO_THROW(ParsePrintArgs({"p.kvp", "-o", "t.pdf", "--outlines", "--what", "all"}));
}

TEST(PrintArgs, PaperByNameOrInMillimetresWithAFullStop) {
    EXPECT_EQ(ParsePaper("Letter"), (TPaperChoice{poPortrait, PaperLetter, 0, 0}));
    EXPECT_EQ(ParsePaper("LEGAL"), (TPaperChoice{poPortrait, PaperLegal, 0, 0}));
    // Tenths of a millimetre, rounded.
    EXPECT_EQ(ParsePaper("210.5x297mm"), (TPaperChoice{poPortrait, PaperUser, 2105, 2970}));
    EXPECT_EQ(ParsePaper("25X2000MM"), (TPaperChoice{poPortrait, PaperUser, 250, 20000}));
    for (const char* bad : {"tabloid", "210x297", "210,5x297mm", "24x297mm", "210x2001mm", "x297mm",
                            "210xmm", "210x297cm", " 210x297mm"})
        EXPECT_THROW(ParsePaper(bad), EUsageError) << bad;
}

TEST(PaletteArgs, ListingSavingAndPrintingDoNotMix) {
    const TPaletteCommandArgs list = ParsePaletteArgs({"p.kvp"});
    EXPECT_EQ(list.Painting, "p.kvp");
    EXPECT_FALSE(list.Output || list.Print);
    const TPaletteCommandArgs save =
        ParsePaletteArgs({"p.kvp", "-o", "c.KVL", "--description", "Mine"});
    EXPECT_EQ(save.Output, "c.KVL");
    EXPECT_EQ(save.Description, "Mine");
    const TPaletteCommandArgs print = ParsePaletteArgs(
        {"--print", "s.pdf", "p.kvp", "--names", "n.KVL", "--paper", "a4", "--landscape"});
    EXPECT_EQ(print.Print, "s.pdf");
    EXPECT_EQ(print.Names, "n.KVL");
    EXPECT_EQ(print.Paper.Paper, (TPaperChoice{poPortrait, PaperA4, 0, 0}));
    EXPECT_EQ(print.Paper.Orientation, poLandscape);
    for (const TArgs& args : std::vector<TArgs>{{},
                                                {"p.kvp", "-o", "c.KVL", "--print", "s.pdf"},
                                                {"p.kvp", "--description", "Mine"},
                                                {"p.kvp", "--names", "n.KVL"},
                                                {"p.kvp", "-o", "c.KVL", "--dpi", "300"},
                                                {"p.kvp", "--print", "s.pdf", "--dpi", "3"},
                                                {"p.kvp", "--print", "s.pdf", "--paper", "b5"}})
        EXPECT_THROW(ParsePaletteArgs(args), EUsageError) << ::testing::PrintToString(args);
}

} // namespace
} // namespace pigmentaria::cli
