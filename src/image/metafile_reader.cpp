#include "image/metafile_reader.h"

#include "image/codec_io.h"

#include "platform/metafile_records.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace pigmentaria {

using namespace metafile;

namespace {

// Pictures larger than this are refused rather than allocated.
constexpr int MaxSide = 32767;
constexpr std::int64_t MaxPixels = std::int64_t(1) << 26;

bool SizeUsable(std::int64_t w, std::int64_t h) {
    return w >= 1 && h >= 1 && w <= MaxSide && h <= MaxSide && w * h <= MaxPixels;
}

std::int64_t MulDivRound(std::int64_t a, std::int64_t b, std::int64_t c) {
    const std::int64_t p = a * b;
    return (p >= 0 ? p + c / 2 : p - c / 2) / c;
}

std::vector<std::uint8_t> DefaultHeader(const TMetafileSettings& s) {
    // The box's extents are kept between 2 and 32766, so that the made-up header always passes
    // the box rules itself.
    const int w = std::clamp(s.DefaultBoxWidth - 1, 2, MaxSide - 1);
    const int h = std::clamp(s.DefaultBoxHeight - 1, 2, MaxSide - 1);
    const int ppi = std::clamp(s.ScreenPixelsPerInch, 1, 32767);
    return MakePlaceableHeader(0, 0, static_cast<std::int16_t>(w), static_cast<std::int16_t>(h),
                               static_cast<std::uint16_t>(ppi));
}

// The header rules a placeable header must pass to be used as it stands: its checksum, a box
// that is not empty and does not reach 32767, and a unit size.
bool PlaceableUsable(const std::uint8_t* h) {
    const std::int16_t l = GetI16(h, 22, 6), t = GetI16(h, 22, 8), r = GetI16(h, 22, 10),
                       b = GetI16(h, 22, 12);
    const std::uint16_t inch = GetU16(h, 22, 14);
    if (PlaceableChecksum(h) != GetU16(h, 22, 20)) return false;
    if (r <= l || b <= t || inch == 0) return false;
    if (r >= 32767 || b >= 32767 || std::int32_t(r) - l >= 32767 || std::int32_t(b) - t >= 32767)
        return false;
    return true;
}

// The standard metafile header as a loader takes it.
bool WmfHeaderUsable(const std::uint8_t* d, std::size_t n) {
    if (n < 18) return false;
    const std::uint16_t type = GetU16(d, n, 0);
    return (type == 1 || type == 2) && GetU16(d, n, 2) == 9 && GetU16(d, n, 4) != 0;
}

// The entries of the first palette the Windows metafile creates.
std::vector<TColor> WmfPalette(const std::uint8_t* d, std::size_t n) {
    std::size_t at = PlaceableSize + 2 * std::size_t(GetU16(d, n, PlaceableSize + 2));
    while (at + 6 <= n) {
        const std::uint64_t words = GetU32(d, n, at);
        const std::uint16_t function = GetU16(d, n, at + 4);
        if (words < 3 || words * 2 > n - at || function == META_EOF) break;
        if (function == META_CREATEPALETTE)
            return PaletteEntries(d, at + words * 2, at + 10, GetU16(d, n, at + 8));
        at += words * 2;
    }
    return {};
}

// The palette an enhanced metafile carries in its end-of-file record.
std::vector<TColor> EmfPalette(const std::uint8_t* d, std::size_t n) {
    std::size_t at = 0;
    while (at + 8 <= n) {
        const std::uint32_t type = GetU32(d, n, at), size = GetU32(d, n, at + 4);
        if (size < 8 || size > n - at) break;
        if (type == EMR_EOF) {
            const std::uint32_t count = GetU32(d, n, at + 8), offset = GetU32(d, n, at + 12);
            if (count == 0 || offset < 16) return {};
            return PaletteEntries(d + at, size, offset, count);
        }
        at += size;
    }
    return {};
}

std::optional<TLoadedMetafile> LoadWmf(std::span<const std::uint8_t> bytes,
                                       const TMetafileSettings& settings) {
    TLoadedMetafile m;
    const bool hasHeader =
        bytes.size() >= 4 && GetU32(bytes.data(), bytes.size(), 0) == PlaceableMagic;
    m.Placeable = hasHeader;
    if (hasHeader && bytes.size() >= PlaceableSize && PlaceableUsable(bytes.data())) {
        m.Data.assign(bytes.begin(), bytes.end());
    } else {
        // Without a usable header of its own the metafile gets the default box.
        m.Data = DefaultHeader(settings);
        const std::size_t skip = hasHeader ? std::min(bytes.size(), PlaceableSize) : 0;
        m.Data.insert(m.Data.end(), bytes.begin() + static_cast<std::ptrdiff_t>(skip), bytes.end());
    }
    const std::uint8_t* d = m.Data.data();
    const std::size_t n = m.Data.size();
    if (!WmfHeaderUsable(d + PlaceableSize, n - PlaceableSize)) return std::nullopt;
    const std::int64_t ppi = std::clamp(settings.ScreenPixelsPerInch, 1, 32767);
    const std::int64_t inch = GetU16(d, n, 14);
    m.Width = static_cast<int>(MulDivRound(GetI16(d, n, 10) - GetI16(d, n, 6), ppi, inch));
    m.Height = static_cast<int>(MulDivRound(GetI16(d, n, 12) - GetI16(d, n, 8), ppi, inch));
    if (!SizeUsable(m.Width, m.Height)) return std::nullopt;
    m.Palette = WmfPalette(d, n);
    return m;
}

std::optional<TLoadedMetafile> LoadEmf(std::span<const std::uint8_t> bytes) {
    const std::uint8_t* d = bytes.data();
    const std::size_t n = bytes.size();
    if (n < 88 || GetU32(d, n, 0) != EMR_HEADER) return std::nullopt;
    const std::uint32_t headerSize = GetU32(d, n, 4);
    if (headerSize < 88 || headerSize > n || GetU32(d, n, EmfSignatureOffset) != EmfSignature)
        return std::nullopt;
    TLoadedMetafile m;
    m.Enhanced = true;
    m.Data.assign(bytes.begin(), bytes.end());
    // The picture's size is its frame (hundredths of a millimetre) on the reference device.
    const double fw = double(GetI32(d, n, 32)) - GetI32(d, n, 24);
    const double fh = double(GetI32(d, n, 36)) - GetI32(d, n, 28);
    const double devX = GetI32(d, n, 72), devY = GetI32(d, n, 76);
    const double mmX = GetI32(d, n, 80), mmY = GetI32(d, n, 84);
    double w = 0, h = 0;
    if (devX > 0 && devY > 0 && mmX > 0 && mmY > 0) {
        w = std::abs(fw) * devX / (mmX * 100.0);
        h = std::abs(fh) * devY / (mmY * 100.0);
    }
    if (!(w >= 0.5 && h >= 0.5)) {
        // No usable frame: the bounds in device pixels.
        w = double(GetI32(d, n, 16)) - GetI32(d, n, 8) + 1;
        h = double(GetI32(d, n, 20)) - GetI32(d, n, 12) + 1;
    }
    if (!(w >= 0.5 && h >= 0.5 && w < 1e9 && h < 1e9)) return std::nullopt;
    m.Width = static_cast<int>(std::lround(w));
    m.Height = static_cast<int>(std::lround(h));
    if (!SizeUsable(m.Width, m.Height)) return std::nullopt;
    m.Palette = EmfPalette(d, n);
    return m;
}

} // namespace

