#pragma once
// The page canvas on a Qt painter: a printer, a PDF file or an image at screen resolution.
#include "print/page_canvas.h"

class QPainter;
class QPaintDevice;

namespace pigmentaria {

class TQtPageCanvas final : public TPageCanvas {
public:
    // The painter must be active on `device` for the canvas's life.
    TQtPageCanvas(QPainter& painter, QPaintDevice& device) : Painter_(&painter), Device_(&device) {}

    void Polygon(const TPoint* points, std::size_t count) override;
    using TCanvas::Polygon;
    void LineTo(int x, int y) override;
    void Rectangle(int left, int top, int right, int bottom) override;
    void FillRect(int left, int top, int right, int bottom) override;
    void TextOut(int x, int y, const std::string& text) override;
    int TextWidth(const std::string& text) override;
    int TextHeight(const std::string& text) override;

private:
    void ApplyPenAndBrush();

    QPainter* Painter_;
    QPaintDevice* Device_;
};

} // namespace pigmentaria
