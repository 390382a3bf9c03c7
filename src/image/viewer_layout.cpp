#include "image/viewer_layout.h"

#include <algorithm>
#include <cmath>

namespace pigmentaria {

namespace {

int Trunc(double v) {
    if (!(v > 0)) return 0;
    return v >= 2147483647.0 ? 2147483647 : static_cast<int>(v);
}

// Fits a size into `client`: uniformly when the aspect ratio is kept, per axis otherwise.
TViewSize Fit(TViewSize s, TViewSize client, bool keepAspect) {
    if (s.Width <= 0 || s.Height <= 0 || client.Width <= 0 || client.Height <= 0) return s;
    if (!keepAspect) return client;
    const double f = std::min(static_cast<double>(client.Width) / s.Width,
                              static_cast<double>(client.Height) / s.Height);
    return {Trunc(s.Width * f), Trunc(s.Height * f)};
}

int Clamp(int v, int lo, int hi) {
    return std::max(lo, std::min(v, hi));
}

} // namespace

TViewSize DisplaySize(TViewSize picture, double zoom, TStretch stretch, TViewSize client) {
    if (picture.Width <= 0 || picture.Height <= 0) return {};
    TViewSize s{Trunc(picture.Width * zoom), Trunc(picture.Height * zoom)};
    const bool kar = stretch == sNeverKAR || stretch == sShrinkKAR || stretch == sEnlargeKAR ||
                     stretch == sAlwaysKAR || stretch == sZoomKAR;
    const bool larger = s.Width > client.Width || s.Height > client.Height;
    const bool smaller = s.Width < client.Width && s.Height < client.Height;
    switch (stretch) {
    case sShrink:
    case sShrinkKAR:
        if (larger) {
            if (kar)
                s = Fit(s, client, true);
            else
                s = {std::min(s.Width, client.Width), std::min(s.Height, client.Height)};
        }
        break;
    case sEnlarge:
    case sEnlargeKAR:
        if (smaller) s = Fit(s, client, kar);
        break;
    case sAlways:
    case sAlwaysKAR:
        s = Fit(s, client, kar);
        break;
    default:
        break;
    }
    return {std::max(s.Width, 1), std::max(s.Height, 1)};
}

int ScrollRange(int box, int viewport) {
    return std::max(0, box - std::max(viewport, 0));
}

TViewPoint PictureOffset(TViewSize box, TViewSize viewport, TViewPoint scroll, bool center) {
    auto axis = [&](int b, int v, int s) {
        if (b < v) return center ? (v - b) / 2 : 0;
        return -Clamp(s, 0, ScrollRange(b, v));
    };
    return {axis(box.Width, viewport.Width, scroll.X), axis(box.Height, viewport.Height, scroll.Y)};
}

TViewPoint ScrollForZoomAbout(TViewPoint pointer, TViewPoint oldScroll, TViewSize oldBox,
                              TViewSize newBox, TViewSize viewport, bool center) {
    const TViewPoint oldOffset = PictureOffset(oldBox, viewport, oldScroll, center);
    auto axis = [&](int p, int off, int ob, int nb, int v) {
        if (ob <= 0) return 0;
        // The fraction of the box under the pointer stays under the pointer.
        const double f = static_cast<double>(p - off) / ob;
        const int wanted = static_cast<int>(std::floor(f * nb)) - p;
        return Clamp(wanted, 0, ScrollRange(nb, v));
    };
    return {axis(pointer.X, oldOffset.X, oldBox.Width, newBox.Width, viewport.Width),
            axis(pointer.Y, oldOffset.Y, oldBox.Height, newBox.Height, viewport.Height)};
}

double WheelZoom(double zoom, int steps, double minimum, double maximum) {
    const double z = zoom * std::pow(1.25, steps);
    return std::clamp(z, minimum, maximum);
}

TViewPoint AutoScrollDelta(TViewPoint pointer, TViewSize viewport) {
    auto axis = [](int p, int v) {
        if (p < 0) return -AutoScrollStep;
        if (p >= v) return AutoScrollStep;
        return 0;
    };
    return {axis(pointer.X, viewport.Width), axis(pointer.Y, viewport.Height)};
}

TViewPoint BoxToPicture(TViewPoint p, TViewSize box, TViewSize picture) {
    auto axis = [](int v, int b, int pic) {
        if (b <= 0) return 0;
        return static_cast<int>(std::floor(static_cast<double>(v) * pic / b));
    };
    return {axis(p.X, box.Width, picture.Width), axis(p.Y, box.Height, picture.Height)};
}

TViewRect PictureToBox(const TViewRect& r, TViewSize box, TViewSize picture) {
    auto axis = [](int v, int b, int pic) {
        if (pic <= 0) return 0;
        return static_cast<int>(std::floor(static_cast<double>(v) * b / pic));
    };
    return {axis(r.Left, box.Width, picture.Width), axis(r.Top, box.Height, picture.Height),
            axis(r.Right, box.Width, picture.Width), axis(r.Bottom, box.Height, picture.Height)};
}

TViewRect DragRectangle(TViewPoint from, TViewPoint to) {
    return {std::min(from.X, to.X), std::min(from.Y, to.Y), std::max(from.X, to.X) + 1,
            std::max(from.Y, to.Y) + 1};
}

std::optional<TViewRect> ClampSelection(const TViewRect& r, TViewSize picture) {
    if (r.Width() <= 1 || r.Height() <= 1) return std::nullopt;
    TViewRect c{std::max(r.Left, 0), std::max(r.Top, 0), std::min(r.Right, picture.Width),
                std::min(r.Bottom, picture.Height)};
    if (c.Width() <= 0 || c.Height() <= 0) return std::nullopt;
    return c;
}

TViewRect MoveSelection(const TViewRect& r, int dx, int dy, TViewSize picture) {
    auto axis = [](int lo, int size, int d, int limit) {
        const int moved = lo + d;
        // A selection larger than the picture may only move so that it still covers it.
        if (size >= limit) return Clamp(moved, limit - size, 0);
        return Clamp(moved, 0, limit - size);
    };
    const int left = axis(r.Left, r.Width(), dx, picture.Width);
    const int top = axis(r.Top, r.Height(), dy, picture.Height);
    return {left, top, left + r.Width(), top + r.Height()};
}

TViewRect HandleRect(const TViewRect& f, TSizeHandle h) {
    // Columns and rows of a handle square: before the frame, at its middle, after it.
    const int before = f.Left - 8, after = f.Right + 3, midX = (f.Left + f.Right) / 2 - 2;
    const int above = f.Top - 8, below = f.Bottom + 3, midY = (f.Top + f.Bottom) / 2 - 2;
    int x = 0, y = 0;
    switch (h) {
    case TSizeHandle::TopLeft:
        x = before, y = above;
        break;
    case TSizeHandle::Top:
        x = midX, y = above;
        break;
    case TSizeHandle::TopRight:
        x = after, y = above;
        break;
    case TSizeHandle::Right:
        x = after, y = midY;
        break;
    case TSizeHandle::BottomRight:
        x = after, y = below;
        break;
    case TSizeHandle::Bottom:
        x = midX, y = below;
        break;
    case TSizeHandle::BottomLeft:
        x = before, y = below;
        break;
    case TSizeHandle::Left:
        x = before, y = midY;
        break;
    case TSizeHandle::None:
        return {};
    }
    return {x, y, x + 5, y + 5};
}

TSizeHandle HandleAt(const TViewRect& frame, TViewPoint p) {
    for (int i = static_cast<int>(TSizeHandle::TopLeft); i <= static_cast<int>(TSizeHandle::Left);
         ++i) {
        const auto h = static_cast<TSizeHandle>(i);
        if (HandleRect(frame, h).Contains(p)) return h;
    }
    return TSizeHandle::None;
}

TViewRect ResizeSelection(const TViewRect& r, TSizeHandle h, TViewPoint p) {
    TViewRect n = r;
    const bool left =
        h == TSizeHandle::TopLeft || h == TSizeHandle::Left || h == TSizeHandle::BottomLeft;
    const bool right =
        h == TSizeHandle::TopRight || h == TSizeHandle::Right || h == TSizeHandle::BottomRight;
    const bool top =
        h == TSizeHandle::TopLeft || h == TSizeHandle::Top || h == TSizeHandle::TopRight;
    const bool bottom =
        h == TSizeHandle::BottomLeft || h == TSizeHandle::Bottom || h == TSizeHandle::BottomRight;
    if (left) n.Left = std::min(p.X, r.Right - 1);
    if (right) n.Right = std::max(p.X + 1, r.Left + 1);
    if (top) n.Top = std::min(p.Y, r.Bottom - 1);
    if (bottom) n.Bottom = std::max(p.Y + 1, r.Top + 1);
    return n;
}

TViewerCursor ChooseViewerCursor(const TCursorQuery& q) {
    TViewerCursor c = TViewerCursor::Default;
    const bool movesImage = q.Mode == amMoveImage || q.Mode == amMoveSelectionMoveImage;
    if (movesImage && q.Scrollable)
        c = q.Dragging ? TViewerCursor::ClosedHand : TViewerCursor::OpenHand;
    if (q.Mode == amMoveResizeCreateSelection || q.Mode == amCreateSelection)
        c = TViewerCursor::Selection;
    const bool movesSelection = q.Mode == amMoveResizeCreateSelection ||
                                q.Mode == amMoveSelection || q.Mode == amMoveSelectionMoveImage;
    if (movesSelection && q.SelectionShown && q.Frame.Contains(q.Pointer)) c = TViewerCursor::Move;
    if (q.Mode == amMoveResizeCreateSelection && q.SelectionShown) {
        switch (HandleAt(q.Frame, q.Pointer)) {
        case TSizeHandle::Top:
        case TSizeHandle::Bottom:
            c = TViewerCursor::SizeNS;
            break;
        case TSizeHandle::Left:
        case TSizeHandle::Right:
            c = TViewerCursor::SizeWE;
            break;
        case TSizeHandle::TopLeft:
        case TSizeHandle::BottomRight:
            c = TViewerCursor::SizeNWSE;
            break;
        case TSizeHandle::TopRight:
        case TSizeHandle::BottomLeft:
            c = TViewerCursor::SizeNESW;
            break;
        case TSizeHandle::None:
            break;
        }
    }
    return c;
}

TDragKind DragKindForPress(TActionMode mode, bool selectionShown, bool insideSelection,
                           TSizeHandle handle) {
    switch (mode) {
    case amNone:
        return TDragKind::None;
    case amMoveImage:
        return TDragKind::ScrollPicture;
    case amCreateSelection:
        return TDragKind::CreateSelection;
    case amMoveResizeCreateSelection:
        if (selectionShown && handle != TSizeHandle::None) return TDragKind::Resize;
        if (selectionShown && insideSelection) return TDragKind::MoveSelection;
        return TDragKind::CreateSelection;
    case amMoveSelection:
        return selectionShown && insideSelection ? TDragKind::MoveSelection : TDragKind::None;
    case amMoveSelectionMoveImage:
        return selectionShown && insideSelection ? TDragKind::MoveSelection
                                                 : TDragKind::ScrollPicture;
    }
    return TDragKind::None;
}

std::array<std::uint8_t, 8> SelectionPattern(int i) {
    i = ((i % 8) + 8) % 8;
    std::array<std::uint8_t, 8> rows{};
    for (int j = 0; j < 8; ++j)
        for (int k = 0; k < 8; ++k)
            if ((j + k - i + 8) % 8 > 3) rows[static_cast<std::size_t>(j)] |= 1u << k;
    return rows;
}

int SelectionStripWidth(TActionMode mode) {
    return mode == amMoveResizeCreateSelection ? 8 : 1;
}

} // namespace pigmentaria
