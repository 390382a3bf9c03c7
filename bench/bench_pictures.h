#pragma once
// Photo-like test pictures for the benchmarks: a bundled sample decoded with libpng's simple API
// and scaled bilinearly to the size a benchmark asks for.
#include "platform/raster.h"

#include <png.h>

#include <algorithm>

#include <stdexcept>
#include <string>
#include <vector>

namespace pigmentaria::bench {

inline TRaster24 LoadSamplePng(const std::string& name) {
    const std::string path = std::string(PIGMENTARIA_SAMPLES) + "/" + name;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        throw std::runtime_error("cannot read " + path);
    image.format = PNG_FORMAT_BGR;
    std::vector<png_byte> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr))
        throw std::runtime_error("cannot decode " + path);
    TRaster24 r(static_cast<int>(image.width), static_cast<int>(image.height));
    for (int y = 0; y < r.Height(); ++y)
        std::copy_n(pixels.data() + static_cast<std::size_t>(y) * image.width * 3, image.width * 3,
                    r.Row(y));
    return r;
}

inline TRaster24 ScaleBilinear(const TRaster24& src, int w, int h) {
    TRaster24 out(w, h);
    for (int y = 0; y < h; ++y) {
        const double fy = (y + 0.5) * src.Height() / h - 0.5;
        const int y0 = std::clamp(static_cast<int>(fy), 0, src.Height() - 1);
        const int y1 = std::min(y0 + 1, src.Height() - 1);
        const double ty = std::clamp(fy - y0, 0.0, 1.0);
        for (int x = 0; x < w; ++x) {
            const double fx = (x + 0.5) * src.Width() / w - 0.5;
            const int x0 = std::clamp(static_cast<int>(fx), 0, src.Width() - 1);
            const int x1 = std::min(x0 + 1, src.Width() - 1);
            const double tx = std::clamp(fx - x0, 0.0, 1.0);
            std::uint8_t* o = out.Row(y) + 3 * x;
            for (int c = 0; c < 3; ++c) {
                const double top =
                    src.Row(y0)[3 * x0 + c] * (1 - tx) + src.Row(y0)[3 * x1 + c] * tx;
                const double bot =
                    src.Row(y1)[3 * x0 + c] * (1 - tx) + src.Row(y1)[3 * x1 + c] * tx;
                o[c] = static_cast<std::uint8_t>(top * (1 - ty) + bot * ty + 0.5);
            }
        }
    }
    return out;
}

// Mirrored tiles of the picture up to w × h: keeps a real photo's density of detail, which
// upscaling smooths away.
inline TRaster24 TileMirrored(const TRaster24& src, int w, int h) {
    TRaster24 out(w, h);
    for (int y = 0; y < h; ++y) {
        const int ty = y / src.Height(),
                  sy = ty % 2 ? src.Height() - 1 - y % src.Height() : y % src.Height();
        for (int x = 0; x < w; ++x) {
            const int tx = x / src.Width(),
                      sx = tx % 2 ? src.Width() - 1 - x % src.Width() : x % src.Width();
            std::copy_n(src.Row(sy) + 3 * sx, 3, out.Row(y) + 3 * x);
        }
    }
    return out;
}

// Every channel rounded down to a multiple of the step, as colour reduction does.
inline void Quantize(TRaster24& r, int step) {
    for (int y = 0; y < r.Height(); ++y) {
        std::uint8_t* p = r.Row(y);
        for (int i = 0; i < 3 * r.Width(); ++i)
            p[i] = static_cast<std::uint8_t>(p[i] / step * step);
    }
}

} // namespace pigmentaria::bench
