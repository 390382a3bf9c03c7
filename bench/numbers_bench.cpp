// Number placement on a painting traced from a photo-sized picture at the import defaults: colour
// step 90, no speck removal, outline method "Outline", vertex step 4, lines eliminated.
#include "convert/tracer.h"
#include "palette/color_functions.h"
#include "palette/palette.h"
#include "print/numbers.h"

#include <benchmark/benchmark.h>
#include <png.h>

#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <sys/resource.h>
#include <vector>

namespace pigmentaria {
namespace {

// The sample photo through libpng's simplified reader, as 8-bit RGB.
std::vector<std::uint8_t> DecodePng(const char* file, int& width, int& height) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, file)) throw std::runtime_error(image.message);
    image.format = PNG_FORMAT_RGB;
    std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr))
        throw std::runtime_error(image.message);
    width = static_cast<int>(image.width);
    height = static_cast<int>(image.height);
    return pixels;
}

// Bilinear scaling of an RGB buffer to w × h, into a raster.
TRaster24 Upscale(const std::vector<std::uint8_t>& rgb, int sw, int sh, int w, int h) {
    TRaster24 out(w, h);
    for (int y = 0; y < h; ++y) {
        const double fy = std::max(0.0, (y + 0.5) * sh / h - 0.5);
        const int y0 = std::min(static_cast<int>(fy), sh - 1), y1 = std::min(y0 + 1, sh - 1);
        const double ty = fy - y0;
        for (int x = 0; x < w; ++x) {
            const double fx = std::max(0.0, (x + 0.5) * sw / w - 0.5);
            const int x0 = std::min(static_cast<int>(fx), sw - 1), x1 = std::min(x0 + 1, sw - 1);
            const double tx = fx - x0;
            int c[3];
            for (int k = 0; k < 3; ++k) {
                auto at = [&](int xx, int yy) { return rgb[(std::size_t(yy) * sw + xx) * 3 + k]; };
                const double top = at(x0, y0) * (1 - tx) + at(x1, y0) * tx;
                const double bottom = at(x0, y1) * (1 - tx) + at(x1, y1) * tx;
                c[k] = static_cast<int>(top * (1 - ty) + bottom * ty + 0.5);
            }
            out.SetPixel(x, y, MakeColor(c[0], c[1], c[2]));
        }
    }
    return out;
}

long PeakRssKb() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

struct TPhotoPainting {
    TShapeList Shapes;
    TNamedPalette Palette;
    long PeakBeforeKb = 0;

    explicit TPhotoPainting(const char* file) {
        int sw = 0, sh = 0;
        const auto rgb = DecodePng(file, sw, sh);
        const TRaster24 original = Upscale(rgb, sw, sh, 2000, 1500);
        TRaster24 reduced(original.Width(), original.Height());
        for (int y = 0; y < reduced.Height(); ++y)
            for (int x = 0; x < reduced.Width(); ++x)
                reduced.SetPixel(x, y, QuantizeColor(original.GetPixel(x, y), 90));
        TNullProgress progress;
        TNullMessages messages;
        TraceRegions(reduced, original, {TOutlineMethod::Outline, 4, true}, Shapes, progress,
                     messages);
        RebuildPaintingPalette(Palette, Shapes);
        PeakBeforeKb = PeakRssKb();
    }
};

void PlaceNumbersOn(benchmark::State& state, const TPhotoPainting& painting) {
    TNullProgress progress;
    TNullMessages messages;
    std::size_t labels = 0;
    for (auto _ : state) {
        auto result = PlaceNumbers(painting.Shapes, painting.Palette, progress, messages);
        labels = result.size();
        benchmark::DoNotOptimize(result);
    }
    state.counters["shapes"] = static_cast<double>(painting.Shapes.Count());
    state.counters["colours"] = static_cast<double>(painting.Palette.Count());
    state.counters["labels"] = static_cast<double>(labels);
    state.counters["peak_rss_MB"] = PeakRssKb() / 1024.0;
    state.counters["peak_rss_before_numbers_MB"] = painting.PeakBeforeKb / 1024.0;
}
void BM_PlaceNumbersPhoto2000x1500(benchmark::State& state) {
    static const TPhotoPainting painting(PIGMENTARIA_SAMPLES "/coffee.png");
    PlaceNumbersOn(state, painting);
}
BENCHMARK(BM_PlaceNumbersPhoto2000x1500)->Unit(benchmark::kMillisecond)->Iterations(3);

// A busier picture: many more, smaller regions.
void BM_PlaceNumbersBusyPhoto2000x1500(benchmark::State& state) {
    static const TPhotoPainting painting(PIGMENTARIA_SAMPLES "/astronaut.png");
    PlaceNumbersOn(state, painting);
}
BENCHMARK(BM_PlaceNumbersBusyPhoto2000x1500)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
} // namespace pigmentaria
