// The Netpbm family: PBM (bitmap), PGM (graymap) and PPM (pixmap), each in its ASCII form
// (P1, P2, P3) and its binary form (P4, P5, P6). One reader serves all six; the writers write the
// ASCII forms unless the library's binary switch is on.
#include "image/codec_io.h"
#include "image/raster_formats.h"

#include <memory>
#include <string>
#include <vector>

namespace pigmentaria {

namespace {

using EPxmRead = EPGPxMFileFormatReader;
const std::string kFamilyTag = "PBM, PGM, PPM: ";

struct TPxmHeader {
    int Kind = 0; // 1 .. 6
    int Width = 0, Height = 0, MaxVal = 1;
    bool Binary() const { return Kind >= 4; }
    // 1 bitmap, 2 graymap, 3 pixmap.
    int Family() const { return Binary() ? Kind - 3 : Kind; }
};

// The next header number: anything that is not a digit is skipped, and "#" starts a comment that
// runs to the line feed. The character after the number is consumed.
int ReadNumber(TBufferedReader& in) {
    int c = in.Get();
    for (;;) {
        if (c < 0) throw EPxmRead(msgUnexpectedEOF);
        if (c == '#') {
            while (c >= 0 && c != '\n')
                c = in.Get();
            continue;
        }
        if (c >= '0' && c <= '9') break;
        c = in.Get();
    }
    std::int64_t v = 0;
    while (c >= '0' && c <= '9') {
        if (v < 1000000000) v = v * 10 + (c - '0');
        c = in.Get();
    }
    return static_cast<int>(v);
}

TPxmHeader ReadHeader(TBufferedReader& in) {
    const int p = in.Get(), k = in.Get();
    if (p != 'P') throw EPxmRead(msgNotAFile, "PBM, PGM, PPM");
    if (k < '1' || k > '6') throw EPxmRead(msgUnknownSubformat);
    TPxmHeader h;
    h.Kind = k - '0';
    h.Width = ReadNumber(in);
    h.Height = ReadNumber(in);
    if (h.Family() != 1) {
        h.MaxVal = ReadNumber(in);
        if (h.MaxVal < 1 || h.MaxVal > 65535) throw EPxmRead(msgInvalid, "MaxVal");
    }
    return h;
}

void ReadPxm(TPGStream& stream, TPixelGraphic& g, int index) {
    if (index != 0) throw EPxmRead(msgInvalid, "Index");
    TProgressBracket bracket(g);
    TBufferedReader in(stream);
    const TPxmHeader h = ReadHeader(in);
    const int width = h.Width, height = h.Height;
    if (width < 1 || height < 1) throw EPxmRead(msgZeroSize);
    if (width > kMaxPictureSide || height > kMaxPictureSide) throw EPxmRead(msgUnexpectedEOF);
    const int channels = h.Family() == 3 ? 3 : 1;
    const int sampleBytes = h.MaxVal > 255 ? 2 : 1;
    const std::int64_t samples = static_cast<std::int64_t>(width) * height * channels;
    // Every sample takes at least one byte of the file, so the data must be there.
    const std::int64_t need = h.Kind == 4  ? static_cast<std::int64_t>((width + 7) / 8) * height
                              : h.Binary() ? samples * sampleBytes
                                           : samples;
    if (need > in.Remaining()) throw EPxmRead(msgUnexpectedEOF);

    const TPGColorType type = h.Family() == 1 ? ct1Bit : (h.Family() == 2 ? ct8Bit : ct24Bit);
    g.SetSize(width, height, type);
    if (type == ct1Bit) g.SetPaletteIdent(pBlackWhite);
    if (type == ct8Bit) g.SetPaletteIdent(pGray256);

    const auto maxVal = static_cast<std::uint32_t>(h.MaxVal);
    auto scale = [maxVal](std::uint32_t v) {
        return static_cast<std::uint8_t>((v > maxVal ? maxVal : v) * 255 / maxVal);
    };
    auto binarySample = [&]() -> std::uint32_t {
        const int a = in.Get();
        if (a < 0) throw EPxmRead(msgUnexpectedEOF);
        if (sampleBytes == 1) return static_cast<std::uint32_t>(a);
        const int b = in.Get();
        if (b < 0) throw EPxmRead(msgUnexpectedEOF);
        return static_cast<std::uint32_t>(a << 8 | b);
    };
    auto asciiSample = [&]() -> std::uint32_t {
        return static_cast<std::uint32_t>(ReadNumber(in));
    };
    // ASCII bitmaps: one character a pixel, "1" black; blanks between them are optional.
    auto asciiBit = [&]() -> int {
        for (;;) {
            const int c = in.Get();
            if (c < 0) throw EPxmRead(msgUnexpectedEOF);
            if (c == '#') {
                int d = c;
                while (d >= 0 && d != '\n')
                    d = in.Get();
            } else if (c >= '0' && c <= '9') {
                return c != '0';
            }
        }
    };

    const std::size_t packed = static_cast<std::size_t>((width + 7) / 8);
    std::vector<std::uint8_t> bits(packed);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = g.ScanLine(y);
        switch (h.Kind) {
        case 4:
            if (in.Read(bits.data(), packed) != packed) throw EPxmRead(msgUnexpectedEOF);
            // 1 is black in the file, index 0 (black) in the picture.
            for (std::size_t i = 0; i < packed; ++i)
                row[i] = static_cast<std::uint8_t>(~bits[i]);
            break;
        case 1:
            for (int x = 0; x < width; ++x)
                if (!asciiBit()) row[x >> 3] |= static_cast<std::uint8_t>(0x80 >> (x & 7));
            break;
        case 2:
        case 5:
            for (int x = 0; x < width; ++x)
                row[x] = scale(h.Binary() ? binarySample() : asciiSample());
            break;
        default: // 3, 6: red, green, blue
            for (int x = 0; x < width; ++x)
                for (int c = 2; c >= 0; --c)
                    row[3 * x + c] = scale(h.Binary() ? binarySample() : asciiSample());
            break;
        }
        if (g.Progress(y + 1, height)) return;
    }
}

TGraphicInfo PxmInfo(TPGStream& stream, int index) {
    if (index != 0) throw EPxmRead(msgInvalidValue, "Index");
    TBufferedReader in(stream, 4096);
    const TPxmHeader h = ReadHeader(in);
    TGraphicInfo info;
    info.Width = h.Width;
    info.Height = h.Height;
    info.BitCount = h.Family() == 1 ? 1 : (h.Family() == 2 ? 8 : 24);
    info.ColorCountText = ColorCountTextOf(info.BitCount);
    info.Subformat = h.Binary() ? "Binary" : "ASCII";
    return info;
}

// ---- Writer

bool IsDark(TColor c) {
    return RedOf(c) * 299 + GreenOf(c) * 587 + BlueOf(c) * 114 < 128 * 1000;
}

std::uint8_t GrayOf(TColor c) {
    if (RedOf(c) == GreenOf(c) && GreenOf(c) == BlueOf(c))
        return static_cast<std::uint8_t>(RedOf(c));
    return static_cast<std::uint8_t>((RedOf(c) * 299 + GreenOf(c) * 587 + BlueOf(c) * 114 + 500) /
                                     1000);
}

void WritePxm(TPGStream& stream, TPixelGraphic& g, const std::string& extension) {
    int family = 0;
    if (extension == "pbm") family = 1;
    if (extension == "pgm") family = 2;
    if (extension == "ppm") family = 3;
    if (!family) throw EPGPxMFileFormatWriter(kFamilyTag, msgUnknownExtension, extension);
    if (g.Width() < 1 || g.Height() < 1) throw EPGPxMFileFormatWriter(kFamilyTag, msgZeroSize);
    static const char* const kTags[] = {"", "PBM: ", "PGM: ", "PPM: "};
    const bool ok = (family == 1 && (g.ColorType() == ct1Bit || g.PaletteIdent() == pBlackWhite)) ||
                    (family == 2 && (g.ColorType() == ct8Bit || g.PaletteIdent() == pGray256)) ||
                    (family == 3 && g.ColorType() == ct24Bit);
    if (!ok) throw EPGPxMFileFormatWriter(kTags[family], msgInvalidColorRes);

    TProgressBracket bracket(g);
    const bool binary = PGLibrarySettings().PxMBinary;
    const int width = g.Width(), height = g.Height();
    TBufferedWriter out(stream, 1024);
    out.Text("P" + std::to_string(family + (binary ? 3 : 0)) + "\n" + std::to_string(width) + " " +
             std::to_string(height) + "\n");
    if (family != 1) out.Text("255\n");

    // What each palette index stands for: a black flag (PBM) or a gray level (PGM).
    std::vector<std::uint8_t> level(256, 0);
    for (int i = 0; i < 256; ++i) {
        const TColor c = g.IndexColor(static_cast<std::uint32_t>(i));
        level[static_cast<std::size_t>(i)] = family == 1 ? IsDark(c) : GrayOf(c);
    }
    std::vector<std::uint8_t> packed(static_cast<std::size_t>((width + 7) / 8));
    char number[8];
    for (int y = 0; y < height; ++y) {
        auto sample = [&](std::uint32_t v, bool last) {
            if (binary) {
                out.Put(static_cast<std::uint8_t>(v));
                return;
            }
            const int n = std::snprintf(number, sizeof number, last ? "%u\n" : "%u ", v);
            out.Write(number, static_cast<std::size_t>(n));
        };
        if (family == 1) {
            std::fill(packed.begin(), packed.end(), 0);
            for (int x = 0; x < width; ++x) {
                const std::uint8_t black = level[g.GetPixel(x, y) & 255];
                if (binary)
                    packed[static_cast<std::size_t>(x >> 3)] |=
                        static_cast<std::uint8_t>(black << (7 - (x & 7)));
                else
                    sample(black, x == width - 1);
            }
            if (binary) out.Write(packed.data(), packed.size());
        } else if (family == 2) {
            for (int x = 0; x < width; ++x)
                sample(level[g.GetPixel(x, y) & 255], x == width - 1);
        } else {
            const std::uint8_t* p = static_cast<const TPixelGraphic&>(g).ScanLine(y);
            for (int x = 0; x < width; ++x, p += 3) {
                sample(p[2], false);
                sample(p[1], false);
                sample(p[0], x == width - 1);
            }
        }
        g.Progress(y + 1, height);
    }
    out.Flush();
}

class TPxMFileFormatReader : public TFileFormatReader {
public:
    TPxMFileFormatReader(std::string className, std::string extension, std::string description,
                         char ascii, char binary)
        : TFileFormatReader(std::move(className), std::move(extension), std::move(description)),
          Ascii_(ascii), Binary_(binary) {
        Detectable = true;
    }
    bool IsFormat(const std::uint8_t* header, std::size_t size) const override {
        return size >= 2 && header[0] == 'P' && (header[1] == Ascii_ || header[1] == Binary_);
    }
    void Read(TPGStream& stream, TPixelGraphic& graphic, int index) const override {
        ReadPxm(stream, graphic, index);
    }
    TGraphicInfo GetInfo(TPGStream& stream, int index) const override {
        return PxmInfo(stream, index);
    }

private:
    char Ascii_, Binary_;
};

class TPxMFileFormatWriter : public TFileFormatWriter {
public:
    TPxMFileFormatWriter(std::string className, std::string extension, std::string description,
                         TPGColorRes resolution)
        : TFileFormatWriter(std::move(className), std::move(extension), std::move(description)) {
        CanWriteResolutions = ColorResBit(resolution);
    }
    void Write(TPGStream& stream, TPixelGraphic& graphic) const override {
        WritePxm(stream, graphic, Extension);
    }
};

} // namespace

void RegisterPxMFormats(TFileFormatRegistry& registry) {
    registry.AddReader(std::make_unique<TPxMFileFormatReader>("TPBMFileFormatReader", "pbm",
                                                              "Portable Bitmap", '1', '4'));
    registry.AddReader(std::make_unique<TPxMFileFormatReader>("TPGMFileFormatReader", "pgm",
                                                              "Portable Graymap", '2', '5'));
    registry.AddReader(std::make_unique<TPxMFileFormatReader>("TPPMFileFormatReader", "ppm",
                                                              "Portable Pixelmap", '3', '6'));
    registry.AddWriter(std::make_unique<TPxMFileFormatWriter>("TPBMFileFormatWriter", "pbm",
                                                              "Portable Bitmap", crBlackWhite));
    registry.AddWriter(std::make_unique<TPxMFileFormatWriter>("TPGMFileFormatWriter", "pgm",
                                                              "Portable Graymap", cr256Grays));
    registry.AddWriter(std::make_unique<TPxMFileFormatWriter>("TPPMFileFormatWriter", "ppm",
                                                              "Portable Pixelmap", cr16M));
}

} // namespace pigmentaria
