#include "platform/file_io.h"
#include "platform/settings.h"
#include "test_util.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>

namespace pigmentaria {
namespace {

using test::TRecordingMessages;
using test::TTempDir;

std::int32_t I32At(const std::vector<std::uint8_t>& b, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= std::uint32_t(b[at + i]) << (8 * i);
    return static_cast<std::int32_t>(v);
}

std::string StrAt(const std::vector<std::uint8_t>& b, std::size_t at) {
    return std::string(reinterpret_cast<const char*>(b.data() + at));
}

TEST(SettingsTest, BlockOffsets) {
    TSettingsBlock s;
    s.MainWindow = {1, 2, 3, 4};
    s.PaletteWindow = {5, 6, 7, 8};
    s.ImportDialog = {9, 10, 11, -12};
    s.PictureFolder = "/pictures";
    s.PaintingFolder = "/paintings";
    s.PalettePath = "/p/Palettes/earth.KVL";
    s.RecentFiles.Assign({"/r/one.kvp", "/r/two.kvp"});
    s.AdvancedOptions = true;
    const auto b = EncodeSettings(s);
    ASSERT_EQ(b.size(), 2360u);
    EXPECT_EQ(I32At(b, 0), 1);
    EXPECT_EQ(I32At(b, 12), 4);
    EXPECT_EQ(I32At(b, 16), 5);
    EXPECT_EQ(I32At(b, 32), 9);
    EXPECT_EQ(I32At(b, 44), -12);
    EXPECT_EQ(StrAt(b, 48), "/pictures");
    EXPECT_EQ(StrAt(b, 304), "/paintings");
    EXPECT_EQ(StrAt(b, 560), "/p/Palettes/earth.KVL");
    EXPECT_EQ(I32At(b, 1328), 2);
    EXPECT_EQ(StrAt(b, 1332), "/r/one.kvp");
    EXPECT_EQ(StrAt(b, 1332 + 256), "/r/two.kvp");
    EXPECT_EQ(b[1332 + 512], 0);
    EXPECT_EQ(b[2356], 1);
    const TSettingsBlock back = DecodeSettings(b.data(), b.size());
    EXPECT_EQ(back.ImportDialog, s.ImportDialog);
    EXPECT_EQ(back.PalettePath, s.PalettePath);
    EXPECT_EQ(back.RecentFiles.Paths(), s.RecentFiles.Paths());
    EXPECT_TRUE(back.AdvancedOptions);
}

TEST(SettingsTest, ReservedBytesSurviveAndCountsAreClamped) {
    std::vector<std::uint8_t> b(2360, 0);
    b[816] = 0xAB;
    b[1327] = 0xCD;
    b[1328] = 9; // more recent files than there are
    std::memcpy(b.data() + 1332, "/a", 3);
    std::memcpy(b.data() + 1332 + 768, "/d", 3);
    // A path field with no terminator is not trusted.
    std::memset(b.data() + 1332 + 256, 'x', 256);
    const TSettingsBlock s = DecodeSettings(b.data(), b.size());
    EXPECT_EQ(s.RecentFiles.Paths(), (std::vector<std::string>{"/a", "/d"}));
    const auto again = EncodeSettings(s);
    EXPECT_EQ(again[816], 0xAB);
    EXPECT_EQ(again[1327], 0xCD);
}

TEST(SettingsTest, PathsTooLongForTheirFieldAreStoredEmpty) {
    TSettingsBlock s;
    s.PictureFolder = std::string(256, 'p');
    s.PaintingFolder = std::string(255, 'q');
    s.RecentFiles.Assign({"/short", std::string(300, 'r'), "/other"});
    const auto b = EncodeSettings(s);
    EXPECT_EQ(StrAt(b, 48), "");
    EXPECT_EQ(StrAt(b, 304).size(), 255u);
    EXPECT_EQ(I32At(b, 1328), 2);
    EXPECT_EQ(StrAt(b, 1332 + 256), "/other");
}

TEST(RecentFilesTest, RulesOfTheList) {
    TRecentFiles r;
    r.Add("/a");
    r.Add("/b");
    r.Add("/a"); // already there: nothing changes, no reordering
    EXPECT_EQ(r.Paths(), (std::vector<std::string>{"/b", "/a"}));
    r.Add("/A"); // case matters
    r.Add("/c");
    r.Add("/d");
    EXPECT_EQ(r.Count(), 4);
    EXPECT_EQ(r.Paths(), (std::vector<std::string>{"/d", "/c", "/A", "/b"}));
    EXPECT_EQ(r.Caption(1), "&1 /d");
    EXPECT_EQ(r.Caption(4), "&4 /b");
    EXPECT_EQ(r.Caption(5), "");
}

TEST(SettingsTest, ShortOrMissingFilesFallBackToDefaults) {
    TTempDir dir;
    TRecordingMessages messages;
    const TSettingsBlock defaults;
    TSettingsBlock s = LoadSettings(dir / "kv.ini", messages);
    EXPECT_TRUE(messages.Warnings.empty());
    EXPECT_EQ(s.MainWindow, defaults.MainWindow);
    test::WriteText(dir / "kv.ini", std::string(100, '\1'));
    s = LoadSettings(dir / "kv.ini", messages);
    EXPECT_EQ(messages.Warnings,
              std::vector<std::string>{
                  "The settings file could not be read; default settings are used."});
    EXPECT_EQ(s.MainWindow, defaults.MainWindow);
    // Saving writes the whole block, and it loads back.
    s.RecentFiles.Add("/x.kvp");
    SaveSettings(s, dir / "sub" / "kv.ini");
    EXPECT_EQ(std::filesystem::file_size(dir / "sub" / "kv.ini"), 2360u);
    EXPECT_EQ(LoadSettings(dir / "sub" / "kv.ini", messages).RecentFiles.Count(), 1);
}

TEST(SettingsTest, FoldersBesideTheProgramOrInTheUsersFolders) {
    std::map<std::string, std::string> env{{"HOME", "/home/u"}};
    bool writable = true;
    TAppFolders f;
    f.ProgramFolder = "/opt/pigmentaria/bin";
    f.GetEnv = [&](const char* name) -> const char* {
        auto it = env.find(name);
        return it == env.end() ? nullptr : it->second.c_str();
    };
    f.IsWritable = [&](const std::filesystem::path&) { return writable; };
    EXPECT_EQ(f.SettingsFile(), "/opt/pigmentaria/bin/kv.ini");
    EXPECT_EQ(f.PaletteFolder(), "/opt/pigmentaria/bin/Palettes");
    writable = false;
    EXPECT_EQ(f.SettingsFile(), "/home/u/.config/pigmentaria/kv.ini");
    EXPECT_EQ(f.PaletteFolder(), "/home/u/.local/share/pigmentaria/Palettes");
    env["XDG_CONFIG_HOME"] = "/cfg";
    env["XDG_DATA_HOME"] = "relative/ignored";
    EXPECT_EQ(f.SettingsFile(), "/cfg/pigmentaria/kv.ini");
    EXPECT_EQ(f.PaletteFolder(), "/home/u/.local/share/pigmentaria/Palettes");
}

} // namespace
} // namespace pigmentaria
