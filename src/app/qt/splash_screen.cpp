#include "app/qt/splash_screen.h"

#include "app/qt/about_box.h"
#include "editor/qt/tool_icons.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>

namespace pigmentaria {

QPixmap MakeSplashPicture(const QPixmap& painting) {
    QPixmap pm(SplashWidth, SplashHeight);
    QPainter p(&pm);
    if (!painting.isNull()) {
        const QPixmap scaled =
            painting.scaled(pm.size(), Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation);
        p.drawPixmap((SplashWidth - scaled.width()) / 2, (SplashHeight - scaled.height()) / 2,
                     scaled);
    } else {
        QLinearGradient g(0, 0, SplashWidth, SplashHeight);
        g.setColorAt(0, QColor(0x2e, 0x86, 0xc1));
        g.setColorAt(1, QColor(0xe7, 0x4c, 0x3c));
        p.fillRect(pm.rect(), g);
    }
    p.setRenderHint(QPainter::Antialiasing);
    // A band on the left where the name stands out from the painting.
    QLinearGradient band(0, 0, SplashWidth * 0.7, 0);
    band.setColorAt(0, QColor(20, 16, 12, 215));
    band.setColorAt(0.75, QColor(20, 16, 12, 140));
    band.setColorAt(1, QColor(20, 16, 12, 0));
    p.fillRect(pm.rect(), band);
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
    p.drawRect(pm.rect().adjusted(0, 0, -1, -1));
    return pm;
}

TSplashScreen::TSplashScreen(const QPixmap& painting, QWidget* parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      Picture_(MakeSplashPicture(painting)) {
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
