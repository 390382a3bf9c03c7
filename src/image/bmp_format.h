#pragma once
// The BMP/DIB/RLE reader and the BMP/DIB writer, and the packed DIB (info header, palette,
// pixels) that the clipboard exchanges.
#include "image/file_format.h"
#include "image/pixel_graphic.h"

#include <cstdint>

namespace pigmentaria {

class TPGStream;

// Reads a BMP file image (14-byte file header, then the packed DIB) into an empty graphic.
void ReadBMPFile(TPGStream& stream, TPixelGraphic& graphic, int index = 0);
// Reads a packed DIB. `pixelOffset`, when not negative, is the stream position the file header
// names for the pixel data; it is used when the headers and palette end before it.
void ReadPackedDIB(TPGStream& stream, TPixelGraphic& graphic, std::int64_t pixelOffset = -1);
TGraphicInfo ReadBMPInfo(TPGStream& stream, int index);

void WriteBMPFile(TPGStream& stream, const TPixelGraphic& graphic);
void WritePackedDIB(TPGStream& stream, const TPixelGraphic& graphic);

class TBMPFileFormatReader : public TFileFormatReader {
public:
    TBMPFileFormatReader(std::string className = "TBMPFileFormatReader",
                         std::string extension = "bmp");
    bool IsFormat(const std::uint8_t* header, std::size_t size) const override;
    void Read(TPGStream& stream, TPixelGraphic& graphic, int index) const override;
    TGraphicInfo GetInfo(TPGStream& stream, int index) const override;
};

class TBMPFileFormatWriter : public TFileFormatWriter {
public:
    TBMPFileFormatWriter(std::string className = "TBMPFileFormatWriter",
                         std::string extension = "bmp", bool listed = true);
    void Write(TPGStream& stream, TPixelGraphic& graphic) const override;
};

// "bmp", "dib" and "rle" readers; "bmp" and "dib" writers.
void RegisterBMPFormats(TFileFormatRegistry& registry);

} // namespace pigmentaria
