#pragma once
// The image library's picture: a device-independent bitmap of 1, 4, 8 or 24 bits a pixel in the
// Windows memory layout (rows bottom-up, each padded to 4 bytes; 1-bit rows with the leftmost pixel
// in the high bit, 4-bit rows high nibble first, 24-bit pixels blue, green, red), so that a packed
// DIB is a straight copy of it. It owns its palette, the caches of palette matching, its gamma and
// dithering settings, and reports changes and progress through callbacks.
#include "image/pg_errors.h"
#include "platform/canvas.h"
#include "platform/color.h"
#include "platform/raster.h"
#include "platform/report.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace pigmentaria {

class TPGStream;
class TFileFormatRegistry;
class TPixelGraphic;

enum TPGColorType : unsigned char { ct1Bit = 0, ct4Bit = 1, ct8Bit = 2, ct24Bit = 3 };

// 1, 4, 8 or 24.
int BitCountOf(TPGColorType type);
// The colour type of 1, 4, 8 or 24 bits; any other count raises EPGInvalidBitCountNum.
TPGColorType ColorTypeOfBitCount(int bits);
// 2, 16, 256 palette entries; 0 for 24 bits.
int PaletteCapacity(TPGColorType type);

// The first thirteen describe a palette; the last two are requests of the palette optimiser.
enum TPaletteIdent : unsigned char {
    pNone,
    pTrueColor,
    pUnknown,
    pBlackWhite,
    pSysGray4,
    pSys16,
    pGray4,
    pGray16,
    pGray236,
    pGray256,
    pSpecial125,
    pSpecial216,
    pSpecial252,
    pOptimized252Sys16,
    pSource,
};

enum TStretchMode : unsigned char { smFast, smMedium, smPrecise };

// Switches that hold for every picture; set once when the program starts.
struct TPGLibrarySettings {
    long double DisplayGamma = 1.8L;
    // Loaded pictures whose gamma differs from the display gamma are corrected to it.
    bool GammaCorrection = true;
    // 16-bit BMP channels get the value of their lowest missing bit added (5 bits v -> 8v + 8).
    bool LowBitFill = true;

    // ---- Codecs
    int JPEGQuality = 80;
    // libjpeg DCT methods: 0 slow integer, 1 fast integer, 2 floating point.
    int JPEGWriteDCTMethod = 2;
    bool JPEGProgressive = false;
    int JPEGReadDCTMethod = 0;
    // The PNG reader and writer are registered only when these are on.
    bool PNGRead = true;
    bool PNGWrite = true;
    // Netpbm files are written in the binary forms (P4, P5, P6) instead of the ASCII ones.
    bool PxMBinary = false;
    // TIFF files are written big-endian ("MM") instead of little-endian ("II").
    bool TIFFBigEndian = false;
    // 1 (none) or 32773 (PackBits).
    int TIFFCompression = 1;
    // 1 none, 2 inch, 3 centimetre; the resolution written is 300 / 1.
    int TIFFResolutionUnit = 1;
};
TPGLibrarySettings& PGLibrarySettings();

using TPGNotifyEvent = std::function<void(const TPixelGraphic& sender)>;
// Step of Max; setting abort asks the running operation to stop.
using TPGProgressEvent =
    std::function<void(const TPixelGraphic& sender, int step, int max, bool& abort)>;

// Lets a raster canvas paint on a picture: colours go through SetPixelColor, so on palette types
// they become the nearest palette index.
class TPixelGraphicSurface final : public TPixelSurface {
public:
    explicit TPixelGraphicSurface(TPixelGraphic& graphic) : Graphic_(&graphic) {}
    int Width() const override;
    int Height() const override;
    TColor GetPixel(int x, int y) const override;
    void SetPixel(int x, int y, TColor c) override;
    void FillSpan(int y, int x0, int x1, TColor c) override;

private:
    TPixelGraphic* Graphic_;
};

class TPixelGraphic {
public:
    TPixelGraphic();
    ~TPixelGraphic();
    TPixelGraphic(const TPixelGraphic&) = delete;
    TPixelGraphic& operator=(const TPixelGraphic&) = delete;
    // Moving hands over pixels, palette and settings; the canvas stays behind (a new one is
    // made on request).
    TPixelGraphic(TPixelGraphic&&) noexcept = default;
    TPixelGraphic& operator=(TPixelGraphic&&) noexcept = default;

    // ---- Size and layout
    int Width() const { return Width_; }
    int Height() const { return Height_; }
    TPGColorType ColorType() const { return ColorType_; }
    int BitCount() const { return BitCountOf(ColorType_); }
    bool Empty() const { return Bits_.empty(); }
    std::size_t RowStride() const { return Stride_; }
    std::size_t ImageSize() const { return Bits_.size(); }
    // Bytes needed by a row of `width` pixels at `bits` a pixel, padded to 4 bytes.
    static std::size_t StrideOf(int width, int bits) {
        return ((static_cast<std::size_t>(bits) * static_cast<std::size_t>(width) + 31) / 32) * 4;
    }

