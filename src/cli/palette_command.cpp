// Lists a painting's colours in numbering order, or saves them as a palette file.
#include "cli/palette_command.h"

#include "cli/arguments.h"
#include "cli/print_options.h"
#include "cli/terminal.h"
#include "editor/document.h"
#include "platform/file_io.h"
#include "print/printer.h"

#include <cstdio>
#include <filesystem>

namespace pigmentaria::cli {

namespace {

constexpr TOptionSpec Options[] = {
    {"-o", true},      {"--description", true}, {"--print", true},     {"--names", true},
    {"--paper", true}, {"--landscape", false},  {"--portrait", false}, {"--dpi", true},
};

} // namespace

TPaletteCommandArgs ParsePaletteArgs(const std::vector<std::string>& args) {
    const TArguments a = ParseArguments(args, Options);
    ExpectPositionals(a, {"painting file"});
    TPaletteCommandArgs out;
    out.Painting = a.Positionals[0];
    std::string printing; // the first printing option, to name in a mistake
    for (const auto& [o, v] : a.Options) {
        if (o == "-o")
            out.Output = v;
        else if (o == "--description")
            out.Description = v;
        else if (o == "--print")
            out.Print = v;
        else if (o == "--names")
            out.Names = v;
        else if (o == "--paper")
            out.Paper.Paper = ParsePaper(v);
        else if (o == "--landscape" || o == "--portrait")
            out.Paper.Orientation = o == "--landscape" ? poLandscape : poPortrait;
        else if (o == "--dpi")
            out.Dpi = WholeValue(o, v, 72, 2400);
        if (o != "-o" && o != "--description" && o != "--print" && printing.empty()) printing = o;
    }
    if (out.Print && out.Output) throw EUsageError("-o saves and --print prints: give one of them");
    if (out.Description && !out.Output) throw EUsageError("--description goes with -o");
    if (!out.Print && !printing.empty()) throw EUsageError(printing + " goes with --print");
    return out;
}

int ListOrSavePalette(const TPaletteCommandArgs& args) {
    TCountingMessages messages;
    TPaintingDocument document(messages);
    if (!document.OpenPainting(args.Painting)) return 1;
    const TNamedPalette& palette = document.PaintingPalette();
    if (args.Output) {
        const std::filesystem::path out = *args.Output;
        SavePalette(palette, out, args.Description.value_or(out.stem().string()));
        std::printf("%zu colours saved to %s\n", palette.Count(), out.c_str());
        return 0;
    }
    int number = 0;
    for (const TPaletteEntry& e : palette.Entries())
        std::printf("%d\t%u\t%d,%d,%d\n", ++number, e.Color, RedOf(e.Color), GreenOf(e.Color),
                    BlueOf(e.Color));
    return 0;
}

} // namespace pigmentaria::cli
