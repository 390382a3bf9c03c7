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

TPageFont MetricKey(TPageFont f) {
    f.Color = clBlack;
    return f;
}

} // namespace

TQtPageCanvas::TQtPageCanvas(QPainter& painter, QPaintDevice& device)
    : Painter_(&painter), Device_(&device) {}

TQtPageCanvas::~TQtPageCanvas() = default;

TQtPageCanvas::TFontFace::TFontFace(const TPageFont& key, const QFont& font, QPaintDevice* device)
    : Key(key), Font(font), Metrics(font, device), Height(Metrics.height()),
      Ascent(Metrics.ascent()) {}

int TQtPageCanvas::TFontFace::Width(const std::string& text) {
    const auto found = Widths.find(text);
    if (found != Widths.end()) return found->second;
    const int width = Metrics.horizontalAdvance(QString::fromStdString(text));
    Widths.emplace(text, width);
    return width;
}

TQtPageCanvas::TFontFace& TQtPageCanvas::Face() {
    const TPageFont key = MetricKey(Font_);
    if (Last_ && Last_->Key == key) return *Last_;
    for (const std::unique_ptr<TFontFace>& face : Faces_)
        if (face->Key == key) return *(Last_ = face.get());
    Faces_.push_back(std::make_unique<TFontFace>(key, ToQFont(key), Device_));
    return *(Last_ = Faces_.back().get());
}

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
    TFontFace& face = Face();
    if (Brush_.Style == TBrushStyle::Solid)
        Painter_->fillRect(x, y, face.Width(text), face.Height, ToQColor(Brush_.Color));
    Painter_->setFont(face.Font);
    Painter_->setPen(ToQColor(Font_.Color));
    Painter_->drawText(x, y + face.Ascent, QString::fromStdString(text));
}

int TQtPageCanvas::TextWidth(const std::string& text) {
    return Face().Width(text);
}

int TQtPageCanvas::TextHeight(const std::string&) {
    return Face().Height;
}

} // namespace pigmentaria
