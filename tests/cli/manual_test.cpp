// The manual page and the bash completion of pigmentaria-cli follow its --help: every command the
// program lists and every option a command's usage shows are in the manual page, under that
// command, and the completion offers exactly those commands and, after a command, its options.
#include "cli_run.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <sstream>

namespace pigmentaria {
namespace {

using test::RunCliCommand;
using test::TCliRun;

const std::filesystem::path DataSource = PIGMENTARIA_DATA_SOURCE;

std::vector<std::string> ListedCommands() {
    const TCliRun help = RunCliCommand("--help");
    EXPECT_EQ(help.Status, 0);
    std::vector<std::string> names;
    std::istringstream lines(help.Out.substr(help.Out.find("commands:\n") + 10));
    for (std::string line; std::getline(lines, line) && line.rfind("  ", 0) == 0;)
        names.push_back(line.substr(2, line.find(' ', 2) - 2));
    return names;
}

// The options a text names: "-o", "--zoom", "--landscape" of "[--landscape|--portrait]".
std::set<std::string> OptionsIn(const std::string& text) {
    static const std::regex option(R"((^|[\s\[|(,"])(--?[a-z][a-z0-9-]*))");
    std::set<std::string> out;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), option);
         it != std::sregex_iterator(); ++it)
        out.insert((*it)[2].str());
    return out;
}

std::set<std::string> UsageOptions(const std::string& command) {
    const TCliRun help = RunCliCommand(command + " --help");
    EXPECT_EQ(help.Status, 0) << command;
    return OptionsIn(help.Out);
}

// The manual page's source as it reads: "\-" is a hyphen.
std::string ManualText(const std::string& page) {
    std::string text = test::ReadText(DataSource / "man" / page);
    EXPECT_FALSE(text.empty()) << page;
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == '-') continue;
        out += text[i];
    }
    return out;
}

// The lines of a command's subsection (".SS" whose first word is the command), up to the next
// subsection or section.
std::string CommandSection(const std::string& manual, const std::string& command) {
    std::istringstream lines(manual);
    std::string section;
    bool inside = false;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(".SS ", 0) == 0 || line.rfind(".SH ", 0) == 0) {
            std::string title = line.substr(4);
            if (!title.empty() && title[0] == '"') title.erase(0, 1);
            inside = line.rfind(".SS ", 0) == 0 && title.rfind(command, 0) == 0 &&
                     (title.size() == command.size() || title[command.size()] == ' ' ||
                      title[command.size()] == '"');
            if (inside) section += line + "\n";
            continue;
        }
        if (inside) section += line + "\n";
    }
    return section;
}

std::set<std::string> Minus(const std::set<std::string>& a, const std::set<std::string>& b) {
    std::set<std::string> out;
    for (const std::string& s : a)
        if (!b.count(s)) out.insert(s);
    return out;
}

TEST(CliManual, EveryCommandAndOptionOfTheHelpIsInTheManualPageUnderItsCommand) {
    const std::string manual = ManualText("pigmentaria-cli.1");
    const std::vector<std::string> commands = ListedCommands();
    ASSERT_GE(commands.size(), 9u);
    for (const std::string& command : commands) {
        SCOPED_TRACE(command);
        const std::string section = CommandSection(manual, command);
        ASSERT_FALSE(section.empty()) << "no subsection for " << command;
        const std::set<std::string> usage = UsageOptions(command);
        EXPECT_EQ(Minus(usage, OptionsIn(section)), std::set<std::string>{})
            << "options of --help missing from the manual page";
    }
    for (const char* part : {".SH SYNOPSIS", ".SH DESCRIPTION", ".SH \"EXIT STATUS\"",
                             ".SH EXAMPLES", ".SH \"SEE ALSO\""})
        EXPECT_NE(manual.find(part), std::string::npos) << part;
    for (const char* status : {".B 0\n", ".B 1\n", ".B 2\n"})
        EXPECT_NE(manual.find(status), std::string::npos) << status;
}

TEST(CliManual, TheManualPageNamesNoOptionTheProgramDoesNotTake) {
    const std::string manual = ManualText("pigmentaria-cli.1");
    std::set<std::string> taken = {"--help", "-h"};
    for (const std::string& command : ListedCommands())
        for (const std::string& o : UsageOptions(command))
            taken.insert(o);
    EXPECT_EQ(Minus(OptionsIn(manual), taken), std::set<std::string>{});
}

// Runs the completion function in bash for the words given, the last being completed. The
// helpers of the bash-completion package are replaced by stand-ins, so that the package need
// not be there.
std::set<std::string> Complete(const std::vector<std::string>& words) {
    test::TTempDir dir;
    std::string script = "_init_completion() { words=(\"${COMP_WORDS[@]}\"); cword=$COMP_CWORD;\n"
                         "  cur=${COMP_WORDS[COMP_CWORD]}; prev=${COMP_WORDS[COMP_CWORD-1]}; }\n"
                         "_filedir() { COMPREPLY=(FILE); }\n"
                         "complete() { :; }\n"
                         "source '" +
                         (DataSource / "completion" / "pigmentaria-cli").string() +
                         "'\n"
                         "COMP_WORDS=(";
    for (const std::string& w : words)
        script += "'" + w + "' ";
    script += ")\nCOMP_CWORD=" + std::to_string(words.size() - 1) +
              "\nCOMPREPLY=()\n_pigmentaria_cli\nprintf '%s\\n' \"${COMPREPLY[@]}\"\n";
    test::WriteText(dir / "complete.sh", script);
    FILE* p = popen(("bash " + (dir / "complete.sh").string()).c_str(), "r");
    std::string out;
    char buf[4096];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;)
        out.append(buf, n);
    EXPECT_EQ(pclose(p), 0);
    std::set<std::string> offered;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);)
        if (!line.empty()) offered.insert(line);
    return offered;
}

TEST(CliCompletion, OffersEveryCommandAndEachCommandsOptions) {
    const std::vector<std::string> commands = ListedCommands();
    std::set<std::string> expected(commands.begin(), commands.end());
    expected.insert({"--help", "-h"});
    EXPECT_EQ(Complete({"pigmentaria-cli", ""}), expected);
    for (const std::string& command : commands) {
        SCOPED_TRACE(command);
        std::set<std::string> options = UsageOptions(command);
        options.insert("--help");
        EXPECT_EQ(Complete({"pigmentaria-cli", command, "-"}), options);
    }
}

TEST(CliCompletion, OffersTheChoicesOfAnOptionAndFilesElsewhere) {
    EXPECT_EQ(Complete({"pigmentaria-cli", "print", "x.kvp", "--fill", ""}),
              (std::set<std::string>{"gray", "color", "black"}));
    EXPECT_EQ(Complete({"pigmentaria-cli", "convert", "x.png", "--outline", "h"}),
              (std::set<std::string>{"half-line"}));
    // A style's name is one word to the shell.
    EXPECT_EQ(Complete({"pigmentaria-cli", "convert", "x.png", "--style", "Ne"}),
              (std::set<std::string>{"Neon", "Neon\\ Stylist"}));
    EXPECT_EQ(Complete({"pigmentaria-cli", "image", ""}),
              (std::set<std::string>{"info", "convert"}));
    EXPECT_EQ(Complete({"pigmentaria-cli", "render", ""}), std::set<std::string>{"FILE"});
    // After an option that takes a number there is nothing to offer.
    EXPECT_EQ(Complete({"pigmentaria-cli", "print", "x.kvp", "--across", ""}),
              std::set<std::string>{});
}

} // namespace
} // namespace pigmentaria
