#include "print/print_layout.h"

#include "platform/canvas.h"
#include "platform/text_parse.h"

#include <algorithm>
#include <cstdint>

namespace pigmentaria {

namespace {

constexpr TColor ButtonFace = MakeColor(240, 240, 240);
constexpr TColor Silver = MakeColor(192, 192, 192);

int Trunc(double v) {
    if (!(v > -2147483648.0)) return v != v ? 0 : INT32_MIN;
    if (v >= 2147483647.0) return INT32_MAX;
    return static_cast<int>(v);
}

double Hundredths(double inches) {
    return Trunc(inches * 100) / 100.0;
}

} // namespace

std::string InchText(double inches, char decimalPoint) {
    return FormatGeneral(Hundredths(inches), 15, decimalPoint) + "\"";
}

TPrintLayout ComputePrintLayout(const TPrinterMetrics& printer, int orientation,
                                TPrintSettings& settings, int screenDpiX, int screenDpiY) {
    TPrintLayout l;
    l.PrinterDpiX = std::max(1, printer.DpiX);
    l.PrinterDpiY = std::max(1, printer.DpiY);
    l.ScreenDpiX = screenDpiX;
    l.ScreenDpiY = screenDpiY;
    l.PagesAcross = settings.PagesAcross;
    l.PagesDown = settings.PagesDown;
    l.Orientation = orientation;

    l.PhysicalWidth = printer.PhysicalWidth;
    l.PhysicalHeight = printer.PhysicalHeight;
    l.PrintableWidth = printer.PrintableWidth;
    l.PrintableHeight = printer.PrintableHeight;
    l.PhysicalOffsetX = printer.PhysicalOffsetX;
    l.PhysicalOffsetY = printer.PhysicalOffsetY;
    l.PaperWidthIn = static_cast<double>(l.PhysicalWidth) / l.PrinterDpiX;
    l.PaperHeightIn = static_cast<double>(l.PhysicalHeight) / l.PrinterDpiY;
    l.PrintableWidthIn = static_cast<double>(l.PrintableWidth) / l.PrinterDpiX;
    l.PrintableHeightIn = static_cast<double>(l.PrintableHeight) / l.PrinterDpiY;
    l.OffsetXIn = static_cast<double>(l.PhysicalOffsetX) / l.PrinterDpiX;
    l.OffsetYIn = static_cast<double>(l.PhysicalOffsetY) / l.PrinterDpiY;

    // Neighbouring sheets must share more than what either cannot print, so that the marks of
    // one page fall on the printable part of the next.
    double overlap = settings.Overlap;
    const double minX = l.PaperWidthIn - l.PrintableWidthIn + 0.5;
    const double minY = l.PaperHeightIn - l.PrintableHeightIn + 0.5;
    // The raised value is the one the edit shows, read back from its text.
    if (!(overlap >= minX)) overlap = ParseReal(FormatGeneral(minX)).value_or(minX);
    if (!(overlap >= minY)) overlap = ParseReal(FormatGeneral(minY)).value_or(minY);
    settings.Overlap = overlap;
    l.OverlapIn = overlap;
    l.OverlapX = Trunc(l.PrinterDpiX * overlap);
    l.OverlapY = Trunc(l.PrinterDpiY * overlap);

    const long long across = settings.PagesAcross, down = settings.PagesDown;
    l.TotalWidth = static_cast<int>(l.PhysicalWidth * across - (across - 1) * l.OverlapX);
    l.TotalHeight = static_cast<int>(l.PhysicalHeight * down - (down - 1) * l.OverlapY);

    const int dominant = l.TotalHeight < l.TotalWidth ? l.TotalWidth : l.TotalHeight;
    l.SampleScale = dominant > 0 ? static_cast<double>(SampleSize) / dominant : 0.0;
    l.SampleScaleX = l.SampleScale * l.PrinterDpiX;
    l.SampleScaleY = l.SampleScale * l.PrinterDpiY;
    l.ImageWidthIn = FrameWidthIn(l, settings.Frame);
    l.ImageHeightIn = FrameHeightIn(l, settings.Frame);
    l.SampleOriginX = Trunc((SampleSize - Trunc(l.TotalWidth * l.SampleScale)) * 0.5);
    l.SampleOriginY = Trunc((SampleSize - Trunc(l.TotalHeight * l.SampleScale)) * 0.5);
    return l;
}

double FrameWidthIn(const TPrintLayout& layout, const TPlacementFrame& frame) {
    return layout.SampleScaleX > 0 ? frame.Width / layout.SampleScaleX : 0.0;
}

double FrameHeightIn(const TPrintLayout& layout, const TPlacementFrame& frame) {
    return layout.SampleScaleY > 0 ? frame.Height / layout.SampleScaleY : 0.0;
}

std::string PaperSizeText(const TPrintLayout& layout, char decimalPoint) {
    return InchText(layout.PaperWidthIn, decimalPoint) + " x " +
           InchText(layout.PaperHeightIn, decimalPoint);
}

std::string OrientationText(const TPrintLayout& layout) {
    return layout.Orientation == poLandscape ? "Landscape" : "Portrait";
}

std::string PrintSizeText(const TPrintLayout& layout, char decimalPoint) {
    const double w =
        layout.PagesAcross * layout.PaperWidthIn - (layout.PagesAcross - 1) * layout.OverlapIn;
    const double h =
        layout.PagesDown * layout.PaperHeightIn - (layout.PagesDown - 1) * layout.OverlapIn;
    return FillParts(PrintSizePattern, {InchText(w, decimalPoint), InchText(h, decimalPoint)});
}

std::string ImageSizeText(const TPrintLayout& layout, const TPlacementFrame& frame,
                          char decimalPoint) {
    return FillParts(ImageSizePattern, {InchText(FrameWidthIn(layout, frame), decimalPoint),
                                        InchText(FrameHeightIn(layout, frame), decimalPoint)});
}

TRaster24 DrawPrintSample(const TPrintLayout& l) {
    TRaster24 sample(SampleSize, SampleSize, ButtonFace);
    TRasterCanvas canvas(sample);
    canvas.SetPen({clBlack, 1, TPenStyle::Solid});
    const double s = l.SampleScale;
    for (int row = 1; row <= l.PagesDown; ++row)
        for (int column = 1; column <= l.PagesAcross; ++column) {
            const int left = Trunc((column - 1) * double(l.PhysicalWidth - l.OverlapX) * s);
            const int top = Trunc((row - 1) * double(l.PhysicalHeight - l.OverlapY) * s);
            const int right = left + Trunc(l.PhysicalWidth * s);
            const int bottom = top + Trunc(l.PhysicalHeight * s);
            const int ox = l.SampleOriginX, oy = l.SampleOriginY;
            canvas.SetBrush({Silver, TBrushStyle::Solid});
            canvas.Rectangle(left + ox, top + oy, right + ox, bottom + oy);
            const int pl = left + Trunc(l.PhysicalOffsetX * s) + ox;
            const int pt = top + Trunc(l.PhysicalOffsetY * s) + oy;
            canvas.SetBrush({clWhite, TBrushStyle::Solid});
            canvas.Rectangle(pl, pt, pl + Trunc(l.PrintableWidth * s),
                             pt + Trunc(l.PrintableHeight * s));
        }
    return sample;
}

TPlacementFrame FirstPlacementFrame(const TPrintLayout& layout, int paintingWidth,
                                    int paintingHeight, int panelWidth, int panelHeight) {
    TPlacementFrame frame;
    frame.Visible = true;
    if (paintingWidth > 0) {
        const double f = layout.TotalWidth * layout.SampleScale / paintingWidth * 0.8;
        frame.Width = Trunc(paintingWidth * f);
        frame.Height = Trunc(paintingHeight * f);
    }
    frame.Left = Trunc((panelWidth - frame.Width) * 0.5);
    frame.Top = Trunc((panelHeight - frame.Height) * 0.5);
    return frame;
}

TPoint SizeHandleAt(const TPlacementFrame& frame) {
    return {frame.Left + frame.Width - 7, frame.Top + frame.Height - 7};
}

TPlacementFrame DragFrame(TPlacementFrame frame, int dx, int dy, int panelWidth, int panelHeight) {
    frame.Left += dx;
    frame.Top += dy;
    if (frame.Top + frame.Height < 10) frame.Top = 10 - frame.Height;
    if (frame.Top > panelHeight - 10) frame.Top = panelHeight - 10;
    if (frame.Left + frame.Width < 10) frame.Left = 10 - frame.Width;
    if (frame.Left > panelWidth - 10) frame.Left = panelWidth - 10;
    return frame;
}

TPlacementFrame SizeFrame(TPlacementFrame frame, TPoint& handle, int dx, int dy, int paintingWidth,
                          int paintingHeight, int panelWidth, int panelHeight) {
    handle.X += dx;
    handle.Y += dy;
    if (handle.Y < frame.Top) handle.Y = frame.Top;
    if (handle.X < frame.Left) handle.X = frame.Left;
    if (handle.Y > panelHeight - 10) handle.Y = panelHeight - 10;
    if (handle.X > panelWidth - 10) handle.X = panelWidth - 10;
    // The handle sits 7 pixels inside the corner it drags, so the frame does not jump when it is
    // taken.
    frame.Width = handle.X + 7 - frame.Left;
    frame.Height = handle.Y + 7 - frame.Top;
    if (paintingWidth > 0 && paintingHeight > 0) {
        // The frame fits the box the handle spans, in the painting's proportions: the side that
        // would run past the handle follows the other. (Letting it run past would carry the
        // frame, and the handle put back at its corner, out of the panel out of reach.)
        const double a = static_cast<double>(paintingHeight) / paintingWidth;
        if (frame.Width * a <= frame.Height)
            frame.Height = Trunc(frame.Width * a);
        else
            frame.Width = Trunc(frame.Height / a);
    }
    return frame;
}

} // namespace pigmentaria
