#pragma once
// Named palettes: ordered lists of colours with optional names. The program keeps two: the
// painting palette (the colours in use, in order of first occurrence; a colour's position is its
// paint-by-number number) and the custom palette loaded from a palette file.
#include "model/shape.h"
#include "platform/color.h"
#include "platform/raster.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace pigmentaria {

struct TPaletteEntry {
    TColor Color = 0;
    std::string Name;
};

// Positions are counted from 1. No two entries share a colour; new entries go at the end.
class TNamedPalette {
public:
    const std::vector<TPaletteEntry>& Entries() const { return Entries_; }
    std::size_t Count() const { return Entries_.size(); }
    bool Empty() const { return Entries_.empty(); }
    bool Add(TColor color, std::string name);
    bool Has(TColor color) const { return Position_.count(color) != 0; }
    // Position of the colour, 0 when absent.
    int PositionOf(TColor color) const;
    void Clear();
    bool Delete(int position);
    TPaletteEntry* At(int position);
    const TPaletteEntry* At(int position) const;

private:
    std::vector<TPaletteEntry> Entries_;
    // Colour → position, so that numbering many regions does not search the list each time.
    std::unordered_map<TColor, int> Position_;
};

TNamedPalette NewPalette();
// Appends (colour, name) unless the colour is present; the name passed with a present colour is
// dropped.
void AddPaletteColor(TNamedPalette& palette, TColor color, const std::string& name);
void ClearPalette(TNamedPalette& palette);
bool PaletteHasColor(const TNamedPalette& palette, TColor color);
int PaletteCount(const TNamedPalette& palette);
// -1 when the position is out of range.
std::int64_t PaletteColorAt(const TNamedPalette& palette, int position);
// Empty when the position is out of range.
std::string PaletteNameAt(const TNamedPalette& palette, int position);
void DeletePaletteColor(TNamedPalette& palette, int position);
void SetPaletteName(TNamedPalette& palette, int position, const std::string& name);

// The painting palette: every shape's colour in list order, each colour once.
// The frame shape's colour counts only where the frame shows between the other shapes: a
// painting whose shapes cover it has exactly the colours one sees.
void RebuildPaintingPalette(TNamedPalette& paintingPalette, const TShapeList& shapes);
// The same with FrameShowsThrough(shapes) known already.
void RebuildPaintingPalette(TNamedPalette& paintingPalette, const TShapeList& shapes,
                            bool frameShows);
// Position of the colour in the painting palette; 0 if absent.
int PaintingPaletteIndex(const TNamedPalette& paintingPalette, TColor color);
// The palette window's caption after a rebuild: "12 colors in palette."
std::string PaletteCountCaption(const TNamedPalette& palette);

// The classic face colour of buttons and dialogs, behind the swatches.
constexpr TColor clBtnFace = 0xF0F0F0;

// Where the cells of a palette of `count` colours lie on a surface of w × h, row by row; the
// last row may be cut off at the bottom, and colours past the bottom get no cell.
struct TSwatchCell {
    int Left, Top, Right, Bottom;
};
std::vector<TSwatchCell> PaletteSwatchCells(std::size_t count, int w, int h);
// A step of the keyboard through the cells: to the cell before or after in the rows' order, to
// the row above or below (the cell nearest straight up or down), or to the first or last cell.
enum class TSwatchStep { Previous, Next, Up, Down, First, Last };
// The cell the step lands on from cell `from`; `from` itself where the grid ends that way.
int SwatchCellAfterStep(const std::vector<TSwatchCell>& cells, int from, TSwatchStep step);
// Draws the palette as a grid of colour cells filling the surface, row by row; the last row may be
// cut off at the bottom.
void DrawPaletteSwatches(const TNamedPalette& palette, TPixelSurface& bitmap,
                         TColor background = clBtnFace);

// A palette file line whose colour is not a whole number.
class EPaletteConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Writes a palette file: the description line, then "colour,name" per entry, lines ending CR LF.
void SavePalette(const TNamedPalette& palette, const std::filesystem::path& file,
                 const std::string& description);
// Appends the entries of a palette file; a missing file loads nothing. A line whose text before
// its first comma is not an integer throws EPaletteConvertError naming the file and the line
// ("FILE line 3: 'zzz' is not a valid integer value"), keeping the entries read so far.
void LoadPalette(TNamedPalette& palette, const std::filesystem::path& file);
// The paints a template is matched to, from a palette file: throws std::runtime_error when the
// file cannot be read ("cannot read palette file FILE") or holds no colour ("FILE holds no
// paints"), and as LoadPalette on a bad line.
TNamedPalette LoadPaintsFile(const std::filesystem::path& file);
// Why a file is no palette file, naming it and the line: a description that is not text (a
// binary file), or a line that does not load. None for a file that loads.
std::optional<std::string> PaletteFileProblem(const std::filesystem::path& file);
// A description as a list shows it: at most this many characters, longer ones cut with an
// ellipsis, so that no window grows past the screen for one.
inline constexpr std::size_t MaxListedDescriptionChars = 48;
std::string ListedPaletteDescription(std::string_view description);
// The first line of a palette file: the name the palette window lists it under.
std::string ReadPaletteDescription(const std::filesystem::path& file);

struct TPaletteFileInfo {
    std::string Description;
    std::filesystem::path Path;
};
// Creates the folder with any missing parents.
void EnsurePaletteFolder(const std::filesystem::path& folder);
// The palette files (".KVL", any case) of the folder, ordered by file name. With `problems`,
// files that do not load are left out and their PaletteFileProblem added there.
std::vector<TPaletteFileInfo> ListPaletteFiles(const std::filesystem::path& folder,
                                               std::vector<std::string>* problems = nullptr);

} // namespace pigmentaria
