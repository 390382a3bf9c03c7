#pragma once
// A small painting in a document, for the editor's tests: the frame (20 × 10) and four squares,
// A red, B green, C blue side by side in the top row, D red below A.
#include "editor/app_state.h"
#include "editor/document.h"
#include "editor/painting_view.h"
#include "test_util.h"

#include <gtest/gtest.h>

namespace pigmentaria::test {

constexpr TColor Red = 0x0000FF, Green = 0x00FF00, Blue = 0xFF0000, Yellow = 0x00FFFF;

inline std::vector<TShapePoint> Square(int l, int t, int r, int b) {
    return {{l, t}, {r, t}, {r, b}, {l, b}};
}

inline TShapeList FourSquares() {
    TShapeList list;
    list.Append(MakeFrameShape(20, 10));
    list.Append(MakeShape(Red, Square(1, 1, 4, 4), 0x000080));
    list.Append(MakeShape(Green, Square(6, 1, 9, 4), 0x008000));
    list.Append(MakeShape(Blue, Square(11, 1, 14, 4), 0x800000));
    list.Append(MakeShape(Red, Square(1, 6, 4, 9), 0x000070));
    return list;
}

class TCountingObserver final : public IDocumentObserver {
public:
    void DocumentChanged(TDocumentEvent event) override {
        switch (event) {
        case TDocumentEvent::PaintingRendered:
            ++Renders;
            break;
        case TDocumentEvent::PaletteRebuilt:
            ++Palettes;
            break;
        case TDocumentEvent::SelectionChanged:
            ++Selections;
            break;
        case TDocumentEvent::PaintColorChanged:
            ++PaintColors;
            break;
        default:
            break;
        }
    }
    int Renders = 0, Palettes = 0, Selections = 0, PaintColors = 0;
};

class DocumentTest : public ::testing::Test {
protected:
    DocumentTest() : Doc(Messages), View(Doc) {
        Doc.ReplaceShapes(FourSquares(), 5);
        Doc.AddObserver(&Observer);
        View.AddObserver(&Observer);
        const TPaintShape* s = Doc.Shapes().First();
        Frame = s;
        A = s->Next;
        B = A->Next;
        C = B->Next;
        D = C->Next;
    }

    std::vector<const TPaintShape*> Order() const {
        std::vector<const TPaintShape*> v;
        for (const TPaintShape& s : Doc.Shapes())
            v.push_back(&s);
        return v;
    }
    std::vector<TColor> Colors() const {
        std::vector<TColor> v;
        for (const TPaintShape& s : Doc.Shapes())
            v.push_back(s.Color);
        return v;
    }
    void Select(std::initializer_list<const TPaintShape*> shapes) {
        Doc.DeselectAll();
        // A click at the middle of each square, with Shift to add.
        for (const TPaintShape* s : shapes)
            View.ClickSelect((s->Left + s->Right) / 2, (s->Top + s->Bottom) / 2, {true, false});
    }
    // A colour added to the document's custom palette.
    void AddCustomColor(TColor color, const std::string& name) {
        TNamedPalette palette = Doc.CustomPalette();
        AddPaletteColor(palette, color, name);
        Doc.SetCustomPalette(std::move(palette));
    }

    TRecordingMessages Messages;
    TRecordingProgress Progress;
    TPaintingDocument Doc;
    TPaintingView View;
    TAppState App{TAppFolders{}};
    TCountingObserver Observer;
    const TPaintShape *Frame, *A, *B, *C, *D;
};

} // namespace pigmentaria::test
