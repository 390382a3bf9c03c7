#include "image/filter_settings.h"

#include "platform/text_parse.h"

namespace pigmentaria {

namespace {

struct TNamedFilter {
    TFilterKind Kind;
    const char* Name;
};
constexpr TNamedFilter FilterNames[] = {
    {TFilterKind::Smooth, "smooth"},
    {TFilterKind::Sharpen, "sharpen"},
    {TFilterKind::Detail, "detail"},
    {TFilterKind::Blur, "blur"},
    {TFilterKind::Negative, "negative"},
    {TFilterKind::Contour, "contour"},
    {TFilterKind::GrayScale, "grayscale"},
    {TFilterKind::RGB, "rgb"},
    {TFilterKind::CMY, "cmy"},
    {TFilterKind::YCbCr, "ycbcr"},
    {TFilterKind::HLS, "hls"},
    {TFilterKind::HSV, "hsv"},
    {TFilterKind::BCG, "bcg"},
};

void ShiftTables(TColorSpaceShiftFilter& f, const int values[3], bool hueFirst) {
    for (int i = 0; i < 3; ++i) {
        if (hueFirst && i == 0)
            SetHueRotationTable(f.Tables[0], values[0]);
        else
            SetPercentShiftTable(f.Tables[static_cast<std::size_t>(i)], values[i]);
    }
}

} // namespace

std::unique_ptr<TPGFilter> MakeFilter(TFilterKind kind, const TFilterSettings& s) {
    switch (kind) {
    case TFilterKind::Smooth: {
        auto f = std::make_unique<TConvFilter>();
        f->Smooth(s.Smooth.Shape, s.Smooth.UseDistance, s.Smooth.Strength, s.Smooth.StdDeviation);
        return f;
    }
    case TFilterKind::Sharpen: {
        auto f = std::make_unique<TConvFilter>();
        f->Sharpen(s.Sharpen.Shape, s.Sharpen.UseDistance, s.Sharpen.Strength,
                   s.Sharpen.StdDeviation);
        return f;
    }
    case TFilterKind::Detail: {
        auto f = std::make_unique<TConvFilter>();
        f->Detail(s.Detail.Shape, s.Detail.UseDistance, s.Detail.Strength, s.Detail.StdDeviation);
        return f;
    }
    case TFilterKind::Blur: {
        auto f = std::make_unique<TConvFilter>();
        f->Blur(s.BlurStrength, s.BlurRadius);
        return f;
    }
    case TFilterKind::Contour: {
        auto f = std::make_unique<TConvFilter>();
        f->Contour(s.Contour.Shape, s.Contour.UseDistance, s.ContourWhiteBackground,
                   s.Contour.Strength / 100, s.Contour.StdDeviation);
        return f;
    }
    case TFilterKind::Negative:
        return std::make_unique<TNegativeFilter>();
    case TFilterKind::GrayScale: {
        auto f = std::make_unique<TGrayScaleFilter>();
        f->RGBWeighting = s.GrayRGBWeighting;
        return f;
    }
    case TFilterKind::BCG: {
        auto f = std::make_unique<TBCGFilter>();
        f->Brightness = s.Brightness;
        f->Contrast = s.Contrast;
        f->Gamma = s.Gamma;
        f->UseY = s.BCGUseY;
        f->PrepareTable();
        return f;
    }
    case TFilterKind::RGB: {
        auto f = std::make_unique<TRGBFilter>();
        ShiftTables(*f, s.RGB, false);
        return f;
    }
    case TFilterKind::CMY: {
        auto f = std::make_unique<TCMYFilter>();
        ShiftTables(*f, s.CMY, false);
        return f;
    }
    case TFilterKind::YCbCr: {
        auto f = std::make_unique<TYCbCrFilter>();
        ShiftTables(*f, s.YCbCr, false);
        return f;
    }
    case TFilterKind::HLS: {
        auto f = std::make_unique<THLSFilter>();
        ShiftTables(*f, s.HLS, true);
        return f;
    }
    case TFilterKind::HSV: {
        auto f = std::make_unique<THSVFilter>();
        ShiftTables(*f, s.HSV, true);
        return f;
    }
    }
    return std::make_unique<TNegativeFilter>();
}

std::optional<TFilterKind> FilterKindFromName(const std::string& name) {
    const std::string n = ToLower(name);
    for (const TNamedFilter& f : FilterNames)
        if (n == f.Name) return f.Kind;
    return std::nullopt;
}

const char* FilterName(TFilterKind kind) {
    for (const TNamedFilter& f : FilterNames)
        if (f.Kind == kind) return f.Name;
    return "";
}

} // namespace pigmentaria
