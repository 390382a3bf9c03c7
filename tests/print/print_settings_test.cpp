// The print settings a print goes by: the base, the layout stored with the painting, and the
// options given for this print, in that order of precedence.
#include "print/print_settings.h"
#include "print/printer.h"

#include <gtest/gtest.h>

namespace pigmentaria {
namespace {

TPrintSetup Base() {
    TPrintSetup base;
    base.Settings.PrintNumbers = true;
    base.Paper = {poPortrait, PaperLetter, 0, 0};
    return base;
}

// A layout stored by a print to three A4 pages across in landscape, filling selected shapes.
TPrintLayoutBlock StoredLayout() {
    TPrintSettings stored;
    stored.PagesAcross = 3;
    stored.PagesDown = 2;
    stored.Overlap = 1.5;
    stored.RegistrationMarks = false;
    stored.LineWeight = 4;
    stored.FillWith = fwBlack;
    SetWhatToPrint(stored, wpSelected);
    stored.Frame = {20, 30, 100, 80, true};
    return MakePrintLayoutBlock(stored, {poLandscape, PaperA4, 0, 0});
}

TEST(MergePrintSetup, WithoutLayoutOrOptionsTheBaseStands) {
    TPrintSetup setup = Base();
    EXPECT_EQ(MergePrintSetup(setup, nullptr, {}), TPrintSetupProblem::None);
    EXPECT_EQ(setup, Base());
}

TEST(MergePrintSetup, TheStoredLayoutReplacesTheBase) {
    const TPrintLayoutBlock block = StoredLayout();
    TPrintSetup setup = Base();
    ASSERT_EQ(MergePrintSetup(setup, &block, {}), TPrintSetupProblem::None);
    const TPrintSettings& s = setup.Settings;
    EXPECT_EQ(s.PagesAcross, 3);
    EXPECT_EQ(s.PagesDown, 2);
    EXPECT_EQ(s.Overlap, 1.5);
    EXPECT_FALSE(s.RegistrationMarks);
    EXPECT_EQ(s.LineWeight, 4);
    EXPECT_EQ(s.FillWith, fwBlack);
    EXPECT_EQ(s.WhatToPrint, wpSelected);
    EXPECT_FALSE(s.OutlinesOnly);
    EXPECT_EQ(s.Frame, (TPlacementFrame{20, 30, 100, 80, true}));
    // Not in the block: the base's.
    EXPECT_TRUE(s.PrintNumbers);
    EXPECT_EQ(setup.Paper, (TPaperChoice{poLandscape, PaperA4, 0, 0}));

    // The dialog keeps its own overlap.
    TPrintSetup dialog = Base();
    dialog.Settings.Overlap = 0.75;
    MergePrintSetup(dialog, &block, {}, false);
    EXPECT_EQ(dialog.Settings.Overlap, 0.75);
}

TEST(MergePrintSetup, AStoredLayoutWithoutPaperKeepsTheBasePaperButTakesItsOrientation) {
    TPrintLayoutBlock block;
    block.Orientation = poLandscape;
    block.PaperSize = 0;
    TPrintSetup setup = Base();
    MergePrintSetup(setup, &block, {});
    EXPECT_EQ(setup.Paper, (TPaperChoice{poLandscape, PaperLetter, 0, 0}));
}

TEST(MergePrintSetup, OptionsGivenReplaceTheStoredChoices) {
    const TPrintLayoutBlock block = StoredLayout();
    TPrintOptions o;
    o.PagesAcross = 1;
    o.Overlap = 0.5;
    o.WhatToPrint = wpAll;
    o.OutlinesOnly = true;
    o.LineWeight = 2;
    o.OutlinesBlack = false;
    o.PrintNumbers = false;
    o.RegistrationMarks = true;
    o.PageNumbers = true;
    o.Frame = TPlacementFrame{1, 2, 30, 40, true};
    o.Paper = TPaperChoice{poPortrait, PaperUser, 2100, 2970};
    TPrintSetup setup = Base();
    ASSERT_EQ(MergePrintSetup(setup, &block, o), TPrintSetupProblem::None);
    const TPrintSettings& s = setup.Settings;
    EXPECT_EQ(s.PagesAcross, 1);
    EXPECT_EQ(s.PagesDown, 2); // not given: stored
    EXPECT_EQ(s.Overlap, 0.5);
    EXPECT_EQ(s.WhatToPrint, wpAll);
    EXPECT_TRUE(s.OutlinesOnly);
    EXPECT_EQ(s.LineWeight, 2);
    EXPECT_FALSE(s.OutlinesBlack);
    EXPECT_FALSE(s.PrintNumbers);
    EXPECT_TRUE(s.RegistrationMarks);
    EXPECT_TRUE(s.PageNumbers);
    EXPECT_EQ(s.Frame, (TPlacementFrame{1, 2, 30, 40, true}));
    // The paper option changes the sheet, not the stored orientation.
    EXPECT_EQ(setup.Paper, (TPaperChoice{poLandscape, PaperUser, 2100, 2970}));
    o.Orientation = poPortrait;
    setup = Base();
    MergePrintSetup(setup, &block, o);
    EXPECT_EQ(setup.Paper.Orientation, poPortrait);
}

TEST(MergePrintSetup, ChoosingSomeShapesLeavesOutlinesOnlyAndFilling) {
    TPrintOptions o;
    o.WhatToPrint = wpCurrentColor;
    o.FillWith = fwColor;
    TPrintSetup setup = Base();
    ASSERT_EQ(MergePrintSetup(setup, nullptr, o), TPrintSetupProblem::None);
    EXPECT_EQ(setup.Settings.WhatToPrint, wpCurrentColor);
    EXPECT_FALSE(setup.Settings.OutlinesOnly);
    EXPECT_EQ(setup.Settings.FillWith, fwColor);
}

TEST(MergePrintSetup, OutlinesOnlyNeedsAllShapesWhoeverChoseTheShapes) {
    TPrintOptions outlines;
    outlines.OutlinesOnly = true;
    TPrintOptions both = outlines;
    both.WhatToPrint = wpSelected;
    TPrintSetup setup = Base();
    EXPECT_EQ(MergePrintSetup(setup, nullptr, both), TPrintSetupProblem::OutlinesNeedAllShapes);
    // The stored layout prints selected shapes.
    const TPrintLayoutBlock block = StoredLayout();
    setup = Base();
    EXPECT_EQ(MergePrintSetup(setup, &block, outlines), TPrintSetupProblem::OutlinesNeedAllShapes);
    // Asking for all shapes as well makes it a choice that can be printed.
    TPrintOptions all = outlines;
    all.WhatToPrint = wpAll;
    setup = Base();
    EXPECT_EQ(MergePrintSetup(setup, &block, all), TPrintSetupProblem::None);
    EXPECT_TRUE(setup.Settings.OutlinesOnly);
}

TEST(MergePrintSetup, AStoredLayoutWithoutPagesNeedsPagesGiven) {
    TPrintLayoutBlock block;
    block.PagesAcross = 0;
    block.PagesDown = 0;
    TPrintSetup setup = Base();
    EXPECT_EQ(MergePrintSetup(setup, &block, {}), TPrintSetupProblem::NoPages);
    TPrintOptions o;
    o.PagesAcross = 2;
    setup = Base();
    EXPECT_EQ(MergePrintSetup(setup, &block, o), TPrintSetupProblem::NoPages);
    o.PagesDown = 1;
    setup = Base();
    EXPECT_EQ(MergePrintSetup(setup, &block, o), TPrintSetupProblem::None);
}

} // namespace
} // namespace pigmentaria
