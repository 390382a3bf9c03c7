#pragma once
// Argument reading shared by the painting commands: one painting file and named options.
#include "cli/terminal.h"
#include "editor/document.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace pigmentaria::cli {

struct TPaintingArgs {
    std::string Painting;
    std::map<std::string, std::string> Options;
    bool Has(const std::string& name) const { return Options.count(name) != 0; }
    std::string Get(const std::string& name, const std::string& fallback = {}) const {
        const auto it = Options.find(name);
        return it == Options.end() ? fallback : it->second;
    }
};

// Reads "FILE [--option VALUE]…" where every option takes a value; `allowed` lists them. Prints
// the problem and returns nothing on a mistake.
std::optional<TPaintingArgs> ParsePaintingArgs(int argc, char** argv, const char* command,
                                               const std::vector<std::string>& allowed);

// Terminal messages that also remember whether an error was shown.
class TCountingMessages final : public IMessageSink {
public:
    void Error(const std::string& text) override {
        ++Errors;
        Terminal_.Error(text);
    }
    void Warning(const std::string& text) override { Terminal_.Warning(text); }
    bool Confirm(const std::string& text) override { return Terminal_.Confirm(text); }
    int Errors = 0;

private:
    TTerminalMessages Terminal_;
};

} // namespace pigmentaria::cli
