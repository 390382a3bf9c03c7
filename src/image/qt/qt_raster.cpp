#include "image/qt/qt_raster.h"

#include <QPainter>

namespace pigmentaria {

QImage RasterToImage(const TRaster24& raster) {
    if (raster.Empty()) return {};
    QImage image(raster.Width(), raster.Height(), QImage::Format_RGB32);
    if (image.isNull()) return {};
    for (int y = 0; y < raster.Height(); ++y) {
        const std::uint8_t* in = raster.Row(y);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < raster.Width(); ++x, in += 3)
            out[x] = qRgb(in[2], in[1], in[0]);
    }
    return image;
}

QImage PictureToImage(const TPixelGraphic& picture) {
    if (picture.Empty()) return {};
    QImage image(picture.Width(), picture.Height(), QImage::Format_RGB32);
    if (image.isNull()) return {};
    const bool direct = picture.ColorType() == ct24Bit;
    for (int y = 0; y < picture.Height(); ++y) {
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        if (direct) {
            const std::uint8_t* in = picture.ScanLine(y);
            for (int x = 0; x < picture.Width(); ++x, in += 3)
                out[x] = qRgb(in[2], in[1], in[0]);
        } else {
            for (int x = 0; x < picture.Width(); ++x) {
                const TColor c = picture.GetPixelColor(x, y);
                out[x] = qRgb(RedOf(c), GreenOf(c), BlueOf(c));
            }
        }
    }
    return image;
}

TRaster24 ImageToRaster(const QImage& image) {
    if (image.isNull()) return {};
    QImage rgb;
    if (image.hasAlphaChannel()) {
        rgb = QImage(image.size(), QImage::Format_RGB32);
        rgb.fill(Qt::white);
        QPainter painter(&rgb);
        painter.drawImage(0, 0, image);
    } else {
        rgb = image.convertToFormat(QImage::Format_RGB32);
    }
    TRaster24 raster(rgb.width(), rgb.height());
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        std::uint8_t* out = raster.Row(y);
        for (int x = 0; x < rgb.width(); ++x, out += 3) {
            out[0] = static_cast<std::uint8_t>(qBlue(in[x]));
            out[1] = static_cast<std::uint8_t>(qGreen(in[x]));
            out[2] = static_cast<std::uint8_t>(qRed(in[x]));
        }
    }
    return raster;
}

} // namespace pigmentaria
