#include "cli/commands.h"

#include "cli/convert_command.h"
#include "cli/demo.h"
#include "cli/painting_commands.h"

#if PIGMENTARIA_GUI
#include "cli/print.h"
#else
#include <cstring>
#include <stdexcept>
#endif

namespace pigmentaria::cli {
int RunImage(int argc, char** argv);

#if !PIGMENTARIA_GUI
// Printing draws through Qt, which this build leaves out.
int RunPrint(int, char**) {
    throw std::runtime_error("printing is not available in this build");
}
int RunPaletteOrPrintout(int argc, char** argv) {
    for (int i = 0; i < argc; ++i)
        if (!std::strcmp(argv[i], "--print")) return RunPrint(argc, argv);
    return RunPalette(argc, argv);
}
#endif
} // namespace pigmentaria::cli

namespace pigmentaria::cli {

const std::vector<TCommand>& Commands() {
    static const std::vector<TCommand> table = {
        {"convert",
         "convert PICTURE -o PAINTING.kvp [options]  turn a picture into a painting (--help)",
         RunConvert},
        {"demo", "demo                 trace a generated picture and report what came out",
         RunDemo},
        {"numbers", "numbers PAINTING.kvp  list the number labels: text, left, top, right, bottom",
         RunNumbers},
        {"palette",
         "palette PAINTING.kvp [-o FILE.KVL --description TEXT] [--print PALETTE.pdf "
         "[--names FILE.KVL]]  list, save or print the colours",
         RunPaletteOrPrintout},
        {"retrace", "retrace PAINTING.kvp -o OUT.kvp  re-trace the painting from its rendering",
         RunRetrace},
        {"render",
         "render PAINTING.kvp -o OUT.{png,bmp,jpg,tif,tga,ppm,wmf,emf,svg} [--zoom Z] "
         "[--outlines]  write the painting as a picture (zoom: pictures only)",
         RunRender},
        {"image", "image info FILE | image convert IN OUT  describe or convert a picture file",
         RunImage},
        {"print",
         "print PAINTING.kvp -o TEMPLATE.pdf [options]   print the numbered template (--help)",
         RunPrint},
    };
    return table;
}

void PrintUsage(std::FILE* out) {
    std::fprintf(out, "usage: pigmentaria-cli COMMAND [ARGS]\n\ncommands:\n");
    for (const TCommand& c : Commands())
        std::fprintf(out, "  %s\n", c.Usage);
}

} // namespace pigmentaria::cli
