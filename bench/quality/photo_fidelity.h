#pragma once
// How faithful a painting is to its photo, measured from the two pictures alone: the mean
// CIEDE2000 between them, and the share of the photo's strong edges that a border of the painting
// follows.
#include "palette/color_science.h"
#include "platform/raster.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace pigmentaria::bench {

// Strong edges of the photo: Canny on L* after a Gaussian of sigma 2, hysteresis between 2 and
// 4 L* units per pixel (the gradient a step of about 10 and 20 units leaves after the blur).
inline std::vector<std::uint8_t> StrongEdges(const TRaster24& photo) {
    const int w = photo.Width(), h = photo.Height();
    std::vector<double> l(static_cast<std::size_t>(w) * h), tmp(l.size());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            l[static_cast<std::size_t>(y) * w + x] = ColorToLab(photo.GetPixel(x, y)).L;
    const double sigma = 2.0;
    const int radius = 6;
    std::vector<double> k(2 * radius + 1);
    double sum = 0;
    for (int i = -radius; i <= radius; ++i)
        sum += k[i + radius] = std::exp(-i * i / (2 * sigma * sigma));
    for (double& v : k)
        v /= sum;
    auto at = [&](const std::vector<double>& a, int x, int y) {
        x = std::clamp(x, 0, w - 1);
        y = std::clamp(y, 0, h - 1);
        return a[static_cast<std::size_t>(y) * w + x];
    };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            double s = 0;
            for (int i = -radius; i <= radius; ++i)
                s += k[i + radius] * at(l, x + i, y);
            tmp[static_cast<std::size_t>(y) * w + x] = s;
        }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            double s = 0;
            for (int i = -radius; i <= radius; ++i)
                s += k[i + radius] * at(tmp, x, y + i);
            l[static_cast<std::size_t>(y) * w + x] = s;
        }
    std::vector<double> mag(l.size()), gx(l.size()), gy(l.size());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * w + x;
            gx[i] = (at(l, x + 1, y - 1) + 2 * at(l, x + 1, y) + at(l, x + 1, y + 1) -
                     at(l, x - 1, y - 1) - 2 * at(l, x - 1, y) - at(l, x - 1, y + 1)) /
                    8;
            gy[i] = (at(l, x - 1, y + 1) + 2 * at(l, x, y + 1) + at(l, x + 1, y + 1) -
                     at(l, x - 1, y - 1) - 2 * at(l, x, y - 1) - at(l, x + 1, y - 1)) /
                    8;
            mag[i] = std::hypot(gx[i], gy[i]);
        }
    const double low = 2.0, high = 4.0;
    std::vector<std::uint8_t> state(l.size(), 0); // 1 candidate, 2 edge
    std::vector<std::size_t> stack;
    for (int y = 1; y < h - 1; ++y)
        for (int x = 1; x < w - 1; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * w + x;
            if (mag[i] < low) continue;
            double angle = std::atan2(gy[i], gx[i]) * 180 / 3.14159265358979;
            if (angle < 0) angle += 180;
            int dx = 1, dy = 0;
            if (angle >= 22.5 && angle < 67.5)
                dx = 1, dy = 1;
            else if (angle >= 67.5 && angle < 112.5)
                dx = 0, dy = 1;
            else if (angle >= 112.5 && angle < 157.5)
                dx = -1, dy = 1;
            const double a = mag[static_cast<std::size_t>(y + dy) * w + x + dx];
            const double b = mag[static_cast<std::size_t>(y - dy) * w + x - dx];
            if (mag[i] < a || mag[i] <= b) continue;
            state[i] = 1;
            if (mag[i] >= high) {
                state[i] = 2;
                stack.push_back(i);
            }
        }
    while (!stack.empty()) {
        const std::size_t i = stack.back();
        stack.pop_back();
        const int x = static_cast<int>(i % w), y = static_cast<int>(i / w);
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const int nx = x + dx, ny = y + dy;
                if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
                const std::size_t j = static_cast<std::size_t>(ny) * w + nx;
                if (state[j] == 1) {
                    state[j] = 2;
                    stack.push_back(j);
                }
            }
    }
    for (std::uint8_t& s : state)
        s = s == 2;
    return state;
}

// Share of edge pixels with a region border (a pixel whose right or lower neighbour differs,
// both sides counted) within 2 pixels.
inline double EdgesKept(const std::vector<std::uint8_t>& edges, const TRaster24& painting) {
    const int w = painting.Width(), h = painting.Height();
    std::vector<std::uint8_t> border(edges.size(), 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const TColor c = painting.GetPixel(x, y);
            const std::size_t i = static_cast<std::size_t>(y) * w + x;
            if (x + 1 < w && painting.GetPixel(x + 1, y) != c) border[i] = border[i + 1] = 1;
            if (y + 1 < h && painting.GetPixel(x, y + 1) != c)
                border[i] = border[i + static_cast<std::size_t>(w)] = 1;
        }
    long total = 0, kept = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (!edges[static_cast<std::size_t>(y) * w + x]) continue;
            ++total;
            bool near = false;
            for (int dy = -2; dy <= 2 && !near; ++dy)
                for (int dx = -2; dx <= 2 && !near; ++dx) {
                    const int nx = x + dx, ny = y + dy;
                    if (dx * dx + dy * dy > 4 || nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
                    near = border[static_cast<std::size_t>(ny) * w + nx];
                }
            kept += near;
        }
    return total ? static_cast<double>(kept) / total : 1.0;
}

// The mean CIEDE2000 between the photo and the painting, pixel by pixel, at one size.
inline double MeanDeltaE(const TRaster24& photo, const TRaster24& painting) {
    double sum = 0;
    for (int y = 0; y < photo.Height(); ++y)
        for (int x = 0; x < photo.Width(); ++x)
            sum += DeltaE2000(photo.GetPixel(x, y), painting.GetPixel(x, y));
    return sum / (static_cast<double>(photo.Width()) * photo.Height());
}

} // namespace pigmentaria::bench
