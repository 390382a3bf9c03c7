#pragma once
// The one convention of every pigmentaria-cli command. Options may stand anywhere among the other
// arguments; an option that takes a value takes the next argument, whatever it is; "--" ends the
// options. "--help" (or "-h") prints the command's usage and exits 0. A usage mistake (an unknown
// option, a missing or bad value, a missing argument) says so in one line and exits 2, before any
// picture or painting is read; a failure of the work itself says so in one line and exits 1.
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pigmentaria::cli {

// A command line the command does not take.
class EUsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "--help" was given: the command prints its usage instead of running. Not an error.
struct THelpRequest {};

struct TOptionSpec {
    std::string_view Name;
    bool TakesValue = false;
};

struct TArguments {
    // The arguments that are not options, in order.
    std::vector<std::string> Positionals;
    // The options in the order given; a switch has an empty value.
    std::vector<std::pair<std::string, std::string>> Options;
    bool Has(std::string_view name) const;
    // The value given last; nothing when the option was not given.
    std::optional<std::string> Value(std::string_view name) const;
};

// Reads the arguments after the command's name. Throws THelpRequest when "--help" or "-h" stands
// in an option's place (whatever else is wrong), else EUsageError for "unknown option --x" or
// "--x needs a value".
TArguments ParseArguments(const std::vector<std::string>& args,
                          std::span<const TOptionSpec> options);

// The positionals of a command that takes exactly `names` (for example "painting file"):
// "no painting file given", "more than one painting file given" otherwise.
void ExpectPositionals(const TArguments& args, std::initializer_list<const char*> names);

// Option values; a mistake throws EUsageError naming the option and the value.
int WholeValue(const std::string& option, const std::string& value, int lo, int hi);
// A finite number, written with a full stop whatever the locale.
double RealValue(const std::string& option, const std::string& value);

struct TCommand {
    const char* Name;
    // Its line in the list of commands.
    const char* Summary;
    // What "--help" prints: lines that start "usage: pigmentaria-cli NAME".
    const char* Usage;
    // Runs on the arguments after the command's name; throws THelpRequest, EUsageError, or any
    // other exception for a failure; returns the exit status.
    int (*Run)(const std::vector<std::string>& args);
};

// Runs a command with the convention: its usage on stdout for "--help" (0), one line on stderr
// for a usage mistake (2) or a failure (1).
int RunCommand(const TCommand& command, const std::vector<std::string>& args);

} // namespace pigmentaria::cli
