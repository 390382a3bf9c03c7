#pragma once
// Colour values in the Windows order 0x00BBGGRR: red in the low byte.
#include <algorithm>
#include <concepts>
#include <cstdint>

namespace pigmentaria {

using TColor = std::uint32_t;

constexpr TColor MakeColor(int r, int g, int b) {
    return static_cast<TColor>(r & 0xFF) | (static_cast<TColor>(g & 0xFF) << 8) |
           (static_cast<TColor>(b & 0xFF) << 16);
}
constexpr int RedOf(TColor c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int GreenOf(TColor c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int BlueOf(TColor c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

// The hue of the usual RGB-to-HSV conversion, in degrees from 0 (inclusive) to 360 (exclusive),
// of three channels in any one unit (0..255 or 0..1), worked out in T. A tie for the largest
// channel goes to red, then green. Channels without spread have no hue; 0 is returned and the
// caller says what a grey stands for.
template <std::floating_point T> constexpr T HueOfChannels(T r, T g, T b) {
    const T mx = std::max({r, g, b});
    const T delta = mx - std::min({r, g, b});
    if (delta == 0) return 0;
    T h;
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

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clRed = 0x0000FF;

} // namespace pigmentaria
