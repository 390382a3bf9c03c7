// Export of a painting as metafiles and SVG: the name rule, what is saved and copied, and how
// independent readers see our files and how we see theirs.
#include "image/metafile_fixtures.h"
#include "image/metafile_reader.h"
#include "image/painting_export.h"
#include "model/painting_file.h"
#include "model/render.h"
#include "platform/canvas.h"
#include "platform/file_io.h"
#include "tool_skip.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <unistd.h>

namespace pigmentaria {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

fs::path TempDir(const std::string& name) {
    const fs::path dir =
        fs::temp_directory_path() / ("pigmentaria-" + name + "-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

TEST(PaintingExport, MetafileFormatFollowsTheExtensionWithoutRegardToCase) {
    EXPECT_EQ(MetafileFormatForName("a.wmf"), TMetafileFormat::Windows);
    EXPECT_EQ(MetafileFormatForName("/x/PAINTING.EMF"), TMetafileFormat::Enhanced);
    EXPECT_EQ(MetafileFormatForName("b.Wmf"), TMetafileFormat::Windows);
    EXPECT_EQ(MetafileFormatForName("c.kvp"), TMetafileFormat::None);
    EXPECT_EQ(MetafileFormatForName("dir.emf/picture"), TMetafileFormat::None);
    EXPECT_EQ(MetafileFormatForName("emf"), TMetafileFormat::None);
}

TEST(PaintingExport, SavingAsUpperCaseEmfWritesAnEnhancedMetafile) {
    const fs::path dir = TempDir("save");
    const TShapeList shapes = test::TracedPainting(50, 30);
    SavePaintingAsMetafile((dir / "PAINTING.EMF").string(), shapes, false);
    const std::vector<std::uint8_t> bytes = ReadAll(dir / "PAINTING.EMF");
    ASSERT_TRUE(DetectEmf(bytes));
    EXPECT_EQ(ReadMetafile(bytes, true).Raster, RenderPainting(shapes, 1.0));
    EXPECT_THROW(SavePaintingAsMetafile((dir / "p.kvp").string(), shapes, false),
                 std::invalid_argument);
    EXPECT_FALSE(fs::exists(dir / "p.kvp"));
    EXPECT_THROW(SavePaintingAsMetafile((dir / "missing" / "p.wmf").string(), shapes, false),
                 EFileError);
    fs::remove_all(dir);
}

TEST(PaintingExport, OneWriterForEveryNameAPaintingIsWrittenUnder) {
    EXPECT_EQ(PaintingFileKindForName("a.kvp", true), TPaintingFileKind::Painting);
    EXPECT_EQ(PaintingFileKindForName("a.WMF", false), TPaintingFileKind::WindowsMetafile);
    EXPECT_EQ(PaintingFileKindForName("a.emf", false), TPaintingFileKind::EnhancedMetafile);
    EXPECT_EQ(PaintingFileKindForName("a.Svg", true), TPaintingFileKind::Svg);
    EXPECT_EQ(PaintingFileKindForName("a.svg", false), TPaintingFileKind::Painting);
    EXPECT_EQ(PaintingFileKindForName("svg", true), TPaintingFileKind::Painting);

    const fs::path dir = TempDir("write");
    const TShapeList shapes = test::TracedPainting(40, 24);
    TPaintingWriteOptions options;
    options.PaletteName = "Earth tones";
    options.Layout.PagesAcross = 3;
    options.OutlinesOnly = true;
    // The painting file, with its palette name and layout; the outlines-only view does not
    // reach into it.
    EXPECT_EQ(WritePainting(dir / "p.kvp", shapes, options), TPaintingFileKind::Painting);
    const TPaintingFileContents read = ReadPaintingFile(dir / "p.kvp");
    EXPECT_EQ(read.PaletteName, "Earth tones");
    EXPECT_EQ(read.Layout.PagesAcross, 3);
    EXPECT_EQ(RenderPainting(read.Shapes, 1.0), RenderPainting(shapes, 1.0));
    // A metafile in the outlines-only view.
    EXPECT_EQ(WritePainting(dir / "p.EMF", shapes, options), TPaintingFileKind::EnhancedMetafile);
    EXPECT_EQ(ReadMetafile(ReadAll(dir / "p.EMF"), true).Raster, RenderPainting(shapes, 1.0, true));
    // SVG only where allowed; elsewhere ".svg" is just a painting file's name.
    EXPECT_EQ(WritePainting(dir / "a.svg", shapes, options), TPaintingFileKind::Painting);
    EXPECT_NO_THROW(ReadPaintingFile(dir / "a.svg"));
    options.SvgAllowed = true;
    EXPECT_EQ(WritePainting(dir / "b.svg", shapes, options), TPaintingFileKind::Svg);
    const std::vector<std::uint8_t> svg = ReadAll(dir / "b.svg");
    EXPECT_EQ(std::string(svg.begin(), svg.end()), PaintingSvg(shapes, true));
    // A file that cannot be written is reported and leaves nothing behind.
    EXPECT_THROW(WritePainting(dir / "no" / "p.kvp", shapes, options), EFileError);
    EXPECT_FALSE(fs::exists(dir / "no"));
    fs::remove_all(dir);
}

TEST(PaintingExport, CopySelectedShapesHoldsOnlyThemInListOrder) {
    TShapeList shapes;
    shapes.Append(MakeFrameShape(30, 30));
    TPaintShape* a = shapes.Append(MakeShape(clRed, {{2, 2}, {20, 2}, {20, 20}, {2, 20}}));
    TPaintShape* b = shapes.Append(MakeShape(0x00FF00, {{10, 10}, {28, 10}, {28, 28}, {10, 28}}));
    shapes.Append(MakeShape(0xFF0000, {{0, 0}, {5, 0}, {5, 5}}));
    TSelection selection;
    selection.Add(b); // selected last-first: the copy still draws a before b
    selection.Add(a);
    for (TMetafileFormat f : {TMetafileFormat::Windows, TMetafileFormat::Enhanced}) {
        const bool enhanced = f == TMetafileFormat::Enhanced;
        const TRaster24 copy =
            ReadMetafile(SelectedShapesMetafile(shapes, selection, false, f), enhanced).Raster;
        TRaster24 expected(30, 30, clWhite);
        TRasterCanvas canvas(expected);
        DrawShape(canvas, *a, 1.0);
        DrawShape(canvas, *b, 1.0);
        EXPECT_EQ(copy, expected);
        EXPECT_EQ(copy.GetPixel(15, 15), 0x00FF00u);
        // The saved painting keeps every shape whatever is selected.
        EXPECT_EQ(ReadMetafile(PaintingMetafile(shapes, false, f), enhanced).Raster,
                  RenderPainting(shapes, 1.0));
    }
}

TEST(PaintingExport, SvgHasEveryShapeInListOrderAtThePaintingsSize) {
    TShapeList shapes;
    shapes.Append(MakeFrameShape(40, 20));
    shapes.Append(MakeShape(MakeColor(0x12, 0x34, 0x56), {{1, 1}, {10, 1}, {10, 9}}));
    shapes.Append(MakeShape(MakeColor(0xAB, 0xCD, 0xEF), {{5, 5}, {30, 5}, {30, 15}, {5, 15}}));
    const std::string svg = PaintingSvg(shapes, false);
    EXPECT_NE(svg.find("width=\"40\" height=\"20\""), std::string::npos);
    const std::regex path("<path d=\"([^\"]*)\" fill=\"(#[0-9a-f]{6})\" stroke=\"(#[0-9a-f]{6})\"");
    std::vector<std::string> fills, strokes, ds;
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), path); it != std::sregex_iterator();
         ++it) {
        ds.push_back((*it)[1]);
        fills.push_back((*it)[2]);
        strokes.push_back((*it)[3]);
    }
    EXPECT_EQ(fills, (std::vector<std::string>{"#000000", "#123456", "#abcdef"}));
    EXPECT_EQ(strokes, fills);
    EXPECT_EQ(ds[1], "M 1 1 L 10 1 10 9 Z");
    const std::string outlines = PaintingSvg(shapes, true);
    EXPECT_EQ(outlines.find("#123456"), std::string::npos);
    EXPECT_NE(outlines.find("fill=\"#ffffff\" stroke=\"#000000\""), std::string::npos);
}

