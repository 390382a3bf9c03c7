// PCX (Paintbrush) reader: 1-bit, 4-plane 16-colour, 8-bit with the 256-colour palette at the
// end of the file, and 3-plane 24-bit pictures, all run-length encoded.
#include "image/codec_io.h"
#include "image/palette_match.h"
#include "image/raster_formats.h"

#include <memory>
#include <string>
#include <vector>

namespace pigmentaria {

namespace {

using EPcx = EPGPCXFileFormatReader;
constexpr std::size_t kHeaderSize = 128;
constexpr std::size_t kPaletteSize = 769;
// A two-byte run yields at most 63 bytes.
constexpr std::int64_t kPcxExpansion = 32;

struct TPcxHeader {
    int Version = 0, Encoding = 0, BitsPerPixel = 0, Planes = 0, BytesPerLine = 0;
    int Width = 0, Height = 0, Reserved = 0;
    std::uint8_t Colormap[48] = {};
};

TPcxHeader ReadHeader(TPGStream& s) {
    std::uint8_t b[kHeaderSize];
    ReadExactOr<EPcx>(s, b, sizeof b);
    TPcxHeader h;
    if (b[0] != 0x0A) throw EPcx(msgNotAFile, "PCX");
    h.Version = b[1];
    h.Encoding = b[2];
    h.BitsPerPixel = b[3];
    h.Width = static_cast<int>(GetLE16(b + 8)) - static_cast<int>(GetLE16(b + 4)) + 1;
    h.Height = static_cast<int>(GetLE16(b + 10)) - static_cast<int>(GetLE16(b + 6)) + 1;
    std::memcpy(h.Colormap, b + 16, sizeof h.Colormap);
    h.Reserved = b[64];
    h.Planes = b[65];
    h.BytesPerLine = GetLE16(b + 66);
    if (h.Encoding != 1 || h.Reserved != 0) throw EPcx(msgUnknownSubformat);
    return h;
}

TPGColorType TypeOf(const TPcxHeader& h) {
    if (h.BitsPerPixel == 1 && h.Planes == 1) return ct1Bit;
    if (h.BitsPerPixel == 1 && h.Planes == 4) return ct4Bit;
    if (h.BitsPerPixel == 8 && h.Planes == 1) return ct8Bit;
    if (h.BitsPerPixel == 8 && h.Planes == 3) return ct24Bit;
    throw EPcx(msgNotSupportedSubformat);
}

// The 256-colour palette in the last 769 bytes, behind its marker byte 12.
std::vector<TColor> ReadTrailerPalette(TPGStream& s, std::int64_t start) {
    if (s.Size() - start < static_cast<std::int64_t>(kHeaderSize + kPaletteSize))
        throw EPcx(msgUnknownSubformat);
    const std::int64_t back = s.Position();
    s.Seek(s.Size() - static_cast<std::int64_t>(kPaletteSize));
    std::uint8_t b[kPaletteSize];
    ReadExactOr<EPcx>(s, b, sizeof b);
    s.Seek(back);
    if (b[0] != 12) throw EPcx(msgNotSupportedSubformat);
    std::vector<TColor> colors(256);
    for (std::size_t i = 0; i < 256; ++i)
        colors[i] = MakeColor(b[1 + 3 * i], b[2 + 3 * i], b[3 + 3 * i]);
    return colors;
}

void ReadPcx(TPGStream& stream, TPixelGraphic& g, int index) {
    if (index != 0) throw EPcx(msgInvalid, "Index");
    TProgressBracket bracket(g);
    const std::int64_t start = stream.Position();
    const TPcxHeader h = ReadHeader(stream);
    const TPGColorType type = TypeOf(h);
    const int width = h.Width, height = h.Height;
    if (width < 1 || height < 1) throw EPcx(msgZeroSize);
    // Each plane's line must hold the picture's width.
    if (h.BytesPerLine < (width * h.BitsPerPixel + 7) / 8) throw EPcx(msgInvalid, "BytesPerLine");
    const std::int64_t lineBytes = static_cast<std::int64_t>(h.BytesPerLine) * h.Planes;
    if (!WithinDecodeBudget(lineBytes * height, stream.Remaining(), kPcxExpansion))
        throw EPcx(msgUnexpectedEOF);

    std::vector<TColor> palette;
    if (type == ct1Bit) {
        palette = {clBlack, clWhite};
    } else if (type == ct4Bit) {
        if (h.Version == 3) {
            palette = StandardPalette(pSys16);
        } else {
            for (int i = 0; i < 16; ++i)
                palette.push_back(
                    MakeColor(h.Colormap[3 * i], h.Colormap[3 * i + 1], h.Colormap[3 * i + 2]));
        }
    } else if (type == ct8Bit) {
        palette = ReadTrailerPalette(stream, start);
    }
    g.SetSize(width, height, type);
    if (type != ct24Bit) g.SetPalette(palette);

    // Runs may cross plane and line ends, so the data is decoded as one sequence of lines.
    TBufferedReader in(stream);
    std::vector<std::uint8_t> line(static_cast<std::size_t>(lineBytes));
    int run = 0, value = 0;
    const std::size_t bpl = static_cast<std::size_t>(h.BytesPerLine);
    for (int y = 0; y < height; ++y) {
        for (std::size_t i = 0; i < line.size();) {
            if (run == 0) {
                int b = in.Get();
                if (b < 0) throw EPcx(msgUnexpectedEOF);
                if (b >= 192) {
                    run = b & 63;
                    b = in.Get();
                    if (b < 0) throw EPcx(msgUnexpectedEOF);
                } else {
                    run = 1;
                }
                value = b;
                if (run == 0) continue; // an empty run: nothing to place
            }
            line[i++] = static_cast<std::uint8_t>(value);
            --run;
        }
        std::uint8_t* row = g.ScanLine(y);
        switch (type) {
        case ct1Bit:
        case ct8Bit:
            std::memcpy(row, line.data(),
                        (static_cast<std::size_t>(width) * BitCountOf(type) + 7) / 8);
            break;
        case ct4Bit:
            for (int x = 0; x < width; ++x) {
                int v = 0;
                for (int p = 0; p < 4; ++p)
                    v |= (line[p * bpl + static_cast<std::size_t>(x >> 3)] >> (7 - (x & 7)) & 1)
                         << p;
                row[x >> 1] |= static_cast<std::uint8_t>((x & 1) ? v : v << 4);
            }
            break;
        case ct24Bit:
            for (int x = 0; x < width; ++x) {
                row[3 * x] = line[2 * bpl + static_cast<std::size_t>(x)];
                row[3 * x + 1] = line[bpl + static_cast<std::size_t>(x)];
                row[3 * x + 2] = line[static_cast<std::size_t>(x)];
            }
            break;
        }
        if (g.Progress(y + 1, height)) return;
    }
}

TGraphicInfo PcxInfo(TPGStream& stream, int index) {
    if (index != 0) throw EPcx(msgInvalidValue, "Index");
    const TPcxHeader h = ReadHeader(stream);
    TGraphicInfo info;
    info.Width = h.Width;
    info.Height = h.Height;
    info.BitCount = h.BitsPerPixel * h.Planes;
    info.ColorCountText = ColorCountTextOf(info.BitCount);
    switch (h.Version) {
    case 0:
        info.Subformat = "Version 2.5 (0)";
        break;
    case 2:
        info.Subformat = "Version 2.8 (2) with Palette";
        break;
    case 3:
        info.Subformat = "Version 2.8 (3) without Palette";
        break;
    case 5:
        info.Subformat = "Version 3.0 (5)";
        break;
    default:
        break;
    }
    return info;
}

class TPCXFileFormatReader : public TFileFormatReader {
public:
    TPCXFileFormatReader() : TFileFormatReader("TPCXFileFormatReader", "pcx", "Paintbrush") {
        Detectable = true;
    }
    bool IsFormat(const std::uint8_t* header, std::size_t size) const override {
        return size >= 1 && header[0] == 0x0A;
    }
    void Read(TPGStream& stream, TPixelGraphic& graphic, int index) const override {
        ReadPcx(stream, graphic, index);
    }
    TGraphicInfo GetInfo(TPGStream& stream, int index) const override {
        return PcxInfo(stream, index);
    }
};

} // namespace

void RegisterPCXFormats(TFileFormatRegistry& registry) {
    registry.AddReader(std::make_unique<TPCXFileFormatReader>());
}

} // namespace pigmentaria
