// Lists a painting's colours in numbering order, or saves them as a palette file.
#include "cli/painting_args.h"
#include "cli/painting_commands.h"
#include "platform/file_io.h"

#include <cstdio>

namespace pigmentaria::cli {

int RunPalette(int argc, char** argv) {
    const auto args = ParsePaintingArgs(argc, argv, "palette", {"-o", "--description"});
    if (!args) return 2;
    TCountingMessages messages;
    TPaintingDocument document(messages);
    const auto opened = document.OpenPainting(args->Painting);
    if (!opened) return 1;
    const TNamedPalette& palette = document.PaintingPalette();
    if (args->Has("-o")) {
        const std::filesystem::path out = args->Get("-o");
        const std::string description = args->Get("--description", out.stem().string());
        try {
            SavePalette(palette, out, description);
        } catch (const EFileError& e) {
            messages.Error(e.what());
            return 1;
        }
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
