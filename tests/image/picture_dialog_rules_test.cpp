#include "image/clipboard_picture.h"
#include "image/metafile_reader.h"
#include "image/picture_dialog_rules.h"
#include "metafile_fixtures.h"
#include "test_util.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace pigmentaria {
namespace {

using namespace metafile;
using test::Hi;
using test::Lo;
using test::TWmfBuilder;

const std::string Samples = PIGMENTARIA_SAMPLES;

TEST(PictureDialogRulesTest, FileTypesComeFromTheRegistrysFilters) {
    const std::vector<TFileTypeEntry> open = PictureFileTypes(TPictureDialogKind::Open);
    ASSERT_GE(open.size(), 3u);
    EXPECT_EQ(open.front().Description, "Image files");
    EXPECT_EQ(open.back().Description, "All files");
    EXPECT_EQ(open.back().Patterns, std::vector<std::string>{"*.*"});
    // The group holds every listed format's extension, each listed on its own after it.
    EXPECT_EQ(static_cast<int>(open.front().Patterns.size()), ListedFormatCount(open));
    EXPECT_EQ(static_cast<int>(open.size()), ListedFormatCount(open) + 2);
    EXPECT_EQ(ExtensionOfFileType(open, 0), "");
    EXPECT_EQ(ExtensionOfFileType(open, static_cast<int>(open.size()) - 1), "");
    for (int i = 1; i + 1 < static_cast<int>(open.size()); ++i)
        EXPECT_EQ("*." + ExtensionOfFileType(open, i), open.front().Patterns[i - 1]);
    EXPECT_EQ(FileTypeNameFilter({"BMP - Bitmap", {"*.bmp", "*.dib"}}),
              "BMP - Bitmap (*.bmp *.dib)");

    const std::vector<TFileTypeEntry> save = PictureFileTypes(TPictureDialogKind::Save);
    EXPECT_EQ(static_cast<int>(save.size()), ListedFormatCount(save));
    bool png = false, pcx = false;
    for (int i = 0; i < static_cast<int>(save.size()); ++i) {
        png = png || ExtensionOfFileType(save, i) == "png";
        pcx = pcx || ExtensionOfFileType(save, i) == "pcx";
    }
    EXPECT_TRUE(png);
    EXPECT_FALSE(pcx); // read only
    EXPECT_EQ(ExtensionOfFileType(save, -1), "");
    EXPECT_EQ(ExtensionOfFileType(save, 999), "");
}

TEST(PictureDialogRulesTest, AFilterStringWithGapsIsReadAsFarAsItMakesSense) {
    EXPECT_EQ(ParseFileTypeFilter("A|*.a; *.b||*.c|B|*.d|"),
              (std::vector<TFileTypeEntry>{{"A", {"*.a", "*.b"}}, {"B", {"*.d"}}}));
    EXPECT_TRUE(ParseFileTypeFilter("").empty());
    EXPECT_TRUE(ParseFileTypeFilter("lonely").empty());
}

TEST(PictureDialogRulesTest, ATypeChangeRewritesTheExtension) {
    EXPECT_EQ(FileNameForTypeChange("photo.jpg", "png", "/pics", false), "photo.png");
    EXPECT_EQ(FileNameForTypeChange("photo", "bmp", "/pics", false), "photo.bmp");
    EXPECT_EQ(FileNameForTypeChange("my.photo.JPG", "tif", "/pics", false), "my.photo.tif");
    // A name in the current folder loses its folder; one elsewhere keeps it.
    test::TTempDir dir;
    const std::string folder = dir.Path().string();
    EXPECT_EQ(FileNameForTypeChange(folder + "/cat.bmp", "png", folder, false), "cat.png");
    EXPECT_EQ(FileNameForTypeChange("/elsewhere/cat.bmp", "png", folder, false),
              "/elsewhere/cat.png");
    EXPECT_EQ(FileNameForTypeChange("subfolder", "png", folder, true), "subfolder");
    EXPECT_EQ(FileNameForTypeChange("photo.jpg", "", folder, false), "photo.jpg");
    EXPECT_EQ(FileNameForTypeChange("", "png", folder, false), "");

    EXPECT_EQ(FileNameWithTypeExtension("photo", "png"), "photo.png");
    EXPECT_EQ(FileNameWithTypeExtension("photo.", "png"), "photo.png");
    EXPECT_EQ(FileNameWithTypeExtension("photo.bmp", "png"), "photo.bmp");
}

TEST(PictureDialogRulesTest, TheInformationBoxAndThePreviewWindowTexts) {
    const TGraphicFileInfo jpeg = GetGraphicFileInfo(Samples + "/rocket.jpg");
    ASSERT_TRUE(jpeg.Ok);
    const std::vector<std::string> lines = InfoBoxLines(jpeg);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], jpeg.FormatDescription);
    EXPECT_EQ(lines[1], "640 x 427, 16.7M colors, 24 bit");
    EXPECT_EQ(lines[2], jpeg.Info.Subformat);
    EXPECT_EQ(OpenPreviewTexts(jpeg),
              (TOpenPreviewTexts{true, "640 x 427", jpeg.FormatDescription}));

    TGraphicFileInfo several = jpeg;
    several.Info.ImageCount = 3;
    several.Info.Subformat.clear();
    several.Info.Comment = "scanned";
    EXPECT_EQ(InfoBoxLines(several), (std::vector<std::string>{jpeg.FormatDescription,
                                                               "3 images, 640 x 427, 16.7M "
                                                               "colors, 24 bit",
                                                               "scanned"}));
    const TGraphicFileInfo none = GetGraphicFileInfo(Samples + "/LICENSES.md");
    EXPECT_FALSE(none.Ok);
    EXPECT_TRUE(InfoBoxLines(none).empty());
    EXPECT_EQ(OpenPreviewTexts(none), TOpenPreviewTexts{});
}

