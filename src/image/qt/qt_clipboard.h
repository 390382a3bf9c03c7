#pragma once
// Pictures through the desktop's clipboard: which one it offers (images, metafiles, drawings),
// reading it as a picture, and putting a picture on it.
#include "image/clipboard_picture.h"
#include "image/pixel_graphic.h"

#include <QStringList>

#include <memory>
#include <string>

class QMimeData;

namespace pigmentaria {

std::vector<std::string> ClipboardFormats(const QMimeData* data);
// What the data offers, by ChooseClipboardPicture.
TClipboardChoice ClipboardPictureChoice(const QMimeData* data);
// Whether the application's clipboard holds a picture now.
bool ClipboardHoldsPicture();

struct TClipboardRead {
    std::unique_ptr<TPixelGraphic> Picture; // 24 bits; null when nothing could be read
    std::string Error;                      // why not, when something was offered
};
// Reads the picture the data offers: an image as it is, a metafile played by the library's own
// reader at its size, a drawing rendered at its own size over white.
TClipboardRead ReadClipboardPicture(const QMimeData* data);
// The same from the application's clipboard.
TClipboardRead ReadClipboardPicture();

// Puts the picture on the application's clipboard as an image.
void PutPictureOnClipboard(const TPixelGraphic& picture);

} // namespace pigmentaria