TMetafileSettings& PGMetafileSettings() {
    static TMetafileSettings settings;
    return settings;
}

std::vector<std::uint8_t> MakePlaceableHeader(std::int16_t left, std::int16_t top,
                                              std::int16_t right, std::int16_t bottom,
                                              std::uint16_t unitsPerInch) {
    TByteWriter w;
    w.U32(PlaceableMagic);
    w.U16(0);
    w.I16(left);
    w.I16(top);
    w.I16(right);
    w.I16(bottom);
    w.U16(unitsPerInch);
    w.U32(0);
    w.U16(PlaceableChecksum(w.Bytes().data()));
    return std::move(w.Bytes());
}

bool DetectWmf(std::span<const std::uint8_t> head) {
    const std::uint8_t* d = head.data();
    const std::size_t n = head.size();
    if (n >= 4 && GetU32(d, n, 0) == PlaceableMagic) return true;
    if (n < 16) return false;
    const std::uint16_t type = GetU16(d, n, 0);
    // Disk metafiles (type 2) are as common as memory ones (1); 0 is kept for old writers.
    return type <= 2 && GetU16(d, n, 2) == 9 && GetU16(d, n, 4) != 0 && GetU32(d, n, 6) > 18 &&
           GetU16(d, n, 10) != 0;
}

