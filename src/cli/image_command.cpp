// Pictures through the image library from the shell: what a file holds, and conversion from any
// readable format to the writer chosen by the output file's extension.
#include "cli/commands.h"
#include "cli/terminal.h"
#include "image/file_format.h"
#include "image/pg_stream.h"
#include "image/pixel_graphic.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include <unistd.h>

namespace pigmentaria::cli {

namespace {

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
    // A format the library cannot write fails before the picture is decoded.
    const std::string extension = ExtensionOf(out);
    if (!PGFormats().FindWriter(extension))
        throw EPGUnknownExtension(msgUnknownExtension, extension);
    TTerminalMessages messages;
    TPixelGraphic graphic;
    graphic.Messages = &messages;
    graphic.LoadFromFile(in);
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

int RunImage(const std::vector<std::string>& args) {
    const TArguments a = ParseArguments(args, {});
    const std::string sub = a.Positionals.empty() ? "" : a.Positionals[0];
    if (sub == "info") {
        if (a.Positionals.size() != 2) throw EUsageError("image info takes one FILE");
        return Info(a.Positionals[1]);
    }
    if (sub == "convert") {
        if (a.Positionals.size() != 3) throw EUsageError("image convert takes IN and OUT");
        return Convert(a.Positionals[1], a.Positionals[2]);
    }
    throw EUsageError(sub.empty() ? std::string("no subcommand given (info or convert)")
                                  : "unknown subcommand \"" + sub + "\" (info or convert)");
}

} // namespace

const TCommand ImageCommand = {
    "image", "info FILE | image convert IN OUT  describe or convert a picture file",
    "usage: pigmentaria-cli image info FILE\n"
    "       pigmentaria-cli image convert IN OUT\n"
    "info describes a picture file: format, size, bits, colours, subformat. convert writes IN in\n"
    "the format of OUT's extension (BMP, JPEG, PNG, PBM/PGM/PPM, Targa, TIFF; PCX, WMF and EMF\n"
    "are read only), converting the colours when the writer cannot store them.\n",
    RunImage};

} // namespace pigmentaria::cli
