// Image library speed: BMP load and save of a large picture, palette optimisation with dithering
// of a photograph, and nearest-colour queries on an arbitrary 252-colour palette. Peak resident
// memory of the process is reported as a counter (run one benchmark at a time to read it alone).
#include "image/palette_match.h"
#include "image/pg_stream.h"
#include "image/pixel_graphic.h"

#include <benchmark/benchmark.h>
#include <png.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <vector>

using namespace pigmentaria;

namespace {

double PeakRssMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// A 24-bit picture with smooth gradients and fine detail, for when no photograph is at hand.
TPixelGraphic Synthetic(int w, int h) {
    TPixelGraphic g;
    g.SetSize(w, h, ct24Bit);
    std::uint32_t seed = 12345;
    for (int y = 0; y < h; ++y) {
        std::uint8_t* p = g.ScanLine(y);
        for (int x = 0; x < w; ++x, p += 3) {
            seed = seed * 1664525u + 1013904223u;
            const int noise = static_cast<int>(seed >> 28) - 8;
            p[0] = static_cast<std::uint8_t>(std::clamp(x * 255 / w + noise, 0, 255));
            p[1] = static_cast<std::uint8_t>(std::clamp((x + y) * 255 / (w + h) + noise, 0, 255));
            p[2] = static_cast<std::uint8_t>(std::clamp(y * 255 / h - noise, 0, 255));
        }
    }
    return g;
}

// The sample photograph enlarged to w x h (the PNG is decoded here directly: the library's own
// PNG reader is not part of this benchmark).
TPixelGraphic Photo(int w, int h) {
    const std::string path = std::string(PIGMENTARIA_SAMPLES) + "/coffee.png";
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return Synthetic(w, h);
    image.format = PNG_FORMAT_BGR;
    std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return Synthetic(w, h);
    TPixelGraphic small;
    small.SetSize(static_cast<int>(image.width), static_cast<int>(image.height), ct24Bit);
    for (int y = 0; y < small.Height(); ++y)
        std::memcpy(small.ScanLine(y), &pixels[static_cast<std::size_t>(y) * image.width * 3],
                    image.width * 3);
    TPixelGraphic photo;
    photo.SetSize(w, h, ct24Bit);
    photo.StretchFromWhole(small);
    return photo;
}

void BM_LoadBmp24_4000x3000(benchmark::State& state) {
    TMemoryStream file;
    {
        TPixelGraphic g = Synthetic(4000, 3000);
        g.SaveToStream(file);
    }
    for (auto _ : state) {
        file.Seek(0);
        TPixelGraphic g;
        g.LoadFromStream(file);
        benchmark::DoNotOptimize(g.Bits());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(file.Data().size()));
    state.counters["peak_rss_MiB"] = PeakRssMiB();
}
BENCHMARK(BM_LoadBmp24_4000x3000)->Unit(benchmark::kMillisecond);

void BM_SaveBmp24_4000x3000(benchmark::State& state) {
    TPixelGraphic g = Synthetic(4000, 3000);
    for (auto _ : state) {
        TMemoryStream file;
        g.SaveToStream(file);
        benchmark::DoNotOptimize(file.Data().data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(g.ImageSize() + 54));
    state.counters["peak_rss_MiB"] = PeakRssMiB();
}
BENCHMARK(BM_SaveBmp24_4000x3000)->Unit(benchmark::kMillisecond);

// What the 256-colour conversion does: choose 236 colours plus the 16 Windows colours, then map
// the photograph onto them with error diffusion.
void BM_OptimizeAndDither252_2000x1500(benchmark::State& state) {
    const TPixelGraphic photo = Photo(2000, 1500);
    for (auto _ : state) {
        TPixelGraphic dest;
        dest.SetSize(0, 0, ct8Bit);
        OptimizePalette(dest, photo, 252, true);
        dest.SetSize(photo.Width(), photo.Height(), ct8Bit);
        dest.StretchFromWhole(photo);
        benchmark::DoNotOptimize(dest.Bits());
    }
    state.counters["peak_rss_MiB"] = PeakRssMiB();
}
BENCHMARK(BM_OptimizeAndDither252_2000x1500)->Unit(benchmark::kMillisecond);

void BM_OptimizePaletteOnly_2000x1500(benchmark::State& state) {
    const TPixelGraphic photo = Photo(2000, 1500);
    for (auto _ : state) {
        TPixelGraphic dest;
        dest.SetSize(0, 0, ct8Bit);
        OptimizePalette(dest, photo, 252, true);
        benchmark::DoNotOptimize(dest.Palette().data());
    }
}
BENCHMARK(BM_OptimizePaletteOnly_2000x1500)->Unit(benchmark::kMillisecond);

void BM_NearestUnknown252_1M(benchmark::State& state) {
    const TPixelGraphic photo = Photo(400, 300);
    TPixelGraphic g;
    g.SetSize(0, 0, ct8Bit);
    OptimizePalette(g, photo, 252, true);
    g.SetSize(1, 1, ct8Bit);
    if (g.PaletteIdent() != pUnknown || g.PaletteCount() != 252)
        throw std::logic_error("expected an arbitrary 252-colour palette");
    std::vector<TColor> queries(1'000'000);
    std::uint32_t seed = 99;
    for (TColor& c : queries) {
        seed = seed * 1664525u + 1013904223u;
        c = seed >> 8;
    }
    for (auto _ : state) {
        g.InvalidateColorCache(); // every run starts with the cache to build
        std::uint32_t sum = 0;
        for (TColor c : queries)
            sum += g.NearestPaletteIndex(c);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(queries.size()));
}
BENCHMARK(BM_NearestUnknown252_1M)->Unit(benchmark::kMillisecond);

} // namespace
