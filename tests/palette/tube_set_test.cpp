// Tube files: GIMP palettes as GIMP documents them, our palette files with names, and the
// messages that say which file and line cannot be used.
#include "palette/tube_set.h"
#include "test_util.h"

#include <gtest/gtest.h>

namespace pigmentaria {
namespace {

std::string Message(const std::string& text, const std::string& file) {
    try {
        if (file.ends_with(".gpl"))
            ParseGimpPalette(text, file);
        else
            ParseKvlTubes(text, file);
    } catch (const ETubeFileError& e) {
        return e.what();
    }
    return "no error";
}

TEST(TubeSet, ReadsAGimpPaletteWithHeaderCommentsAndTabSeparatedNames) {
    const std::string text = "GIMP Palette\r\n"
                             "Name: Studio acrylics\r\n"
                             "Columns: 4\r\n"
                             "# made by hand\r\n"
                             "#\r\n"
                             "255 255 255\tTitanium White\r\n"
                             "\r\n"
                             "  0   0 128\tUltramarine Blue (PB29)\r\n"
                             "# a comment between rows\r\n"
                             "12 34 56 Payne's Grey\r\n";
    const TTubeSet set = ParseGimpPalette(text, "studio.gpl");
    EXPECT_EQ(set.Description, "Studio acrylics");
    ASSERT_EQ(set.Tubes.size(), 3u);
    EXPECT_EQ(set.Tubes[0].Name, "Titanium White");
    EXPECT_EQ(set.Tubes[0].Color, clWhite);
    EXPECT_EQ(set.Tubes[1].Name, "Ultramarine Blue (PB29)");
    EXPECT_EQ(set.Tubes[1].Color, MakeColor(0, 0, 128));
    EXPECT_EQ(set.Tubes[2].Name, "Payne's Grey");
    EXPECT_EQ(set.Tubes[2].Color, MakeColor(12, 34, 56));
    EXPECT_EQ(FindTube(set, "payne's grey"), 2);
    EXPECT_EQ(FindTube(set, "Cobalt Blue"), -1);
}

TEST(TubeSet, BothFormatsWriteWhatTheyRead) {
    TTubeSet set;
    set.Description = "Mine";
    set.Tubes = {{"Titanium White", MakeColor(250, 250, 247)},
                 {"Burnt Sienna, warm", MakeColor(140, 60, 30)},
                 {"Phthalo Blue", MakeColor(10, 30, 120)}};
    test::TTempDir dir;
    for (const char* name : {"set.gpl", "set.KVL", "set.GPL"}) {
        SaveTubeSet(set, dir / name);
        const TTubeSet back = LoadTubeSet(dir / name);
        EXPECT_EQ(back.Description, "Mine") << name;
        ASSERT_EQ(back.Tubes.size(), 3u) << name;
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(back.Tubes[i].Name, set.Tubes[i].Name) << name;
            EXPECT_EQ(back.Tubes[i].Color, set.Tubes[i].Color) << name;
        }
    }
    EXPECT_TRUE(test::ReadText(dir / "set.GPL").starts_with("GIMP Palette\nName: Mine\n"));
    EXPECT_EQ(test::ReadText(dir / "set.KVL"),
              "Mine\r\n16251642,Titanium White\r\n1981580,Burnt Sienna, warm\r\n7872010,Phthalo "
              "Blue\r\n");
}

TEST(TubeSet, BadFilesNameTheFileAndTheLine) {
    EXPECT_EQ(
        Message("GIMP Palette\n255 255 255\tWhite\n255 0\tRed\n", "a.gpl"),
        "a.gpl line 3: expected \"R G B name\" with R, G and B from 0 to 255, not \"255 0\tRed\"");
    EXPECT_EQ(Message("GIMP Palette\n255 255 256\tWhite\n0 0 0\tBlack\n", "a.gpl"),
              "a.gpl line 2: expected \"R G B name\" with R, G and B from 0 to 255, not \"255 255 "
              "256\tWhite\"");
    EXPECT_EQ(Message("GIMP Palette\n255 255 255\tWhite\n0 0 0\n", "a.gpl"),
              "a.gpl line 3: a tube needs a name");
    EXPECT_EQ(
        Message("GIMP Palette\n# c\n255 255 255\tWhite\n0 0 0\tBlack\n1 1 1\twhite\n", "a.gpl"),
        "a.gpl line 5: the name \"white\" is already used on line 3");
    EXPECT_EQ(Message("GIMP Palette\nName: One\n255 255 255\tWhite\n", "a.gpl"),
              "a.gpl: a tube set needs at least 2 tubes, it has 1");
    EXPECT_EQ(Message("JASC-PAL\n0100\n", "a.gpl"),
              "a.gpl line 1: not a GIMP palette (the first line must be \"GIMP Palette\")");
    EXPECT_EQ(Message("Mine\r\n255,Red\r\nblue,Blue\r\n", "b.kvl"),
              "b.kvl line 3: expected \"colour,name\" with a colour value from 0 to 16777215, not "
              "\"blue,Blue\"");
    EXPECT_EQ(Message("Mine\r\n255,Red\r\n0,\r\n", "b.kvl"), "b.kvl line 3: a tube needs a name");
    test::TTempDir dir;
    EXPECT_THROW(LoadTubeSet(dir / "missing.gpl"), std::runtime_error);
}

} // namespace
} // namespace pigmentaria
