#pragma once
// Qt cursors from the drawn monochrome cursors, and the viewer's cursor kinds as Qt cursors.
#include "image/cursor_art.h"

#include <QCursor>

namespace pigmentaria {

QCursor MakeCursor(const TCursorArt& art);
// The library's own cursors for the hands, the selection cross and the move cursor; the
// toolkit's sizing cursors; an arrow for Default. Made afresh on every call: keep them.
QCursor ViewerCursor(TViewerCursor cursor);

} // namespace pigmentaria
