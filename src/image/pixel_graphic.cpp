#include "image/pixel_graphic.h"

#include "image/bmp_format.h"
#include "image/file_format.h"
#include "image/palette_match.h"
#include "image/pg_stream.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>

namespace pigmentaria {

namespace {
// A DIB's image size is a 32-bit field; larger pictures cannot be stored or exchanged.
constexpr std::size_t kMaxImageSize = 0x7FFFFFFF;
} // namespace

int BitCountOf(TPGColorType type) {
    switch (type) {
    case ct1Bit:
        return 1;
    case ct4Bit:
        return 4;
    case ct8Bit:
        return 8;
    case ct24Bit:
        return 24;
    }
    return 24;
}

TPGColorType ColorTypeOfBitCount(int bits) {
    switch (bits) {
    case 1:
        return ct1Bit;
    case 4:
        return ct4Bit;
    case 8:
        return ct8Bit;
    case 24:
        return ct24Bit;
    default:
        throw EPGInvalidBitCountNum(msgInvalidValue, "BitCountNum");
    }
}

int PaletteCapacity(TPGColorType type) {
    switch (type) {
    case ct1Bit:
        return 2;
    case ct4Bit:
        return 16;
    case ct8Bit:
        return 256;
    case ct24Bit:
        return 0;
    }
    return 0;
}

TPGLibrarySettings& PGLibrarySettings() {
    static TPGLibrarySettings settings;
    return settings;
}

// ---- Surface adapter

int TPixelGraphicSurface::Width() const {
    return Graphic_->Width();
}
int TPixelGraphicSurface::Height() const {
    return Graphic_->Height();
}
TColor TPixelGraphicSurface::GetPixel(int x, int y) const {
    return Graphic_->GetPixelColor(x, y);
}
void TPixelGraphicSurface::SetPixel(int x, int y, TColor c) {
    Graphic_->SetPixelColor(x, y, c);
}
void TPixelGraphicSurface::FillSpan(int y, int x0, int x1, TColor c) {
    if (x1 <= x0) return;
    if (Graphic_->ColorType() == ct24Bit) {
        std::uint8_t* p = Graphic_->ScanLine(y) + 3 * static_cast<std::size_t>(x0);
        for (int x = x0; x < x1; ++x, p += 3) {
            p[0] = static_cast<std::uint8_t>(BlueOf(c));
            p[1] = static_cast<std::uint8_t>(GreenOf(c));
            p[2] = static_cast<std::uint8_t>(RedOf(c));
        }
        return;
    }
    const std::uint32_t index = Graphic_->NearestPaletteIndex(c);
    if (Graphic_->ColorType() == ct8Bit) {
        std::memset(Graphic_->ScanLine(y) + x0, static_cast<int>(index),
                    static_cast<std::size_t>(x1 - x0));
        return;
    }
    for (int x = x0; x < x1; ++x)
        Graphic_->SetPixel(x, y, index);
}

// ---- Construction and size

TPixelGraphic::TPixelGraphic() : Gamma(PGLibrarySettings().DisplayGamma) {}

TPixelGraphic::~TPixelGraphic() = default;

void TPixelGraphic::SetSize(int width, int height, TPGColorType type) {
    if (width < 0) throw EPGInvalidSize(msgNegativeWidth);
    if (height < 0) throw EPGInvalidSize(msgNegativeHeight);
    if (width == Width_ && height == Height_ && type == ColorType_) {
        Clear();
        return;
    }
    const std::size_t stride = StrideOf(width, BitCountOf(type));
    const std::size_t size = stride * static_cast<std::size_t>(height);
    if (height != 0 && stride != 0 && size / stride != static_cast<std::size_t>(height))
        throw EPixelGraphic(msgFailed, "CreateDIBSection");
    std::vector<std::uint8_t>().swap(Bits_);
    Width_ = 0, Height_ = 0, Stride_ = 0;
    ColorType_ = type;
    if (size > 0) {
        if (size > kMaxImageSize) throw EPixelGraphic(msgFailed, "CreateDIBSection");
        try {
            Bits_.assign(size, 0);
        } catch (const std::bad_alloc&) {
            throw EPixelGraphic(msgFailed, "CreateDIBSection");
        }
        if (type == ct24Bit)
            Palette_.clear();
        else if (Palette_.size() > static_cast<std::size_t>(PaletteCapacity(type)))
            Palette_.resize(static_cast<std::size_t>(PaletteCapacity(type)));
        RecognizePalette();
        PaletteChanged();
    }
    Width_ = width, Height_ = height, Stride_ = stride;
    Changed();
}

void TPixelGraphic::Clear() {
    if (!Bits_.empty()) {
        if (FillColor_ == 0) {
            std::fill(Bits_.begin(), Bits_.end(), 0);
        } else if (ColorType_ == ct8Bit) {
            std::fill(Bits_.begin(), Bits_.end(), static_cast<std::uint8_t>(FillColor_));
        } else {
            for (int x = 0; x < Width_; ++x)
                SetPixel(x, 0, FillColor_);
            for (int y = 1; y < Height_; ++y)
                std::memcpy(ScanLine(y), ScanLine(0), Stride_);
        }
    }
    Changed();
}

void TPixelGraphic::SetFillColor(TColor color) {
    FillColor_ = ColorType_ == ct24Bit ? (color & 0xFFFFFFu) : NearestPaletteIndex(color);
}

void TPixelGraphic::EndUpdate() {
    if (UpdateCount_ > 0) --UpdateCount_;
    Changed();
}

void TPixelGraphic::Changed() {
    if (UpdateCount_ == 0 && OnChange) OnChange(*this);
}

void TPixelGraphic::ProgressStart() const {
    if (OnProgressStart) OnProgressStart(*this);
}

void TPixelGraphic::ProgressEnd() const {
    if (OnProgressEnd) OnProgressEnd(*this);
}

bool TPixelGraphic::Progress(int step, int max) const {
    bool abort = false;
    if (OnProgress) OnProgress(*this, step, max, abort);
    return abort;
}

bool TPixelGraphic::ReadWithProgress(TPGStream& stream, std::uint8_t* buffer, std::size_t n,
                                     std::size_t& got) const {
    got = 0;
    if (n <= 100) {
        got = stream.Read(buffer, n);
        return true;
    }
    const std::size_t part = n / 10;
    for (int step = 1; step <= 10; ++step) {
        const std::size_t want = step < 10 ? part : n - got;
        const std::size_t k = stream.Read(buffer + got, want);
        got += k;
        if (k != want) return true;
        if (Progress(step, 10)) return false;
    }
    return true;
}

// ---- Pixels

void TPixelGraphic::CheckXY() const {
    if (RaiseOnBadCoordinates) throw EPGXYIndexOutOfRange(msgXYIndexOutOfRange);
}

std::uint32_t TPixelGraphic::GetPixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= Width_ || y >= Height_ || Bits_.empty()) {
        CheckXY();
        return FillColor_;
    }
    const std::uint8_t* row = Bits_.data() + RowOffset(y);
    switch (ColorType_) {
    case ct1Bit:
        return (row[x >> 3] >> (7 - (x & 7))) & 1u;
    case ct4Bit:
        return (x & 1) ? row[x >> 1] & 15u : static_cast<std::uint32_t>(row[x >> 1] >> 4);
    case ct8Bit:
        return row[x];
    case ct24Bit:
        break;
    }
    const std::uint8_t* p = row + 3 * static_cast<std::size_t>(x);
    return static_cast<std::uint32_t>(p[2]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[0]) << 16;
}

