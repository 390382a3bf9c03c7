#pragma once
// Colour values in the Windows order 0x00BBGGRR: red in the low byte.
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

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clRed = 0x0000FF;

} // namespace pigmentaria
