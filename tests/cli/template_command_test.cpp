// The template path on the command line: the template command's files and options, the convert
// command's template options and the print command's legibility report and simplification.
#include "cli_run.h"
#include "convert/regions.h"
#include "image/pixel_graphic.h"
#include "model/painting_file.h"
#include "model/render.h"
#include "palette/palette.h"
#include "palette/tube_set.h"
#include "print/printer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <regex>
#include <set>
#include <sstream>

namespace pigmentaria {
namespace {

using test::RunCliCommand;
using test::TCliRun;
namespace fs = std::filesystem;

const std::string Coffee = std::string(PIGMENTARIA_SAMPLES) + "/coffee.png";

int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// The numbers the SVG drawing writes as text, in order.
std::vector<int> SvgNumbers(const std::string& svg) {
    std::vector<int> out;
    const std::regex text("<text [^>]*>([0-9]+)</text>");
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), text); it != std::sregex_iterator();
         ++it)
        out.push_back(std::stoi((*it)[1]));
    return out;
}

std::set<TColor> ShapeColors(const TShapeList& shapes) {
    std::set<TColor> out;
    for (const TPaintShape* s = shapes.First()->Next; s; s = s->Next)
        out.insert(s->Color);
    return out;
}

TNamedPalette Paints() {
    TNamedPalette p;
    p.Add(MakeColor(245, 240, 230), "Titanium white");
    p.Add(MakeColor(40, 25, 20), "Burnt umber");
    p.Add(MakeColor(170, 60, 30), "Burnt sienna");
    p.Add(MakeColor(200, 120, 60), "Raw sienna");
    p.Add(MakeColor(230, 180, 120), "Naples yellow");
    p.Add(MakeColor(120, 40, 30), "Indian red");
    return p;
}

TEST(TemplateCommand, MakesThePaintingTheTemplateThePaintSheetTheDrawingAndThePicture) {
    test::TTempDir dir;
    const TCliRun run =
        RunCliCommand("template " + Coffee + " -o " + (dir / "out").string() + " --palette-size 8");
    const fs::path out = dir / "out";
#if PIGMENTARIA_GUI
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_TRUE(run.Err.empty()) << run.Err;
    for (const char* pdf : {"coffee-template.pdf", "coffee-palette.pdf"})
        EXPECT_TRUE(test::ReadText(out / pdf).starts_with("%PDF")) << pdf;
    EXPECT_NE(run.Out.find("coffee-palette.pdf: 8 paints, 100.0 % in all"), std::string::npos)
        << run.Out;
    EXPECT_NE(run.Out.find("coffee-template.pdf: 1 x 1 pages, 11.69\" x 8.26\""), std::string::npos)
        << run.Out;
#else
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Err.find("printing is not available in this build"), std::string::npos);
    EXPECT_FALSE(fs::exists(out / "coffee-template.pdf"));
