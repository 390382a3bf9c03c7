#pragma once
// The New Template dialog's rules: the difficulty presets and the fields they fill, the paper,
// the pages and the paints to use, the request they make of the template job, the canvas size the
// print paints, the legibility line of a made template, and the settings file's keys that keep
// the last choices. The window (print/qt/new_template_dialog) only shows them.
#include "convert/template_settings_store.h"
#include "palette/palette.h"
#include "palette/recipes.h"
#include "platform/settings.h"
#include "print/printer.h"
#include "print/template_job.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pigmentaria {

enum class TTemplateDifficulty { Beginner = 0, Standard = 1, Expert = 2, Custom = 3 };

// A difficulty fills the paints and the smallest cell: fewer paints and larger cells are easier
// to paint.
struct TDifficultyPreset {
    TTemplateDifficulty Difficulty;
    const char* Name;
    int Paints;
    double MinMm;
};
inline constexpr TDifficultyPreset DifficultyPresets[] = {
    {TTemplateDifficulty::Beginner, "Beginner", 12, 5.0},
    {TTemplateDifficulty::Standard, "Standard", DefaultTemplatePaletteSize, DefaultTemplateMinMm},
    {TTemplateDifficulty::Expert, "Expert", 36, 1.5},
};
// "Beginner", "Standard", "Expert" or "Custom".
const char* DifficultyName(TTemplateDifficulty difficulty);
// The preset the fields match, Custom when none.
TTemplateDifficulty DifficultyOf(int paints, double minMm);

constexpr int MinTemplatePaints = 2, MaxTemplatePaints = 64;
// The smallest cell, in millimetres with one decimal: smaller cannot take a brush, larger leaves
// no picture.
constexpr double MinTemplateCellMm = 0.5, MaxTemplateCellMm = 20.0;
constexpr int MaxTemplatePages = 99;

// The sheets the dialog offers first, then the printer's own.
struct TTemplatePaper {
    std::string Name;
    // A paper code; PaperUser with its size in tenths of a millimetre (portrait).
    int Code = PaperA4;
    int Width = 0, Length = 0;
    friend bool operator==(const TTemplatePaper&, const TTemplatePaper&) = default;
};
// A4, Letter, A3, Legal.
const std::vector<TTemplatePaper>& StandardTemplatePapers();
// The standard sheets, then those of a printer's own sizes that are none of them (by size, to
// the millimetre), each once.
std::vector<TTemplatePaper> TemplatePapers(const std::vector<TTemplatePaper>& printerPapers);
// A user size as the list names it: "210 × 297 mm".
std::string PaperSizeName(int widthTenthsMm, int lengthTenthsMm);

// What the colours become: any colours, the paints of a palette file, or what a tube set mixes.
enum class TPaintSetKind { AnyColours = 0, Palette = 1, Tubes = 2 };
struct TPaintSetChoice {
    TPaintSetKind Kind = TPaintSetKind::AnyColours;
    // The palette or tube file, for the other two.
    std::filesystem::path File;
    friend bool operator==(const TPaintSetChoice&, const TPaintSetChoice&) = default;
};

struct TNewTemplateSettings {
    TTemplateDifficulty Difficulty = TTemplateDifficulty::Standard;
    int Paints = DefaultTemplatePaletteSize;
    double MinMm = DefaultTemplateMinMm;
    int PaperCode = PaperA4;
    // A user paper's portrait size in tenths of a millimetre, with PaperUser.
    int PaperWidth = 0, PaperLength = 0;
    int PagesAcross = 1, PagesDown = 1;
    TPaintSetChoice PaintSet;

    // A preset fills the paints and the smallest cell; Custom keeps them as they are.
    void ChooseDifficulty(TTemplateDifficulty difficulty);
    // A field edited: held to its range, and the difficulty follows what the fields now match.
    void SetPaints(int paints);
    void SetMinMm(double mm);
    void SetPaper(const TTemplatePaper& paper);
    // Every field held to its range, the smallest cell to one decimal; a difficulty whose preset
    // the fields do not match becomes Custom.
    void Clamp();
    friend bool operator==(const TNewTemplateSettings&, const TNewTemplateSettings&) = default;
};

// The smallest cell as typed or stored: held to its range at one decimal.
double ClampCellMm(double mm);

