#pragma once
// A 24-bit raster as the drawing code sees a device-independent bitmap: 3 bytes a pixel in blue,
// green, red order, one row reference per row, and the drawing surface the raster canvas paints on.
#include "platform/color.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pigmentaria {

// Anything a raster canvas can paint: a 24-bit raster, or a picture of fewer bits that maps the
// colours it is given to its own palette.
class TPixelSurface {
public:
    virtual ~TPixelSurface() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // Reads a pixel as a colour value; the caller keeps (x, y) inside the surface.
    virtual TColor GetPixel(int x, int y) const = 0;
    virtual void SetPixel(int x, int y, TColor c) = 0;
    // Paints pixels x0 .. x1 - 1 of row y; the caller has clipped the span to the surface.
    virtual void FillSpan(int y, int x0, int x1, TColor c) {
        for (int x = x0; x < x1; ++x)
            SetPixel(x, y, c);
    }
};

class TRaster24 final : public TPixelSurface {
public:
    TRaster24() = default;
    TRaster24(int width, int height, TColor fill = clBlack);

    int Width() const override { return Width_; }
    int Height() const override { return Height_; }
    bool Empty() const { return Width_ <= 0 || Height_ <= 0; }
    // Bytes from one row to the next: 3 × width padded to a multiple of 4, as in a DIB.
    std::size_t Stride() const { return Stride_; }

    std::uint8_t* Row(int y) { return Bits_.data() + static_cast<std::size_t>(y) * Stride_; }
    const std::uint8_t* Row(int y) const {
        return Bits_.data() + static_cast<std::size_t>(y) * Stride_;
    }

    TColor GetPixel(int x, int y) const override {
        const std::uint8_t* p = Row(y) + 3 * static_cast<std::size_t>(x);
        return static_cast<TColor>(p[2]) | (static_cast<TColor>(p[1]) << 8) |
               (static_cast<TColor>(p[0]) << 16);
    }
    void SetPixel(int x, int y, TColor c) override {
        std::uint8_t* p = Row(y) + 3 * static_cast<std::size_t>(x);
        p[0] = static_cast<std::uint8_t>(c >> 16);
        p[1] = static_cast<std::uint8_t>(c >> 8);
        p[2] = static_cast<std::uint8_t>(c);
    }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < Width_ && y < Height_; }
    void FillSpan(int y, int x0, int x1, TColor c) override;
    void Fill(TColor c);

    friend bool operator==(const TRaster24& a, const TRaster24& b);

private:
    int Width_ = 0;
    int Height_ = 0;
    std::size_t Stride_ = 0;
    std::vector<std::uint8_t> Bits_;
};

} // namespace pigmentaria
