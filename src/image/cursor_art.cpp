#include "image/cursor_art.h"

namespace pigmentaria {

std::array<TCursorPixel, CursorSide * CursorSide> CursorPixels(const TCursorArt& art) {
    std::array<TCursorPixel, CursorSide * CursorSide> px{};
    for (std::size_t j = 0; j < art.Rows.size(); ++j) {
        const int y = art.OffsetY + static_cast<int>(j);
        if (y < 0 || y >= CursorSide) continue;
        const std::string_view row = art.Rows[j];
        for (std::size_t i = 0; i < row.size(); ++i) {
            const int x = art.OffsetX + static_cast<int>(i);
            if (x < 0 || x >= CursorSide) continue;
            TCursorPixel p = TCursorPixel::Clear;
            if (row[i] == 'X') p = TCursorPixel::Black;
            if (row[i] == 'o') p = TCursorPixel::White;
            px[static_cast<std::size_t>(y * CursorSide + x)] = p;
        }
    }
    return px;
}

TCursorArt MovedTo(const TCursorArt& art, int hotX, int hotY) {
    TCursorArt out = art;
    out.OffsetX += hotX - art.HotX;
    out.OffsetY += hotY - art.HotY;
    out.HotX = hotX;
    out.HotY = hotY;
    return out;
}

namespace {

const TCursorArt OpenHand{16,
                          12,
                          8,
                          4,
                          {
                              ".......XX.......",
                              "...XX.XooXXX....",
                              "..XooXXooXooX...",
                              "..XooXXooXooX.X.",
                              "...XooXooXooXXoX",
                              "...XooXooXooXooX",
                              ".XX.XoooooooXooX",
                              "XooXXooooooooooX",
                              "XoooXoooooooooX.",
                              ".XooooooooooooX.",
                              "..XoooooooooooX.",
                              "..XooooooooooX..",
                              "...XoooooooooX..",
                              "....XooooooooX..",
                              ".....XoooooooX..",
                              ".....XoooooooX..",
                              ".....XXXXXXXXX..",
                          }};

const TCursorArt ClosedHand{16,
                            12,
                            8,
                            5,
                            {
                                "....XX.XX.XX....",
                                "...XooXooXooXX..",
                                "...XooooooooXoX.",
                                "....XoooooooooX.",
                                "...XXoooooooooX.",
                                "..XooooooooooX..",
                                "..XoooooooooooX.",
                                "...XooooooooooX.",
                                "....XoooooooooX.",
                                ".....XooooooooX.",
                                "......XooooooX..",
                                "......XooooooX..",
                                "......XXXXXXXX..",
                            }};

// A thin cross with an open centre, outlined in white so that it shows on any picture.
const TCursorArt SelectionCross{
    15,
    15,
    4,
    4,
    {
        "..........ooo..........", "..........oXo..........", "..........oXo..........",
        "..........oXo..........", "..........oXo..........", "..........oXo..........",
        "..........oXo..........", "..........oXo..........", "..........ooo..........",
        ".......................", "oooooooooo...oooooooooo", "oXXXXXXXXo...oXXXXXXXXo",
        "oooooooooo...oooooooooo", ".......................", "..........ooo..........",
        "..........oXo..........", "..........oXo..........", "..........oXo..........",
        "..........oXo..........", "..........oXo..........", "..........oXo..........",
        "..........oXo..........", "..........ooo..........",
    }};

// Four arrows from the centre.
const TCursorArt MoveArrows{
    16,
    15,
    6,
    5,
    {
        "..........o..........", ".........oXo.........", "........oXXXo........",
        ".......oXXXXXo.......", "......ooooXoooo......", ".........oXo.........",
        ".........oXo.........", "...o.....oXo.....o...", "..oXo....oXo....oXo..",
        ".oXXo....oXo....oXXo.", "oXXXXXXXXXXXXXXXXXXXo", ".oXXo....oXo....oXXo.",
        "..oXo....oXo....oXo..", "...o.....oXo.....o...", ".........oXo.........",
        ".........oXo.........", "......ooooXoooo......", ".......oXXXXXo.......",
        "........oXXXo........", ".........oXo.........", "..........o..........",
    }};

const TCursorArt NoArt{};

} // namespace

const TCursorArt& ViewerCursorArt(TViewerCursor cursor) {
    switch (cursor) {
    case TViewerCursor::OpenHand:
        return OpenHand;
    case TViewerCursor::ClosedHand:
        return ClosedHand;
    case TViewerCursor::Selection:
        return SelectionCross;
    case TViewerCursor::Move:
        return MoveArrows;
    default:
        return NoArt;
    }
}

} // namespace pigmentaria