// The paints a paint set gives, read from its file (on the worker: a tube set's mixing table
// takes a moment). Throws std::runtime_error naming the file when it cannot be used.
struct TLoadedPaintSet {
    TNamedPalette Paints;
    std::shared_ptr<const TMixTable> Tubes;
};
TLoadedPaintSet LoadPaintSet(const TPaintSetChoice& choice);

// The template job's request: "Standard" on A4, one page, any colours asks what the command line
// asks by default. A tube set mixes every colour (Mixable).
TTemplateRequest TemplateRequestOf(const TNewTemplateSettings& settings,
                                   const TLoadedPaintSet& paints = {});

// "Canvas size: 19.0 × 27.7 cm": the painted area on paper the request gives a picture of W × H,
// from its plan alone.
inline constexpr const char* CanvasSizePattern = "Canvas size: %1 \xC3\x97 %2 cm";
std::string CanvasSizeText(int pictureWidth, int pictureHeight, const TTemplateRequest& request,
                           char decimalPoint = '.');

// "24 paints; 310 cells; narrowest 2.6 mm; smallest number 5 pt; 0 cells without a number":
// parts made from the patterns below, joined by the separator.
inline constexpr const char* TemplateLegibilitySeparator = "; ";
inline constexpr const char* TemplateLegibilityPatterns[] = {
    "1 paint",
    "%1 paints",
    "1 cell",
    "%1 cells",
    "narrowest %1 mm",
    "smallest number %1 pt",
    "1 cell without a number",
    "%1 cells without a number",
};
std::string TemplateLegibilityText(const TTemplateResult& result, char decimalPoint = '.');

// The paint sets the dialog lists, after "Any colours": the user's palettes, the bundled ones
// (BUNDLED/palettes), then the tube sets: the user's GIMP palettes and the bundled tube sets
// (BUNDLED/tubes), each "Mix from tubes: NAME". Files that cannot be read are left out.
struct TPaintSetEntry {
    std::string Caption;
    TPaintSetChoice Choice;
};
inline constexpr const char* AnyColoursCaption = "Any colours";
inline constexpr const char* OtherPaletteCaption = "Other palette file...";
std::vector<TPaintSetEntry> ListPaintSets(const std::filesystem::path& paletteFolder,
                                          const std::filesystem::path& bundledFolder);
// "Mix from tubes: NAME", or for a palette file its listed description (its file name when it
// has none).
std::string PaintSetCaption(const TPaintSetChoice& choice);

// The settings file's keys, one "key=value" line each, LF ended.
inline constexpr const char* NewTemplateKeyDifficulty = "new-template-difficulty"; // name
inline constexpr const char* NewTemplateKeyPaints = "new-template-paints";         // 2..64
inline constexpr const char* NewTemplateKeyCellMm = "new-template-cell-mm";        // 0.5..20
inline constexpr const char* NewTemplateKeyPaper = "new-template-paper";           // code[,W,L]
inline constexpr const char* NewTemplateKeyPages = "new-template-pages";           // AxD
inline constexpr const char* NewTemplateKeyPaintSet = "new-template-paint-set"; // any|palette|tubes
inline constexpr const char* NewTemplateKeyPaintFile = "new-template-paint-file"; // a path

std::string EncodeNewTemplateKeys(const TNewTemplateSettings& settings);
// Unknown keys and lines are skipped, a value that cannot be read keeps the default, numbers are
// held to their ranges; CR LF line ends are read too.
TNewTemplateSettings DecodeNewTemplateKeys(std::string_view text);

// In the block's reserved bytes, from NewTemplateSettingsOffset, after a "[new template]" line
// and ended by a NUL (the import dialog's template group keeps the bytes before). A block that
// never held them reads as the defaults, and storing the defaults into it changes no byte; a
// paint file whose path does not fit is stored as any colours.
inline constexpr const char* NewTemplateSettingsTag = "[new template]\n";
constexpr std::size_t NewTemplateSettingsOffset = TemplateSettingsBytes;
TNewTemplateSettings NewTemplateSettings(const TSettingsBlock& block);
void SetNewTemplateSettings(TSettingsBlock& block, const TNewTemplateSettings& settings);

} // namespace pigmentaria
