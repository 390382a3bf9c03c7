// The application's state: its settings file where the folders say, and the recent files that
// follow opening and saving paintings.
#include "editor/app_state.h"
#include "editor/painting_view.h"
#include "test_util.h"

#include <gtest/gtest.h>

namespace pigmentaria {
namespace {

using test::TRecordingMessages;
using test::TTempDir;

TAppFolders FoldersIn(const std::filesystem::path& folder) {
    TAppFolders f;
    f.ProgramFolder = folder;
    f.IsWritable = [](const std::filesystem::path&) { return true; };
    return f;
}

TShapeList SmallPainting() {
    TShapeList list;
    list.Append(MakeFrameShape(8, 6));
    list.Append(MakeShape(0x0000FF, {{1, 1}, {4, 1}, {4, 4}}));
    return list;
}

TEST(AppStateTest, SettingsLiveWhereTheFoldersSay) {
    TTempDir dir;
    TRecordingMessages messages;
    TAppState app(FoldersIn(dir.Path()));
    EXPECT_EQ(app.SettingsFile(), dir / "kv.ini");
    EXPECT_EQ(app.PaletteFolder(), dir / "Palettes");
    app.LoadSettings(messages); // no file yet: the defaults, silently
    EXPECT_TRUE(messages.Warnings.empty());
    EXPECT_EQ(app.Settings().MainWindow.Left, 212);
    app.Settings().AdvancedOptions = true;
    app.Settings().PictureFolder = "/pictures";
    app.SaveSettings();
    TAppState again(FoldersIn(dir.Path()));
    again.LoadSettings(messages);
    EXPECT_TRUE(again.Settings().AdvancedOptions);
    EXPECT_EQ(again.Settings().PictureFolder, "/pictures");
    test::WriteText(dir / "kv.ini", "short");
    again.LoadSettings(messages);
    EXPECT_EQ(messages.Warnings, std::vector<std::string>{SettingsUnreadableMessage});
    EXPECT_FALSE(again.Settings().AdvancedOptions);
}

TEST(AppStateTest, PaintingsOpenedAndSavedBecomeRecentFiles) {
    TTempDir dir;
    TRecordingMessages messages;
    TPaintingDocument doc(messages);
    TAppState app(FoldersIn(dir.Path()));
    doc.ReplaceShapes(SmallPainting(), 2);
    ASSERT_TRUE(app.SavePainting(doc, dir / "one.kvp", ""));
    ASSERT_TRUE(app.SavePainting(doc, dir / "two.kvp", ""));
    // A metafile is no painting to open again; a failed save adds nothing either.
    ASSERT_TRUE(app.SavePainting(doc, dir / "picture.wmf", "", true));
    EXPECT_FALSE(app.SavePainting(doc, dir / "no" / "three.kvp", ""));
    const std::vector<std::string> saved = {(dir / "two.kvp").string(), (dir / "one.kvp").string()};
    EXPECT_EQ(app.RecentFiles().Paths(), saved);
    // Opening one already listed keeps the order; a failed open adds nothing.
    ASSERT_TRUE(app.OpenPainting(doc, dir / "one.kvp"));
    EXPECT_FALSE(app.OpenPainting(doc, dir / "picture.wmf"));
    EXPECT_EQ(app.RecentFiles().Paths(), saved);
    // The document itself keeps no list: opening it directly changes nothing here.
    TPaintingDocument other(messages);
    ASSERT_TRUE(other.OpenPainting(dir / "two.kvp"));
    EXPECT_EQ(app.RecentFiles().Paths(), saved);
    // Four at most, the newest first.
    for (const char* name : {"a.kvp", "b.kvp", "c.kvp"})
        ASSERT_TRUE(app.SavePainting(doc, dir / name, ""));
    EXPECT_EQ(app.RecentFiles().Count(), 4);
    EXPECT_EQ(app.RecentFiles().Paths().front(), (dir / "c.kvp").string());
    EXPECT_EQ(app.RecentFiles().Paths().back(), (dir / "two.kvp").string());
}

} // namespace
} // namespace pigmentaria
