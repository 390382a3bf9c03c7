#include "app/about_info.h"
#include "document_fixture.h"

namespace pigmentaria::test {
namespace {

TEST_F(DocumentTest, ClickSelectionWithShiftAndCtrl) {
    View.ClickSelect(2, 2, {});
    EXPECT_EQ(Doc.CurrentColor(), Red);
    EXPECT_EQ(Doc.Selection().Shapes(), (std::vector<TPaintShape*>{const_cast<TPaintShape*>(A)}));
    View.ClickSelect(7, 2, {true, false});
    EXPECT_EQ(Doc.Selection().Size(), 2u);
    EXPECT_EQ(Doc.CurrentColor(), Green);
    View.ClickSelect(2, 2, {false, true});
    EXPECT_FALSE(Doc.Selection().IsSelected(A));
    EXPECT_TRUE(Doc.Selection().IsSelected(B));
    // A plain click elsewhere starts over.
    View.ClickSelect(12, 2, {});
    EXPECT_EQ(Doc.Selection().Size(), 1u);
    EXPECT_TRUE(Doc.Selection().IsSelected(C));
    // A click outside the picture clears the selection and keeps the current colour.
    View.ClickSelect(100, 100, {});
    EXPECT_TRUE(Doc.Selection().Empty());
    EXPECT_EQ(Doc.CurrentColor(), Blue);
    EXPECT_EQ(Observer.Selections, 5);
}

TEST_F(DocumentTest, ClickSelectionAtAZoom) {
    View.SetZoom(2.0);
    EXPECT_EQ(View.Rendered().Width(), 40);
    View.ClickSelect(15, 5, {});
    EXPECT_TRUE(Doc.Selection().IsSelected(B));
}

TEST_F(DocumentTest, RegionSelectionNeedsTheWholeBoundsInside) {
    View.SelectRegion(1, 1, 9, 4, false, {});
    EXPECT_EQ(Doc.Selection().Size(), 2u); // A and B
    // One pixel short on the right: B sticks out.
    View.SelectRegion(1, 1, 8, 4, false, {});
    EXPECT_EQ(Doc.Selection().Size(), 1u);
    // Zero width changes nothing.
    View.SelectRegion(5, 0, 5, 10, false, {});
    EXPECT_EQ(Doc.Selection().Size(), 1u);
    // At zoom 2 the rectangle is halved, truncated.
    View.SetZoom(2.0);
    View.SelectRegion(2, 2, 27, 19, false, {});
    EXPECT_EQ(Doc.Selection().Size(), 3u); // A, B and D: 27 / 2 = 13 stops short of C's right edge
    // Ctrl takes shapes out; Shift keeps the others.
    View.SelectRegion(2, 2, 10, 10, false, {false, true});
    EXPECT_EQ(Doc.Selection().Size(), 2u);
    EXPECT_FALSE(Doc.Selection().IsSelected(A));
}

TEST_F(DocumentTest, RegionOfTheCurrentColour) {
    View.ClickSelect(2, 7, {}); // D: red
    Doc.DeselectAll();
    View.SelectRegion(0, 0, 20, 10, true, {});
    EXPECT_EQ(Doc.Selection().Shapes(), (std::vector<TPaintShape*>{const_cast<TPaintShape*>(A),
                                                                   const_cast<TPaintShape*>(D)}));
}

TEST_F(DocumentTest, SelectAllAndSelectCurrentColour) {
    Doc.SelectAllButton({});
    EXPECT_EQ(Doc.Selection().Size(), 5u);
    Doc.SelectAllButton({false, true});
    EXPECT_TRUE(Doc.Selection().Empty());
    View.ClickSelect(12, 2, {});
    Doc.SelectAll();
    EXPECT_EQ(Doc.Selection().Shapes().front(), Frame);
    View.ClickSelect(2, 2, {}); // current colour red
    Doc.SelectCurrentColor({});
    EXPECT_EQ(Doc.Selection().Size(), 2u);
    View.ClickSelect(12, 2, {true, false});
    Doc.SelectCurrentColor({false, true}); // current colour is now blue: C goes
    EXPECT_EQ(Doc.Selection().Size(), 2u);
    EXPECT_FALSE(Doc.Selection().IsSelected(C));
}

TEST_F(DocumentTest, EyedropperAndPaintLabel) {
    View.Eyedropper(7, 2);
    EXPECT_EQ(Doc.PaintColor(), Green);
    EXPECT_EQ(Observer.PaintColors, 1);
    EXPECT_EQ(Doc.PaintLabel(), "RGB:(0, 255, 0)  HSV:(120, 1, 255)");
    AddCustomColor(Green, "Grass");
    EXPECT_EQ(Doc.PaintLabel(), "Grass");
}

TEST_F(DocumentTest, EveryEditRendersAndRebuildsThePalette) {
    Select({B});
    const int renders = Observer.Renders, palettes = Observer.Palettes;
    Doc.SetPaintColor(Red);
    Doc.PaintSelection();
    EXPECT_EQ(Observer.Renders, renders + 1);
    EXPECT_EQ(Observer.Palettes, palettes + 1);
    EXPECT_EQ(PaletteCount(Doc.PaintingPalette()), 3); // black, red, blue
    EXPECT_EQ(View.Rendered().GetPixel(7, 2), Red);
    View.SetOutlinesOnly(true);
    EXPECT_EQ(View.Rendered().GetPixel(7, 2), clWhite);
    EXPECT_EQ(Observer.Renders, renders + 2);
}

TEST_F(DocumentTest, SaveAndOpenThroughTheDocument) {
    TTempDir dir;
    TPrintLayoutBlock layout = Doc.PrintLayout();
    layout.PagesAcross = 3;
    layout.FrameWidth = 50;
    Doc.SetPrintLayout(layout);
    Doc.SetModified(true);
    ASSERT_TRUE(App.SavePainting(Doc, dir / "one.kvp", "Earth tones"));
    EXPECT_FALSE(Doc.Modified());
    TRecordingMessages messages;
    TPaintingDocument other(messages);
    TPaintingView otherView(other);
    TAppState otherApp{TAppFolders{}};
    const auto opened = otherApp.OpenPainting(other, dir / "one.kvp");
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->PaletteName, "Earth tones");
    EXPECT_EQ(opened->Layout.PagesAcross, 3);
    EXPECT_EQ(other.Shapes().Count(), 5u);
    EXPECT_EQ(otherView.Rendered(), View.Rendered());
    EXPECT_EQ(PaletteCount(other.PaintingPalette()), 4);
    EXPECT_EQ(otherApp.RecentFiles().Paths(), std::vector<std::string>{(dir / "one.kvp").string()});
    // The tracer's count is not a property of the file.
    EXPECT_EQ(other.TracerShapeCount(), 0);
}

TEST_F(DocumentTest, AFailedOpenLeavesThePaintingAsItWas) {
    TTempDir dir;
    ASSERT_TRUE(App.SavePainting(Doc, dir / "p.kvp", ""));
    std::vector<std::uint8_t> bytes = ReadFileBytes(dir / "p.kvp");
    bytes.resize(bytes.size() - 3);
    ReplaceFileContents(dir / "cut.kvp", bytes);
    WriteText(dir / "text.kvp", "hello, this is not a painting");
    Select({A});
    Doc.SetPaintColor(Yellow);
    Doc.PaintSelection();
    const auto before = Order();
    EXPECT_FALSE(App.OpenPainting(Doc, dir / "cut.kvp"));
    EXPECT_FALSE(App.OpenPainting(Doc, dir / "text.kvp"));
    EXPECT_FALSE(App.OpenPainting(Doc, dir / "missing.kvp"));
    ASSERT_EQ(Messages.Errors.size(), 3u);
    EXPECT_EQ(Messages.Errors[1], "File is not an Pigmentaria Painting");
    EXPECT_EQ(Order(), before);
    EXPECT_EQ(Doc.UndoCaption(), "&Undo Paint");
    EXPECT_TRUE(Doc.Modified());
    EXPECT_EQ(App.RecentFiles().Count(), 1);
}

TEST_F(DocumentTest, NumbersArePlacedForTheDocument) {
    Doc.PlaceNumbers(Progress);
    ASSERT_FALSE(Doc.NumberLabels().empty());
    EXPECT_EQ(Doc.NumberLabels().front().Text, "1");
    EXPECT_EQ(Progress.Messages, std::vector<std::string>{"Placing Numbers..."});
}

TEST_F(DocumentTest, AboutBoxCounts) {
    const std::string text = AboutBoxComments(Doc);
    EXPECT_EQ(text.rfind("Shape Count: 5.  Point Count: 20.  Memory blocks allocated: ", 0), 0u)
        << text;
    EXPECT_NE(text.find(".  Total size: "), std::string::npos);
    // Opening a file keeps the tracer's count; the point count follows the shapes.
    TTempDir dir;
    TShapeList small;
    small.Append(MakeFrameShape(4, 4));
    TRecordingMessages m;
    TPaintingDocument other(m);
    other.ReplaceShapes(std::move(small), 1);
    ASSERT_TRUE(other.SavePainting(dir / "s.kvp", ""));
    ASSERT_TRUE(Doc.OpenPainting(dir / "s.kvp"));
    EXPECT_EQ(AboutBoxComments(Doc).rfind("Shape Count: 5.  Point Count: 4.  ", 0), 0u);
}

} // namespace
} // namespace pigmentaria::test
