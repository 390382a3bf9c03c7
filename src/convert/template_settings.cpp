#include "convert/template_settings.h"

#include "platform/text_parse.h"

namespace pigmentaria {

void TTemplateImportSettings::Clamp() {
    if (ColorMode != TColorMode::ByStep && ColorMode != TColorMode::ByCount)
        ColorMode = TColorMode::ByStep;
    PaletteSize = TemplatePaletteSizeRange.Clamp(PaletteSize);
    MinAreaPixels = TemplateMinAreaRange.Clamp(MinAreaPixels);
    MinWidthPixels = TemplateMinWidthRange.Clamp(MinWidthPixels);
}

TTemplateGroupRules TemplateGroupRules(const TTemplateImportSettings& s, bool anyPaletteFiles) {
    TTemplateGroupRules r;
    r.ColorDepthEnabled = s.ColorMode == TColorMode::ByStep;
    r.PaletteSizeEnabled = s.ColorMode == TColorMode::ByCount;
    r.MatchToPaintsEnabled = anyPaletteFiles;
    r.PaintsFileEnabled = anyPaletteFiles && s.MatchToPaints;
    return r;
}

int WholeFieldValue(std::string_view text, const TWholeRange& range, int previous) {
    const std::optional<long long> v = ParseWhole(TrimBlanks(text));
    if (!v) return previous;
    if (*v < range.Min) return range.Min;
    if (*v > range.Max) return range.Max;
    return static_cast<int>(*v);
}

TTemplateControls TemplateControlsOf(const TTemplateImportSettings& in,
                                     const TNamedPalette* paints) {
    TTemplateImportSettings s = in;
    s.Clamp();
    TTemplateControls c;
    c.PaletteSize = s.ColorMode == TColorMode::ByCount ? s.PaletteSize : 0;
    c.MinRegionPixels = s.MinAreaPixels;
    c.MinWidthPixels = s.MinWidthPixels;
    if (s.MatchToPaints && paints) c.Paints = *paints;
    return c;
}

std::string EncodeTemplateKeys(const TTemplateImportSettings& s) {
    auto line = [](const char* key, const std::string& value) {
        return std::string(key) + "=" + value + "\n";
    };
    return line(TemplateKeyColors, s.ColorMode == TColorMode::ByCount ? "count" : "step") +
           line(TemplateKeyPaletteSize, std::to_string(s.PaletteSize)) +
           line(TemplateKeyMinArea, std::to_string(s.MinAreaPixels)) +
           line(TemplateKeyMinWidth, std::to_string(s.MinWidthPixels)) +
           line(TemplateKeyMatchPaints, s.MatchToPaints ? "1" : "0") +
           line(TemplateKeyPaintsFile, s.PaintsFile);
}

TTemplateImportSettings DecodeTemplateKeys(std::string_view text) {
    TTemplateImportSettings s;
    ForEachKeyLine(text, [&](std::string_view key, std::string_view value) {
        const std::string_view v = TrimBlanks(value);
        if (key == TemplateKeyColors) {
            if (v == "count") s.ColorMode = TColorMode::ByCount;
            if (v == "step") s.ColorMode = TColorMode::ByStep;
        } else if (key == TemplateKeyPaletteSize) {
            s.PaletteSize = WholeFieldValue(v, TemplatePaletteSizeRange, s.PaletteSize);
        } else if (key == TemplateKeyMinArea) {
            s.MinAreaPixels = WholeFieldValue(v, TemplateMinAreaRange, s.MinAreaPixels);
        } else if (key == TemplateKeyMinWidth) {
            s.MinWidthPixels = WholeFieldValue(v, TemplateMinWidthRange, s.MinWidthPixels);
        } else if (key == TemplateKeyMatchPaints) {
            if (v == "1") s.MatchToPaints = true;
            if (v == "0") s.MatchToPaints = false;
        } else if (key == TemplateKeyPaintsFile) {
            // A file name may start or end with spaces; only the line end is taken off.
            s.PaintsFile = std::string(value);
        }
    });
    return s;
}

} // namespace pigmentaria
