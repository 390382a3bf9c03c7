#pragma once
// The command table of pigmentaria-cli.
#include "cli/arguments.h"

#include <cstdio>
#include <string_view>
#include <vector>

namespace pigmentaria::cli {

// The commands, each defined beside its work.
extern const TCommand ConvertCommand;
extern const TCommand DemoCommand;
extern const TCommand NumbersCommand;
extern const TCommand PaletteCommand;
extern const TCommand RetraceCommand;
extern const TCommand RenderCommand;
extern const TCommand ImageCommand;
extern const TCommand PrintCommand;
extern const TCommand TemplateCommand;
extern const TCommand MixCommand;

const std::vector<const TCommand*>& Commands();
const TCommand* FindCommand(std::string_view name);
// The program's usage: every command with its summary.
void PrintProgramUsage(std::FILE* out);

} // namespace pigmentaria::cli