#endif
    // The painting holds the print it was made for: one A4 page, landscape for the wide photo,
    // the frame placed.
    const TPaintingFileContents painting = ReadPaintingFile(out / "coffee.kvp");
    EXPECT_EQ(painting.Layout.PaperSize, PaperA4);
    EXPECT_EQ(painting.Layout.Orientation, 1);
    EXPECT_EQ(painting.Layout.PagesAcross, 1);
    EXPECT_EQ(painting.Layout.PagesDown, 1);
    EXPECT_GT(painting.Layout.FrameWidth, 0);
    EXPECT_LE(ShapeColors(painting.Shapes).size(), 8u);
    // The drawing: millimetres, outlines, and one number per label, each a colour's number.
    const std::string svg = test::ReadText(out / "coffee-template.svg");
    EXPECT_TRUE(svg.starts_with("<?xml")) << svg.substr(0, 80);
    EXPECT_NE(svg.find("mm\" viewBox=\"0 0 2400 1600\""), std::string::npos);
    // A white path per shape, then one path drawing every border once.
    EXPECT_EQ(Count(svg, "<path "), static_cast<int>(painting.Shapes.Count()) + 1);
    {
        using TSegment = std::pair<std::pair<int, int>, std::pair<int, int>>;
        auto undirected = [](std::pair<int, int> a, std::pair<int, int> b) {
            return a < b ? TSegment{a, b} : TSegment{b, a};
        };
        std::set<TSegment> outlines;
        for (const TPaintShape* s = painting.Shapes.First()->Next; s; s = s->Next)
            for (std::size_t i = 0; i < s->Points.size(); ++i) {
                const TShapePoint a = s->Points[i], b = s->Points[(i + 1) % s->Points.size()];
                if (!(a == b)) outlines.insert(undirected({a.X, a.Y}, {b.X, b.Y}));
            }
        const std::size_t d = svg.rfind("d=\"");
        std::istringstream path(svg.substr(d + 3, svg.find('"', d + 3) - d - 3));
        std::set<TSegment> drawn;
        int segments = 0;
        std::pair<int, int> at{};
        std::string word;
        bool move = false;
        while (path >> word) {
            if (word == "M" || word == "L") {
                move = word == "M";
                continue;
            }
            std::pair<int, int> p{std::stoi(word), 0};
            path >> p.second;
            if (!move) {
                drawn.insert(undirected(at, p));
                ++segments;
            }
            at = p;
            move = false;
        }
        EXPECT_EQ(segments, static_cast<int>(drawn.size())) << "a border drawn twice";
        EXPECT_EQ(drawn, outlines);
    }
    const std::vector<int> numbers = SvgNumbers(svg);
    EXPECT_NE(run.Out.find("coffee-template.svg: " + std::to_string(numbers.size()) + " numbers"),
              std::string::npos)
        << run.Out;
    TNamedPalette palette;
    RebuildPaintingPalette(palette, painting.Shapes);
    for (int n : numbers) {
        EXPECT_GE(n, 1);
        EXPECT_LE(n, static_cast<int>(palette.Count()));
    }
    // Every colour of the painting is numbered somewhere.
    EXPECT_EQ(std::set<int>(numbers.begin(), numbers.end()).size(),
              ShapeColors(painting.Shapes).size());
    // The picture is the painting drawn.
    TPixelGraphic png;
    png.LoadFromFile((out / "coffee-painting.png").string());
    EXPECT_EQ(png.ToRaster24(), RenderPainting(painting.Shapes, 1.0));
    // The report: no region under the minimum of 2.5 mm to speak of.
    const std::smatch m = [&] {
        std::smatch match;
        std::regex_search(run.Out, match,
                          std::regex("legibility: ([0-9]+) regions; .* ([0-9]+) under 2.5 mm"));
        return match;
    }();
    ASSERT_EQ(m.size(), 3u) << run.Out;
    EXPECT_LE(std::stoi(m[2]) * 100, std::stoi(m[1])) << run.Out;
}

TEST(TemplateCommand, PagesPaperMinimumAndPaintsChangeWhatIsMade) {
    test::TTempDir dir;
    const std::string paints = (dir / "paints.KVL").string();
    SavePalette(Paints(), paints, "Oils");
    const TCliRun run = RunCliCommand("template " + Coffee + " -o " + (dir / "a").string() +
                                      " --pages 2x1 --paper letter --min-mm 5 --paints " + paints +
                                      " --number-by-paint");
    EXPECT_EQ(run.Status, PIGMENTARIA_GUI ? 0 : 1) << run.Err;
    const TPaintingFileContents painting = ReadPaintingFile(dir / "a" / "coffee.kvp");
    EXPECT_EQ(painting.Layout.PaperSize, PaperLetter);
    EXPECT_EQ(painting.Layout.PagesAcross, 2);
    EXPECT_EQ(painting.Layout.PagesDown, 1);
    const TNamedPalette p = Paints();
    for (TColor c : ShapeColors(painting.Shapes))
        EXPECT_GT(p.PositionOf(c), 0);
    // Numbers are the paints' positions in the file.
    std::set<int> used;
    for (TColor c : ShapeColors(painting.Shapes))
        used.insert(p.PositionOf(c));
    const std::vector<int> numbers = SvgNumbers(test::ReadText(dir / "a" / "coffee-template.svg"));
    EXPECT_EQ(std::set<int>(numbers.begin(), numbers.end()), used);
    EXPECT_NE(run.Out.find(" under 5 mm"), std::string::npos) << run.Out;
    // The regions of the painting drawn hold circles of 5 mm where the layout puts them: at two
    // pages of letter across some 350 mm, about 600 pixels, 8.5 pixels.
    const TRegionMap regions = LabelRegions(RenderPainting(painting.Shapes, 1.0));
    EXPECT_LT(regions.Count, 120u);
#if PIGMENTARIA_GUI
    EXPECT_NE(run.Out.find("coffee-template.pdf: 2 x 1 pages, 11\" x 8.5\""), std::string::npos)
        << run.Out;
#endif
}

