#include "print/preview.h"

#include "print_fakes.h"

#include <gtest/gtest.h>

namespace pigmentaria {
namespace {

TEST(PreviewPages, OnOneSheetEveryButtonStaysOnPageOne) {
    TPreviewPages p(1, 1);
    EXPECT_FALSE(p.Next());
    EXPECT_FALSE(p.Previous());
    EXPECT_FALSE(p.DownOneRow());
    EXPECT_FALSE(p.UpOneRow());
    EXPECT_EQ(p.Page(), 1);
    EXPECT_EQ(p.Label(), "   Page: 1   (Row 1  Col 1)");
}

TEST(PreviewPages, SteppingThroughAThreeByTwoGrid) {
    TPreviewPages p(3, 2);
    EXPECT_EQ(p.Count(), 6);
    ASSERT_TRUE(p.Next());
    EXPECT_EQ(p.Page(), 2);
    ASSERT_TRUE(p.DownOneRow());
    EXPECT_EQ(p.Page(), 5);
    EXPECT_EQ(p.Row(), 2);
    EXPECT_EQ(p.Column(), 2);
    EXPECT_FALSE(p.DownOneRow());
    EXPECT_EQ(p.Page(), 5);
    ASSERT_TRUE(p.UpOneRow());
    EXPECT_EQ(p.Page(), 2);
    ASSERT_TRUE(p.Next());
    ASSERT_TRUE(p.Next());
    EXPECT_EQ(p.Page(), 4);
    EXPECT_EQ(p.Label(), "   Page: 4   (Row 2  Col 1)");
    ASSERT_TRUE(p.Next());
    ASSERT_TRUE(p.Next());
    EXPECT_FALSE(p.Next());
    EXPECT_EQ(p.Page(), 6);
}

TEST(PreviewPages, LabelOfPageThreeOfAGridTwoAcross) {
    TPreviewPages p(2, 3);
    p.Next();
    p.Next();
    EXPECT_EQ(p.Label(), "   Page: 3   (Row 2  Col 1)");
}

TEST(PreviewZoom, InStopsPastThreeAndOutKeepsTheFactorPositive) {
    double z = PreviewZoomIn(2.95);
    EXPECT_NEAR(z, 3.05, 1e-12);
    EXPECT_EQ(PreviewZoomIn(z), z);
    EXPECT_EQ(PreviewZoomIn(3.0), 3.0);
    z = 0.35;
    for (int i = 0; i < 10; ++i)
        z = PreviewZoomOut(z);
    EXPECT_GT(z, 0.0);
    EXPECT_NEAR(z, 0.05, 1e-9);
    EXPECT_NEAR(PreviewZoomOut(1.0), 0.9, 1e-12);
}

TEST(PreviewSheet, AWholeSheetAtScreenResolution) {
    TPrintSettings s;
    TPrintLayout l = ComputePrintLayout(test::LetterAt600(0.25), poPortrait, s, 96, 96);
    EXPECT_EQ(PreviewSheetSize(l).Width, 816);
    EXPECT_EQ(PreviewSheetSize(l).Height, 1056);
    l = ComputePrintLayout(test::LetterAt600(), poPortrait, s, 120, 72);
    EXPECT_EQ(PreviewSheetSize(l).Width, 1020);
    EXPECT_EQ(PreviewSheetSize(l).Height, 792);
}

} // namespace
} // namespace pigmentaria
