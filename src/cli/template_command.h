#pragma once
// The template command: a picture becomes, in one step, the painting file, the numbered template
// and the paint sheet as PDF files, the template as an SVG drawing and the painting as a PNG. The
// painting, the drawing and the picture are made here; the PDF files are printed through Qt
// (cli/qt/template_command.cpp), and a build without Qt makes the other three and says so.
#include "print/template_job.h"

#include <optional>
#include <string>
#include <vector>

namespace pigmentaria::cli {

struct TTemplateCommandArgs {
    std::string Picture;
    std::string OutputDir;
    // Paints are read from PaintsFile after the arguments.
    TTemplateRequest Request;
    std::optional<std::string> PaintsFile;
    // Tubes are read from TubesFile after the arguments; MaxTubes goes to their mixing table.
    std::optional<std::string> TubesFile;
    int MaxTubes = DefaultMaxRecipeTubes;
};

// `template PICTURE -o DIR [options]`, the arguments after the command's name. Throws
// THelpRequest or EUsageError.
TTemplateCommandArgs ParseTemplateArgs(const std::vector<std::string>& args);

// The files a template makes in its folder, named after the picture: NAME.kvp,
// NAME-template.pdf, NAME-palette.pdf, NAME-template.svg and NAME-painting.png; with tubes also
// NAME-paints.csv.
struct TTemplateFiles {
    std::string Painting, TemplatePdf, PalettePdf, Svg, Png, PaintsCsv;
};
TTemplateFiles TemplateFileNames(const TTemplateCommandArgs& args);

// Reads the paints, the tubes and the picture, makes the template and writes the painting file
// (with the print layout it was made for), the SVG drawing, the PNG and with tubes the paints'
// CSV, saying so on stdout. Throws std::runtime_error when any of it fails; a bad tube file fails
// before anything is written.
TTemplateResult MakeTemplateFiles(const TTemplateCommandArgs& args, const TTemplateFiles& files);

inline constexpr const char* TemplateUsage =
    "usage: pigmentaria-cli template PICTURE -o DIR [--paper a4|letter|a3|legal] [--pages AxD]\n"
    "         [--palette-size K] [--min-mm D] [--paints FILE.KVL [--number-by-paint]]\n"
    "         [--tubes FILE [--max-tubes N] [--mixable] [--canvas-cm WxH] [--coats N]\n"
    "          [--coverage M2_PER_L]]\n"
    "Makes a paint-by-number template of the picture in DIR, named after it: NAME.kvp (the\n"
    "painting, with the print layout it is made for), NAME-template.pdf (the numbered outlines\n"
    "across the pages), NAME-palette.pdf (every paint's number, swatch, name and share of the\n"
    "painted area in per cent), NAME-template.svg (the outlines with the numbers as text) and\n"
    "NAME-painting.png (the painting drawn).\n"
    "The picture is reduced to K colours (default 24), or to the nearest paints of a palette\n"
    "file with --paints; regions narrower than D mm on paper (default 2.5) merge into a\n"
    "neighbour, and every region gets a number. Defaults: one A4 page (--pages 1x1), the\n"
    "orientation following the picture, which is converted at up to 5 pixels per millimetre of\n"
    "the print. --number-by-paint numbers each colour by its paint's position in the palette\n"
    "file, so that one paint keeps its number across paintings. Numbers with a full stop.\n"
    "--tubes FILE (a GIMP palette .gpl or a palette file .kvl of named tubes) gives every paint\n"
    "the best mixture of at most N tubes (default 3) in whole parts, at most 10 in all, by\n"
    "CIEDE2000, and its millilitres for its share of the canvas (the print's painted area, or\n"
    "--canvas-cm WxH) at a coverage of M2_PER_L square metres a litre (default 8) in N coats\n"
    "(default 2); the paint sheet lists them with the tubes to buy, rounded up to 0.5 ml, and\n"
    "NAME-paints.csv holds the same. --mixable picks the colours from what the tubes mix, so\n"
    "that every recipe is exact.\n"
    "Without printing in the build, the PDF files are left out and the command fails after\n"
    "making the others.\n";

} // namespace pigmentaria::cli
