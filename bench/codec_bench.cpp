// JPEG and PNG speed on a 4000 x 3000 photograph (the bundled sample enlarged in memory): decode
// from and encode to memory through the format registry, as loading and saving a file does.
// Peak resident memory of the process is reported as a counter (run one benchmark at a time to
// read it alone). The files the benchmarks decode can be written out for comparison with other
// tools by setting PIGMENTARIA_BENCH_OUT to a folder.
#include "bench_pictures.h"
#include "image/pg_stream.h"
#include "image/pixel_graphic.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <vector>

using namespace pigmentaria;

namespace {

constexpr int kWidth = 4000, kHeight = 3000;

double PeakRssMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

const TPixelGraphic& Photo() {
    static const TPixelGraphic photo = [] {
        TPixelGraphic g;
        g.AssignRaster24(bench::ScaleBilinear(bench::LoadSamplePng("coffee.png"), kWidth, kHeight));
        return g;
    }();
    return photo;
}

const std::vector<std::uint8_t>& Encoded(const std::string& ext) {
    static std::vector<std::uint8_t> jpg, png;
    std::vector<std::uint8_t>& bytes = ext == "jpg" ? jpg : png;
    if (bytes.empty()) {
        TPixelGraphic g;
        g.Assign(&Photo());
        TMemoryStream s;
        g.SaveToStreamAs(s, ext);
        bytes = s.Data();
        if (const char* out = std::getenv("PIGMENTARIA_BENCH_OUT"))
            std::ofstream(std::string(out) + "/photo4000x3000." + ext, std::ios::binary)
                .write(reinterpret_cast<const char*>(bytes.data()),
                       static_cast<std::streamsize>(bytes.size()));
    }
    return bytes;
}

void Decode(benchmark::State& state, const std::string& ext) {
    const std::vector<std::uint8_t>& bytes = Encoded(ext);
    for (auto _ : state) {
        TPixelGraphic g;
        TSpanStream s(bytes.data(), bytes.size());
        g.LoadFromStreamAs(s, ext);
        benchmark::DoNotOptimize(g.Bits());
    }
    state.counters["file_MiB"] = static_cast<double>(bytes.size()) / (1 << 20);
    state.counters["peak_rss_MiB"] = PeakRssMiB();
}

void Encode(benchmark::State& state, const std::string& ext) {
    TPixelGraphic g;
    g.Assign(&Photo());
    std::size_t size = 0;
    for (auto _ : state) {
        TMemoryStream s;
        g.SaveToStreamAs(s, ext);
        size = s.Data().size();
        benchmark::DoNotOptimize(s.Data().data());
    }
    state.counters["file_MiB"] = static_cast<double>(size) / (1 << 20);
    state.counters["peak_rss_MiB"] = PeakRssMiB();
}

void BM_JpegDecode4000x3000(benchmark::State& state) {
    Decode(state, "jpg");
}
void BM_JpegEncode4000x3000(benchmark::State& state) {
    Encode(state, "jpg");
}
void BM_PngDecode4000x3000(benchmark::State& state) {
    Decode(state, "png");
}
void BM_PngEncode4000x3000(benchmark::State& state) {
    Encode(state, "png");
}

} // namespace

BENCHMARK(BM_JpegDecode4000x3000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JpegEncode4000x3000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PngDecode4000x3000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PngEncode4000x3000)->Unit(benchmark::kMillisecond);
