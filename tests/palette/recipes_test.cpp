// Recipe search on small sets, recipes read from text, and the paint a painting takes.
#include "palette/recipes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

namespace pigmentaria {
namespace {

TTubeSet Three() {
    TTubeSet s;
    s.Tubes = {{"Titanium White", MakeColor(250, 250, 247)},
               {"Hansa Yellow", MakeColor(252, 204, 10)},
               {"Ultramarine Blue", MakeColor(25, 20, 140)}};
    return s;
}

TEST(Recipes, TheTableHoldsEveryMixtureOfCoprimeWholeParts) {
    // Pure: 3; pairs of 3 tubes in 1+1, 1+2, 2+1 (2+2 is 1+1 again): 9; triples 1+1+1: 1.
    EXPECT_EQ(TMixTable(Three(), 2, 3).MixtureCount(), 12u);
    EXPECT_EQ(TMixTable(Three(), 3, 3).MixtureCount(), 13u);
    EXPECT_EQ(TMixTable(Three(), 1, 10).MixtureCount(), 3u);
}

TEST(Recipes, ATubeIsUsedPureWhenItIsTheColourAskedFor) {
    const TMixTable table(Three());
    for (int i = 0; i < 3; ++i) {
        const TRecipe r = table.Best(Three().Tubes[static_cast<std::size_t>(i)].Color);
        ASSERT_EQ(r.Parts.size(), 1u);
        EXPECT_EQ(r.Parts[0], (TRecipePart{i, 1}));
        EXPECT_LT(r.DeltaE, 0.1);
    }
}

TEST(Recipes, TheColourOfAMixtureFindsThatMixture) {
    const TTubeSet tubes = Three();
    const TMixTable table(tubes);
    for (const char* text :
         {"3 Titanium White + 1 Ultramarine Blue", "4 hansa yellow + 1 ultramarine blue",
          "2 Titanium White + 5 Hansa Yellow + 1 Ultramarine Blue"}) {
        const std::vector<TRecipePart> parts = ParseRecipe(text, tubes);
        const TRecipe r = table.Best(table.Predict(parts).Color);
        // The colour value is rounded, so a neighbouring mixture may be as near.
        EXPECT_LT(r.DeltaE, 0.5) << text;
        EXPECT_LT(DeltaE2000(r.Predicted.Lab, table.Predict(parts).Lab), 0.5) << text;
    }
    TRecipe r;
    r.Parts = ParseRecipe("2 Titanium White + Ultramarine Blue + 1 titanium white", tubes);
    EXPECT_EQ(RecipeText(r, tubes), "3 Titanium White + 1 Ultramarine Blue");
}

TEST(Recipes, ARecipeNamingAnUnknownTubeSaysWhich) {
    const TTubeSet tubes = Three();
    auto message = [&tubes](const char* text) {
        try {
            ParseRecipe(text, tubes);
        } catch (const ERecipeError& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(message("1 Hansa Yellow + 2 Cobalt Blue"), "no tube named \"Cobalt Blue\"");
    EXPECT_EQ(message("1 Hansa Yellow + 2"), "\"2\" names no tube (e.g. 2 Titanium White)");
    EXPECT_EQ(message("0 Hansa Yellow"), "\"0 Hansa Yellow\" needs 1 to 1000 parts");
}

TEST(Recipes, PaintAndTubeAmountsAddUpToAreaTimesCoatsOverCoverage) {
    TQuantitySettings s;
    s.CanvasAreaCm2 = 40.0 * 30.0;
    s.CoverageM2PerL = 8;
    s.Coats = 2;
    const std::vector<double> shares = {50, 30, 15, 5};
    std::vector<double> ml;
    for (const double percent : shares)
        ml.push_back(PaintMl(s.CanvasAreaCm2 * percent / 100, s));
    // 0.12 m² × 2 coats / 8 m² per litre = 30 ml.
    EXPECT_NEAR(std::accumulate(ml.begin(), ml.end(), 0.0), 30.0, 1e-9);

    const TTubeSet tubes = Three();
    std::vector<TRecipe> recipes(4);
    recipes[0].Parts = {{0, 1}};
    recipes[1].Parts = {{0, 2}, {2, 1}};
    recipes[2].Parts = {{1, 1}, {2, 1}};
    recipes[3].Parts = {{0, 1}, {1, 1}, {2, 1}};
    const std::vector<double> tube = TubeMl(recipes, ml, tubes.Tubes.size());
    const double exact[] = {ml[0] + ml[1] * 2 / 3 + ml[3] / 3, ml[2] / 2 + ml[3] / 3,
                            ml[1] / 3 + ml[2] / 2 + ml[3] / 3};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_GE(tube[i], exact[i]);
        EXPECT_LT(tube[i], exact[i] + MeasurableMl);
        EXPECT_DOUBLE_EQ(std::fmod(tube[i], MeasurableMl), 0.0);
    }
    EXPECT_EQ(MeasurableAmount(0), 0);
    EXPECT_EQ(MeasurableAmount(0.5), 0.5);
    EXPECT_EQ(MeasurableAmount(0.51), 1.0);
}

TEST(Recipes, MixableColoursOnlyRepaintsEveryPixelInAPredictedMixture) {
    const TMixTable table(Three());
    TRaster24 r(3, 1);
    r.SetPixel(0, 0, MakeColor(120, 170, 220));
    r.SetPixel(1, 0, MakeColor(60, 140, 60));
    r.SetPixel(2, 0, MakeColor(120, 170, 220));
    const TRaster24 before = r;
    MapRasterToMixtures(r, table);
    for (int x = 0; x < 3; ++x)
        EXPECT_EQ(r.GetPixel(x, 0), table.Best(before.GetPixel(x, 0)).Predicted.Color);
    // Snapped, every colour is its own best recipe.
    for (int x = 0; x < 3; ++x)
        EXPECT_LT(table.Best(r.GetPixel(x, 0)).DeltaE, 0.5);
    EXPECT_GT(MeanDeltaE2000(before, r), 0);
    EXPECT_EQ(MeanDeltaE2000(r, r), 0);
}

} // namespace
} // namespace pigmentaria
