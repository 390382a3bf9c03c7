#include "image/bmp_format.h"

#include "image/codec_io.h"
#include "image/pg_stream.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <vector>

namespace pigmentaria {

namespace {

// Sides beyond this are refused before anything is allocated; the whole picture must also fit
// the data the stream actually holds (or, for RLE, what its compressed data can justify).
constexpr std::int64_t kMaxSide = kMaxPictureSide;
// Decoded RLE pictures may be at most this many bytes plus kRLEExpansion per compressed byte.
constexpr std::int64_t kRLEFloor = 1 << 20;
constexpr std::int64_t kRLEExpansion = 2048;

[[noreturn]] void Fail(int message, const std::string& s1 = {}) {
    throw EPGBMPFileFormatReader(message, s1);
}
[[noreturn]] void Invalid(const std::string& field) {
    Fail(msgInvalid, field);
}

void ReadExact(TPGStream& s, void* buffer, std::size_t n) {
    if (s.Read(buffer, n) != n) Fail(msgUnexpectedEOF);
}

void Skip(TPGStream& s, std::int64_t n) {
    if (n > s.Remaining()) Fail(msgUnexpectedEOF);
    s.Seek(s.Position() + n);
}

// Header sizes of the Windows info header family: the 40-byte one and its later extensions,
// which are read as the 40-byte header plus what follows it.
bool IsInfoHeaderSize(std::uint32_t size) {
    return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

struct TDIBHeader {
    bool Core = false;
    std::uint32_t Size = 0;
    std::int64_t Width = 0, Height = 0; // Height negative: top-down
    int Planes = 0, BitCount = 0;
    std::uint32_t Compression = 0, SizeImage = 0, ClrUsed = 0;
    bool HasMasks = false; // masks carried inside a later header
    std::uint32_t Masks[3] = {0, 0, 0};
};

TDIBHeader ReadDIBHeader(TPGStream& s) {
    std::uint8_t sizeBytes[4];
    ReadExact(s, sizeBytes, 4);
    TDIBHeader h;
    h.Size = GetLE32(sizeBytes);
    if (h.Size == 12) {
        std::uint8_t b[8];
        ReadExact(s, b, 8);
        h.Core = true;
        h.Width = GetLE16(b);
        h.Height = GetLE16(b + 2);
        h.Planes = GetLE16(b + 4);
        h.BitCount = GetLE16(b + 6);
        if (h.Planes != 1) Invalid("BitmapCoreHeader.bcPlanes");
        if (h.BitCount != 1 && h.BitCount != 4 && h.BitCount != 8 && h.BitCount != 24)
            Invalid("BitmapCoreHeader.bcBitCount");
        return h;
    }
    if (!IsInfoHeaderSize(h.Size)) Fail(msgInvalidSize, "BitmapInfoHeader/BitmapCoreHeader");
    std::array<std::uint8_t, 120> b{};
    ReadExact(s, b.data(), h.Size - 4);
    h.Width = static_cast<std::int32_t>(GetLE32(&b[0]));
    h.Height = static_cast<std::int32_t>(GetLE32(&b[4]));
    h.Planes = GetLE16(&b[8]);
    h.BitCount = GetLE16(&b[10]);
    h.Compression = GetLE32(&b[12]);
    h.SizeImage = GetLE32(&b[16]);
    h.ClrUsed = GetLE32(&b[28]);
    if (h.Size >= 52) {
        h.HasMasks = true;
        for (int i = 0; i < 3; ++i)
            h.Masks[i] = GetLE32(&b[36 + 4 * static_cast<std::size_t>(i)]);
    }
    if (h.Planes != 1) Invalid("BitmapInfoHeader.biPlanes");
    const int bits = h.BitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        Invalid("BitmapInfoHeader.biBitCount");
    const bool ok = h.Compression == 0 || (h.Compression == 3 && (bits == 16 || bits == 32)) ||
                    (h.Compression == 2 && bits == 4 && h.Height >= 0) ||
                    (h.Compression == 1 && bits == 8 && h.Height >= 0);
    if (!ok) Invalid("BitmapInfoHeader.biCompression");
    return h;
}

void CheckSize(const TDIBHeader& h) {
    const char* w = h.Core ? "BitmapCoreHeader.bcWidth" : "BitmapInfoHeader.biWidth";
    const char* ht = h.Core ? "BitmapCoreHeader.bcHeight" : "BitmapInfoHeader.biHeight";
    if (h.Width < 0 || h.Width > kMaxSide) Invalid(w);
    if (h.Height < -kMaxSide || h.Height > kMaxSide) Invalid(ht);
}

void ReverseRows(TPixelGraphic& g) {
    const std::size_t stride = g.RowStride();
    std::vector<std::uint8_t> tmp(stride);
    for (int top = 0, bottom = g.Height() - 1; top < bottom; ++top, --bottom) {
        std::memcpy(tmp.data(), g.ScanLine(top), stride);
        std::memcpy(g.ScanLine(top), g.ScanLine(bottom), stride);
        std::memcpy(g.ScanLine(bottom), tmp.data(), stride);
    }
}

// Cuts a channel out of a pixel with its mask, the mask's highest bit landing on bit 7.
struct TChannel {
    std::uint32_t Mask = 0;
    int Shift = 0; // right shift when positive
    std::uint32_t Fill = 0;
    TChannel(std::uint32_t mask, bool lowBitFill) : Mask(mask) {
        if (!mask) return;
        int high = 31, low = 0;
        while (!(mask >> high & 1))
            --high;
        while (!(mask >> low & 1))
            ++low;
        Shift = high - 7;
        if (lowBitFill && low - Shift >= 0) Fill = 1u << (low - Shift);
    }
    std::uint8_t operator()(std::uint32_t pixel) const {
        const std::uint32_t bits = pixel & Mask;
        if (!bits) return 0;
        std::uint32_t v = Shift >= 0 ? bits >> Shift : bits << -Shift;
        v += Fill;
        return static_cast<std::uint8_t>(v > 255 ? 255 : v);
    }
};

void ReadMaskedPixels(TPGStream& s, TPixelGraphic& g, const TDIBHeader& h,
                      const std::uint32_t masks[3]) {
    const int w = g.Width(), height = g.Height();
    const bool lowBitFill = h.BitCount == 16 && PGLibrarySettings().LowBitFill;
    const TChannel red(masks[0], lowBitFill), green(masks[1], lowBitFill),
        blue(masks[2], lowBitFill);
    const std::size_t srcStride = TPixelGraphic::StrideOf(w, h.BitCount);
    std::vector<std::uint8_t> row(srcStride);
    for (int i = 0; i < height; ++i) {
        ReadExact(s, row.data(), srcStride);
        std::uint8_t* out = g.ScanLine(h.Height < 0 ? i : height - 1 - i);
        const std::uint8_t* in = row.data();
        for (int x = 0; x < w; ++x, out += 3) {
            std::uint32_t p;
            if (h.BitCount == 16)
                p = GetLE16(in), in += 2;
            else
                p = GetLE32(in), in += 4;
            out[0] = blue(p);
            out[1] = green(p);
            out[2] = red(p);
        }
        if (g.Progress(i + 1, height)) return;
    }
}

// Run-length decoding of RLE8 and RLE4 from the bottom row up; pixels outside the picture are
// dropped and the decoding ends with the data.
void DecodeRLE(const std::vector<std::uint8_t>& d, TPixelGraphic& g, bool rle4) {
    const std::int64_t w = g.Width();
    const std::size_t n = d.size();
    std::int64_t x = 0;
    int y = g.Height() - 1; // row, 0 = top
    std::size_t pos = 0;
    int tenth = 0;
    auto put = [&](std::uint32_t value) {
        if (x < w && y >= 0) {
            std::uint8_t* row = g.ScanLine(y);
            if (rle4) {
                std::uint8_t& byte = row[x >> 1];
                byte = (x & 1) ? static_cast<std::uint8_t>((byte & 0xF0) | (value & 15))
                               : static_cast<std::uint8_t>((byte & 0x0F) | (value & 15) << 4);
            } else {
                row[x] = static_cast<std::uint8_t>(value);
            }
        }
        ++x;
    };
    while (pos + 1 < n && y >= 0) {
        const std::uint8_t a = d[pos], b = d[pos + 1];
        pos += 2;
        if (a > 0) {
            // A run past the row's end only moves x: clip it rather than loop over it.
            const std::int64_t inRow = std::max<std::int64_t>(0, std::min<std::int64_t>(a, w - x));
            for (std::int64_t k = 0; k < inRow; ++k)
                put(rle4 ? ((k & 1) ? (b & 15) : (b >> 4)) : b);
            x += a - inRow;
        } else if (b == 0) {
            x = 0;
            --y;
        } else if (b == 1) {
            break;
        } else if (b == 2) {
            if (pos + 2 > n) break;
            x += d[pos];
            y -= d[pos + 1];
            pos += 2;
        } else {
            const std::size_t bytes = rle4 ? (b + 1u) / 2 : b;
            const std::size_t padded = bytes + (bytes & 1);
            const std::size_t avail = std::min(bytes, n - pos);
            for (std::size_t k = 0; k < (rle4 ? std::min<std::size_t>(b, 2 * avail) : avail); ++k)
                put(rle4 ? ((k & 1) ? (d[pos + k / 2] & 15) : (d[pos + k / 2] >> 4)) : d[pos + k]);
            if (avail < bytes) break;
            pos += padded;
        }
        const int reached = static_cast<int>(static_cast<std::uint64_t>(std::min(pos, n)) * 10 / n);
        while (tenth < reached)
            if (g.Progress(++tenth, 10)) return;
    }
}

void ReadDIBPixels(TPGStream& s, TPixelGraphic& g, const TDIBHeader& h, std::int64_t pixelOffset) {
    CheckSize(h);
    const int width = static_cast<int>(h.Width);
    const int height = static_cast<int>(h.Height < 0 ? -h.Height : h.Height);
    const bool topDown = h.Height < 0;

    // Palette, or the masks of 16 and 32 bits.
    std::vector<TColor> palette;
    std::uint32_t masks[3] = {0, 0, 0};
    if (h.Core) {
        if (h.BitCount <= 8) {
            std::vector<std::uint8_t> raw(3u << h.BitCount);
            ReadExact(s, raw.data(), raw.size());
            for (std::size_t i = 0; i < raw.size(); i += 3)
                palette.push_back(MakeColor(raw[i + 2], raw[i + 1], raw[i]));
        }
    } else if (h.BitCount <= 8) {
        const std::uint32_t count = h.ClrUsed ? h.ClrUsed : 1u << h.BitCount;
        if (count > 256) Invalid("BitmapInfoHeader.biClrUsed");
        std::vector<std::uint8_t> raw(4 * static_cast<std::size_t>(count));
        ReadExact(s, raw.data(), raw.size());
        const std::size_t keep = std::min<std::size_t>(count, 1u << h.BitCount);
        for (std::size_t i = 0; i < keep; ++i)
            palette.push_back(MakeColor(raw[4 * i + 2], raw[4 * i + 1], raw[4 * i]));
    } else {
        if (h.BitCount == 16 || h.BitCount == 32) {
            if (h.Compression == 3) {
                if (h.HasMasks) {
                    std::copy(h.Masks, h.Masks + 3, masks);
                } else {
                    std::uint8_t b[12];
                    ReadExact(s, b, 12);
                    for (int i = 0; i < 3; ++i)
                        masks[i] = GetLE32(b + 4 * i);
                }
            } else if (h.BitCount == 16) {
                masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
            } else {
                masks[0] = 0xFF0000, masks[1] = 0x00FF00, masks[2] = 0x0000FF;
            }
        }
        Skip(s, 4 * static_cast<std::int64_t>(h.ClrUsed));
    }
    // The pixels follow the palette, unless the file header points past it.
    if (pixelOffset > s.Position() && pixelOffset < s.Size()) s.Seek(pixelOffset);

    const bool rle = h.Compression == 1 || h.Compression == 2;
    const int srcBits = h.BitCount;
    const TPGColorType type = srcBits <= 8 ? ColorTypeOfBitCount(srcBits) : ct24Bit;
    const std::int64_t imageBytes = static_cast<std::int64_t>(
        TPixelGraphic::StrideOf(width, BitCountOf(type)) * static_cast<std::size_t>(height));
    std::vector<std::uint8_t> rleData;
    if (rle) {
        std::int64_t dataSize = h.SizeImage;
        if (dataSize == 0 || dataSize > s.Remaining()) dataSize = s.Remaining();
        if (imageBytes > kRLEFloor + dataSize * kRLEExpansion)
            Invalid("BitmapInfoHeader.biSizeImage");
        rleData.resize(static_cast<std::size_t>(dataSize));
        ReadExact(s, rleData.data(), rleData.size());
    } else {
        const std::int64_t need = static_cast<std::int64_t>(
            TPixelGraphic::StrideOf(width, srcBits) * static_cast<std::size_t>(height));
        if (need > s.Remaining()) Fail(msgUnexpectedEOF);
    }

    g.SetSize(width, height, type);
    if (type != ct24Bit) g.SetPalette(palette);
    if (g.Empty()) return;

    if (rle) {
        DecodeRLE(rleData, g, h.Compression == 2);
    } else if (srcBits == 16 || srcBits == 32) {
        ReadMaskedPixels(s, g, h, masks);
    } else {
        std::size_t got = 0;
        if (!g.ReadWithProgress(s, g.Bits(), g.ImageSize(), got)) return; // aborted: keep rows read
        if (got != g.ImageSize()) Fail(msgUnexpectedEOF);
        if (topDown) ReverseRows(g);
    }
}

} // namespace

void ReadPackedDIB(TPGStream& stream, TPixelGraphic& graphic, std::int64_t pixelOffset) {
    TProgressBracket bracket(graphic);
    const TDIBHeader h = ReadDIBHeader(stream);
    ReadDIBPixels(stream, graphic, h, pixelOffset);
}

void ReadBMPFile(TPGStream& stream, TPixelGraphic& graphic, int index) {
    if (index != 0) Fail(msgInvalid, "Index");
    const std::int64_t start = stream.Position();
    std::uint8_t fileHeader[14];
    ReadExact(stream, fileHeader, sizeof fileHeader);
    ReadPackedDIB(stream, graphic, start + GetLE32(fileHeader + 10));
}

TGraphicInfo ReadBMPInfo(TPGStream& stream, int index) {
    if (index != 0) Fail(msgInvalidValue, "Index");
    std::uint8_t fileHeader[14];
    ReadExact(stream, fileHeader, sizeof fileHeader);
    const TDIBHeader h = ReadDIBHeader(stream);
    TGraphicInfo info;
    info.BitCount = h.BitCount;
    info.Width = static_cast<int>(h.Width);
    info.Height = static_cast<int>(h.Height < 0 ? -h.Height : h.Height);
    info.ColorCountText = ColorCountTextOf(h.BitCount);
    if (h.Core) {
        info.Subformat = "OS/2";
    } else {
        info.Subformat = "Windows";
        if (h.Compression == 0) info.Subformat += ", RGB";
        if (h.Compression == 1) info.Subformat += ", RLE8";
        if (h.Compression == 2) info.Subformat += ", RLE4";
        if (h.Height < 0) info.Subformat += ", Top-Down";
    }
    return info;
}

void WritePackedDIB(TPGStream& stream, const TPixelGraphic& graphic) {
    const auto count =
        static_cast<std::uint32_t>(graphic.ColorType() == ct24Bit ? 0 : graphic.PaletteCount());
    std::vector<std::uint8_t> head(40 + 4 * static_cast<std::size_t>(count), 0);
    PutLE32(&head[0], 40);
    PutLE32(&head[4], static_cast<std::uint32_t>(graphic.Width()));
    PutLE32(&head[8], static_cast<std::uint32_t>(graphic.Height()));
    PutLE16(&head[12], 1);
    PutLE16(&head[14], static_cast<std::uint32_t>(graphic.BitCount()));
    PutLE32(&head[20], static_cast<std::uint32_t>(graphic.ImageSize()));
    PutLE32(&head[32], count);
    for (std::uint32_t i = 0; i < count; ++i) {
        const TColor c = graphic.Palette()[i];
        std::uint8_t* q = &head[40 + 4 * static_cast<std::size_t>(i)];
        q[0] = static_cast<std::uint8_t>(BlueOf(c));
        q[1] = static_cast<std::uint8_t>(GreenOf(c));
        q[2] = static_cast<std::uint8_t>(RedOf(c));
    }
    stream.Write(head.data(), head.size());
    if (graphic.ImageSize()) stream.Write(graphic.Bits(), graphic.ImageSize());
}

void WriteBMPFile(TPGStream& stream, const TPixelGraphic& graphic) {
    const std::uint32_t count =
        static_cast<std::uint32_t>(graphic.ColorType() == ct24Bit ? 0 : graphic.PaletteCount());
    std::uint8_t fileHeader[14] = {'B', 'M'};
    PutLE32(fileHeader + 2, 54 + 4 * count + static_cast<std::uint32_t>(graphic.ImageSize()));
    PutLE32(fileHeader + 10, 54 + 4 * count);
    stream.Write(fileHeader, sizeof fileHeader);
    WritePackedDIB(stream, graphic);
}

TBMPFileFormatReader::TBMPFileFormatReader(std::string className, std::string extension)
    : TFileFormatReader(std::move(className), std::move(extension), "Bitmap") {
    Detectable = true;
}

bool TBMPFileFormatReader::IsFormat(const std::uint8_t* header, std::size_t size) const {
    return size >= 2 && header[0] == 'B' && header[1] == 'M';
}

void TBMPFileFormatReader::Read(TPGStream& stream, TPixelGraphic& graphic, int index) const {
    ReadBMPFile(stream, graphic, index);
}

TGraphicInfo TBMPFileFormatReader::GetInfo(TPGStream& stream, int index) const {
    return ReadBMPInfo(stream, index);
}

TBMPFileFormatWriter::TBMPFileFormatWriter(std::string className, std::string extension,
                                           bool listed)
    : TFileFormatWriter(std::move(className), std::move(extension), "Bitmap", listed) {
    CanWriteResolutions = kAllColorRes;
}

void TBMPFileFormatWriter::Write(TPGStream& stream, TPixelGraphic& graphic) const {
    WriteBMPFile(stream, graphic);
}

void RegisterBMPFormats(TFileFormatRegistry& registry) {
    registry.AddReader(std::make_unique<TBMPFileFormatReader>());
    registry.AddReader(std::make_unique<TBMPFileFormatReader>("TDIBFileFormatReader", "dib"));
    registry.AddReader(std::make_unique<TBMPFileFormatReader>("TRLEFileFormatReader", "rle"));
    registry.AddWriter(std::make_unique<TBMPFileFormatWriter>());
    registry.AddWriter(
        std::make_unique<TBMPFileFormatWriter>("TDIBFileFormatWriter", "dib", false));
}

} // namespace pigmentaria
