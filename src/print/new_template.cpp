#include "print/new_template.h"

#include "palette/tube_set.h"
#include "platform/text_parse.h"
#include "print/print_scale.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <system_error>

namespace pigmentaria {

namespace {

bool SameMm(double a, double b) {
    return std::fabs(a - b) < 0.05;
}

int ClampWhole(long long v, int lo, int hi) {
    return static_cast<int>(std::clamp<long long>(v, lo, hi));
}

} // namespace

const char* DifficultyName(TTemplateDifficulty difficulty) {
    for (const TDifficultyPreset& p : DifficultyPresets)
        if (p.Difficulty == difficulty) return p.Name;
    return "Custom";
}

TTemplateDifficulty DifficultyOf(int paints, double minMm) {
    for (const TDifficultyPreset& p : DifficultyPresets)
        if (p.Paints == paints && SameMm(p.MinMm, minMm)) return p.Difficulty;
    return TTemplateDifficulty::Custom;
}

double ClampCellMm(double mm) {
    if (!(mm == mm)) return DefaultTemplateMinMm;
    return std::round(std::clamp(mm, MinTemplateCellMm, MaxTemplateCellMm) * 10) / 10;
}

const std::vector<TTemplatePaper>& StandardTemplatePapers() {
    static const std::vector<TTemplatePaper> papers{
        {"A4", PaperA4, 2100, 2970},
        {"Letter", PaperLetter, 2159, 2794},
        {"A3", PaperA3, 2970, 4200},
        {"Legal", PaperLegal, 2159, 3556},
    };
    return papers;
}

std::vector<TTemplatePaper> TemplatePapers(const std::vector<TTemplatePaper>& printerPapers) {
    std::vector<TTemplatePaper> out = StandardTemplatePapers();
    for (TTemplatePaper p : printerPapers) {
        if (p.Width > p.Length) std::swap(p.Width, p.Length);
        if (p.Width <= 0 || p.Length <= 0) continue;
        const bool known = std::any_of(out.begin(), out.end(), [&](const TTemplatePaper& q) {
            return std::abs(q.Width - p.Width) < 10 && std::abs(q.Length - p.Length) < 10;
        });
        if (!known) out.push_back({p.Name, PaperUser, p.Width, p.Length});
    }
    return out;
}

std::string PaperSizeName(int width, int length) {
    return FormatGeneral(std::round(width) / 10.0, 4) + " \xC3\x97 " +
           FormatGeneral(std::round(length) / 10.0, 4) + " mm";
}

void TNewTemplateSettings::ChooseDifficulty(TTemplateDifficulty difficulty) {
    Difficulty = difficulty;
    for (const TDifficultyPreset& p : DifficultyPresets)
        if (p.Difficulty == difficulty) {
            Paints = p.Paints;
            MinMm = p.MinMm;
        }
}

void TNewTemplateSettings::SetPaints(int paints) {
    Paints = std::clamp(paints, MinTemplatePaints, MaxTemplatePaints);
    Difficulty = DifficultyOf(Paints, MinMm);
}

void TNewTemplateSettings::SetMinMm(double mm) {
    MinMm = ClampCellMm(mm);
    Difficulty = DifficultyOf(Paints, MinMm);
}

void TNewTemplateSettings::SetPaper(const TTemplatePaper& paper) {
    PaperCode = paper.Code;
    PaperWidth = paper.Code == PaperUser ? paper.Width : 0;
    PaperLength = paper.Code == PaperUser ? paper.Length : 0;
}

void TNewTemplateSettings::Clamp() {
    Paints = std::clamp(Paints, MinTemplatePaints, MaxTemplatePaints);
    MinMm = ClampCellMm(MinMm);
    PagesAcross = std::clamp(PagesAcross, 1, MaxTemplatePages);
    PagesDown = std::clamp(PagesDown, 1, MaxTemplatePages);
    if (Difficulty != TTemplateDifficulty::Custom && DifficultyOf(Paints, MinMm) != Difficulty)
        Difficulty = TTemplateDifficulty::Custom;
    const bool known = PaperSizeOfCode(PaperCode).Width > 0;
    // A user sheet from 25 mm to 2 m; anything else is A4.
    const bool user = PaperCode == PaperUser && PaperWidth >= 250 && PaperWidth <= 20000 &&
                      PaperLength >= 250 && PaperLength <= 20000;
    if (!known && !user) PaperCode = PaperA4;
    if (PaperCode != PaperUser) PaperWidth = PaperLength = 0;
    if (PaintSet.Kind != TPaintSetKind::Palette && PaintSet.Kind != TPaintSetKind::Tubes)
        PaintSet = {};
    if (PaintSet.Kind != TPaintSetKind::AnyColours && PaintSet.File.empty()) PaintSet = {};
}

TLoadedPaintSet LoadPaintSet(const TPaintSetChoice& choice) {
    TLoadedPaintSet out;
    if (choice.Kind == TPaintSetKind::Palette) out.Paints = LoadPaintsFile(choice.File);
    if (choice.Kind == TPaintSetKind::Tubes)
        out.Tubes = std::make_shared<const TMixTable>(LoadTubeSet(choice.File));
    return out;
}

TTemplateRequest TemplateRequestOf(const TNewTemplateSettings& in, const TLoadedPaintSet& paints) {
    TNewTemplateSettings s = in;
    s.Clamp();
    TTemplateRequest r;
    r.PaperCode = s.PaperCode;
    r.UserPaperWidth = s.PaperWidth;
    r.UserPaperLength = s.PaperLength;
    r.PagesAcross = s.PagesAcross;
    r.PagesDown = s.PagesDown;
    r.PaletteSize = s.Paints;
    r.MinMm = s.MinMm;
    if (s.PaintSet.Kind == TPaintSetKind::Palette) r.Paints = paints.Paints;
    if (s.PaintSet.Kind == TPaintSetKind::Tubes && paints.Tubes) {
        r.Tubes = paints.Tubes;
        r.Mixable = true;
    }
    return r;
}

std::string CanvasSizeText(int pictureWidth, int pictureHeight, const TTemplateRequest& request,
                           char decimalPoint) {
    const TTemplatePlan plan = PlanTemplate(pictureWidth, pictureHeight, request);
    const TPrintGeometry print =
        PdfPrintOfBlock(plan.Layout, plan.PaintingWidth, plan.PaintingHeight);
    const double w = FrameWidthIn(print.Layout, print.Settings.Frame) * MmPerInch / 10;
    const double h = FrameHeightIn(print.Layout, print.Settings.Frame) * MmPerInch / 10;
    return FillParts(CanvasSizePattern,
                     {FormatFixed(w, 1, decimalPoint), FormatFixed(h, 1, decimalPoint)});
}

std::string TemplateLegibilityText(const TTemplateResult& t, char decimalPoint) {
    const TLegibilityReport& r = t.Report;
    const auto& p = TemplateLegibilityPatterns;
    // One of a singular and a plural pattern by the count.
    const auto counted = [](std::size_t n, const char* one, const char* many) {
        return n == 1 ? std::string(one) : FillParts(many, {std::to_string(n)});
    };
    const std::string parts[] = {
        counted(t.Shares.size(), p[0], p[1]),
        counted(static_cast<std::size_t>(r.Regions), p[2], p[3]),
        FillParts(p[4], {FormatFixed(r.SmallestDiameterMm, 1, decimalPoint)}),
        FillParts(p[5], {std::to_string(r.SmallestNumberPt)}),
        counted(static_cast<std::size_t>(r.RegionsWithoutFittingNumber), p[6], p[7])};
    std::string text;
    for (const std::string& part : parts)
        text += (text.empty() ? "" : TemplateLegibilitySeparator) + part;
    return text;
}

std::string PaintSetCaption(const TPaintSetChoice& choice) {
    switch (choice.Kind) {
    case TPaintSetKind::AnyColours:
        return AnyColoursCaption;
    case TPaintSetKind::Palette: {
        std::string d = ListedPaletteDescription(ReadPaletteDescription(choice.File));
        return d.empty() ? choice.File.filename().string() : d;
    }
    case TPaintSetKind::Tubes: {
        std::string name;
        try {
            name = LoadTubeSet(choice.File).Description;
        } catch (const std::exception&) {
        }
        if (name.empty()) name = choice.File.stem().string();
        return "Mix from tubes: " + ListedPaletteDescription(name);
    }
    }
    return AnyColoursCaption;
}

std::vector<TPaintSetEntry> ListPaintSets(const std::filesystem::path& paletteFolder,
                                          const std::filesystem::path& bundledFolder) {
    std::vector<TPaintSetEntry> out;
    std::vector<std::string> problems;
    auto palettes = [&](const std::filesystem::path& folder) {
        if (folder.empty()) return;
        for (const TPaletteFileInfo& f : ListPaletteFiles(folder, &problems)) {
            const TPaintSetChoice c{TPaintSetKind::Palette, f.Path};
            const std::string d = ListedPaletteDescription(f.Description);
            out.push_back({d.empty() ? f.Path.filename().string() : d, c});
        }
    };
    palettes(paletteFolder);
    if (!bundledFolder.empty()) palettes(bundledFolder / "palettes");
    // Tube sets: GIMP palettes beside the user's palettes, and every bundled tube file.
    auto tubes = [&](const std::filesystem::path& folder, bool kvlToo) {
        if (folder.empty()) return;
        std::vector<std::filesystem::path> files;
        std::error_code ec;
        for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
             it.increment(ec)) {
            const std::string ext = ToLower(it->path().extension().string());
            if ((ext == ".gpl" || (kvlToo && ext == ".kvl")) && it->is_regular_file(ec))
                files.push_back(it->path());
        }
        std::sort(files.begin(), files.end());
        for (const std::filesystem::path& f : files) {
            try {
                const TTubeSet set = LoadTubeSet(f);
                const std::string name =
                    set.Description.empty() ? f.stem().string() : set.Description;
                out.push_back({"Mix from tubes: " + ListedPaletteDescription(name),
                               {TPaintSetKind::Tubes, f}});
            } catch (const std::exception&) {
            }
        }
    };
    tubes(paletteFolder, false);
    if (!bundledFolder.empty()) tubes(bundledFolder / "tubes", true);
    return out;
}

