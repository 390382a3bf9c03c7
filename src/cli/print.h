#pragma once
// Printing from the command line: a painting's template and its palette as PDF files.

namespace pigmentaria::cli {

int RunPrint(int argc, char** argv);
// `palette` lists or saves the colours, or with --print prints them.
int RunPaletteOrPrintout(int argc, char** argv);

} // namespace pigmentaria::cli
