#pragma once
// The page canvas on a Qt painter: a printer, a PDF file or an image at screen resolution.
#include "print/page_canvas.h"

#include <QFont>
#include <QFontMetrics>

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class QPainter;
class QPaintDevice;

namespace pigmentaria {

class TQtPageCanvas final : public TPageCanvas {
public:
    // The painter must be active on `device` for the canvas's life.
    TQtPageCanvas(QPainter& painter, QPaintDevice& device);
    ~TQtPageCanvas() override;

    void Polygon(const TPoint* points, std::size_t count) override;
    using TCanvas::Polygon;
    void LineTo(int x, int y) override;
    void Rectangle(int left, int top, int right, int bottom) override;
    void FillRect(int left, int top, int right, int bottom) override;
    void TextOut(int x, int y, const std::string& text) override;
    int TextWidth(const std::string& text) override;
    int TextHeight(const std::string& text) override;

private:
    // A font as the device sees it, with the widths of the texts measured in it so far. A page of
    // numbers measures the same few strings in the same few fonts thousands of times; the device
    // and its resolution stay the same for the canvas's life, so the answers do too.
    struct TFontFace {
        TPageFont Key; // colour left at its default: it changes no metric
        QFont Font;
        QFontMetrics Metrics;
        int Height = 0, Ascent = 0;
        std::unordered_map<std::string, int> Widths;
        TFontFace(const TPageFont& key, const QFont& font, QPaintDevice* device);
        int Width(const std::string& text);
    };
    TFontFace& Face();
    void ApplyPenAndBrush();

    QPainter* Painter_;
    QPaintDevice* Device_;
    std::vector<std::unique_ptr<TFontFace>> Faces_;
    TFontFace* Last_ = nullptr;
};

} // namespace pigmentaria