// ---- real metafiles made by another program ------------------------------------------------

// Colours at places of the drawing the files were made from (clip.svg, 160 × 120), on our
// picture of it.
void ExpectClipArtColours(const TRaster24& r, double scale) {
    ASSERT_FALSE(r.Empty());
    auto at = [&](int x, int y) {
        return r.GetPixel(static_cast<int>(x * scale), static_cast<int>(y * scale));
    };
    EXPECT_EQ(at(40, 30), MakeColor(0x1e, 0x90, 0xff));  // rectangle
    EXPECT_EQ(at(115, 35), MakeColor(0xdc, 0x14, 0x3c)); // ellipse
    EXPECT_EQ(at(60, 95), MakeColor(0x22, 0x8b, 0x22));  // triangle
    EXPECT_EQ(at(85, 60), MakeColor(0xf0, 0xe6, 0x8c));  // background
    EXPECT_EQ(at(130, 90), MakeColor(0x99, 0x32, 0xcc)); // curved path
    EXPECT_EQ(at(5, 30), MakeColor(0, 0, 0x80));         // the rectangle's thick outline
}

TEST(RealMetafiles, ClipArtFromAnotherProgramLoadsPlausibly) {
    const fs::path data = fs::path(PIGMENTARIA_TEST_DATA) / "metafile";
    const std::vector<std::uint8_t> wmf = ReadAll(data / "clip.wmf");
    const std::vector<std::uint8_t> emf = ReadAll(data / "clip.emf");
    ASSERT_TRUE(DetectWmf(wmf));
    // Its header record is 108 bytes: recognised by the signature.
    ASSERT_EQ(emf[4], 108);
    ASSERT_TRUE(DetectEmf(emf));
    const TMetafileInfo info = GetMetafileInfo(wmf, false);
    EXPECT_EQ(info.SubFormat, PlaceableSubFormat);
    const double scale = info.Width / 160.0;
    EXPECT_NEAR(scale, GetMetafileInfo(emf, true).Width / 160.0, 0.05);
    ExpectClipArtColours(ReadMetafile(wmf, false).Raster, scale);
    ExpectClipArtColours(ReadMetafile(emf, true).Raster, scale);
}

