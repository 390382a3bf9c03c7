#include "palette/palette.h"

#include "model/render.h"
#include "platform/canvas.h"
#include "platform/file_io.h"
#include "platform/text_parse.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <system_error>
#include <unordered_set>

namespace pigmentaria {

bool TNamedPalette::Add(TColor color, std::string name) {
    if (Has(color)) return false;
    Entries_.push_back({color, std::move(name)});
    Position_.emplace(color, static_cast<int>(Entries_.size()));
    return true;
}

int TNamedPalette::PositionOf(TColor color) const {
    const auto it = Position_.find(color);
    return it == Position_.end() ? 0 : it->second;
}

void TNamedPalette::Clear() {
    Entries_.clear();
    Position_.clear();
}

bool TNamedPalette::Delete(int position) {
    if (position < 1 || position > static_cast<int>(Entries_.size())) return false;
    Entries_.erase(Entries_.begin() + (position - 1));
    Position_.clear();
    for (std::size_t i = 0; i < Entries_.size(); ++i)
        Position_.emplace(Entries_[i].Color, static_cast<int>(i + 1));
    return true;
}

TPaletteEntry* TNamedPalette::At(int position) {
    if (position < 1 || position > static_cast<int>(Entries_.size())) return nullptr;
    return &Entries_[static_cast<std::size_t>(position - 1)];
}

const TPaletteEntry* TNamedPalette::At(int position) const {
    return const_cast<TNamedPalette*>(this)->At(position);
}

TNamedPalette NewPalette() {
    return {};
}

void AddPaletteColor(TNamedPalette& palette, TColor color, const std::string& name) {
    palette.Add(color, name);
}

void ClearPalette(TNamedPalette& palette) {
    palette.Clear();
}

bool PaletteHasColor(const TNamedPalette& palette, TColor color) {
    return palette.Has(color);
}

int PaletteCount(const TNamedPalette& palette) {
    return static_cast<int>(palette.Count());
}

std::int64_t PaletteColorAt(const TNamedPalette& palette, int position) {
    const TPaletteEntry* e = palette.At(position);
    return e ? static_cast<std::int64_t>(e->Color) : -1;
}

std::string PaletteNameAt(const TNamedPalette& palette, int position) {
    const TPaletteEntry* e = palette.At(position);
    return e ? e->Name : std::string();
}

void DeletePaletteColor(TNamedPalette& palette, int position) {
    palette.Delete(position);
}

void SetPaletteName(TNamedPalette& palette, int position, const std::string& name) {
    if (TPaletteEntry* e = palette.At(position)) e->Name = name;
}

void RebuildPaintingPalette(TNamedPalette& paintingPalette, const TShapeList& shapes) {
    RebuildPaintingPalette(paintingPalette, shapes, FrameShowsThrough(shapes));
}

void RebuildPaintingPalette(TNamedPalette& paintingPalette, const TShapeList& shapes,
                            bool frameShows) {
    paintingPalette.Clear();
    for (const TPaintShape& s : shapes) {
        // A frame covered everywhere is no paint of the painting.
        if (&s == shapes.First() && !frameShows) continue;
        paintingPalette.Add(s.Color, std::string());
    }
}

int PaintingPaletteIndex(const TNamedPalette& paintingPalette, TColor color) {
    return paintingPalette.PositionOf(color);
}

std::string PaletteCountCaption(const TNamedPalette& palette) {
    return std::to_string(palette.Count()) + " colors in palette.";
}

std::vector<TSwatchCell> PaletteSwatchCells(std::size_t count, int w, int h) {
    std::vector<TSwatchCell> cells;
    if (w <= 0 || h <= 0 || count == 0) return cells;
    // The side of a square cell if the cells tiled the bitmap exactly, then whole columns.
    const double side =
        std::trunc(std::sqrt(static_cast<double>(w) * h / static_cast<double>(count)));
    int cellW = 1, cellH = 1;
    if (side >= 1) {
        const double columns = std::trunc(w / side) + 1;
        cellW = static_cast<int>(std::trunc(w / columns));
        cellH = static_cast<int>(std::trunc(h / (static_cast<double>(count) / columns)));
    }
    // A bitmap with fewer pixels than the palette has colours gets one-pixel cells, as many as
    // fit; cells never shrink to nothing.
    cellW = std::max(cellW, 1);
    cellH = std::max(cellH, 1);
    int x = 0, y = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (y >= h) break;
        cells.push_back({x, y, x + cellW, y + cellH});
        x += cellW;
        if (x + cellW > w) {
            x = 0;
            y += cellH;
        }
    }
    return cells;
}

