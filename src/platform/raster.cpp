#include "platform/raster.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace pigmentaria {

TRaster24::TRaster24(int width, int height, TColor fill) {
    if (width < 0 || height < 0) throw std::invalid_argument("negative raster size");
    Width_ = width;
    Height_ = height;
    Stride_ = (static_cast<std::size_t>(width) * 3 + 3) & ~static_cast<std::size_t>(3);
    Bits_.assign(Stride_ * static_cast<std::size_t>(height), 0);
    if (fill != clBlack) Fill(fill);
}

void TRaster24::FillSpan(int y, int x0, int x1, TColor c) {
    if (x1 <= x0) return;
    std::uint8_t* p = Row(y) + 3 * static_cast<std::size_t>(x0);
    const std::uint8_t b = static_cast<std::uint8_t>(c >> 16);
    const std::uint8_t g = static_cast<std::uint8_t>(c >> 8);
    const std::uint8_t r = static_cast<std::uint8_t>(c);
    if (b == g && g == r) {
        std::memset(p, r, 3 * static_cast<std::size_t>(x1 - x0));
        return;
    }
    for (int x = x0; x < x1; ++x, p += 3) {
        p[0] = b;
        p[1] = g;
        p[2] = r;
    }
}

void TRaster24::Fill(TColor c) {
    for (int y = 0; y < Height_; ++y)
        FillSpan(y, 0, Width_, c);
}

bool operator==(const TRaster24& a, const TRaster24& b) {
    if (a.Width_ != b.Width_ || a.Height_ != b.Height_) return false;
    const std::size_t used = 3 * static_cast<std::size_t>(a.Width_);
    for (int y = 0; y < a.Height_; ++y)
        if (std::memcmp(a.Row(y), b.Row(y), used) != 0) return false;
    return true;
}

} // namespace pigmentaria
