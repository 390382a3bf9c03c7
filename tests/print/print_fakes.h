#pragma once
// A page canvas that records what is drawn, with simple fixed font metrics (a character is as
// wide as the font's size in device pixels, a line twice as high), and a printer around it.
#include "print/page_canvas.h"
#include "print/printer.h"

#include <string>
#include <vector>

namespace pigmentaria::test {

struct TDrawnPolygon {
    int Page;
    std::vector<TPoint> Points;
    TPen Pen;
    TBrush Brush;
};
struct TDrawnLine {
    int Page;
    TPoint From, To;
    TPen Pen;
};
struct TDrawnText {
    int Page;
    int X, Y;
    std::string Text;
    TPageFont Font;
    TBrush Brush;
};
struct TDrawnRect {
    int Page;
    int Left, Top, Right, Bottom;
    TBrush Brush;
};

class TRecordingPageCanvas final : public TPageCanvas {
public:
    void Polygon(const TPoint* points, std::size_t count) override {
        Polygons.push_back({Page, std::vector<TPoint>(points, points + count), Pen_, Brush_});
    }
    using TCanvas::Polygon;
    void LineTo(int x, int y) override {
        Lines.push_back({Page, Current_, {x, y}, Pen_});
        Current_ = {x, y};
    }
    void Rectangle(int left, int top, int right, int bottom) override {
        Rects.push_back({Page, left, top, right, bottom, Brush_});
    }
    void FillRect(int left, int top, int right, int bottom) override {
        Rects.push_back({Page, left, top, right, bottom, Brush_});
    }
    void TextOut(int x, int y, const std::string& text) override {
        Texts.push_back({Page, x, y, text, Font_, Brush_});
    }
    int TextWidth(const std::string& text) override {
        return static_cast<int>(text.size()) * Font_.Size;
    }
    int TextHeight(const std::string&) override { return 2 * Font_.Size; }

    int Page = 1;
    std::vector<TDrawnPolygon> Polygons;
    std::vector<TDrawnLine> Lines;
    std::vector<TDrawnText> Texts;
    std::vector<TDrawnRect> Rects;
};

class TRecordingPrinter final : public IPrinter {
public:
    explicit TRecordingPrinter(TPrinterMetrics metrics) : Metrics_(metrics) {}
    std::string Name() const override { return "Recorder"; }
    TPrinterMetrics Metrics() const override { return Metrics_; }
    TPaperChoice Paper() const override { return Paper_; }
    void ApplyPaper(const TPaperChoice& paper) override { Paper_ = paper; }
    void BeginDoc(const std::string& title) override {
        Titles.push_back(title);
        Canvas_.Page = 1;
        ++Begun;
    }
    void NewPage() override { ++Canvas_.Page; }
    void EndDoc() override { ++Ended; }
    void AbortDoc() override { ++Aborted; }
    TRecordingPageCanvas& Canvas() override { return Canvas_; }

    std::vector<std::string> Titles;
    int Begun = 0, Ended = 0, Aborted = 0;

private:
    TPrinterMetrics Metrics_;
    TPaperChoice Paper_;
    TRecordingPageCanvas Canvas_;
};

// Letter paper, 8.5 × 11 inches, at 600 dpi with the same margin on every side.
inline TPrinterMetrics LetterAt600(double marginIn = 0) {
    return MetricsForPaper(PaperSizeOfCode(PaperLetter), 0, 600, 600, marginIn);
}

} // namespace pigmentaria::test
