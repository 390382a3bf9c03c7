#include "editor/enabling.h"

#include <gtest/gtest.h>

namespace pigmentaria {
namespace {

TEnablingState Painting() {
    TEnablingState s;
    s.HasPainting = true;
    s.Untitled = false;
    return s;
}

TEST(EnablingRuleTest, WithoutAPaintingOnlyOpeningAndImportingAreOffered) {
    const TEnablingFlags e = ComputeEnabling(TEnablingState{});
    EXPECT_TRUE(e.OpenPainting);
    EXPECT_TRUE(e.ImportPicture);
    EXPECT_TRUE(e.Exit);
    for (bool flag : {e.Save,
                      e.SaveAs,
                      e.ExportPainting,
                      e.SavePalette,
                      e.Print,
                      e.PrintPalette,
                      e.CopySelected,
                      e.CopyBitmap,
                      e.DeleteSelected,
                      e.SelectAll,
                      e.SelectSpecial,
                      e.DeselectAll,
                      e.Smooth,
                      e.ReacquireAll,
                      e.ReacquireSelected,
                      e.Retrace,
                      e.ViewOutlinesOnly,
                      e.ToolBar,
                      e.HelpButton,
                      e.ZoomButton,
                      e.Undo,
                      e.ReImport,
                      e.ImportClipboard,
                      e.MergeCell,
                      e.MergeTouching,
                      e.MergeTool})
        EXPECT_FALSE(flag);
}

TEST(EnablingRuleTest, APaintingEnablesItsCommandsAndSaveNeedsAName) {
    TEnablingState s = Painting();
    TEnablingFlags e = ComputeEnabling(s);
    for (bool flag :
         {e.HelpButton,    e.ViewOutlinesOnly, e.CopyBitmap,      e.ReacquireAll, e.OpenPainting,
          e.SaveAs,        e.ExportPainting,   e.SavePalette,     e.Print,        e.PrintPalette,
          e.SelectAll,     e.SelectSpecial,    e.ToolBar,         e.Save,         e.Retrace,
          e.SelectionTool, e.EyedropperTool,   e.BrushstrokeTool, e.ZoomButton,   e.MergeCell,
          e.MergeTouching, e.MergeTool})
        EXPECT_TRUE(flag);
    // Nothing selected.
    for (bool flag : {e.CopySelected, e.DeleteSelected, e.DeselectAll, e.Smooth,
                      e.ReacquireSelected, e.PaintBucketButton, e.SmoothButton})
        EXPECT_FALSE(flag);
    s.Untitled = true;
    EXPECT_FALSE(ComputeEnabling(s).Save);
    EXPECT_TRUE(ComputeEnabling(s).SaveAs);
}

TEST(EnablingRuleTest, ASelectionEnablesTheCommandsOnIt) {
    TEnablingState s = Painting();
    s.SelectionEmpty = false;
    const TEnablingFlags e = ComputeEnabling(s);
    for (bool flag : {e.CopySelected, e.DeleteSelected, e.DeselectAll, e.Smooth,
                      e.ReacquireSelected, e.PaintBucketButton, e.SmoothButton})
        EXPECT_TRUE(flag);
    // A selection left over without a painting enables nothing.
    s.HasPainting = false;
    EXPECT_FALSE(ComputeEnabling(s).DeleteSelected);
}

TEST(EnablingRuleTest, OutlinesOnlyDisablesTheToolsThatReadColours) {
    TEnablingState s = Painting();
    s.OutlinesOnly = true;
    const TEnablingFlags e = ComputeEnabling(s);
    EXPECT_FALSE(e.Retrace);
    EXPECT_FALSE(e.EyedropperTool);
    EXPECT_FALSE(e.SelectionTool);
    EXPECT_FALSE(e.BrushstrokeTool);
    EXPECT_FALSE(e.MergeTool);
    EXPECT_FALSE(e.MergeCell);
    EXPECT_TRUE(e.MergeTouching);
    EXPECT_TRUE(e.RegionTool);
    EXPECT_TRUE(e.ViewOutlinesOnly);
}

TEST(EnablingRuleTest, UndoReImportAndClipboardHoldWithOrWithoutAPainting) {
    TEnablingState s;
    s.UndoArmed = true;
    s.HoldsSourcePicture = true;
    s.ClipboardHasPicture = true;
    const TEnablingFlags e = ComputeEnabling(s);
    EXPECT_TRUE(e.Undo);
    EXPECT_TRUE(e.ReImport);
    EXPECT_TRUE(e.ImportClipboard);
}

TEST(EnablingRuleTest, TheToolModePressesItsButtonAndSetsTheViewersAction) {
    TEnablingState s = Painting();
    struct TCase {
        int Mode;
        bool ColorOnly;
        bool TEnablingFlags::*Down;
        TActionMode Action;
        bool Clears;
    };
    const TCase cases[] = {
        {tmSelection, false, &TEnablingFlags::SelectionDown, amNone, true},
        {tmEyedropper, false, &TEnablingFlags::EyedropperDown, amNone, true},
        {tmBrushstroke, false, &TEnablingFlags::BrushstrokeDown, amNone, true},
        {tmRegion, false, &TEnablingFlags::RegionDown, amCreateSelection, false},
        {tmRegion, true, &TEnablingFlags::ColorInRegionDown, amCreateSelection, false},
        {tmMerge, false, &TEnablingFlags::MergeDown, amNone, true},
    };
    bool TEnablingFlags::*all[] = {
        &TEnablingFlags::SelectionDown,     &TEnablingFlags::EyedropperDown,
        &TEnablingFlags::BrushstrokeDown,   &TEnablingFlags::RegionDown,
        &TEnablingFlags::ColorInRegionDown, &TEnablingFlags::MergeDown};
    for (const TCase& c : cases) {
        s.ToolMode = c.Mode;
        s.RegionCurrentColorOnly = c.ColorOnly;
        const TEnablingFlags e = ComputeEnabling(s);
        // Exactly one button is down.
        for (auto down : all)
            EXPECT_EQ(e.*down, down == c.Down) << c.Mode;
        EXPECT_EQ(e.ViewerAction, c.Action);
        EXPECT_EQ(e.ClearViewerSelection, c.Clears);
    }
}

TEST(EnablingRuleTest, PartsThisBuildLacksStayDisabled) {
    TEnablingState s = Painting();
    s.SelectionEmpty = false;
    s.HoldsSourcePicture = true;
    s.ClipboardHasPicture = true;
    s.Features = TFeatureSet::None();
    const TEnablingFlags e = ComputeEnabling(s);
    for (bool flag :
         {e.ImportPicture, e.ImportClipboard, e.ReImport, e.Print, e.PrintPalette, e.SavePalette,
          e.PaletteButton, e.ExportPainting, e.CopyBitmap, e.CopySelected, e.DeleteSelected,
          e.Smooth, e.BrushstrokeTool, e.EyedropperTool, e.PaintBucketButton})
        EXPECT_FALSE(flag);
    // What the main window does itself stays available.
    for (bool flag : {e.OpenPainting, e.Save, e.SaveAs, e.SelectAll, e.DeselectAll, e.Retrace,
                      e.ViewOutlinesOnly, e.SelectionTool, e.ZoomButton, e.HelpButton})
        EXPECT_TRUE(flag);
}

} // namespace
} // namespace pigmentaria
