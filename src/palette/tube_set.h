#pragma once
// Tube sets: the paints a person owns or can buy, each a named colour (its masstone, as it looks
// straight from the tube). Read from and written to our palette files (".kvl") or GIMP palettes
// (".gpl", shared by GIMP, Inkscape and Krita); the extension decides, in any case.
#include "palette/pigment_mix.h"
#include "platform/color.h"

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace pigmentaria {

struct TTube {
    std::string Name;
    TColor Color = 0;
};

struct TTubeSet {
    // The palette's description (".kvl" first line, ".gpl" "Name:").
    std::string Description;
    std::vector<TTube> Tubes;
};

// A tube file that cannot be used: the text names the file and, for a line, its number, e.g.
// "tubes.gpl line 4: a tube needs a name".
class ETubeFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A set needs at least this many tubes to mix anything.
constexpr std::size_t MinTubeCount = 2;

// Reads a GIMP palette: the header "GIMP Palette", optional "Name:" and "Columns:" lines, "#"
// comments and blank lines, then rows "R G B name" (0..255, the name after blanks or a tab).
// `file` is what messages call it. Throws ETubeFileError.
TTubeSet ParseGimpPalette(std::string_view text, const std::string& file);
// Reads a palette file as tubes: the description, then "colour,name" lines; every tube named.
TTubeSet ParseKvlTubes(std::string_view text, const std::string& file);
std::string GimpPaletteText(const TTubeSet& set);
// Lines end CR LF, as every palette file of ours.
std::string KvlTubesText(const TTubeSet& set);

// By extension: ".gpl" a GIMP palette, anything else our palette file. Loading also checks the
// set: no two tubes of one name (letter case aside), at least two tubes. Throws ETubeFileError,
// EFileError when the file cannot be read or written.
TTubeSet LoadTubeSet(const std::filesystem::path& file);
void SaveTubeSet(const TTubeSet& set, const std::filesystem::path& file);

// The position of the tube of that name, letter case aside; -1 when none.
int FindTube(const TTubeSet& set, std::string_view name);

} // namespace pigmentaria
