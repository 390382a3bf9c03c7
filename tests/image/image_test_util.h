#pragma once
// Helpers of the image library tests: fixture files and their reference pixels.
#include "image/pg_stream.h"
#include "image/pixel_graphic.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace pigmentaria::test {

// A w × h picture whose pixel at (x, y) is `color(x, y)`, called row by row.
template <class F> TPixelGraphic PictureOf(int w, int h, F color) {
    TRaster24 r(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            r.SetPixel(x, y, color(x, y));
    TPixelGraphic p;
    p.AssignRaster24(r);
    return p;
}

// A photo-like picture: smooth gradients with some noise, so that a conversion gives many
// regions of every size.
inline TPixelGraphic PhotoLike(int w, int h, unsigned seed = 5) {
    std::mt19937 rng(seed);
    return PictureOf(w, h, [&](int x, int y) {
        return MakeColor((x * 255 / std::max(1, w - 1) + static_cast<int>(rng() % 20)) % 256,
                         (y * 255 / std::max(1, h - 1)) % 256,
                         ((x + y) * 97 / std::max(1, w + h) + static_cast<int>(rng() % 40)) % 256);
    });
}

// A noisy picture: gradients in red and green under a blue channel of pure noise, so that every
// filter, reduction and zoom has detail to work on.
inline TPixelGraphic Noisy(int w, int h, unsigned seed = 7) {
    std::mt19937 rng(seed);
    return PictureOf(w, h, [&](int x, int y) {
        return MakeColor((x * 255 / std::max(1, w - 1) + static_cast<int>(rng() % 30)) % 256,
                         (y * 255 / std::max(1, h - 1)) % 256, static_cast<int>(rng() % 256));
    });
}

inline std::string ImageData(const std::string& name) {
    return std::string(PIGMENTARIA_TEST_DATA) + "/image/" + name;
}

inline std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Pixels of a binary PPM (P6, maxval 255) as colour values, rows top first.
struct TPpm {
    int Width = 0, Height = 0;
    std::vector<TColor> Pixels;
    TColor At(int x, int y) const { return Pixels[static_cast<std::size_t>(y * Width + x)]; }
};

inline TPpm ReadPpm(const std::string& path) {
    const std::vector<std::uint8_t> d = ReadBytes(path);
    TPpm ppm;
    std::size_t pos = 0;
    auto token = [&]() {
        std::string t;
        while (pos < d.size()) {
            const char c = static_cast<char>(d[pos]);
            if (c == '#') {
                while (pos < d.size() && d[pos] != '\n')
                    ++pos;
            } else if (std::isspace(static_cast<unsigned char>(c))) {
                ++pos;
                if (!t.empty()) return t;
            } else {
                t += c;
                ++pos;
            }
        }
        return t;
    };
    if (token() != "P6") return ppm;
    ppm.Width = std::stoi(token());
    ppm.Height = std::stoi(token());
    token(); // maxval, then one whitespace byte already consumed
    for (int i = 0; i < ppm.Width * ppm.Height && pos + 2 < d.size() + 0; ++i, pos += 3)
        ppm.Pixels.push_back(MakeColor(d[pos], d[pos + 1], d[pos + 2]));
    return ppm;
}

inline void LoadBytes(TPixelGraphic& g, const std::vector<std::uint8_t>& bytes,
                      const std::string& ext = "bmp") {
    TSpanStream s(bytes.data(), bytes.size());
    g.LoadFromStreamAs(s, ext);
}

inline std::vector<std::uint8_t> SaveBmpBytes(TPixelGraphic& g) {
    TMemoryStream s;
    g.SaveToStream(s);
    return s.Data();
}

// Little-endian field access for building and checking headers.
inline std::uint32_t Get32(const std::vector<std::uint8_t>& d, std::size_t at) {
    return static_cast<std::uint32_t>(d[at]) | static_cast<std::uint32_t>(d[at + 1]) << 8 |
           static_cast<std::uint32_t>(d[at + 2]) << 16 |
           static_cast<std::uint32_t>(d[at + 3]) << 24;
}
inline std::uint16_t Get16(const std::vector<std::uint8_t>& d, std::size_t at) {
    return static_cast<std::uint16_t>(d[at] | d[at + 1] << 8);
}
inline void Set32(std::vector<std::uint8_t>& d, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        d[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}
inline void Set16(std::vector<std::uint8_t>& d, std::size_t at, std::uint32_t v) {
    d[at] = static_cast<std::uint8_t>(v);
    d[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

} // namespace pigmentaria::test
