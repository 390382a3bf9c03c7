// Recipes for a template's paints: every mixture of 12 tubes (at most 3 tubes, 10 parts) predicted
// once, then the best of them for 36 colours, as `template --tubes` does.
#include "palette/recipes.h"

#include <benchmark/benchmark.h>

namespace pigmentaria {
namespace {

TTubeSet TwelveTubes() {
    TTubeSet s;
    s.Tubes = {{"Titanium White", MakeColor(250, 250, 247)},
               {"Mars Black", MakeColor(40, 38, 38)},
               {"Hansa Yellow", MakeColor(252, 204, 10)},
               {"Yellow Ochre", MakeColor(200, 150, 50)},
               {"Cadmium Red Hue", MakeColor(210, 40, 35)},
               {"Quinacridone Crimson", MakeColor(130, 25, 50)},
               {"Quinacridone Magenta", MakeColor(165, 40, 100)},
               {"Ultramarine Blue", MakeColor(25, 20, 140)},
               {"Phthalo Blue", MakeColor(10, 30, 120)},
               {"Phthalo Green", MakeColor(0, 90, 75)},
               {"Burnt Sienna", MakeColor(140, 60, 30)},
               {"Burnt Umber", MakeColor(90, 60, 40)}};
    return s;
}

void BM_Recipes36PaintsFrom12Tubes(benchmark::State& state) {
    const TTubeSet tubes = TwelveTubes();
    std::vector<TColor> paints;
    for (int i = 0; i < 36; ++i)
        paints.push_back(MakeColor((i * 37 + 20) % 256, (i * 91 + 40) % 256, (i * 53 + 60) % 256));
    for (auto _ : state) {
        const TMixTable table(tubes);
        for (const TColor c : paints)
            benchmark::DoNotOptimize(table.Best(c));
    }
}
BENCHMARK(BM_Recipes36PaintsFrom12Tubes)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace pigmentaria
