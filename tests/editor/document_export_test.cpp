// A painting leaving the document: saved under a metafile name, and exported as a picture through
// the image library.
#include "document_fixture.h"
#include "image/metafile_reader.h"
#include "image/pixel_graphic.h"
#include "model/render.h"
#include "platform/file_io.h"

#include <filesystem>

namespace pigmentaria::test {
namespace {

namespace fs = std::filesystem;

TEST_F(DocumentTest, SavingUnderAMetafileNameWritesTheDrawingInsteadOfAPaintingFile) {
    TTempDir dir;
    Select({A, C}); // a selection does not limit what is saved
    View.SetOutlinesOnly(true);
    Doc.SetModified(true);
    ASSERT_TRUE(App.SavePainting(Doc, dir / "PICTURE.EMF", "Earth tones", View.OutlinesOnly()));
    EXPECT_FALSE(Doc.Modified());
    EXPECT_TRUE(App.RecentFiles().Paths().empty());
    const std::vector<std::uint8_t> emf = ReadFileBytes(dir / "PICTURE.EMF");
    ASSERT_TRUE(DetectEmf(emf));
    EXPECT_EQ(ReadMetafile(emf, true).Raster, RenderPainting(Doc.Shapes(), 1.0, true));

    View.SetOutlinesOnly(false);
    Doc.SetModified(true);
    ASSERT_TRUE(App.SavePainting(Doc, dir / "picture.Wmf", "", View.OutlinesOnly()));
    EXPECT_FALSE(Doc.Modified());
    const std::vector<std::uint8_t> wmf = ReadFileBytes(dir / "picture.Wmf");
    ASSERT_TRUE(DetectWmf(wmf));
    EXPECT_EQ(ReadMetafile(wmf, false).Raster, RenderPainting(Doc.Shapes(), 1.0));
    EXPECT_TRUE(App.RecentFiles().Paths().empty());
    EXPECT_TRUE(Messages.Errors.empty());
}

TEST_F(DocumentTest, AMetafileThatCannotBeWrittenKeepsTheModifiedFlag) {
    TTempDir dir;
    Doc.SetModified(true);
    EXPECT_FALSE(App.SavePainting(Doc, dir / "missing" / "p.emf", ""));
    EXPECT_TRUE(Doc.Modified());
    ASSERT_EQ(Messages.Errors.size(), 1u);
    EXPECT_FALSE(fs::exists(dir / "missing"));
}

TEST_F(DocumentTest, ExportSavesWhatTheViewShowsAtItsZoom) {
    TTempDir dir;
    View.SetZoom(0.5);
    View.SetOutlinesOnly(true);
    ASSERT_TRUE(View.ExportPainting(dir / "half.BMP"));
    TPixelGraphic g;
    g.LoadFromFile((dir / "half.BMP").string());
    EXPECT_EQ(g.Width(), 10);
    EXPECT_EQ(g.Height(), 5);
    EXPECT_EQ(g.ToRaster24(), View.Rendered());
    EXPECT_EQ(g.ToRaster24(), RenderPainting(Doc.Shapes(), 0.5, true));
}

TEST_F(DocumentTest, ExportRefusesMetafileNamesAndWritesNothing) {
    TTempDir dir;
    Doc.SetModified(false);
    const auto before = Order();
    for (const char* name : {"p.wmf", "p.EMF", "p.kvp", "noextension"}) {
        SCOPED_TRACE(name);
        Messages.Errors.clear();
        EXPECT_FALSE(View.ExportPainting(dir / name));
        ASSERT_EQ(Messages.Errors.size(), 1u);
        EXPECT_EQ(Messages.Errors[0].rfind("Unknown file extension \"", 0), 0u);
        EXPECT_FALSE(fs::exists(dir / name));
    }
    EXPECT_EQ(Messages.Errors[0], "Unknown file extension \"\"");
    EXPECT_TRUE(fs::is_empty(dir.Path()));
    EXPECT_FALSE(Doc.Modified());
    EXPECT_EQ(Order(), before);
    // The message is the library's unknown-extension failure itself.
    TPixelGraphic g;
    g.AssignRaster24(View.Rendered());
    EXPECT_THROW(g.SaveToFile((dir / "p.wmf").string()), EPGUnknownExtension);
}

TEST_F(DocumentTest, ARefusedExportLeavesAFormerFileAsItWas) {
    TTempDir dir;
    WriteText(dir / "keep.wmf", "former contents");
    EXPECT_FALSE(View.ExportPainting(dir / "keep.wmf"));
    EXPECT_EQ(ReadText(dir / "keep.wmf"), "former contents");
    TRecordingMessages messages;
    TPaintingDocument empty(messages);
    TPaintingView emptyView(empty);
    EXPECT_FALSE(emptyView.ExportPainting(dir / "empty.bmp"));
    EXPECT_FALSE(fs::exists(dir / "empty.bmp"));
}

} // namespace
} // namespace pigmentaria::test
