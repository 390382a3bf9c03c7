#include "palette/recipes.h"

#include "platform/text_parse.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <unordered_map>

namespace pigmentaria {

std::string RecipeText(const TRecipe& recipe, const TTubeSet& tubes) {
    std::string out;
    for (const TRecipePart& p : recipe.Parts) {
        if (!out.empty()) out += " + ";
        out += std::to_string(p.Parts) + " " + tubes.Tubes[static_cast<std::size_t>(p.Tube)].Name;
    }
    return out;
}

std::vector<TRecipePart> ParseRecipe(std::string_view text, const TTubeSet& tubes) {
    std::vector<TRecipePart> parts;
    for (;;) {
        const std::size_t plus = text.find('+');
        const std::string_view term = TrimBlanks(text.substr(0, plus));
        std::size_t digits = 0;
        while (digits < term.size() && term[digits] >= '0' && term[digits] <= '9')
            ++digits;
        int count = 1;
        if (digits > 0) {
            const std::optional<long long> n = ParseWhole(term.substr(0, digits));
            if (!n || *n < 1 || *n > 1000)
                throw ERecipeError("\"" + std::string(term) + "\" needs 1 to 1000 parts");
            count = static_cast<int>(*n);
        }
        const std::string_view name = TrimBlanks(term.substr(digits));
        if (name.empty())
            throw ERecipeError("\"" + std::string(term) +
                               "\" names no tube (e.g. 2 Titanium White)");
        const int tube = FindTube(tubes, name);
        if (tube < 0) throw ERecipeError("no tube named \"" + std::string(name) + "\"");
        const auto same = std::find_if(parts.begin(), parts.end(),
                                       [tube](const TRecipePart& p) { return p.Tube == tube; });
        if (same != parts.end())
            same->Parts += count;
        else
            parts.push_back({tube, count});
        if (plus == std::string_view::npos) break;
        text.remove_prefix(plus + 1);
    }
    return parts;
}

TMixTable::TMixTable(const TTubeSet& tubes, int maxTubes, int maxParts) : Tubes_(tubes) {
    for (const TTube& t : Tubes_.Tubes) {
        Absorption_.push_back(AbsorptionOfReflectance(ReflectanceOfColor(t.Color)));
        Scattering_.push_back(TubeScattering(t.Color));
    }
    const int n = static_cast<int>(Tubes_.Tubes.size());
    const int k = std::clamp(maxTubes, 1, std::min(MaxRecipeTubesLimit, std::max(n, 1)));
    MaxTubes_ = k;
    maxParts = std::clamp(maxParts, 1, 255);
    // Every choice of `size` tubes in set order, with every split of at most maxParts parts
    // that has no common divisor (1 + 1 and 2 + 2 are one mixture).
    std::vector<TRecipePart> parts;
    auto splits = [&](auto&& self, int index, int left, int divisor) -> void {
        if (index == static_cast<int>(parts.size())) {
            if (divisor == 1) Add(parts);
            return;
        }
        const int rest = static_cast<int>(parts.size()) - index - 1;
        for (int p = 1; p <= left - rest; ++p) {
            parts[static_cast<std::size_t>(index)].Parts = p;
            self(self, index + 1, left - p, std::gcd(divisor, p));
        }
    };
    auto choose = [&](auto&& self, int first, int size) -> void {
        if (static_cast<int>(parts.size()) == size) {
            splits(splits, 0, maxParts, 0);
            return;
        }
        for (int t = first; t < n; ++t) {
            parts.push_back({t, 1});
            self(self, t + 1, size);
            parts.pop_back();
        }
    };
    for (int size = 1; size <= k; ++size)
        choose(choose, 0, size);
}

void TMixTable::Add(const std::vector<TRecipePart>& parts) {
    TMixture m;
    m.TubeCount = static_cast<std::uint8_t>(parts.size());
    int total = 0;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        m.Tube[i] = static_cast<std::uint8_t>(parts[i].Tube);
        m.Parts[i] = static_cast<std::uint8_t>(parts[i].Parts);
        total += parts[i].Parts;
    }
    m.TotalParts = static_cast<std::uint8_t>(total);
    m.Predicted = Predict(parts);
    Mixtures_.push_back(m);
}