void TPixelGraphic::SetPixel(int x, int y, std::uint32_t value) {
    if (x < 0 || y < 0 || x >= Width_ || y >= Height_ || Bits_.empty()) {
        CheckXY();
        return;
    }
    std::uint8_t* row = Bits_.data() + RowOffset(y);
    switch (ColorType_) {
    case ct1Bit: {
        const auto bit = static_cast<std::uint8_t>(0x80 >> (x & 7));
        if (value == 1)
            row[x >> 3] |= bit;
        else
            row[x >> 3] &= static_cast<std::uint8_t>(~bit);
        return;
    }
    case ct4Bit: {
        std::uint8_t& b = row[x >> 1];
        b = (x & 1) ? static_cast<std::uint8_t>((b & 0xF0) | (value & 15))
                    : static_cast<std::uint8_t>((b & 0x0F) | (value & 15) << 4);
        return;
    }
    case ct8Bit:
        row[x] = static_cast<std::uint8_t>(value);
        return;
    case ct24Bit:
        break;
    }
    std::uint8_t* p = row + 3 * static_cast<std::size_t>(x);
    p[0] = static_cast<std::uint8_t>(value >> 16);
    p[1] = static_cast<std::uint8_t>(value >> 8);
    p[2] = static_cast<std::uint8_t>(value);
}

TColor TPixelGraphic::GetPixelColor(int x, int y) const {
    const std::uint32_t v = GetPixel(x, y);
    return ColorType_ == ct24Bit ? v : IndexColor(v);
}

