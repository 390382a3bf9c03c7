#pragma once
// The main window's five tool cursors, numbered as the tool modes use them: "HANDGRAB" 1,
// "PAINTBOTTLE" 2, "EYEDROPPER" 3, "BRUSH" 4, "CROSSHAIR" 5. Mode 0, the selection tool, keeps the
// ordinary arrow.
#include "image/cursor_art.h"

#include <string_view>

namespace pigmentaria {

inline constexpr int ToolCursorCount = 5;

enum TToolMode : int {
    tmSelection = 0,
    tmHandGrab = 1,
    tmPaintBottle = 2,
    tmEyedropper = 3,
    tmBrushstroke = 4,
    tmRegion = 5,
    // The merge tool has no cursor of its own and keeps the arrow.
    tmMerge = 6,
};

// The resource name of cursor 1..5; empty for any other number.
std::string_view ToolCursorName(int number);
// The drawing of cursor 1..5; nullptr for any other number.
const TCursorArt* ToolCursorArt(int number);

} // namespace pigmentaria
