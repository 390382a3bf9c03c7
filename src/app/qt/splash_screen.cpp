#include "app/qt/splash_screen.h"

#include "app/qt/about_box.h"
#include "editor/qt/tool_icons.h"

#include <QApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>

namespace pigmentaria {

QPixmap MakeSplashPicture(const QPixmap& painting, qreal ratio) {
    // Drawn at the screen's own density, so the name and icon stay sharp on a scaled screen.
    QPixmap pm(QSize(SplashWidth, SplashHeight) * ratio);
    pm.setDevicePixelRatio(ratio);
    QPainter p(&pm);
    if (!painting.isNull()) {
        QPixmap scaled =
            painting.scaled(pm.size(), Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation);
        scaled.setDevicePixelRatio(ratio);
        const QSizeF shown = scaled.deviceIndependentSize();
        p.drawPixmap(
            QPointF((SplashWidth - shown.width()) / 2, (SplashHeight - shown.height()) / 2),
            scaled);
    } else {
        QLinearGradient g(0, 0, SplashWidth, SplashHeight);
        g.setColorAt(0, QColor(0x2e, 0x86, 0xc1));
        g.setColorAt(1, QColor(0xe7, 0x4c, 0x3c));
        p.fillRect(QRect(0, 0, SplashWidth, SplashHeight), g);
    }
    p.setRenderHint(QPainter::Antialiasing);
    // A band on the left where the name stands out from the painting.
    QLinearGradient band(0, 0, SplashWidth * 0.7, 0);
    band.setColorAt(0, QColor(20, 16, 12, 215));
    band.setColorAt(0.75, QColor(20, 16, 12, 140));
    band.setColorAt(1, QColor(20, 16, 12, 0));
    const QRect frame(0, 0, SplashWidth, SplashHeight);
    p.fillRect(frame, band);
    p.drawPixmap(24, (SplashHeight - 72) / 2, ApplicationIconPixmap(72));
    QFont title;
    title.setPixelSize(46);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(0xfb, 0xf6, 0xee));
    p.drawText(QRect(112, 52, 480, 60), Qt::AlignLeft | Qt::AlignVCenter, "Pigmentaria");
    QFont small;
    small.setPixelSize(15);
    p.setFont(small);
    p.drawText(QRect(116, 112, 480, 24), Qt::AlignLeft | Qt::AlignVCenter,
               QString("From photo to paint-by-number  \u2022  ") + VersionText);
    p.setPen(QColor(0xfb, 0xf6, 0xee, 90));
    p.drawRect(frame.adjusted(0, 0, -1, -1));
    return pm;
}

TSplashScreen::TSplashScreen(const QPixmap& painting, QWidget* parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      Picture_(MakeSplashPicture(painting, qApp->devicePixelRatio())) {
    setObjectName("SplashScreen");
    setWindowTitle("Pigmentaria");
    setAccessibleName("Pigmentaria");
    setFixedSize(SplashWidth, SplashHeight);
    Timer_.setInterval(SplashMs);
    connect(&Timer_, &QTimer::timeout, this, [this] {
        Timer_.stop();
        accept();
    });
}

int TSplashScreen::ShowModal() {
    if (const QScreen* s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - QPoint(SplashWidth / 2, SplashHeight / 2));
    Timer_.start();
    return exec();
}

void TSplashScreen::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawPixmap(0, 0, Picture_);
}

} // namespace pigmentaria