void TPixelGraphic::SetPixelColor(int x, int y, TColor color) {
    if (x < 0 || y < 0 || x >= Width_ || y >= Height_ || Bits_.empty()) {
        CheckXY();
        return;
    }
    SetPixel(x, y, ColorType_ == ct24Bit ? (color & 0xFFFFFFu) : NearestPaletteIndex(color));
}

std::uint8_t* TPixelGraphic::ScanLine(int y) {
    if (Bits_.empty() || y < 0 || y >= Height_) return nullptr;
    return Bits_.data() + RowOffset(y);
}

const std::uint8_t* TPixelGraphic::ScanLine(int y) const {
    if (Bits_.empty() || y < 0 || y >= Height_) return nullptr;
    return Bits_.data() + RowOffset(y);
}

// ---- Palette

void TPixelGraphic::PaletteChanged() {
    Gray_ = !Palette_.empty() && std::all_of(Palette_.begin(), Palette_.end(), [](TColor c) {
        return RedOf(c) == GreenOf(c) && GreenOf(c) == BlueOf(c);
    });
    InvalidateColorCache();
}

void TPixelGraphic::RecognizePalette() {
    bool gray = false;
    const TPaletteIdent id = RecognizePaletteIdent(Palette_, gray);
    Ident_ = (ColorType_ == ct24Bit && !Bits_.empty()) ? pTrueColor : id;
    Gray_ = gray;
    InvalidateColorCache();
}

TColor TPixelGraphic::PaletteColor(int i) const {
    if (Ident_ == pTrueColor) return static_cast<TColor>(i);
    if (i < 0 || i >= PaletteCount()) throw EPGInvalidPaletteIndex(msgInvalidPaletteIndex);
    return Palette_[static_cast<std::size_t>(i)];
}

void TPixelGraphic::SetPaletteColor(int i, TColor color) {
    if (Ident_ == pNone || Ident_ == pTrueColor) throw EPGNoPalette(msgNoPalette);
    if (i < 0 || i >= PaletteCount()) throw EPGInvalidPaletteIndex(msgInvalidPaletteIndex);
    Palette_[static_cast<std::size_t>(i)] = color & 0xFFFFFFu;
    Ident_ = pUnknown;
    PaletteChanged();
}

namespace {
std::size_t CapacityFor(TPGColorType type) {
    // A 24-bit picture may carry a colour table of up to 256 entries, as a DIB may.
    return type == ct24Bit ? 256 : static_cast<std::size_t>(PaletteCapacity(type));
}
} // namespace

void TPixelGraphic::SetPaletteCount(int n) {
    const std::size_t count =
        std::min(static_cast<std::size_t>(std::max(n, 0)), CapacityFor(ColorType_));
    Palette_.resize(count, clBlack);
    if (ColorType_ == ct24Bit && !Bits_.empty())
        Ident_ = pTrueColor;
    else
        Ident_ = count == 0 ? pNone : pUnknown;
    PaletteChanged();
}

void TPixelGraphic::SetPaletteIdent(TPaletteIdent ident) {
    if (ident == pOptimized252Sys16 || ident == pSource) return;
    std::vector<TColor> p = StandardPalette(ident);
    if (p.size() > CapacityFor(ColorType_)) {
        // A standard palette larger than the picture can hold is cut, and then is no longer
        // that standard palette.
        p.resize(CapacityFor(ColorType_));
        SetPalette(p);
        return;
    }
    Palette_ = std::move(p);
    Ident_ = (ColorType_ == ct24Bit && !Bits_.empty()) ? pTrueColor
             : Palette_.empty()                        ? pNone
                                                       : ident;
    PaletteChanged();
}

void TPixelGraphic::CopyPalette(const TPixelGraphic& source) {
    SetPalette(source.Palette_);
}

void TPixelGraphic::SetPalette(const std::vector<TColor>& colors) {
    Palette_.assign(colors.begin(), colors.begin() + static_cast<std::ptrdiff_t>(std::min(
                                                         colors.size(), CapacityFor(ColorType_))));
    for (TColor& c : Palette_)
        c &= 0xFFFFFFu;
    RecognizePalette();
    PaletteChanged();
}

// ---- Copies

void TPixelGraphic::Assign(const TPixelGraphic* source) {
    if (source == this) return;
    BeginUpdate();
    if (!source) {
        SetSize(0, 0, ct24Bit);
        Palette_.clear();
        RecognizePalette();
        PaletteChanged();
        EndUpdate();
        return;
    }
    SetSize(0, 0, source->ColorType_);
    Bits_ = source->Bits_;
    Width_ = source->Width_;
    Height_ = source->Height_;
    Stride_ = source->Stride_;
    Palette_ = source->Palette_;
    Ident_ = source->Ident_;
    FillColor_ = source->FillColor_;
    AssignSettings(*source);
    RecognizePalette();
    PaletteChanged();
    EndUpdate();
}

