#include "print/qt/qt_page_canvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>

#include <vector>

namespace pigmentaria {

namespace {

QColor ToQColor(TColor c) {
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

QFont ToQFont(const TPageFont& f) {
    QFont font(QString::fromStdString(f.Name));
    font.setPointSize(f.Size > 0 ? f.Size : 1);
    font.setBold(f.Bold);
    font.setItalic(f.Italic);
    return font;
}

} // namespace

void TQtPageCanvas::ApplyPenAndBrush() {
    if (Pen_.Style == TPenStyle::Clear) {
        Painter_->setPen(Qt::NoPen);
    } else {
        // Wide outlines join and end round, as a geometric printer pen does.
        QPen pen(ToQColor(Pen_.Color), Pen_.Width > 0 ? Pen_.Width : 1, Qt::SolidLine, Qt::RoundCap,
                 Qt::RoundJoin);
        Painter_->setPen(pen);
    }
    if (Brush_.Style == TBrushStyle::Clear)
        Painter_->setBrush(Qt::NoBrush);
    else
        Painter_->setBrush(ToQColor(Brush_.Color));
}

void TQtPageCanvas::Polygon(const TPoint* points, std::size_t count) {
    if (count == 0) return;
    ApplyPenAndBrush();
    QPolygon polygon(static_cast<int>(count));
    for (std::size_t i = 0; i < count; ++i)
        polygon.setPoint(static_cast<int>(i), points[i].X, points[i].Y);
    Painter_->drawPolygon(polygon, Qt::OddEvenFill);
}

void TQtPageCanvas::LineTo(int x, int y) {
    ApplyPenAndBrush();
    Painter_->drawLine(Current_.X, Current_.Y, x, y);
    Current_ = {x, y};
}

void TQtPageCanvas::Rectangle(int left, int top, int right, int bottom) {
    ApplyPenAndBrush();
    Painter_->drawRect(left, top, right - left - 1, bottom - top - 1);
}

void TQtPageCanvas::FillRect(int left, int top, int right, int bottom) {
    if (Brush_.Style == TBrushStyle::Clear) return;
    Painter_->fillRect(left, top, right - left, bottom - top, ToQColor(Brush_.Color));
}

void TQtPageCanvas::TextOut(int x, int y, const std::string& text) {
    const QFont font = ToQFont(Font_);
    const QFontMetrics metrics(font, Device_);
    const QString s = QString::fromStdString(text);
    if (Brush_.Style == TBrushStyle::Solid)
        Painter_->fillRect(x, y, metrics.horizontalAdvance(s), metrics.height(),
                           ToQColor(Brush_.Color));
    Painter_->setFont(font);
    Painter_->setPen(ToQColor(Font_.Color));
    Painter_->drawText(x, y + metrics.ascent(), s);
}

int TQtPageCanvas::TextWidth(const std::string& text) {
    return QFontMetrics(ToQFont(Font_), Device_).horizontalAdvance(QString::fromStdString(text));
}

int TQtPageCanvas::TextHeight(const std::string&) {
    return QFontMetrics(ToQFont(Font_), Device_).height();
}

} // namespace pigmentaria
