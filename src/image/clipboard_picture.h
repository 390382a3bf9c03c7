#pragma once
// Pictures other programs offer on the clipboard: which of the offered formats to take (a bitmap
// first, then an enhanced or a Windows metafile, then a drawing), and metafile bytes made into a
// picture through the library's own metafile reader.
#include "image/pixel_graphic.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace pigmentaria {

enum class TClipboardPictureKind { None, Bitmap, EnhancedMetafile, WindowsMetafile, Drawing };

struct TClipboardChoice {
    TClipboardPictureKind Kind = TClipboardPictureKind::None;
    // The offered format to read, as the clipboard names it.
    std::string Format;
    friend bool operator==(const TClipboardChoice&, const TClipboardChoice&) = default;
};

// The toolkit's own name for an image it can decode from any of the offered raster formats.
inline constexpr const char* ToolkitImageFormat = "application/x-qt-image";

// Chooses among the format names (MIME types, any case) the clipboard offers.
TClipboardChoice ChooseClipboardPicture(const std::vector<std::string>& formats);
// "&Paste" and "Import From &Clipboard..." are enabled when there is a choice.
inline bool ClipboardOffersPicture(const std::vector<std::string>& formats) {
    return ChooseClipboardPicture(formats).Kind != TClipboardPictureKind::None;
}

// A metafile's bytes as a 24-bit picture of the metafile's size, played onto the library's
// background colour. Raises EPixelGraphic ("Invalid Metafile") when it cannot be loaded.
TPixelGraphic PictureFromMetafile(std::span<const std::uint8_t> bytes, bool enhanced);

} // namespace pigmentaria
