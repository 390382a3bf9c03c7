#pragma once
// Image filters: point filters that map one colour to another (and so can act on a palette) and
// convolution filters that weight a neighbourhood with an integer kernel; the kernel builders,
// the colour-space helpers and the filter dialogs' slider mappings.
#include "image/pg_errors.h"
#include "platform/color.h"
#include "platform/raster.h"

#include <array>
#include <atomic>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace pigmentaria {

// Rounding of the filter arithmetic: to nearest, halves to even.
int RoundHalfEven(double v);

class TPixelGraphic;

PIGMENTARIA_PG_EXCEPTION(EPGFilter, EPixelGraphic)
PIGMENTARIA_PG_EXCEPTION(EPGConvFilter, EPixelGraphic)
PIGMENTARIA_PG_EXCEPTION(EPGSaturationHue, EPixelGraphic)

class TPGFilter {
public:
    virtual ~TPGFilter() = default;
    // Remembers the source for a pass; overrides precompute their tables here.
    virtual void Begin(const TPixelSurface& source) { Source_ = &source; }
    // The output colour of destination pixel (x, y).
    virtual TColor FilterPixel(int x, int y) const;
    virtual void End() { Source_ = nullptr; }
    virtual bool IsPointFilter() const { return false; }
    virtual TColor FilterColor(TColor c) const { return c; }

protected:
    const TPixelSurface* Source_ = nullptr;
};

class TNegativeFilter final : public TPGFilter {
public:
    bool IsPointFilter() const override { return true; }
    TColor FilterColor(TColor c) const override;
};

class TGrayScaleFilter final : public TPGFilter {
public:
    bool RGBWeighting = true;
    bool IsPointFilter() const override { return true; }
    TColor FilterColor(TColor c) const override;
};

// Brightness (percent), contrast and gamma through one table; with UseY only the luma changes.
class TBCGFilter final : public TPGFilter {
public:
    bool UseY = false;
    int Brightness = 0;
    double Contrast = 1.0;
    double Gamma = 1.0;
    void Begin(const TPixelSurface& source) override;
    bool IsPointFilter() const override { return true; }
    TColor FilterColor(TColor c) const override;
    // Builds the table from the current settings; Begin does it too.
    void PrepareTable();
    const std::array<std::uint8_t, 256>& Table() const { return Table_; }

private:
    std::array<std::uint8_t, 256> Table_{};
};

// Three lookup tables acting on the channels of one colour space; identity at first. The
// dialogs set them to shifts of each channel (and a rotation of the hue).
class TColorSpaceShiftFilter : public TPGFilter {
public:
    TColorSpaceShiftFilter();
    bool IsPointFilter() const override { return true; }
    std::array<std::array<std::uint8_t, 256>, 3> Tables;
};

class TRGBFilter final : public TColorSpaceShiftFilter {
public:
    TColor FilterColor(TColor c) const override;
};
class TCMYFilter final : public TColorSpaceShiftFilter {
public:
    TColor FilterColor(TColor c) const override;
};
class TYCbCrFilter final : public TColorSpaceShiftFilter {
public:
    TColor FilterColor(TColor c) const override;
};
// Tables: hue, lightness, saturation.
class THLSFilter final : public TColorSpaceShiftFilter {
public:
    TColor FilterColor(TColor c) const override;
};
// Tables: hue, saturation, value.
class THSVFilter final : public TColorSpaceShiftFilter {
public:
    TColor FilterColor(TColor c) const override;
};

enum TDistributionShape { dsGaussian, dsTent, dsRect };

class TConvFilter final : public TPGFilter {
public:
    TConvFilter();
    int Width() const { return Width_; }
    int Height() const { return Height_; }
    // A changed size reallocates the kernel, all zero; 1..99 each.
    void SetWidth(int width);
    void SetHeight(int height);
    std::int32_t Weight(int column, int row) const;
    void SetWeight(int column, int row, std::int32_t weight);
    int ColumnOffset = 0;
    int RowOffset = 0;
    // Percent of 255 added to every channel.
    double Bias = 0.0;
    double Factor = 1.0;

    TColor FilterPixel(int x, int y) const override;

    // Kernel builders.
    void Distribution(TDistributionShape shape, bool useDistance, double sigma);
    void Smooth(TDistributionShape shape, bool useDistance, double strengthPercent, double sigma);
    void Sharpen(TDistributionShape shape, bool useDistance, double strengthPercent, double sigma);
    void Detail(TDistributionShape shape, bool useDistance, double strengthPercent, double sigma);
    // `strength` is the contrast of the lines, 1.0 for 100 %.
    void Contour(TDistributionShape shape, bool useDistance, bool whiteBackground, double strength,
                 double sigma);
    void Blur(double strengthPercent, double radius);

    const std::vector<std::int32_t>& Kernel() const { return Kernel_; }

private:
    std::int32_t& Cell(int column, int row) { return Kernel_[row * Width_ + column]; }
    std::int32_t CentreWeight() const;
    void SetCentreWeight(std::int32_t w);
    void Negate();
    std::int64_t Sum() const;

    int Width_ = 1;
    int Height_ = 1;
    std::vector<std::int32_t> Kernel_;
};

// Progress of a pass: called after each row with (row, last row); returning false stops the pass
// with the rows done so far kept.
using TFilterProgress = std::function<bool(int row, int lastRow)>;

// The pixel path of a pass onto a 24-bit destination, which takes the source's size. Rows are
// shared out between threads where the filter allows it; the result does not depend on that.
// Returns false when the progress callback stopped the pass.
bool ApplyFilter(TPGFilter& filter, const TRaster24& source, TRaster24& destination,
                 const TFilterProgress& progress = {});

// A pass onto a picture. Point filters on a palette destination of at least the source's colour
// type change only the palette; otherwise every pixel is filtered, through error diffusion on
// dithered palette pictures, with the destination's progress events. The destination takes the
// source's size and keeps its colour type.
void ApplyFilter(TPGFilter& filter, const TPixelGraphic& source, TPixelGraphic& destination);

// Colour-space helpers on channels in 0..1. An undefined hue (no saturation) is UndefinedHue.
inline constexpr double UndefinedHue = 1e10;
struct TTriple {
    double A = 0, B = 0, C = 0;
};
TTriple RGBToHSV(double r, double g, double b);
TTriple HSVToRGB(double h, double s, double v);
TTriple RGBToHLS(double r, double g, double b);
TTriple HLSToRGB(double h, double l, double s);
TTriple RGBToYCbCr(double r, double g, double b);
TTriple YCbCrToRGB(double y, double cb, double cr);
// 255 - c on each channel, 0..255.
TTriple RGBToCMY(double r, double g, double b);
TTriple CMYToRGB(double c, double m, double y);

// Table lookup of v in 0..255 with linear interpolation between neighbours.
double InterpolatedLookup(const std::array<std::uint8_t, 256>& table, double v);

// Slider mappings of the filter dialogs.
double ContrastGammaFromPosition(int position); // 5^(p/100)
int PositionFromContrastGamma(double value);    // inverse, clamped
void SetPercentShiftTable(std::array<std::uint8_t, 256>& table, int percent);
void SetHueRotationTable(std::array<std::uint8_t, 256>& table, int degrees);

} // namespace pigmentaria
