#pragma once
// Recipes: which tubes, in how many parts, mix a paint; and how much of each paint and each tube
// a painting of a given size needs.
#include "palette/color_science.h"
#include "palette/pigment_mix.h"
#include "palette/tube_set.h"
#include "platform/raster.h"

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace pigmentaria {

// A person measures parts with a spoon or a palette knife: few tubes, small whole parts.
constexpr int DefaultMaxRecipeTubes = 3;
constexpr int MaxRecipeTubesLimit = 4;
constexpr int MaxRecipeParts = 10;

struct TRecipePart {
    int Tube = 0; // position in the tube set, from 0
    int Parts = 1;
    friend bool operator==(const TRecipePart&, const TRecipePart&) = default;
};

struct TRecipe {
    // In the tube set's order; the parts have no common divisor (2 + 2 is written 1 + 1).
    std::vector<TRecipePart> Parts;
    TPredictedColor Predicted;
    // CIEDE2000 from the colour asked for to the predicted colour.
    double DeltaE = 0;
};

// "2 Titanium White + 1 Ultramarine Blue".
std::string RecipeText(const TRecipe& recipe, const TTubeSet& tubes);

// A recipe named in text ("1 Hansa Yellow + 1 Ultramarine Blue"; a term without a number is one
// part; names in any letter case). Throws ERecipeError naming an unknown tube or a bad term.
class ERecipeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
std::vector<TRecipePart> ParseRecipe(std::string_view text, const TTubeSet& tubes);

// Every mixture of a tube set within the limits, predicted once, so that finding the best for
// many colours costs only the comparisons. Immutable once made: workers may share it.
class TMixTable {
public:
    // maxTubes 1..MaxRecipeTubesLimit; at most `maxParts` parts in all.
    explicit TMixTable(const TTubeSet& tubes, int maxTubes = DefaultMaxRecipeTubes,
                       int maxParts = MaxRecipeParts);

    const TTubeSet& Tubes() const { return Tubes_; }
    int MaxTubes() const { return MaxTubes_; }
    // The prediction of any parts of the set's tubes.
    TPredictedColor Predict(const std::vector<TRecipePart>& parts) const;
    // The mixture nearest to the colour by CIEDE2000; of equal ones the one of fewer tubes, then
    // fewer parts, then the first made. A tube is used pure when it is nearest.
    TRecipe Best(TColor color) const;
    std::size_t MixtureCount() const { return Mixtures_.size(); }

private:
    struct TMixture {
        // Up to MaxRecipeTubesLimit (tube, parts); unused slots have 0 parts.
        std::uint8_t Tube[MaxRecipeTubesLimit] = {};
        std::uint8_t Parts[MaxRecipeTubesLimit] = {};
        std::uint8_t TubeCount = 0, TotalParts = 0;
        TPredictedColor Predicted;
    };
    void Add(const std::vector<TRecipePart>& parts);
    TTubeSet Tubes_;
    int MaxTubes_ = 1;
    std::vector<TSpectrum> Absorption_;
    std::vector<double> Scattering_;
    std::vector<TMixture> Mixtures_;
};

// Every pixel repainted in the predicted colour of its best recipe: a picture of mixable colours
// only.
void MapRasterToMixtures(TRaster24& raster, const TMixTable& table);

// The mean CIEDE2000 between two pictures of one size, pixel by pixel.
double MeanDeltaE2000(const TRaster24& a, const TRaster24& b);

// How much paint a painting takes.
// Acrylic straight from the tube, brushed out opaque: about 8 square metres a litre a coat.
constexpr double DefaultCoverageM2PerL = 8.0;
constexpr int DefaultCoats = 2;
// What a person can measure with a syringe or a measuring spoon.
constexpr double MeasurableMl = 0.5;

struct TQuantitySettings {
    double CanvasAreaCm2 = 0;
    double CoverageM2PerL = DefaultCoverageM2PerL;
    int Coats = DefaultCoats;
};

// The millilitres that cover `areaCm2` with the settings' coverage and coats.
double PaintMl(double areaCm2, const TQuantitySettings& settings);
// Up to the next multiple of MeasurableMl; 0 stays 0.
double MeasurableAmount(double ml);

// The tubes' millilitres for paints of the given amounts mixed by their recipes: each paint's
// amount shared among its tubes by parts, summed per tube, then rounded up to MeasurableMl.
std::vector<double> TubeMl(const std::vector<TRecipe>& recipes, const std::vector<double>& paintMl,
                           std::size_t tubeCount);

} // namespace pigmentaria