void TPixelGraphic::AssignSettings(const TPixelGraphic& source) {
    if (&source == this) return;
    Dither = source.Dither;
    DitherErrorLimit = source.DitherErrorLimit;
    DitherErrorLimitAuto = source.DitherErrorLimitAuto;
    DitherErrorLimitSoft = source.DitherErrorLimitSoft;
    Gamma = source.Gamma;
    StretchMode = source.StretchMode;
    Transparent = source.Transparent;
    ReadWarningAction = source.ReadWarningAction;
    RaiseOnBadCoordinates = source.RaiseOnBadCoordinates;
    SaveColorResWarningAction = source.SaveColorResWarningAction;
    // Through the setters: both decide how colours find their palette index.
    if (ColorCacheEnabled_ != source.ColorCacheEnabled_)
        SetColorCacheEnabled(source.ColorCacheEnabled_);
    if (RGBWeighting_ != source.RGBWeighting_) SetRGBWeighting(source.RGBWeighting_);
}

void TPixelGraphic::AssignRaster24(const TRaster24& raster) {
    BeginUpdate();
    SetSize(0, 0, ct24Bit);
    SetSize(raster.Width(), raster.Height(), ct24Bit);
    const std::size_t used = 3 * static_cast<std::size_t>(Width_);
    for (int y = 0; y < Height_; ++y)
        std::memcpy(ScanLine(y), raster.Row(y), used);
    EndUpdate();
}

TRaster24 TPixelGraphic::ToRaster24() const {
    TRaster24 raster(Width_, Height_);
    if (Bits_.empty()) return raster;
    if (ColorType_ == ct24Bit) {
        const std::size_t used = 3 * static_cast<std::size_t>(Width_);
        for (int y = 0; y < Height_; ++y)
            std::memcpy(raster.Row(y), ScanLine(y), used);
        return raster;
    }
    std::array<std::uint8_t, 3 * 256> lut{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        const TColor c = IndexColor(i);
        lut[3 * i] = static_cast<std::uint8_t>(BlueOf(c));
        lut[3 * i + 1] = static_cast<std::uint8_t>(GreenOf(c));
        lut[3 * i + 2] = static_cast<std::uint8_t>(RedOf(c));
    }
    for (int y = 0; y < Height_; ++y) {
        std::uint8_t* out = raster.Row(y);
        for (int x = 0; x < Width_; ++x, out += 3)
            std::memcpy(out, &lut[3 * GetPixel(x, y)], 3);
    }
    return raster;
}

// ---- Loading and saving

