#include "palette/color_functions.h"

#include "platform/text_parse.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace pigmentaria {

TColor QuantizeColor(TColor color, int step) {
    if (step < 1) step = 1;
    const int r = step * (RedOf(color) / step);
    const int g = step * (GreenOf(color) / step);
    const int b = step * (BlueOf(color) / step);
    return MakeColor(r, g, b);
}

bool IsNearGray(TColor color) {
    const int r = RedOf(color), g = GreenOf(color), b = BlueOf(color);
    return std::abs(r - g) < 25 && std::abs(g - b) < 25 && std::abs(r - b) < 25;
}

long double HueOf(TColor color) {
    return HueOfChannels<long double>(RedOf(color), GreenOf(color), BlueOf(color));
}

TColor NearestPaletteColor(TColor color, const TNamedPalette& palette) {
    const long double hue = HueOf(color);
    const bool gray = IsNearGray(color);
    long double best = 999999.0L;
    TColor result = 0;
    for (const TPaletteEntry& e : palette.Entries()) {
        const bool entryGray = IsNearGray(e.Color);
        long double hueTerm;
        if (gray && entryGray) {
            hueTerm = 0;
        } else if (gray != entryGray) {
            hueTerm = 120;
        } else {
            hueTerm = std::fabs(HueOf(e.Color) - hue);
            if (hueTerm > 180) hueTerm = std::fabs(hueTerm - 360);
        }
        const long double distance = std::abs(RedOf(color) - RedOf(e.Color)) +
                                     std::abs(GreenOf(color) - GreenOf(e.Color)) +
                                     std::abs(BlueOf(color) - BlueOf(e.Color)) + hueTerm;
        if (distance <= best) {
            best = distance;
            result = e.Color;
        }
    }
    return result;
}

std::string FormatTwoDecimals(double value, char decimalPoint) {
    // Rounded half away from zero at the second decimal, as the label has always shown it.
    const double hundredths = std::round(value * 100.0);
    std::string s = FormatFixed(hundredths / 100.0, 2);
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0')
            s.pop_back();
        if (s.back() == '.') s.pop_back();
    }
    if (s == "-0") s = "0";
    if (decimalPoint != '.')
        for (char& c : s)
            if (c == '.') c = decimalPoint;
    return s;
}

std::string PaintLabelText(TColor color, const TNamedPalette* customPalette, char decimalPoint) {
    if (customPalette) {
        const int pos = customPalette->PositionOf(color);
        if (pos > 0 && !customPalette->At(pos)->Name.empty()) return customPalette->At(pos)->Name;
    }
    const int r = RedOf(color), g = GreenOf(color), b = BlueOf(color);
    const int mx = std::max({r, g, b}), mn = std::min({r, g, b});
    const double s = mx == 0 ? 0.0 : static_cast<double>(mx - mn) / mx;
    const auto number = [decimalPoint](double v) { return FormatTwoDecimals(v, decimalPoint); };
    std::string text =
        "RGB:(" + std::to_string(r) + ", " + std::to_string(g) + ", " + std::to_string(b) + ")";
    if (s == 0) return text + "  HSV:(n/a, " + number(s) + ", " + number(mx) + ")";
    const double h = HueOfChannels<double>(r, g, b);
    return text + "  HSV:(" + number(h) + ", " + number(s) + ", " + number(mx) + ")";
}

std::string ColorSpokenText(TColor color) {
    return "red " + std::to_string(RedOf(color)) + ", green " + std::to_string(GreenOf(color)) +
           ", blue " + std::to_string(BlueOf(color));
}

std::string SwatchSpokenText(const std::string& what, std::optional<TColor> color) {
    return what + ": " + (color ? ColorSpokenText(*color) : std::string("none"));
}

std::string SwatchCellSpokenText(int position, const TPaletteEntry& entry) {
    std::string text = std::to_string(position) + ": ";
    if (!entry.Name.empty()) text += entry.Name + ", ";
    return text + ColorSpokenText(entry.Color);
}

} // namespace pigmentaria
