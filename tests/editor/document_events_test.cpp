// What the windows are told: every command of the document and the view, and the events it fires
// in order, as a recording observer hears them.
#include "document_fixture.h"

#include <functional>

namespace pigmentaria::test {
namespace {

using Names = std::vector<std::string>;

class TRecordingObserver final : public IDocumentObserver {
public:
    void DocumentChanged(TDocumentEvent event) override {
        Events.push_back(DocumentEventName(event));
    }
    Names Events;
};

class DocumentEventsTest : public DocumentTest {
protected:
    DocumentEventsTest() {
        Doc.AddObserver(&DocEvents);
        View.AddObserver(&ViewEvents);
    }
    // The document's and the view's events of one command.
    std::pair<Names, Names> During(const std::function<void()>& command) {
        DocEvents.Events.clear();
        ViewEvents.Events.clear();
        command();
        return {DocEvents.Events, ViewEvents.Events};
    }
    Names DocDuring(const std::function<void()>& command) { return During(command).first; }

    TRecordingObserver DocEvents, ViewEvents;
};

const Names Rendered = {"PaintingRendered"};

TEST_F(DocumentEventsTest, SelectionAndColours) {
    EXPECT_EQ(During([&] { View.ClickSelect(2, 2, {}); }),
              (std::pair<Names, Names>{{"CurrentColorChanged", "SelectionChanged"}, {}}));
    // The same colour again: only the selection is told.
    EXPECT_EQ(DocDuring([&] { View.ClickSelect(2, 7, {true, false}); }), Names{"SelectionChanged"});
    EXPECT_EQ(DocDuring([&] { View.SelectRegion(0, 0, 20, 10, false, {}); }),
              Names{"SelectionChanged"});
    // A rubber band without width changes nothing and says nothing.
    EXPECT_EQ(DocDuring([&] { View.SelectRegion(3, 0, 3, 10, false, {}); }), Names{});
    EXPECT_EQ(DocDuring([&] { Doc.SelectAll(); }), Names{"SelectionChanged"});
    EXPECT_EQ(DocDuring([&] { Doc.SelectAllButton({false, true}); }), Names{"SelectionChanged"});
    EXPECT_EQ(DocDuring([&] { Doc.SelectCurrentColor({}); }), Names{"SelectionChanged"});
    EXPECT_EQ(DocDuring([&] { Doc.DeselectAll(); }), Names{"SelectionChanged"});
    EXPECT_EQ(DocDuring([&] { View.Eyedropper(7, 2); }), Names{"PaintColorChanged"});
    EXPECT_EQ(DocDuring([&] { View.Eyedropper(8, 2); }), Names{});
    EXPECT_EQ(DocDuring([&] { AddCustomColor(Green, "Grass"); }), Names{"CustomPaletteChanged"});
}

TEST_F(DocumentEventsTest, EditsTellShapesPaletteAndTheFlagsThatChanged) {
    const Names firstEdit = {"ShapesChanged", "PaletteRebuilt", "ModifiedChanged",
                             "UndoCaptionChanged"};
    Select({A});
    Doc.SetPaintColor(Yellow);
    EXPECT_EQ(During([&] { Doc.PaintSelection(); }), (std::pair{firstEdit, Rendered}));
    // Modified already, and the caption stays "&Undo Paint".
    EXPECT_EQ(DocDuring([&] { Doc.PaintSelection(); }), (Names{"ShapesChanged", "PaletteRebuilt"}));
    EXPECT_EQ(DocDuring([&] { Doc.SmoothSelection(); }),
              (Names{"ShapesChanged", "UndoCaptionChanged"}));
    EXPECT_EQ(DocDuring([&] { Doc.ReacquireSelectedColors(); }),
              (Names{"ShapesChanged", "PaletteRebuilt", "UndoCaptionChanged"}));
    EXPECT_EQ(DocDuring([&] { Doc.ReacquireAllColors(); }),
              (Names{"ShapesChanged", "PaletteRebuilt"}));
    EXPECT_EQ(DocDuring([&] { Doc.ReplaceColor(Green); }),
              (Names{"ShapesChanged", "PaletteRebuilt", "UndoCaptionChanged"}));
    EXPECT_EQ(DocDuring([&] { EXPECT_TRUE(View.Brushstroke(12, 2)); }),
              (Names{"ShapesChanged", "PaletteRebuilt", "UndoCaptionChanged"}));
    EXPECT_EQ(DocDuring([&] { EXPECT_FALSE(View.Brushstroke(99, 99)); }), Names{});
    AddCustomColor(Red, "Red");
    EXPECT_EQ(DocDuring([&] { Doc.ReplacePalette(); }),
              (Names{"ShapesChanged", "PaletteRebuilt", "UndoCaptionChanged"}));
    EXPECT_EQ(DocDuring([&] { Doc.DeleteSelection(); }),
              (Names{"ShapesChanged", "PaletteRebuilt", "UndoCaptionChanged", "SelectionChanged"}));
    EXPECT_EQ(During([&] { Doc.UndoLast(); }),
              (std::pair<Names, Names>{
                  {"ShapesChanged", "PaletteRebuilt", "UndoCaptionChanged", "SelectionChanged"},
                  Rendered}));
    EXPECT_EQ(DocDuring([&] { EXPECT_FALSE(Doc.UndoLast()); }), Names{});
}

TEST_F(DocumentEventsTest, FlagsLabelsAndLayout) {
    EXPECT_EQ(DocDuring([&] { Doc.SetModified(false); }), Names{});
    EXPECT_EQ(DocDuring([&] { Doc.SetModified(true); }), Names{"ModifiedChanged"});
    EXPECT_EQ(DocDuring([&] { Doc.PlaceNumbers(Progress); }), Names{"LabelsChanged"});
    TPrintLayoutBlock layout = Doc.PrintLayout();
    layout.PagesAcross = 2;
    EXPECT_EQ(DocDuring([&] { Doc.SetPrintLayout(layout); }), Names{"PrintLayoutChanged"});
    EXPECT_EQ(DocDuring([&] { Doc.SetPrintLayout(layout); }), Names{});
    EXPECT_EQ(DocDuring([&] { Doc.SetSourcePicture(TRaster24(2, 2)); }),
              Names{"SourcePictureChanged"});
    TTempDir dir;
    // A save that was changed before clears the flag; one that fails says nothing.
    EXPECT_EQ(DocDuring([&] { ASSERT_TRUE(Doc.SavePainting(dir / "p.kvp", "")); }),
              Names{"ModifiedChanged"});
    EXPECT_EQ(DocDuring([&] { EXPECT_FALSE(Doc.SavePainting(dir / "no" / "p.kvp", "")); }),
              Names{});
}

TEST_F(DocumentEventsTest, ViewChanges) {
    EXPECT_EQ(During([&] { View.SetZoom(2.0); }),
              (std::pair<Names, Names>{{}, {"ZoomChanged", "PaintingRendered"}}));
    EXPECT_EQ(During([&] { View.SetZoom(-1); }), (std::pair<Names, Names>{{}, {}}));
    EXPECT_EQ(During([&] { View.SetOutlinesOnly(true); }),
              (std::pair<Names, Names>{{}, {"ViewModeChanged", "PaintingRendered"}}));
    EXPECT_EQ(View.Rendered().Width(), 40);
}

TEST_F(DocumentEventsTest, ANewPaintingIsShownWholeAtFullSize) {
    Doc.PlaceNumbers(Progress);
    View.SetZoom(3.0);
    View.SetOutlinesOnly(true);
    Doc.SetModified(true);
    TShapeList fresh;
    fresh.Append(MakeFrameShape(6, 6));
    TTraceResult traced{std::move(fresh), 1, {{TWorkMessage::TKind::Error, "Hoo a biggie"}}};
    const auto events = During([&] { Doc.AdoptImport(std::move(traced)); });
    EXPECT_EQ(events.first,
              (Names{"LabelsChanged", "PaintingReplaced", "ShapesChanged", "PaletteRebuilt",
                     "ModifiedChanged", "UndoCaptionChanged", "SelectionChanged"}));
    EXPECT_EQ(events.second, (Names{"ViewModeChanged", "ZoomChanged", "PaintingRendered"}));
    EXPECT_EQ(View.Zoom(), 1.0);
    EXPECT_FALSE(View.OutlinesOnly());
    EXPECT_EQ(View.Rendered().Width(), 6);
    // What the tracer said is shown when its painting is adopted.
    EXPECT_EQ(Messages.Errors, Names{"Hoo a biggie"});

    View.SetZoom(0.5);
    const auto retraced = During([&] { ASSERT_TRUE(View.Retrace(Progress)); });
    EXPECT_EQ(retraced.first,
              (Names{"SourcePictureChanged", "PaintingReplaced", "ShapesChanged", "PaletteRebuilt",
                     "ModifiedChanged", "UndoCaptionChanged", "SelectionChanged"}));
    EXPECT_EQ(retraced.second, (Names{"ZoomChanged", "PaintingRendered"}));
}

TEST_F(DocumentEventsTest, OpeningTellsEverythingThatCameWithTheFile) {
    TTempDir dir;
    TPrintLayoutBlock layout;
    layout.PagesDown = 3;
    Doc.SetPrintLayout(layout);
    ASSERT_TRUE(Doc.SavePainting(dir / "p.kvp", ""));
    Doc.SetPrintLayout({});
    Select({A});
    Doc.DeleteSelection();
    const auto events = During([&] { ASSERT_TRUE(App.OpenPainting(Doc, dir / "p.kvp")); });
    EXPECT_EQ(events.first, (Names{"PrintLayoutChanged", "ShapesChanged", "PaletteRebuilt",
                                   "ModifiedChanged", "UndoCaptionChanged", "SelectionChanged"}));
    EXPECT_EQ(events.second, Rendered);
    EXPECT_EQ(DocDuring([&] { EXPECT_FALSE(App.OpenPainting(Doc, dir / "none.kvp")); }), Names{});
}

// An observer that leaves as soon as it hears something, or takes another one with it.
class TLeavingObserver final : public IDocumentObserver {
public:
    TLeavingObserver(TPaintingDocument& doc, IDocumentObserver* other) : Doc(doc), Other(other) {}
    void DocumentChanged(TDocumentEvent) override {
        ++Heard;
        Doc.RemoveObserver(Other ? Other : this);
    }
    TPaintingDocument& Doc;
    IDocumentObserver* Other;
    int Heard = 0;
};

TEST(DocumentObserverTest, ObserversMayLeaveWhileBeingTold) {
    TRecordingMessages messages;
    TPaintingDocument doc(messages);
    TRecordingObserver before, after, taken;
    TLeavingObserver leaving(doc, nullptr);
    TLeavingObserver taking(doc, &taken);
    doc.AddObserver(&before);
    doc.AddObserver(&leaving);
    doc.AddObserver(&after);
    doc.AddObserver(&taking);
    doc.AddObserver(&taken);
    doc.AddObserver(&before); // once only
    doc.SetModified(true);
    EXPECT_EQ(leaving.Heard, 1);
    EXPECT_EQ(taking.Heard, 1);
    EXPECT_EQ(before.Events, Names{"ModifiedChanged"});
    EXPECT_EQ(after.Events, Names{"ModifiedChanged"});
    // Taken out before its turn: not told.
    EXPECT_TRUE(taken.Events.empty());
    doc.SetModified(false);
    EXPECT_EQ(leaving.Heard, 1);
    EXPECT_EQ(taking.Heard, 2);
    EXPECT_EQ(before.Events.size(), 2u);
    EXPECT_TRUE(taken.Events.empty());
    // A view leaves its document when it goes.
    {
        TPaintingView view(doc);
        doc.DeselectAll();
    }
    doc.DeselectAll();
    EXPECT_EQ(before.Events.back(), "SelectionChanged");
}

} // namespace
} // namespace pigmentaria::test
