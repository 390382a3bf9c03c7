#pragma once
// The tool bar's pictures, drawn here rather than loaded, and the tool cursors as Qt cursors.
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

QIcon ToolIcon(TToolIcon icon);
// Cursor 1..5 of the tool modes; the arrow for any other number.
QCursor ToolCursor(int number);
// The program's own icon, as the desktop icon shows it.
QIcon ApplicationIcon();
QPixmap ApplicationIconPixmap(int size);

} // namespace pigmentaria
