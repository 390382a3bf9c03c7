#include "convert/color_count.h"
#include "image/pixel_graphic.h"
#include "palette/color_science.h"
#include "test_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

namespace pigmentaria {
namespace {

TRaster24 NoisyGradient(int w, int h, unsigned seed) {
    std::mt19937 rng(seed);
    TRaster24 r(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            r.SetPixel(x, y,
                       MakeColor((x * 255 / w + static_cast<int>(rng() % 30)) & 0xFF,
                                 (y * 255 / h + static_cast<int>(rng() % 30)) & 0xFF,
                                 static_cast<int>(rng() % 256)));
    return r;
}

class TStopInSecondRun final : public IProgressSink {
public:
    void Start(const std::string&, int, int) override { ++Starts; }
    bool Position(int) override { return Starts == 2; }
    void Finish() override { ++Finishes; }
    int Starts = 0, Finishes = 0;
};

std::set<TColor> ColorsOf(const TRaster24& r) {
    std::set<TColor> out;
    for (int y = 0; y < r.Height(); ++y)
        for (int x = 0; x < r.Width(); ++x)
            out.insert(r.GetPixel(x, y));
    return out;
}

TEST(ColorCountTest, SameColoursOnEveryRunAndWithAnyNumberOfWorkers) {
    const TRaster24 picture = NoisyGradient(300, 200, 5);
    TColorCountSettings s;
    s.Colors = 16;
    s.Samples = 5000; // a sample smaller than the picture: the drawing must repeat too
    const TColorCountPalette first = FitColorPalette(picture, s);
    const TColorCountPalette again = FitColorPalette(picture, s);
    ASSERT_EQ(first.Colors, again.Colors);
    ASSERT_EQ(first.Centres.size(), 16u);
    TRaster24 one, two, three;
    ApplyColorPalette(first, picture, one, 1);
    ApplyColorPalette(first, picture, two, 2);
    ApplyColorPalette(first, picture, three, 3);
    EXPECT_EQ(one, two);
    EXPECT_EQ(one, three);
    EXPECT_LE(ColorsOf(one).size(), 16u);
    // Another seed draws another sample.
    s.Seed = 12345;
    EXPECT_NE(FitColorPalette(picture, s).Colors, first.Colors);
}

TEST(ColorCountTest, EveryPixelTakesItsNearestCentre) {
    const TRaster24 picture = NoisyGradient(64, 48, 9);
    TColorCountSettings s;
    s.Colors = 6;
    const TColorCountPalette p = FitColorPalette(picture, s);
    TRaster24 out;
    ApplyColorPalette(p, picture, out, 2);
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x) {
            const TLab lab = ColorToLab(picture.GetPixel(x, y));
            const TColor got = out.GetPixel(x, y);
            double best = 1e300;
            for (const TLab& c : p.Centres)
                best = std::min(best, LabDistanceSquared(lab, c));
            const std::size_t k = static_cast<std::size_t>(NearestCentre(p.Centres, lab));
            ASSERT_EQ(got, p.Colors[k]);
            ASSERT_EQ(LabDistanceSquared(lab, p.Centres[k]), best);
        }
}

TEST(ColorCountTest, TiesGoToTheLowerCentre) {
    const std::vector<TLab> centres = {{50, 10, 0}, {50, -10, 0}, {50, 10, 0}};
    EXPECT_EQ(NearestCentre(centres, {50, 0, 0}), 0);
    EXPECT_EQ(NearestCentre(centres, {50, 9, 0}), 0);
    EXPECT_EQ(NearestCentre(centres, {50, -3, 0}), 1);
}

TEST(ColorCountTest, APictureOfFewColoursKeepsThem) {
    TRaster24 picture(30, 10);
    const TColor colors[3] = {MakeColor(200, 30, 30), MakeColor(20, 160, 40),
                              MakeColor(240, 240, 200)};
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 30; ++x)
            picture.SetPixel(x, y, colors[(x / 10 + y) % 3]);
    TColorCountSettings s;
    s.Colors = 24; // more than there are
    const TColorCountPalette p = FitColorPalette(picture, s);
    EXPECT_EQ(p.Centres.size(), 3u);
    TRaster24 out;
    ApplyColorPalette(p, picture, out);
    EXPECT_EQ(out, picture);
}

TEST(ColorCountTest, ReductionOfAnImportCropsAndKeepsTheOriginal) {
    const TRaster24 picture = NoisyGradient(40, 30, 2);
    TColorCountSettings s;
    s.Colors = 5;
    TNullProgress progress;
    const TReducedPair r = ReduceScaledPictureToCount(picture, {5, 4, 25, 20}, s, 0, progress);
    ASSERT_EQ(r.Reduced.Width(), 20);
    ASSERT_EQ(r.Reduced.Height(), 16);
    EXPECT_EQ(r.Original.GetPixel(0, 0), picture.GetPixel(5, 4));
    EXPECT_LE(ColorsOf(r.Reduced).size(), 5u);
}

TEST(ColorCountTest, TheFitReportsEveryCentreAndIterationAndStopsWhenAsked) {
    const TRaster24 picture = NoisyGradient(50, 40, 6);
    TColorCountSettings s;
    s.Colors = 6;
    s.MaxIterations = 10;
    test::TRecordingProgress rec;
    const TColorCountPalette fitted = FitColorPalette(picture, s, rec);
    EXPECT_EQ(rec.Messages, std::vector<std::string>{ReductionMessage});
    EXPECT_EQ(rec.Max, 6 + 10);
    EXPECT_EQ(rec.Finishes, 1);
    // One report per centre after the first, then one per iteration until the centres settle.
    ASSERT_GE(rec.Positions.size(), 6u);
    EXPECT_TRUE(std::is_sorted(rec.Positions.begin(), rec.Positions.end()));
    EXPECT_LE(rec.Positions.back(), rec.Max);
    // The quiet form fits the same colours.
    EXPECT_EQ(FitColorPalette(picture, s).Colors, fitted.Colors);

    // Stopped in the seeding and in the iterations.
    for (int at : {1, 5}) {
        SCOPED_TRACE(at);
        test::TRecordingProgress stop;
        stop.AbortAt = at;
        EXPECT_THROW(FitColorPalette(picture, s, stop), EAborted);
        EXPECT_EQ(stop.Finishes, 1);
        EXPECT_EQ(static_cast<int>(stop.Positions.size()), at + 1);
    }
    // The reduction of an import stops in its colour fitting (its second run: the first copies
    // the crop), and the picture it read is as it was.
    const TRaster24 before = picture;
    TStopInSecondRun stop;
    EXPECT_THROW(ReduceScaledPictureToCount(picture, {0, 0, 50, 40}, s, 0, stop), EAborted);
    EXPECT_EQ(stop.Starts, 2);
    EXPECT_EQ(stop.Finishes, 2);
    EXPECT_EQ(picture, before);
}

// On the bundled photo, 24 colours by count stay much nearer to the photo than the step of 90.
TEST(ColorCountTest, FollowsAPhotoBetterThanTheStep) {
    TPixelGraphic g;
    g.LoadFromFile(std::string(PIGMENTARIA_SAMPLES) + "/coffee.png");
    const TRaster24 photo = g.ToRaster24();
    TNullProgress progress;
    const TReducedPair byStep =
        ReduceScaledPicture(photo, {0, 0, photo.Width(), photo.Height()}, 90, 0, progress);
    const TReducedPair byCount = ReduceScaledPictureToCount(
        photo, {0, 0, photo.Width(), photo.Height()}, TColorCountSettings{}, 0, progress);
    double step = 0, count = 0;
    for (int y = 0; y < photo.Height(); y += 3)
        for (int x = 0; x < photo.Width(); x += 3) {
            step += DeltaE2000(photo.GetPixel(x, y), byStep.Reduced.GetPixel(x, y));
            count += DeltaE2000(photo.GetPixel(x, y), byCount.Reduced.GetPixel(x, y));
        }
    EXPECT_LT(count, step / 2);
}

} // namespace
} // namespace pigmentaria
