#include "image/filter_dialog_model.h"

#include "platform/text_parse.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>

namespace pigmentaria {

namespace {

constexpr const char* PlusMinus = "\u00b1";
constexpr const char* Degree = "\u00b0";

const std::array<std::string, 3> PercentShiftLabels{"-100%", std::string(PlusMinus) + "0%",
                                                    "+100%"};
const std::array<std::string, 3> HueLabels{std::string("-180") + Degree,
                                           std::string(PlusMinus) + "0" + Degree,
                                           std::string("+180") + Degree};

TFilterTrackBar Shift(const char* caption) {
    return {caption, -100, 100, 10, 0, PercentShiftLabels};
}

TFilterTrackBar Hue() {
    return {"H", -180, 180, 15, 0, HueLabels};
}

// Standard deviation ×100, 0.40 .. 1.30.
TFilterTrackBar Sigma(int defaultPosition) {
    return {"Std. deviation", 40, 130, 10, defaultPosition, {"0.40", "0.85", "1.30"}};
}

TFilterTrackBar Strength(int minimum, int maximum, int tick, int defaultPosition) {
    const auto percent = [](int v) { return std::to_string(v) + "%"; };
    return {
        "Strength",      minimum,
        maximum,         tick,
        defaultPosition, {percent(minimum), percent((minimum + maximum) / 2), percent(maximum)}};
}

std::map<TFilterKind, TFilterDialogModel> BuildModels() {
    std::map<TFilterKind, TFilterDialogModel> m;
    const auto add = [&m](TFilterDialogModel model) { m.emplace(model.Kind, std::move(model)); };
    add({TFilterKind::RGB, "RGB Filter", {Shift("R"), Shift("G"), Shift("B")}, "", {}});
    add({TFilterKind::CMY, "CMY Filter", {Shift("C"), Shift("M"), Shift("Y")}, "", {}});
    add({TFilterKind::YCbCr, "YCbCr Filter", {Shift("Y"), Shift("Cb"), Shift("Cr")}, "", {}});
    add({TFilterKind::HLS, "HLS Filter", {Hue(), Shift("L"), Shift("S")}, "", {}});
    add({TFilterKind::HSV, "HSV Filter", {Hue(), Shift("S"), Shift("V")}, "", {}});
    const std::array<std::string, 3> factorLabels{"0.20", "1.00", "5.00"};
    add({TFilterKind::BCG,
         "Brightness, Contrast, Gamma Filter",
         {{"Brightness", -100, 100, 10, 0, PercentShiftLabels},
          {"Contrast", -100, 100, 100, 0, factorLabels},
          {"Gamma", -100, 100, 100, 0, factorLabels}},
         "",
         TFilterRadioPair{"Apply on", "RGB", "Y"}});
    add({TFilterKind::GrayScale, "Grayscale Filter", {}, "RGB weighting", {}});
    add({TFilterKind::Negative, "Negative Filter", {}, "", {}});
    add({TFilterKind::Sharpen, "Sharpen", {Sigma(75), Strength(10, 100, 10, 50)}, "", {}});
    add({TFilterKind::Detail, "Detail", {Sigma(75), Strength(10, 100, 10, 75)}, "", {}});
    add({TFilterKind::Smooth, "Smooth", {Sigma(130), Strength(10, 100, 10, 100)}, "", {}});
    add({TFilterKind::Blur,
         "Blur",
         {{"Radius", 50, 500, 50, 250, {"0.50", "2.75", "5.00"}}, Strength(10, 100, 10, 100)},
         "",
         {}});
    add({TFilterKind::Contour,
         "Contour",
         {Sigma(100), Strength(100, 1000, 100, 100)},
         "",
         TFilterRadioPair{"", "White", "Black"}});
    return m;
}

int Hold(const TFilterDialogModel& model, int index, double value) {
    const TFilterTrackBar& t = model.TrackBars[static_cast<std::size_t>(index)];
    if (!std::isfinite(value)) return t.Default;
    return static_cast<int>(
        std::clamp(std::lround(value), static_cast<long>(t.Minimum), static_cast<long>(t.Maximum)));
}

std::string Signed(int value, const char* unit) {
    if (value == 0) return std::string(PlusMinus) + "0" + unit;
    return (value > 0 ? "+" : "-") + std::to_string(std::abs(value)) + unit;
}

void ConvolutionToControls(const TFilterDialogModel& m, const TConvolutionSettings& c,
                           TFilterControls& out) {
    out.Positions[0] = Hold(m, 0, c.StdDeviation * 100);
    out.Positions[1] = Hold(m, 1, c.Strength);
}

void ConvolutionFromControls(const TFilterControls& in, TConvolutionSettings& c) {
    c.StdDeviation = in.Positions[0] / 100.0;
    c.Strength = in.Positions[1];
}

void ShiftsToControls(const TFilterDialogModel& m, const int values[3], TFilterControls& out) {
    for (int i = 0; i < 3; ++i)
        out.Positions[static_cast<std::size_t>(i)] = Hold(m, i, values[i]);
}

void ShiftsFromControls(const TFilterControls& in, int values[3]) {
    for (int i = 0; i < 3; ++i)
        values[i] = in.Positions[static_cast<std::size_t>(i)];
}

bool IsConvolution(TFilterKind kind) {
    switch (kind) {
    case TFilterKind::Smooth:
    case TFilterKind::Sharpen:
    case TFilterKind::Detail:
    case TFilterKind::Blur:
    case TFilterKind::Contour:
        return true;
    default:
        return false;
    }
}

} // namespace

const TFilterDialogModel& FilterDialogModel(TFilterKind kind) {
    static const std::map<TFilterKind, TFilterDialogModel> models = BuildModels();
    return models.at(kind);
}

TFilterControls ControlsFromSettings(TFilterKind kind, const TFilterSettings& s) {
    const TFilterDialogModel& m = FilterDialogModel(kind);
    TFilterControls c;
    switch (kind) {
    case TFilterKind::RGB:
        ShiftsToControls(m, s.RGB, c);
        break;
    case TFilterKind::CMY:
        ShiftsToControls(m, s.CMY, c);
        break;
    case TFilterKind::YCbCr:
        ShiftsToControls(m, s.YCbCr, c);
        break;
    case TFilterKind::HLS:
        ShiftsToControls(m, s.HLS, c);
        break;
    case TFilterKind::HSV:
        ShiftsToControls(m, s.HSV, c);
        break;
    case TFilterKind::BCG:
        c.Positions[0] = Hold(m, 0, s.Brightness);
        c.Positions[1] = PositionFromContrastGamma(s.Contrast);
        c.Positions[2] = PositionFromContrastGamma(s.Gamma);
        c.Radio = s.BCGUseY ? 1 : 0;
        break;
    case TFilterKind::GrayScale:
        c.Checked = s.GrayRGBWeighting;
        break;
    case TFilterKind::Negative:
        break;
    case TFilterKind::Sharpen:
        ConvolutionToControls(m, s.Sharpen, c);
        break;
    case TFilterKind::Detail:
        ConvolutionToControls(m, s.Detail, c);
        break;
    case TFilterKind::Smooth:
        ConvolutionToControls(m, s.Smooth, c);
        break;
    case TFilterKind::Blur:
        c.Positions[0] = Hold(m, 0, s.BlurRadius * 100);
        c.Positions[1] = Hold(m, 1, s.BlurStrength);
        break;
    case TFilterKind::Contour:
        ConvolutionToControls(m, s.Contour, c);
        c.Radio = s.ContourWhiteBackground ? 0 : 1;
        break;
    }
    return c;
}

void SettingsFromControls(TFilterKind kind, const TFilterControls& c, TFilterSettings& s) {
    switch (kind) {
    case TFilterKind::RGB:
        ShiftsFromControls(c, s.RGB);
        break;
    case TFilterKind::CMY:
        ShiftsFromControls(c, s.CMY);
        break;
    case TFilterKind::YCbCr:
        ShiftsFromControls(c, s.YCbCr);
        break;
    case TFilterKind::HLS:
        ShiftsFromControls(c, s.HLS);
        break;
    case TFilterKind::HSV:
        ShiftsFromControls(c, s.HSV);
        break;
    case TFilterKind::BCG:
        s.Brightness = c.Positions[0];
        s.Contrast = ContrastGammaFromPosition(c.Positions[1]);
        s.Gamma = ContrastGammaFromPosition(c.Positions[2]);
        s.BCGUseY = c.Radio == 1;
        break;
    case TFilterKind::GrayScale:
        s.GrayRGBWeighting = c.Checked;
        break;
    case TFilterKind::Negative:
        break;
    case TFilterKind::Sharpen:
        ConvolutionFromControls(c, s.Sharpen);
        break;
    case TFilterKind::Detail:
        ConvolutionFromControls(c, s.Detail);
        break;
    case TFilterKind::Smooth:
        ConvolutionFromControls(c, s.Smooth);
        break;
    case TFilterKind::Blur:
        s.BlurRadius = c.Positions[0] / 100.0;
        s.BlurStrength = c.Positions[1];
        break;
    case TFilterKind::Contour:
        ConvolutionFromControls(c, s.Contour);
        s.ContourWhiteBackground = c.Radio == 0;
        break;
    }
}

std::string FilterValueLabel(TFilterKind kind, int index, int position) {
    switch (kind) {
    case TFilterKind::RGB:
    case TFilterKind::CMY:
    case TFilterKind::YCbCr:
        return Signed(position, "%");
    case TFilterKind::HLS:
    case TFilterKind::HSV:
        return Signed(position, index == 0 ? Degree : "%");
    case TFilterKind::BCG:
        if (index == 0) return Signed(position, "%");
        return FormatFixed(ContrastGammaFromPosition(position), 2);
    case TFilterKind::Sharpen:
    case TFilterKind::Detail:
    case TFilterKind::Smooth:
    case TFilterKind::Blur:
    case TFilterKind::Contour:
        if (index == 0) return FormatFixed(position / 100.0, 2);
        return std::to_string(position) + "%";
    case TFilterKind::GrayScale:
    case TFilterKind::Negative:
        break;
    }
    return {};
}

// ---- Previews

namespace {

// A part of a picture as a 24-bit raster (the part lies inside the picture).
TRaster24 CopyPart(const TPixelGraphic& picture, int left, int top, int width, int height) {
    TRaster24 out(width, height);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = out.Row(y);
        if (picture.ColorType() == ct24Bit) {
            const std::uint8_t* in = picture.ScanLine(top + y) + 3 * static_cast<std::size_t>(left);
            std::copy_n(in, 3 * static_cast<std::size_t>(width), row);
        } else {
            for (int x = 0; x < width; ++x)
                out.SetPixel(x, y, picture.GetPixelColor(left + x, top + y));
        }
    }
    return out;
}

TRaster24 CropRaster(const TRaster24& in, int left, int top, int width, int height) {
    TRaster24 out(width, height);
    for (int y = 0; y < height; ++y)
        std::copy_n(in.Row(top + y) + 3 * static_cast<std::size_t>(left),
                    3 * static_cast<std::size_t>(width), out.Row(y));
    return out;
}

} // namespace

