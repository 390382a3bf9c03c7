#pragma once

// Our raster canvas drawing straight into a 32-bit QImage, pixel for pixel (no toolkit painter).

#include "platform/raster.h"

#include <QImage>

namespace pigmentaria {

class TQImageSurface final : public TPixelSurface {
public:
    explicit TQImageSurface(QImage& image) : Image_(image) {}
    int Width() const override { return Image_.width(); }
    int Height() const override { return Image_.height(); }
    TColor GetPixel(int x, int y) const override {
        const QRgb c = Image_.pixel(x, y);
        return MakeColor(qRed(c), qGreen(c), qBlue(c));
    }
    void SetPixel(int x, int y, TColor c) override {
        reinterpret_cast<QRgb*>(Image_.scanLine(y))[x] = qRgb(RedOf(c), GreenOf(c), BlueOf(c));
    }

private:
    QImage& Image_;
};

} // namespace pigmentaria
