#include "convert/color_count.h"
#include "convert/region_cleanup.h"
#include "convert/regions.h"
#include "palette/color_science.h"
#include "test_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <random>
#include <stdexcept>

namespace pigmentaria {
namespace {

using test::RasterFromText;

const std::map<char, TColor> Colors = {
    {'a', 0x0000C0}, {'b', 0x00C000}, {'c', 0xC00000}, {'d', 0x404040}};

std::vector<TRegionMerge> Clean(TRaster24& reduced, const TRaster24& original, TCleanupSettings s) {
    TNullProgress progress;
    std::vector<TRegionMerge> log;
    CleanUpRegions(reduced, original, s, progress, &log);
    return log;
}

TEST(RegionCleanupTest, SmallestFirstAndEqualSizesByRegionNumber) {
    TRaster24 r = RasterFromText({"aaaaaa", "abaaca", "aaaaaa", "aaadda"}, Colors);
    const TRaster24 original = r;
    // b (region 1) and c (region 2) have one pixel each, d two: b first, then c, then d.
    const auto log = Clean(r, original, {3, 0});
    EXPECT_EQ(log, (std::vector<TRegionMerge>{{1, 0, 1}, {2, 0, 1}, {3, 0, 2}}));
    EXPECT_EQ(r, RasterFromText({"aaaaaa", "aaaaaa", "aaaaaa", "aaaaaa"}, Colors));
}

TEST(RegionCleanupTest, LongestBorderWins) {
    // b (region 2: d's first pixel comes earlier) touches a along three edges and d along one.
    TRaster24 r = RasterFromText({"aaad", "abdd", "aaad"}, Colors);
    const auto log = Clean(r, r, {2, 0});
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log[0].Region, 2u);
    EXPECT_EQ(log[0].Into, 0u);
    EXPECT_EQ(r.GetPixel(1, 1), Colors.at('a'));
}

TEST(RegionCleanupTest, EqualBordersGoToTheNearerPhotoColourThenTheLowerNumber) {
    // c (region 1) shares one edge with a (region 0) and one with b (region 2).
    const TRaster24 reduced = RasterFromText({"aacbb"}, Colors);
    TRaster24 nearB(5, 1), nearA(5, 1), same(5, 1);
    for (int x = 0; x < 5; ++x) {
        const TColor left = MakeColor(200, 40, 40), right = MakeColor(40, 40, 200);
        nearB.SetPixel(x, 0, x < 2 ? left : right);
        nearA.SetPixel(x, 0, x <= 2 ? left : right);
        same.SetPixel(x, 0, x == 2 ? MakeColor(0, 200, 0) : MakeColor(90, 90, 90));
    }
    nearB.SetPixel(2, 0, MakeColor(60, 40, 190));
    nearA.SetPixel(2, 0, MakeColor(190, 50, 40));
    TRaster24 r = reduced;
    EXPECT_EQ(Clean(r, nearB, {2, 0})[0], (TRegionMerge{1, 2, 1}));
    EXPECT_EQ(r.GetPixel(2, 0), Colors.at('b'));
    r = reduced;
    EXPECT_EQ(Clean(r, nearA, {2, 0})[0], (TRegionMerge{1, 0, 1}));
    EXPECT_EQ(r.GetPixel(2, 0), Colors.at('a'));
    // Both neighbours look alike in the photo: the lower number.
    r = reduced;
    EXPECT_EQ(Clean(r, same, {2, 0})[0], (TRegionMerge{1, 0, 1}));
}

TEST(RegionCleanupTest, NarrowStripesGoAndWideSquaresStay) {
    // A 7 x 7 square of b and a stripe of c two pixels wide in a field of a.
    std::vector<std::string> rows(11, std::string(14, 'a'));
    for (int y = 2; y < 9; ++y)
        for (int x = 1; x < 8; ++x)
            rows[y][x] = 'b';
    for (int y = 0; y < 11; ++y)
        rows[y][10] = rows[y][11] = 'c';
    TRaster24 r = RasterFromText(rows, Colors);
    const TRaster24 original = r;
    Clean(r, original, {0, 5});
    EXPECT_EQ(r.GetPixel(4, 5), Colors.at('b'));
    for (int y = 0; y < 11; ++y)
        EXPECT_NE(r.GetPixel(10, y), Colors.at('c'));
    EXPECT_EQ(original.GetPixel(10, 0), Colors.at('c')) << "the photo is left alone";
}

TEST(RegionCleanupTest, TwoNarrowRegionsThatTogetherHoldTheCircleStopMerging) {
    // a and b are three pixels wide each and cannot hold a circle of 5; side by side they can.
    // a (region 0) is merged into b, its only neighbour, and the union stays.
    TRaster24 r = RasterFromText({"aaabbbcccccc", "aaabbbcccccc", "aaabbbcccccc", "aaabbbcccccc",
                                  "aaabbbcccccc", "aaabbbcccccc", "aaabbbcccccc"},
                                 Colors);
    const auto log = Clean(r, r, {0, 5});
    EXPECT_EQ(log, (std::vector<TRegionMerge>{{0, 1, 21}}));
    EXPECT_EQ(r.GetPixel(0, 0), Colors.at('b'));
    EXPECT_EQ(r.GetPixel(6, 0), Colors.at('c'));
}

TEST(RegionCleanupTest, APictureOfOneRegionStays) {
    TRaster24 r(3, 2, Colors.at('a'));
    const TRaster24 before = r;
    TNullProgress progress;
    const TCleanupResult res = CleanUpRegions(r, before, {100, 50}, progress);
    EXPECT_EQ(res.RegionsBefore, 1u);
    EXPECT_EQ(res.RegionsAfter, 1u);
    EXPECT_EQ(res.Merges, 0u);
    EXPECT_EQ(r, before);
}

TEST(RegionCleanupTest, InactiveSettingsChangeNothingAndSizesMustAgree) {
    TRaster24 r = RasterFromText({"abab", "baba"}, Colors);
    const TRaster24 before = r;
    TNullProgress progress;
    const TCleanupResult res = CleanUpRegions(r, before, {}, progress);
    EXPECT_EQ(r, before);
    EXPECT_EQ(res.RegionsBefore, 8u);
    EXPECT_EQ(res.RegionsAfter, 8u);
    EXPECT_THROW(CleanUpRegions(r, TRaster24(3, 2), {2, 0}, progress), std::invalid_argument);
}

// The clean-up written the slow way: regions recomputed from scratch after every merge.
std::vector<TRegionMerge> NaiveCleanUp(TRaster24& reduced, const TRaster24& original,
                                       const TCleanupSettings& s) {
    const int w = reduced.Width(), h = reduced.Height();
    const std::size_t n = static_cast<std::size_t>(w) * h;
    const TRegionMap initial = LabelRegions(reduced);
    std::vector<std::uint32_t> group(initial.Label); // a group is named by its lowest number
    std::vector<TColor> color(initial.Count);
    for (std::size_t i = 0; i < n; ++i)
        color[group[i]] = reduced.GetPixel(static_cast<int>(i % w), static_cast<int>(i / w));
    const std::int32_t need = s.MinDiameter > 0 ? DistanceSquaredForDiameter(s.MinDiameter) : 0;
    std::vector<TRegionMerge> log;
    for (;;) {
        std::map<std::uint32_t, std::int64_t> area;
        std::map<std::uint32_t, std::array<std::uint64_t, 3>> sum;
        std::map<std::uint32_t, bool> thick;
        std::map<std::uint32_t, std::map<std::uint32_t, int>> borders;
        for (std::size_t i = 0; i < n; ++i) {
            const int x = static_cast<int>(i % w), y = static_cast<int>(i / w);
            const std::uint32_t g = group[i];
            ++area[g];
            const TColor o = original.GetPixel(x, y);
            sum[g][0] += RedOf(o);
            sum[g][1] += GreenOf(o);
            sum[g][2] += BlueOf(o);
            if (x + 1 < w && group[i + 1] != g) {
                ++borders[g][group[i + 1]];
                ++borders[group[i + 1]][g];
            }
            if (y + 1 < h && group[i + w] != g) {
                ++borders[g][group[i + w]];
                ++borders[group[i + w]][g];
            }
            bool centre = need > 0;
            for (int qy = y - 40; qy <= y + 40 && centre; ++qy)
                for (int qx = x - 40; qx <= x + 40 && centre; ++qx) {
                    if ((qx - x) * (qx - x) + (qy - y) * (qy - y) >= need) continue;
                    centre = qx >= 0 && qy >= 0 && qx < w && qy < h &&
                             group[static_cast<std::size_t>(qy) * w + qx] == g;
                }
            thick[g] = thick[g] || centre || need == 0;
        }
        auto lab = [&](std::uint32_t g) {
            const double a = static_cast<double>(area[g]) * 255.0;
            return LinearRgbToLab(SrgbToLinear(sum[g][0] / a), SrgbToLinear(sum[g][1] / a),
                                  SrgbToLinear(sum[g][2] / a));
        };
        bool found = false;
        std::uint32_t pick = 0;
        for (const auto& [g, a] : area) {
            const bool small = a < s.MinArea || !thick[g];
            if (!small || borders[g].empty()) continue;
            if (!found || a < area[pick] || (a == area[pick] && g < pick)) {
                pick = g;
                found = true;
            }
        }
        if (!found) break;
        std::uint32_t into = 0;
        int best = -1;
        double bestDelta = 0;
        for (const auto& [c, len] : borders[pick]) {
            const double d = DeltaE2000(lab(pick), lab(c));
            if (len > best || (len == best && d < bestDelta)) {
                best = len;
                bestDelta = d;
                into = c;
            }
        }
        log.push_back({pick, into, area[pick]});
        const std::uint32_t merged = std::min(pick, into);
        color[merged] = color[into];
        for (std::uint32_t& g : group)
            if (g == pick || g == into) g = merged;
    }
    for (std::size_t i = 0; i < n; ++i)
        reduced.SetPixel(static_cast<int>(i % w), static_cast<int>(i / w), color[group[i]]);
    return log;
}

TEST(RegionCleanupTest, MergesAsTheSlowWayOnRandomPictures) {
    std::mt19937 rng(11);
    const TCleanupSettings settings[] = {{3, 0}, {7, 0}, {0, 2}, {0, 3}, {0, 4.5}, {5, 3.5}};
    for (int round = 0; round < 36; ++round) {
        const int w = 8 + static_cast<int>(rng() % 17), h = 6 + static_cast<int>(rng() % 13);
        TRaster24 r(w, h), original(w, h);
        const TColor palette[4] = {0x000010, 0x001000, 0x100000, 0x101010};
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                TColor c = palette[rng() % 4];
                if (rng() % 3 && x > 0) c = r.GetPixel(x - 1, y);
                if (rng() % 3 == 0 && y > 0) c = r.GetPixel(x, y - 1);
                r.SetPixel(x, y, c);
                original.SetPixel(x, y, MakeColor(rng() % 256, rng() % 256, rng() % 256));
            }
        const TCleanupSettings s = settings[round % 6];
        TRaster24 fast = r, slow = r;
        const auto fastLog = Clean(fast, original, s);
        const auto slowLog = NaiveCleanUp(slow, original, s);
        ASSERT_EQ(fastLog, slowLog) << "round " << round;
        ASSERT_EQ(fast, slow) << "round " << round;
    }
}

