#include "platform/text_parse.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>

namespace pigmentaria {
namespace {

TEST(TextParse, WholeNumbersTakeASignAndDigitsOnly) {
    EXPECT_EQ(ParseWhole("42"), 42);
    EXPECT_EQ(ParseWhole("-7"), -7);
    EXPECT_EQ(ParseWhole("+7"), 7);
    EXPECT_EQ(ParseWhole("9223372036854775807"), 9223372036854775807LL);
    for (const char* bad : {"", " 4", "4 ", "4x", "+", "-", "+-4", "--4", "0x10", "1.0", "1e3",
                            "9223372036854775808"})
        EXPECT_FALSE(ParseWhole(bad)) << bad;
}

TEST(TextParse, RealNumbersAreReadWithAFullStopWhateverTheLocale) {
    EXPECT_EQ(ParseReal("0.5"), 0.5);
    EXPECT_EQ(ParseReal("-2.25"), -2.25);
    EXPECT_EQ(ParseReal("+.5"), 0.5);
    EXPECT_EQ(ParseReal("3"), 3.0);
    EXPECT_EQ(ParseReal("1e3"), 1000.0);
    EXPECT_EQ(ParseReal("5."), 5.0);
    for (const char* bad : {"", " 1", "1 ", "0,5", ".", "-", "+", "1e", "inf", "-inf", "nan",
                            "infinity", "1e999", "0x1p3", "1.5.2", "+-1"})
        EXPECT_FALSE(ParseReal(bad)) << bad;
}

TEST(TextParse, AWindowsDecimalPointStandsForTheFullStop) {
    EXPECT_EQ(ParseReal("0,5", ','), 0.5);
    EXPECT_EQ(ParseReal("-1,25", ','), -1.25);
    EXPECT_EQ(ParseReal("2", ','), 2.0);
    // A full stop in a German text would be a grouping mark, never the point.
    EXPECT_FALSE(ParseReal("0.5", ','));
    EXPECT_FALSE(ParseReal("1,2,3", ','));
    EXPECT_EQ(FormatGeneral(0.9, 15, ','), "0,9");
    EXPECT_EQ(FormatFixed(2.5, 2, ','), "2,50");
}

// The writers agree with the C library's printf in the C locale (which this test runs in), the
// form the files and labels have always had.
TEST(TextParse, FormattingMatchesPrintfInTheCLocale) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> mantissa(-10, 10);
    std::uniform_int_distribution<int> exponent(-20, 20);
    char expected[512];
    for (int i = 0; i < 2000; ++i) {
        const double v = mantissa(random) * std::pow(10.0, exponent(random));
        std::snprintf(expected, sizeof expected, "%.15g", v);
        ASSERT_EQ(FormatGeneral(v), expected) << v;
        std::snprintf(expected, sizeof expected, "%.2f", v);
        ASSERT_EQ(FormatFixed(v, 2), expected) << v;
        std::snprintf(expected, sizeof expected, "%.1f", v);
        ASSERT_EQ(FormatFixed(v, 1), expected) << v;
        // What is written reads back as the value written.
        ASSERT_EQ(ParseReal(FormatGeneral(v, 17)), v);
    }
    EXPECT_EQ(FormatGeneral(0.9), "0.9");
    EXPECT_EQ(FormatGeneral(8.5), "8.5");
    EXPECT_EQ(FormatGeneral(11), "11");
    EXPECT_EQ(FormatGeneral(1e20), "1e+20");
    EXPECT_EQ(FormatFixed(1e300, 2).size(), 304u);
}

TEST(TextParse, LetterCaseChangesTheAsciiLettersOnly) {
    EXPECT_EQ(ToLower("TIF.Jpeg"), "tif.jpeg");
    EXPECT_EQ(ToUpper("tif.kvl"), "TIF.KVL");
    // UTF-8 bytes of other letters pass through untouched.
    EXPECT_EQ(ToLower("\xC3\x84I"), "\xC3\x84i");
    EXPECT_EQ(ToUpper("\xC3\xA4i"), "\xC3\xA4I");
}

} // namespace
} // namespace pigmentaria
