#include "print/qt/raster_page_text.h"

#include "print/qt/qt_page_canvas.h"

#include <QImage>
#include <QPainter>

#include <cmath>

namespace pigmentaria {

void DrawOnRaster(TRaster24& raster, double dotsPerInch,
                  const std::function<void(TPageCanvas&)>& draw) {
    if (raster.Empty()) return;
    // The raster's rows are blue, green, red, padded to four bytes: the image works on them in
    // place.
    QImage image(raster.Row(0), raster.Width(), raster.Height(),
                 static_cast<qsizetype>(raster.Stride()), QImage::Format_BGR888);
    const int dotsPerMetre = static_cast<int>(std::lround(std::max(1.0, dotsPerInch) / 0.0254));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    TQtPageCanvas canvas(painter, image);
    draw(canvas);
}

} // namespace pigmentaria
