// The tool bar's pictures and the program's icon: drawn from their compiled-in SVG files at the
// size and pixel density asked for, not scaled up from a smaller drawing.
#include "editor/qt/tool_icons.h"

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <gtest/gtest.h>

namespace pigmentaria {
namespace {

QImage Plain(const QImage& image) {
    QImage im = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    im.setDevicePixelRatio(1);
    return im;
}

QImage Drawn(const QString& resource, int side) {
    QSvgRenderer svg(resource);
    QImage im(side, side, QImage::Format_ARGB32_Premultiplied);
    im.fill(Qt::transparent);
    QPainter p(&im);
    svg.render(&p);
    return im;
}

bool HasOpaquePixels(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) == 255) return true;
    return false;
}

TEST(ToolIconTest, EveryIconIsDrawnFromItsSvgAtTheScreensPixelDensity) {
    for (int i = 0; i <= static_cast<int>(TToolIcon::MergeCell); ++i) {
        const auto icon = static_cast<TToolIcon>(i);
        const QString resource = ToolIconResource(icon);
        SCOPED_TRACE(resource.toStdString());
        ASSERT_TRUE(QSvgRenderer(resource).isValid());
        const QPixmap normal = ToolIcon(icon).pixmap(QSize(24, 24), 2.0);
        ASSERT_EQ(normal.size(), QSize(48, 48));
        EXPECT_EQ(normal.devicePixelRatio(), 2.0);
        const QImage sharp = Plain(normal.toImage());
        EXPECT_TRUE(HasOpaquePixels(sharp));
        EXPECT_EQ(sharp, Drawn(resource, 48));
        EXPECT_NE(sharp,
                  Plain(Drawn(resource, 24)
                            .scaled(48, 48, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
        const QPixmap disabled = ToolIcon(icon).pixmap(QSize(24, 24), 2.0, QIcon::Disabled);
        EXPECT_EQ(disabled.size(), QSize(48, 48));
        EXPECT_NE(Plain(disabled.toImage()), sharp);
    }
}

TEST(ToolIconTest, TheProgramsIconIsCompiledIn) {
    ASSERT_TRUE(QSvgRenderer(QString(ApplicationIconResource)).isValid());
    const QPixmap pm = ApplicationIcon().pixmap(QSize(32, 32), 2.0);
    EXPECT_EQ(pm.size(), QSize(64, 64));
    EXPECT_TRUE(HasOpaquePixels(pm.toImage()));
}

} // namespace
} // namespace pigmentaria
