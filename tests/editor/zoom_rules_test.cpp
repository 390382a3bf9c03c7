#include "editor/zoom_rules.h"

#include <gtest/gtest.h>

#include <clocale>

namespace pigmentaria {
namespace {

std::vector<std::string> Allowed(int w, int h) {
    std::vector<std::string> out;
    for (const TZoomLevel& l : ZoomLevels)
        if (ZoomLevelAllowed(w, h, l.Factor)) out.push_back(l.Caption);
    return out;
}

TEST(ZoomRulesTest, LevelsAreOfferedWhileBothSidesStayBelow2500) {
    // 1,200 wide: 200 % gives 2,400, 225 % 2,700.
    EXPECT_EQ(Allowed(1200, 300),
              (std::vector<std::string>{"25%", "50%", "75%", "100%", "125%", "150%", "200%"}));
    // 2,500 x 100: "100%" and above are gone, 75 % stays.
    EXPECT_EQ(Allowed(2500, 100), (std::vector<std::string>{"25%", "50%", "75%"}));
    EXPECT_EQ(Allowed(100, 2500), (std::vector<std::string>{"25%", "50%", "75%"}));
    EXPECT_EQ(Allowed(999, 999).size(), 9u);
    EXPECT_EQ(Allowed(1000, 10).size(), 8u); // 2,500 exactly is not below the limit
    EXPECT_EQ(ZoomLevelIndex(1.0), 3);
    EXPECT_EQ(ZoomLevelIndex(2.25), 7);
    EXPECT_FALSE(ZoomLevelIndex(1.75));
}

TEST(ZoomRulesTest, KeysStepToTheNextLevelThePaintingAllows) {
    EXPECT_EQ(SteppedZoomLevel(1.0, +1, 400, 300), 1.25);
    EXPECT_EQ(SteppedZoomLevel(1.0, -1, 400, 300), 0.75);
    // A custom zoom steps to the level next to it, not to the next in a list.
    EXPECT_EQ(SteppedZoomLevel(1.6, +1, 400, 300), 2.0);
    EXPECT_EQ(SteppedZoomLevel(1.6, -1, 400, 300), 1.5);
    // At either end, and where the next level would exceed the limit, the zoom stays.
    EXPECT_EQ(SteppedZoomLevel(0.25, -1, 400, 300), 0.25);
    EXPECT_EQ(SteppedZoomLevel(2.0, +1, 1200, 300), 2.0);
    // A zoom above every allowed level comes back to the largest allowed.
    EXPECT_EQ(SteppedZoomLevel(3.0, -1, 1200, 300), 2.0);
}

TEST(ZoomRulesTest, APaintingLargerThanTheBoxOpensWholeAndASmallerOneAt100Percent) {
    // A4 landscape on the fine grid in a window's viewer: the height decides.
    const double z = FitZoom(4740, 3352, 1000, 600);
    EXPECT_LE(4740 * z, 1000);
    EXPECT_LE(3352 * z, 600);
    EXPECT_GT(3352 * (z + 0.0001), 600 - 1);
    EXPECT_DOUBLE_EQ(FitZoom(400, 300, 1000, 600), 1.0);
    EXPECT_DOUBLE_EQ(FitZoom(400, 300, 0, 600), 1.0);
}

TEST(ZoomRulesTest, NumbersReadTheSameInEveryLanguage) {
    EXPECT_EQ(ReadZoomNumber("50"), 50.0);
    EXPECT_EQ(ReadZoomNumber(" 12.5 "), 12.5);
    EXPECT_EQ(ReadZoomNumber("12,5"), 12.5);
    for (const char* bad : {"", "  ", "abc", "12a", "1e3", "1.2.3", "--1"})
        EXPECT_FALSE(ReadZoomNumber(bad)) << bad;
    EXPECT_EQ(FormatZoomNumber(100), "100");
    EXPECT_EQ(FormatZoomNumber(37.5), "37.5");
    EXPECT_EQ(FormatZoomNumber(100.0 / 3), "33.3333");
    // A desktop that writes decimals with a comma changes neither.
    const std::string old = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8")) {
        EXPECT_EQ(FormatZoomNumber(37.5), "37.5");
        EXPECT_EQ(ReadZoomNumber("37.5"), 37.5);
    }
    std::setlocale(LC_ALL, old.c_str());
}

TEST(ZoomRulesTest, PercentIsWrittenWithTheWindowsDecimalPoint) {
    EXPECT_EQ(FormatZoomNumber(37.5, ','), "37,5");
    EXPECT_EQ(FormatZoomNumber(100, ','), "100");
    EXPECT_EQ(FormatZoomNumber(-0.00001, ','), "0");
    EXPECT_EQ(InitialZoomFields(300, 400, 0.125, ',').Percent, "12,5");
    // A 400 x 300 painting: a height of 100 is a third.
    TZoomFields f = InitialZoomFields(300, 400, 1.0, ',');
    f.Height = "100";
    f = ZoomFieldChanged(f, TZoomField::Height, 400, 300, ',');
    EXPECT_EQ(f.Percent, "33,3333");
    // What the window wrote reads back as the same zoom.
    EXPECT_DOUBLE_EQ(*ZoomFromFields(f), *ReadZoomNumber("33.3333") * 0.01);
}

TEST(ZoomRulesTest, EachFieldKeepsTheOtherTwoInProportion) {
    // A 400 x 300 painting.
    TZoomFields f = InitialZoomFields(300, 400, 1.0);
    EXPECT_EQ(f, (TZoomFields{"300", "400", "100"}));
    f.Percent = "50";
    f = ZoomFieldChanged(f, TZoomField::Percent, 400, 300);
    EXPECT_EQ(f, (TZoomFields{"150", "200", "50"}));
    f.Height = "100";
    f = ZoomFieldChanged(f, TZoomField::Height, 400, 300);
    EXPECT_EQ(f.Width, "133"); // truncated
    EXPECT_EQ(f.Percent, "33.3333");
    f.Width = "1000";
    f = ZoomFieldChanged(f, TZoomField::Width, 400, 300);
    EXPECT_EQ(f, (TZoomFields{"750", "1000", "250"}));
    // A field that does not read as a number leaves the others alone.
    f.Percent = "x";
    EXPECT_EQ(ZoomFieldChanged(f, TZoomField::Percent, 400, 300).Width, "1000");
}

TEST(ZoomRulesTest, OkNeedsAPercentAboveOneAndSidesBelow2500) {
    EXPECT_TRUE(ZoomOkEnabled({"150", "200", "50"}));
    EXPECT_FALSE(ZoomOkEnabled({"3", "4", "1"}));
    EXPECT_TRUE(ZoomOkEnabled({"3", "4", "1.01"}));
    EXPECT_FALSE(ZoomOkEnabled({"2500", "2000", "300"}));
    EXPECT_FALSE(ZoomOkEnabled({"2000", "2500", "300"}));
    EXPECT_TRUE(ZoomOkEnabled({"2499", "2499", "300"}));
    EXPECT_FALSE(ZoomOkEnabled({"", "200", "50"}));
    EXPECT_FALSE(ZoomOkEnabled({"150", "200", "fifty"}));
    EXPECT_EQ(ZoomFromFields({"150", "200", "50"}), 0.5);
    EXPECT_FALSE(ZoomFromFields({"150", "200", "1"}));
    // Typing 1 into Percent disables Ok, through the field rule as the dialog applies it.
    TZoomFields f = InitialZoomFields(300, 400, 1.0);
    f.Percent = "1";
    EXPECT_FALSE(ZoomOkEnabled(ZoomFieldChanged(f, TZoomField::Percent, 400, 300)));
}

} // namespace
} // namespace pigmentaria
