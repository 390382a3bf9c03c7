#include "image/metafile_format.h"

#include "image/metafile_reader.h"
#include "image/pg_stream.h"

#include <memory>
#include <span>
#include <vector>

namespace pigmentaria {

namespace {

// The metafile is the rest of the stream.
std::vector<std::uint8_t> ReadRest(TPGStream& stream) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(stream.Remaining()));
    bytes.resize(stream.Read(bytes.data(), bytes.size()));
    return bytes;
}

} // namespace

TWMFFileFormatReader::TWMFFileFormatReader()
    : TWMFFileFormatReader("TWMFFileFormatReader", "wmf", "Windows Metafile", false) {}

TWMFFileFormatReader::TWMFFileFormatReader(std::string className, std::string extension,
                                           std::string description, bool enhanced)
    : TFileFormatReader(std::move(className), std::move(extension), std::move(description)),
      Enhanced_(enhanced) {
    Detectable = true;
}

bool TWMFFileFormatReader::IsFormat(const std::uint8_t* header, std::size_t size) const {
    return DetectWmf(std::span<const std::uint8_t>(header, size));
}

void TWMFFileFormatReader::Read(TPGStream& stream, TPixelGraphic& graphic, int) const {
    const std::vector<std::uint8_t> bytes = ReadRest(stream);
    const TMetafileSettings& settings = PGMetafileSettings();
    graphic.ProgressStart();
    TMetafilePicture picture;
    try {
        picture = ReadMetafile(bytes, Enhanced_, settings, graphic.PreviewFlag,
                               [&graphic](int step, int maximum, bool& abort) {
                                   if (graphic.Progress(step, maximum)) abort = true;
                               });
    } catch (...) {
        graphic.ProgressEnd();
        throw;
    }
    graphic.ProgressEnd();
    if (picture.Raster.Empty()) return;

    graphic.BeginUpdate();
    if (picture.BitCount == 24) {
        graphic.AssignRaster24(picture.Raster);
    } else {
        const int w = picture.Raster.Width(), h = picture.Raster.Height();
        graphic.SetSize(w, h, ColorTypeOfBitCount(picture.BitCount));
        graphic.SetPalette(picture.Palette);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                graphic.SetPixelColor(x, y, picture.Raster.GetPixel(x, y));
    }
    graphic.SetFillColor(settings.BackgroundColor);
    graphic.EndUpdate();
}

TGraphicInfo TWMFFileFormatReader::GetInfo(TPGStream& stream, int) const {
    const TMetafileInfo m = GetMetafileInfo(ReadRest(stream), Enhanced_, PGMetafileSettings());
    TGraphicInfo info;
    info.ImageCount = m.ImageCount;
    info.Width = m.Width;
    info.Height = m.Height;
    info.BitCount = m.BitCount;
    info.ColorCountText = m.ColorCountText;
    info.Subformat = m.SubFormat;
    return info;
}

TEMFFileFormatReader::TEMFFileFormatReader()
    : TWMFFileFormatReader("TEMFFileFormatReader", "emf", "Enhanced Metafile", true) {}

bool TEMFFileFormatReader::IsFormat(const std::uint8_t* header, std::size_t size) const {
    return DetectEmf(std::span<const std::uint8_t>(header, size));
}

void RegisterMetafileFormats(TFileFormatRegistry& registry) {
    registry.AddReader(std::make_unique<TWMFFileFormatReader>());
    registry.AddReader(std::make_unique<TEMFFileFormatReader>());
}

} // namespace pigmentaria