TEST(RegionCleanupTest, NoRegionUnderTheLimitsSurvivesOnAPhoto) {
    // A photo-like picture: smooth gradients with noise, reduced to 12 colours.
    TRaster24 photo(160, 120);
    std::mt19937 rng(3);
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 160; ++x)
            photo.SetPixel(
                x, y,
                MakeColor(std::clamp<int>(x + static_cast<int>(rng() % 40), 0, 255),
                          std::clamp<int>(y * 2 + static_cast<int>(rng() % 40), 0, 255),
                          std::clamp<int>((x * y) / 80 + static_cast<int>(rng() % 60), 0, 255)));
    TColorCountSettings k;
    k.Colors = 12;
    TRaster24 reduced;
    ApplyColorPalette(FitColorPalette(photo, k), photo, reduced);
    const TCleanupSettings s{20, 6.5};
    TNullProgress progress;
    const TCleanupResult res = CleanUpRegions(reduced, photo, s, progress);
    EXPECT_GT(res.RegionsBefore, 200u);
    EXPECT_LT(res.RegionsAfter, res.RegionsBefore);
    const TRegionMap m = LabelRegions(reduced);
    const auto rooms = MeasureRegions(m, RegionDistanceSquared(m));
    ASSERT_GT(rooms.size(), 1u);
    for (std::size_t i = 0; i < rooms.size(); ++i) {
        EXPECT_GE(rooms[i].Area, s.MinArea) << "region " << i;
        EXPECT_GE(InscribedDiameter(rooms[i].MaxDistanceSquared), s.MinDiameter) << "region " << i;
    }
    EXPECT_LE(m.Count, res.RegionsAfter) << "neighbours that ended in one colour join";
}

