#include "image/qt/qt_clipboard.h"

#include "image/qt/qt_raster.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QMimeData>
#include <QPainter>
#include <QSvgRenderer>

#include <span>

namespace pigmentaria {

namespace {

// The largest side a drawing is rendered at when it names no sensible size of its own.
constexpr int DrawingFallbackSide = 1000;
constexpr int DrawingLargestSide = 8000;

std::unique_ptr<TPixelGraphic> PictureOfImage(const QImage& image) {
    if (image.isNull()) return nullptr;
    auto picture = std::make_unique<TPixelGraphic>();
    picture->AssignRaster24(ImageToRaster(image));
    return picture;
}

QImage RenderDrawing(const QByteArray& bytes) {
    QSvgRenderer renderer(bytes);
    if (!renderer.isValid()) return {};
    QSize size = renderer.defaultSize();
    if (size.width() <= 0 || size.height() <= 0)
        size = QSize(DrawingFallbackSide, DrawingFallbackSide);
    if (size.width() > DrawingLargestSide || size.height() > DrawingLargestSide)
        size.scale(DrawingLargestSide, DrawingLargestSide, Qt::KeepAspectRatio);
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull()) return {};
    image.fill(Qt::white);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

} // namespace

std::vector<std::string> ClipboardFormats(const QMimeData* data) {
    std::vector<std::string> formats;
    if (!data) return formats;
    for (const QString& f : data->formats())
        formats.push_back(f.toStdString());
    // An image handed over within the program is known by hasImage() alone.
    if (data->hasImage()) formats.push_back(ToolkitImageFormat);
    return formats;
}

TClipboardChoice ClipboardPictureChoice(const QMimeData* data) {
    return ChooseClipboardPicture(ClipboardFormats(data));
}

bool ClipboardHoldsPicture() {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    return clipboard &&
           ClipboardPictureChoice(clipboard->mimeData()).Kind != TClipboardPictureKind::None;
}

TClipboardRead ReadClipboardPicture(const QMimeData* data) {
    TClipboardRead out;
    const TClipboardChoice choice = ClipboardPictureChoice(data);
    const QString format = QString::fromStdString(choice.Format);
    switch (choice.Kind) {
    case TClipboardPictureKind::None:
        out.Error = "The clipboard holds no picture.";
        return out;
    case TClipboardPictureKind::Bitmap: {
        QImage image;
        if (choice.Format == ToolkitImageFormat) {
            image = qvariant_cast<QImage>(data->imageData());
        } else {
            image.loadFromData(data->data(format));
            if (image.isNull()) image = qvariant_cast<QImage>(data->imageData());
        }
        out.Picture = PictureOfImage(image);
        if (!out.Picture) out.Error = "The clipboard's picture could not be read.";
        return out;
    }
    case TClipboardPictureKind::EnhancedMetafile:
    case TClipboardPictureKind::WindowsMetafile: {
        const QByteArray bytes = data->data(format);
        try {
            out.Picture = std::make_unique<TPixelGraphic>(PictureFromMetafile(
                std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                          static_cast<std::size_t>(bytes.size())),
                choice.Kind == TClipboardPictureKind::EnhancedMetafile));
        } catch (const std::exception& e) {
            out.Error = e.what();
        }
        return out;
    }
    case TClipboardPictureKind::Drawing:
        out.Picture = PictureOfImage(RenderDrawing(data->data(format)));
        if (!out.Picture) out.Error = "The clipboard's drawing could not be read.";
        return out;
    }
    return out;
}

TClipboardRead ReadClipboardPicture() {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    return ReadClipboardPicture(clipboard ? clipboard->mimeData() : nullptr);
}

void PutPictureOnClipboard(const TPixelGraphic& picture) {
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->setImage(PictureToImage(picture));
}

} // namespace pigmentaria