// ---- an independent renderer ---------------------------------------------------------------

std::string Soffice() {
    for (const char* p : {"/usr/bin/soffice", "/usr/local/bin/soffice", "/usr/bin/libreoffice"})
        if (fs::exists(p)) return p;
    return {};
}

struct TRgbImage {
    int Width = 0, Height = 0;
    std::vector<std::uint8_t> Rgb;
    TColor At(int x, int y) const {
        const std::uint8_t* p = &Rgb[3 * (std::size_t(y) * Width + x)];
        return MakeColor(p[0], p[1], p[2]);
    }
};

TRgbImage ReadPng(const fs::path& file) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    TRgbImage out;
    if (!png_image_begin_read_from_file(&image, file.c_str())) return out;
    image.format = PNG_FORMAT_RGB;
    out.Rgb.resize(PNG_IMAGE_SIZE(image));
    png_color white{255, 255, 255};
    if (!png_image_finish_read(&image, &white, out.Rgb.data(), 0, nullptr)) return out;
    out.Width = static_cast<int>(image.width);
    out.Height = static_cast<int>(image.height);
    return out;
}

int Diff(TColor a, TColor b) {
    return std::max({std::abs(RedOf(a) - RedOf(b)), std::abs(GreenOf(a) - GreenOf(b)),
                     std::abs(BlueOf(a) - BlueOf(b))});
}

