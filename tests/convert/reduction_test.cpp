#include "convert/reduction.h"
#include "test_util.h"

#include <gtest/gtest.h>

namespace pigmentaria {
namespace {

using test::RasterFromText;

const std::map<char, TColor> Palette = {{'a', 0x0000C0}, {'b', 0x00C000}, {'c', 0xC00000}};

TEST(ReductionTest, CropOfASelectionAtZoomTwo) {
    const TCropRect crop = ScaledCropRect(100, 100, 2.0, TCropRect{10, 10, 20, 30});
    EXPECT_EQ(crop, (TCropRect{20, 20, 40, 60}));
    EXPECT_EQ(ScaledCropRect(101, 51, 0.5, std::nullopt), (TCropRect{0, 0, 50, 25}));
}

TEST(ReductionTest, StepOneKeepsTheCropAndStep255SplitsAt255) {
    TRaster24 pic(4, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            pic.SetPixel(x, y, MakeColor(x * 60 + y, 254, 255 - x));
    TNullProgress p;
    const TReducedPair same = ReduceScaledPicture(pic, {1, 1, 4, 3}, 1, 0, p);
    ASSERT_EQ(same.Reduced.Width(), 3);
    ASSERT_EQ(same.Reduced.Height(), 2);
    EXPECT_EQ(same.Reduced, same.Original);
    EXPECT_EQ(same.Reduced.GetPixel(0, 0), pic.GetPixel(1, 1));
    const TReducedPair two = ReduceScaledPicture(pic, {0, 0, 4, 3}, 255, 0, p);
    EXPECT_EQ(two.Reduced.GetPixel(0, 0), MakeColor(0, 0, 255));
    EXPECT_EQ(two.Reduced.GetPixel(1, 0), MakeColor(0, 0, 0));
    EXPECT_EQ(two.Original, pic);
}

TEST(ReductionTest, StepNinetyGivesThreeLevels) {
    TRaster24 pic(3, 1);
    pic.SetPixel(0, 0, MakeColor(89, 90, 179));
    pic.SetPixel(1, 0, MakeColor(180, 255, 0));
    test::TRecordingProgress p;
    const TReducedPair r = ReduceScaledPicture(pic, {0, 0, 3, 1}, 90, 0, p);
    EXPECT_EQ(r.Reduced.GetPixel(0, 0), MakeColor(0, 90, 90));
    EXPECT_EQ(r.Reduced.GetPixel(1, 0), MakeColor(180, 180, 0));
    EXPECT_EQ(p.Messages, (std::vector<std::string>{"Performing Color Reduction..."}));
    EXPECT_EQ(p.Positions, (std::vector<int>{1}));
}

TEST(SpeckRemovalTest, LonePixelGoesAtLevelOne) {
    TRaster24 r = RasterFromText({"aaaa", "abaa", "aaaa", "aaaa"}, Palette);
    TNullProgress p;
    RemoveSpecks(r, 1, p);
    EXPECT_EQ(r, RasterFromText({"aaaa", "aaaa", "aaaa", "aaaa"}, Palette));
}

TEST(SpeckRemovalTest, TwoByTwoBlockStaysUpToLevelThreeAndIsEatenAtFour) {
    const std::vector<std::string> block = {"aaaaaa", "aaaaaa", "aabbaa",
                                            "aabbaa", "aaaaaa", "aaaaaa"};
    for (int level = 1; level <= 3; ++level) {
        TRaster24 r = RasterFromText(block, Palette);
        TNullProgress p;
        RemoveSpecks(r, level, p);
        EXPECT_EQ(r, RasterFromText(block, Palette)) << "level " << level;
    }
    TRaster24 r = RasterFromText(block, Palette);
    test::TRecordingProgress p;
    RemoveSpecks(r, 4, p);
    EXPECT_EQ(
        r, RasterFromText({"aaaaaa", "aaaaaa", "aaaaaa", "aaaaaa", "aaaaaa", "aaaaaa"}, Palette));
    EXPECT_EQ(p.Messages, (std::vector<std::string>{"Performing Simplification..."}));
    EXPECT_EQ(p.Positions, (std::vector<int>{1, 2, 3, 4}));
}

TEST(SpeckRemovalTest, VoteTakesTheFirstMostCommonNeighbourAndBordersStay) {
    // Centre 'c' has neighbours W=a NW=b N=b NE=a E=a SE=b S=b SW=a: a and b tie at four; W is
    // first in the vote order, so the pixel becomes 'a'.
    TRaster24 r = RasterFromText({"bba", "aca", "abb"}, Palette);
    TNullProgress p;
    RemoveSpecks(r, 1, p);
    EXPECT_EQ(r.GetPixel(1, 1), Palette.at('a'));
    EXPECT_EQ(r.GetPixel(0, 0), Palette.at('b'));
    TRaster24 row = RasterFromText({"abcab"}, Palette);
    RemoveSpecks(row, 4, p);
    EXPECT_EQ(row, RasterFromText({"abcab"}, Palette));
}

} // namespace
} // namespace pigmentaria
