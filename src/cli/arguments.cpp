#include "cli/arguments.h"

#include "platform/text_parse.h"

#include <algorithm>
#include <cstdio>
#include <exception>

namespace pigmentaria::cli {

bool TArguments::Has(std::string_view name) const {
    return std::any_of(Options.begin(), Options.end(),
                       [name](const auto& o) { return o.first == name; });
}

std::optional<std::string> TArguments::Value(std::string_view name) const {
    std::optional<std::string> value;
    for (const auto& [option, v] : Options)
        if (option == name) value = v;
    return value;
}

TArguments ParseArguments(const std::vector<std::string>& args,
                          std::span<const TOptionSpec> options) {
    TArguments out;
    std::optional<std::string> mistake;
    bool help = false, optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        // A lone "-" is an argument like any other.
        if (optionsEnded || a.size() < 2 || a[0] != '-') {
            out.Positionals.push_back(a);
            continue;
        }
        if (a == "--") {
            optionsEnded = true;
            continue;
        }
        if (a == "--help" || a == "-h") {
            help = true;
            continue;
        }
        const auto known = std::find_if(options.begin(), options.end(),
                                        [&a](const TOptionSpec& o) { return o.Name == a; });
        if (known == options.end()) {
            if (!mistake) mistake = "unknown option " + a;
        } else if (!known->TakesValue) {
            out.Options.emplace_back(a, std::string());
        } else if (i + 1 < args.size()) {
            out.Options.emplace_back(a, args[++i]);
        } else if (!mistake) {
            mistake = a + " needs a value";
        }
    }
    if (help) throw THelpRequest{};
    if (mistake) throw EUsageError(*mistake);
    return out;
}

void ExpectPositionals(const TArguments& args, std::initializer_list<const char*> names) {
    const std::size_t n = args.Positionals.size();
    if (n < names.size()) throw EUsageError(std::string("no ") + names.begin()[n] + " given");
    if (n > names.size()) {
        if (names.size() == 0)
            throw EUsageError("unexpected argument \"" + args.Positionals[0] + "\"");
        throw EUsageError(std::string("more than one ") + names.begin()[names.size() - 1] +
                          " given");
    }
}

int WholeValue(const std::string& option, const std::string& value, int lo, int hi) {
    const auto v = ParseWhole(value);
    if (!v || *v < lo || *v > hi)
        throw EUsageError(option + " takes a whole number from " + std::to_string(lo) + " to " +
                          std::to_string(hi) + ", not \"" + value + "\"");
    return static_cast<int>(*v);
}

double RealValue(const std::string& option, const std::string& value) {
    const auto v = ParseReal(value);
    if (!v) throw EUsageError(option + " takes a number such as 0.5, not \"" + value + "\"");
    return *v;
}

namespace {

// One line, whatever the message holds.
std::string OneLine(std::string text) {
    for (char& c : text)
        if (c == '\n' || c == '\r') c = ' ';
    return text;
}

} // namespace

int RunCommand(const TCommand& command, const std::vector<std::string>& args) {
    try {
        return command.Run(args);
    } catch (const THelpRequest&) {
        std::fputs(command.Usage, stdout);
        return 0;
    } catch (const EUsageError& e) {
        std::fprintf(stderr, "pigmentaria-cli %s: %s (see pigmentaria-cli %s --help)\n",
                     command.Name, OneLine(e.what()).c_str(), command.Name);
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "pigmentaria-cli %s: %s\n", command.Name, OneLine(e.what()).c_str());
        return 1;
    }
}

} // namespace pigmentaria::cli
