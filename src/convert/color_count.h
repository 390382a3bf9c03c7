#pragma once
// Colour reduction to a number of colours: K colours chosen by k-means in CIELAB, fitted on a
// sample of the picture's pixels and then given to every pixel. The alternative to rounding each
// channel down to a step: the colours follow the picture instead of the corners of the colour
// cube.
//
// Deterministic: the sample and the k-means++ seeding come from a fixed seed through our own
// generator, sums run in a fixed order, and ties go to the lower colour index, so the same
// picture and settings give the same colours on every run and with any number of threads.
#include "convert/reduction.h"
#include "palette/color_science.h"
#include "platform/raster.h"
#include "platform/report.h"

#include <cstdint>
#include <vector>

namespace pigmentaria {

constexpr int MaxColorCount = 255;

struct TColorCountSettings {
    // K: the number of colours, 1..255.
    int Colors = 24;
    // Pixels the colours are fitted on; a smaller picture is fitted on every pixel.
    int Samples = 65536;
    int MaxIterations = 40;
    std::uint64_t Seed = 0x5EEDC0105ULL;
    // Workers for giving every pixel its colour; 0 takes the machine's. The result is the same
    // for any number.
    int Threads = 1;
};

struct TColorCountPalette {
    // Cluster centres in CIELAB and the colour values they are painted in, in the same order.
    std::vector<TLab> Centres;
    std::vector<TColor> Colors;
};

// The small random generator behind the sample and the seeding (splitmix64), for callers that
// need the same draws.
class TSplitMix64 {
public:
    explicit TSplitMix64(std::uint64_t seed) : State_(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (State_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // Uniform in 0 .. n - 1.
    std::uint64_t Below(std::uint64_t n) {
        return static_cast<std::uint64_t>((static_cast<unsigned __int128>(Next()) * n) >> 64);
    }
    // Uniform in [0, 1).
    double Unit() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }

private:
    std::uint64_t State_;
};

// Fits K colours to the picture. Fewer come back when the picture has fewer distinct colours.
// With a progress sink the bar moves once per centre seeded and once per iteration ("Performing
// Color Reduction..."), and EAborted is thrown when it asks to stop.
TColorCountPalette FitColorPalette(const TRaster24& picture, const TColorCountSettings& settings);
TColorCountPalette FitColorPalette(const TRaster24& picture, const TColorCountSettings& settings,
                                   IProgressSink& progress);

// The index of the centre nearest to a colour by CIELAB distance; ties go to the lower index.
int NearestCentre(const std::vector<TLab>& centres, const TLab& lab);

// Gives every pixel of `picture` the colour of its nearest centre, into `out` (resized to the
// picture). Each distinct pixel colour is looked up once.
void ApplyColorPalette(const TColorCountPalette& palette, const TRaster24& picture, TRaster24& out,
                       int threads = 1);

// The colour reduction of an import by number of colours: crops the scaled picture, keeps the
// unreduced crop, fits and applies the colours and, with `specks` above 0, removes specks. Throws
// EAborted when the progress sink asks to stop; the picture is never changed.
TReducedPair ReduceScaledPictureToCount(const TRaster24& scaled, TCropRect crop,
                                        const TColorCountSettings& settings, int specks,
                                        IProgressSink& progress);

} // namespace pigmentaria
