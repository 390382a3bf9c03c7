#pragma once
// The main window's enabling rule as a function of the document's state: which menu entries and
// tool buttons are enabled, which tool button is down, and what the viewer's action becomes.
#include "editor/tool_cursors.h"
#include "image/viewer_layout.h"

#include <string>
#include <vector>

namespace pigmentaria {

// The parts of the program this build offers. An entry whose part is missing stays disabled
// whatever the document's state.
struct TFeatureSet {
    bool Import = true;  // the import dialog
    bool Tools = true;   // the editing tools and commands
    bool Palette = true; // the palette window and palette files
    bool Print = true;   // print setup, preview and the palette printout
    bool Export = true;  // export and the clipboard
    static TFeatureSet All() { return {}; }
    static TFeatureSet None() { return {false, false, false, false, false}; }
};

struct TEnablingState {
    bool HasPainting = false;
    // The title is "Pigmentaria - (Untitled)".
    bool Untitled = true;
    bool OutlinesOnly = false;
    bool SelectionEmpty = true;
    // The undo caption is not plain "&Undo".
    bool UndoArmed = false;
    bool HoldsSourcePicture = false;
    bool ClipboardHasPicture = false;
    int ToolMode = tmSelection;
    // The region tool is restricted to the current colour.
    bool RegionCurrentColorOnly = false;
    TFeatureSet Features;
};

struct TEnablingFlags {
    // File
    bool OpenPainting, Save, SaveAs, SavePalette, ExportPainting, ImportPicture, NewTemplate,
        ImportClipboard, ReImport, Print, PrintPalette, Exit;
    // Edit
    bool Undo, CopySelected, CopyBitmap, DeleteSelected, SelectAll, SelectSpecial, DeselectAll;
    // Special
    bool Smooth, ReacquireAll, ReacquireSelected, Retrace, ViewOutlinesOnly, ViewTemplate,
        MergeCell, MergeTouching;
    // Tool bar buttons
    bool ToolBar, SelectionTool, BrushstrokeTool, EyedropperTool, RegionTool, ColorInRegionTool,
        SelectAllButton, SelectColorButton, PaintBucketButton, SmoothButton, PaletteButton,
        ColorDialogButton, ZoomButton, HelpButton, MergeTool;
    // Which of the six toggle buttons is down.
    bool SelectionDown, BrushstrokeDown, EyedropperDown, RegionDown, ColorInRegionDown, MergeDown;
    // The viewer's action for the tool mode; the selection rectangle is cleared for the
    // selection, eyedropper, brushstroke and merge tools.
    TActionMode ViewerAction;
    bool ClearViewerSelection;
};

TEnablingFlags ComputeEnabling(const TEnablingState& state);

// The keys of "&Save" and "Save &As": Ctrl+S saves in place and Ctrl+Shift+S asks for a name, as
// on every desktop; while "&Save" is disabled (an untitled painting) Ctrl+S asks for the name too,
// so that the key never does nothing.
struct TSaveKeys {
    std::vector<std::string> Save;
    std::vector<std::string> SaveAs;
};
TSaveKeys SaveShortcuts(bool saveEnabled);

} // namespace pigmentaria
