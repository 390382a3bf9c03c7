#include "convert/color_count.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <thread>

namespace pigmentaria {

namespace {

inline TColor PixelColor(const std::uint8_t* p) {
    return p[2] | (TColor(p[1]) << 8) | (TColor(p[0]) << 16);
}

// The fitting sample: pixel colours drawn with replacement, or every pixel of a small picture.
std::vector<TLab> DrawSample(const TRaster24& picture, int samples, TSplitMix64& rng) {
    const std::uint64_t w = static_cast<std::uint64_t>(picture.Width());
    const std::uint64_t n = w * static_cast<std::uint64_t>(picture.Height());
    std::vector<TLab> out;
    if (n == 0) return out;
    if (samples <= 0 || n <= static_cast<std::uint64_t>(samples)) {
        out.reserve(n);
        for (int y = 0; y < picture.Height(); ++y) {
            const std::uint8_t* p = picture.Row(y);
            for (int x = 0; x < picture.Width(); ++x, p += 3)
                out.push_back(ColorToLab(PixelColor(p)));
        }
        return out;
    }
    out.reserve(static_cast<std::size_t>(samples));
    for (int i = 0; i < samples; ++i) {
        const std::uint64_t k = rng.Below(n);
        const std::uint8_t* p =
            picture.Row(static_cast<int>(k / w)) + 3 * static_cast<std::size_t>(k % w);
        out.push_back(ColorToLab(PixelColor(p)));
    }
    return out;
}

// Greedy k-means++: each new centre is the best of a few candidates drawn with probability
// proportional to the squared distance to the nearest centre so far.
// `tick` is called once per centre chosen, and may stop the work by throwing.
using TTick = std::function<void()>;

std::vector<TLab> SeedCentres(const std::vector<TLab>& sample, int k, TSplitMix64& rng,
                              const TTick& tick) {
    std::vector<TLab> centres;
    const std::size_t n = sample.size();
    if (n == 0 || k <= 0) return centres;
    centres.push_back(sample[rng.Below(n)]);
    std::vector<double> nearest(n);
    double total = 0;
    for (std::size_t i = 0; i < n; ++i)
        total += nearest[i] = LabDistanceSquared(sample[i], centres[0]);
    const int trials = 2 + static_cast<int>(std::log(static_cast<double>(k)));
    std::vector<double> trial(n), bestTrial(n);
    while (static_cast<int>(centres.size()) < k && total > 0) {
        double bestPotential = std::numeric_limits<double>::infinity();
        std::size_t bestIndex = 0;
        for (int t = 0; t < trials; ++t) {
            // The first sample whose running sum passes the drawn value.
            const double u = rng.Unit() * total;
            double run = 0;
            std::size_t pick = n;
            for (std::size_t i = 0; i < n; ++i) {
                run += nearest[i];
                if (nearest[i] > 0 && run > u) {
                    pick = i;
                    break;
                }
            }
            if (pick == n) // rounding: the last sample with any distance
                for (std::size_t i = n; i-- > 0;)
                    if (nearest[i] > 0) {
                        pick = i;
                        break;
                    }
            double potential = 0;
            for (std::size_t i = 0; i < n; ++i)
                potential += trial[i] =
                    std::min(nearest[i], LabDistanceSquared(sample[i], sample[pick]));
            if (potential < bestPotential) {
                bestPotential = potential;
                bestIndex = pick;
                bestTrial.swap(trial);
            }
        }
        tick();
        centres.push_back(sample[bestIndex]);
        nearest.swap(bestTrial);
        total = bestPotential;
    }
    return centres;
}

// Lloyd's iterations with Hamerly's bounds: each sample keeps an upper bound on the distance
// to its centre and a lower bound on the distance to every other, and is only measured again
// when the bounds no longer prove its centre nearest. The assignments are those of plain Lloyd
// iterations; the work in later iterations is a fraction.
// `tick` is called once per iteration, and may stop the work by throwing.
void Lloyd(const std::vector<TLab>& sample, std::vector<TLab>& centres, int maxIterations,
           const TTick& tick) {
    const std::size_t n = sample.size(), k = centres.size();
    if (n == 0 || k == 0) return;
    std::vector<int> assigned(n);
    std::vector<double> upper(n), lower(n), sums(3 * k, 0.0), move(k), half(k);
    std::vector<std::size_t> counts(k, 0);
    auto add = [&](std::size_t i, std::size_t c, double sign) {
        sums[3 * c] += sign * sample[i].L;
        sums[3 * c + 1] += sign * sample[i].A;
        sums[3 * c + 2] += sign * sample[i].B;
    };
    // The nearest and second nearest centre of a sample, ties to the lower index.
    auto scan = [&](std::size_t i, int& best, double& d1, double& d2) {
        best = 0;
        d1 = d2 = std::numeric_limits<double>::infinity();
        for (std::size_t c = 0; c < k; ++c) {
            const double d = LabDistanceSquared(sample[i], centres[c]);
            if (d < d1) {
                d2 = d1;
                d1 = d;
                best = static_cast<int>(c);
            } else if (d < d2) {
                d2 = d;
            }
        }
        d1 = std::sqrt(d1);
        d2 = std::sqrt(d2);
    };
    for (std::size_t i = 0; i < n; ++i) {
        int c = 0;
        scan(i, c, upper[i], lower[i]);
        assigned[i] = c;
        add(i, static_cast<std::size_t>(c), 1);
        ++counts[static_cast<std::size_t>(c)];
    }
    for (int iteration = 0; iteration < maxIterations; ++iteration) {
        tick();
        // Move the centres to their means; an empty cluster restarts at the sample worst served,
        // the first of equals.
        for (std::size_t c = 0; c < k; ++c) {
            TLab next = centres[c];
            if (counts[c] > 0) {
                const double m = static_cast<double>(counts[c]);
                next = {sums[3 * c] / m, sums[3 * c + 1] / m, sums[3 * c + 2] / m};
            } else {
                std::size_t worst = 0;
                double worstDistance = -1;
                for (std::size_t i = 0; i < n; ++i) {
                    const double d = LabDistanceSquared(
                        sample[i], centres[static_cast<std::size_t>(assigned[i])]);
                    if (d > worstDistance && counts[static_cast<std::size_t>(assigned[i])] > 1) {
                        worstDistance = d;
                        worst = i;
                    }
                }
                if (worstDistance < 0) continue;
                const std::size_t from = static_cast<std::size_t>(assigned[worst]);
                add(worst, from, -1);
                --counts[from];
                add(worst, c, 1);
                ++counts[c];
                assigned[worst] = static_cast<int>(c);
                next = sample[worst];
                upper[worst] = 0;
                lower[worst] = 0;
            }
            move[c] = std::sqrt(LabDistanceSquared(centres[c], next));
            centres[c] = next;
        }
        std::size_t fastest = 0;
        for (std::size_t c = 1; c < k; ++c)
            if (move[c] > move[fastest]) fastest = c;
        double secondMove = 0;
        for (std::size_t c = 0; c < k; ++c)
            if (c != fastest) secondMove = std::max(secondMove, move[c]);
        for (std::size_t c = 0; c < k; ++c) {
            double nearest = std::numeric_limits<double>::infinity();
            for (std::size_t d = 0; d < k; ++d)
                if (d != c) nearest = std::min(nearest, LabDistanceSquared(centres[c], centres[d]));
            half[c] = std::sqrt(nearest) / 2;
        }
        bool changed = false;
        for (std::size_t i = 0; i < n; ++i) {
            const std::size_t a = static_cast<std::size_t>(assigned[i]);
            upper[i] += move[a];
            lower[i] -= a == fastest ? secondMove : move[fastest];
            const double bound = std::max(half[a], lower[i]);
            if (upper[i] <= bound) continue;
            upper[i] = std::sqrt(LabDistanceSquared(sample[i], centres[a]));
            if (upper[i] <= bound) continue;
            int c = 0;
            scan(i, c, upper[i], lower[i]);
            if (static_cast<std::size_t>(c) != a) {
                changed = true;
                add(i, a, -1);
                --counts[a];
                add(i, static_cast<std::size_t>(c), 1);
                ++counts[static_cast<std::size_t>(c)];
                assigned[i] = c;
            }
        }
        if (!changed) break;
    }
    // The final centres are the means of their samples.
    for (std::size_t c = 0; c < k; ++c)
        if (counts[c] > 0) {
            const double m = static_cast<double>(counts[c]);
            centres[c] = {sums[3 * c] / m, sums[3 * c + 1] / m, sums[3 * c + 2] / m};
        }
}

} // namespace

int NearestCentre(const std::vector<TLab>& centres, const TLab& lab) {
    int best = 0;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (std::size_t c = 0; c < centres.size(); ++c) {
        const double d = LabDistanceSquared(lab, centres[c]);
        if (d < bestDistance) {
            bestDistance = d;
            best = static_cast<int>(c);
        }
    }
    return best;
}

TColorCountPalette FitColorPalette(const TRaster24& picture, const TColorCountSettings& s) {
    TNullProgress progress;
    return FitColorPalette(picture, s, progress);
}

TColorCountPalette FitColorPalette(const TRaster24& picture, const TColorCountSettings& s,
                                   IProgressSink& progress) {
    TColorCountPalette out;
    const int k = std::clamp(s.Colors, 1, MaxColorCount);
    const int iterations = std::max(0, s.MaxIterations);
    // The bar: one step per centre seeded, one per iteration.
    TProgressRun run(progress, ReductionMessage, 0, k + iterations);
    int position = 0;
    const TTick tick = [&] { run.Step(++position); };
    TSplitMix64 rng(s.Seed);
    const std::vector<TLab> sample = DrawSample(picture, s.Samples, rng);
    out.Centres = SeedCentres(sample, k, rng, tick);
    position = k;
    Lloyd(sample, out.Centres, iterations, tick);
    for (const TLab& c : out.Centres)
        out.Colors.push_back(LabToColor(c));
    return out;
}

void ApplyColorPalette(const TColorCountPalette& palette, const TRaster24& picture, TRaster24& out,
                       int threads) {
    if (out.Width() != picture.Width() || out.Height() != picture.Height())
        out = TRaster24(picture.Width(), picture.Height());
    if (picture.Empty() || palette.Centres.empty()) return;
    // Centre index per 24-bit colour, 0xFF while unknown. Workers share it: each entry is a pure
    // function of its colour, so whichever worker writes it writes the same value.
    constexpr std::uint8_t Unknown = 0xFF;
    std::vector<std::uint8_t> cache(std::size_t(1) << 24, Unknown);
    auto work = [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y) {
            const std::uint8_t* p = picture.Row(y);
            std::uint8_t* o = out.Row(y);
            for (int x = 0; x < picture.Width(); ++x, p += 3, o += 3) {
                const TColor c = PixelColor(p);
                std::atomic_ref<std::uint8_t> slot(cache[c]);
                std::uint8_t k = slot.load(std::memory_order_relaxed);
                if (k == Unknown) {
                    k = static_cast<std::uint8_t>(NearestCentre(palette.Centres, ColorToLab(c)));
                    slot.store(k, std::memory_order_relaxed);
                }
                const TColor v = palette.Colors[k];
                o[0] = static_cast<std::uint8_t>(v >> 16);
                o[1] = static_cast<std::uint8_t>(v >> 8);
                o[2] = static_cast<std::uint8_t>(v);
            }
        }
    };
    if (threads <= 0) threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    threads = std::clamp(threads, 1, std::max(1, picture.Height()));
    if (threads == 1) {
        work(0, picture.Height());
        return;
    }
    std::vector<std::thread> workers;
    const int h = picture.Height();
    for (int t = 0; t < threads; ++t)
        workers.emplace_back(work, h * t / threads, h * (t + 1) / threads);
    for (std::thread& w : workers)
        w.join();
}

TReducedPair ReduceScaledPictureToCount(const TRaster24& scaled, TCropRect crop,
                                        const TColorCountSettings& settings, int specks,
                                        IProgressSink& progress) {
    // The crop and the unreduced copy as the step reduction makes them; step 1 changes nothing.
    TReducedPair out = ReduceScaledPicture(scaled, crop, 1, 0, progress);
    const TColorCountPalette palette = FitColorPalette(out.Original, settings, progress);
    ApplyColorPalette(palette, out.Original, out.Reduced, settings.Threads);
    if (specks > 0) RemoveSpecks(out.Reduced, specks, progress);
    return out;
}

} // namespace pigmentaria