// Asks to stop at the first report of the n-th run (counted from 1), whatever its message.
class TStopInRun final : public IProgressSink {
public:
    explicit TStopInRun(int run) : Run_(run) {}
    void Start(const std::string& message, int, int) override {
        Messages.push_back(message);
        ++Runs;
    }
    bool Position(int) override { return Runs == Run_; }
    void Finish() override { ++Finishes; }
    std::vector<std::string> Messages;
    int Runs = 0, Finishes = 0;

private:
    int Run_;
};

TEST(RegionCleanupTest, NecksAndTonguesOneOrTwoPixelsWideGoToTheirNeighbours) {
    // a: two 3 x 3 blocks joined by a neck one pixel high; b: a band two pixels high between a
    // and c; d: a block two wide at the picture's corner, where the edge counts as any colour.
    TRaster24 r = RasterFromText({"aaacccaaac", //
                                  "aaaaaaaaac", //
                                  "aaacccaaac", //
                                  "bbbbbbcccc", //
                                  "bbbbbbcccc", //
                                  "ccccccccdd", //
                                  "ccccccccdd", //
                                  "ccccccccdd"},
                                 Colors);
    const TRaster24 before = r;
    TNullProgress progress;
    const std::int64_t changed = CutNecks(r, progress);
    const TColor a = Colors.at('a'), b = Colors.at('b'), c = Colors.at('c'), d = Colors.at('d');
    for (int x = 3; x < 6; ++x)
        EXPECT_EQ(r.GetPixel(x, 1), c) << "the neck goes to c above and below it";
    EXPECT_EQ(r.GetPixel(1, 1), a);
    EXPECT_EQ(r.GetPixel(7, 1), a);
    // The band: every pixel takes the colour most of its other neighbours have.
    EXPECT_EQ(r.GetPixel(0, 3), a);
    EXPECT_EQ(r.GetPixel(4, 3), c);
    EXPECT_EQ(r.GetPixel(4, 4), c);
    for (int y = 3; y < 5; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_NE(r.GetPixel(x, y), b) << x << "," << y;
    for (int y = 5; y < 8; ++y) {
        EXPECT_EQ(r.GetPixel(8, y), d);
        EXPECT_EQ(r.GetPixel(9, y), d);
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(r.GetPixel(x, y), c);
    }
    std::int64_t differ = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x)
            differ += r.GetPixel(x, y) != before.GetPixel(x, y);
    EXPECT_EQ(differ, changed);

    // Stopped, nothing changes.
    TRaster24 stopped = before;
    TStopInRun stop(1);
    EXPECT_THROW(CutNecks(stopped, stop), EAborted);
    EXPECT_EQ(stopped, before);
    EXPECT_EQ(stop.Finishes, 1);

    // A wider square takes tongues up to four pixels wide, the pixels deep inside them too,
    // and keeps a part five wide.
    TRaster24 wide = RasterFromText({"aaaaaacccccccc", //
                                     "aaaaaacccccccc", //
                                     "aaaaaacccccccc", //
                                     "aaaaaaaaaacccc", //
                                     "aaaaaaaaaacccc", //
                                     "aaaaaaaaaacccc", //
                                     "aaaaaaaaaacccc", //
                                     "aaaaaacccccccc", //
                                     "aaaaaacccccccc", //
                                     "aaaaaacccccccc"},
                                    Colors);
    const std::int64_t tongue = CutNecks(wide, progress, 5);
    EXPECT_EQ(tongue, 16);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 14; ++x)
            EXPECT_EQ(wide.GetPixel(x, y), x < 6 ? a : c) << x << "," << y;
}