int SwatchCellAfterStep(const std::vector<TSwatchCell>& cells, int from, TSwatchStep step) {
    const int n = static_cast<int>(cells.size());
    if (n == 0) return 0;
    from = std::clamp(from, 0, n - 1);
    switch (step) {
    case TSwatchStep::Previous:
        return std::max(from - 1, 0);
    case TSwatchStep::Next:
        return std::min(from + 1, n - 1);
    case TSwatchStep::First:
        return 0;
    case TSwatchStep::Last:
        return n - 1;
    case TSwatchStep::Up:
    case TSwatchStep::Down:
        break;
    }
    // The next row that way, then the cell of it whose middle is nearest; a short last row
    // takes the step down to its last cell.
    const TSwatchCell& f = cells[static_cast<std::size_t>(from)];
    const bool down = step == TSwatchStep::Down;
    std::optional<int> rowTop;
    for (const TSwatchCell& c : cells)
        if (down ? c.Top > f.Top : c.Top < f.Top)
            if (!rowTop || (down ? c.Top < *rowTop : c.Top > *rowTop)) rowTop = c.Top;
    if (!rowTop) return from;
    const int middle = f.Left + f.Right;
    int best = from, bestDistance = 0;
    for (int i = 0; i < n; ++i) {
        const TSwatchCell& c = cells[static_cast<std::size_t>(i)];
        if (c.Top != *rowTop) continue;
        const int d = std::abs(c.Left + c.Right - middle);
        if (best == from || d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return best;
}

void DrawPaletteSwatches(const TNamedPalette& palette, TPixelSurface& bitmap, TColor background) {
    const int w = bitmap.Width(), h = bitmap.Height();
    if (w <= 0 || h <= 0) return;
    TRasterCanvas canvas(bitmap);
    canvas.FillRect(0, 0, w, h, background);
    const std::vector<TSwatchCell> cells = PaletteSwatchCells(palette.Count(), w, h);
    for (std::size_t i = 0; i < cells.size(); ++i)
        canvas.FillRect(cells[i].Left, cells[i].Top, cells[i].Right, cells[i].Bottom,
                        palette.Entries()[i].Color);
}

void SavePalette(const TNamedPalette& palette, const std::filesystem::path& file,
                 const std::string& description) {
    std::string text = description + "\r\n";
    for (const TPaletteEntry& e : palette.Entries())
        text += std::to_string(static_cast<std::int32_t>(e.Color)) + "," + e.Name + "\r\n";
    ReplaceFileContents(file, text);
}

namespace {

// The lines of a text file, CR LF or LF; a final line end adds no empty line.
std::vector<std::string> TextLines(const std::vector<std::uint8_t>& bytes) {
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = static_cast<char>(bytes[i]);
        if (c == '\n') {
            lines.push_back(std::move(line));
            line.clear();
        } else if (c == '\r' && (i + 1 == bytes.size() || bytes[i + 1] == '\n')) {
            // The CR of a CR LF pair, or a lone CR ending the file.
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(std::move(line));
    return lines;
}

// A signed decimal 32-bit integer, optionally surrounded by blanks.
bool ParseInt32(const std::string& text, std::int32_t& value) {
    std::size_t i = 0, end = text.size();
    while (i < end && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    while (end > i && (text[end - 1] == ' ' || text[end - 1] == '\t'))
        --end;
    if (i == end) return false;
    bool negative = false;
    if (text[i] == '+' || text[i] == '-') negative = text[i++] == '-';
    if (i == end) return false;
    long long v = 0;
    for (; i < end; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        v = v * 10 + (text[i] - '0');
        if (v > 2147483648LL) return false;
    }
    if (negative) v = -v;
    if (v > INT32_MAX || v < INT32_MIN) return false;
    value = static_cast<std::int32_t>(v);
    return true;
}

} // namespace

namespace {

// "FILE line N: " in front of what is wrong with a line of a palette file.
std::string LinePrefix(const std::filesystem::path& file, std::size_t line) {
    return file.string() + " line " + std::to_string(line) + ": ";
}

// The entries of a palette file's lines after the description; a line whose colour text is not a
// whole number throws, naming the file and the line, after the entries before it.
void ParsePaletteLines(TNamedPalette& palette, const std::vector<std::string>& lines,
                       const std::filesystem::path& file) {
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        const std::size_t comma = line.find(',');
        // A line without a comma has no colour text at all.
        const std::string colorText =
            comma == std::string::npos ? std::string() : line.substr(0, comma);
        std::int32_t value;
        if (!ParseInt32(colorText, value))
            throw EPaletteConvertError(LinePrefix(file, i + 1) + "'" +
                                       std::string(Utf8PrefixChars(colorText, 40)) +
                                       "' is not a valid integer value");
        const std::string name = comma == std::string::npos
                                     ? std::string()
                                     : std::string(Utf8PrefixChars(line.substr(comma + 1), 200));
        palette.Add(static_cast<TColor>(value), name);
    }
}

// A description a person wrote: no control characters but tabs, and whole UTF-8 characters.
// Anything else (a picture or another binary file given the palette extension) is not a palette.
bool IsDescriptionText(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            if ((c < 0x20 && c != '\t') || c == 0x7F) return false;
            ++i;
            continue;
        }
        const std::size_t length = (c & 0xE0) == 0xC0   ? 2
                                   : (c & 0xF0) == 0xE0 ? 3
                                   : (c & 0xF8) == 0xF0 ? 4
                                                        : 0;
        if (length == 0 || c == 0xC0 || c == 0xC1 || i + length > text.size()) return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        i += length;
    }
    return true;
}

} // namespace

void LoadPalette(TNamedPalette& palette, const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) return;
    ParsePaletteLines(palette, TextLines(ReadFileBytes(file)), file);
}

