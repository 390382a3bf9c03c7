// Pictures through the image library from the shell: what a file holds, and conversion from any
// readable format to the writer chosen by the output file's extension.
#include "cli/terminal.h"
#include "image/file_format.h"
#include "image/pg_stream.h"
#include "image/pixel_graphic.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include <unistd.h>

namespace pigmentaria::cli {

namespace {

// The library's text on one line.
void Fail(const std::exception& e) {
    std::string text = e.what();
    for (char& c : text)
        if (c == '\n' || c == '\r') c = ' ';
    std::fprintf(stderr, "pigmentaria-cli image: %s\n", text.c_str());
}

int Info(const std::string& name) {
    const TFileFormatRegistry& registry = PGFormats();
    TFileStream file(name, TFileStream::fmOpenRead);
    const TFileFormatReader* reader = registry.SelectReader(file, ExtensionOf(name));
    if (!reader) throw EPGUnknownFileFormat(msgUnknownFileFormat);
    const TGraphicInfo info = reader->GetInfo(file, 0);
    std::printf("format: %s (%s)\n", reader->Description.c_str(), reader->Extension.c_str());
    std::printf("width: %d\nheight: %d\nbits: %d\ncolors: %s\n", info.Width, info.Height,
                info.BitCount, info.ColorCountText.c_str());
    std::printf("subformat: %s\n", info.Subformat.c_str());
    if (!info.Comment.empty()) std::printf("comment: %s\n", info.Comment.c_str());
    std::printf("images: %d\n", info.ImageCount);
    return 0;
}

// Writes into a file beside the output and renames it into place only when all went well, so
// that a failure leaves neither a partial file nor a damaged earlier one.
int Convert(const std::string& in, const std::string& out) {
    TTerminalMessages messages;
    TPixelGraphic graphic;
    graphic.Messages = &messages;
    graphic.LoadFromFile(in);
    const std::string extension = ExtensionOf(out);
    if (!PGFormats().FindWriter(extension))
        throw EPGUnknownExtension(msgUnknownExtension, extension);
    const std::string temporary = out + ".partial-" + std::to_string(::getpid());
    try {
        TFileStream file(temporary, TFileStream::fmCreate);
        SaveGraphicAs(graphic, &file, std::string(), extension, PGFormats());
        file.Close();
        if (std::rename(temporary.c_str(), out.c_str()) != 0)
            throw EInOutError("Cannot create file \"" + out + "\": " + std::strerror(errno));
    } catch (...) {
        std::remove(temporary.c_str());
        throw;
    }
    std::printf("%s: %d x %d, %d bits\n", out.c_str(), graphic.Width(), graphic.Height(),
                graphic.BitCount());
    return 0;
}

} // namespace

int RunImage(int argc, char** argv) {
    const std::string sub = argc > 0 ? argv[0] : "";
    if (!((sub == "info" && argc == 2) || (sub == "convert" && argc == 3))) {
        std::fprintf(stderr, "usage: pigmentaria-cli image info FILE\n"
                             "       pigmentaria-cli image convert IN OUT\n");
        return 2;
    }
    try {
        return sub == "info" ? Info(argv[1]) : Convert(argv[1], argv[2]);
    } catch (const std::exception& e) {
        Fail(e);
        return 1;
    }
}

} // namespace pigmentaria::cli
