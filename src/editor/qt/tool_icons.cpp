#include "editor/qt/tool_icons.h"

#include "editor/tool_cursors.h"
#include "image/qt/qt_cursors.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace pigmentaria {

namespace {

// A cursor drawing scaled into an icon.
QPixmap FromArt(const TCursorArt& art, int size) {
    const auto px = CursorPixels(art);
    QImage im(CursorSide, CursorSide, QImage::Format_ARGB32);
    im.fill(Qt::transparent);
    for (int y = 0; y < CursorSide; ++y)
        for (int x = 0; x < CursorSide; ++x) {
            const TCursorPixel p = px[static_cast<std::size_t>(y * CursorSide + x)];
            if (p == TCursorPixel::Black) im.setPixel(x, y, qRgb(30, 30, 30));
            if (p == TCursorPixel::White) im.setPixel(x, y, qRgb(250, 250, 250));
        }
    return QPixmap::fromImage(im.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void DashedRect(QPainter& p, QRectF r) {
    QPen pen(QColor(20, 20, 20), 1.5, Qt::DashLine);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(r);
}

QPixmap Draw(TToolIcon icon, int s) {
    QPixmap pm(s, s);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const double u = s / 24.0;
    p.scale(u, u);
    switch (icon) {
    case TToolIcon::Selection: {
        QPainterPath arrow;
        arrow.moveTo(6, 3);
        arrow.lineTo(6, 19);
        arrow.lineTo(10, 15);
        arrow.lineTo(13, 21);
        arrow.lineTo(15.5, 20);
        arrow.lineTo(12.5, 14);
        arrow.lineTo(18, 14);
        arrow.closeSubpath();
        p.setPen(QPen(Qt::black, 1.2));
        p.setBrush(Qt::white);
        p.drawPath(arrow);
        break;
    }
    case TToolIcon::Brushstroke:
        p.resetTransform();
        p.drawPixmap(0, 0, FromArt(*ToolCursorArt(tmBrushstroke), s));
        break;
    case TToolIcon::Eyedropper:
        p.resetTransform();
        p.drawPixmap(0, 0, FromArt(*ToolCursorArt(tmEyedropper), s));
        break;
    case TToolIcon::PaintBucket:
        p.resetTransform();
        p.drawPixmap(0, 0, FromArt(*ToolCursorArt(tmPaintBottle), s));
        break;
    case TToolIcon::Region:
        DashedRect(p, QRectF(3, 5, 18, 14));
        break;
    case TToolIcon::ColorInRegion:
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(200, 40, 40));
        p.drawEllipse(QRectF(8, 8, 8, 8));
        DashedRect(p, QRectF(3, 5, 18, 14));
        break;
    case TToolIcon::SelectAll:
        p.setPen(Qt::NoPen);
        for (int i = 0; i < 4; ++i) {
            p.setBrush(QColor::fromHsv(i * 80, 160, 220));
            p.drawRect(QRectF(5 + (i % 2) * 7.5, 5 + (i / 2) * 7.5, 6.5, 6.5));
        }
        DashedRect(p, QRectF(2.5, 2.5, 19, 19));
        break;
    case TToolIcon::SelectColor:
        p.setPen(Qt::NoPen);
        for (int i = 0; i < 4; ++i) {
            p.setBrush(i % 3 == 0 ? QColor(40, 110, 200) : QColor(220, 200, 120));
            p.drawRect(QRectF(4 + (i % 2) * 9, 4 + (i / 2) * 9, 7, 7));
        }
        p.setPen(QPen(QColor(200, 30, 30), 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(3, 3, 9, 9));
        p.drawRect(QRectF(12, 12, 9, 9));
        break;
    case TToolIcon::Smooth: {
        QPainterPath wave;
        wave.moveTo(3, 15);
        wave.cubicTo(8, 4, 12, 22, 21, 9);
        p.setPen(QPen(QColor(30, 30, 30), 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(wave);
        break;
    }
    case TToolIcon::Palette: {
        p.setPen(QPen(QColor(90, 60, 30), 1.2));
        p.setBrush(QColor(230, 200, 150));
        p.drawEllipse(QRectF(2, 4, 20, 16));
        const QColor dots[] = {Qt::red, Qt::yellow, Qt::blue, Qt::green};
        for (int i = 0; i < 4; ++i) {
            p.setBrush(dots[i]);
            p.drawEllipse(QRectF(5 + i * 4, 7 + (i % 2) * 2, 3.5, 3.5));
        }
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(13, 13, 4, 4));
        break;
    }
    case TToolIcon::ColorDialog: {
        QLinearGradient g(3, 0, 21, 0);
        for (int i = 0; i <= 6; ++i)
            g.setColorAt(i / 6.0, QColor::fromHsv((i * 60) % 360, 230, 240));
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(g);
        p.drawRect(QRectF(3, 5, 18, 14));
        break;
    }
    case TToolIcon::MergeCell: {
        // Two cells of one colour, the border between them going.
        p.setPen(QPen(QColor(30, 30, 30), 1.5));
        p.setBrush(QColor(90, 160, 220));
        p.drawRoundedRect(QRectF(2.5, 5.5, 19, 13), 3, 3);
        p.setPen(QPen(QColor(30, 30, 30), 1.2, Qt::DotLine));
        p.drawLine(QPointF(12, 6.5), QPointF(12, 17.5));
        p.setPen(QPen(QColor(250, 250, 250), 1.8, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(14.5, 12), QPointF(19, 12));
        p.drawLine(QPointF(14.5, 12), QPointF(16.5, 10));
        p.drawLine(QPointF(14.5, 12), QPointF(16.5, 14));
        break;
    }
    case TToolIcon::Zoom:
        p.setPen(QPen(QColor(30, 30, 30), 2.2, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(QColor(220, 235, 250));
        p.drawEllipse(QRectF(3, 3, 12, 12));
        p.drawLine(QPointF(13.5, 13.5), QPointF(20.5, 20.5));
        break;
    case TToolIcon::Help: {
        p.setPen(QPen(QColor(20, 60, 140), 1.5));
        p.setBrush(QColor(220, 230, 250));
        p.drawEllipse(QRectF(2, 2, 20, 20));
        QFont f = p.font();
        f.setBold(true);
        f.setPixelSize(15);
        p.setFont(f);
        p.drawText(QRectF(2, 2, 20, 20), Qt::AlignCenter, "?");
        break;
    }
    }
    return pm;
}

} // namespace

QIcon ToolIcon(TToolIcon icon) {
    QIcon i;
    i.addPixmap(Draw(icon, 24));
    i.addPixmap(Draw(icon, 48));
    return i;
}

QCursor ToolCursor(int number) {
    if (const TCursorArt* art = ToolCursorArt(number)) return MakeCursor(*art);
    return Qt::ArrowCursor;
}

// The same design as the desktop's scalable icon: a canvas of flat traced patches on a rounded
// frame, one patch carrying its paint number.
QPixmap ApplicationIconPixmap(int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    p.setPen(QPen(QColor(0x3b, 0x2f, 0x2a), 2));
    p.setBrush(QColor(0xfb, 0xf6, 0xee));
    p.drawRoundedRect(QRectF(4, 4, 56, 56), 8, 8);
    auto patch = [&](QColor c, std::initializer_list<QPointF> pts) {
        QPolygonF poly;
        for (const QPointF& q : pts)
            poly << q;
        p.setPen(QPen(QColor(0x3b, 0x2f, 0x2a), 1.5));
        p.setBrush(c);
        p.drawPolygon(poly);
    };
    patch(QColor(0x2e, 0x86, 0xc1), {{8, 8}, {56, 8}, {56, 26}, {38, 30}, {22, 22}, {8, 28}});
    patch(QColor(0xf4, 0xc4, 0x30), {{22, 22}, {38, 30}, {30, 42}, {14, 38}, {8, 28}});
    patch(QColor(0x27, 0xae, 0x60), {{8, 28}, {14, 38}, {30, 42}, {28, 56}, {8, 56}});
    patch(QColor(0xe7, 0x4c, 0x3c), {{38, 30}, {56, 26}, {56, 56}, {28, 56}, {30, 42}});
    QFont f;
    f.setBold(true);
    f.setPixelSize(14);
    p.setFont(f);
    p.setPen(QColor(0x3b, 0x2f, 0x2a));
    p.drawText(QRectF(34, 34, 20, 18), Qt::AlignCenter, "3");
    return pm;
}

QIcon ApplicationIcon() {
    QIcon i;
    for (int s : {16, 24, 32, 48, 64, 128, 256})
        i.addPixmap(ApplicationIconPixmap(s));
    return i;
}

} // namespace pigmentaria
