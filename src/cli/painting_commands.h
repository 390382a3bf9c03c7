#pragma once
// Commands on painting files: numbers, the painting palette, re-tracing.
namespace pigmentaria::cli {
int RunNumbers(int argc, char** argv);
int RunPalette(int argc, char** argv);
int RunRetrace(int argc, char** argv);
} // namespace pigmentaria::cli
