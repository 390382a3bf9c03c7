// The command line's one argument convention, as every command reads its arguments.
#include "cli/arguments.h"

#include <gtest/gtest.h>

namespace pigmentaria::cli {
namespace {

constexpr TOptionSpec Options[] = {{"-o", true}, {"--zoom", true}, {"--outlines", false}};

std::string UsageMistake(const std::vector<std::string>& args) {
    try {
        ParseArguments(args, Options);
    } catch (const EUsageError& e) {
        return e.what();
    }
    return "accepted";
}

TEST(Arguments, OptionsStandAnywhereAndTakeTheNextArgumentAsTheirValue) {
    const TArguments a = ParseArguments(
        {"--outlines", "in.kvp", "-o", "--zoom", "--zoom", "2", "-", "--", "-o", "--x"}, Options);
    EXPECT_EQ(a.Positionals, (std::vector<std::string>{"in.kvp", "-", "-o", "--x"}));
    ASSERT_EQ(a.Options.size(), 3u);
    EXPECT_TRUE(a.Has("--outlines"));
    // A value is taken whatever it looks like.
    EXPECT_EQ(a.Value("-o"), "--zoom");
    EXPECT_EQ(a.Value("--zoom"), "2");
    EXPECT_FALSE(a.Value("--missing"));
    EXPECT_EQ(ParseArguments({"-o", "a", "-o", "b"}, Options).Value("-o"), "b");
}

TEST(Arguments, UnknownOptionsAndMissingValuesAreUsageMistakes) {
    EXPECT_EQ(UsageMistake({"p.kvp", "--bogus"}), "unknown option --bogus");
    // Even where it is last, an unknown option is unknown rather than short of a value.
    EXPECT_EQ(UsageMistake({"--bogus", "x"}), "unknown option --bogus");
    EXPECT_EQ(UsageMistake({"p.kvp", "--zoom"}), "--zoom needs a value");
    EXPECT_EQ(UsageMistake({"--size=3", "--zoom"}), "unknown option --size=3");
    EXPECT_EQ(UsageMistake({"p.kvp", "-o", "x", "--outlines"}), "accepted");
}

TEST(Arguments, HelpIsAskedWhereverItStandsAndWinsOverMistakes) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--help"},
                                                 {"-h"},
                                                 {"p.kvp", "--bogus", "--help"},
                                                 {"--zoom", "x", "-h", "--zoom"}})
        EXPECT_THROW(ParseArguments(args, Options), THelpRequest);
    // As an option's value it is the value.
    EXPECT_EQ(ParseArguments({"-o", "--help"}, Options).Value("-o"), "--help");
    EXPECT_NO_THROW(ParseArguments({"--", "--help"}, Options));
}

TEST(Arguments, PositionalsAreCountedAndNamedInTheMistake) {
    const auto mistake = [](const std::vector<std::string>& positionals,
                            std::initializer_list<const char*> names) -> std::string {
        TArguments a;
        a.Positionals = positionals;
        try {
            ExpectPositionals(a, names);
        } catch (const EUsageError& e) {
            return e.what();
        }
        return "accepted";
    };
    EXPECT_EQ(mistake({}, {"painting file"}), "no painting file given");
    EXPECT_EQ(mistake({"a", "b"}, {"painting file"}), "more than one painting file given");
    EXPECT_EQ(mistake({"a"}, {"painting file"}), "accepted");
    EXPECT_EQ(mistake({"a"}, {}), "unexpected argument \"a\"");
    EXPECT_EQ(mistake({}, {}), "accepted");
}

TEST(Arguments, ValuesAreCheckedAndReadWithAFullStop) {
    EXPECT_EQ(WholeValue("--colors", "90", 1, 255), 90);
    EXPECT_EQ(WholeValue("--colors", "255", 1, 255), 255);
    EXPECT_THROW(WholeValue("--colors", "256", 1, 255), EUsageError);
    EXPECT_THROW(WholeValue("--colors", "0", 1, 255), EUsageError);
    EXPECT_THROW(WholeValue("--colors", "9x", 1, 255), EUsageError);
    EXPECT_EQ(RealValue("--zoom", "0.25"), 0.25);
    EXPECT_THROW(RealValue("--zoom", "0,25"), EUsageError);
    EXPECT_THROW(RealValue("--zoom", "nan"), EUsageError);
    try {
        WholeValue("--specks", "7", 0, 4);
    } catch (const EUsageError& e) {
        EXPECT_STREQ(e.what(), "--specks takes a whole number from 0 to 4, not \"7\"");
    }
}

} // namespace
} // namespace pigmentaria::cli
