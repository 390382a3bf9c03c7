#include "convert/reduction.h"

#include "model/shape.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace pigmentaria {

TCropRect ScaledCropRect(int width, int height, double zoom,
                         const std::optional<TCropRect>& selection) {
    if (!selection) return {0, 0, ScaleCoord(width, zoom), ScaleCoord(height, zoom)};
    return {ScaleCoord(selection->Left, zoom), ScaleCoord(selection->Top, zoom),
            ScaleCoord(selection->Right, zoom), ScaleCoord(selection->Bottom, zoom)};
}

TReducedPair ReduceScaledPicture(const TRaster24& scaled, TCropRect crop, int step, int specks,
                                 IProgressSink& progress) {
    crop.Left = std::clamp(crop.Left, 0, scaled.Width());
    crop.Right = std::clamp(crop.Right, crop.Left, scaled.Width());
    crop.Top = std::clamp(crop.Top, 0, scaled.Height());
    crop.Bottom = std::clamp(crop.Bottom, crop.Top, scaled.Height());
    step = std::clamp(step, 1, 255);

    TReducedPair out{TRaster24(crop.Width(), crop.Height()),
                     TRaster24(crop.Width(), crop.Height())};
    const std::size_t bytes = 3 * static_cast<std::size_t>(crop.Width());
    // Each channel becomes step × (channel div step): one table for all three.
    std::array<std::uint8_t, 256> level{};
    for (int v = 0; v < 256; ++v)
        level[v] = static_cast<std::uint8_t>(v / step * step);

    {
        TProgressRun run(progress, ReductionMessage, 0, crop.Height());
        for (int y = crop.Top; y < crop.Bottom; ++y) {
            const std::uint8_t* src = scaled.Row(y) + 3 * static_cast<std::size_t>(crop.Left);
            std::memcpy(out.Original.Row(y - crop.Top), src, bytes);
            std::uint8_t* dst = out.Reduced.Row(y - crop.Top);
            for (std::size_t i = 0; i < bytes; ++i)
                dst[i] = level[src[i]];
            run.Step(y - crop.Top + 1);
        }
    }
    if (specks > 0) RemoveSpecks(out.Reduced, specks, progress);
    return out;
}

void RemoveSpecks(TRaster24& raster, int level, IProgressSink& progress) {
    const int w = raster.Width(), h = raster.Height();
    TProgressRun run(progress, SimplificationMessage, 0, h);
    // Neighbour order of the vote: W, NW, N, NE, E, SE, S, SW.
    constexpr int dx[8] = {-1, -1, 0, 1, 1, 1, 0, -1};
    constexpr int dy[8] = {0, -1, -1, -1, 0, 1, 1, 1};
    for (int y = 1; y < h - 1; ++y) {
        for (int x = 1; x < w - 1; ++x) {
            const TColor k = raster.GetPixel(x, y);
            TColor n[8];
            int like = 0;
            for (int i = 0; i < 8; ++i) {
                n[i] = raster.GetPixel(x + dx[i], y + dy[i]);
                like += n[i] == k;
            }
            if (like >= level) continue;
            int best = 0, bestCount = 0;
            for (int i = 0; i < 8; ++i) {
                int count = 0;
                for (int j = 0; j < 8; ++j)
                    count += n[j] == n[i];
                if (count > bestCount) {
                    bestCount = count;
                    best = i;
                }
            }
            raster.SetPixel(x, y, n[best]);
        }
        run.Step(y);
    }
}

} // namespace pigmentaria