TEST(RegionCleanupTest, WithNecksCutRegionsAreWideEverywhereNotJustSomewhere) {
    // Two 7 x 7 blocks of a joined by a bar one pixel high and nine long, on b: the region holds
    // a 7-pixel circle, so the merges alone keep the bar; cutting necks gives the bar to b, and
    // the two blocks become regions of their own.
    std::vector<std::string> rows(13, std::string(29, 'b'));
    for (int y = 3; y < 10; ++y)
        for (int x = 3; x < 10; ++x)
            rows[y][x] = rows[y][x + 16] = 'a';
    for (int x = 10; x < 19; ++x)
        rows[6][x] = 'a';
    const TRaster24 picture = RasterFromText(rows, Colors);
    TNullProgress progress;
    TRaster24 merged = picture;
    CleanUpRegions(merged, picture, {0, 5}, progress);
    EXPECT_EQ(merged, picture);
    TCleanupSettings s{0, 5};
    s.CutNecks = true;
    TRaster24 cut = picture;
    const TCleanupResult res = CleanUpRegions(cut, picture, s, progress);
    EXPECT_EQ(res.NeckPixels, 9);
    EXPECT_EQ(res.RegionsBefore, 2u);
    EXPECT_EQ(res.RegionsAfter, 3u);
    for (int x = 10; x < 19; ++x)
        EXPECT_EQ(cut.GetPixel(x, 6), Colors.at('b'));
    EXPECT_EQ(LabelRegions(cut).Count, 3u);
}

