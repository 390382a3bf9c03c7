// The command line run by a user with a German locale: its printing starts Qt, which adopts the
// user's locale, and still the arguments are read and the output written with a full stop.
#include "cli_run.h"
#include "locale_util.h"
#include "model/painting_file.h"
#include "palette/palette.h"

#include <gtest/gtest.h>

namespace pigmentaria {
namespace {

using test::RunCliCommand;

const std::string German = std::string("LC_ALL=") + test::GermanLocale;

class CliUnderGermanLocale : public ::testing::Test {
protected:
    void SetUp() override {
        PIGMENTARIA_NEED_LOCALE(test::GermanLocale);
        TShapeList shapes;
        shapes.Append(MakeFrameShape(60, 40));
        shapes.Append(MakeShape(MakeColor(255, 0, 0), {{5, 5}, {30, 5}, {30, 30}, {5, 30}}));
        shapes.Append(MakeShape(MakeColor(0, 0, 255), {{35, 5}, {55, 5}, {45, 35}}));
        WritePaintingFile(Dir / "p.kvp", shapes, "", {});
        Painting = (Dir / "p.kvp").string();
    }
    test::TTempDir Dir;
    std::string Painting;
};

TEST_F(CliUnderGermanLocale, PrintReadsDecimalsAndReportsTheLayoutWithAFullStop) {
    const test::TCliRun run =
        RunCliCommand("print " + Painting + " -o " + (Dir / "t.pdf").string() +
                          " --across 2 --overlap 1.5 --paper 215.9x279.4mm --frame 10,10,80,50",
                      German);
#if !PIGMENTARIA_GUI
    GTEST_SKIP() << "this build has no printing";
#endif
    ASSERT_EQ(run.Status, 0) << run.Err;
    // Letter-sized user paper at 600 dpi: 8.5 by 11 inches; two across overlapping 1.5 inches.
    EXPECT_NE(run.Out.find("8.5\" x 11\""), std::string::npos) << run.Out;
    EXPECT_NE(run.Out.find("Total Print Size: 15.5\" x 11\""), std::string::npos) << run.Out;
    // The frame's size in inches: decimals with a full stop.
    const std::size_t at = run.Out.find("Image Size: ");
    ASSERT_NE(at, std::string::npos) << run.Out;
    const std::string size = run.Out.substr(at);
    EXPECT_EQ(size.find(','), std::string::npos) << size;
    EXPECT_NE(size.find('.'), std::string::npos) << size;
}

TEST_F(CliUnderGermanLocale, ThePaletteSheetAndOtherCommandsReadDecimalsWithAFullStop) {
    TNamedPalette names;
    AddPaletteColor(names, MakeColor(255, 0, 0), "Red 1.5");
    SavePalette(names, Dir / "n.KVL", "Names");
    const test::TCliRun sheet =
        RunCliCommand("palette " + Painting + " --print " + (Dir / "s.pdf").string() + " --names " +
                          (Dir / "n.KVL").string() + " --paper 148.5x210mm",
                      German);
#if PIGMENTARIA_GUI
    EXPECT_EQ(sheet.Status, 0) << sheet.Err;
#endif
    const test::TCliRun render = RunCliCommand(
        "render " + Painting + " -o " + (Dir / "r.png").string() + " --zoom 1.5", German);
    EXPECT_EQ(render.Status, 0) << render.Err;
    const test::TCliRun convert =
        RunCliCommand("convert " + (Dir / "r.png").string() + " -o " + (Dir / "c.kvp").string() +
                          " --zoom 0.5 --filter smooth:sigma=1.25",
                      German);
    ASSERT_EQ(convert.Status, 0) << convert.Err;
    // "c.kvp: 45 x 30, ... 0.12 s": the seconds with a full stop.
    const std::size_t s = convert.Out.rfind(" s\n");
    ASSERT_NE(s, std::string::npos) << convert.Out;
    const std::string seconds = convert.Out.substr(convert.Out.rfind(' ', s - 1) + 1);
    EXPECT_EQ(seconds.find(','), std::string::npos) << convert.Out;
    EXPECT_NE(seconds.find('.'), std::string::npos) << convert.Out;
    EXPECT_NE(convert.Out.find(": 45 x 30,"), std::string::npos) << convert.Out;
}

} // namespace
} // namespace pigmentaria
