#pragma once
// What the scrolling picture viewer decides without a window: the size the picture is shown at,
// where it stands in the client area, the scroll ranges, zooming about a point, auto-scrolling
// while a drag leaves the window, the cursor over the picture, the selection's resize handles,
// dragging and moving the selection, and the eight patterns of the animated selection frame.
#include <array>
#include <cstdint>
#include <optional>

namespace pigmentaria {

enum TActionMode : unsigned char {
    amNone,
    amMoveImage,
    amCreateSelection,
    amMoveResizeCreateSelection,
    amMoveSelection,
    amMoveSelectionMoveImage,
};

// How the picture is fitted to the client area. Every value starts from the picture at the zoom
// factor; "KAR" keeps the aspect ratio when fitting. Never and Zoom show it at that size, Shrink
// makes a larger picture fit, Enlarge makes a smaller one fill, Always does both.
enum TStretch : unsigned char {
    sNever,
    sNeverKAR,
    sShrink,
    sShrinkKAR,
    sEnlarge,
    sEnlargeKAR,
    sAlways,
    sAlwaysKAR,
    sZoom,
    sZoomKAR,
};

struct TViewSize {
    int Width = 0;
    int Height = 0;
    friend bool operator==(const TViewSize&, const TViewSize&) = default;
};

struct TViewPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TViewPoint&, const TViewPoint&) = default;
};

// Left, top inclusive; right, bottom exclusive.
struct TViewRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool Contains(TViewPoint p) const {
        return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom;
    }
    friend bool operator==(const TViewRect&, const TViewRect&) = default;
};

// The size of the picture box: the picture at the zoom (truncated), fitted to the client area as
// the stretch asks. An empty picture gives 0 x 0; a non-empty one never less than 1 x 1.
TViewSize DisplaySize(TViewSize picture, double zoom, TStretch stretch, TViewSize client);

// How far the picture box can scroll along one axis.
int ScrollRange(int box, int viewport);

// The picture box's top-left in the viewport: centred along an axis where it is smaller than the
// viewport and centring is on, else at the origin, moved by the scroll position.
TViewPoint PictureOffset(TViewSize box, TViewSize viewport, TViewPoint scroll, bool center);

// The scroll position that keeps the picture point under `pointer` (viewport coordinates) in
// place when the box grows from `oldBox` to `newBox`, held to the new scroll ranges.
TViewPoint ScrollForZoomAbout(TViewPoint pointer, TViewPoint oldScroll, TViewSize oldBox,
                              TViewSize newBox, TViewSize viewport, bool center);

// The zoom factor one wheel notch in (steps > 0) or out (steps < 0) gives, by a fixed ratio,
// held to [minimum, maximum].
double WheelZoom(double zoom, int steps, double minimum, double maximum);

inline constexpr int AutoScrollStep = 5;
// The scroll change while a drag is outside the client area: 5 pixels toward the pointer along
// each axis where it is outside, 0 where it is inside.
TViewPoint AutoScrollDelta(TViewPoint pointer, TViewSize viewport);

// Picture pixels from picture-box pixels and back, for a box of `box` showing `picture`.
TViewPoint BoxToPicture(TViewPoint p, TViewSize box, TViewSize picture);
TViewRect PictureToBox(const TViewRect& r, TViewSize box, TViewSize picture);

// ---- Selection

// A rectangle from the press to the current point of a drag, both in picture pixels: both ends
// are inside it, so a click without moving gives 1 x 1.
TViewRect DragRectangle(TViewPoint from, TViewPoint to);

// A finished selection held to the picture: none when it is one pixel wide or high (a click), else
// clamped to 0 .. width and 0 .. height. None also when nothing of it lies on the picture.
std::optional<TViewRect> ClampSelection(const TViewRect& r, TViewSize picture);

// The selection moved by (dx, dy), kept inside the picture where it fits.
TViewRect MoveSelection(const TViewRect& r, int dx, int dy, TViewSize picture);

enum class TSizeHandle : unsigned char {
    None,
    TopLeft,
    Top,
    TopRight,
    Right,
    BottomRight,
    Bottom,
    BottomLeft,
    Left,
};

// The handle under `p` for a selection frame `frame` (both in picture-box pixels): 5 x 5 squares
// 3 to 8 pixels outside the frame at its corners and at the middles of its sides.
TSizeHandle HandleAt(const TViewRect& frame, TViewPoint p);
// The square of one handle.
TViewRect HandleRect(const TViewRect& frame, TSizeHandle handle);

// The selection after dragging `handle` to the picture point `p`: the sides the handle holds
// follow the point, at least one pixel from the opposite side.
TViewRect ResizeSelection(const TViewRect& r, TSizeHandle handle, TViewPoint p);

// ---- Cursor

enum class TViewerCursor : unsigned char {
    Default, // the picture box's own cursor
    OpenHand,
    ClosedHand,
    Selection,
    Move,
    SizeNS,
    SizeWE,
    SizeNWSE,
    SizeNESW,
};

struct TCursorQuery {
    TActionMode Mode = amMoveImage;
    // The picture box is larger than the viewport along an axis whose scroll bar is showing.
    bool Scrollable = false;
    bool Dragging = false;
    bool SelectionShown = false;
    // Picture-box coordinates of the pointer and the selection frame.
    TViewPoint Pointer;
    TViewRect Frame;
};

// Decided afresh on every cursor request: hands over a scrollable picture in the two move-image
// modes (closed while dragging), the selection cross in the two create modes, the move cursor
// inside a shown selection in the three modes that move it, and the sizing cursors over the
// handles in the move-resize-create mode.
TViewerCursor ChooseViewerCursor(const TCursorQuery& q);

// What a press starts in each mode.
enum class TDragKind : unsigned char {
    None,
    ScrollPicture,
    CreateSelection,
    MoveSelection,
    Resize
};
TDragKind DragKindForPress(TActionMode mode, bool selectionShown, bool insideSelection,
                           TSizeHandle handle);

// ---- The animated frame

// Pattern i (0..7) as 8 rows of 8 bits, bit k of row j (bit 0 the leftmost pixel) set where the
// second selection colour goes: (j + k - i + 8) mod 8 > 3.
std::array<std::uint8_t, 8> SelectionPattern(int i);
inline constexpr int SelectionPatternCount = 8;
inline constexpr int SelectionTimerMs = 50;
// Width of the frame strip a selection change repaints: the handles need 8 in the
// move-resize-create mode, 1 otherwise.
int SelectionStripWidth(TActionMode mode);

} // namespace pigmentaria
