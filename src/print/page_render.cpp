#include "print/page_render.h"

#include <algorithm>
#include <climits>

namespace pigmentaria {

namespace {

constexpr TColor Silver = MakeColor(192, 192, 192);

int Trunc(double v) {
    if (!(v > -2147483648.0)) return v != v ? 0 : INT32_MIN;
    if (v >= 2147483647.0) return INT32_MAX;
    return static_cast<int>(v);
}

TPageFont PageFont(int size, bool bold, bool italic, TColor color = clBlack) {
    TPageFont f;
    f.Name = "Arial";
    f.Size = size;
    f.Bold = bold;
    f.Italic = italic;
    f.Color = color;
    return f;
}

} // namespace

TPageDevice PageDeviceFor(const TPrintLayout& layout, bool printer) {
    if (printer)
        return {layout.PrinterDpiX, layout.PrinterDpiY, layout.PhysicalOffsetX,
                layout.PhysicalOffsetY, true};
    return {layout.ScreenDpiX, layout.ScreenDpiY, 0, 0, false};
}

TPagePosition PagePosition(int page, int across) {
    if (across <= 0) return {1, 1};
    const int row = (page - 1) / across + 1;
    return {row, page - across * (row - 1)};
}

int PageNumber(int row, int column, int across) {
    return column + across * (row - 1);
}

int FitLabelFontSize(TPageCanvas& canvas, const std::string& text, int boxWidth) {
    TPageFont font = canvas.Font();
    int size = 12;
    for (; size >= 3; --size) {
        font.Size = size;
        canvas.SetFont(font);
        if (canvas.TextWidth(text) <= boxWidth) break;
    }
    if (size <= 4) size = 4;
    return size - 1;
}

TPoint TPagePrinter::Map(const TPageDevice& d, double px, double py, int row, int column) const {
    const TPrintLayout& l = *Layout_;
    const double x = px / UnitsX_ + LeftIn_ - (column - 1) * (l.PaperWidthIn - l.OverlapIn);
    const double y = py / UnitsY_ + TopIn_ - (row - 1) * (l.PaperHeightIn - l.OverlapIn);
    return {Trunc(d.DpiX * x) - d.ShiftX, Trunc(d.DpiY * y) - d.ShiftY};
}

void TPagePrinter::AddNumbersIfAsked() {
    if (Settings_->PrintNumbers && !NumbersAdded_) {
        if (Source_->PlaceNumbers) Source_->PlaceNumbers();
        NumbersAdded_ = true;
    }
}

void TPagePrinter::PrintPage(TPageCanvas& canvas, bool onPrinter, int row, int column) {
    const TPrintSettings& s = *Settings_;
    AddNumbersIfAsked();
    const TPageDevice device = PageDeviceFor(*Layout_, onPrinter);
    canvas.SetFont(PageFont(9, true, true));

    // The painting's place on the page grid, from the placement frame over the sample.
    const TPrintLayout& l = *Layout_;
    const double imageW = FrameWidthIn(l, s.Frame), imageH = FrameHeightIn(l, s.Frame);
    const TShapeList* shapes = Source_->Shapes;
    const bool placed = shapes && shapes->PaintingWidth() > 0 && shapes->PaintingHeight() > 0 &&
                        imageW > 0 && imageH > 0;
    PenColor_ = clBlack;
    if (placed) {
        UnitsX_ = shapes->PaintingWidth() / imageW;
        UnitsY_ = shapes->PaintingHeight() / imageH;
        LeftIn_ = (s.Frame.Left - SampleImageLeft - l.SampleOriginX) / l.SampleScaleX;
        TopIn_ = (s.Frame.Top - SampleImageTop - l.SampleOriginY) / l.SampleScaleY;
        DrawShapes(canvas, device, row, column);
        if (s.PrintNumbers) DrawLabels(canvas, device, row, column);
    }
    if (s.RegistrationMarks) DrawMarks(canvas, device);
    if (s.PageNumbers) DrawPageNumber(canvas, device, row, column);
}

void TPagePrinter::DrawShapes(TPageCanvas& canvas, const TPageDevice& device, int row, int column) {
    const TPrintSettings& s = *Settings_;
    const int penWidth = LineWeightPenWidth(s.LineWeight, device.DpiX);
    for (const TPaintShape& shape : *Source_->Shapes) {
        PenColor_ = s.OutlinesBlack ? clBlack : shape.Color;
        if (s.OutlinesOnly) {
            canvas.SetPen({PenColor_, penWidth, TPenStyle::Solid});
            canvas.SetBrush({clWhite, TBrushStyle::Solid});
        } else {
            bool chosen = s.WhatToPrint == wpAll;
            if (s.WhatToPrint == wpCurrentColor) chosen = shape.Color == Source_->CurrentColor;
            if (s.WhatToPrint == wpSelected)
                chosen = Source_->Selection && Source_->Selection->IsSelected(&shape);
            TColor fill = clWhite;
            if (chosen)
                fill = s.FillWith == fwColor   ? shape.Color
                       : s.FillWith == fwBlack ? clBlack
                                               : Silver;
            canvas.SetPen({PenColor_, penWidth, TPenStyle::Clear});
            canvas.SetBrush({fill, TBrushStyle::Solid});
        }
        if (shape.Points.empty()) continue;
        Points_.clear();
        int minX = INT_MAX, minY = INT_MAX, maxX = INT_MIN, maxY = INT_MIN;
        for (const TShapePoint& p : shape.Points) {
            const TPoint d = Map(device, p.X, p.Y, row, column);
            minX = std::min(minX, d.X);
            maxX = std::max(maxX, d.X);
            minY = std::min(minY, d.Y);
            maxY = std::max(maxY, d.Y);
            Points_.push_back(d);
        }
        // A shape that shrinks to one device point has nothing to show at this resolution.
        if (minX == maxX && minY == maxY) continue;
        canvas.Polygon(Points_.data(), Points_.size());
    }
}

void TPagePrinter::DrawLabels(TPageCanvas& canvas, const TPageDevice& device, int row, int column) {
    if (!Source_->Labels) return;
    canvas.SetBrush({clWhite, TBrushStyle::Clear});
    for (const TPrintLabel& label : *Source_->Labels) {
        const TPoint a = Map(device, label.Left, label.Top, row, column);
        const TPoint b = Map(device, label.Right, label.Bottom, row, column);
        const int boxW = b.X - a.X, boxH = b.Y - a.Y;
        TPageFont font = canvas.Font();
        font.Color = PenColor_;
        canvas.SetFont(font);
        font.Size = FitLabelFontSize(canvas, label.Text, boxW);
        font.Bold = false;
        font.Italic = true;
        canvas.SetFont(font);
        const int x = a.X + boxW / 2 - canvas.TextWidth(label.Text) / 2;
        const int y = a.Y + boxH / 2 - canvas.TextHeight(label.Text) / 2;
        canvas.TextOut(x, y, label.Text);
    }
}

void TPagePrinter::DrawMarks(TPageCanvas& canvas, const TPageDevice& d) {
    const TPrintLayout& l = *Layout_;
    canvas.SetPen({clBlack, 1, TPenStyle::Solid});
    const double nearX = l.OffsetXIn + 0.25, nearY = l.OffsetYIn + 0.25;
    const double farX = l.PaperWidthIn - l.OverlapIn + 0.25 + l.OffsetXIn;
    const double farY = l.PaperHeightIn - l.OverlapIn + 0.25 + l.OffsetYIn;
    const auto dx = [&](double in) { return Trunc(in * d.DpiX) - d.ShiftX; };
    const auto dy = [&](double in) { return Trunc(in * d.DpiY) - d.ShiftY; };
    const double crosses[4][2] = {{nearX, nearY}, {farX, nearY}, {nearX, farY}, {farX, farY}};
    for (const auto& c : crosses) {
        canvas.MoveTo(dx(c[0] - 0.5), dy(c[1]));
        canvas.LineTo(dx(c[0] + 0.5), dy(c[1]));
        canvas.MoveTo(dx(c[0]), dy(c[1] - 0.5));
        canvas.LineTo(dx(c[0]), dy(c[1] + 0.5));
    }
}

void TPagePrinter::DrawPageNumber(TPageCanvas& canvas, const TPageDevice& device, int row,
                                  int column) {
    const TPrintLayout& l = *Layout_;
    canvas.SetFont(PageFont(9, true, true));
    canvas.SetBrush({clWhite, TBrushStyle::Clear});
    // On the printer the text starts one unprintable margin inside the printable corner; other
    // canvases put it at the same place on the paper.
    int x = l.PhysicalOffsetX, y = l.PhysicalOffsetY;
    if (!device.Printer) {
        x = Trunc(2.0 * l.PhysicalOffsetX / l.PrinterDpiX * device.DpiX);
        y = Trunc(2.0 * l.PhysicalOffsetY / l.PrinterDpiY * device.DpiY);
    }
    canvas.TextOut(x, y, "Page: " + std::to_string(PageNumber(row, column, l.PagesAcross)));
}

void PrintAllPages(IPrinter& printer, TPrintSettings& settings, TPrintLayout& layout,
                   TPagePrinter& pages, const std::string& title) {
    TNullProgress progress;
    PrintAllPages(printer, settings, layout, pages, title, progress);
}

void PrintAllPages(IPrinter& printer, TPrintSettings& settings, TPrintLayout& layout,
                   TPagePrinter& pages, const std::string& title, IProgressSink& progress) {
    layout = ComputePrintLayout(printer.Metrics(), printer.Paper().Orientation, settings,
                                layout.ScreenDpiX, layout.ScreenDpiY);
    const int across = settings.PagesAcross, down = settings.PagesDown;
    pages.AddNumbersIfAsked();
    TProgressRun run(progress, PrintingMessage, 0, std::max(0, across) * std::max(0, down));
    printer.BeginDoc(title);
    bool first = true;
    int done = 0;
    try {
        for (int row = 1; row <= down; ++row)
            for (int column = 1; column <= across; ++column) {
                if (!first) printer.NewPage();
                first = false;
                pages.PrintPage(printer.Canvas(), true, row, column);
                run.Step(++done);
            }
    } catch (...) {
        printer.AbortDoc();
        throw;
    }
    printer.EndDoc();
}

} // namespace pigmentaria