TEST(PictureDialogRulesTest, ShareAwareIsAlwaysKept) {
    test::TRecordingMessages messages;
    EXPECT_EQ(EnforceShareAware(DefaultPGDialogOptions, messages), DefaultPGDialogOptions);
    EXPECT_TRUE(messages.Warnings.empty());
    const unsigned set = EnforceShareAware(ofOverwritePrompt | ofHideReadOnly, messages);
    EXPECT_EQ(set, ofOverwritePrompt | ofHideReadOnly | ofShareAware);
    EXPECT_EQ(messages.Warnings, std::vector<std::string>{ShareAwareMessage});
}

TEST(PictureDialogRulesTest, PreviewsFitTheBoxAndUnreadableFilesGiveNone) {
    const auto photo = LoadPicturePreview(Samples + "/coffee.png", PictureDialogPreviewBox);
    ASSERT_TRUE(photo);
    EXPECT_EQ(photo->Width(), 138); // 600 x 400 shrunk to the box's width
    EXPECT_EQ(photo->Height(), 92);
    EXPECT_FALSE(LoadPicturePreview(Samples + "/LICENSES.md", PictureDialogPreviewBox));
    EXPECT_FALSE(LoadPicturePreview(Samples + "/missing.png", PictureDialogPreviewBox));
    std::atomic<bool> abandon{true};
    EXPECT_FALSE(LoadPicturePreview(Samples + "/coffee.png", PictureDialogPreviewBox, &abandon));

    // A metafile is played at preview size, not drawn large and shrunk.
    test::TTempDir dir;
    const std::vector<std::uint8_t> wmf =
        TWmfBuilder()
            .Record(META_CREATEBRUSHINDIRECT, {0, Lo(clRed), Hi(clRed), 0})
            .Record(META_SELECTOBJECT, {0})
            .Record(META_RECTANGLE, {1000, 2000, 0, 0})
            .Finish(true, 2000, 1000);
    const auto file = dir.Path() / "drawing.wmf";
    test::WriteText(file, std::string(wmf.begin(), wmf.end()));
    const auto drawing = LoadPicturePreview(file.string(), {500, 500});
    ASSERT_TRUE(drawing);
    EXPECT_LE(drawing->Width(), 130);
    EXPECT_LE(drawing->Height(), 130);
}

// ---- Clipboard

TEST(ClipboardPictureTest, ABitmapComesFirstThenMetafilesThenDrawings) {
    using K = TClipboardPictureKind;
    EXPECT_EQ(ChooseClipboardPicture({}).Kind, K::None);
    EXPECT_EQ(ChooseClipboardPicture({"text/plain", "text/html"}).Kind, K::None);
    EXPECT_FALSE(ClipboardOffersPicture({"text/uri-list"}));
    // What a drawing program offers: every kind; the raster wins, the lossless one first.
    const std::vector<std::string> draw = {"image/svg+xml", "image/x-emf", "image/x-wmf",
                                           "image/jpeg",    "image/png",   "text/plain"};
    EXPECT_EQ(ChooseClipboardPicture(draw), (TClipboardChoice{K::Bitmap, "image/png"}));
    EXPECT_EQ(ChooseClipboardPicture({"image/svg+xml", "image/x-emf", "image/x-wmf"}),
              (TClipboardChoice{K::EnhancedMetafile, "image/x-emf"}));
    EXPECT_EQ(ChooseClipboardPicture({"image/svg+xml", "IMAGE/X-WMF"}),
              (TClipboardChoice{K::WindowsMetafile, "IMAGE/X-WMF"}));
    EXPECT_EQ(ChooseClipboardPicture(
                  {"application/x-qt-windows-mime;value=\"Enhanced Metafile\"", "text/plain"})
                  .Kind,
              K::EnhancedMetafile);
    EXPECT_EQ(ChooseClipboardPicture({"application/x-qt-image", "image/svg+xml"}),
              (TClipboardChoice{K::Drawing, "image/svg+xml"}));
    EXPECT_EQ(ChooseClipboardPicture({"application/x-qt-image"}).Kind, K::Bitmap);
    EXPECT_EQ(ChooseClipboardPicture({"image/webp"}), (TClipboardChoice{K::Bitmap, "image/webp"}));
    EXPECT_TRUE(ClipboardOffersPicture({"image/svg+xml"}));
}

TEST(ClipboardPictureTest, MetafileBytesBecomeAPictureOfTheirSize) {
    const std::vector<std::uint8_t> wmf =
        TWmfBuilder()
            .Record(META_CREATEBRUSHINDIRECT, {0, Lo(clRed), Hi(clRed), 0})
            .Record(META_SELECTOBJECT, {0})
            .Record(META_RECTANGLE, {10, 10, 0, 0})
            .Finish(true, 40, 30);
    // Called an enhanced metafile by its sender: the bytes say otherwise.
    const TPixelGraphic p = PictureFromMetafile(wmf, true);
    EXPECT_EQ(p.Width(), 40);
    EXPECT_EQ(p.Height(), 30);
    EXPECT_EQ(p.ColorType(), ct24Bit);
    EXPECT_EQ(p.GetPixelColor(5, 5), clRed);
    EXPECT_EQ(p.GetPixelColor(30, 20), PGMetafileSettings().BackgroundColor);
    const std::vector<std::uint8_t> junk(64, 0x5A);
    EXPECT_THROW(PictureFromMetafile(junk, false), EPixelGraphic);
    EXPECT_THROW(PictureFromMetafile({}, true), EPixelGraphic);
}

} // namespace
} // namespace pigmentaria
