#include "print/qt/preview_sheet.h"

#include "print/preview.h"
#include "print/qt/qt_app.h"
#include "print/qt/qt_page_canvas.h"

#include <QPainter>

#include <algorithm>

namespace pigmentaria {

QImage RenderPreviewSheet(TPagePrinter& pages, const TPrintLayout& layout, int row, int column) {
    EnsureQtGui();
    const TSheetSize size = PreviewSheetSize(layout);
    QImage sheet(std::max(1, size.Width), std::max(1, size.Height), QImage::Format_RGB888);
    sheet.fill(Qt::white);
    // The image's resolution sizes the fonts as on the screen.
    sheet.setDotsPerMeterX(static_cast<int>(layout.ScreenDpiX / 0.0254 + 0.5));
    sheet.setDotsPerMeterY(static_cast<int>(layout.ScreenDpiY / 0.0254 + 0.5));
    QPainter painter(&sheet);
    TQtPageCanvas canvas(painter, sheet);
    pages.PrintPage(canvas, false, row, column);
    painter.end();
    return sheet;
}

} // namespace pigmentaria
