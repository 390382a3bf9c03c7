#include "editor/import_entry.h"
#include "editor/tool_cursors.h"
#include "editor/window_title.h"
#include "test_util.h"

#include <gtest/gtest.h>

namespace pigmentaria {
namespace {

TEST(WindowTitleTest, TitleAndSaveQuestionNameTheFile) {
    EXPECT_EQ(TitleForFile(""), "Pigmentaria - (Untitled)");
    EXPECT_EQ(TitleForFile("/home/ann/Paintings/cat.kvp"), "Pigmentaria - cat.kvp");
    EXPECT_TRUE(IsUntitled(TitleForFile("")));
    EXPECT_EQ(SaveChangesQuestion(UntitledTitle), "Save changes to (Untitled)?");
    EXPECT_EQ(SaveChangesQuestion(TitleForFile("/p/cat.kvp")), "Save changes to cat.kvp?");
}

TEST(WindowTitleTest, SaveNamesGetTheChosenTypesExtension) {
    EXPECT_EQ(SaveNameWithExtension("/p/cat", PaintingFilter), "/p/cat.kvp");
    EXPECT_EQ(SaveNameWithExtension("/p/cat", WindowsMetafileFilter), "/p/cat.wmf");
    EXPECT_EQ(SaveNameWithExtension("/p/cat", EnhancedMetafileFilter), "/p/cat.emf");
    EXPECT_EQ(SaveNameWithExtension("/p/cat.EMF", PaintingFilter), "/p/cat.EMF");
    EXPECT_EQ(SaveNameWithExtension("/p.d/cat", "whatever"), "/p.d/cat.kvp");
}

TEST(WindowTitleTest, FilesGivenToTheProgramAreSortedByWhatTheyHold) {
    test::TTempDir dir;
    test::WriteText(dir / "a.kvp", "broken");
    test::WriteText(dir / "painting.bin", std::string("KV1000") + std::string(10, '\0'));
    test::WriteText(dir / "photo.png", "\x89PNG");
    EXPECT_EQ(KindOfFile((dir / "a.kvp").string()), TDroppedFileKind::Painting);
    EXPECT_EQ(KindOfFile((dir / "painting.bin").string()), TDroppedFileKind::Painting);
    EXPECT_EQ(KindOfFile((dir / "photo.png").string()), TDroppedFileKind::Picture);
    EXPECT_EQ(KindOfFile((dir / "none.kvp").string()), TDroppedFileKind::Missing);
    EXPECT_EQ(KindOfFile(dir.Path().string()), TDroppedFileKind::Missing);
}

TEST(ImportEntryTest, PicturesLargerThan5000PixelsAroundAreRefused) {
    TGraphicFileInfo info;
    info.Ok = true;
    info.Info.Width = 3000;
    info.Info.Height = 2000;
    EXPECT_EQ(CheckPictureForImport(info), TImportGate::Accept);
    info.Info.Height = 2001;
    EXPECT_EQ(CheckPictureForImport(info), TImportGate::TooLarge);
    info.Ok = false;
    EXPECT_EQ(CheckPictureForImport(info), TImportGate::InfoFailed);
}

TEST(ToolCursorsTest, FiveNamedCursorsWithHotSpotsOnTheirDrawing) {
    const char* names[] = {"HANDGRAB", "PAINTBOTTLE", "EYEDROPPER", "BRUSH", "CROSSHAIR"};
    for (int n = 1; n <= ToolCursorCount; ++n) {
        EXPECT_EQ(ToolCursorName(n), names[n - 1]);
        const TCursorArt* art = ToolCursorArt(n);
        ASSERT_NE(art, nullptr);
        for (std::size_t j = 0; j < art->Rows.size(); ++j)
            EXPECT_LE(art->OffsetX + static_cast<int>(art->Rows[j].size()), CursorSide) << n;
        // The point that acts lies on or right beside a drawn pixel.
        const auto px = CursorPixels(*art);
        bool near = false;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const int x = art->HotX + dx, y = art->HotY + dy;
                if (x >= 0 && y >= 0 && x < CursorSide && y < CursorSide &&
                    px[static_cast<std::size_t>(y * CursorSide + x)] != TCursorPixel::Clear)
                    near = true;
            }
        EXPECT_TRUE(near) << names[n - 1];
    }
    EXPECT_EQ(ToolCursorArt(0), nullptr);
    EXPECT_EQ(ToolCursorArt(6), nullptr);
    EXPECT_TRUE(ToolCursorName(0).empty());
}

} // namespace
} // namespace pigmentaria