TEST(TemplateCommand, MistakesAreRefusedBeforeAnyFileIsRead) {
    test::TTempDir dir;
    const std::string base = "template " + Coffee + " -o " + (dir / "x").string();
    for (const std::string& bad :
         {std::string(" --pages 0x1"), std::string(" --pages 2"), std::string(" --pages 1x100"),
          std::string(" --palette-size 0"), std::string(" --palette-size 256"),
          std::string(" --min-mm 0"), std::string(" --min-mm 1,5"), std::string(" --paper a5"),
          std::string(" --number-by-paint")}) {
        SCOPED_TRACE(bad);
        const TCliRun run = RunCliCommand(base + bad);
        EXPECT_EQ(run.Status, 2) << run.Err;
        EXPECT_EQ(run.Err.rfind("pigmentaria-cli template: ", 0), 0u) << run.Err;
    }
    const TCliRun noFolder = RunCliCommand("template " + Coffee);
    EXPECT_EQ(noFolder.Status, 2);
    EXPECT_NE(noFolder.Err.find("no folder given"), std::string::npos) << noFolder.Err;
    const TCliRun noPaints = RunCliCommand(base + " --paints " + (dir / "none.KVL").string());
    EXPECT_EQ(noPaints.Status, 1);
    EXPECT_NE(noPaints.Err.find("cannot read palette file"), std::string::npos) << noPaints.Err;
    EXPECT_FALSE(fs::exists(dir / "x"));
}

const std::string Tubes12 = std::string(PIGMENTARIA_DATA_SOURCE) + "/tubes/acrylic12.gpl";

// The rows of the paints' CSV up to its empty line, split at commas outside quotes.
std::vector<std::vector<std::string>> CsvPaintRows(const std::string& csv) {
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> row(1);
    bool quoted = false;
    for (std::size_t i = 0; i < csv.size(); ++i) {
        const char c = csv[i];
        if (c == '"')
            quoted = !quoted;
        else if (c == ',' && !quoted)
            row.emplace_back();
        else if (c == '\n' && !quoted) {
            if (row.size() == 1 && row[0].empty()) break;
            rows.push_back(std::move(row));
            row.assign(1, std::string());
        } else
            row.back() += c;
    }
    return rows;
}

TEST(TemplateCommand, TubesGiveEveryPaintARecipeAndAnAmountThatAddUpToTheCanvas) {
    test::TTempDir dir;
    for (const bool mixable : {false, true}) {
        SCOPED_TRACE(mixable);
        const fs::path out = dir / (mixable ? "mixable" : "free");
        const TCliRun run = RunCliCommand(
            "template " + Coffee + " -o " + out.string() + " --palette-size 8 --tubes " + Tubes12 +
            " --canvas-cm 40x30 --coats 3 --coverage 6" + (mixable ? " --mixable" : ""));
        EXPECT_EQ(run.Status, PIGMENTARIA_GUI ? 0 : 1) << run.Err;
        const std::vector<std::vector<std::string>> rows =
            CsvPaintRows(test::ReadText(out / "coffee-paints.csv"));
        ASSERT_GE(rows.size(), 3u);
        EXPECT_EQ(rows[0][0], "number");
        double ml = 0, percent = 0, worst = 0;
        for (std::size_t i = 1; i < rows.size(); ++i) {
            ASSERT_EQ(rows[i].size(), 10u);
            EXPECT_FALSE(rows[i][5].empty());
            worst = std::max(worst, std::stod(rows[i][6]));
            percent += std::stod(rows[i][7]);
            ml += std::stod(rows[i][9]);
        }
        // 0.12 m² in 3 coats at 6 m² a litre: 60 ml, each paint rounded up to 0.5 ml.
        EXPECT_NEAR(percent, 100, 0.1);
        EXPECT_GE(ml, 60 - 0.1);
        EXPECT_LE(ml, 60 + 0.5 * static_cast<double>(rows.size() - 1));
        if (mixable) {
            EXPECT_LT(worst, 1.0);
        } else {
            EXPECT_GT(worst, 1.0);
        }
        EXPECT_NE(run.Out.find("coffee-paints.csv: "), std::string::npos) << run.Out;
    }
}

