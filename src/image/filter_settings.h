#pragma once
// The settings the filter dialogs keep between showings, and the filter each dialog builds from
// them.
#include "image/filters.h"

#include <memory>
#include <optional>
#include <string>

namespace pigmentaria {

// What a convolution filter dialog holds.
struct TConvolutionSettings {
    TDistributionShape Shape = dsGaussian;
    bool UseDistance = true;
    double StdDeviation = 0.75;
    double Strength = 50; // percent
};

// The settings the thirteen filter dialogs keep between showings.
struct TFilterSettings {
    TConvolutionSettings Sharpen{dsGaussian, true, 0.75, 50};
    TConvolutionSettings Smooth{dsGaussian, true, 1.3, 100};
    TConvolutionSettings Detail{dsGaussian, true, 0.75, 75};
    double BlurRadius = 2.5;
    double BlurStrength = 100;
    TConvolutionSettings Contour{dsRect, true, 1.0, 100};
    bool ContourWhiteBackground = true;
    bool GrayRGBWeighting = true;
    int Brightness = 0;
    double Contrast = 1.0;
    double Gamma = 1.0;
    bool BCGUseY = false;
    // Percent shifts; for HLS and HSV the first is a hue rotation in degrees.
    int RGB[3] = {0, 0, 0};
    int CMY[3] = {0, 0, 0};
    int YCbCr[3] = {0, 0, 0};
    int HLS[3] = {0, 0, 0};
    int HSV[3] = {0, 0, 0};
};

enum class TFilterKind {
    Smooth,
    Sharpen,
    Detail,
    Blur,
    Negative,
    Contour,
    GrayScale,
    RGB,
    CMY,
    YCbCr,
    HLS,
    HSV,
    BCG
};
// Every filter, in the order of the enumeration.
inline constexpr TFilterKind AllFilterKinds[] = {
    TFilterKind::Smooth,   TFilterKind::Sharpen, TFilterKind::Detail,    TFilterKind::Blur,
    TFilterKind::Negative, TFilterKind::Contour, TFilterKind::GrayScale, TFilterKind::RGB,
    TFilterKind::CMY,      TFilterKind::YCbCr,   TFilterKind::HLS,       TFilterKind::HSV,
    TFilterKind::BCG};

// The filter a dialog would build from its settings.
std::unique_ptr<TPGFilter> MakeFilter(TFilterKind kind, const TFilterSettings& settings);
// Filter names as the command line takes them ("sharpen", "grayscale", "bcg", …).
std::optional<TFilterKind> FilterKindFromName(const std::string& name);
const char* FilterName(TFilterKind kind);

} // namespace pigmentaria
