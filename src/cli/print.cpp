#include "cli/print.h"

#include "print/qt/print_command.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace pigmentaria::cli {

namespace {

// The one place a painting file becomes something printable: the document's reader and its
// number placement plug in here.
std::unique_ptr<TPaintingForPrint> LoadPaintingForPrint(const std::string& fileName) {
    throw std::runtime_error("cannot read " + fileName +
                             ": this build has no painting file reader yet");
}

std::vector<std::string> Args(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

} // namespace

int RunPrint(int argc, char** argv) {
    return RunPrintCommand(Args(argc, argv), LoadPaintingForPrint);
}

int RunPalette(int argc, char** argv) {
    return RunPaletteCommand(Args(argc, argv), LoadPaintingForPrint);
}

} // namespace pigmentaria::cli
