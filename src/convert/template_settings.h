#pragma once
// The import dialog's template group (in its advanced panel): colours by step or by count, the
// minimum region size, and "Match to paints" with a palette file. Its ranges, defaults and field
// rules, what it asks of the conversion, and its keys in the settings file. The defaults leave
// the import on its default path.
#include "convert/conversion.h"
#include "palette/palette.h"

#include <optional>
#include <string>
#include <string_view>

namespace pigmentaria {

struct TWholeRange {
    int Min = 0, Max = 0, Default = 0;
    int Clamp(int v) const { return v < Min ? Min : v > Max ? Max : v; }
};

// Colours by count: 2 .. 255 colours, 24 by default.
constexpr TWholeRange TemplatePaletteSizeRange{2, 255, 24};
// Regions of fewer pixels merge into a neighbour: 0 (off) .. 100000 pixels of the painting.
constexpr TWholeRange TemplateMinAreaRange{0, 100000, 0};
// Regions that cannot hold a circle this many pixels across merge: 0 (off) .. 200.
constexpr TWholeRange TemplateMinWidthRange{0, 200, 0};

enum class TColorMode { ByStep = 0, ByCount = 1 };

struct TTemplateImportSettings {
    // By step: the Color Depth slider's per-channel step, the default path. By count: k-means
    // colours, PaletteSize of them.
    TColorMode ColorMode = TColorMode::ByStep;
    int PaletteSize = TemplatePaletteSizeRange.Default;
    int MinAreaPixels = TemplateMinAreaRange.Default;
    int MinWidthPixels = TemplateMinWidthRange.Default;
    bool MatchToPaints = false;
    // The palette file's name in the palette folder (as the palette window lists them).
    std::string PaintsFile;

    // Holds every field to its range; an unknown colour mode becomes by step.
    void Clamp();
    friend bool operator==(const TTemplateImportSettings&,
                           const TTemplateImportSettings&) = default;
};

// Which controls of the group (and the Color Depth slider beside it) can be used.
struct TTemplateGroupRules {
    bool ColorDepthEnabled = true;
    bool PaletteSizeEnabled = false;
    // "Match to paints" needs a palette file to match to.
    bool MatchToPaintsEnabled = false;
    bool PaintsFileEnabled = false;
};
TTemplateGroupRules TemplateGroupRules(const TTemplateImportSettings& settings,
                                       bool anyPaletteFiles);

// A whole-number field as typed: the number held to the range, or `previous` when the text is
// no whole number (the field then shows the previous value again). Spaces around are allowed.
int WholeFieldValue(std::string_view text, const TWholeRange& range, int previous);

// What the group asks of the conversion. `paints` are the palette file's colours, read by the
// caller when MatchToPaints is set; without them no paints are matched.
TTemplateControls TemplateControlsOf(const TTemplateImportSettings& settings,
                                     const TNamedPalette* paints);

// The settings file's keys for the group, one "key=value" line each, LF ended.
inline constexpr const char* TemplateKeyColors = "template-colors";            // step | count
inline constexpr const char* TemplateKeyPaletteSize = "template-palette-size"; // 2..255
inline constexpr const char* TemplateKeyMinArea = "template-min-region-px";    // 0..100000
inline constexpr const char* TemplateKeyMinWidth = "template-min-width-px";    // 0..200
inline constexpr const char* TemplateKeyMatchPaints = "template-match-paints"; // 0 | 1
inline constexpr const char* TemplateKeyPaintsFile = "template-paints-file";   // a file name

// Every key, in the order above.
std::string EncodeTemplateKeys(const TTemplateImportSettings& settings);
// Reads the keys: unknown keys and lines are skipped, a value that cannot be read keeps the
// default, numbers are held to their ranges; CR LF line ends are read too.
TTemplateImportSettings DecodeTemplateKeys(std::string_view text);

} // namespace pigmentaria
