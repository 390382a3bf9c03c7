// The render command: a painting file written as a metafile, SVG or raster picture, and its
// failures (one line on stderr, exit status 1, no file).
#include "cli_run.h"
#include "image/file_format.h"
#include "image/metafile_reader.h"
#include "image/painting_export.h"
#include "image/pixel_graphic.h"
#include "model/painting_file.h"
#include "model/render.h"
#include "platform/file_io.h"
#include "test_util.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/wait.h>

namespace pigmentaria {
namespace {

namespace fs = std::filesystem;
using test::ReadText;
using test::TTempDir;
using test::WriteText;

struct TRun {
    int Status;
    std::string Err;
};

// Runs the command line tool; stdout is dropped, stderr kept.
TRun Render(const std::string& args) {
    const test::TCliRun r = test::RunCliCommand("render " + args);
    return {r.Status, r.Err};
}

std::size_t Lines(const std::string& text) {
    std::size_t n = 0;
    for (char c : text)
        n += c == '\n';
    return n;
}

TShapeList Painting() {
    TShapeList list;
    list.Append(MakeFrameShape(60, 40));
    list.Append(MakeShape(0x0000FF, {{5, 5}, {30, 5}, {30, 30}, {5, 30}}));
    list.Append(MakeShape(0x00FF00, {{35, 5}, {55, 5}, {45, 35}}));
    return list;
}

class RenderCommand : public ::testing::Test {
protected:
    RenderCommand() {
        WritePaintingFile(Dir / "p.kvp", Shapes, "", {});
        In = (Dir / "p.kvp").string();
    }
    TTempDir Dir;
    TShapeList Shapes = Painting();
    std::string In;
};

TEST_F(RenderCommand, MetafilesHoldThePaintingAtScaleOne) {
    ASSERT_EQ(Render(In + " -o " + (Dir / "p.wmf").string() + " --zoom 3").Status, 0);
    ASSERT_EQ(Render(In + " -o " + (Dir / "P.EMF").string() + " --outlines").Status, 0);
    EXPECT_EQ(ReadMetafile(ReadFileBytes(Dir / "p.wmf"), false).Raster,
              RenderPainting(Shapes, 1.0));
    EXPECT_EQ(ReadMetafile(ReadFileBytes(Dir / "P.EMF"), true).Raster,
              RenderPainting(Shapes, 1.0, true));
}

TEST_F(RenderCommand, SvgIsTheExportedDrawing) {
    ASSERT_EQ(Render(In + " --outlines -o " + (Dir / "p.svg").string()).Status, 0);
    EXPECT_EQ(ReadText(Dir / "p.svg"), PaintingSvg(Shapes, true));
}

TEST_F(RenderCommand, PicturesAreTheRenderingAtTheZoom) {
    ASSERT_EQ(Render(In + " -o " + (Dir / "p.bmp").string() + " --zoom 0.5").Status, 0);
    ASSERT_EQ(Render(In + " -o " + (Dir / "q.bmp").string() + " --zoom 150% --outlines").Status, 0);
    TPixelGraphic half, big;
    half.LoadFromFile((Dir / "p.bmp").string());
    big.LoadFromFile((Dir / "q.bmp").string());
    EXPECT_EQ(half.ToRaster24(), RenderPainting(Shapes, 0.5));
    EXPECT_EQ(big.Width(), 90);
    EXPECT_EQ(big.ToRaster24(), RenderPainting(Shapes, 1.5, true));
}

TEST_F(RenderCommand, EveryPictureFormatGoesThroughTheLibrarysWriters) {
    for (const char* ext : {"png", "jpg", "tif", "tga", "ppm"}) {
        SCOPED_TRACE(ext);
        const fs::path out = Dir / (std::string("p.") + ext);
        const TRun run = Render(In + " -o " + out.string());
        if (PGFormats().FindWriter(ext)) {
            EXPECT_EQ(run.Status, 0) << run.Err;
            TPixelGraphic g;
            g.LoadFromFile(out.string());
            EXPECT_EQ(g.Width(), 60);
            EXPECT_EQ(g.Height(), 40);
        } else {
            // A format the library cannot write yet fails with the library's own message.
            EXPECT_EQ(run.Status, 1);
            EXPECT_EQ(run.Err, std::string("pigmentaria-cli render: Unknown file extension \"") +
                                   ext + "\"\n");
            EXPECT_FALSE(fs::exists(out));
        }
    }
}

TEST_F(RenderCommand, FailuresSayOneLineAndLeaveNoFile) {
    WriteText(Dir / "text.kvp", "not a painting at all");
    const std::string out = (Dir / "out.bmp").string();
    // Mistakes on the command line exit 2, failures of the work 1.
    for (const auto& [args, status] : std::vector<std::pair<std::string, int>>{
             {"", 2},
             {In, 2},
             {In + " -o", 2},
             {In + " -o " + out + " --zoom 0", 2},
             {In + " -o " + out + " --zoom x", 2},
             {In + " -o " + out + " --zoom 1000", 1},
             {In + " -o " + out + " --size 3", 2},
             {In + " " + In + " -o " + out, 2},
             {(Dir / "missing.kvp").string() + " -o " + out, 1},
             {(Dir / "text.kvp").string() + " -o " + out, 1},
             {In + " -o " + (Dir / "p.kvp.xyz").string(), 1},
             {In + " -o " + (Dir / "no" / "such" / "p.emf").string(), 1}}) {
        SCOPED_TRACE(args);
        const TRun run = Render(args);
        EXPECT_EQ(run.Status, status);
        EXPECT_EQ(Lines(run.Err), 1u) << run.Err;
        EXPECT_EQ(run.Err.rfind("pigmentaria-cli render: ", 0), 0u) << run.Err;
    }
    // Only the painting and the not-a-painting file are there: nothing half-written.
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(Dir.Path()))
        ++files;
    EXPECT_EQ(files, 2u);
}

TEST_F(RenderCommand, AFailedRenderKeepsTheFormerOutput) {
    WriteText(Dir / "out.emf", "former");
    WriteText(Dir / "bad.kvp", "KV1000 but cut short");
    EXPECT_EQ(Render((Dir / "bad.kvp").string() + " -o " + (Dir / "out.emf").string()).Status, 1);
    EXPECT_EQ(ReadText(Dir / "out.emf"), "former");
}

} // namespace
} // namespace pigmentaria
