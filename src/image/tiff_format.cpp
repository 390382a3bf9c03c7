// TIFF reader and writer of our own: strips only, uncompressed or PackBits; bilevel, 4- and 8-bit
// palette or gray, and 24-bit RGB images, in either byte order.
#include "image/codec_io.h"
#include "image/raster_formats.h"

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace pigmentaria {

namespace {

using ETifRead = EPGTIFFileFormatReader;
using ETifWrite = EPGTIFFileFormatWriter;
const std::string kTag = "TIFF: ";
// A two-byte PackBits run yields up to 128 bytes; strips may also share their data.
constexpr std::int64_t kTiffExpansion = 64;
constexpr int kMaxImages = 4096;

enum TTiffTag : std::uint16_t {
    tagImageWidth = 256,
    tagImageLength = 257,
    tagBitsPerSample = 258,
    tagCompression = 259,
    tagPhotometric = 262,
    tagStripOffsets = 273,
    tagSamplesPerPixel = 277,
    tagRowsPerStrip = 278,
    tagStripByteCounts = 279,
    tagXResolution = 282,
    tagYResolution = 283,
    tagPlanarConfiguration = 284,
    tagResolutionUnit = 296,
    tagColorMap = 320,
};

enum TTiffType : std::uint16_t { ftByte = 1, ftAscii = 2, ftShort = 3, ftLong = 4, ftRational = 5 };

constexpr int kCompressionNone = 1;
constexpr int kCompressionPackBits = 32773;

struct TEntry {
    std::uint16_t Type = 0;
    std::uint32_t Count = 0;
    std::uint8_t Value[4] = {}; // the value itself, or the offset of the values
};

class TTiffFile {
public:
    TTiffFile(TPGStream& s) : S(s), Start(s.Position()) {
        std::uint8_t h[8];
        ReadExactOr<ETifRead>(S, h, sizeof h);
        if (h[0] == 'I' && h[1] == 'I')
            Big = false;
        else if (h[0] == 'M' && h[1] == 'M')
            Big = true;
        else
            throw ETifRead(msgNotAFile, "TIFF");
        if (U16(h + 2) != 42) throw ETifRead(msgNotAFile, "TIFF");
        FirstIFD = U32(h + 4);
    }
    std::uint16_t U16(const std::uint8_t* p) const { return Big ? GetBE16(p) : GetLE16(p); }
    std::uint32_t U32(const std::uint8_t* p) const { return Big ? GetBE32(p) : GetLE32(p); }
    std::int64_t FileSize() const { return S.Size() - Start; }
    void SeekTo(std::uint32_t offset) {
        if (offset >= FileSize()) throw ETifRead(msgUnexpectedEOF);
        S.Seek(Start + offset);
    }

    // The entries of the directory at `offset`; `next` receives the following directory's offset.
    std::map<std::uint16_t, TEntry> ReadIFD(std::uint32_t offset, std::uint32_t& next) {
        SeekTo(offset);
        std::uint8_t b[12];
        ReadExactOr<ETifRead>(S, b, 2);
        const int n = U16(b);
        std::map<std::uint16_t, TEntry> entries;
        for (int i = 0; i < n; ++i) {
            ReadExactOr<ETifRead>(S, b, 12);
            TEntry e;
            e.Type = U16(b + 2);
            e.Count = U32(b + 4);
            std::memcpy(e.Value, b + 8, 4);
            entries.emplace(U16(b), e);
        }
        ReadExactOr<ETifRead>(S, b, 4);
        next = U32(b);
        return entries;
    }

    // The values of an entry of an unsigned integer type.
    std::vector<std::uint32_t> Values(const TEntry& e) {
        int size = 0;
        switch (e.Type) {
        case ftByte:
            size = 1;
            break;
        case ftShort:
            size = 2;
            break;
        case ftLong:
            size = 4;
            break;
        default:
            throw ETifRead(kTag + "Unsupported field Type: " + std::to_string(e.Type));
        }
        const std::int64_t bytes = static_cast<std::int64_t>(e.Count) * size;
        if (bytes > FileSize()) throw ETifRead(msgUnexpectedEOF);
        std::vector<std::uint8_t> raw(static_cast<std::size_t>(bytes));
        if (bytes == 0) {
            return {};
        } else if (bytes <= 4) {
            std::memcpy(raw.data(), e.Value, raw.size());
        } else {
            SeekTo(U32(e.Value));
            ReadExactOr<ETifRead>(S, raw.data(), raw.size());
        }
        std::vector<std::uint32_t> v(e.Count);
        for (std::size_t i = 0; i < v.size(); ++i) {
            const std::uint8_t* p = &raw[i * static_cast<std::size_t>(size)];
            v[i] = size == 1 ? *p : (size == 2 ? U16(p) : U32(p));
        }
        return v;
    }

    TPGStream& S;
    std::int64_t Start;
    bool Big = false;
    std::uint32_t FirstIFD = 0;
};

using TEntries = std::map<std::uint16_t, TEntry>;

struct TTiffImage {
    std::uint32_t Width = 0, Height = 0;
    int Bits = 1, Samples = 1, Compression = kCompressionNone, Photometric = -1;
    std::uint32_t RowsPerStrip = 0xFFFFFFFFu;
    int Planar = 1;
};

std::uint32_t First(TTiffFile& f, const TEntries& entries, std::uint16_t tag, std::uint32_t def) {
    const auto it = entries.find(tag);
    if (it == entries.end() || it->second.Count == 0) return def;
    return f.Values(it->second)[0];
}

// A small count field (bits, samples, photometric, ...): values beyond a short are out of range
// for every use and are kept at 65535.
int SmallField(TTiffFile& f, const TEntries& entries, std::uint16_t tag, std::uint32_t def) {
    return static_cast<int>(std::min<std::uint32_t>(First(f, entries, tag, def), 65535));
}

TTiffImage Describe(TTiffFile& f, const TEntries& entries) {
    TTiffImage im;
    im.Width = First(f, entries, tagImageWidth, 0);
    im.Height = First(f, entries, tagImageLength, 0);
    im.Bits = SmallField(f, entries, tagBitsPerSample, 1);
    im.Compression = SmallField(f, entries, tagCompression, kCompressionNone);
    im.Photometric = SmallField(f, entries, tagPhotometric, 0xFFFF);
    im.Samples = SmallField(f, entries, tagSamplesPerPixel, 1);
    im.RowsPerStrip = First(f, entries, tagRowsPerStrip, 0xFFFFFFFFu);
    im.Planar = SmallField(f, entries, tagPlanarConfiguration, 1);
    return im;
}

void CheckCompression(int compression) {
    switch (compression) {
    case kCompressionNone:
    case kCompressionPackBits:
        return;
    case 2:
        throw ETifRead(kTag + "Unsupported compression CCITT 1D");
    case 3:
        throw ETifRead(kTag + "Unsupported compression Group 3 Fax");
    case 4:
        throw ETifRead(kTag + "Unsupported compression Group 4 Fax");
    case 5:
        throw ETifRead(kTag + "Unsupported compression LZW");
    case 6:
        throw ETifRead(kTag + "Unsupported compression JPEG");
    default:
        throw ETifRead(kTag + "Unsupported compression " + std::to_string(compression));
    }
}

// Decodes one PackBits row of `rowBytes` bytes from `data` at `pos`; false when the runs do not
// make exactly the row.
bool UnpackBitsRow(const std::vector<std::uint8_t>& data, std::size_t& pos, std::uint8_t* out,
                   std::size_t rowBytes) {
    std::size_t done = 0;
    while (done < rowBytes) {
        if (pos >= data.size()) return false;
        const auto n = static_cast<std::int8_t>(data[pos++]);
        if (n >= 0) {
            const std::size_t k = static_cast<std::size_t>(n) + 1;
            if (done + k > rowBytes || pos + k > data.size()) return false;
            std::memcpy(out + done, &data[pos], k);
            pos += k;
            done += k;
        } else if (n != -128) {
            const std::size_t k = static_cast<std::size_t>(1 - n);
            if (done + k > rowBytes || pos >= data.size()) return false;
            std::memset(out + done, data[pos++], k);
            done += k;
        }
    }
    return true;
}

void ReadTiff(TPGStream& stream, TPixelGraphic& g, int index) {
    if (index != 0) throw ETifRead(msgInvalid, "Index");
    TProgressBracket bracket(g);
    TTiffFile f(stream);
    std::uint32_t next = 0;
    const TEntries entries = f.ReadIFD(f.FirstIFD, next);
    const TTiffImage im = Describe(f, entries);
    CheckCompression(im.Compression);
    if (im.Planar != 1) throw ETifRead(msgInvalid, "PlanarConfiguration");
    const auto spp = entries.find(tagSamplesPerPixel);
    if (spp != entries.end() && spp->second.Count != 1)
        throw ETifRead(kTag + "Invalid count of SamplesPerPixel");
    const int photometric = im.Photometric == 0xFFFF ? 1 : im.Photometric;
    if (im.Samples < 1 || im.Samples > 8 || (photometric == 2 && im.Samples < 3))
        throw ETifRead(kTag + "Invalid SamplesPerPixel");
    if (im.RowsPerStrip == 0) throw ETifRead(kTag + "Invalid RowsPerStrip");
    if (im.Width < 1 || im.Height < 1) throw ETifRead(msgZeroSize);
    if (im.Width > kMaxPictureSide || im.Height > kMaxPictureSide)
        throw ETifRead(msgInvalid, "ImageWidth/ImageLength");

    // The picture the samples go into.
    const int bits = im.Bits;
    const bool gray = photometric == 0 || photometric == 1;
    const bool palette = photometric == 3;
    TPGColorType type = ct24Bit;
    bool ok = false;
    if (bits == 1 || bits == 4) {
        ok = (gray || palette) && im.Samples == 1;
        type = bits == 1 ? ct1Bit : ct4Bit;
    } else if (bits == 8) {
        ok = (gray && im.Samples <= 2) || (palette && im.Samples == 1) || photometric == 2;
        type = photometric == 2 ? ct24Bit : ct8Bit;
    }
    if (!ok) throw ETifRead(kTag + "Unsupported " + std::to_string(bits) + " Bits/Pixel");

    std::vector<TColor> colors;
    if (palette) {
        const auto map = entries.find(tagColorMap);
        if (map == entries.end()) throw ETifRead(msgInvalid, "ColorMap");
        const std::vector<std::uint32_t> v = f.Values(map->second);
        const std::size_t n = std::size_t{1} << bits;
        if (v.size() < 3 * n) throw ETifRead(msgInvalid, "ColorMap");
        // A map entry is 16 bits; its high byte is the 8-bit level. Writers store a level as
        // level * 257 (libtiff's scale, as ours does) or level * 256 (Pillow): either comes back
        // exactly, where scaling by 255 / 65535 would lose one on the second.
        auto level = [](std::uint32_t c) {
            return static_cast<int>(std::min<std::uint32_t>(c >> 8, 255));
        };
        for (std::size_t i = 0; i < n; ++i)
            colors.push_back(MakeColor(level(v[i]), level(v[n + i]), level(v[2 * n + i])));
    } else if (type == ct1Bit) {
        colors = {clBlack, clWhite};
    }

    const auto strips = entries.find(tagStripOffsets);
    if (strips == entries.end()) throw ETifRead(msgInvalid, "StripOffsets");
    const std::vector<std::uint32_t> offsets = f.Values(strips->second);
    std::vector<std::uint32_t> counts;
    if (const auto c = entries.find(tagStripByteCounts); c != entries.end())
        counts = f.Values(c->second);

    const std::uint32_t height = im.Height;
    const std::uint32_t rps = std::min(im.RowsPerStrip, height);
    const std::size_t expectedStrips = (height + rps - 1) / rps;
    if (offsets.size() != expectedStrips &&
        !PGWarning(g.Messages, g.ReadWarningAction,
                   kTag + "NumStripOffsets<>(ImageLength+RowsPerStrip-1) div RowsPerStrip")) {
        if (g.ReadWarningAction == pgwaRaise)
            throw ETifRead(kTag + "NumStripOffsets<>(ImageLength+RowsPerStrip-1) div RowsPerStrip");
        throw ETifRead(msgAborted);
    }

    const std::size_t rowBytes =
        (static_cast<std::size_t>(im.Width) * static_cast<std::size_t>(bits * im.Samples) + 7) / 8;
    if (!WithinDecodeBudget(static_cast<std::int64_t>(rowBytes) * height, f.FileSize(),
                            kTiffExpansion))
        throw ETifRead(msgUnexpectedEOF);

    g.SetSize(static_cast<int>(im.Width), static_cast<int>(height), type);
    if (type == ct4Bit && gray)
        g.SetPaletteIdent(pGray16);
    else if (type == ct8Bit && gray)
        g.SetPaletteIdent(pGray256);
    else if (type != ct24Bit)
        g.SetPalette(colors);

    std::vector<std::uint8_t> line(rowBytes);
    std::vector<std::uint8_t> packed;
    const std::size_t stripCount = std::min(offsets.size(), expectedStrips);
    std::uint32_t y = 0;
    for (std::size_t s = 0; s < stripCount; ++s) {
        const std::uint32_t rows = std::min(rps, height - y);
        f.SeekTo(offsets[s]);
        std::size_t pos = 0;
        if (im.Compression == kCompressionPackBits) {
            std::int64_t size = s < counts.size() ? counts[s] : f.FileSize() - offsets[s];
            size = std::min<std::int64_t>(size, f.FileSize() - offsets[s]);
            packed.resize(static_cast<std::size_t>(size));
            ReadExactOr<ETifRead>(stream, packed.data(), packed.size());
        }
        for (std::uint32_t r = 0; r < rows; ++r, ++y) {
            if (im.Compression == kCompressionPackBits) {
                if (!UnpackBitsRow(packed, pos, line.data(), rowBytes))
                    throw ETifRead("TIFF (PackBits): " +
                                   PGMessage(msgInvalidRowByteCount, std::to_string(y)));
            } else {
                ReadExactOr<ETifRead>(stream, line.data(), rowBytes);
            }
            std::uint8_t* row = g.ScanLine(static_cast<int>(y));
            const std::size_t w = im.Width;
            if (type == ct24Bit) {
                const auto n = static_cast<std::size_t>(im.Samples);
                for (std::size_t x = 0; x < w; ++x) {
                    row[3 * x] = line[n * x + 2];
                    row[3 * x + 1] = line[n * x + 1];
                    row[3 * x + 2] = line[n * x];
                }
            } else if (type == ct8Bit && im.Samples == 2) {
                for (std::size_t x = 0; x < w; ++x)
                    row[x] = line[2 * x];
            } else {
                std::memcpy(row, line.data(), rowBytes);
            }
            // White is zero: turn the samples round so that the gray palettes apply.
            if (photometric == 0)
                for (std::size_t i = 0; i < (type == ct8Bit ? w : rowBytes); ++i)
                    row[i] = static_cast<std::uint8_t>(~row[i]);
            if (g.Progress(static_cast<int>(y) + 1, static_cast<int>(height))) return;
        }
    }
}

TGraphicInfo TiffInfo(TPGStream& stream, int index) {
    if (index != 0) throw ETifRead(msgInvalidValue, "Index");
    TTiffFile f(stream);
    std::uint32_t next = 0;
    const TEntries entries = f.ReadIFD(f.FirstIFD, next);
    const TTiffImage im = Describe(f, entries);
    TGraphicInfo info;
    info.Width = static_cast<int>(im.Width);
    info.Height = static_cast<int>(im.Height);
    info.BitCount = static_cast<int>(
        std::min<std::int64_t>(static_cast<std::int64_t>(im.Bits) * im.Samples, 0x7FFFFFFF));
    info.ColorCountText = ColorCountTextOf(im.Samples >= 3 ? 24 : im.Bits);
    info.Subformat = f.Big ? "M, " : "I, ";
    switch (im.Compression) {
    case 1:
        info.Subformat += "Uncompr.";
        break;
    case 2:
        info.Subformat += "CCITT 1D";
        break;
    case 3:
        info.Subformat += "Group 3 F.";
        break;
    case 4:
        info.Subformat += "Group 4 F.";
        break;
    case 5:
        info.Subformat += "LZW";
        break;
    case 6:
        info.Subformat += "JPEG";
        break;
    case kCompressionPackBits:
        info.Subformat += "PackBits";
        break;
    default:
        info.Subformat += "(Unsupported compression)";
        break;
    }
    // The directories are chained; a chain that loops back is counted once.
    std::set<std::uint32_t> seen{f.FirstIFD};
    try {
        while (next != 0 && seen.insert(next).second && info.ImageCount < kMaxImages) {
            f.ReadIFD(next, next);
            ++info.ImageCount;
        }
    } catch (const EPixelGraphic&) {
        // A broken chain ends the count.
    }
    return info;
}

// ---- Writer

// PackBits encoding of one row: literal runs of up to 128 bytes and repeats of 2 to 128.
void PackBitsRow(const std::uint8_t* in, std::size_t n, std::vector<std::uint8_t>& out) {
    std::size_t i = 0;
    while (i < n) {
        std::size_t run = 1;
        while (i + run < n && run < 128 && in[i + run] == in[i])
            ++run;
        if (run >= 2) {
            out.push_back(static_cast<std::uint8_t>(257 - run));
            out.push_back(in[i]);
            i += run;
            continue;
        }
        std::size_t lit = 1;
        while (i + lit < n && lit < 128 && !(i + lit + 1 < n && in[i + lit] == in[i + lit + 1]))
            ++lit;
        out.push_back(static_cast<std::uint8_t>(lit - 1));
        out.insert(out.end(), in + i, in + i + lit);
        i += lit;
    }
}

class TTiffWriter {
public:
    TTiffWriter(TPGStream& s, bool big) : S_(s), Big_(big), Start_(s.Position()) {}

    void Put16(std::vector<std::uint8_t>& b, std::uint32_t v) const {
        if (Big_) {
            b.push_back(static_cast<std::uint8_t>(v >> 8));
            b.push_back(static_cast<std::uint8_t>(v));
        } else {
            b.push_back(static_cast<std::uint8_t>(v));
            b.push_back(static_cast<std::uint8_t>(v >> 8));
        }
    }
    void Put32(std::vector<std::uint8_t>& b, std::uint32_t v) const {
        if (Big_) {
            Put16(b, v >> 16);
            Put16(b, v & 0xFFFF);
        } else {
            Put16(b, v & 0xFFFF);
            Put16(b, v >> 16);
        }
    }
    std::uint32_t Offset() const { return static_cast<std::uint32_t>(S_.Position() - Start_); }

    // Byte-order mark, 42 and a first-directory offset to be patched.
    void WriteHeader() {
        std::vector<std::uint8_t> h = {static_cast<std::uint8_t>(Big_ ? 'M' : 'I'),
                                       static_cast<std::uint8_t>(Big_ ? 'M' : 'I')};
        Put16(h, 42);
        Put32(h, 0);
        S_.Write(h.data(), h.size());
    }

    void WriteBody(TPixelGraphic& g, int compression, int unit) {
        if (compression != kCompressionNone && compression != kCompressionPackBits)
            throw ETifWrite(kTag + "Internal Error");
        const int bits = g.BitCount();
        const TPaletteIdent id = g.PaletteIdent();
        const bool rgb = bits == 24;
        const bool gray = (bits == 1 && id == pBlackWhite) || (bits == 4 && id == pGray16) ||
                          (bits == 8 && id == pGray256);
        const int photometric = rgb ? 2 : (gray ? 1 : 3);
        const std::uint32_t width = static_cast<std::uint32_t>(g.Width());
        const std::uint32_t height = static_cast<std::uint32_t>(g.Height());
        const std::size_t rowBytes = (static_cast<std::size_t>(width) * bits + 7) / 8;
        const std::uint32_t rps = std::max<std::uint32_t>(
            1, std::min<std::uint32_t>(
                   height, static_cast<std::uint32_t>(65536 / std::max<std::size_t>(rowBytes, 1))));
        // The strips, each a run of whole rows.
        std::vector<std::uint32_t> offsets, counts;
        std::vector<std::uint8_t> strip, line(rowBytes);
        for (std::uint32_t y = 0; y < height; y += rps) {
            strip.clear();
            const std::uint32_t rows = std::min(rps, height - y);
            for (std::uint32_t r = 0; r < rows; ++r) {
                const std::uint8_t* src =
                    static_cast<const TPixelGraphic&>(g).ScanLine(static_cast<int>(y + r));
                if (rgb) {
                    for (std::size_t x = 0; x < width; ++x) {
                        line[3 * x] = src[3 * x + 2];
                        line[3 * x + 1] = src[3 * x + 1];
                        line[3 * x + 2] = src[3 * x];
                    }
                } else {
                    std::memcpy(line.data(), src, rowBytes);
                }
                if (compression == kCompressionPackBits)
                    PackBitsRow(line.data(), rowBytes, strip);
                else
                    strip.insert(strip.end(), line.begin(), line.end());
                g.Progress(static_cast<int>(y + r + 1), static_cast<int>(height));
            }
            offsets.push_back(Offset());
            counts.push_back(static_cast<std::uint32_t>(strip.size()));
            S_.Write(strip.data(), strip.size());
        }
        if (offsets.size() != (height + rps - 1) / rps) throw ETifWrite(kTag + "Internal Error");
        if (Offset() & 1) {
            const std::uint8_t pad = 0;
            S_.Write(&pad, 1);
        }

        // The directory, its long values behind it.
        struct TField {
            std::uint16_t Tag, Type;
            std::vector<std::uint32_t> Values;
        };
        std::vector<TField> fields = {
            {tagImageWidth, ftLong, {width}},
            {tagImageLength, ftLong, {height}},
            {tagBitsPerSample, ftShort,
             rgb ? std::vector<std::uint32_t>{8, 8, 8}
                 : std::vector<std::uint32_t>{static_cast<std::uint32_t>(bits)}},
            {tagCompression, ftShort, {static_cast<std::uint32_t>(compression)}},
            {tagPhotometric, ftShort, {static_cast<std::uint32_t>(photometric)}},
            {tagStripOffsets, ftLong, offsets},
            {tagSamplesPerPixel, ftShort, {rgb ? 3u : 1u}},
            {tagRowsPerStrip, ftLong, {rps}},
            {tagStripByteCounts, ftLong, counts},
            {tagXResolution, ftRational, {300, 1}},
            {tagYResolution, ftRational, {300, 1}},
            {tagPlanarConfiguration, ftShort, {1}},
            {tagResolutionUnit, ftShort, {static_cast<std::uint32_t>(unit)}},
        };
        if (photometric == 3) {
            const std::size_t n = std::size_t{1} << bits;
            std::vector<std::uint32_t> map(3 * n, 0);
            for (std::size_t i = 0; i < n && i < g.Palette().size(); ++i) {
                const TColor c = g.Palette()[i];
                map[i] = static_cast<std::uint32_t>(RedOf(c)) * 257;
                map[n + i] = static_cast<std::uint32_t>(GreenOf(c)) * 257;
                map[2 * n + i] = static_cast<std::uint32_t>(BlueOf(c)) * 257;
            }
            fields.push_back({tagColorMap, ftShort, map});
        }
        const std::uint32_t ifd = Offset();
        std::vector<std::uint8_t> dir, extra;
        const std::uint32_t extraStart =
            ifd + 2 + 12 * static_cast<std::uint32_t>(fields.size()) + 4;
        Put16(dir, static_cast<std::uint32_t>(fields.size()));
        for (const TField& field : fields) {
            const std::size_t size = field.Type == ftShort ? 2 : 4;
            const std::uint32_t count = field.Type == ftRational
                                            ? static_cast<std::uint32_t>(field.Values.size() / 2)
                                            : static_cast<std::uint32_t>(field.Values.size());
            Put16(dir, field.Tag);
            Put16(dir, field.Type);
            Put32(dir, count);
            std::vector<std::uint8_t> data;
            for (std::uint32_t v : field.Values)
                size == 2 ? Put16(data, v) : Put32(data, v);
            if (data.size() <= 4) {
                data.resize(4, 0);
                dir.insert(dir.end(), data.begin(), data.end());
            } else {
                Put32(dir, extraStart + static_cast<std::uint32_t>(extra.size()));
                extra.insert(extra.end(), data.begin(), data.end());
                if (extra.size() & 1) extra.push_back(0);
            }
        }
        Put32(dir, 0);
        if (dir.size() + ifd != extraStart) throw ETifWrite(kTag + "Internal Error");
        S_.Write(dir.data(), dir.size());
        S_.Write(extra.data(), extra.size());
        FirstIFD_ = ifd;
    }

    // Patches the first-directory offset into the header.
    void WriteTrailer() {
        const std::int64_t end = S_.Position();
        std::vector<std::uint8_t> b;
        Put32(b, FirstIFD_);
        S_.Seek(Start_ + 4);
        S_.Write(b.data(), b.size());
        S_.Seek(end);
    }

private:
    TPGStream& S_;
    bool Big_;
    std::int64_t Start_;
    std::uint32_t FirstIFD_ = 0;
};

class TTIFFileFormatReader : public TFileFormatReader {
public:
    TTIFFileFormatReader(std::string className, std::string extension)
        : TFileFormatReader(std::move(className), std::move(extension),
                            "Tagged Image File Format") {
        Detectable = true;
    }
    bool IsFormat(const std::uint8_t* h, std::size_t size) const override {
        return size >= 4 && ((h[0] == 'I' && h[1] == 'I' && h[2] == 0x2A && h[3] == 0) ||
                             (h[0] == 'M' && h[1] == 'M' && h[2] == 0 && h[3] == 0x2A));
    }
    void Read(TPGStream& stream, TPixelGraphic& graphic, int index) const override {
        ReadTiff(stream, graphic, index);
    }
    TGraphicInfo GetInfo(TPGStream& stream, int index) const override {
        return TiffInfo(stream, index);
    }
};

class TTIFFileFormatWriter : public TFileFormatWriter {
public:
    TTIFFileFormatWriter(std::string className, std::string extension, bool listed)
        : TFileFormatWriter(std::move(className), std::move(extension), "Tagged Image File Format",
                            listed) {
        CanWriteResolutions = kAllColorRes & ~ColorResBit(cr2Colors);
        Flag = true;
    }
    // Header, body (strips and directory) and trailer (the header's directory offset) in one
    // call, so that a shared writer keeps no state between them.
    void Write(TPGStream& stream, TPixelGraphic& graphic) const override {
        const TPGLibrarySettings& lib = PGLibrarySettings();
        TProgressBracket bracket(graphic);
        TTiffWriter w(stream, lib.TIFFBigEndian);
        w.WriteHeader();
        w.WriteBody(graphic, lib.TIFFCompression, lib.TIFFResolutionUnit);
        w.WriteTrailer();
    }
};

} // namespace

void RegisterTIFFormats(TFileFormatRegistry& registry) {
    registry.AddReader(std::make_unique<TTIFFileFormatReader>("TTIFFileFormatReader", "tif"));
    registry.AddReader(std::make_unique<TTIFFileFormatReader>("TTIFFFileFormatReader", "tiff"));
    registry.AddWriter(std::make_unique<TTIFFileFormatWriter>("TTIFFileFormatWriter", "tif", true));
    registry.AddWriter(
        std::make_unique<TTIFFileFormatWriter>("TTIFFFileFormatWriter", "tiff", false));
}

} // namespace pigmentaria
