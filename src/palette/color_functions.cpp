#include "palette/color_functions.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
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
    const int r = RedOf(color), g = GreenOf(color), b = BlueOf(color);
    const int mx = std::max({r, g, b}), mn = std::min({r, g, b});
    const long double delta = mx - mn;
    if (delta == 0) return 0;
    long double h;
    // A tie for the largest channel goes to red, then green.
    if (r == mx)
        h = (g - b) / delta;
    else if (g == mx)
        h = 2 + (b - r) / delta;
    else
        h = 4 + (r - g) / delta;
    h *= 60;
    if (h < 0) h += 360;
    return h;
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

std::string FormatTwoDecimals(double value) {
    // Rounded half away from zero at the second decimal, as the label has always shown it.
    const double hundredths = std::round(value * 100.0);
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", hundredths / 100.0);
    std::string s = text;
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0')
            s.pop_back();
        if (s.back() == '.') s.pop_back();
    }
    if (s == "-0") s = "0";
    return s;
}

std::string PaintLabelText(TColor color, const TNamedPalette* customPalette) {
    if (customPalette) {
        const int pos = customPalette->PositionOf(color);
        if (pos > 0 && !customPalette->At(pos)->Name.empty()) return customPalette->At(pos)->Name;
    }
    const int r = RedOf(color), g = GreenOf(color), b = BlueOf(color);
    const int mx = std::max({r, g, b}), mn = std::min({r, g, b});
    const double s = mx == 0 ? 0.0 : static_cast<double>(mx - mn) / mx;
    std::string text =
        "RGB:(" + std::to_string(r) + ", " + std::to_string(g) + ", " + std::to_string(b) + ")";
    if (s == 0)
        return text + "  HSV:(n/a, " + FormatTwoDecimals(s) + ", " + FormatTwoDecimals(mx) + ")";
    const double d = mx - mn;
    double h;
    if (r == mx)
        h = 60 * ((g - b) / d);
    else if (g == mx)
        h = 60 * ((b - r) / d + 2);
    else
        h = 60 * ((r - g) / d + 4);
    if (h < 0) h += 360;
    return text + "  HSV:(" + FormatTwoDecimals(h) + ", " + FormatTwoDecimals(s) + ", " +
           FormatTwoDecimals(mx) + ")";
}

} // namespace pigmentaria
