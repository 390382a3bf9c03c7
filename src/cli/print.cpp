#include "cli/print.h"

#include "cli/painting_commands.h"
#include "cli/terminal.h"
#include "model/painting_file.h"
#include "palette/palette.h"
#include "print/numbers.h"
#include "print/qt/print_command.h"

#include <cstring>
#include <string>
#include <vector>

namespace pigmentaria::cli {

namespace {

// A painting file made printable: its shapes, stored layout and colour numbers, with number
// placement as the document does it.
std::unique_ptr<TPaintingForPrint> LoadPaintingForPrint(const std::string& fileName) {
    TPaintingFileContents file = ReadPaintingFile(fileName);
    auto painting = std::make_unique<TPaintingForPrint>();
    painting->Shapes = std::move(file.Shapes);
    painting->Layout = file.Layout;
    auto palette = std::make_shared<TNamedPalette>();
    RebuildPaintingPalette(*palette, painting->Shapes);
    for (const TPaletteEntry& e : palette->Entries())
        painting->Palette.push_back(e.Color);
    painting->PlaceNumbers = [palette](TPaintingForPrint& p) {
        TTerminalProgress progress;
        TTerminalMessages messages;
        p.Labels = PlaceNumbers(p.Shapes, *palette, progress, messages);
    };
    return painting;
}

std::vector<std::string> Args(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

} // namespace

int RunPrint(int argc, char** argv) {
    return RunPrintCommand(Args(argc, argv), LoadPaintingForPrint);
}

int RunPaletteOrPrintout(int argc, char** argv) {
    for (int i = 0; i < argc; ++i)
        if (!std::strcmp(argv[i], "--print"))
            return RunPaletteCommand(Args(argc, argv), LoadPaintingForPrint);
    return RunPalette(argc, argv);
}

} // namespace pigmentaria::cli
