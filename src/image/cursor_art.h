#pragma once
// Monochrome 32 x 32 cursors drawn as text: 'X' black, 'o' white, anything else transparent. A
// drawing may be smaller than the cursor; it is placed at its offset and the rest stays clear.
#include "image/viewer_layout.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <vector>

namespace pigmentaria {

inline constexpr int CursorSide = 32;

enum class TCursorPixel : std::uint8_t { Clear, Black, White };

struct TCursorArt {
    int HotX = 0;
    int HotY = 0;
    int OffsetX = 0;
    int OffsetY = 0;
    std::vector<std::string_view> Rows;
};

// The cursor's 32 x 32 pixels, row by row.
std::array<TCursorPixel, CursorSide * CursorSide> CursorPixels(const TCursorArt& art);

// The same drawing with its hot spot at (hotX, hotY) of the cursor: the drawing moves with it.
TCursorArt MovedTo(const TCursorArt& art, int hotX, int hotY);

// The library's four cursors of the picture viewer: open and closed hand (hot spot 16, 12), the
// selection cross (15, 15) and the move cursor (16, 15).
const TCursorArt& ViewerCursorArt(TViewerCursor cursor);

} // namespace pigmentaria
