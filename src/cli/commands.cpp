#include "cli/commands.h"

#if !PIGMENTARIA_GUI
#include "cli/palette_command.h"
#include "cli/print_options.h"
#include "cli/template_command.h"

#include <stdexcept>
#endif

namespace pigmentaria::cli {

#if !PIGMENTARIA_GUI
// Printing draws through Qt, which this build leaves out. The arguments are still read, so that
// --help and mistakes answer as in every build.
namespace {
constexpr const char* NoPrinting = "printing is not available in this build";

int RunPrintWithoutQt(const std::vector<std::string>& args) {
    ParsePrintArgs(args);
    throw std::runtime_error(NoPrinting);
}

int RunPaletteWithoutQt(const std::vector<std::string>& args) {
    const TPaletteCommandArgs a = ParsePaletteArgs(args);
    if (a.Print) throw std::runtime_error(NoPrinting);
    return ListOrSavePalette(a);
}

// The painting, the drawing and the picture need no Qt: they are made, and only the PDF files
// are left out.
int RunTemplateWithoutQt(const std::vector<std::string>& args) {
    const TTemplateCommandArgs a = ParseTemplateArgs(args);
    const TTemplateFiles files = TemplateFileNames(a);
    MakeTemplateFiles(a, files);
    const std::string csv = a.TubesFile ? ", " + files.PaintsCsv : std::string();
    throw std::runtime_error(std::string(NoPrinting) + ": made " + files.Painting + ", " +
                             files.Svg + csv + " and " + files.Png + " without the PDF files");
}
} // namespace

const TCommand PrintCommand = {
    "print", "PAINTING.kvp -o TEMPLATE.pdf [options]  print the numbered template", PrintUsage,
    RunPrintWithoutQt};

const TCommand PaletteCommand = {
    "palette", "PAINTING.kvp [-o FILE.KVL | --print PALETTE.pdf]  list, save or print the colours",
    PaletteUsage, RunPaletteWithoutQt};

const TCommand TemplateCommand = {
    "template", "PICTURE -o DIR [options]  make a paint-by-number template in one step",
    TemplateUsage, RunTemplateWithoutQt};
#endif

const std::vector<const TCommand*>& Commands() {
    static const std::vector<const TCommand*> table = {
        &ConvertCommand, &DemoCommand,  &NumbersCommand, &PaletteCommand,  &RetraceCommand,
        &RenderCommand,  &ImageCommand, &PrintCommand,   &TemplateCommand, &MixCommand,
    };
    return table;
}

const TCommand* FindCommand(std::string_view name) {
    for (const TCommand* c : Commands())
        if (name == c->Name) return c;
    return nullptr;
}

void PrintProgramUsage(std::FILE* out) {
    std::fprintf(out, "usage: pigmentaria-cli COMMAND [ARGS]\n"
                      "       pigmentaria-cli COMMAND --help   (the command's usage)\n\n"
                      "commands:\n");
    for (const TCommand* c : Commands())
        std::fprintf(out, "  %-9s %s\n", c->Name, c->Summary);
    std::fprintf(out, "\nExit status: 0 done, 1 failed, 2 a mistake on the command line.\n");
}

} // namespace pigmentaria::cli
