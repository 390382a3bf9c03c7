// The mix command: what a set of tubes makes. The best recipe for a colour, the colour of a
// recipe, or the set written in the other palette format.
#include "cli/arguments.h"
#include "cli/commands.h"
#include "palette/recipes.h"
#include "platform/text_parse.h"

#include <cstdio>

namespace pigmentaria::cli {

namespace {

constexpr TOptionSpec Options[] = {
    {"--tubes", true}, {"--color", true}, {"--recipe", true}, {"--max-tubes", true}, {"-o", true},
};

constexpr const char* MixUsage =
    "usage: pigmentaria-cli mix --tubes FILE --color R,G,B [--max-tubes N]\n"
    "       pigmentaria-cli mix --tubes FILE --recipe \"1 Hansa Yellow + 1 Ultramarine Blue\"\n"
    "       pigmentaria-cli mix --tubes FILE -o OUT.gpl|OUT.kvl\n"
    "Mixes paints from a tube set (a GIMP palette .gpl or a palette file .kvl, every colour\n"
    "named). --color prints the best mixture of at most N tubes (default 3, up to 4) in whole\n"
    "parts, at most 10 in all, with its CIEDE2000 difference and predicted colour; --recipe\n"
    "prints the predicted colour of a mixture as R,G,B; -o writes the set in the format of OUT's\n"
    "extension. Colours are predicted with Kubelka-Munk theory over reflectance curves made from\n"
    "each tube's sRGB colour.\n";

TColor ParseRgb(const std::string& option, const std::string& value) {
    std::vector<long long> channels;
    bool ok = true;
    for (std::size_t start = 0; ok;) {
        const std::size_t comma = value.find(',', start);
        const std::optional<long long> v = ParseWhole(value.substr(start, comma - start));
        ok = v && *v >= 0 && *v <= 255;
        if (ok) channels.push_back(*v);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    if (!ok || channels.size() != 3)
        throw EUsageError(option + " takes R,G,B from 0 to 255 each, not \"" + value + "\"");
    return MakeColor(static_cast<int>(channels[0]), static_cast<int>(channels[1]),
                     static_cast<int>(channels[2]));
}

std::string RgbText(TColor c) {
    return std::to_string(RedOf(c)) + "," + std::to_string(GreenOf(c)) + "," +
           std::to_string(BlueOf(c));
}

int RunMix(const std::vector<std::string>& args) {
    const TArguments a = ParseArguments(args, Options);
    ExpectPositionals(a, {});
    const std::optional<std::string> file = a.Value("--tubes");
    const std::optional<std::string> color = a.Value("--color");
    const std::optional<std::string> recipe = a.Value("--recipe");
    const std::optional<std::string> output = a.Value("-o");
    if (!file) throw EUsageError("no tube set given (--tubes FILE)");
    if (int(color.has_value()) + int(recipe.has_value()) + int(output.has_value()) != 1)
        throw EUsageError("give one of --color R,G,B, --recipe TEXT and -o FILE");
    int maxTubes = DefaultMaxRecipeTubes;
    if (const auto v = a.Value("--max-tubes")) {
        if (!color) throw EUsageError("--max-tubes goes with --color");
        maxTubes = WholeValue("--max-tubes", *v, 1, MaxRecipeTubesLimit);
    }
    const TColor target = color ? ParseRgb("--color", *color) : 0;

    const TTubeSet tubes = LoadTubeSet(*file);
    if (output) {
        SaveTubeSet(tubes, *output);
        std::printf("%zu tubes saved to %s\n", tubes.Tubes.size(), output->c_str());
        return 0;
    }
    if (recipe) {
        std::vector<TRecipePart> parts;
        try {
            parts = ParseRecipe(*recipe, tubes);
        } catch (const ERecipeError& e) {
            throw ERecipeError(std::string(e.what()) + " in " + *file);
        }
        const TMixTable table(tubes, 1, 1);
        std::printf("%s\n", RgbText(table.Predict(parts).Color).c_str());
        return 0;
    }
    const TMixTable table(tubes, maxTubes);
    const TRecipe best = table.Best(target);
    std::printf("%s: dE %s, predicted %s\n", RecipeText(best, tubes).c_str(),
                FormatFixed(best.DeltaE, 2).c_str(), RgbText(best.Predicted.Color).c_str());
    return 0;
}

} // namespace

const TCommand MixCommand = {
    "mix", "--tubes FILE --color R,G,B | --recipe TEXT  mix paints from a tube set", MixUsage,
    RunMix};

} // namespace pigmentaria::cli
