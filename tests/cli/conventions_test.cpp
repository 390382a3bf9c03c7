// One convention in every command of pigmentaria-cli: --help prints the command's usage and exits
// 0; a mistake on the command line says so in one line and exits 2 before any file is read; a
// failure of the work exits 1.
#include "cli_run.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>

namespace pigmentaria {
namespace {

using test::RunCliCommand;
using test::TCliRun;

struct TCommandCase {
    std::string Name;
    // Arguments the command takes, on an input file that is not there.
    std::string Valid;
    // A mistake in them: a bad value, a missing argument, a wrong combination.
    std::string Mistake;
    // An option that takes a value, or empty.
    std::string ValueOption;
};

// Every command of the program; the program's own list is checked against it.
std::vector<TCommandCase> Cases(const test::TTempDir& dir) {
    const std::string painting = (dir / "missing.kvp").string();
    const std::string picture = (dir / "missing.png").string();
    const std::string out = (dir / "out").string();
    return {
        {"convert", picture + " -o " + out + ".kvp", picture + " -o " + out + ".kvp --colors 999",
         "--colors"},
        {"demo", "", "extra", ""},
        {"numbers", painting, painting + " " + painting, ""},
        {"palette", painting, painting + " -o " + out + ".KVL --print " + out + ".pdf", "-o"},
        {"retrace", painting + " -o " + out + ".kvp", painting, "-o"},
        {"render", painting + " -o " + out + ".png", painting + " -o " + out + ".png --zoom 0",
         "--zoom"},
        {"image", "info " + picture, "frobnicate " + picture, ""},
        {"print", painting + " -o " + out + ".pdf", painting + " -o " + out + ".pdf --across 0",
         "--across"},
        {"template", picture + " -o " + out, picture + " -o " + out + " --pages 0x1",
         "--palette-size"},
        {"mix", "--tubes " + out + ".gpl --color 1,2,3", "--tubes " + out + ".gpl --color 1,2",
         "--tubes"},
    };
}

std::size_t Lines(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

void ExpectUsageMistake(const TCliRun& run, const std::string& command, const std::string& what) {
    EXPECT_EQ(run.Status, 2) << run.Err;
    EXPECT_EQ(Lines(run.Err), 1u) << run.Err;
    EXPECT_EQ(run.Err.rfind("pigmentaria-cli " + command + ": " + what, 0), 0u) << run.Err;
    EXPECT_TRUE(run.Out.empty()) << run.Out;
}

TEST(CliConventions, TheProgramsHelpListsEveryCommand) {
    test::TTempDir dir;
    const TCliRun help = RunCliCommand("--help");
    EXPECT_EQ(help.Status, 0);
    EXPECT_TRUE(help.Err.empty());
    EXPECT_EQ(help.Out.rfind("usage: pigmentaria-cli COMMAND", 0), 0u);
    std::set<std::string> listed, expected;
    std::istringstream lines(help.Out.substr(help.Out.find("commands:\n") + 10));
    for (std::string line; std::getline(lines, line) && line.rfind("  ", 0) == 0;)
        listed.insert(line.substr(2, line.find(' ', 2) - 2));
    for (const TCommandCase& c : Cases(dir))
        expected.insert(c.Name);
    EXPECT_EQ(listed, expected);
    EXPECT_EQ(RunCliCommand("-h").Out, help.Out);

    const TCliRun none = RunCliCommand("");
    EXPECT_EQ(none.Status, 2);
    EXPECT_EQ(none.Err, help.Out);
    EXPECT_TRUE(none.Out.empty());
    const TCliRun unknown = RunCliCommand("frobnicate");
    EXPECT_EQ(unknown.Status, 2);
    EXPECT_EQ(unknown.Err.rfind("pigmentaria-cli: unknown command \"frobnicate\"", 0), 0u);
    const TCliRun option = RunCliCommand("--bogus");
    EXPECT_EQ(option.Status, 2);
    EXPECT_EQ(option.Err.rfind("pigmentaria-cli: unknown option --bogus", 0), 0u);
}

TEST(CliConventions, EveryCommandPrintsItsUsageOnHelp) {
    test::TTempDir dir;
    for (const TCommandCase& c : Cases(dir)) {
        SCOPED_TRACE(c.Name);
        const TCliRun help = RunCliCommand(c.Name + " --help");
        EXPECT_EQ(help.Status, 0);
        EXPECT_TRUE(help.Err.empty()) << help.Err;
        EXPECT_EQ(help.Out.rfind("usage: pigmentaria-cli " + c.Name, 0), 0u) << help.Out;
        EXPECT_EQ(RunCliCommand(c.Name + " -h").Out, help.Out);
        // Help wins over whatever else is wrong, and reads nothing.
        const TCliRun withMistake = RunCliCommand(c.Name + " " + c.Mistake + " --bogus --help");
        EXPECT_EQ(withMistake.Status, 0);
        EXPECT_EQ(withMistake.Out, help.Out);
        EXPECT_TRUE(withMistake.Err.empty()) << withMistake.Err;
    }
}

TEST(CliConventions, UnknownOptionsAreUnknownInEveryCommand) {
    test::TTempDir dir;
    for (const TCommandCase& c : Cases(dir)) {
        SCOPED_TRACE(c.Name);
        ExpectUsageMistake(RunCliCommand(c.Name + " --bogus"), c.Name, "unknown option --bogus");
        ExpectUsageMistake(RunCliCommand(c.Name + " " + c.Valid + " --bogus"), c.Name,
                           "unknown option --bogus");
        ExpectUsageMistake(RunCliCommand(c.Name + " --bogus " + c.Valid), c.Name,
                           "unknown option --bogus");
    }
}

TEST(CliConventions, AnOptionWithoutItsValueSaysSo) {
    test::TTempDir dir;
    for (const TCommandCase& c : Cases(dir)) {
        if (c.ValueOption.empty()) continue;
        SCOPED_TRACE(c.Name);
        ExpectUsageMistake(RunCliCommand(c.Name + " " + c.Valid + " " + c.ValueOption), c.Name,
                           c.ValueOption + " needs a value");
    }
}

// The input files are not there: a mistake on the command line is found before they are looked
// for (2); the same command without the mistake fails on the missing file (1).
TEST(CliConventions, ArgumentsAreCheckedBeforeAnyFileIsRead) {
    test::TTempDir dir;
    for (const TCommandCase& c : Cases(dir)) {
        SCOPED_TRACE(c.Name);
        const TCliRun mistake = RunCliCommand(c.Name + " " + c.Mistake);
        EXPECT_EQ(mistake.Status, 2) << mistake.Err;
        EXPECT_EQ(Lines(mistake.Err), 1u) << mistake.Err;
        EXPECT_EQ(mistake.Err.rfind("pigmentaria-cli " + c.Name + ": ", 0), 0u) << mistake.Err;
        EXPECT_NE(mistake.Err.find("--help"), std::string::npos) << mistake.Err;
        if (c.Name == "demo") continue; // reads no file
        const TCliRun failure = RunCliCommand(c.Name + " " + c.Valid);
        EXPECT_EQ(failure.Status, 1) << failure.Err;
        EXPECT_FALSE(failure.Err.empty());
    }
    // Nothing was written.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              0);
}

} // namespace
} // namespace pigmentaria