// The share of our pixels that the other rendering shows in nearly the same colour within a
// pixel or two of the same place. The other program puts the picture on a page: the box of
// what is not white is taken as the picture (our paintings have a black frame).
double Agreement(const TRaster24& ours, const TRgbImage& page) {
    int l = page.Width, t = page.Height, r = -1, b = -1;
    for (int y = 0; y < page.Height; ++y)
        for (int x = 0; x < page.Width; ++x)
            if (Diff(page.At(x, y), clWhite) > 30) {
                l = std::min(l, x), t = std::min(t, y), r = std::max(r, x), b = std::max(b, y);
            }
    if (r < l || b < t) return 0;
    const double sx = double(r - l + 1) / ours.Width(), sy = double(b - t + 1) / ours.Height();
    long good = 0;
    for (int y = 0; y < ours.Height(); ++y)
        for (int x = 0; x < ours.Width(); ++x) {
            const int px = l + static_cast<int>((x + 0.5) * sx),
                      py = t + static_cast<int>((y + 0.5) * sy);
            bool found = false;
            for (int dy = -2; dy <= 2 && !found; ++dy)
                for (int dx = -2; dx <= 2 && !found; ++dx) {
                    const int qx = px + dx, qy = py + dy;
                    if (qx >= 0 && qy >= 0 && qx < page.Width && qy < page.Height)
                        found = Diff(page.At(qx, qy), ours.GetPixel(x, y)) <= 40;
                }
            good += found;
        }
    return double(good) / (double(ours.Width()) * ours.Height());
}

TEST(IndependentRenderer, LibreOfficeShowsOurMetafilesAndSvgLikeOurRenderer) {
    const std::string soffice = Soffice();
    if (soffice.empty())
        SKIP_WITHOUT_TOOL("LibreOffice (soffice) is not installed: our WMF, EMF and SVG files were "
                          "NOT checked with an independent renderer (apt-get install "
                          "libreoffice-draw-nogui)");
    const fs::path dir = TempDir("independent");
    const TShapeList shapes = test::TracedPainting(120, 80);
    std::vector<std::pair<std::string, bool>> files;
    for (bool outlines : {false, true}) {
        const std::string stem = outlines ? "outlines" : "filled";
        for (TMetafileFormat f : {TMetafileFormat::Windows, TMetafileFormat::Enhanced}) {
            const std::string name = stem + (f == TMetafileFormat::Windows ? "-w.wmf" : "-e.emf");
            const std::vector<std::uint8_t> bytes = PaintingMetafile(shapes, outlines, f);
            std::ofstream(dir / name, std::ios::binary)
                .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
            files.push_back({name, outlines});
        }
        std::ofstream(dir / (stem + "-s.svg")) << PaintingSvg(shapes, outlines);
        files.push_back({stem + "-s.svg", outlines});
    }
    std::string command = "cd '" + dir.string() + "' && '" + soffice +
                          "' --headless -env:UserInstallation=file://" +
                          (dir / "profile").string() + " --convert-to png --outdir out";
    for (const auto& f : files)
        command += " " + f.first;
    command += " >log.txt 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << "LibreOffice failed, see " << dir;
    for (const auto& [name, outlines] : files) {
        SCOPED_TRACE(name);
        const TRgbImage page = ReadPng(dir / "out" / (fs::path(name).stem().string() + ".png"));
        ASSERT_GT(page.Width, 0);
        const double agreement = Agreement(RenderPainting(shapes, 1.0, outlines), page);
        // Filled paintings agree but for a rim of smoothed edges; outline drawings have more
        // edge per pixel.
        EXPECT_GT(agreement, outlines ? 0.85 : 0.95);
        RecordProperty(name, std::to_string(agreement));
        std::printf("[ agreement ] %s %.4f\n", name.c_str(), agreement);
    }
    fs::remove_all(dir);
}

} // namespace
} // namespace pigmentaria