std::string EncodeNewTemplateKeys(const TNewTemplateSettings& s) {
    auto line = [](const char* key, const std::string& value) {
        return std::string(key) + "=" + value + "\n";
    };
    std::string paper = std::to_string(s.PaperCode);
    if (s.PaperCode == PaperUser)
        paper += "," + std::to_string(s.PaperWidth) + "," + std::to_string(s.PaperLength);
    const char* set = s.PaintSet.Kind == TPaintSetKind::Palette ? "palette"
                      : s.PaintSet.Kind == TPaintSetKind::Tubes ? "tubes"
                                                                : "any";
    return line(NewTemplateKeyDifficulty, ToLower(DifficultyName(s.Difficulty))) +
           line(NewTemplateKeyPaints, std::to_string(s.Paints)) +
           line(NewTemplateKeyCellMm, FormatFixed(s.MinMm, 1)) + line(NewTemplateKeyPaper, paper) +
           line(NewTemplateKeyPages,
                std::to_string(s.PagesAcross) + "x" + std::to_string(s.PagesDown)) +
           line(NewTemplateKeyPaintSet, set) +
           line(NewTemplateKeyPaintFile, s.PaintSet.File.string());
}

TNewTemplateSettings DecodeNewTemplateKeys(std::string_view text) {
    TNewTemplateSettings s;
    std::optional<TTemplateDifficulty> difficulty;
    ForEachKeyLine(text, [&](std::string_view key, std::string_view value) {
        const std::string v = ToLower(std::string(TrimBlanks(value)));
        if (key == NewTemplateKeyDifficulty) {
            for (TTemplateDifficulty d :
                 {TTemplateDifficulty::Beginner, TTemplateDifficulty::Standard,
                  TTemplateDifficulty::Expert, TTemplateDifficulty::Custom})
                if (v == ToLower(DifficultyName(d))) difficulty = d;
        } else if (key == NewTemplateKeyPaints) {
            if (const auto n = ParseWhole(v))
                s.Paints = ClampWhole(*n, MinTemplatePaints, MaxTemplatePaints);
        } else if (key == NewTemplateKeyCellMm) {
            if (const auto mm = ParseReal(v)) s.MinMm = ClampCellMm(*mm);
        } else if (key == NewTemplateKeyPaper) {
            const std::size_t c1 = v.find(',');
            const auto code = ParseWhole(v.substr(0, c1));
            if (!code) return;
            s.PaperCode = ClampWhole(*code, 0, PaperUser);
            s.PaperWidth = s.PaperLength = 0;
            if (c1 != std::string::npos) {
                const std::size_t c2 = v.find(',', c1 + 1);
                const auto w = ParseWhole(v.substr(c1 + 1, c2 - c1 - 1));
                const auto l =
                    c2 == std::string::npos ? std::nullopt : ParseWhole(v.substr(c2 + 1));
                if (w && l) {
                    s.PaperWidth = ClampWhole(*w, 0, 100000);
                    s.PaperLength = ClampWhole(*l, 0, 100000);
                }
            }
        } else if (key == NewTemplateKeyPages) {
            const std::size_t x = v.find('x');
            const auto a = x == std::string::npos ? std::nullopt : ParseWhole(v.substr(0, x));
            const auto d = x == std::string::npos ? std::nullopt : ParseWhole(v.substr(x + 1));
            if (a && d) {
                s.PagesAcross = ClampWhole(*a, 1, MaxTemplatePages);
                s.PagesDown = ClampWhole(*d, 1, MaxTemplatePages);
            }
        } else if (key == NewTemplateKeyPaintSet) {
            if (v == "any") s.PaintSet.Kind = TPaintSetKind::AnyColours;
            if (v == "palette") s.PaintSet.Kind = TPaintSetKind::Palette;
            if (v == "tubes") s.PaintSet.Kind = TPaintSetKind::Tubes;
        } else if (key == NewTemplateKeyPaintFile) {
            // A path may start or end with spaces; only the line end is taken off.
            s.PaintSet.File = std::string(value);
        }
    });
    // Custom is kept as stored; a preset the fields no longer match becomes Custom.
    s.Difficulty = difficulty ? *difficulty : DifficultyOf(s.Paints, s.MinMm);
    s.Clamp();
    return s;
}

namespace {

std::optional<std::string_view> StoredKeys(const TSettingsBlock& block) {
    return ReservedRecord(block, NewTemplateSettingsOffset,
                          block.Reserved.size() - NewTemplateSettingsOffset,
                          NewTemplateSettingsTag);
}

} // namespace

TNewTemplateSettings NewTemplateSettings(const TSettingsBlock& block) {
    const std::optional<std::string_view> keys = StoredKeys(block);
    return keys ? DecodeNewTemplateKeys(*keys) : TNewTemplateSettings{};
}

void SetNewTemplateSettings(TSettingsBlock& block, const TNewTemplateSettings& in) {
    TNewTemplateSettings s = in;
    s.Clamp();
    if (!StoredKeys(block) && s == TNewTemplateSettings{}) return;
    const std::size_t room = block.Reserved.size() - NewTemplateSettingsOffset;
    if (StoreReservedRecord(block, NewTemplateSettingsOffset, room, NewTemplateSettingsTag,
                            EncodeNewTemplateKeys(s)))
        return;
    s.PaintSet = {};
    StoreReservedRecord(block, NewTemplateSettingsOffset, room, NewTemplateSettingsTag,
                        EncodeNewTemplateKeys(s));
}

} // namespace pigmentaria
