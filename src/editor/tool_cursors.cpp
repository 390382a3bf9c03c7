#include "editor/tool_cursors.h"

namespace pigmentaria {

namespace {

// A tipped paint can pouring from its lip; the hot spot is the drop's tip.
const TCursorArt PaintBottle{
    3,
    24,
    0,
    4,
    {
        "...........XX...........", "..........XooX..........", ".........XoXXoX.........",
        "........XoX..XoX........", ".......XXXX..XoXX.......", "......XoooX..XooXX......",
        ".....XooooXXXooooXX.....", "....XXXXXoooXooooooXX...", "...XoooooXoooooooooooX..",
        "...XoooooooXooooooooooX.", "...XooooooooXooooooooX..", "...XoooooooooXooooooX...",
        "...XXooooooooooooooX....", "...XXXooooooooooooX.....", "...XXX.XooooooooX.......",
        "..XXXX..XooooooX........", "..XXXX...XooooX.........", "..XXX.....XooX..........",
        "..XXX......XX...........", "..XX....................", "...X....................",
    }};

// A dropper lying from top right to bottom left; the hot spot is its tip.
const TCursorArt Eyedropper{
    1,
    23,
    0,
    0,
    {
        ".......................XXXX.....", "......................XXXXXX....",
        "....................XXXXXXXXX...", "...................XXXXXXXXXX...",
        "...................XXXXXXXXXX...", "................XXXXXXXXXXXX....",
        "...............XoXXXXXXXXXX.....", "..............XoooXXXXXXX.......",
        ".............XoooooXXXXX........", "............XoooooXXXX..........",
        "...........XoooooX.XX...........", "..........XoooooX...X...........",
        ".........XoooooX................", "........XoooooX.................",
        ".......XoooooX..................", "......XoooooX...................",
        ".....XoooooX....................", "....XoooooX.....................",
        "...XoooooX......................", "..XoooooX.......................",
        "..XooooX........................", ".XoooX..........................",
        ".XooX...........................", "XXXX............................",
    },
};

// A round brush from top right to bottom left; the hot spot is the tip of its bristles.
const TCursorArt Brush{1,
                       24,
                       0,
                       0,
                       {
                           "..........................XX....", ".........................XooX...",
                           "........................XoooX...", ".......................XoooX....",
                           "......................XoooX.....", ".....................XoooX......",
                           "....................XoooX.......", "...................XoooX........",
                           "..................XoooX.........", ".................XoooX..........",
                           "................XoooX...........", "...............XXXXX............",
                           "..............XoXXXX............", ".............XoXXXX.............",
                           "............XXXXXX..............", "..........XXXXXXX...............",
                           ".........XXXXXXX................", "........XXXXXXX.................",
                           ".......XXXXXX...................", "......XXXXXX....................",
                           ".....XXXXX......................", "....XXXX........................",
                           "...XXX..........................", "..XX............................",
                           ".X..............................",
                       }};

const TCursorArt CrossHair{
    15,
    15,
    0,
    0,
    {
        "..............ooo...............", "..............oXo...............",
        "..............oXo...............", "..............oXo...............",
        "..............oXo...............", "..............oXo...............",
        "..............oXo...............", "..............oXo...............",
        "..............oXo...............", "..............oXo...............",
        "..............oXo...............", "..............oXo...............",
        "..............oXo...............", "..............o.o...............",
        "ooooooooooooooo.ooooooooooooooo.", "oXXXXXXXXXXXX.....XXXXXXXXXXXXo.",
        "ooooooooooooooo.ooooooooooooooo.", "..............o.o...............",
        "..............oXo...............", "..............oXo...............",
        "..............oXo...............", "..............oXo...............",
        "..............oXo...............", "..............oXo...............",
        "..............oXo...............", "..............oXo...............",
        "..............oXo...............", "..............oXo...............",
        "..............oXo...............", "..............oXo...............",
        "..............ooo...............",
    }};

} // namespace

std::string_view ToolCursorName(int number) {
    switch (number) {
    case 1:
        return "HANDGRAB";
    case 2:
        return "PAINTBOTTLE";
    case 3:
        return "EYEDROPPER";
    case 4:
        return "BRUSH";
    case 5:
        return "CROSSHAIR";
    default:
        return {};
    }
}

const TCursorArt* ToolCursorArt(int number) {
    switch (number) {
    case 1: {
        // The viewer's closed hand, its hot spot in the middle of the cursor; made on first use,
        // after the viewer's own cursors.
        static const TCursorArt handGrab =
            MovedTo(ViewerCursorArt(TViewerCursor::ClosedHand), 15, 15);
        return &handGrab;
    }
    case 2:
        return &PaintBottle;
    case 3:
        return &Eyedropper;
    case 4:
        return &Brush;
    case 5:
        return &CrossHair;
    default:
        return nullptr;
    }
}

} // namespace pigmentaria
