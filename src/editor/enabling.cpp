#include "editor/enabling.h"

namespace pigmentaria {

TEnablingFlags ComputeEnabling(const TEnablingState& s) {
    const TFeatureSet& f = s.Features;
    const bool painting = s.HasPainting;
    const bool filled = painting && !s.OutlinesOnly;
    const bool selected = painting && !s.SelectionEmpty;

    TEnablingFlags e{};
    e.OpenPainting = true;
    e.Save = painting && !s.Untitled;
    e.SaveAs = painting;
    e.SavePalette = painting && f.Palette;
    e.ExportPainting = painting && f.Export;
    e.ImportPicture = f.Import;
    // A template is made from a picture as an import is, and printed.
    e.NewTemplate = f.Import && f.Print;
    e.ImportClipboard = f.Import && s.ClipboardHasPicture;
    e.ReImport = f.Import && s.HoldsSourcePicture;
    e.Print = painting && f.Print;
    e.PrintPalette = painting && f.Print;
    e.Exit = true;

    e.Undo = s.UndoArmed;
    e.CopySelected = selected && f.Export;
    e.CopyBitmap = painting && f.Export;
    e.DeleteSelected = selected && f.Tools;
    e.SelectAll = painting;
    e.SelectSpecial = painting && f.Tools;
    e.DeselectAll = selected;

    e.Smooth = selected && f.Tools;
    e.ReacquireAll = painting && f.Tools;
    e.ReacquireSelected = selected && f.Tools;
    e.Retrace = filled;
    e.ViewOutlinesOnly = painting;
    e.ViewTemplate = painting;
    // The merge tool finds its cell as the brushstroke does, by the colours drawn.
    e.MergeCell = filled && f.Tools;
    e.MergeTouching = painting && f.Tools;

    e.ToolBar = painting;
    e.HelpButton = painting;
    e.SelectionTool = filled;
    e.BrushstrokeTool = filled && f.Tools;
    e.EyedropperTool = filled && f.Tools;
    e.RegionTool = painting && f.Tools;
    e.ColorInRegionTool = painting && f.Tools;
    e.MergeTool = e.MergeCell;
    e.SelectAllButton = painting;
    e.SelectColorButton = painting && f.Tools;
    e.PaintBucketButton = selected && f.Tools;
    e.SmoothButton = selected && f.Tools;
    e.PaletteButton = painting && f.Palette;
    e.ColorDialogButton = painting && f.Tools;
    e.ZoomButton = painting;

    e.ViewerAction = amNone;
    switch (s.ToolMode) {
    case tmSelection:
        e.SelectionDown = true;
        e.ClearViewerSelection = true;
        break;
    case tmEyedropper:
        e.EyedropperDown = true;
        e.ClearViewerSelection = true;
        break;
    case tmBrushstroke:
        e.BrushstrokeDown = true;
        e.ClearViewerSelection = true;
        break;
    case tmRegion:
        (s.RegionCurrentColorOnly ? e.ColorInRegionDown : e.RegionDown) = true;
        e.ViewerAction = amCreateSelection;
        break;
    case tmMerge:
        e.MergeDown = true;
        e.ClearViewerSelection = true;
        break;
    default:
        break;
    }
    return e;
}

TSaveKeys SaveShortcuts(bool saveEnabled) {
    if (saveEnabled) return {{"Ctrl+S"}, {"Ctrl+Shift+S"}};
    return {{}, {"Ctrl+Shift+S", "Ctrl+S"}};
}

} // namespace pigmentaria
