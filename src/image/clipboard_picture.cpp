#include "image/clipboard_picture.h"

#include "image/metafile_reader.h"
#include "platform/text_parse.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace pigmentaria {

namespace {

// The names under which programs offer metafiles: the MIME types of desktop programs, and the
// names the toolkit gives the clipboard formats of Windows programs.
constexpr std::array<std::string_view, 6> EnhancedMetafileFormats{
    "image/x-emf",
    "image/emf",
    "application/x-emf",
    "application/x-qt-windows-mime;value=\"enhanced metafile\"",
    "application/x-qt-windows-mime;value=\"cf_enhmetafile\"",
    "application/x-qt-windows-mime;value=\"enhmetafile\""};
constexpr std::array<std::string_view, 7> WindowsMetafileFormats{
    "image/x-wmf",
    "image/wmf",
    "application/x-wmf",
    "windows/metafile",
    "application/x-qt-windows-mime;value=\"windows metafile\"",
    "application/x-qt-windows-mime;value=\"metafilepict\"",
    "application/x-qt-windows-mime;value=\"cf_metafilepict\""};
constexpr std::array<std::string_view, 2> DrawingFormats{"image/svg+xml", "image/svg"};
// Raster formats in the order they are preferred: lossless first.
constexpr std::array<std::string_view, 9> PreferredRasterFormats{
    "image/png",  "image/bmp", "image/x-bmp", "image/x-ms-bmp",         "image/tiff",
    "image/jpeg", "image/jpg", "image/gif",   "image/x-portable-pixmap"};

template <std::size_t N>
bool IsOneOf(const std::string& lower, const std::array<std::string_view, N>& names) {
    return std::find(names.begin(), names.end(), lower) != names.end();
}

bool IsRasterImage(const std::string& lower) {
    return lower.starts_with("image/") && !IsOneOf(lower, EnhancedMetafileFormats) &&
           !IsOneOf(lower, WindowsMetafileFormats) && !IsOneOf(lower, DrawingFormats) &&
           !lower.starts_with("image/svg");
}

} // namespace

TClipboardChoice ChooseClipboardPicture(const std::vector<std::string>& formats) {
    std::vector<std::string> lower;
    lower.reserve(formats.size());
    for (const std::string& f : formats)
        lower.push_back(ToLower(f));
    const auto find = [&](auto predicate) -> const std::string* {
        for (std::size_t i = 0; i < lower.size(); ++i)
            if (predicate(lower[i])) return &formats[i];
        return nullptr;
    };
    // A bitmap: the raster format most worth reading, any other raster format, or the toolkit's
    // decoded image when that is all there is besides a drawing.
    for (std::string_view preferred : PreferredRasterFormats)
        if (const std::string* f = find([&](const std::string& l) { return l == preferred; }))
            return {TClipboardPictureKind::Bitmap, *f};
    if (const std::string* f = find(IsRasterImage)) return {TClipboardPictureKind::Bitmap, *f};
    const std::string* drawing = find([](const std::string& l) {
        return IsOneOf(l, DrawingFormats) || l.starts_with("image/svg");
    });
    const std::string* toolkit = find([](const std::string& l) { return l == ToolkitImageFormat; });
    if (toolkit && !drawing) return {TClipboardPictureKind::Bitmap, *toolkit};
    if (const std::string* f =
            find([](const std::string& l) { return IsOneOf(l, EnhancedMetafileFormats); }))
        return {TClipboardPictureKind::EnhancedMetafile, *f};
    if (const std::string* f =
            find([](const std::string& l) { return IsOneOf(l, WindowsMetafileFormats); }))
        return {TClipboardPictureKind::WindowsMetafile, *f};
    if (drawing) return {TClipboardPictureKind::Drawing, *drawing};
    return {};
}

TPixelGraphic PictureFromMetafile(std::span<const std::uint8_t> bytes, bool enhanced) {
    // The recognised kind may be wrong about the bytes (a program that calls any metafile an
    // enhanced one): the bytes decide when they are clear about it.
    const std::span<const std::uint8_t> head = bytes.first(std::min<std::size_t>(bytes.size(), 44));
    if (DetectEmf(head))
        enhanced = true;
    else if (DetectWmf(head))
        enhanced = false;
    TMetafilePicture played = ReadMetafile(bytes, enhanced, PGMetafileSettings());
    if (played.Raster.Empty()) throw EMetafile();
    TPixelGraphic picture;
    picture.AssignRaster24(played.Raster);
    return picture;
}

} // namespace pigmentaria