std::string ReadPaletteDescription(const std::filesystem::path& file) {
    const std::vector<std::string> lines = TextLines(ReadFileBytes(file));
    return lines.empty() ? std::string() : lines[0];
}

namespace {

// The file's lines, read once, and why they are no palette file (none when they load).
std::optional<std::string> ReadCheckedLines(const std::filesystem::path& file,
                                            std::vector<std::string>& lines) {
    try {
        lines = TextLines(ReadFileBytes(file));
    } catch (const std::exception& e) {
        return std::string(e.what());
    }
    if (lines.empty()) return LinePrefix(file, 1) + "no description: not a palette file";
    if (!IsDescriptionText(lines[0]))
        return LinePrefix(file, 1) + "the description is not text: not a palette file";
    TNamedPalette scratch;
    try {
        ParsePaletteLines(scratch, lines, file);
    } catch (const EPaletteConvertError& e) {
        return std::string(e.what());
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> PaletteFileProblem(const std::filesystem::path& file) {
    std::vector<std::string> lines;
    return ReadCheckedLines(file, lines);
}

std::string ListedPaletteDescription(std::string_view description) {
    if (!IsDescriptionText(description)) return "(unreadable description)";
    const std::string_view cut = Utf8PrefixChars(description, MaxListedDescriptionChars);
    if (cut.size() == description.size()) return std::string(description);
    // Cut before the last character that fits, to make room for the ellipsis.
    return std::string(Utf8PrefixChars(description, MaxListedDescriptionChars - 1)) + "\u2026";
}

void EnsurePaletteFolder(const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) throw EFileError("Cannot create " + folder.string() + ": " + ec.message());
}

std::vector<TPaletteFileInfo> ListPaletteFiles(const std::filesystem::path& folder,
                                               std::vector<std::string>* problems) {
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string ext = ToUpper(it->path().extension().string());
        if (ext == ".KVL" && it->is_regular_file(ec)) files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());
    std::vector<TPaletteFileInfo> out;
    for (const auto& f : files) {
        if (!problems) {
            out.push_back({ReadPaletteDescription(f), f});
            continue;
        }
        std::vector<std::string> lines;
        if (std::optional<std::string> problem = ReadCheckedLines(f, lines)) {
            problems->push_back(std::move(*problem));
            continue;
        }
        out.push_back({lines[0], f});
    }
    return out;
}

TNamedPalette LoadPaintsFile(const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec))
        throw std::runtime_error("cannot read palette file " + file.string());
    TNamedPalette paints;
    LoadPalette(paints, file);
    if (paints.Empty()) throw std::runtime_error(file.string() + " holds no paints");
    return paints;
}

} // namespace pigmentaria
