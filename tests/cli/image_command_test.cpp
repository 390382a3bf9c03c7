// pigmentaria-cli image info and image convert: output, exit status, warnings on stderr, and no
// output file left behind by a failure.
#include "cli_run.h"
#include "image/pixel_graphic.h"
#include "test_util.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sys/wait.h>

namespace pigmentaria {
namespace {

using test::TTempDir;

struct TRun {
    int Status;
    std::string Out, Err;
};

TRun RunImage(const std::string& args, const TTempDir&) {
    const test::TCliRun r = test::RunCliCommand("image " + args);
    return {r.Status, r.Out, r.Err};
}

std::string Data(const std::string& name) {
    return std::string(PIGMENTARIA_TEST_DATA) + "/image/" + name;
}

TEST(ImageCommand, InfoDescribesTheFile) {
    TTempDir dir;
    const TRun run = RunImage("info " + Data("jpeg/im_progressive.jpg"), dir);
    EXPECT_EQ(run.Status, 0);
    EXPECT_NE(run.Out.find("width: 37\nheight: 21\n"), std::string::npos) << run.Out;
    EXPECT_NE(run.Out.find("subformat: JFIF, YCbCr, Progressive"), std::string::npos);
    const TRun lzw = RunImage("info " + Data("tiff/im_lzw.tif"), dir);
    EXPECT_EQ(lzw.Status, 0);
    EXPECT_NE(lzw.Out.find("subformat: I, LZW"), std::string::npos);
    const TRun missing = RunImage("info " + (dir / "none.png").string(), dir);
    EXPECT_EQ(missing.Status, 1);
    EXPECT_EQ(std::count(missing.Err.begin(), missing.Err.end(), '\n'), 1);
}

TEST(ImageCommand, ConvertWritesByExtensionAndReportsFallbacksOnStderr) {
    TTempDir dir;
    const std::string out = (dir / "gray.pgm").string();
    const TRun run = RunImage("convert " + Data("png/im_rgb8.png") + " " + out, dir);
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_NE(run.Err.find("256 shades of gray"), std::string::npos) << run.Err;
    TPixelGraphic g;
    g.LoadFromFile(out);
    EXPECT_EQ(g.ColorType(), ct8Bit);
    EXPECT_EQ(g.Width(), 13);
    // Same resolution: no warning.
    const TRun tif = RunImage("convert " + out + " " + (dir / "gray.TIF").string(), dir);
    EXPECT_EQ(tif.Status, 0);
    EXPECT_TRUE(tif.Err.empty()) << tif.Err;
    EXPECT_TRUE(std::filesystem::exists(dir / "gray.TIF"));
}

TEST(ImageCommand, FailuresLeaveNoOutputBehind) {
    TTempDir dir;
    const auto onlyInputs = [&] {
        int files = 0;
        for (const auto& e : std::filesystem::directory_iterator(dir.Path()))
            files += e.path().filename() != "stderr.txt";
        return files;
    };
    const TRun lzw =
        RunImage("convert " + Data("tiff/im_lzw.tif") + " " + (dir / "out.png").string(), dir);
    EXPECT_EQ(lzw.Status, 1);
    EXPECT_EQ(lzw.Err, "pigmentaria-cli image: TIFF: Unsupported compression LZW\n");
    const TRun ext =
        RunImage("convert " + Data("png/im_rgb8.png") + " " + (dir / "out.xyz").string(), dir);
    EXPECT_EQ(ext.Status, 1);
    EXPECT_EQ(ext.Err, "pigmentaria-cli image: Unknown file extension \"xyz\"\n");
    // A writer that fails half-way: a 24-bit picture cannot be a JPEG written into a folder
    // that is not there, and an existing file is left as it was.
    test::WriteText(dir / "keep.jpg", "old");
    const TRun bad = RunImage(
        "convert " + Data("pcx/pil_rgb24.pcx") + " " + (dir / "missing" / "x.jpg").string(), dir);
    EXPECT_EQ(bad.Status, 1);
    EXPECT_EQ(onlyInputs(), 1);
    EXPECT_EQ(test::ReadText(dir / "keep.jpg"), "old");
    EXPECT_EQ(RunImage("convert only-one-argument", dir).Status, 2);
}

} // namespace
} // namespace pigmentaria
