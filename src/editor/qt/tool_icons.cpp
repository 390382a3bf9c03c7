#include "editor/qt/tool_icons.h"

#include "editor/tool_cursors.h"
#include "image/qt/qt_cursors.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>
#include <QSvgRenderer>

#include <map>
#include <memory>
#include <tuple>

namespace pigmentaria {

namespace {

// Renders one SVG picture at each size and pixel density it is asked for, so that the tool bar
// stays sharp on a scaled screen. Done here rather than by Qt's SVG icon plug-in, which a system
// need not have installed.
class TSvgIconEngine final : public QIconEngine {
public:
    explicit TSvgIconEngine(const QString& resource)
        : Renderer_(std::make_shared<QSvgRenderer>(resource)) {
        Renderer_->setAspectRatioMode(Qt::KeepAspectRatio);
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        const qreal scale = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
        painter->drawPixmap(rect, Rendered(rect.size() * scale, mode, scale));
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
        return Rendered(size, mode, 1.0);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State, qreal scale) override {
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
        // From Qt 6.8 the size asked for is in logical pixels; before, in device pixels.
        return Rendered(size * scale, mode, scale);
#else
        return Rendered(size, mode, scale);
#endif
    }
    QIconEngine* clone() const override {
        return new TSvgIconEngine(*this);
    }
    QString key() const override {
        return QStringLiteral("pigmentaria-svg");
    }
    bool isNull() override {
        return !Renderer_->isValid();
    }

private:
    TSvgIconEngine(const TSvgIconEngine&) = default;

    // The picture filling `device` pixels, the style's treatment for a disabled or selected
    // button applied.
    QPixmap Rendered(QSize device, QIcon::Mode mode, qreal scale) {
        if (device.isEmpty() || !Renderer_->isValid()) return {};
        if (mode == QIcon::Active) mode = QIcon::Normal;
        const auto key = std::tuple(device.width(), device.height(), static_cast<int>(mode));
        if (const auto found = Cache_.find(key); found != Cache_.end()) return found->second;
        QImage image(device, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter p(&image);
            Renderer_->render(&p);
        }
        QPixmap pm = QPixmap::fromImage(image);
        // Only widgets show disabled or selected icons, and only a widget application has a style.
        if (mode != QIcon::Normal && qobject_cast<QApplication*>(QCoreApplication::instance())) {
            QStyleOption option;
            option.palette = QApplication::palette();
            pm = QApplication::style()->generatedIconPixmap(mode, pm, &option);
        }
        pm.setDevicePixelRatio(scale);
        return Cache_[key] = pm;
    }

    // Shared by the copies Qt makes of an icon; it only reads the picture.
    std::shared_ptr<QSvgRenderer> Renderer_;
    std::map<std::tuple<int, int, int>, QPixmap> Cache_;
};

} // namespace

QString ToolIconResource(TToolIcon icon) {
    switch (icon) {
    case TToolIcon::Selection:
        return QStringLiteral(":/icons/selection.svg");
    case TToolIcon::Brushstroke:
        return QStringLiteral(":/icons/brushstroke.svg");
    case TToolIcon::Eyedropper:
        return QStringLiteral(":/icons/eyedropper.svg");
    case TToolIcon::Region:
        return QStringLiteral(":/icons/region.svg");
    case TToolIcon::ColorInRegion:
        return QStringLiteral(":/icons/color_in_region.svg");
    case TToolIcon::SelectAll:
        return QStringLiteral(":/icons/select_all.svg");
    case TToolIcon::SelectColor:
        return QStringLiteral(":/icons/select_color.svg");
    case TToolIcon::PaintBucket:
        return QStringLiteral(":/icons/paint_bucket.svg");
    case TToolIcon::Smooth:
        return QStringLiteral(":/icons/smooth.svg");
    case TToolIcon::Palette:
        return QStringLiteral(":/icons/palette.svg");
    case TToolIcon::ColorDialog:
        return QStringLiteral(":/icons/color_dialog.svg");
    case TToolIcon::Zoom:
        return QStringLiteral(":/icons/zoom.svg");
    case TToolIcon::Help:
        return QStringLiteral(":/icons/help.svg");
    case TToolIcon::MergeCell:
        return QStringLiteral(":/icons/merge_cell.svg");
    }
    return {};
}

QIcon ToolIcon(TToolIcon icon) {
    return QIcon(new TSvgIconEngine(ToolIconResource(icon)));
}

QCursor ToolCursor(int number) {
    if (const TCursorArt* art = ToolCursorArt(number)) return MakeCursor(*art);
    return Qt::ArrowCursor;
}

QIcon ApplicationIcon() {
    return QIcon(new TSvgIconEngine(ApplicationIconResource));
}

QPixmap ApplicationIconPixmap(int size) {
    return ApplicationIcon().pixmap(QSize(size, size));
}

} // namespace pigmentaria
