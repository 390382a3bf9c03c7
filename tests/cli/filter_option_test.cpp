// The convert command's filter option read into the filter dialogs' settings.
#include "cli/filter_option.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace pigmentaria::cli {
namespace {

TEST(FilterOptionTest, SettingsAreReadIntoTheDialogValues) {
    TFilterSettings s;
    EXPECT_EQ(ParseFilterOption("sharpen:sigma=1.0,strength=60", s), TFilterKind::Sharpen);
    EXPECT_EQ(s.Sharpen.StdDeviation, 1.0);
    EXPECT_EQ(s.Sharpen.Strength, 60);
    EXPECT_EQ(ParseFilterOption("BCG:contrast=1.5,apply=y,brightness=-20", s), TFilterKind::BCG);
    EXPECT_EQ(s.Contrast, 1.5);
    EXPECT_TRUE(s.BCGUseY);
    EXPECT_EQ(s.Brightness, -20);
    EXPECT_EQ(ParseFilterOption("hsv:h=90,s=-10", s), TFilterKind::HSV);
    EXPECT_EQ(s.HSV[0], 90);
    EXPECT_EQ(s.HSV[1], -10);
    EXPECT_EQ(ParseFilterOption("contour:background=black", s), TFilterKind::Contour);
    EXPECT_FALSE(s.ContourWhiteBackground);
    EXPECT_EQ(ParseFilterOption("negative", s), TFilterKind::Negative);
    EXPECT_THROW(ParseFilterOption("sharpen:sigma=abc", s), std::invalid_argument);
    EXPECT_THROW(ParseFilterOption("emboss", s), std::invalid_argument);
    EXPECT_THROW(ParseFilterOption("rgb:q=4", s), std::invalid_argument);
}

} // namespace
} // namespace pigmentaria::cli