bool DetectEmf(std::span<const std::uint8_t> head) {
    const std::uint8_t* d = head.data();
    const std::size_t n = head.size();
    if (n < 8 || GetU32(d, n, 0) != EMR_HEADER) return false;
    if (GetU32(d, n, 4) < 101) return true;
    // Headers of 100 and 108 bytes are what current writers produce: their signature tells.
    return n >= EmfSignatureOffset + 4 && GetU32(d, n, EmfSignatureOffset) == EmfSignature;
}

std::optional<TLoadedMetafile> LoadMetafile(std::span<const std::uint8_t> bytes, bool enhanced,
                                            const TMetafileSettings& settings) {
    return enhanced ? LoadEmf(bytes) : LoadWmf(bytes, settings);
}

int MetafileBitCount(std::size_t entries) {
    if (entries == 0 || entries > 256) return 24;
    if (entries <= 2) return 1;
    if (entries <= 16) return 4;
    return 8;
}

TMetafileInfo GetMetafileInfo(std::span<const std::uint8_t> bytes, bool enhanced,
                              const TMetafileSettings& settings) {
    const std::optional<TLoadedMetafile> m = LoadMetafile(bytes, enhanced, settings);
    if (!m) throw EMetafile();
    TMetafileInfo info;
    info.Width = m->Width;
    info.Height = m->Height;
    info.BitCount = MetafileBitCount(m->Palette.size());
    info.ColorCountText = ColorCountTextOf(info.BitCount);
    if (!enhanced) info.SubFormat = m->Placeable ? PlaceableSubFormat : NoHeaderSubFormat;
    return info;
}

TMetafilePicture ReadMetafile(std::span<const std::uint8_t> bytes, bool enhanced,
                              const TMetafileSettings& settings, bool preview,
                              const TMetafileProgress& progress) {
    constexpr int maximum = 100, increment = 15;
    int step = 2;
    bool abort = false;
    auto report = [&] {
        if (progress) progress(std::min(step, maximum), maximum, abort);
        step += increment;
        return !abort;
    };
    TMetafilePicture picture;
    report();
    std::optional<TLoadedMetafile> m = LoadMetafile(bytes, enhanced, settings);
    if (!m) return picture;
    double w = m->Width, h = m->Height;
    if (preview) {
        if (w > MetafilePreviewSize || h > MetafilePreviewSize) {
            const double f = std::min(MetafilePreviewSize / w, MetafilePreviewSize / h);
            w = std::max(1.0, std::round(w * f));
            h = std::max(1.0, std::round(h * f));
        }
    } else if (settings.ScaleFactor > 0 && settings.ScaleFactor != 1.0) {
        w = std::max(1.0, std::round(w * settings.ScaleFactor));
        h = std::max(1.0, std::round(h * settings.ScaleFactor));
    }
    if (!(w <= MaxSide && h <= MaxSide && w * h <= double(MaxPixels))) return picture;
    picture.BitCount = MetafileBitCount(m->Palette.size());
    if (picture.BitCount != 24) picture.Palette = m->Palette;
    picture.Raster = TRaster24(static_cast<int>(w), static_cast<int>(h), settings.BackgroundColor);
    PlayMetafile(*m, picture.Raster, report);
    step = maximum;
    if (progress) progress(maximum, maximum, abort);
    return picture;
}

} // namespace pigmentaria