TEST(RegionCleanupTest, StoppedAtAnyReportTheCleanUpLeavesThePictureAsItWas) {
    TRaster24 photo(60, 40);
    std::mt19937 rng(8);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x)
            photo.SetPixel(x, y, MakeColor(x * 4 + static_cast<int>(rng() % 50), y * 6, 90));
    TColorCountSettings k;
    k.Colors = 10;
    TRaster24 reduced;
    ApplyColorPalette(FitColorPalette(photo, k), photo, reduced);
    const TRaster24 before = reduced;
    TCleanupSettings s{12, 4};
    s.CutNecks = true;
    // Merging, neck cutting, merging again: a stop in each of the three runs.
    for (int run = 1; run <= 3; ++run) {
        SCOPED_TRACE(run);
        TRaster24 r = before;
        TStopInRun stop(run);
        EXPECT_THROW(CleanUpRegions(r, photo, s, stop), EAborted);
        EXPECT_EQ(r, before);
        EXPECT_EQ(stop.Runs, run);
        EXPECT_EQ(stop.Finishes, run);
        EXPECT_EQ(stop.Messages.back(), CleanupMessage);
    }
    // Without neck cutting, the one run.
    s.CutNecks = false;
    TRaster24 r = before;
    TStopInRun stop(1);
    EXPECT_THROW(CleanUpRegions(r, photo, s, stop), EAborted);
    EXPECT_EQ(r, before);
    // Run through, the bar starts at 0 and ends at the region count.
    test::TRecordingProgress rec;
    CleanUpRegions(r, photo, s, rec);
    EXPECT_EQ(rec.Min, 0);
    ASSERT_FALSE(rec.Positions.empty());
    EXPECT_EQ(rec.Positions.front(), 0);
    EXPECT_EQ(rec.Positions.back(), rec.Max);
    EXPECT_NE(r, before);
}

} // namespace
} // namespace pigmentaria