    // Reallocates the pixels (all zero) unless nothing changes, in which case it only clears them
    // to the fill colour. A negative size raises EPGInvalidSize.
    void SetSize(int width, int height, TPGColorType type);
    void SetWidth(int width) { SetSize(width, Height_, ColorType_); }
    void SetHeight(int height) { SetSize(Width_, height, ColorType_); }
    void SetColorType(TPGColorType type) { SetSize(Width_, Height_, type); }
    // Fills every pixel with the fill colour.
    void Clear();
    // A colour for 24 bits, a palette index otherwise.
    std::uint32_t FillColor() const { return FillColor_; }
    void SetFillColor(TColor color);

    // ---- Change and progress events
    void BeginUpdate() { ++UpdateCount_; }
    void EndUpdate();
    // Fires OnChange unless an update is in progress.
    void Changed();
    TPGNotifyEvent OnChange;
    TPGProgressEvent OnProgress;
    TPGNotifyEvent OnProgressStart;
    TPGNotifyEvent OnProgressEnd;
    void ProgressStart() const;
    void ProgressEnd() const;
    // Fires OnProgress; true when the handler asks to abort.
    bool Progress(int step, int max) const;
    // Reads n bytes into `buffer`, in ten parts with a progress step after each when n > 100.
    // Returns false when aborted. Short data raises nothing: the count read is in `got`.
    bool ReadWithProgress(TPGStream& stream, std::uint8_t* buffer, std::size_t n,
                          std::size_t& got) const;

    // ---- Pixels (x, y with y = 0 the top row)
    // The raw value: bit, nibble, index byte, or the colour for 24 bits. Outside the image the
    // fill colour, or EPGXYIndexOutOfRange when RaiseOnBadCoordinates is set.
    std::uint32_t GetPixel(int x, int y) const;
    // For 1 bit, value 1 sets the bit and anything else clears it.
    void SetPixel(int x, int y, std::uint32_t value);
    TColor GetPixelColor(int x, int y) const;
    // Palette types store the nearest palette index of the colour.
    void SetPixelColor(int x, int y, TColor color);
    // Row y (0 = top), or nullptr when empty or y is outside.
    std::uint8_t* ScanLine(int y);
    const std::uint8_t* ScanLine(int y) const;
    // All pixel bytes, bottom row first.
    std::uint8_t* Bits() { return Bits_.data(); }
    const std::uint8_t* Bits() const { return Bits_.data(); }

    // ---- Palette
    int PaletteCount() const { return static_cast<int>(Palette_.size()); }
    const std::vector<TColor>& Palette() const { return Palette_; }
    // For pTrueColor the colour i itself; an index outside the palette raises
    // EPGInvalidPaletteIndex.
    TColor PaletteColor(int i) const;
    void SetPaletteColor(int i, TColor color);
    // New entries are black; the identity becomes pUnknown (pNone for 0).
    void SetPaletteCount(int n);
    // Loads a standard palette (pNone and pTrueColor clear it).
    void SetPaletteIdent(TPaletteIdent ident);
    TPaletteIdent PaletteIdent() const { return Ident_; }
    // Count and entries of another picture's palette; the identity is recognised.
    void CopyPalette(const TPixelGraphic& source);
    // Sets count and entries at once and recognises the identity.
    void SetPalette(const std::vector<TColor>& colors);
    // Recomputes the identity and the gray flag from the entries.
    void RecognizePalette();
    bool Gray() const { return Gray_; }
    // The colour a pixel index shows: like the DIB colour table, indices past the palette show
    // entry 0, or black when there is none.
    TColor IndexColor(std::uint32_t index) const {
        if (index < Palette_.size()) return Palette_[index];
        return Palette_.empty() ? clBlack : Palette_[0];
    }

    // ---- Palette matching (see palette_match.h)
    // The palette index nearest to the colour; the colour itself for 24 bits. pNone raises
    // EPGNoPalette.
    std::uint32_t NearestPaletteIndex(TColor color) {
        color &= 0xFFFFFFu;
        if (LastValid_ && color == LastColor_) return LastIndex_;
        return NearestPaletteIndexUncached(color);
    }
    void InvalidateColorCache();
    bool ColorCacheEnabled() const { return ColorCacheEnabled_; }
    void SetColorCacheEnabled(bool on);
    bool RGBWeighting() const { return RGBWeighting_; }
    void SetRGBWeighting(bool on);
    // 0 .. 765: perceptually weighted with RGB weighting on, else red + green + blue.
    int Brightness(int r, int g, int b) const {
        return RGBWeighting_ ? (b * 342 + g * 1761 + r * 897) / 1000 : r + g + b;
    }

    // ---- Settings
    bool Dither = true;
    int DitherErrorLimit = 32; // 0 .. 255
    bool DitherErrorLimitAuto = true;
    bool DitherErrorLimitSoft = true;
    // Thumbnail loading: readers may produce a smaller picture.
    bool PreviewFlag = false;
    long double Gamma;
    TStretchMode StretchMode = smPrecise;
    bool Transparent = false;
    TPGWarningAction ReadWarningAction = pgwaOKCancelBox;
    bool RaiseOnBadCoordinates = false;
    TPGWarningAction SaveColorResWarningAction = pgwaOKCancelBox;
    // Where warnings go; nobody is told when null (OK/Cancel questions then answer OK).
    IMessageSink* Messages = nullptr;
    // Takes over another picture's settings: dithering, the colour-cache switch, gamma, RGB
    // weighting, stretch mode, the transparent flag and the warning and raise settings. Copies and
    // conversions of a picture go by the same settings as the picture itself.
    void AssignSettings(const TPixelGraphic& source);

