#include "image/qt/qt_cursors.h"

#include <QBitmap>
#include <QImage>

namespace pigmentaria {

QCursor MakeCursor(const TCursorArt& art) {
    const auto pixels = CursorPixels(art);
    // A monochrome cursor: the bitmap's set bits are black, the mask's clear bits transparent.
    QImage bits(CursorSide, CursorSide, QImage::Format_Mono);
    QImage mask(CursorSide, CursorSide, QImage::Format_Mono);
    for (QImage* im : {&bits, &mask}) {
        im->setColor(0, qRgb(255, 255, 255));
        im->setColor(1, qRgb(0, 0, 0));
        im->fill(0);
    }
    for (int y = 0; y < CursorSide; ++y)
        for (int x = 0; x < CursorSide; ++x) {
            const TCursorPixel p = pixels[static_cast<std::size_t>(y * CursorSide + x)];
            if (p == TCursorPixel::Clear) continue;
            mask.setPixel(x, y, 1);
            if (p == TCursorPixel::Black) bits.setPixel(x, y, 1);
        }
    return QCursor(QBitmap::fromImage(bits), QBitmap::fromImage(mask), art.HotX, art.HotY);
}

QCursor ViewerCursor(TViewerCursor cursor) {
    switch (cursor) {
    case TViewerCursor::OpenHand:
    case TViewerCursor::ClosedHand:
    case TViewerCursor::Selection:
    case TViewerCursor::Move:
        return MakeCursor(ViewerCursorArt(cursor));
    case TViewerCursor::SizeNS:
        return Qt::SizeVerCursor;
    case TViewerCursor::SizeWE:
        return Qt::SizeHorCursor;
    case TViewerCursor::SizeNWSE:
        return Qt::SizeFDiagCursor;
    case TViewerCursor::SizeNESW:
        return Qt::SizeBDiagCursor;
    case TViewerCursor::Default:
        break;
    }
    return Qt::ArrowCursor;
}

} // namespace pigmentaria
