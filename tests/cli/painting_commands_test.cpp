#include "cli_run.h"
#include "model/painting_file.h"
#include "palette/palette.h"
#include "print/numbers.h"
#include "test_util.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <sys/wait.h>

namespace pigmentaria {
namespace {

using test::TTempDir;

struct TRun {
    int Status;
    std::string Out;
};

// With `withErrors` what it said on stderr follows what it said on stdout.
TRun RunCli(const std::string& args, bool withErrors = false) {
    const test::TCliRun r = test::RunCliCommand(args);
    return {r.Status, withErrors ? r.Out + r.Err : r.Out};
}

TShapeList Painting() {
    TShapeList list;
    list.Append(MakeFrameShape(60, 40));
    list.Append(MakeShape(0x0000FF, {{5, 5}, {30, 5}, {30, 30}, {5, 30}}, 0x0000F0));
    list.Append(MakeShape(0x00FF00, {{35, 5}, {55, 5}, {55, 35}, {35, 35}}, 0x00F000));
    list.Append(MakeShape(0x0000FF, {{10, 32}, {20, 32}, {20, 38}, {10, 38}}));
    return list;
}

TEST(PaintingCommandsTest, NumbersListsEveryLabel) {
    TTempDir dir;
    const TShapeList shapes = Painting();
    WritePaintingFile(dir / "p.kvp", shapes, "", {});
    const TRun run = RunCli("numbers " + (dir / "p.kvp").string());
    ASSERT_EQ(run.Status, 0);
    TNamedPalette palette;
    RebuildPaintingPalette(palette, shapes);
    TNullProgress progress;
    TNullMessages messages;
    std::string expected;
    for (const TNumberLabel& l : PlaceNumbers(shapes, palette, progress, messages))
        expected += l.Text + "\t" + std::to_string(l.Left) + "\t" + std::to_string(l.Top) + "\t" +
                    std::to_string(l.Right) + "\t" + std::to_string(l.Bottom) + "\n";
    EXPECT_EQ(run.Out, expected);
    EXPECT_NE(RunCli("numbers " + (dir / "missing.kvp").string()).Status, 0);
    EXPECT_NE(RunCli("numbers").Status, 0);
}

TEST(PaintingCommandsTest, PaletteListsAndSaves) {
    TTempDir dir;
    WritePaintingFile(dir / "p.kvp", Painting(), "", {});
    const TRun list = RunCli("palette " + (dir / "p.kvp").string());
    ASSERT_EQ(list.Status, 0);
    EXPECT_EQ(list.Out, "1\t0\t0,0,0\n2\t255\t255,0,0\n3\t65280\t0,255,0\n");
    const TRun save = RunCli("palette " + (dir / "p.kvp").string() + " -o " +
                             (dir / "out.KVL").string() + " --description 'Three colours'");
    ASSERT_EQ(save.Status, 0);
    EXPECT_EQ(test::ReadText(dir / "out.KVL"), "Three colours\r\n0,\r\n255,\r\n65280,\r\n");
    EXPECT_NE(RunCli("palette " + (dir / "p.kvp").string() + " --bogus x").Status, 0);
}

TEST(PaintingCommandsTest, RetraceWritesANewPainting) {
    TTempDir dir;
    TPrintLayoutBlock layout;
    layout.PagesAcross = 2;
    WritePaintingFile(dir / "p.kvp", Painting(), "Primaries", layout);
    const TRun run =
        RunCli("retrace " + (dir / "p.kvp").string() + " -o " + (dir / "r.kvp").string());
    ASSERT_EQ(run.Status, 0);
    const TPaintingFileContents back = ReadPaintingFile(dir / "r.kvp");
    EXPECT_EQ(back.PaletteName, "Primaries");
    EXPECT_EQ(back.Layout.PagesAcross, 2);
    EXPECT_EQ(back.Shapes.PaintingWidth(), 60);
    EXPECT_GE(back.Shapes.Count(), 4u);
    // Re-traced shapes take their acquired colour from the rendering: the painted colour.
    for (const TPaintShape& s : back.Shapes)
        EXPECT_EQ(s.AcquiredColor, s.Color);
    EXPECT_NE(RunCli("retrace " + (dir / "p.kvp").string()).Status, 0);
}

// Printing draws through Qt: a build without the GUI has the commands but says it cannot print,
// and leaves no file behind.
TEST(PaintingCommandsTest, PrintingWorksExactlyWhenTheBuildHasIt) {
    TTempDir dir;
    WritePaintingFile(dir / "p.kvp", Painting(), "", {});
    const std::string painting = (dir / "p.kvp").string();
    const TRun print = RunCli("print " + painting + " -o " + (dir / "t.pdf").string(), true);
    const TRun palette =
        RunCli("palette " + painting + " --print " + (dir / "c.pdf").string(), true);
    for (const TRun* run : {&print, &palette}) {
#if PIGMENTARIA_GUI
        EXPECT_EQ(run->Status, 0) << run->Out;
#else
        EXPECT_EQ(run->Status, 1);
        EXPECT_NE(run->Out.find("printing is not available in this build"), std::string::npos)
            << run->Out;
#endif
    }
    for (const char* name : {"t.pdf", "c.pdf"})
        EXPECT_EQ(test::ReadText(dir / name).starts_with("%PDF"), bool(PIGMENTARIA_GUI)) << name;
}

} // namespace
} // namespace pigmentaria
