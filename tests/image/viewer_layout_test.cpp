#include "image/cursor_art.h"
#include "image/viewer_layout.h"

#include <gtest/gtest.h>

#include <set>

namespace pigmentaria {
namespace {

TEST(ViewerLayoutTest, DisplaySizeFollowsZoomAndStretch) {
    const TViewSize pic{400, 300};
    // The zoom truncates, and an empty picture shows nothing.
    EXPECT_EQ(DisplaySize(pic, 0.25, sNeverKAR, {100, 100}), (TViewSize{100, 75}));
    EXPECT_EQ(DisplaySize({10, 10}, 0.25, sNeverKAR, {100, 100}), (TViewSize{2, 2}));
    EXPECT_EQ(DisplaySize({}, 2.0, sAlways, {100, 100}), (TViewSize{}));
    EXPECT_EQ(DisplaySize({3, 3}, 0.01, sNever, {100, 100}), (TViewSize{1, 1}));
    // Shrinking touches only a picture larger than the client; keeping the aspect ratio fits
    // the longer side.
    EXPECT_EQ(DisplaySize(pic, 1.0, sShrinkKAR, {800, 600}), pic);
    EXPECT_EQ(DisplaySize(pic, 1.0, sShrinkKAR, {200, 200}), (TViewSize{200, 150}));
    EXPECT_EQ(DisplaySize(pic, 1.0, sShrink, {200, 200}), (TViewSize{200, 200}));
    // Enlarging touches only a smaller one.
    EXPECT_EQ(DisplaySize(pic, 1.0, sEnlargeKAR, {200, 200}), pic);
    EXPECT_EQ(DisplaySize(pic, 1.0, sEnlargeKAR, {800, 900}), (TViewSize{800, 600}));
    EXPECT_EQ(DisplaySize(pic, 1.0, sAlways, {123, 45}), (TViewSize{123, 45}));
    // The zoom modes show the picture at the zoom whatever the client.
    EXPECT_EQ(DisplaySize(pic, 1.5, sZoomKAR, {10, 10}), (TViewSize{600, 450}));
}

TEST(ViewerLayoutTest, OffsetCentresSmallPicturesAndScrollsLargeOnes) {
    EXPECT_EQ(ScrollRange(500, 200), 300);
    EXPECT_EQ(ScrollRange(100, 200), 0);
    // Smaller than the viewport: centred only when asked.
    EXPECT_EQ(PictureOffset({100, 50}, {300, 150}, {0, 0}, true), (TViewPoint{100, 50}));
    EXPECT_EQ(PictureOffset({100, 50}, {300, 150}, {0, 0}, false), (TViewPoint{0, 0}));
    // Larger: moved by the scroll position, held to the range.
    EXPECT_EQ(PictureOffset({500, 500}, {200, 200}, {40, 900}, true), (TViewPoint{-40, -300}));
    // One axis of each kind.
    EXPECT_EQ(PictureOffset({500, 100}, {200, 200}, {10, 10}, true), (TViewPoint{-10, 50}));
}

TEST(ViewerLayoutTest, ZoomAboutPointerKeepsThePointUnderIt) {
    const TViewSize viewport{400, 300};
    // At 1x the pointer at (100, 100) with scroll (200, 50) is over picture point (300, 150).
    const TViewPoint s =
        ScrollForZoomAbout({100, 100}, {200, 50}, {1000, 800}, {2000, 1600}, viewport, false);
    // At 2x that point is at (600, 300); it stays under the pointer.
    EXPECT_EQ(s, (TViewPoint{500, 200}));
    const TViewPoint back =
        ScrollForZoomAbout({100, 100}, s, {2000, 1600}, {1000, 800}, viewport, false);
    EXPECT_EQ(back, (TViewPoint{200, 50}));
    // Where the new box is smaller than the viewport there is nothing to scroll.
    EXPECT_EQ(ScrollForZoomAbout({100, 100}, {200, 50}, {1000, 800}, {300, 200}, viewport, true),
              (TViewPoint{0, 0}));
    EXPECT_DOUBLE_EQ(WheelZoom(1.0, 1, 0.1, 4), 1.25);
    EXPECT_DOUBLE_EQ(WheelZoom(1.0, -1, 0.1, 4), 0.8);
    EXPECT_DOUBLE_EQ(WheelZoom(3.9, 3, 0.1, 4), 4.0);
}

TEST(ViewerLayoutTest, AutoScrollStepsFivePixelsTowardAPointerOutside) {
    EXPECT_EQ(AutoScrollDelta({50, 50}, {100, 100}), (TViewPoint{0, 0}));
    EXPECT_EQ(AutoScrollDelta({-3, 50}, {100, 100}), (TViewPoint{-5, 0}));
    EXPECT_EQ(AutoScrollDelta({100, 150}, {100, 100}), (TViewPoint{5, 5}));
    EXPECT_EQ(AutoScrollDelta({99, -1}, {100, 100}), (TViewPoint{0, -5}));
}

TEST(ViewerLayoutTest, PictureAndBoxCoordinates) {
    EXPECT_EQ(BoxToPicture({50, 30}, {200, 100}, {100, 50}), (TViewPoint{25, 15}));
    EXPECT_EQ(BoxToPicture({-1, 0}, {200, 100}, {100, 50}), (TViewPoint{-1, 0}));
    EXPECT_EQ(PictureToBox({10, 10, 20, 30}, {200, 100}, {100, 50}), (TViewRect{20, 20, 40, 60}));
}

TEST(ViewerLayoutTest, DraggedSelectionIsClampedAndAClickClearsIt) {
    // Both ends of the drag lie inside, in either direction.
    EXPECT_EQ(DragRectangle({10, 20}, {4, 30}), (TViewRect{4, 20, 11, 31}));
    EXPECT_EQ(DragRectangle({7, 7}, {7, 7}).Width(), 1);
    // One pixel wide or high: no selection.
    EXPECT_FALSE(ClampSelection({5, 5, 6, 50}, {100, 100}));
    EXPECT_FALSE(ClampSelection({5, 5, 50, 6}, {100, 100}));
    // Beyond the picture: clamped to it.
    EXPECT_EQ(ClampSelection({-10, 20, 130, 140}, {100, 80}), (TViewRect{0, 20, 100, 80}));
    // Wholly outside: nothing left.
    EXPECT_FALSE(ClampSelection({120, 0, 140, 40}, {100, 80}));
}

TEST(ViewerLayoutTest, MovedSelectionStaysOnThePicture) {
    const TViewRect r{10, 10, 30, 20};
    EXPECT_EQ(MoveSelection(r, 5, -3, {100, 100}), (TViewRect{15, 7, 35, 17}));
    EXPECT_EQ(MoveSelection(r, -50, 200, {100, 100}), (TViewRect{0, 90, 20, 100}));
}

TEST(ViewerLayoutTest, HandlesLieThreeToEightPixelsOutsideTheFrame) {
    const TViewRect f{100, 100, 200, 150};
    EXPECT_EQ(HandleAt(f, {92, 92}), TSizeHandle::TopLeft);
    EXPECT_EQ(HandleAt(f, {96, 96}), TSizeHandle::TopLeft);
    EXPECT_EQ(HandleAt(f, {97, 97}), TSizeHandle::None); // 3 pixels out: not yet a handle
    EXPECT_EQ(HandleAt(f, {91, 92}), TSizeHandle::None);
    EXPECT_EQ(HandleAt(f, {150, 94}), TSizeHandle::Top);
    EXPECT_EQ(HandleAt(f, {203, 153}), TSizeHandle::BottomRight);
    EXPECT_EQ(HandleAt(f, {207, 125}), TSizeHandle::Right);
    EXPECT_EQ(HandleAt(f, {208, 125}), TSizeHandle::None);
    EXPECT_EQ(HandleAt(f, {94, 157}), TSizeHandle::BottomLeft);
    EXPECT_EQ(HandleAt(f, {150, 125}), TSizeHandle::None);
    // Every handle is a 5 x 5 square and none overlap.
    std::set<std::pair<int, int>> seen;
    for (int i = 1; i <= 8; ++i) {
        const TViewRect h = HandleRect(f, static_cast<TSizeHandle>(i));
        EXPECT_EQ(h.Width(), 5);
        EXPECT_EQ(h.Height(), 5);
        EXPECT_TRUE(seen.insert({h.Left, h.Top}).second);
        EXPECT_EQ(HandleAt(f, {h.Left + 2, h.Top + 2}), static_cast<TSizeHandle>(i));
    }
}

TEST(ViewerLayoutTest, ResizingMovesOnlyTheHandlesSides) {
    const TViewRect r{10, 10, 30, 20};
    EXPECT_EQ(ResizeSelection(r, TSizeHandle::BottomRight, {40, 25}), (TViewRect{10, 10, 41, 26}));
    EXPECT_EQ(ResizeSelection(r, TSizeHandle::Left, {5, 99}), (TViewRect{5, 10, 30, 20}));
    // Never past the opposite side.
    EXPECT_EQ(ResizeSelection(r, TSizeHandle::Top, {0, 50}), (TViewRect{10, 19, 30, 20}));
}

TEST(ViewerLayoutTest, CursorByModeAndPosition) {
    TCursorQuery q;
    q.Frame = {10, 10, 50, 50};
    q.Pointer = {20, 20};
    q.Mode = amMoveImage;
    EXPECT_EQ(ChooseViewerCursor(q), TViewerCursor::Default); // nothing to scroll
    q.Scrollable = true;
    EXPECT_EQ(ChooseViewerCursor(q), TViewerCursor::OpenHand);
    q.Dragging = true;
    EXPECT_EQ(ChooseViewerCursor(q), TViewerCursor::ClosedHand);
    q.Dragging = false;
    q.Mode = amCreateSelection;
    q.SelectionShown = true;
    EXPECT_EQ(ChooseViewerCursor(q), TViewerCursor::Selection); // this mode never moves it
    q.Mode = amMoveResizeCreateSelection;
    EXPECT_EQ(ChooseViewerCursor(q), TViewerCursor::Move);
    q.Pointer = {4, 30};
    EXPECT_EQ(ChooseViewerCursor(q), TViewerCursor::SizeWE);
    q.Pointer = {30, 55};
    EXPECT_EQ(ChooseViewerCursor(q), TViewerCursor::SizeNS);
    q.Pointer = {55, 4};
    EXPECT_EQ(ChooseViewerCursor(q), TViewerCursor::SizeNESW);
    q.Pointer = {4, 4};
    EXPECT_EQ(ChooseViewerCursor(q), TViewerCursor::SizeNWSE);
    q.Pointer = {70, 70};
    EXPECT_EQ(ChooseViewerCursor(q), TViewerCursor::Selection);
    // Handles belong to the move-resize mode only.
    q.Mode = amMoveSelection;
    q.Pointer = {4, 30};
    EXPECT_EQ(ChooseViewerCursor(q), TViewerCursor::Default);
    q.Mode = amMoveSelectionMoveImage;
    q.Pointer = {20, 20};
    EXPECT_EQ(ChooseViewerCursor(q), TViewerCursor::Move);
    q.Pointer = {70, 70};
    EXPECT_EQ(ChooseViewerCursor(q), TViewerCursor::OpenHand);
    q.SelectionShown = false;
    q.Pointer = {20, 20};
    EXPECT_EQ(ChooseViewerCursor(q), TViewerCursor::OpenHand);
    q.Mode = amNone;
    EXPECT_EQ(ChooseViewerCursor(q), TViewerCursor::Default);
}

TEST(ViewerLayoutTest, PressStartsTheDragTheModeAllows) {
    EXPECT_EQ(DragKindForPress(amNone, true, true, TSizeHandle::None), TDragKind::None);
    EXPECT_EQ(DragKindForPress(amMoveImage, true, true, TSizeHandle::None),
              TDragKind::ScrollPicture);
    EXPECT_EQ(DragKindForPress(amCreateSelection, true, true, TSizeHandle::None),
              TDragKind::CreateSelection);
    EXPECT_EQ(DragKindForPress(amMoveResizeCreateSelection, true, false, TSizeHandle::Top),
              TDragKind::Resize);
    EXPECT_EQ(DragKindForPress(amMoveResizeCreateSelection, true, true, TSizeHandle::None),
              TDragKind::MoveSelection);
    EXPECT_EQ(DragKindForPress(amMoveResizeCreateSelection, false, true, TSizeHandle::None),
              TDragKind::CreateSelection);
    EXPECT_EQ(DragKindForPress(amMoveSelection, true, false, TSizeHandle::None), TDragKind::None);
    EXPECT_EQ(DragKindForPress(amMoveSelectionMoveImage, true, false, TSizeHandle::None),
              TDragKind::ScrollPicture);
}

TEST(ViewerLayoutTest, SelectionPatternsAreDiagonalStripesThatAdvance) {
    for (int i = 0; i < SelectionPatternCount; ++i) {
        const auto p = SelectionPattern(i);
        for (int j = 0; j < 8; ++j) {
            // Half of every row is the second colour.
            EXPECT_EQ(__builtin_popcount(p[static_cast<std::size_t>(j)]), 4);
            for (int k = 0; k < 8; ++k) {
                const bool second = (p[static_cast<std::size_t>(j)] >> k) & 1;
                EXPECT_EQ(second, (j + k - i + 8) % 8 > 3) << i << ' ' << j << ' ' << k;
            }
        }
        // The next pattern is this one moved one pixel along the diagonal.
        const auto next = SelectionPattern(i + 1);
        for (int j = 0; j < 8; ++j)
            for (int k = 0; k < 8; ++k)
                EXPECT_EQ((next[static_cast<std::size_t>(j)] >> k) & 1,
                          (p[static_cast<std::size_t>(j)] >> ((k + 7) % 8)) & 1);
    }
    EXPECT_EQ(SelectionPattern(8), SelectionPattern(0));
    EXPECT_EQ(SelectionStripWidth(amMoveResizeCreateSelection), 8);
    EXPECT_EQ(SelectionStripWidth(amCreateSelection), 1);
}

TEST(CursorArtTest, LibraryCursorsAreDrawnAroundTheirHotSpots) {
    struct TExpect {
        TViewerCursor Cursor;
        int X, Y;
    };
    for (const TExpect e :
         {TExpect{TViewerCursor::OpenHand, 16, 12}, TExpect{TViewerCursor::ClosedHand, 16, 12},
          TExpect{TViewerCursor::Selection, 15, 15}, TExpect{TViewerCursor::Move, 16, 15}}) {
        const TCursorArt& art = ViewerCursorArt(e.Cursor);
        EXPECT_EQ(art.HotX, e.X);
        EXPECT_EQ(art.HotY, e.Y);
        // Every drawn row fits the 32 x 32 cursor.
        for (std::size_t j = 0; j < art.Rows.size(); ++j) {
            EXPECT_LE(art.OffsetX + static_cast<int>(art.Rows[j].size()), CursorSide);
            EXPECT_LT(art.OffsetY + static_cast<int>(j), CursorSide);
        }
        const auto px = CursorPixels(art);
        int black = 0;
        int minX = CursorSide, maxX = -1, minY = CursorSide, maxY = -1;
        for (int y = 0; y < CursorSide; ++y)
            for (int x = 0; x < CursorSide; ++x)
                if (px[static_cast<std::size_t>(y * CursorSide + x)] != TCursorPixel::Clear) {
                    black +=
                        px[static_cast<std::size_t>(y * CursorSide + x)] == TCursorPixel::Black;
                    minX = std::min(minX, x), maxX = std::max(maxX, x);
                    minY = std::min(minY, y), maxY = std::max(maxY, y);
                }
        EXPECT_GT(black, 10);
        // The hot spot lies within the drawing.
        EXPECT_GE(e.X, minX);
        EXPECT_LE(e.X, maxX);
        EXPECT_GE(e.Y, minY);
        EXPECT_LE(e.Y, maxY);
    }
    // The cross and the arrows are symmetric about their hot spots.
    const auto cross = CursorPixels(ViewerCursorArt(TViewerCursor::Selection));
    for (int d = 1; d < 12; ++d) {
        EXPECT_EQ(cross[static_cast<std::size_t>((15 - d) * CursorSide + 15)],
                  cross[static_cast<std::size_t>((15 + d) * CursorSide + 15)]);
        EXPECT_EQ(cross[static_cast<std::size_t>(15 * CursorSide + 15 - d)],
                  cross[static_cast<std::size_t>(15 * CursorSide + 15 + d)]);
    }
    EXPECT_EQ(cross[15 * CursorSide + 15], TCursorPixel::Clear);
    const auto move = CursorPixels(ViewerCursorArt(TViewerCursor::Move));
    EXPECT_EQ(move[15 * CursorSide + 16], TCursorPixel::Black);
}

} // namespace
} // namespace pigmentaria
