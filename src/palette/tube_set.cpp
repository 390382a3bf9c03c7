#include "palette/tube_set.h"

#include "platform/file_io.h"
#include "platform/text_parse.h"

#include <cstdio>

namespace pigmentaria {

namespace {

// The lines of a text, LF or CR LF ended; a UTF-8 byte-order mark is skipped.
std::vector<std::string_view> Lines(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

[[noreturn]] void Fail(const std::string& file, std::size_t line, const std::string& what) {
    throw ETubeFileError(file + " line " + std::to_string(line) + ": " + what);
}

// One "R G B" channel: a whole number 0..255.
bool Channel(std::string_view& rest, int& value) {
    rest = TrimBlanks(rest);
    std::size_t n = 0;
    while (n < rest.size() && rest[n] != ' ' && rest[n] != '\t')
        ++n;
    const std::optional<long long> v = ParseWhole(rest.substr(0, n));
    if (!v || *v < 0 || *v > 255) return false;
    value = static_cast<int>(*v);
    rest.remove_prefix(n);
    return true;
}

void CheckSet(const TTubeSet& set, const std::string& file,
              const std::vector<std::size_t>& lineOf) {
    for (std::size_t i = 0; i < set.Tubes.size(); ++i)
        for (std::size_t j = 0; j < i; ++j)
            if (ToLower(set.Tubes[i].Name) == ToLower(set.Tubes[j].Name))
                Fail(file, lineOf[i],
                     "the name \"" + set.Tubes[i].Name + "\" is already used on line " +
                         std::to_string(lineOf[j]));
    if (set.Tubes.size() < MinTubeCount)
        throw ETubeFileError(file + ": a tube set needs at least " + std::to_string(MinTubeCount) +
                             " tubes, it has " + std::to_string(set.Tubes.size()));
}

} // namespace

TTubeSet ParseGimpPalette(std::string_view text, const std::string& file) {
    const std::vector<std::string_view> lines = Lines(text);
    if (lines.empty() || TrimBlanks(lines[0]) != "GIMP Palette")
        Fail(file, 1, "not a GIMP palette (the first line must be \"GIMP Palette\")");
    TTubeSet set;
    std::vector<std::size_t> lineOf;
    bool rows = false;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string_view line = TrimBlanks(lines[i]);
        if (line.empty() || line.front() == '#') continue;
        // The header's keywords stand before the first colour row.
        if (!rows && line.starts_with("Name:")) {
            set.Description = std::string(TrimBlanks(line.substr(5)));
            continue;
        }
        if (!rows && line.starts_with("Columns:")) continue;
        rows = true;
        std::string_view rest = line;
        int r = 0, g = 0, b = 0;
        if (!Channel(rest, r) || !Channel(rest, g) || !Channel(rest, b))
            Fail(file, i + 1,
                 "expected \"R G B name\" with R, G and B from 0 to 255, not \"" +
                     std::string(line) + "\"");
        const std::string_view name = TrimBlanks(rest);
        if (name.empty()) Fail(file, i + 1, "a tube needs a name");
        set.Tubes.push_back({std::string(name), MakeColor(r, g, b)});
        lineOf.push_back(i + 1);
    }
    CheckSet(set, file, lineOf);
    return set;
}

TTubeSet ParseKvlTubes(std::string_view text, const std::string& file) {
    const std::vector<std::string_view> lines = Lines(text);
    TTubeSet set;
    std::vector<std::size_t> lineOf;
    if (!lines.empty()) set.Description = std::string(lines[0]);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        // A last empty line is the file's end, not a tube.
        if (line.empty() && i + 1 == lines.size()) break;
        const std::size_t comma = line.find(',');
        const std::optional<long long> value = comma == std::string_view::npos
                                                   ? std::nullopt
                                                   : ParseWhole(TrimBlanks(line.substr(0, comma)));
        if (!value || *value < 0 || *value > 0xFFFFFF)
            Fail(file, i + 1,
                 "expected \"colour,name\" with a colour value from 0 to 16777215, not \"" +
                     std::string(line) + "\"");
        const std::string_view name = TrimBlanks(line.substr(comma + 1));
        if (name.empty()) Fail(file, i + 1, "a tube needs a name");
        set.Tubes.push_back({std::string(name), static_cast<TColor>(*value)});
        lineOf.push_back(i + 1);
    }
    CheckSet(set, file, lineOf);
    return set;
}

std::string GimpPaletteText(const TTubeSet& set) {
    std::string out = "GIMP Palette\nName: " + set.Description + "\nColumns: 0\n#\n";
    for (const TTube& t : set.Tubes) {
        char rgb[16];
        std::snprintf(rgb, sizeof rgb, "%3d %3d %3d\t", RedOf(t.Color), GreenOf(t.Color),
                      BlueOf(t.Color));
        out += rgb + t.Name + "\n";
    }
    return out;
}

std::string KvlTubesText(const TTubeSet& set) {
    std::string out = set.Description + "\r\n";
    for (const TTube& t : set.Tubes)
        out += std::to_string(t.Color) + "," + t.Name + "\r\n";
    return out;
}

namespace {
bool IsGimpPalette(const std::filesystem::path& file) {
    return ToLower(file.extension().string()) == ".gpl";
}
} // namespace

TTubeSet LoadTubeSet(const std::filesystem::path& file) {
    const std::vector<std::uint8_t> bytes = ReadFileBytes(file);
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return IsGimpPalette(file) ? ParseGimpPalette(text, file.string())
                               : ParseKvlTubes(text, file.string());
}

void SaveTubeSet(const TTubeSet& set, const std::filesystem::path& file) {
    ReplaceFileContents(file, IsGimpPalette(file) ? GimpPaletteText(set) : KvlTubesText(set));
}

int FindTube(const TTubeSet& set, std::string_view name) {
    const std::string wanted = ToLower(std::string(TrimBlanks(name)));
    for (std::size_t i = 0; i < set.Tubes.size(); ++i)
        if (ToLower(set.Tubes[i].Name) == wanted) return static_cast<int>(i);
    return -1;
}

} // namespace pigmentaria