TPredictedColor TMixTable::Predict(const std::vector<TRecipePart>& parts) const {
    std::vector<TMixPart> mix;
    for (const TRecipePart& p : parts)
        if (p.Tube >= 0 && p.Tube < static_cast<int>(Absorption_.size()))
            mix.push_back({&Absorption_[static_cast<std::size_t>(p.Tube)],
                           Scattering_[static_cast<std::size_t>(p.Tube)],
                           static_cast<double>(p.Parts)});
    return PredictedColorOfReflectance(MixReflectance(mix));
}

TRecipe TMixTable::Best(TColor color) const {
    TRecipe out;
    if (Mixtures_.empty()) return out;
    const TLab target = ColorToLab(color);
    std::size_t best = 0;
    double bestDelta = 0;
    for (std::size_t i = 0; i < Mixtures_.size(); ++i) {
        const TMixture& m = Mixtures_[i];
        const double d = DeltaE2000(target, m.Predicted.Lab);
        if (i > 0) {
            const TMixture& b = Mixtures_[best];
            if (d > bestDelta) continue;
            // Equal colours: the simpler mixture.
            if (d == bestDelta && (m.TubeCount > b.TubeCount ||
                                   (m.TubeCount == b.TubeCount && m.TotalParts >= b.TotalParts)))
                continue;
        }
        best = i;
        bestDelta = d;
    }
    const TMixture& m = Mixtures_[best];
    for (int i = 0; i < m.TubeCount; ++i)
        out.Parts.push_back({m.Tube[i], m.Parts[i]});
    out.Predicted = m.Predicted;
    out.DeltaE = bestDelta;
    return out;
}

void MapRasterToMixtures(TRaster24& raster, const TMixTable& table) {
    std::unordered_map<TColor, TColor> known;
    for (int y = 0; y < raster.Height(); ++y)
        for (int x = 0; x < raster.Width(); ++x) {
            const TColor c = raster.GetPixel(x, y);
            auto it = known.find(c);
            if (it == known.end()) it = known.emplace(c, table.Best(c).Predicted.Color).first;
            raster.SetPixel(x, y, it->second);
        }
}

double MeanDeltaE2000(const TRaster24& a, const TRaster24& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height())
        throw std::invalid_argument("pictures of different sizes");
    const std::int64_t n = static_cast<std::int64_t>(a.Width()) * a.Height();
    if (n == 0) return 0;
    std::unordered_map<TColor, TLab> labs;
    auto lab = [&labs](TColor c) -> const TLab& {
        auto it = labs.find(c);
        if (it == labs.end()) it = labs.emplace(c, ColorToLab(c)).first;
        return it->second;
    };
    double sum = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x) {
            const TColor p = a.GetPixel(x, y), q = b.GetPixel(x, y);
            if (p != q) sum += DeltaE2000(lab(p), lab(q));
        }
    return sum / static_cast<double>(n);
}

double PaintMl(double areaCm2, const TQuantitySettings& s) {
    if (!(s.CoverageM2PerL > 0) || !(areaCm2 > 0)) return 0;
    // cm² → m², litres → millilitres.
    return areaCm2 / 10000.0 * std::max(s.Coats, 0) / s.CoverageM2PerL * 1000.0;
}

double MeasurableAmount(double ml) {
    if (!(ml > 0)) return 0;
    // A hair's breadth over a step (rounding noise) is not a step more.
    return std::ceil(ml / MeasurableMl - 1e-9) * MeasurableMl;
}

std::vector<double> TubeMl(const std::vector<TRecipe>& recipes, const std::vector<double>& paintMl,
                           std::size_t tubeCount) {
    std::vector<double> out(tubeCount, 0.0);
    for (std::size_t i = 0; i < recipes.size() && i < paintMl.size(); ++i) {
        int total = 0;
        for (const TRecipePart& p : recipes[i].Parts)
            total += p.Parts;
        if (total == 0) continue;
        for (const TRecipePart& p : recipes[i].Parts)
            if (p.Tube >= 0 && static_cast<std::size_t>(p.Tube) < tubeCount)
                out[static_cast<std::size_t>(p.Tube)] += paintMl[i] * p.Parts / total;
    }
    for (double& ml : out)
        ml = MeasurableAmount(ml);
    return out;
}

} // namespace pigmentaria