TEST(TemplateCommand, ABadTubeFileSaysWhereAndWritesNothing) {
    test::TTempDir dir;
    const fs::path tubes = dir / "tubes.gpl";
    std::ofstream(tubes) << "GIMP Palette\n255 255 255\tWhite\n0 0\tBlack\n";
    const TCliRun run = RunCliCommand("template " + Coffee + " -o " + (dir / "x").string() +
                                      " --tubes " + tubes.string());
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Err.rfind("pigmentaria-cli template: " + tubes.string() + " line 3: ", 0), 0u)
        << run.Err;
    EXPECT_FALSE(fs::exists(dir / "x"));
    for (const char* bad : {" --mixable", " --coats 2", " --tubes t.gpl --max-tubes 5",
                            " --tubes t.gpl --canvas-cm 40", " --tubes t.gpl --coverage 0",
                            " --tubes t.gpl --mixable --paints p.kvl"}) {
        SCOPED_TRACE(bad);
        const TCliRun mistake =
            RunCliCommand("template " + Coffee + " -o " + (dir / "x").string() + bad);
        EXPECT_EQ(mistake.Status, 2) << mistake.Err;
    }
}

TEST(MixCommand, RecipesForAColourAndTheColourOfARecipe) {
    const TCliRun pure = RunCliCommand("mix --tubes " + Tubes12 + " --color 250,250,247");
    EXPECT_EQ(pure.Status, 0) << pure.Err;
    EXPECT_EQ(pure.Out, "1 Titanium White: dE 0.00, predicted 250,250,247\n");
    const TCliRun mixed =
        RunCliCommand("mix --tubes " + Tubes12 + " --recipe '1 Hansa Yellow + 1 Ultramarine Blue'");
    ASSERT_EQ(mixed.Status, 0) << mixed.Err;
    ASSERT_FALSE(mixed.Out.empty());
    const std::string rgb = mixed.Out.substr(0, mixed.Out.size() - 1);
    // Mixing what was predicted needs no other recipe to be as near.
    const TCliRun back = RunCliCommand("mix --tubes " + Tubes12 + " --color " + rgb);
    EXPECT_EQ(back.Status, 0) << back.Err;
    EXPECT_NE(back.Out.find(": dE 0."), std::string::npos) << back.Out;

    const TCliRun unknown =
        RunCliCommand("mix --tubes " + Tubes12 + " --recipe '1 Hansa Yellow + 2 Cobalt Blue'");
    EXPECT_EQ(unknown.Status, 1);
    EXPECT_EQ(unknown.Err,
              "pigmentaria-cli mix: no tube named \"Cobalt Blue\" in " + Tubes12 + "\n");
    for (const char* bad :
         {"--color 1,2,3", "--tubes t.gpl", "--tubes t.gpl --color 1,2",
          "--tubes t.gpl --color 1,2,300", "--tubes t.gpl --color 1,2,3 --recipe x",
          "--tubes t.gpl --recipe x --max-tubes 2"}) {
        SCOPED_TRACE(bad);
        const TCliRun mistake = RunCliCommand(std::string("mix ") + bad);
        EXPECT_EQ(mistake.Status, 2) << mistake.Err;
        EXPECT_EQ(mistake.Err.rfind("pigmentaria-cli mix: ", 0), 0u) << mistake.Err;
    }
    test::TTempDir dir;
    const TCliRun saved =
        RunCliCommand("mix --tubes " + Tubes12 + " -o " + (dir / "tubes.kvl").string());
    EXPECT_EQ(saved.Status, 0) << saved.Err;
    EXPECT_EQ(LoadTubeSet(dir / "tubes.kvl").Tubes.size(), 12u);
}

// A picture of soft blobs with noise, written as a PNG.
std::string BlobPicture(const test::TTempDir& dir) {
    std::mt19937 rng(3);
    TRaster24 r(160, 120);
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 160; ++x) {
            const double d = std::hypot(x - 60.0, y - 50.0), e = std::hypot(x - 120.0, y - 80.0);
            r.SetPixel(
                x, y,
                MakeColor(std::clamp(static_cast<int>(250 - 2 * d) + int(rng() % 40), 0, 255),
                          std::clamp(static_cast<int>(220 - 3 * e) + int(rng() % 40), 0, 255),
                          static_cast<int>(rng() % 80) + 60));
        }
    TPixelGraphic p;
    p.AssignRaster24(r);
    const std::string file = (dir / "blobs.png").string();
    p.SaveToFile(file);
    return file;
}

