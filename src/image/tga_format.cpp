// Truevision Targa reader (colour-mapped, true-colour and black-and-white images, uncompressed or
// run-length encoded) and writer (colour-mapped or 24-bit, uncompressed, bottom-left origin).
// Targa has no signature, so the reader is chosen by the extension alone.
#include "image/codec_io.h"
#include "image/raster_formats.h"

#include <memory>
#include <string>
#include <vector>

namespace pigmentaria {

namespace {

using ETga = EPGTGAFileFormatReader;
constexpr std::size_t kHeaderSize = 18;
// A run packet of one pixel's bytes plus its header yields up to 128 pixels.
constexpr std::int64_t kTgaExpansion = 128 * 4;

struct TTgaHeader {
    int IdLength = 0, MapType = 0, ImageType = 0;
    int MapFirst = 0, MapLength = 0, MapEntryBits = 0;
    int Width = 0, Height = 0, PixelBits = 0, Descriptor = 0;
    bool Rle() const { return ImageType >= 9; }
    int BaseType() const { return ImageType & 7; }
};

TTgaHeader ReadHeader(TPGStream& s) {
    std::uint8_t b[kHeaderSize];
    ReadExactOr<ETga>(s, b, sizeof b);
    TTgaHeader h;
    h.IdLength = b[0];
    h.MapType = b[1];
    h.ImageType = b[2];
    h.MapFirst = GetLE16(b + 3);
    h.MapLength = GetLE16(b + 5);
    h.MapEntryBits = b[7];
    h.Width = GetLE16(b + 12);
    h.Height = GetLE16(b + 14);
    h.PixelBits = b[16];
    h.Descriptor = b[17];
    const int t = h.ImageType;
    if (t != 1 && t != 2 && t != 3 && t != 9 && t != 10 && t != 11)
        throw ETga(msgInvalidValue, "ImageType");
    return h;
}

// A 15- or 16-bit pixel's channel (5 bits) spread over 0 .. 255.
std::uint8_t Expand5(unsigned v) {
    return static_cast<std::uint8_t>((v * 255 + 15) / 31);
}

// Colour of a 15/16/24/32-bit true-colour value stored little-endian (blue first).
TColor TrueColor(const std::uint8_t* p, int bits) {
    if (bits <= 16) {
        const unsigned v = GetLE16(p);
        return MakeColor(Expand5(v >> 10 & 31), Expand5(v >> 5 & 31), Expand5(v & 31));
    }
    return MakeColor(p[2], p[1], p[0]);
}

void ReadTga(TPGStream& stream, TPixelGraphic& g, int index) {
    if (index != 0) throw ETga(msgInvalid, "Index");
    TProgressBracket bracket(g);
    const TTgaHeader h = ReadHeader(stream);
    const int base = h.BaseType();
    const int bits = h.PixelBits;
    // Which picture the pixels go into.
    TPGColorType type = ct24Bit;
    if (base == 1) {
        if (bits != 8 || h.MapType != 1 || h.MapFirst + h.MapLength > 256)
            throw ETga(msgNotSupportedSubformat);
        type = ct8Bit;
    } else if (base == 2) {
        if (bits != 15 && bits != 16 && bits != 24 && bits != 32)
            throw ETga(msgNotSupportedSubformat);
    } else {
        if (bits != 8 && bits != 16) throw ETga(msgNotSupportedSubformat);
        type = ct8Bit;
    }
    const int mapBits = h.MapEntryBits;
    if (h.MapType == 1 && h.MapLength > 0 && mapBits != 15 && mapBits != 16 && mapBits != 24 &&
        mapBits != 32)
        throw ETga(msgNotSupportedSubformat);
    if (h.Width < 1 || h.Height < 1) throw ETga(msgZeroSize);

    // Image identification, then the colour map (skipped when the pixels are not indices).
    std::vector<std::uint8_t> skip(static_cast<std::size_t>(h.IdLength));
    ReadExactOr<ETga>(stream, skip.data(), skip.size());
    std::vector<TColor> palette;
    if (h.MapType == 1 && h.MapLength > 0) {
        const std::size_t entry = static_cast<std::size_t>((mapBits + 7) / 8);
        std::vector<std::uint8_t> map(entry * static_cast<std::size_t>(h.MapLength));
        ReadExactOr<ETga>(stream, map.data(), map.size());
        if (base == 1) {
            palette.assign(static_cast<std::size_t>(h.MapFirst), clBlack);
            for (int i = 0; i < h.MapLength; ++i)
                palette.push_back(TrueColor(&map[entry * static_cast<std::size_t>(i)], mapBits));
        }
    }

    const int bpp = (bits + 7) / 8;
    const std::int64_t pixels = static_cast<std::int64_t>(h.Width) * h.Height;
    const std::int64_t need = pixels * bpp;
    if (h.Rle() ? !WithinDecodeBudget(need, stream.Remaining(), kTgaExpansion)
                : need > stream.Remaining())
        throw ETga(msgUnexpectedEOF);

    g.SetSize(h.Width, h.Height, type);
    if (base == 1) g.SetPalette(palette);
    if (base == 3) g.SetPaletteIdent(pGray256);

    const bool topDown = (h.Descriptor & 0x20) != 0;
    const bool rightToLeft = (h.Descriptor & 0x10) != 0;
    TBufferedReader in(stream);
    std::vector<std::uint8_t> line(static_cast<std::size_t>(h.Width) *
                                   static_cast<std::size_t>(bpp));
    int run = 0;         // pixels left in the current packet
    bool repeat = false; // the packet repeats one pixel
    std::uint8_t pixel[4] = {};
    const auto width = static_cast<std::size_t>(h.Width);
    for (int i = 0; i < h.Height; ++i) {
        if (!h.Rle()) {
            if (in.Read(line.data(), line.size()) != line.size()) throw ETga(msgUnexpectedEOF);
        } else {
            // Packets may run on from one line into the next.
            for (std::size_t x = 0; x < width; ++x) {
                if (run == 0) {
                    const int c = in.Get();
                    if (c < 0) throw ETga(msgUnexpectedEOF);
                    run = (c & 0x7F) + 1;
                    repeat = (c & 0x80) != 0;
                    if (repeat && in.Read(pixel, static_cast<std::size_t>(bpp)) !=
                                      static_cast<std::size_t>(bpp))
                        throw ETga(msgUnexpectedEOF);
                }
                std::uint8_t* out = &line[x * static_cast<std::size_t>(bpp)];
                if (repeat) {
                    std::memcpy(out, pixel, static_cast<std::size_t>(bpp));
                } else if (in.Read(out, static_cast<std::size_t>(bpp)) !=
                           static_cast<std::size_t>(bpp)) {
                    throw ETga(msgUnexpectedEOF);
                }
                --run;
            }
        }
        const int y = topDown ? i : h.Height - 1 - i;
        std::uint8_t* row = g.ScanLine(y);
        for (std::size_t x = 0; x < width; ++x) {
            const std::size_t dx = rightToLeft ? width - 1 - x : x;
            const std::uint8_t* p = &line[x * static_cast<std::size_t>(bpp)];
            if (type == ct8Bit) {
                // Gray with alpha keeps its gray byte.
                row[dx] = p[0];
            } else {
                const TColor c = TrueColor(p, bits);
                row[3 * dx] = static_cast<std::uint8_t>(BlueOf(c));
                row[3 * dx + 1] = static_cast<std::uint8_t>(GreenOf(c));
                row[3 * dx + 2] = static_cast<std::uint8_t>(RedOf(c));
            }
        }
        if (g.Progress(i + 1, h.Height)) return;
    }
}

TGraphicInfo TgaInfo(TPGStream& stream, int index) {
    if (index != 0) throw ETga(msgInvalidValue, "Index");
    const TTgaHeader h = ReadHeader(stream);
    TGraphicInfo info;
    info.Width = h.Width;
    info.Height = h.Height;
    info.BitCount = h.PixelBits;
    info.Subformat = h.Rle() ? "Run-length encoded" : "Uncompressed";
    switch (h.BaseType()) {
    case 1:
        info.Subformat += ", Color-mapped";
        info.ColorCountText = ColorCountTextOf(h.PixelBits);
        break;
    case 2:
        info.Subformat += ", True-color";
        info.ColorCountText = h.PixelBits == 24 ? "16.7M" : "16.7M ?";
        break;
    default:
        info.Subformat += ", \"Black-and-white\"";
        info.ColorCountText = "256";
        break;
    }
    return info;
}

void WriteTga(TPGStream& stream, TPixelGraphic& g) {
    TProgressBracket bracket(g);
    const bool mapped = g.ColorType() != ct24Bit;
    std::uint8_t header[kHeaderSize] = {};
    const int count = mapped ? std::min(g.PaletteCount(), PaletteCapacity(g.ColorType())) : 0;
    if (mapped) {
        header[1] = 1;
        header[2] = 1;
        PutLE16(header + 5, static_cast<std::uint32_t>(count));
        header[7] = 24;
        header[16] = 8;
    } else {
        header[2] = 2;
        header[16] = 24;
    }
    PutLE16(header + 12, static_cast<std::uint32_t>(g.Width()));
    PutLE16(header + 14, static_cast<std::uint32_t>(g.Height()));
    TBufferedWriter out(stream, 65536);
    out.Write(header, sizeof header);
    for (int i = 0; i < count; ++i) {
        const TColor c = g.Palette()[static_cast<std::size_t>(i)];
        const std::uint8_t bgr[3] = {static_cast<std::uint8_t>(BlueOf(c)),
                                     static_cast<std::uint8_t>(GreenOf(c)),
                                     static_cast<std::uint8_t>(RedOf(c))};
        out.Write(bgr, 3);
    }
    const int width = g.Width(), height = g.Height();
    std::vector<std::uint8_t> line(static_cast<std::size_t>(width));
    for (int i = 0; i < height; ++i) {
        const int y = height - 1 - i;
        if (!mapped) {
            out.Write(static_cast<const TPixelGraphic&>(g).ScanLine(y),
                      3 * static_cast<std::size_t>(width));
        } else {
            // 1- and 4-bit pictures are written with one index byte a pixel.
            for (int x = 0; x < width; ++x)
                line[static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(g.GetPixel(x, y));
            out.Write(line.data(), line.size());
        }
        g.Progress(i + 1, height);
    }
    out.Flush();
}

class TTGAFileFormatReader : public TFileFormatReader {
public:
    TTGAFileFormatReader() : TFileFormatReader("TTGAFileFormatReader", "tga", "Truevision Targa") {}
    void Read(TPGStream& stream, TPixelGraphic& graphic, int index) const override {
        ReadTga(stream, graphic, index);
    }
    TGraphicInfo GetInfo(TPGStream& stream, int index) const override {
        return TgaInfo(stream, index);
    }
};

class TTGAFileFormatWriter : public TFileFormatWriter {
public:
    TTGAFileFormatWriter() : TFileFormatWriter("TTGAFileFormatWriter", "tga", "Truevision Targa") {
        // 16-colour pictures keep their own 16-entry colour map.
        CanWriteResolutions = ColorResBit(cr16Grays) | ColorResBit(cr16SysColors) |
                              ColorResBit(cr16Colors) | ColorResBit(cr256Colors) |
                              ColorResBit(cr16M);
    }
    void Write(TPGStream& stream, TPixelGraphic& graphic) const override {
        WriteTga(stream, graphic);
    }
};

} // namespace

void RegisterTGAFormats(TFileFormatRegistry& registry) {
    registry.AddReader(std::make_unique<TTGAFileFormatReader>());
    registry.AddWriter(std::make_unique<TTGAFileFormatWriter>());
}

} // namespace pigmentaria