TFilterPreviewSource FilterPreviewSource(const TPixelGraphic& picture, TFilterKind kind,
                                         TViewSize box) {
    TFilterPreviewSource out;
    const int w = picture.Width(), h = picture.Height();
    if (picture.Empty() || box.Width <= 0 || box.Height <= 0) return out;
    if (IsConvolution(kind)) {
        const int sw = std::min(w, box.Width), sh = std::min(h, box.Height);
        const int left = (w - sw) / 2, top = (h - sh) / 2;
        const int inLeft = std::max(0, left - FilterPreviewMargin);
        const int inTop = std::max(0, top - FilterPreviewMargin);
        const int inRight = std::min(w, left + sw + FilterPreviewMargin);
        const int inBottom = std::min(h, top + sh + FilterPreviewMargin);
        out.Input = CopyPart(picture, inLeft, inTop, inRight - inLeft, inBottom - inTop);
        out.MarginLeft = left - inLeft;
        out.MarginTop = top - inTop;
        out.Shown = CropRaster(out.Input, out.MarginLeft, out.MarginTop, sw, sh);
        return out;
    }
    const TViewSize size = DisplaySize({w, h}, 1.0, sShrinkKAR, box);
    if (size.Width == w && size.Height == h) {
        out.Shown = picture.ToRaster24();
    } else {
        TPixelGraphic small;
        small.StretchMode = smMedium;
        small.SetSize(size.Width, size.Height, ct24Bit);
        small.StretchFromWhole(picture);
        out.Shown = small.ToRaster24();
    }
    out.Input = out.Shown;
    return out;
}

std::optional<TRaster24> FilterPreviewResult(const TFilterPreviewSource& source, TFilterKind kind,
                                             const TFilterSettings& settings,
                                             const std::atomic<bool>* abandon) {
    if (source.Input.Empty()) return TRaster24();
    auto filter = MakeFilter(kind, settings);
    TRaster24 filtered;
    const bool done = ApplyFilter(*filter, source.Input, filtered, [abandon](int, int) {
        return !(abandon && abandon->load(std::memory_order_relaxed));
    });
    if (!done || (abandon && abandon->load())) return std::nullopt;
    if (source.MarginLeft == 0 && source.MarginTop == 0 &&
        source.Shown.Width() == filtered.Width() && source.Shown.Height() == filtered.Height())
        return filtered;
    return CropRaster(filtered, source.MarginLeft, source.MarginTop, source.Shown.Width(),
                      source.Shown.Height());
}

} // namespace pigmentaria