TEST(ConvertTemplateOptions, ColoursByCountCleanUpAndPaints) {
    test::TTempDir dir;
    const std::string picture = BlobPicture(dir);
    auto convert = [&](const std::string& name, const std::string& options) {
        const TCliRun run = RunCliCommand("convert " + picture + " -o " + (dir / name).string() +
                                          " --abstraction 1" + options);
        EXPECT_EQ(run.Status, 0) << options << "\n" << run.Err;
        return ReadPaintingFile(dir / name).Shapes;
    };
    const TShapeList plain = convert("plain.kvp", "");
    const TShapeList six = convert("six.kvp", " --palette-size 6");
    EXPECT_LE(ShapeColors(six).size(), 6u);
    const TShapeList big = convert("big.kvp", " --palette-size 6 --min-region-px 60");
    EXPECT_LT(big.Count(), six.Count());
    const TShapeList wide = convert("wide.kvp", " --palette-size 6 --min-width-px 6");
    EXPECT_LT(wide.Count(), six.Count());
    // Regions of the reduction hold the width: the painting drawn has few regions left.
    EXPECT_LT(LabelRegions(RenderPainting(wide, 1.0)).Count,
              LabelRegions(RenderPainting(six, 1.0)).Count);
    const std::string paints = (dir / "p.KVL").string();
    SavePalette(Paints(), paints, "Oils");
    const TShapeList painted = convert("paints.kvp", " --paints " + paints);
    const TNamedPalette p = Paints();
    for (TColor c : ShapeColors(painted))
        EXPECT_GT(p.PositionOf(c), 0);
    EXPECT_GT(ShapeColors(plain).size(), ShapeColors(painted).size() - 0);

    for (const std::string& bad :
         {std::string(" --palette-size 0"), std::string(" --palette-size x"),
          std::string(" --min-region-px -1"), std::string(" --min-width-px -2"),
          std::string(" --min-width-px 1,5")}) {
        SCOPED_TRACE(bad);
        const TCliRun run =
            RunCliCommand("convert " + picture + " -o " + (dir / "bad.kvp").string() + bad);
        EXPECT_EQ(run.Status, 2) << run.Err;
    }
    const TCliRun missing = RunCliCommand("convert " + picture + " -o " +
                                          (dir / "bad.kvp").string() + " --paints none.KVL");
    EXPECT_EQ(missing.Status, 1);
    EXPECT_NE(missing.Err.find("cannot read palette file none.KVL"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir / "bad.kvp"));
    const TCliRun help = RunCliCommand("convert --help");
    for (const char* option : {"--palette-size", "--min-region-px", "--min-width-px", "--paints"})
        EXPECT_NE(help.Out.find(option), std::string::npos) << option;
}

TEST(PrintLegibility, TheReportAndSimplifyingForThePrint) {
    test::TTempDir dir;
    const std::string picture = BlobPicture(dir);
    const std::string painting = (dir / "p.kvp").string();
    ASSERT_EQ(RunCliCommand("convert " + picture + " -o " + painting).Status, 0);
    const std::string pdf = " -o " + (dir / "t.pdf").string();
    const TCliRun plain = RunCliCommand("print " + painting + pdf);
    const TCliRun simple = RunCliCommand("print " + painting + pdf + " --simplify-mm 4");
    const TCliRun central = RunCliCommand("print " + painting + pdf + " --central-labels");
    const TCliRun bad = RunCliCommand("print " + painting + pdf + " --simplify-mm 0");
    EXPECT_EQ(bad.Status, 2);
    EXPECT_NE(bad.Err.find("--simplify-mm takes millimetres"), std::string::npos) << bad.Err;
#if !PIGMENTARIA_GUI
    GTEST_SKIP() << "this build has no printing";
#endif
    const std::regex report("legibility: ([0-9]+) regions; the narrowest ([0-9.]+) mm across; "
                            "([0-9]+) under ([0-9.]+) mm; the smallest number ([0-9]+) pt; "
                            "([0-9]+) regions with no number that fits");
    std::smatch a, b, c;
    ASSERT_TRUE(std::regex_search(plain.Out, a, report)) << plain.Out;
    ASSERT_TRUE(std::regex_search(simple.Out, b, report)) << simple.Out;
    ASSERT_TRUE(std::regex_search(central.Out, c, report)) << central.Out;
    EXPECT_EQ(a[4], "2.5");
    EXPECT_EQ(b[4], "4") << "the simplification's minimum is the report's";
    EXPECT_NE(simple.Out.find("simplified for 4 mm"), std::string::npos) << simple.Out;
    EXPECT_LT(std::stoi(b[1]), std::stoi(a[1]));
    EXPECT_LT(std::stoi(b[3]), std::stoi(a[3]));
    // Central labels number the regions placement leaves out; the regions stay the same.
    EXPECT_EQ(c[1], a[1]);
    EXPECT_LT(std::stoi(c[6]), std::stoi(a[6]));
    // The painting file is left as it was.
    EXPECT_EQ(RunCliCommand("print " + painting + pdf).Out, plain.Out);
}

} // namespace
} // namespace pigmentaria