void TPixelGraphic::LoadFromStreamAs(TPGStream& stream, const std::string& extension,
                                     const TFileFormatRegistry& registry) {
    BeginUpdate();
    try {
        SetSize(0, 0, ct24Bit);
        Palette_.clear();
        RecognizePalette();
        PaletteChanged();
        const TPGLibrarySettings& lib = PGLibrarySettings();
        Gamma = lib.DisplayGamma;
        const TFileFormatReader* reader = registry.SelectReader(stream, extension);
        if (!reader) throw EPGUnknownFileFormat(msgUnknownFileFormat);
        reader->Read(stream, *this, 0);
        const long double ratio = Gamma / lib.DisplayGamma;
        if (lib.GammaCorrection && std::fabs(static_cast<double>(ratio - 1)) > 0.05 && !Empty()) {
            std::array<std::uint8_t, 256> t{};
            for (int i = 0; i < 256; ++i)
                t[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(
                    std::lround(255.0 * std::pow(i / 255.0, static_cast<double>(ratio))));
            if (ColorType_ == ct24Bit) {
                for (int y = 0; y < Height_; ++y) {
                    std::uint8_t* p = ScanLine(y);
                    for (int x = 0; x < 3 * Width_; ++x)
                        p[x] = t[p[x]];
                }
            } else {
                for (TColor& c : Palette_)
                    c = MakeColor(t[static_cast<std::size_t>(RedOf(c))],
                                  t[static_cast<std::size_t>(GreenOf(c))],
                                  t[static_cast<std::size_t>(BlueOf(c))]);
            }
            Gamma = lib.DisplayGamma;
        }
        RecognizePalette();
        PaletteChanged();
    } catch (...) {
        SetSize(0, 0, ct24Bit);
        Palette_.clear();
        RecognizePalette();
        PaletteChanged();
        if (UpdateCount_ > 0) --UpdateCount_;
        throw;
    }
    EndUpdate();
}

void TPixelGraphic::LoadFromStreamAs(TPGStream& stream, const std::string& extension) {
    LoadFromStreamAs(stream, extension, PGFormats());
}

void TPixelGraphic::LoadFromFile(const std::string& name, const TFileFormatRegistry& registry) {
    TFileStream file(name, TFileStream::fmOpenRead);
    LoadFromStreamAs(file, ExtensionOf(name), registry);
}

void TPixelGraphic::LoadFromFile(const std::string& name) {
    LoadFromFile(name, PGFormats());
}

void TPixelGraphic::SaveToFile(const std::string& name, const TFileFormatRegistry& registry) {
    const bool existed = FileExists(name);
    try {
        SaveGraphicAs(*this, nullptr, name, ExtensionOf(name), registry);
    } catch (...) {
        if (!existed) std::remove(name.c_str());
        throw;
    }
}

void TPixelGraphic::SaveToFile(const std::string& name) {
    SaveToFile(name, PGFormats());
}

void TPixelGraphic::SaveToStream(TPGStream& stream) {
    WriteBMPFile(stream, *this);
}

void TPixelGraphic::SaveToStreamAs(TPGStream& stream, const std::string& extension,
                                   const TFileFormatRegistry& registry) {
    SaveGraphicAs(*this, &stream, std::string(), extension, registry);
}

void TPixelGraphic::SaveToStreamAs(TPGStream& stream, const std::string& extension) {
    SaveToStreamAs(stream, extension, PGFormats());
}

void TPixelGraphic::ReadData(TPGStream& stream) {
    std::uint8_t countBytes[4];
    if (stream.Read(countBytes, 4) != 4) throw EPGBMPFileFormatReader(msgUnexpectedEOF);
    const std::uint32_t count = static_cast<std::uint32_t>(countBytes[0]) |
                                static_cast<std::uint32_t>(countBytes[1]) << 8 |
                                static_cast<std::uint32_t>(countBytes[2]) << 16 |
                                static_cast<std::uint32_t>(countBytes[3]) << 24;
    const std::int64_t start = stream.Position();
    LoadFromStreamAs(stream, "bmp");
    stream.Seek(start + count);
}

void TPixelGraphic::WriteData(TPGStream& stream) {
    TMemoryStream image;
    SaveToStream(image);
    const auto count = static_cast<std::uint32_t>(image.Data().size());
    const std::uint8_t countBytes[4] = {
        static_cast<std::uint8_t>(count), static_cast<std::uint8_t>(count >> 8),
        static_cast<std::uint8_t>(count >> 16), static_cast<std::uint8_t>(count >> 24)};
    stream.Write(countBytes, 4);
    stream.Write(image.Data().data(), image.Data().size());
}

void TPixelGraphic::LoadFromPackedDIB(const void* data, std::size_t size) {
    BeginUpdate();
    try {
        SetSize(0, 0, ct24Bit);
        Palette_.clear();
        TSpanStream stream(data, size);
        ReadPackedDIB(stream, *this);
        Gamma = PGLibrarySettings().DisplayGamma;
        RecognizePalette();
        PaletteChanged();
    } catch (...) {
        SetSize(0, 0, ct24Bit);
        Palette_.clear();
        RecognizePalette();
        if (UpdateCount_ > 0) --UpdateCount_;
        throw;
    }
    EndUpdate();
}

std::vector<std::uint8_t> TPixelGraphic::SaveToPackedDIB() const {
    TMemoryStream stream;
    WritePackedDIB(stream, *this);
    return std::move(stream.Data());
}

void TPixelGraphic::LoadFromClipboardFormat(unsigned format, const void* data, std::size_t size) {
    if ((format != CF_BITMAP && format != CF_DIB) || !data || size == 0)
        throw EPGUnknownClipboardFormat(msgUnknownClipboardFormat);
    LoadFromPackedDIB(data, size);
}

std::vector<std::uint8_t> TPixelGraphic::SaveToClipboardFormat(unsigned& format) const {
    format = CF_DIB;
    return SaveToPackedDIB();
}

TRasterCanvas& TPixelGraphic::Canvas() {
    if (!Canvas_.Canvas) {
        Canvas_.Surface = std::make_unique<TPixelGraphicSurface>(*this);
        Canvas_.Canvas = std::make_unique<TRasterCanvas>(*Canvas_.Surface);
    }
    return *Canvas_.Canvas;
}

} // namespace pigmentaria
