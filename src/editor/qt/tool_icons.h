#pragma once
// The tool bar's pictures and the program's icon, drawn from the SVG files compiled in from
// data/icons and data/desktop, and the tool cursors as Qt cursors.
#include <QCursor>
#include <QIcon>

namespace pigmentaria {

enum class TToolIcon {
    Selection,
    Brushstroke,
    Eyedropper,
    Region,
    ColorInRegion,
    SelectAll,
    SelectColor,
    PaintBucket,
    Smooth,
    Palette,
    ColorDialog,
    Zoom,
    Help,
    MergeCell,
};

// Sharp at any size and screen scale; disabled, it is shown as the style shows disabled icons.
QIcon ToolIcon(TToolIcon icon);
// The compiled-in SVG file the icon is drawn from.
QString ToolIconResource(TToolIcon icon);
// Cursor 1..5 of the tool modes; the arrow for any other number.
QCursor ToolCursor(int number);
// The program's own icon, from the very file installed as the desktop icon.
inline constexpr char ApplicationIconResource[] = ":/desktop/pigmentaria.svg";
QIcon ApplicationIcon();
// `size` logical pixels square, at the screen's scale.
QPixmap ApplicationIconPixmap(int size);

} // namespace pigmentaria