    // ---- Copying and resampling
    // Copies another picture with its palette and settings; nullptr empties to 0 x 0, 24 bits.
    void Assign(const TPixelGraphic* source);
    // Becomes a 24-bit copy of the raster.
    void AssignRaster24(const TRaster24& raster);
    // The picture as a 24-bit raster (palette types through their colours).
    TRaster24 ToRaster24() const;
    // Resamples a rectangle of `source` into a rectangle of this picture by StretchMode; equal
    // sizes copy. Palette destinations are mapped, and dithered when Dither is on.
    void StretchFrom(int destX, int destY, int destWidth, int destHeight,
                     const TPixelGraphic& source, int srcX, int srcY, int srcWidth, int srcHeight);
    void StretchFromWhole(const TPixelGraphic& source);

    // ---- Loading and saving
    // Picks a reader by content, then by the extension hint (without dot, any case).
    void LoadFromStreamAs(TPGStream& stream, const std::string& extension,
                          const TFileFormatRegistry& registry);
    void LoadFromStreamAs(TPGStream& stream, const std::string& extension);
    void LoadFromStream(TPGStream& stream) { LoadFromStreamAs(stream, std::string()); }
    void LoadFromFile(const std::string& name);
    void LoadFromFile(const std::string& name, const TFileFormatRegistry& registry);
    // Saves by the name's extension; a file that did not exist before is removed when saving
    // fails.
    void SaveToFile(const std::string& name);
    void SaveToFile(const std::string& name, const TFileFormatRegistry& registry);
    // Always a BMP file image.
    void SaveToStream(TPGStream& stream);
    void SaveToStreamAs(TPGStream& stream, const std::string& extension);
    void SaveToStreamAs(TPGStream& stream, const std::string& extension,
                        const TFileFormatRegistry& registry);
    // Property streaming: a 32-bit byte count, then a BMP file image.
    void ReadData(TPGStream& stream);
    void WriteData(TPGStream& stream);

    // ---- Clipboard: packed DIB bytes (info header, palette, pixels)
    static constexpr unsigned CF_BITMAP = 2;
    static constexpr unsigned CF_DIB = 8;
    void LoadFromPackedDIB(const void* data, std::size_t size);
    std::vector<std::uint8_t> SaveToPackedDIB() const;
    // Accepts CF_DIB (and CF_BITMAP handed over as DIB bytes); anything else, or no data,
    // raises EPGUnknownClipboardFormat.
    void LoadFromClipboardFormat(unsigned format, const void* data, std::size_t size);
    // Packed DIB bytes; `format` is set to CF_DIB.
    std::vector<std::uint8_t> SaveToClipboardFormat(unsigned& format) const;

    // ---- Drawing
    // A raster canvas on this picture, created on first use.
    TRasterCanvas& Canvas();

private:
    friend class TDitherPass;
    std::uint32_t NearestPaletteIndexUncached(TColor color);
    std::uint32_t NearestUnknown(TColor color);
    std::uint32_t FullSearch(TColor color) const;
    void BuildColorCache();
    void PaletteChanged();
    void CheckXY() const;
    std::size_t RowOffset(int y) const {
        return Stride_ * static_cast<std::size_t>(Height_ - 1 - y);
    }

    std::uint32_t FillColor_ = 0;
    TPGColorType ColorType_ = ct24Bit;
    int Width_ = 0;
    int Height_ = 0;
    std::size_t Stride_ = 0;
    std::vector<std::uint8_t> Bits_;
    std::vector<TColor> Palette_;
    TPaletteIdent Ident_ = pNone;
    bool Gray_ = false;
    bool RGBWeighting_ = true;
    bool ColorCacheEnabled_ = true;
    int UpdateCount_ = 0;

    // Last-query cache.
    bool LastValid_ = false;
    TColor LastColor_ = 0;
    std::uint32_t LastIndex_ = 0;
    // Nearest-colour cache of pUnknown palettes: 32 x 64 x 32 cells and their valid bits.
    bool CacheInvalid_ = true;
    std::vector<std::uint8_t> CellIndex_;
    std::vector<std::uint64_t> CellValid_;

    // The canvas draws on the object that made it, so it is never moved along.
    struct TCanvasSlot {
        TCanvasSlot() = default;
        TCanvasSlot(TCanvasSlot&&) noexcept {}
        TCanvasSlot& operator=(TCanvasSlot&&) noexcept {
            Canvas.reset();
            Surface.reset();
            return *this;
        }
        std::unique_ptr<TPixelGraphicSurface> Surface;
        std::unique_ptr<TRasterCanvas> Canvas;
    };
    TCanvasSlot Canvas_;
};

} // namespace pigmentaria
